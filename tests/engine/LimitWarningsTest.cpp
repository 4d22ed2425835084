// The one-shot limit warnings of the result waypoints.

#include "engine/DOLVmiscModule.h"
#include "tests/engine/BuhlmannProbe.h"

namespace {

using enginetest::EngineTest;
using P = ClassBuhlmannProbe;

class LimitWarnings : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        dive().MaxEnd = true;
        dive().PPO2High = true;
        dive().PPO2Low = true;
        start(engine);
    }
    void start(ClassBuhlmann &b)
    {
        P::Start(b, 1, true);
        P::Into(b, out);
    }
    // A waypoint with the given ppO2 and END.
    void add(float ppO2, float end, bool isStop = false, ClassBuhlmann *b = nullptr)
    {
        P::AddResultWaypoint(b ? *b : engine, 10, ppO2, end, isStop);
    }
    // The boxes the engine's warnings make when they are shown.
    std::vector<FakeEngineHost::Box> shown(const ClassBuhlmann &b)
    {
        host.boxes.clear();
        ShowPlanWarnings(b.Warnings());
        return host.boxes;
    }
    ClassBuhlmann engine;
    ClassProfile out;
};

TEST_F(LimitWarnings, EachKindWarnsOncePerComputation)
{
    add(1.0f, 35); // END above 30
    add(1.0f, 40);
    dive().DecoPPO2 = 1.4f; // equal to the bottom's maximum, yet a limit of its own
    add(1.45f, 10); // ppO2 above 1.4 on a first level, then on a deeper one
    add(1.9f, 10);
    add(1.61f, 10, true); // on a stop: above the deco maximum
    add(0.1f, 10); // ppO2 below 0.18
    add(0.05f, 10);
    // The computation opens no box: its warnings are data until they are shown.
    EXPECT_TRUE(host.boxes.empty());
    const auto boxes = shown(engine);
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].title, "*StringID 6160*");
    EXPECT_NE(boxes[0].prompt.find("40"), std::string::npos);
    EXPECT_NE(boxes[0].prompt.find("30"), std::string::npos);
    EXPECT_EQ(boxes[0].buttons, vbOKOnly | vbExclamation);
    EXPECT_EQ(boxes[1].title, "*StringID 6161*");
    EXPECT_EQ(boxes[1].prompt, "*StringID 2406*1.90*StringID 2407*1.40*StringID 2408*\n\n"
                               "*StringID 2406*1.61*StringID 7095*1.40*StringID 2408*");
    EXPECT_EQ(boxes[2].title, "*StringID 6162*");
    EXPECT_NE(boxes[2].prompt.find("0.05"), std::string::npos);
    EXPECT_NE(boxes[2].prompt.find("0.18"), std::string::npos);

    // A new computation (a new engine) warns again, even with the same start procedure.
    ClassBuhlmann again;
    start(again);
    add(1.0f, 35, false, &again);
    EXPECT_EQ(again.Warnings().size(), 1u);
    // Restarting an engine does not clear its flags.
    start(engine);
    add(1.0f, 35);
    EXPECT_EQ(engine.Warnings().size(), 4u);
}

TEST_F(LimitWarnings, LimitsAreComparedAsRounded)
{
    add(1.404f, 30);  // 1.40 after rounding: not above 1.4; END exactly at the limit
    add(0.18f, 30);   // exactly the minimum
    EXPECT_TRUE(engine.Warnings().empty());
    add(1.406f, 30);  // 1.41
    const auto boxes = shown(engine);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].prompt.find("1.41"), std::string::npos);
}

TEST_F(LimitWarnings, StopsAreCheckedAgainstTheDecoLimit)
{
    add(1.604f, 10, true); // a stop: limit 1.6, and 1.60 after rounding
    EXPECT_TRUE(engine.Warnings().empty());
    add(1.606f, 10, true);
    EXPECT_EQ(engine.Warnings().size(), 1u);
}

} // namespace

namespace {

// One command running several computations: its refusals, then each kind once with its
// worst value, then its notice, after it has run.
TEST_F(LimitWarnings, ACommandShowsEachKindOnceWithItsWorstValue)
{
    const auto w = [](PlanWarningKind k, float v, float limit) { return PlanWarning{k, v, limit, true}; };
    PlanNotices command;
    command.AddWarnings({w(PlanWarningKind::ENDAbove, 35, 30), w(PlanWarningKind::PPO2Above, 1.5f, 1.4f)});
    PlanNotices nextDive;
    nextDive.AddWarnings({w(PlanWarningKind::ENDAbove, 52, 30), w(PlanWarningKind::PPO2Below, 0.15f, 0.18f),
                          w(PlanWarningKind::PPO2Below, 0.12f, 0.18f)});
    nextDive.Refusals = {"refused"};
    nextDive.Notice = "taken off";
    command.Merge(nextDive);
    EXPECT_TRUE(host.boxes.empty()) << "values until the command shows them";
    ShowPlanNotices(command);
    ASSERT_EQ(host.boxes.size(), 5u);
    EXPECT_EQ(host.boxes[0].prompt, "refused");
    EXPECT_EQ(host.boxes[0].buttons, vbCritical | vbOKOnly);
    EXPECT_NE(host.boxes[1].prompt.find("52"), std::string::npos) << host.boxes[1].prompt;
    EXPECT_NE(host.boxes[2].prompt.find("1.50"), std::string::npos) << host.boxes[2].prompt;
    EXPECT_NE(host.boxes[3].prompt.find("0.12"), std::string::npos) << host.boxes[3].prompt;
    EXPECT_EQ(host.boxes[4].prompt, "taken off");
}

} // namespace
