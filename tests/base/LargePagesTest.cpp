#include "base/LargePages.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using namespace etibarix;

// A buffer that grows from the heap into large pages and shrinks back keeps
// every value, and each size is given back the way it was taken (the
// sanitizer build catches a mismatch).
TEST(LargePages, BuffersMoveBetweenHeapAndLargePagesIntact)
{
    std::vector<std::uint32_t, base::LargePageAllocator<std::uint32_t>> values;
    constexpr std::uint32_t kCount = 3 * 1024 * 1024 / sizeof(std::uint32_t);   // 3 MB: two large pages
    bool sawHeap = false;
    bool sawLarge = false;
    for (std::uint32_t i = 0; i < kCount; ++i) {
        values.push_back(i * 2654435761u);
        const bool large = values.capacity() * sizeof(std::uint32_t) >= base::kLargePageThreshold;
        sawHeap |= !large;
        sawLarge |= large;
        if (large) {
            ASSERT_EQ(reinterpret_cast<std::uintptr_t>(values.data()) % (2u << 20), 0u);
        }
    }
    EXPECT_TRUE(sawHeap && sawLarge);
    values.resize(1000);
    values.shrink_to_fit();
    ASSERT_EQ(values.size(), 1000u);
    for (std::uint32_t i = 0; i < values.size(); ++i)
        ASSERT_EQ(values[i], i * 2654435761u);
}
