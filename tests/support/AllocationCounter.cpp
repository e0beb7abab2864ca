#include "tests/support/AllocationCounter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace
{
std::atomic<std::size_t> allocations{ 0 };
thread_local std::size_t allocationsOnThisThread = 0;

void* allocate (std::size_t size, std::size_t alignment)
{
    allocations.fetch_add (1, std::memory_order_relaxed);
    ++allocationsOnThisThread;
    if (size == 0)
        size = 1;
    void* p = nullptr;
    if (alignment <= alignof (std::max_align_t))
        p = std::malloc (size);
    else if (posix_memalign (&p, alignment, size) != 0)
        p = nullptr;
    if (p == nullptr)
        throw std::bad_alloc();
    return p;
}
} // namespace

std::size_t brevalon::test::allocationCount() noexcept
{
    return allocations.load (std::memory_order_relaxed);
}

std::size_t brevalon::test::allocationCountOnThisThread() noexcept
{
    return allocationsOnThisThread;
}

void* operator new (std::size_t size)
{
    return allocate (size, alignof (std::max_align_t));
}
void* operator new[] (std::size_t size)
{
    return allocate (size, alignof (std::max_align_t));
}
void* operator new (std::size_t size, std::align_val_t a)
{
    return allocate (size, static_cast<std::size_t> (a));
}
void* operator new[] (std::size_t size, std::align_val_t a)
{
    return allocate (size, static_cast<std::size_t> (a));
}
void* operator new (std::size_t size, const std::nothrow_t&) noexcept
{
    try
    {
        return allocate (size, alignof (std::max_align_t));
    }
    catch (...)
    {
        return nullptr;
    }
}
void* operator new[] (std::size_t size, const std::nothrow_t&) noexcept
{
    try
    {
        return allocate (size, alignof (std::max_align_t));
    }
    catch (...)
    {
        return nullptr;
    }
}
void operator delete (void* p) noexcept
{
    std::free (p);
}
void operator delete[] (void* p) noexcept
{
    std::free (p);
}
void operator delete (void* p, std::size_t) noexcept
{
    std::free (p);
}
void operator delete[] (void* p, std::size_t) noexcept
{
    std::free (p);
}
void operator delete (void* p, std::align_val_t) noexcept
{
    std::free (p);
}
void operator delete[] (void* p, std::align_val_t) noexcept
{
    std::free (p);
}
void operator delete (void* p, std::size_t, std::align_val_t) noexcept
{
    std::free (p);
}
void operator delete[] (void* p, std::size_t, std::align_val_t) noexcept
{
    std::free (p);
}
