// The entry point the windows compute a dive through: which dive it computes, what it
// leaves in the dive's record and in the result, and what it shows in the status bar.

#include "engine/DOLVmiscModule.h"
#include "engine/DiveModel.h"
#include "engine/RuntimeError.h"
#include "tests/engine/BuhlmannProbe.h"

namespace {

using namespace enginetest;

class Driver : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        gSettings.resize(4);
        for (int16_t nr : {2, 3})
            dive(nr) = MetricAirDive();
    }
    void run(bool loadOnly, bool bailout, bool repetitive, int16_t profileNr)
    {
        RunDecompression(in, out, loadOnly, bailout, repetitive, profileNr, PlanOptions{});
    }
    ClassProfile in = SquareDive(30, 25);
    ClassProfile out;
};

TEST_F(Driver, ComputesTheDiveItIsGiven)
{
    run(false, false, false, 2);
    EXPECT_GT(gSettings[2].N2Compartments[1], 0);
    EXPECT_EQ(gSettings[1].N2Compartments[1], 0);
    EXPECT_EQ(host.statusTexts, (std::vector<std::string>{"*StringID 5006*", "*StringID 5005*"}));
    EXPECT_EQ(out.getDepth(out.GetLength()), 0);
    EXPECT_EQ(FindEndUserProfile(out), 2);

    // Another dive's settings are its own record's.
    dive(3).LastStop = 6;
    run(false, true, false, 3);
    EXPECT_GT(gSettings[3].N2Compartments[1], 0);
    EXPECT_EQ(StopDepths(out).back(), 6);
}

TEST_F(Driver, RepetitiveReplayStartsFromThePreviousDive)
{
    // A dive that is not open follows its record's link.
    gSettings[2].PrevProfile = 1;
    gSettings[1].N2Compartments.fill(20);
    gSettings[2].SurfTime = 0;
    in = ClassProfile();
    Leg(in, 0, 0, 0); // nothing happens in the dive itself
    Leg(out, 10, 1, 0);
    run(true, false, true, 2);
    ASSERT_EQ(out.GetLength(), 2); // the replay is appended
    EXPECT_TRUE(out.GetEndUserProfile(2));
    Comp16 n2{};
    out.GetN2Compartments(2, n2);
    EXPECT_EQ(n2[16], 20);
    EXPECT_EQ(FindEndUserProfile(ClassProfile()), 0);

    // An open dive follows its own link in the dive model.
    gSettings[3].N2Compartments.fill(25);
    OpenDive(2)->SetPrevProfile(3);
    out = ClassProfile();
    run(true, false, true, 2);
    out.GetN2Compartments(1, n2);
    EXPECT_EQ(n2[16], 25);
}

TEST_F(Driver, AFailedComputationLeavesNothingBehind)
{
    Leg(out, 10, 1, 0);
    dive(2).StepSize = 0;
    EXPECT_THROW(run(false, false, false, 2), RuntimeError);
    EXPECT_EQ(out.GetLength(), 0);
    EXPECT_EQ(gSettings[2].N2Compartments[1], 0);
    EXPECT_EQ(host.statusTexts.size(), 1u); // still "computing"
    EXPECT_THROW(run(false, false, true, 2), RuntimeError) << "no previous dive";
}

} // namespace
