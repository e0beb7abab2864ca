#pragma once

#include <cstddef>

namespace brevalon::test
{

// Number of heap allocations (global operator new, any form) made so far by this process.
// The counting operators are defined in AllocationCounter.cpp, linked into every test binary.
std::size_t allocationCount() noexcept;

// The same, counting only the allocations made by the calling thread: for code that runs beside
// other threads that allocate (a hosted plug-in's or the host's message thread).
std::size_t allocationCountOnThisThread() noexcept;

// Counts the allocations made between construction and `count()`.
class AllocationScope
{
public:
    AllocationScope() noexcept : start (allocationCount()) {}
    std::size_t count() const noexcept { return allocationCount() - start; }

private:
    std::size_t start;
};

// Counts the calling thread's allocations between construction and `count()`.
class ThreadAllocationScope
{
public:
    ThreadAllocationScope() noexcept : start (allocationCountOnThisThread()) {}
    std::size_t count() const noexcept { return allocationCountOnThisThread() - start; }

private:
    std::size_t start;
};

} // namespace brevalon::test
