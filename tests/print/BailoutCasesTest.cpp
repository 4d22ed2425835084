// The arithmetic of bail-out tables: where the bail-outs start, the dive cut there, and
// the settings of each case.

#include "print/BailoutCases.h"

#include <gtest/gtest.h>

namespace {

// 0 -> 30 m at 20 m/min (1.5 min), 30 m until 20 min, up to 21 m at 10 m/min (0.9 min),
// 21 m until 24 min.
ClassProfile squareDive()
{
    ClassProfile p;
    const struct {
        float depth, segment, rate, runTime;
        int16_t status;
    } legs[] = {{30, 1.5f, 20, 1.5f, StatusUserLeg},
                {30, 18.5f, 0, 20, StatusUserLeg},
                {21, 0.9f, -10, 20.9f, StatusAscentBand},
                {21, 3.1f, 0, 24, StatusDecoStop}};
    for (const auto &l : legs) {
        p.NewWayPoint();
        const int16_t i = p.GetLength();
        p.setDepth(i, l.depth);
        p.SetSegmentTime(i, l.segment);
        p.SetRate(i, l.rate);
        p.SetRunTime(i, l.runTime);
        p.SetStatus(i, l.status);
        p.SetStopDepth(i, l.status == StatusDecoStop ? 21 : 0);
        p.SetStopTime(i, l.status == StatusDecoStop ? 3.1f : 0);
        p.SetMixNumber(i, 5);
    }
    return p;
}

} // namespace

TEST(BailoutCases, TheCutEndsWhereTheDiverIsAtThatMinute)
{
    const ClassProfile dive = squareDive();
    ClassProfile cut;

    // Half way down: 15 m after 0.75 min.
    ASSERT_TRUE(BailoutCut(dive, 0.75f, cut));
    EXPECT_EQ(cut.GetLength(), 1);
    EXPECT_FLOAT_EQ(cut.getDepth(1), 15);
    EXPECT_FLOAT_EQ(cut.GetSegmentTime(1), 0.75f);
    EXPECT_FLOAT_EQ(cut.GetRunTime(1), 0.75f);

    // On the bottom: the level leg shortened to end at 10 min.
    ASSERT_TRUE(BailoutCut(dive, 10, cut));
    EXPECT_EQ(cut.GetLength(), 2);
    EXPECT_FLOAT_EQ(cut.getDepth(2), 30);
    EXPECT_FLOAT_EQ(cut.GetSegmentTime(2), 8.5f);
    EXPECT_EQ(cut.getmixnumber(2), 5);

    // Part way up, and at the end of a stop: a plain leg of the diver's, no stop.
    ASSERT_TRUE(BailoutCut(dive, 20.5f, cut));
    EXPECT_EQ(cut.GetLength(), 3);
    EXPECT_NEAR(cut.getDepth(3), 25, 1e-5);
    EXPECT_EQ(cut.GetStatus(3), StatusUserLeg);
    ASSERT_TRUE(BailoutCut(dive, 24, cut));
    EXPECT_EQ(cut.GetLength(), 4);
    EXPECT_FLOAT_EQ(cut.getDepth(4), 21);
    EXPECT_EQ(cut.getStopDepth(4), 0);
    EXPECT_EQ(cut.getStopTime(4), 0);
    EXPECT_EQ(cut.GetStatus(4), StatusUserLeg);

    // Before the first minute and after the end no segment holds the time.
    EXPECT_FALSE(BailoutCut(dive, 0, cut));
    EXPECT_FALSE(BailoutCut(dive, 24.5f, cut));
    EXPECT_EQ(cut.GetLength(), 4) << "left as it was";
}

TEST(BailoutCases, RowsAtEveryIntervalAndAtTheEndOfTheDiversPart)
{
    struct Case {
        float end, interval;
        std::vector<float> times;
    };
    const Case cases[] = {
        {24, 7, {7, 14, 21, 24}},  // the last minutes of the bottom get their row
        {24, 6, {6, 12, 18, 24}},  // an exact multiple gets no second row at the end
        {24, 99, {24}},            // an interval longer than the dive: the end only
        {25.5f, 5, {5, 10, 15, 20, 25, 25.5f}},
        {0, 5, {}},                // no end of the diver's part flagged: no rows
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.end << " / " << c.interval);
        EXPECT_EQ(BailoutTimes(c.end, c.interval), c.times);
    }
    // The bar counts waypoint steps per row and always has a range.
    EXPECT_EQ(BailoutProgressMaximum(24, 7, 10), 40);
    EXPECT_EQ(BailoutProgressMaximum(0, 7, 10), 1);
}

TEST(BailoutCases, EachCaseLeavesOutOneSwitchAndTheLastKeepsAll)
{
    TemplateRec dive;
    dive.GasChanges = {GasChangeRecord{"Oxygen", 100, 0, 0, 6}, GasChangeRecord{"EAN50", 50, 50, 0, 21},
                       GasChangeRecord{"Trimix 35/25", 35, 40, 25, 36}};
    TemplateRec c;
    CopyTemplateWithoutGasChange(dive, c, 1);
    ASSERT_EQ(c.GasChanges.size(), 2u);
    EXPECT_EQ(c.GasChanges[0].Name, "Oxygen");
    EXPECT_EQ(c.GasChanges[1].Name, "Trimix 35/25");
    EXPECT_EQ(c.GasChanges[1].Depth, 36);
    EXPECT_EQ(dive.GasChanges.size(), 3u) << "the dive's own list untouched";

    CopyTemplateWithoutGasChange(dive, c, 3);
    EXPECT_EQ(c.GasChanges.size(), 3u);

    dive.GasChanges.resize(1);
    CopyTemplateWithoutGasChange(dive, c, 0);
    EXPECT_TRUE(c.GasChanges.empty()) << "without its only switch: no switches";
}

TEST(BailoutCases, ARunKeepsTheFirstWarningOfEachKind)
{
    std::vector<PlanWarning> run;
    AddRunWarnings(run, {{PlanWarningKind::ENDAbove, 41, 30, true}, {PlanWarningKind::PPO2Above, 1.7f, 1.6f, true}});
    AddRunWarnings(run, {{PlanWarningKind::ENDAbove, 45, 30, true}, {PlanWarningKind::PPO2Below, 0.1f, 0.16f, true}});
    ASSERT_EQ(run.size(), 3u);
    EXPECT_EQ(run[0].Value, 41);
    EXPECT_EQ(run[2].Kind, PlanWarningKind::PPO2Below);
}
