// Where the rows of a bail-out table fall, and the settings of each case.

#include "print/BailoutCases.h"

#include "engine/DOLVmiscModule.h"
#include "engine/ProfileReplay.h"
#include "tests/engine/BuhlmannProbe.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <random>

namespace {

using namespace enginetest;
using Legs = std::vector<std::pair<float, float>>; // depth, logged minutes

TemplateRec settingsFor(bool metric, bool depthAdjust)
{
    TemplateRec t = MetricAirDive();
    t.DepthAdjust = depthAdjust;
    if (!metric) {
        t.Metric = false;
        t.StepSize = t.LastStop = 10;
        t.AscendRates = {RateRow(0, 33)};
        t.DescendRates = {RateRow(0, 66)};
    }
    return t;
}

// The legs as the editor shows them: replayed, or with the ascent computed.
ClassProfile shownDive(const TemplateRec &t, const Legs &legs, bool computed)
{
    ClassUseractions log;
    for (const auto &[depth, minutes] : legs)
        LogUserLeg(log, t, depth, minutes, 0);
    ClassProfile input;
    DrawLoggedLegs(log, t, input);
    PlanOptions options;
    options.PlanAscent = computed;
    return PlanDive(t, {}, input, options).Profile;
}

} // namespace

TEST(BailoutCases, RowsAtEveryIntervalThatMovesHoweverLongTheDive)
{
    EXPECT_EQ(BailoutTimes(24, 7), (std::vector<float>{7, 14, 21}));
    EXPECT_EQ(BailoutTimes(25.5f, 5), (std::vector<float>{5, 10, 15, 20, 25}));
    EXPECT_TRUE(BailoutTimes(0, 5).empty()) << "no end of the diver's part flagged: no rows";
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

TEST(BailoutCases, ACutIsWhereTheEngineTimesTheDiverWithOrWithoutDepthAdjustment)
{
    const struct {
        bool metric, adjust;
        Legs legs;
    } dives[] = {
        {true, true, {{101, 20}, {20, 10}, {0, 5}}}, // down, along and up to the surface
        {true, false, {{101, 20}, {20, 10}, {0, 5}}},
        {false, true, {{1, 2}, {0, 1}}}, // a 1 ft dive
        {false, true, {{330, 20}, {50, 5}}},
    };
    PlanOptions legsOnly;
    legsOnly.PlanAscent = false;
    for (const auto &d : dives) {
        const TemplateRec t = settingsFor(d.metric, d.adjust);
        const ClassProfile shown = shownDive(t, d.legs, false);
        for (float time = 0.1f; time < shown.GetRunTime(shown.GetLength()); time += 0.1f) {
            SCOPED_TRACE(testing::Message() << d.metric << d.adjust << d.legs[0].first << " at " << time);
            ClassProfile cut;
            ASSERT_TRUE(BailoutCut(shown, t, time, cut));
            const int16_t j = cut.GetLength();
            const ClassProfile replayed = PlanDive(t, {}, cut, legsOnly).Profile;
            EXPECT_GE(replayed.getDepth(j), 0);
            EXPECT_LE(replayed.getDepth(j), d.legs[0].first);
            // Timed as the shown profile was, the diver reaches the cut's depth at its
            // minute; only an ascent that the adjusted timing has surfaced already
            // reaches the surface where the shown profile does.
            if (replayed.getDepth(j) != 0 || replayed.GetRunTime(j) != shown.GetRunTime(j)) {
                EXPECT_NEAR(replayed.GetRunTime(j), time, 1e-4);
            }
        }
    }
}

TEST(BailoutCases, GeneratedDivesGiveEveryRowOfEveryCase)
{
    std::mt19937 random(33);
    const auto uniform = [&random](float low, float high) {
        return std::uniform_real_distribution<float>(low, high)(random);
    };
    for (int n = 0; n < 20; ++n) {
        const bool metric = n % 2 == 0, surfaces = n % 4 < 2, computed = n % 5 == 0;
        SCOPED_TRACE(testing::Message() << "dive " << n);
        TemplateRec t = settingsFor(metric, true);
        t.OpenCircuit = n % 3 != 0;
        t.Gases = {AirGas(), Gas("EAN50", 50, 0), Gas("Oxygen", 100, 0)};
        t.GasChanges = {Switch(t.Gases[1], metric ? 21 : 70), Switch(t.Gases[2], metric ? 6 : 20)};
        Legs legs;
        for (int k = 0; k < 3; ++k)
            legs.push_back({uniform(0.5f, metric ? 60 : 200), uniform(0, 15)});
        if (surfaces)
            legs.push_back({0, uniform(0, 2)});
        const ClassProfile shown = shownDive(t, legs, computed);
        const float interval = float(1 + random() % 5);
        const float end = shown.GetRunTime(FindEndUserProfile(shown));
        EXPECT_EQ(NeedsFinalRow(shown, interval), !surfaces && !computed && std::fmod(end, interval) != 0);
        const std::vector<float> times = BailoutTimes(end, interval);
        for (int16_t c = 0; c <= 2; ++c) {
            TemplateRec caseSettings;
            CopyTemplateWithoutGasChange(t, caseSettings, c);
            std::vector<ClassProfile> table;
            std::vector<PlanWarning> warnings;
            ASSERT_NO_THROW(ComputeBailoutCase(shown, caseSettings, {}, {}, interval, [](int32_t) { return true; },
                                               table, warnings));
            ASSERT_EQ(table.size(), 1 + times.size() + NeedsFinalRow(shown, interval));
            for (size_t r = 0; r < times.size(); ++r) // no row starts before its moment
                EXPECT_GE(table[r + 1].GetRunTime(FindEndUserProfile(table[r + 1])), times[r] - 1e-4f);
        }
    }
}

TEST(BailoutCases, RowsAreBoundedBeforeTheRunAndTheLongestDiveAnswersCancelAtOnce)
{
    const TemplateRec t = settingsFor(true, true);
    const ClassProfile week = shownDive(t, {{100, 10070}}, false);
    EXPECT_TRUE(BailoutRowsProblem(week, t, 1));
    ASSERT_FALSE(BailoutRowsProblem(week, t, 99));

    using Clock = std::chrono::steady_clock;
    Clock::time_point last = Clock::now();
    Clock::duration longest{};
    int calls = 0;
    std::vector<ClassProfile> table;
    std::vector<PlanWarning> warnings;
    const bool done = ComputeBailoutCase(week, t, {}, {}, 99, [&](int32_t) {
        longest = std::max(longest, Clock::now() - last);
        last = Clock::now();
        return ++calls < 20;
    }, table, warnings);
    EXPECT_FALSE(done);
    EXPECT_EQ(table.size(), 20u);
    EXPECT_LT(longest, std::chrono::milliseconds(500));
}
