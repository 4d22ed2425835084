// The rubber band of a new leg: travel at the band rates in pixels, markers at the band
// depths, and where the pointer is taken to be.

#include "shell/RubberBand.h"

#include <gtest/gtest.h>

namespace {

// Pixel tables as the plot fills them: band depths at y = 400, 1000 and 2000; slopes
// (negative: twips across per twip down) of -2, -4 and -8 on descent, -1 and -3 on ascent.
std::vector<RateRecord> descent()
{
    return {{-2, 400, 0, 0}, {-4, 1000, 0, 0}, {-8, 2000, 0, 0}};
}

std::vector<RateRecord> ascent()
{
    return {{-1, 400, 0, 0}, {-3, 1000, 0, 0}};
}

void expectLine(const RubberBandPath::Segment &s, float x1, float y1, float x2, float y2)
{
    EXPECT_FLOAT_EQ(s.x1, x1);
    EXPECT_FLOAT_EQ(s.y1, y1);
    EXPECT_FLOAT_EQ(s.x2, x2);
    EXPECT_FLOAT_EQ(s.y2, y2);
}

} // namespace

TEST(RubberBand, DescentAcrossTwoBandsShowsTwoMarkersAndThreePieces)
{
    // From the surface line (y 400) to y 2500: 600 down at slope 2 (band 0), 1000 at
    // slope 4 (band 1), 500 at slope 8 (band 2), then level to the pointer at x 20000.
    const RubberBandPath p = SegmentedLinePath(descent(), ascent(), 0, 400, 20000, 2500);
    ASSERT_EQ(p.lines.size(), 4u);
    expectLine(p.lines[0], 0, 400, 1200, 1000);
    expectLine(p.lines[1], 1200, 1000, 5200, 2000);
    expectLine(p.lines[2], 5200, 2000, 9200, 2500);
    expectLine(p.lines[3], 9200, 2500, 20000, 2500);
    ASSERT_EQ(p.markers.size(), 2u);
    EXPECT_TRUE(p.markers[0].descent);
    EXPECT_FLOAT_EQ(p.markers[0].x, 1200);
    EXPECT_FLOAT_EQ(p.markers[1].y, 2000);
    EXPECT_FLOAT_EQ(p.xTo, 20000);
    EXPECT_FLOAT_EQ(p.yTo, 2500);
}

TEST(RubberBand, APointerBeforeTheEndOfTheTravelIsMovedToIt)
{
    const RubberBandPath p = SegmentedLinePath(descent(), ascent(), 100, 400, 300, 800);
    ASSERT_EQ(p.lines.size(), 2u);
    expectLine(p.lines[0], 100, 400, 900, 800);
    expectLine(p.lines[1], 900, 800, 900, 800); // no stay left
    EXPECT_FLOAT_EQ(p.xTo, 900);
    EXPECT_TRUE(p.markers.empty());
}

TEST(RubberBand, AscentCrossesUpwardsAndIsHeldAtTheShallowestBand)
{
    // From y 1600 up past y 1000 (slope 3 below it) to y 100, above the shallowest band:
    // held at y 400 (slope 1 above 1000).
    const RubberBandPath p = SegmentedLinePath(descent(), ascent(), 0, 1600, 50, 100);
    ASSERT_EQ(p.lines.size(), 3u);
    expectLine(p.lines[0], 0, 1600, 1800, 1000);
    expectLine(p.lines[1], 1800, 1000, 2400, 400);
    expectLine(p.lines[2], 2400, 400, 2400, 400);
    ASSERT_EQ(p.markers.size(), 1u);
    EXPECT_FALSE(p.markers[0].descent);
    EXPECT_FLOAT_EQ(p.yTo, 400);
    EXPECT_FLOAT_EQ(p.xTo, 2400);

    // An ascent ending inside a band: travel then the stay.
    const RubberBandPath q = SegmentedLinePath(descent(), ascent(), 0, 900, 5000, 700);
    ASSERT_EQ(q.lines.size(), 2u);
    expectLine(q.lines[0], 0, 900, 200, 700);
    EXPECT_FLOAT_EQ(q.xTo, 5000);
}

TEST(RubberBand, ALevelLegIsAStay)
{
    const RubberBandPath p = SegmentedLinePath(descent(), ascent(), 3000, 1500, 4000, 1500);
    ASSERT_EQ(p.lines.size(), 2u);
    expectLine(p.lines[1], 3000, 1500, 4000, 1500);
    EXPECT_TRUE(p.markers.empty());
}
