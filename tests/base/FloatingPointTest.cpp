// The floating-point environment of the program.

#include "base/FloatingPoint.h"

#include <gtest/gtest.h>

#include <cfenv>
#if defined(__GLIBC__)
#include <fenv.h>
#endif
#include <cmath>

using namespace etibarix;

TEST(FloatingPoint, FaultsGiveInfinitiesInsteadOfTraps)
{
    // Start from a trapping, upward-rounding unit.
    std::fesetround(FE_UPWARD);
#if defined(__GLIBC__)
    feenableexcept(FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW);
    EXPECT_FALSE(base::FloatingPointExceptionsMasked());
#endif
    base::MaskFloatingPointExceptions();
    EXPECT_TRUE(base::FloatingPointExceptionsMasked());
    volatile double zero = 0.0;
    volatile double big = 1e308;
    EXPECT_TRUE(std::isinf(1.0 / zero));
    EXPECT_TRUE(std::isnan(zero / zero));
    EXPECT_TRUE(std::isinf(big * 10.0));
    EXPECT_EQ(std::nearbyint(2.5), 2.0);   // to nearest, ties to even
    EXPECT_EQ(std::nearbyint(-0.5), -0.0);
}
