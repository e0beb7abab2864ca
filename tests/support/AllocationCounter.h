#pragma once

#include <cstddef>

namespace brevalon::test
{

// Number of heap allocations (global operator new, any form) made so far by this process.
// The counting operators are defined in AllocationCounter.cpp, linked into every test binary.
std::size_t allocationCount() noexcept;

// Counts the allocations made between construction and `count()`.
class AllocationScope
{
public:
    AllocationScope() noexcept : start (allocationCount()) {}
    std::size_t count() const noexcept { return allocationCount() - start; }

private:
    std::size_t start;
};

} // namespace brevalon::test
