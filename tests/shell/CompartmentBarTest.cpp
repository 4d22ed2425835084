// The zones of a compartment bar at their boundaries.

#include "shell/CompartmentBar.h"

#include <gtest/gtest.h>

namespace {

// A chart of 16000 x 2150 twips: slots 1000 twips apart and 800 wide, from y = 250 to
// 1850; 100 % is (2150 - 550) / 3 = 533.33 twips high.
constexpr float SW = 16000;
constexpr float SH = 2150;
constexpr float unit = 1600.0f / 3;
constexpr float bottom = 1850;

} // namespace

TEST(CompartmentChart, ZonesAtTheirBoundaries)
{
    {
        SCOPED_TRACE("0 %: an empty slot");
        const CompartmentBar b = CompartmentBarGeometry(SW, SH, 3, 0);
        EXPECT_FALSE(b.hasOrange);
        EXPECT_FLOAT_EQ(b.greenTop, bottom);
    }
    {
        SCOPED_TRACE("45.6 %: green only");
        const CompartmentBar b = CompartmentBarGeometry(SW, SH, 3, 0.456f);
        EXPECT_FALSE(b.hasOrange);
        EXPECT_NEAR(b.greenTop, bottom - 0.456 * unit, 1e-2);
    }
    {
        SCOPED_TRACE("exactly 100 %: full green, an orange zone of no height");
        const CompartmentBar b = CompartmentBarGeometry(SW, SH, 3, 1.0f);
        EXPECT_TRUE(b.hasOrange);
        EXPECT_FALSE(b.hasRed);
        EXPECT_NEAR(b.greenTop, bottom - unit, 1e-2);
        EXPECT_FLOAT_EQ(b.orangeTop, b.greenTop);
    }
    {
        SCOPED_TRACE("exactly 200 %: green and orange, a red zone of no height");
        const CompartmentBar b = CompartmentBarGeometry(SW, SH, 3, 2.0f);
        EXPECT_TRUE(b.hasRed);
        EXPECT_NEAR(b.orangeTop, bottom - 2 * unit, 1e-2);
        EXPECT_FLOAT_EQ(b.redTop, b.orangeTop);
    }
    {
        SCOPED_TRACE("350 %: the slot is full to its top and no further");
        const CompartmentBar b = CompartmentBarGeometry(SW, SH, 3, 3.5f);
        EXPECT_NEAR(b.redTop, 250, 1e-2);
    }
    {
        SCOPED_TRACE("150 %: half the orange zone");
        const CompartmentBar b = CompartmentBarGeometry(SW, SH, 3, 1.5f);
        EXPECT_FALSE(b.hasRed);
        EXPECT_NEAR(b.orangeTop, bottom - 1.5 * unit, 1e-2);
    }
}
