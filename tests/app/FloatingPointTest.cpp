// The floating-point environment of the program.

#include "app/FloatingPoint.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>

using namespace etibarix;

TEST(FloatingPoint, FaultsGiveInfinitiesInsteadOfTraps)
{
    std::fesetround(FE_UPWARD);
    app::MaskFloatingPointExceptions();
    EXPECT_TRUE(app::FloatingPointExceptionsMasked());
    volatile double zero = 0.0;
    volatile double big = 1e308;
    EXPECT_TRUE(std::isinf(1.0 / zero));
    EXPECT_TRUE(std::isnan(zero / zero));
    EXPECT_TRUE(std::isinf(big * 10.0));
    EXPECT_EQ(std::nearbyint(2.5), 2.0);   // to nearest, ties to even
    EXPECT_EQ(std::nearbyint(-0.5), -0.0);
}
