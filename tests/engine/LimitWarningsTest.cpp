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

TEST_F(LimitWarnings, EachKindIsToldOncePerComputationWithItsWorstValue)
{
    add(1.0f, 35); // END above 30
    add(1.0f, 40);
    add(1.5f, 10); // ppO2 above 1.4
    add(1.7f, 10);
    add(0.1f, 10); // ppO2 below 0.18
    add(0.05f, 10);
    // The computation opens no box: its warnings are data until they are shown.
    EXPECT_TRUE(host.boxes.empty());
    const auto boxes = shown(engine);
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].title, "*StringID 6160*");
    EXPECT_EQ(boxes[0].prompt, "*StringID 2400*40*StringID 2401*30*StringID 2402*");
    EXPECT_EQ(boxes[0].buttons, vbOKOnly | vbExclamation);
    EXPECT_EQ(boxes[1].title, "*StringID 6161*");
    EXPECT_EQ(boxes[1].prompt, "*StringID 2406*1.70*StringID 2407*1.40*StringID 2408*");
    EXPECT_EQ(boxes[2].title, "*StringID 6162*");
    EXPECT_EQ(boxes[2].prompt, "*StringID 2406*0.05*StringID 2410*0.18*StringID 2408*");

    // A new computation (a new engine) warns again, even with the same start procedure.
    ClassBuhlmann again;
    start(again);
    add(1.0f, 35, false, &again);
    EXPECT_EQ(again.Warnings().size(), 1u);
    // Restarting an engine does not clear its flags.
    start(engine);
    add(1.0f, 35);
    EXPECT_EQ(engine.Warnings().size(), 3u);
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

// Whole dives as a command tells them: the worst breach of each limit, the bottom's
// maximum and the deco maximum apart even when equal, in one box (EAN32, EAN50 and
// oxygen under 1.013 bar).
TEST_F(LimitWarnings, ADiveIsToldTheWorstBreachOfTheBottomAndOfTheDecoLimit)
{
    using namespace enginetest;
    const GasRecord ean32 = Gas("EAN32", 32, 0), ean50 = Gas("EAN50", 50, 0), oxygen = Gas("Oxygen", 100, 0);
    dive().Gases = {AirGas(), ean32, ean50, oxygen};
    dive().GasChanges = {Switch(oxygen, 6), Switch(ean50, 21)};
    dive().StartPressure = dive().EndPressure = 1.01325f;
    const auto above = [](const char *v, bool deco, const char *limit) {
        return std::string("*StringID 2406*") + v + (deco ? "*StringID 7095*" : "*StringID 2407*") + limit +
               "*StringID 2408*";
    };
    struct Level {
        float depth, minutes;
        int16_t mix;
    };
    struct Case {
        std::vector<Level> levels;
        float decoMaximum;
        std::string told;
    };
    const Case cases[] = {
        // 1.45 bar at 18.9 m, then 1.90 at 27.9 m: the second is told.
        {{{18.9f, 10, 2}, {27.9f, 5, 2}}, 1.6f, above("1.90", false, "1.40")},
        // 1.41 bar on the bottom, then 1.61 on oxygen at the 6 m stop.
        {{{34, 60, 1}}, 1.6f, above("1.41", false, "1.40") + "\n\n" + above("1.61", true, "1.60")},
        {{{34, 60, 1}}, 1.4f, above("1.41", false, "1.40") + "\n\n" + above("1.61", true, "1.40")},
    };
    for (const Case &c : cases) {
        ClassProfile legs;
        float at = 0;
        for (const Level &l : c.levels) {
            const GasRecord &gas = dive().Gases[static_cast<size_t>(l.mix)];
            Leg(legs, l.depth, (l.depth - at) / 20, 20, l.mix, gas.Name.c_str());
            Leg(legs, l.depth, l.minutes, 0, l.mix, gas.Name.c_str());
            at = l.depth;
        }
        dive().DecoPPO2 = c.decoMaximum;
        host.boxes.clear();
        PlanNotices command;
        command.AddWarnings(PlanDive(dive(), {}, legs, {}).Warnings);
        ShowPlanNotices(command);
        ASSERT_EQ(host.boxes.size(), 1u) << c.told;
        EXPECT_EQ(host.boxes[0].prompt, c.told);
    }
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
