// The plot's axes: rounding of the world rectangle, the label sequences, the mapping
// between minutes/depth and twips and the pixel slope of a rate.

#include "shell/PlotScale.h"

#include <gtest/gtest.h>

#include <numeric>

namespace {

// A plot box of 20000 x 8000 twips showing the smallest world rectangle, as an empty
// profile is drawn.
PlotScale emptyPlot()
{
    return MakePlotScale(20000, 8000, 0, 180, 0, -120);
}

std::vector<int32_t> everyStep(int32_t from, int32_t to, int32_t step)
{
    std::vector<int32_t> v;
    for (int32_t x = from; x <= to; x += step)
        v.push_back(x);
    return v;
}

} // namespace

TEST(PlotAxes, RoundUpGoesOneStepBeyondAndFloors)
{
    struct Row {
        float in;
        int32_t out;
        float movedTo;
    };
    // 3 x 60 minutes, 3 x 61, 3 x 64; depth 2 x 60, 2 x 62.5, 2 x 65.
    const Row rows[] = {
        {180, 190, 190}, {183, 190, 193}, {192, 200, 202},
        {-120, -130, -130}, {-125, -140, -135}, {-130, -140, -140},
        {0, -10, -10},
    };
    for (const Row &r : rows) {
        float v = r.in;
        EXPECT_EQ(RoundUpToStep(v, 10), r.out) << r.in;
        EXPECT_FLOAT_EQ(v, r.movedTo) << "the caller's value is moved one step";
    }
}

TEST(PlotAxes, EmptyProfileGetsTheSmallestRectangleAndItsLabels)
{
    ClassProfile empty;
    EXPECT_FLOAT_EQ(LargestTime(empty), 60);
    EXPECT_FLOAT_EQ(LargestDepth(empty), 60);

    const PlotScale s = emptyPlot();
    EXPECT_FLOAT_EQ(s.AxisTimeMin, 0);
    EXPECT_FLOAT_EQ(s.AxisTimeMax, 190);
    EXPECT_FLOAT_EQ(s.AxisTop, 0);
    EXPECT_FLOAT_EQ(s.AxisBottom, -130);
    EXPECT_FLOAT_EQ(s.GridTop, 440);      // 5.5 % of 8000
    EXPECT_FLOAT_EQ(s.GridBottom, 7560);

    EXPECT_EQ(DepthAxisStep(s), 9);       // 130 / 15 = 8.67
    EXPECT_EQ(DepthAxisLabels(s), everyStep(9, 117, 9));
    EXPECT_EQ(TimeAxisStep(s), 6);        // 190 / 30 = 6.33
    EXPECT_EQ(TimeAxisLabels(s), everyStep(6, 180, 6));
}

TEST(PlotAxes, LongerAndDeeperDivesWidenTheRectangle)
{
    ClassProfile p;
    p.NewWayPoint();
    p.SetRunTime(1, 61);
    p.setDepth(1, 65);
    EXPECT_FLOAT_EQ(LargestTime(p), 61);
    EXPECT_FLOAT_EQ(LargestDepth(p), 65);
    PlotScale s = MakePlotScale(20000, 8000, 0, 3 * 61.f, 0, -2 * 65.f);
    EXPECT_FLOAT_EQ(s.AxisTimeMax, 190);
    EXPECT_FLOAT_EQ(s.AxisBottom, -140);
    // 140 / 15 = 9.33: labels every 9 m down to 126 (131 is the last candidate).
    EXPECT_EQ(DepthAxisLabels(s), everyStep(9, 126, 9));

    p.SetRunTime(1, 64);
    s = MakePlotScale(20000, 8000, 0, 3 * 64.f, 0, -120);
    EXPECT_FLOAT_EQ(s.AxisTimeMax, 200);
    EXPECT_EQ(TimeAxisStep(s), 7);        // 200 / 30 = 6.67
    EXPECT_EQ(TimeAxisLabels(s), everyStep(7, 189, 7));

    // A very long dive: 3 x 600 min gives 1810, step 60.
    s = MakePlotScale(20000, 8000, 0, 1800, 0, -120);
    EXPECT_FLOAT_EQ(s.AxisTimeMax, 1810);
    EXPECT_EQ(TimeAxisStep(s), 60);
    EXPECT_EQ(TimeAxisLabels(s).back(), 1740);
}

TEST(PlotAxes, WorldAndPixelsMapBothWays)
{
    const PlotScale s = emptyPlot();
    // Hand calculation: 20000 twips for 190 minutes, 7120 twips for 130 m.
    const PlotPoint p = WorldToPixel(s, 95, -65);
    EXPECT_NEAR(p.x, 10000, 0.01);
    EXPECT_NEAR(p.y, 440 + 3560, 0.01);

    // A pixel whose exact depth is 12.34 m reads 12.4 (world y cut downwards); a time
    // of 7.06 min reads 7.0.
    const float x = 7.06f * 20000 / 190;
    const float y = 440 + 12.34f * 7120 / 130;
    const PlotPoint w = PixelToWorld(s, x, y);
    EXPECT_FLOAT_EQ(w.x, 7.0f);
    EXPECT_FLOAT_EQ(w.y, -12.4f);

    // The edges of the plot area are inside; one twip beyond is not.
    EXPECT_TRUE(IsInsideGrid(s, s.GridRight, s.GridBottom));
    EXPECT_TRUE(IsInsideGrid(s, s.GridLeft, s.GridTop));
    EXPECT_FALSE(IsInsideGrid(s, s.GridRight + 1, s.GridBottom));
    EXPECT_FALSE(IsInsideGrid(s, s.GridLeft, s.GridTop - 1));

    // A rectangle of zero extent maps everything to -1 rather than dividing by 0.
    const PlotScale none{};
    EXPECT_FLOAT_EQ(WorldToPixel(none, 5, -5).x, -1);
    EXPECT_FLOAT_EQ(PixelToWorld(none, 5, 5).y, -1);
}

TEST(PlotAxes, RateSlopeMatchesALineDrawnAtThatRate)
{
    const PlotScale s = emptyPlot();
    // 10 m/min: in 1 minute (20000/190 twips across) the line drops 10 m
    // (10 x 7120/130 twips); the slope is twips across per twip down, negative.
    const double across = 20000.0 / 190;
    const double down = 10 * 7120.0 / 130;
    EXPECT_NEAR(Drate(s, 10), -across / down, 1e-5);
    EXPECT_NEAR(Ddepth(s, 30), 440 + 30 * 7120.0 / 130, 0.01);
    EXPECT_NEAR(Ddepth(s, 0), s.GridTop, 0.001);
}
