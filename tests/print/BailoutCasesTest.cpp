// Where the rows of a bail-out table fall, and the settings of each case.

#include "print/BailoutCases.h"

#include "engine/ClassBuhlmann.h"
#include "engine/DOLVmiscModule.h"
#include "engine/ProfileReplay.h"
#include "tests/engine/BuhlmannProbe.h"

#include <gtest/gtest.h>
#include <cmath>
#include <random>

// The legs (depth, logged minutes) as the editor shows them: replayed, or computed.
static ClassProfile shownDive(const TemplateRec &t, std::vector<std::pair<float, float>> legs, bool computed)
{
    ClassUseractions log;
    for (const auto &[depth, minutes] : legs)
        LogUserLeg(log, t, depth, minutes, 0);
    ClassProfile input;
    DrawLoggedLegs(log, t, input);
    return PlanDive(t, {}, input, PlanOptions{.PlanAscent = computed}).Profile;
}

TEST(BailoutCases, RowsAtEveryInterval)
{
    struct Case {
        float end, interval;
        std::vector<float> times;
    };
    const Case cases[] = {
        {24, 7, {7, 14, 21}},
        {24, 6, {6, 12, 18, 24}},
        {24, 99, {}},
        {25.5f, 5, {5, 10, 15, 20, 25}},
        {0, 5, {}}, // no end of the diver's part flagged: no rows
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.end << " / " << c.interval);
        EXPECT_EQ(BailoutTimes(c.end, c.interval), c.times);
    }
    // The bar counts the waypoint steps of every row and always has a range.
    EXPECT_EQ(BailoutProgressMaximum(4, 10), 40);
    EXPECT_EQ(BailoutProgressMaximum(0, 10), 1);
}

TEST(BailoutCases, EachCaseLeavesOutOneSwitch)
{
    TemplateRec dive;
    dive.GasChanges = {GasChangeRecord{"Oxygen", 100, 0, 0, 6}, GasChangeRecord{"EAN50", 50, 50, 0, 21},
                       GasChangeRecord{"Trimix 35/25", 35, 40, 25, 36}};
    TemplateRec c;
    CopyTemplateWithoutGasChange(dive, c, 1);
    ASSERT_EQ(c.GasChanges.size(), 2u);
    EXPECT_EQ(c.GasChanges[1].Name, "Trimix 35/25");
    EXPECT_EQ(dive.GasChanges.size(), 3u) << "the dive's own list untouched";

    dive.GasChanges.resize(1);
    CopyTemplateWithoutGasChange(dive, c, 0);
    EXPECT_TRUE(c.GasChanges.empty()) << "without its only switch: no switches";
}

// Where the engine's timing has the diver at `time`: a straight line between waypoints
// in adjusted depths, affine below the surface (k d + c); 0 or less is the surface.
static double depthAt(const ClassProfile &shown, const TemplateRec &t, float time)
{
    const double k = (AdjustedDepth(20, t) - AdjustedDepth(10, t)) / 10, c = AdjustedDepth(10, t) - 10 * k;
    const auto at = [&](int16_t i) { return shown.getDepth(i) == 0 ? 0.0 : k * shown.getDepth(i) + c; };
    const int16_t j = SegmentAt(shown, time);
    const double t0 = shown.GetRunTime(j - 1), share = (time - t0) / (shown.GetRunTime(j) - t0);
    return (at(j - 1) + (at(j) - at(j - 1)) * share - c) / k;
}

// Rows with depth adjustment, timed as the engine timed the shown profile: inside
// descents and ascents, to the surface and not, computed and not, metric and imperial;
// each row starts where the shown profile has the diver at its minute, the last one at
// the end of the diver's part.
TEST(BailoutCases, GeneratedDivesWithDepthAdjustmentGiveEveryRowOfEveryCaseAtItsMinute)
{
    std::mt19937 random(33);
    std::uniform_real_distribution<float> share(0, 1);
    for (int n = 0; n < 20; ++n) {
        const bool metric = n % 2 == 0, surfaces = n % 4 < 2, computed = n % 5 == 0;
        SCOPED_TRACE(testing::Message() << "dive " << n);
        TemplateRec t = enginetest::MetricAirDive();
        t.DepthAdjust = true;
        t.Metric = metric;
        t.StartAltitude = t.EndAltitude = metric ? 113 : 0; // 1.0 bar or atm
        t.OpenCircuit = n % 3 != 0;
        const float unit = metric ? 1 : 3.3f, interval = float(1 + random() % 3);
        t.GasChanges = {{"EAN50", 50, 50, 0, 21 * unit}, {"Oxygen", 100, 0, 0, 6 * unit}};
        std::vector<std::pair<float, float>> legs{{(30 + 30 * share(random)) * unit, 5},
                                                  {(0.3f + 30 * share(random)) * unit, 15 * share(random)}};
        legs.resize(surfaces ? 3 : 2); // straight up to the surface
        const ClassProfile shown = shownDive(t, legs, computed);
        const float end = shown.GetRunTime(FindEndUserProfile(shown));
        std::vector<float> times = BailoutTimes(end, interval);
        if (times.empty() || times.back() != end)
            times.push_back(end); // the end of the diver's part, computed or not
        for (int16_t c = 0; c <= 2; ++c) {
            std::vector<ClassProfile> table;
            std::vector<PlanWarning> warnings;
            TemplateRec caseSettings;
            CopyTemplateWithoutGasChange(t, caseSettings, c);
            ASSERT_TRUE(ComputeBailoutCase(shown, caseSettings, {}, {}, interval, [](int32_t) { return true; }, table,
                                           warnings));
            ASSERT_EQ(table.size(), 1 + times.size());
            for (size_t r = 0; r < times.size(); ++r) {
                const ClassProfile &row = table[r + 1];
                const int16_t e = FindEndUserProfile(row);
                const double depth = std::max(depthAt(shown, t, times[r]), 0.0); // 0: not yet down, or up
                EXPECT_NEAR(row.getDepth(e), depth, 0.01) << "case " << c << ", bail-out at " << times[r];
                const bool surfaced = depth == 0 && row.GetRunTime(e) >= times[r];
                EXPECT_TRUE(surfaced || std::fabs(row.GetRunTime(e) - times[r]) < 1e-4) << row.GetRunTime(e);
            }
        }
    }
}

TEST(BailoutCases, RowsAreBoundedBeforeTheRunAndTheLongestDiveAnswersCancel)
{
    const TemplateRec t = enginetest::MetricAirDive();
    const ClassProfile week = shownDive(t, {{100, 10070}}, false);
    EXPECT_TRUE(BailoutRowsProblem(week, t, 1));
    ASSERT_FALSE(BailoutRowsProblem(week, t, 99));
    std::vector<ClassProfile> table;
    std::vector<PlanWarning> warnings;
    int steps = 0;
    EXPECT_FALSE(ComputeBailoutCase(week, t, {}, {}, 99, [&steps](int32_t) { return ++steps < 20; }, table, warnings));
    EXPECT_EQ(table.size(), 20u);
}
