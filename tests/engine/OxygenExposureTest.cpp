// Oxygen exposure, gas use, END and ppO2 of a segment, against the NOAA limits, the
// Lambertsen OTU formula, a fine numerical integration and hand calculations.

#include "engine/DOLVOptionModule.h"
#include "engine/RuntimeError.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// CNS limits in minutes by ppO2 (atm): NOAA single-exposure limits up to 1.6, then the
// planner's continuation (2 - 0.001 p and 1 - 0.001 p above 1.8), linear within a band
// (low < p <= high). Written as band-end points, not as the planner's slope/intercept.
double limitAt(double p)
{
    static const double bands[][4] = {
        {0.5, 0.6, 900, 720}, {0.6, 0.7, 720, 570}, {0.7, 0.8, 570, 450}, {0.8, 0.9, 450, 360},
        {0.9, 1.1, 360, 240}, {1.1, 1.5, 240, 120}, {1.5, 1.6, 120, 45},  {1.6, 1.7, 44.4, 9.3},
        {1.7, 1.8, 10, 2},    {1.8, 2.0, 1.9982, 1.998}, {2.0, 60, 0.998, 0.94}};
    for (const auto &b : bands)
        if (p > b[0] && p <= b[1])
            return b[2] + (p - b[0]) / (b[1] - b[0]) * (b[3] - b[2]);
    return 0;
}

// Lambertsen: OTU per minute at ppO2 p (atm).
double otuRate(double p)
{
    return p <= 0.5 ? 0 : std::pow((p - 0.5) / 0.5, 5.0 / 6.0);
}

// ppO2 in atm at a depth (metric bar x 0.9887).
double ppO2At(double depth, double fO2, double surface, bool metric)
{
    return (depth / (metric ? 10.0 : 33.0) + surface) * fO2 * (metric ? 0.9887 : 1.0);
}

TEST(OxygenLimits, ConstantPPO2AgainstNOAAAndLambertsen)
{
    const double noaa[][2] = {{0.6, 720}, {0.7, 570}, {0.8, 450}, {0.9, 360}, {1.0, 300}, {1.1, 240},
                              {1.2, 210}, {1.3, 180}, {1.4, 150}, {1.5, 120}, {1.6, 45}};
    for (const auto &[p, minutes] : noaa) {
        SCOPED_TRACE(p);
        // Imperial ppO2 is taken as it is; a full limit's time is 100 %. Single table: 1e-5.
        EXPECT_NEAR(CNSForPPO2(float(p), float(minutes), false), 1.0, 1e-5);
        EXPECT_NEAR(OTUForPPO2(float(p), 30, false), 30 * otuRate(p), 1e-4);
    }
    // Band edges belong to the lower band: 1.6 -> 45 min, just above -> 44.4 min.
    EXPECT_NEAR(CNSForPPO2(std::nextafter(1.6f, 2.0f), 44.4f, false), 1.0, 1e-4);
    // Metric 1.6 bar is 1.58192 atm: limit 120 - 0.8192 x 75 = 58.56 min.
    EXPECT_NEAR(CNSForPPO2(1.6f, 58.56f, true), 1.0, 1e-4);
    EXPECT_EQ(CNSForPPO2(0.5f, 100, false), 0);
    EXPECT_EQ(OTUForPPO2(0.5f, 100, false), 0);
    EXPECT_GT(CNSForPPO2(0.5001f, 100, false), 0);
    EXPECT_EQ(CNSForPPO2(61, 10, false), 0); // above the table
}

TEST(OxygenLimits, ConstantDepth)
{
    const struct {
        float depth, minutes, fO2, surface;
        bool metric;
    } cases[] = {{30, 40, 0.21f, 1.0f, true}, {33, 25, 0.32f, 1.0f, true},
                 {6, 12, 1.0f, 0.9f, true},   {66, 20, 0.5f, 1.0f, false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.depth);
        const double p = ppO2At(c.depth, c.fO2, c.surface, c.metric);
        const double otu = c.minutes * otuRate(p), cns = c.minutes / limitAt(p);
        EXPECT_NEAR(OTUAtDepth(c.depth, c.minutes, c.fO2, c.surface, c.metric), otu, 1e-5 * otu);
        EXPECT_NEAR(CNSAtDepth(c.depth, c.minutes, c.fO2, c.surface, c.metric), cns, 1e-5 * cns);
    }
}

TEST(OxygenLimits, DepthChangesMatchAFineIntegrationInBothDirections)
{
    const struct {
        const char *name;
        float from, to, rate, fO2, surface;
        bool metric;
    } cases[] = {
        {"air 0-30 m: 0.5 to 0.83 atm over four bands", 0, 30, 10, 0.21f, 1.0f, true},
        {"EAN50 21-0 m", 21, 0, -9, 0.5f, 1.0f, true},
        {"oxygen 3-8 m across 1.5 and 1.6", 3, 8, 1, 1.0f, 1.0f, true},
        {"oxygen 30-0 ft", 30, 0, -10, 1.0f, 1.0f, false},
        {"trimix 10/50 0-100 m", 0, 100, 20, 0.10f, 1.0f, true},
        {"oxygen 0-25 m through every band", 0, 25, 2, 1.0f, 0.8f, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        // Midpoint rule, 10000 steps.
        const int steps = 10000;
        const double dt = (c.to - c.from) / c.rate / steps;
        double otu = 0, cns = 0;
        for (int k = 0; k < steps; ++k) {
            const double p = ppO2At(c.from + (k + 0.5) / steps * (c.to - c.from), c.fO2, c.surface, c.metric);
            otu += otuRate(p) * dt;
            cns += limitAt(p) > 0 ? dt / limitAt(p) : 0;
        }
        const float gotOtu = OTUForDepthChange(c.from, c.to, c.rate, c.fO2, c.surface, c.metric);
        const float gotCns = CNSForDepthChange(c.from, c.to, c.rate, c.fO2, c.surface, c.metric);
        EXPECT_NEAR(gotOtu, otu, 1e-4 * otu); // integration and Single results: 1e-4
        EXPECT_NEAR(gotCns, cns, 1e-4 * cns);
        // The way back at the opposite rate charges the same.
        EXPECT_FLOAT_EQ(OTUForDepthChange(c.to, c.from, -c.rate, c.fO2, c.surface, c.metric), gotOtu);
        EXPECT_NEAR(CNSForDepthChange(c.to, c.from, -c.rate, c.fO2, c.surface, c.metric), gotCns, 1e-6 * gotCns);
    }
    // Air 0-10 m stays below 0.5 atm; a rate of 0 is a fault, not an infinite time.
    EXPECT_EQ(OTUForDepthChange(0, 10, 10, 0.21f, 1.0f, true), 0);
    EXPECT_EQ(CNSForDepthChange(10, 0, -10, 0.21f, 1.0f, true), 0);
    EXPECT_THROW(CNSForDepthChange(0, 10, 0, 0.21f, 1.0f, true), RuntimeError);
}

TEST(GasUse, VolumesAndPPO2ByHand)
{
    EXPECT_FLOAT_EQ(GasUsedAtDepth(30, 10, 20, 1.0f, true), 800);            // 4 bar x 200 l
    EXPECT_FLOAT_EQ(GasUsedAtDepth(33, 5, 0.7f, 1.0f, false), 7);            // 2 atm x 3.5 cuft
    EXPECT_FLOAT_EQ(GasUsedForDepthChange(30, 20, -10, 20, 1.0f, true), 70); // 1 min at 25 m
    EXPECT_FLOAT_EQ(GasUsedForDepthChange(0, 40, 20, 15, 0.9f, true), 87);   // 2 min at 2.9 bar
    EXPECT_FLOAT_EQ(CalcPPO2Var(30, 1.0f, 0.21f, true), 0.84f);
    EXPECT_FLOAT_EQ(CalcPPO2Var(66, 1.0f, 0.32f, false), 0.96f);
}

TEST(NarcoticDepth, EndByHand)
{
    TemplateRec sea, lake;
    sea.StartPressure = 1.0f;
    lake.StartPressure = 0.8f;
    const struct {
        const char *name;
        bool metric;
        float depth, n2, he;
        bool o2Narcotic;
        const TemplateRec &t;
        double expected;
    } cases[] = {
        {"air 30 m", true, 30, 79, 0, false, sea, 30}, // (40 x 0.79 / 0.79 - 10)
        {"air 30 m, O2 narcotic", true, 30, 79, 0, true, sea, 30},
        {"trimix 18/45 60 m", true, 60, 37, 45, false, sea, 70 * 0.37 / 0.79 - 10},
        {"trimix 18/45 60 m, O2 narcotic", true, 60, 37, 45, true, sea, 0.55 * 70 - 10},
        // At 0.8 bar the nitrogen form still subtracts one bar, the other 0.8 bar.
        {"air 30 m at altitude", true, 30, 79, 0, false, lake, 28},
        {"air 30 m at altitude, O2 narcotic", true, 30, 79, 0, true, lake, 30},
        {"air 99 ft, worked as 30 m", false, 99, 79, 0, false, sea, 99},
        {"EAN50 at 3 m is never negative", true, 3, 50, 0, false, sea, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(CalcEND(c.metric, c.depth, c.n2, c.he, c.o2Narcotic, c.t), c.expected, 1e-4);
        EXPECT_EQ(CalcENDVar(c.metric, 1.3f, c.depth, c.he, c.n2, c.o2Narcotic, c.t), // He before N2
                  CalcEND(c.metric, c.depth, c.n2, c.he, c.o2Narcotic, c.t));
    }
}

} // namespace
