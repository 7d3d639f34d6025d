#include "base/LargePages.h"

#include <sys/mman.h>

#include <cstdint>

namespace etibarix::base {

namespace {

constexpr std::size_t kHugePage = std::size_t(2) << 20;

std::size_t roundedUp(std::size_t bytes)
{
    return (bytes + kHugePage - 1) & ~(kHugePage - 1);
}

} // namespace

void *allocateLargePages(std::size_t bytes)
{
    if (bytes > std::size_t(-1) - 2 * kHugePage)
        throw std::bad_alloc();
    const std::size_t length = roundedUp(bytes);
    // Over-ask by one huge page, then give back what lies outside the
    // aligned region.
    void *mapped = ::mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t aligned = (start + kHugePage - 1) & ~std::uintptr_t(kHugePage - 1);
    if (aligned > start)
        ::munmap(mapped, aligned - start);
    if (const std::uintptr_t tail = start + length + kHugePage - (aligned + length); tail > 0)
        ::munmap(reinterpret_cast<void *>(aligned + length), tail);
    // Only advice: where large pages are off, ordinary ones serve.
    ::madvise(reinterpret_cast<void *>(aligned), length, MADV_HUGEPAGE);
    return reinterpret_cast<void *>(aligned);
}

void releaseLargePages(void *region, std::size_t bytes)
{
    if (region)
        ::munmap(region, roundedUp(bytes));
}

} // namespace etibarix::base
