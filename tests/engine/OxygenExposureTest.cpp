// Oxygen exposure, gas use, END and ppO2 of a segment, against published limits, the
// Lambertsen OTU formula, a fine numerical integration and hand calculations.

#include "engine/DOLVOptionModule.h"
#include "engine/RuntimeError.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Single-exposure CNS limits, minutes by ppO2 in atm: NOAA Diving Manual up to 1.6, and
// the planner's own continuation above it (limits at the band ends; above 1.8 atm the
// limit is 2 - 0.001 ppO2 and then 1 - 0.001 ppO2 minutes), written out here as points
// so the test does not share the planner's slope/intercept form.
struct LimitBand {
    double low, high, limitLow, limitHigh;
};
const LimitBand kBands[] = {
    {0.5, 0.6, 900, 720},  {0.6, 0.7, 720, 570},  {0.7, 0.8, 570, 450},
    {0.8, 0.9, 450, 360},  {0.9, 1.1, 360, 240},  {1.1, 1.5, 240, 120},
    {1.5, 1.6, 120, 45},   {1.6, 1.7, 44.4, 9.3}, {1.7, 1.8, 10, 2},
    {1.8, 2.0, 1.9982, 1.998}, {2.0, 60, 0.998, 0.94},
};

// Limit in minutes at ppO2 p (atm), linear within each band (low < p <= high).
double limitAt(double p)
{
    for (const LimitBand &b : kBands)
        if (p > b.low && p <= b.high)
            return b.limitLow + (p - b.low) / (b.high - b.low) * (b.limitHigh - b.limitLow);
    return 0;
}

// Lambertsen's unit pulmonary toxic dose rate, OTU per minute at ppO2 p (atm).
double otuRate(double p)
{
    return p <= 0.5 ? 0 : std::pow((p - 0.5) / 0.5, 5.0 / 6.0);
}

double ambient(double depth, double surface, bool metric)
{
    return depth / (metric ? 10.0 : 33.0) + surface;
}

// Midpoint-rule integration of a depth change at a constant rate, 10000 steps.
struct Exposure {
    double otu = 0, cns = 0;
};
Exposure integrate(double from, double to, double rate, double fO2, double surface, bool metric)
{
    const int steps = 10000;
    const double t = (to - from) / rate;
    const double dt = t / steps;
    Exposure e;
    for (int k = 0; k < steps; ++k) {
        const double depth = from + (k + 0.5) / steps * (to - from);
        const double p = ambient(depth, surface, metric) * fO2 * (metric ? 0.9887 : 1.0);
        e.otu += otuRate(p) * dt;
        const double limit = limitAt(p);
        if (limit > 0)
            e.cns += dt / limit;
    }
    return e;
}

TEST(OxygenLimits, CNSAtTheNOAATablePoints)
{
    // NOAA single-exposure limits (atm, minutes); a full limit's time is 100 % CNS.
    const struct {
        double ppO2, minutes;
    } noaa[] = {{0.6, 720}, {0.7, 570}, {0.8, 450}, {0.9, 360}, {1.0, 300}, {1.1, 240},
                {1.2, 210}, {1.3, 180}, {1.4, 150}, {1.5, 120}, {1.6, 45}};
    for (const auto &row : noaa) {
        SCOPED_TRACE(row.ppO2);
        // Imperial: the ppO2 is taken as it is. Single rounding of the table: 1e-5.
        EXPECT_NEAR(CNSForPPO2(static_cast<float>(row.ppO2), static_cast<float>(row.minutes), false), 1.0, 1e-5);
        EXPECT_NEAR(CNSForPPO2(static_cast<float>(row.ppO2), 1, false), 1.0 / row.minutes, 1e-5 / row.minutes);
    }
}

TEST(OxygenLimits, BandEdgesBelongToTheLowerBand)
{
    // 1.6 is the last point of the 1.5-1.6 band (45 min); just above it the next band's
    // line starts at 44.4 min. The same at 1.7 (9.3 below, 10 above).
    EXPECT_NEAR(CNSForPPO2(1.6f, 45, false), 1.0, 1e-5);
    EXPECT_NEAR(CNSForPPO2(std::nextafter(1.6f, 2.0f), 44.4f, false), 1.0, 1e-4);
    EXPECT_NEAR(CNSForPPO2(1.7f, 9.3f, false), 1.0, 1e-4);
    EXPECT_NEAR(CNSForPPO2(std::nextafter(1.7f, 2.0f), 10, false), 1.0, 1e-4);
    EXPECT_NEAR(CNSForPPO2(0.6f, 720, false), 1.0, 1e-5);
}

TEST(OxygenLimits, MetricPPO2IsTakenInAtmospheres)
{
    // 1.6 bar = 1.58192 atm: band 1.5-1.6, limit 120 - 0.8192 x 75 = 58.56 min.
    const double limit = 120 - (1.6 * 0.9887 - 1.5) / 0.1 * 75;
    EXPECT_NEAR(limit, 58.56, 0.01);
    EXPECT_NEAR(CNSForPPO2(1.6f, static_cast<float>(limit), true), 1.0, 1e-5);
    // OTU likewise: 10 min at 1.6 bar.
    EXPECT_NEAR(OTUForPPO2(1.6f, 10, true), 10 * otuRate(1.6 * 0.9887), 1e-4);
}

TEST(OxygenLimits, NothingCountsAtOrBelowHalfAnAtmosphere)
{
    EXPECT_EQ(CNSForPPO2(0.5f, 100, false), 0);
    EXPECT_EQ(OTUForPPO2(0.5f, 100, false), 0);
    EXPECT_EQ(CNSForPPO2(0.3f, 100, false), 0);
    EXPECT_GT(CNSForPPO2(0.5001f, 100, false), 0);
    EXPECT_GT(OTUForPPO2(0.5001f, 100, false), 0);
    // 0.5 bar / 0.9887 is 0.5 atm after the metric factor.
    EXPECT_EQ(CNSAtDepth(0, 100, 0.5f / 0.9887f - 1e-6f, 1.0f, true), 0);
    // Above the table nothing is charged.
    EXPECT_EQ(CNSForPPO2(61, 10, false), 0);
}

TEST(OxygenLimits, OTUByTheLambertsenFormula)
{
    const struct {
        double ppO2, minutes;
    } cases[] = {{0.6, 30}, {1.0, 10}, {1.4, 45}, {2.0, 5}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.ppO2);
        // 1.0 atm for 1 minute is 1 OTU by definition.
        const double expected = c.minutes * otuRate(c.ppO2);
        EXPECT_NEAR(OTUForPPO2(static_cast<float>(c.ppO2), static_cast<float>(c.minutes), false), expected, 1e-5 * expected);
    }
    EXPECT_NEAR(OTUForPPO2(1.0f, 1, false), 1.0, 1e-6);
}

struct DepthCase {
    const char *name;
    float depth, minutes, fO2, surface;
    bool metric;
};

TEST(OxygenLimits, ConstantDepthOnTheDivesGas)
{
    const DepthCase cases[] = {
        {"air 30 m", 30, 40, 0.21f, 1.0f, true},
        {"EAN32 33 m", 33, 25, 0.32f, 1.0f, true},
        {"oxygen 6 m at altitude", 6, 12, 1.0f, 0.9f, true},
        {"EAN50 66 ft", 66, 20, 0.5f, 1.0f, false},
    };
    for (const DepthCase &c : cases) {
        SCOPED_TRACE(c.name);
        const double p = ambient(c.depth, c.surface, c.metric) * c.fO2 * (c.metric ? 0.9887 : 1.0);
        const double otu = c.minutes * otuRate(p);
        const double cns = c.minutes / limitAt(p);
        EXPECT_NEAR(OTUAtDepth(c.depth, c.minutes, c.fO2, c.surface, c.metric), otu, 1e-5 * otu);
        EXPECT_NEAR(CNSAtDepth(c.depth, c.minutes, c.fO2, c.surface, c.metric), cns, 1e-5 * cns);
    }
}

struct ChangeCase {
    const char *name;
    float from, to, rate, fO2, surface;
    bool metric;
};

TEST(OxygenLimits, DepthChangesMatchAFineIntegration)
{
    const ChangeCase cases[] = {
        // Air from the surface: 0.5 to 0.83 atm, four bands, the first only from 0.5.
        {"air descent 0-30 m", 0, 30, 10, 0.21f, 1.0f, true},
        {"EAN50 ascent 21-0 m", 21, 0, -9, 0.5f, 1.0f, true},
        // Oxygen across the 1.5 and 1.6 edges (the limit jumps from 45 to 44.4 min).
        {"oxygen descent 3-8 m", 3, 8, 1, 1.0f, 1.0f, true},
        {"oxygen ascent 30-0 ft", 30, 0, -10, 1.0f, 1.0f, false},
        {"trimix 10/50 descent 0-100 m", 0, 100, 20, 0.10f, 1.0f, true},
        {"EAN80 descent at altitude", 0, 12, 5, 0.8f, 0.8f, true},
        {"deep oxygen ramp 0-25 m", 0, 25, 2, 1.0f, 1.0f, true},
    };
    for (const ChangeCase &c : cases) {
        SCOPED_TRACE(c.name);
        const Exposure ref = integrate(c.from, c.to, c.rate, c.fO2, c.surface, c.metric);
        const float otu = OTUForDepthChange(c.from, c.to, c.rate, c.fO2, c.surface, c.metric);
        const float cns = CNSForDepthChange(c.from, c.to, c.rate, c.fO2, c.surface, c.metric);
        // Midpoint rule with 10000 steps, Single results: 1e-4 relative.
        EXPECT_NEAR(otu, ref.otu, 1e-4 * ref.otu + 1e-6);
        EXPECT_NEAR(cns, ref.cns, 1e-4 * ref.cns + 1e-7);
        EXPECT_GT(cns, 0);
    }
}

TEST(OxygenLimits, AscentChargesWhatTheMatchingDescentCharges)
{
    const ChangeCase cases[] = {
        {"air 0-40 m", 0, 40, 10, 0.21f, 1.0f, true},
        {"oxygen 0-9 m", 0, 9, 3, 1.0f, 1.0f, true},
        {"EAN50 10-70 ft", 10, 70, 30, 0.5f, 1.0f, false},
    };
    for (const ChangeCase &c : cases) {
        SCOPED_TRACE(c.name);
        const float otuDown = OTUForDepthChange(c.from, c.to, c.rate, c.fO2, c.surface, c.metric);
        const float otuUp = OTUForDepthChange(c.to, c.from, -c.rate, c.fO2, c.surface, c.metric);
        const float cnsDown = CNSForDepthChange(c.from, c.to, c.rate, c.fO2, c.surface, c.metric);
        const float cnsUp = CNSForDepthChange(c.to, c.from, -c.rate, c.fO2, c.surface, c.metric);
        EXPECT_FLOAT_EQ(otuUp, otuDown);
        EXPECT_NEAR(cnsUp, cnsDown, 1e-6 * cnsDown);
    }
}

TEST(OxygenLimits, ChangesBelowHalfAnAtmosphereChargeNothing)
{
    // Air from 0 to 10 m: at most 2 x 0.21 x 0.9887 = 0.415 atm.
    EXPECT_EQ(OTUForDepthChange(0, 10, 10, 0.21f, 1.0f, true), 0);
    EXPECT_EQ(CNSForDepthChange(10, 0, -10, 0.21f, 1.0f, true), 0);
    // A rate of 0 is a fault the caller must see, not an infinite time.
    try {
        CNSForDepthChange(0, 10, 0, 0.21f, 1.0f, true);
        FAIL();
    } catch (const RuntimeError &e) {
        EXPECT_EQ(e.number(), ErrDivisionByZero);
    }
}

TEST(GasUse, SurfaceVolumeAtDepthAndOverAChange)
{
    // 30 m for 10 min at 20 l/min: 4 bar x 200 l.
    EXPECT_FLOAT_EQ(GasUsedAtDepth(30, 10, 20, 1.0f, true), 800);
    // 33 ft is 2 atm: 2 x 5 min x 0.7 cuft/min.
    EXPECT_FLOAT_EQ(GasUsedAtDepth(33, 5, 0.7f, 1.0f, false), 7);
    // Ascent 30 to 20 m at 10 m/min: 1 min at a mean 25 m, 3.5 bar x 20 l.
    EXPECT_FLOAT_EQ(GasUsedForDepthChange(30, 20, -10, 20, 1.0f, true), 70);
    // Descent 0 to 40 m at 20 m/min at altitude (0.9 bar): 2 min at 2.9 bar x 15 l.
    EXPECT_FLOAT_EQ(GasUsedForDepthChange(0, 40, 20, 15, 0.9f, true), 87);
}

TEST(NarcoticDepth, EndByHand)
{
    TemplateRec sea;
    sea.StartPressure = 1.0f;
    TemplateRec lake = sea;
    lake.StartPressure = 0.8f;
    const struct {
        const char *name;
        bool metric;
        float depth, n2, he;
        bool o2Narcotic;
        const TemplateRec &t;
        double expected;
    } cases[] = {
        // ((10 + 30) x 79 / 1000 / 0.79 - 1) x 10 = 30
        {"air 30 m", true, 30, 79, 0, false, sea, 30},
        {"air 30 m, O2 narcotic", true, 30, 79, 0, true, sea, 30},
        {"air at the surface", true, 0, 79, 0, false, sea, 0},
        // Tx 18/45 at 60 m: (70 x 0.37 / 0.79 - 10) = 22.785; 0.55 x 70 - 10 = 28.5
        {"trimix 18/45 60 m", true, 60, 37, 45, false, sea, 70 * 0.37 / 0.79 - 10},
        {"trimix 18/45 60 m, O2 narcotic", true, 60, 37, 45, true, sea, 28.5},
        // At 0.8 bar the nitrogen form still subtracts one bar, the other form 0.8 bar:
        // (38 x 0.79 / 0.79 - 10) = 28; 38 - 8 = 30.
        {"air 30 m at altitude", true, 30, 79, 0, false, lake, 28},
        {"air 30 m at altitude, O2 narcotic", true, 30, 79, 0, true, lake, 30},
        // Imperial: 99 ft is worked as 30 m and given back in feet.
        {"air 99 ft", false, 99, 79, 0, false, sea, 99},
        {"heliox 40 m", true, 40, 0, 72, false, sea, 0},
        {"EAN50 at 3 m is never negative", true, 3, 50, 0, false, sea, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(CalcEND(c.metric, c.depth, c.n2, c.he, c.o2Narcotic, c.t), c.expected, 1e-4);
        // The closed-circuit form takes He before N2.
        EXPECT_EQ(CalcENDVar(c.metric, 1.3f, c.depth, c.he, c.n2, c.o2Narcotic, c.t),
                  CalcEND(c.metric, c.depth, c.n2, c.he, c.o2Narcotic, c.t));
    }
}

TEST(NarcoticDepth, PPO2IsThePlainPartialPressure)
{
    EXPECT_FLOAT_EQ(CalcPPO2Var(30, 1.0f, 0.21f, true), 0.84f);
    EXPECT_FLOAT_EQ(CalcPPO2Var(6, 1.0f, 1.0f, true), 1.6f);
    EXPECT_FLOAT_EQ(CalcPPO2Var(66, 1.0f, 0.32f, false), 0.96f);
}

} // namespace
