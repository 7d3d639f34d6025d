#pragma once
// Storage for large buffers that are filled from start to end, such as the
// rows of a query. The kernel is asked to back them with 2 MB pages where it
// can: each fresh 4 KB page costs a trap, about 10 us on a virtual machine,
// and a 2 MB page costs about as much as ten of them.
#include <cstddef>
#include <memory>
#include <new>

namespace etibarix::base {

// Below this size a buffer comes from the ordinary heap.
inline constexpr std::size_t kLargePageThreshold = 256 * 1024;

// A region of at least `bytes` (≥ kLargePageThreshold), aligned to 2 MB;
// throws std::bad_alloc when the system has no room.
void *allocateLargePages(std::size_t bytes);
void releaseLargePages(void *region, std::size_t bytes);

template <typename T>
struct LargePageAllocator {
    using value_type = T;

    LargePageAllocator() = default;
    template <typename U>
    LargePageAllocator(const LargePageAllocator<U> &) noexcept
    {
    }

    T *allocate(std::size_t n)
    {
        if (n > std::size_t(-1) / sizeof(T))
            throw std::bad_array_new_length();
        const std::size_t bytes = n * sizeof(T);
        if (bytes < kLargePageThreshold)
            return std::allocator<T>().allocate(n);
        return static_cast<T *>(allocateLargePages(bytes));
    }

    void deallocate(T *p, std::size_t n) noexcept
    {
        const std::size_t bytes = n * sizeof(T);
        if (bytes < kLargePageThreshold)
            std::allocator<T>().deallocate(p, n);
        else
            releaseLargePages(p, bytes);
    }

    template <typename U>
    bool operator==(const LargePageAllocator<U> &) const noexcept
    {
        return true;
    }
};

} // namespace etibarix::base
