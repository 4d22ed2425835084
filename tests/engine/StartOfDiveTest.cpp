// The start of a dive: saturation at the surface or a climb to altitude, a repetitive
// dive across its surface interval, and the replay of a drawn profile without an ascent.

#include "engine/AltitudeModule.h"
#include "tests/engine/BuhlmannProbe.h"

#include <cmath>

namespace {

using namespace enginetest;
using P = ClassBuhlmannProbe;

double Haldane(double p0, double pi, double halfTime, double t)
{
    return pi + (p0 - pi) * std::exp(-std::log(2.0) / halfTime * t);
}

// The drive to altitude worked independently: `steps` exposures of `minutes` each to air
// at altitudes rising evenly from 0 to `altitude` m, from sea-level saturation.
double Climb(int halfTimeIndex, double altitude, int steps, double minutes)
{
    const double halfTimes[2] = {5, 635};
    double p = (1.013 * 10 - 0.527) * 0.79;
    for (int i = 0; i <= steps; ++i) {
        const double bar = std::exp(-0.000116 * altitude * i / steps) * 1.01325;
        p = Haldane(p, (bar * 10 - 0.527) * 0.79, halfTimes[halfTimeIndex], minutes);
    }
    return p;
}

class StartOfDive : public EngineTest {
protected:
    ClassBuhlmann engine;
};

TEST_F(StartOfDive, FirstDiveTensions)
{
    engine.Init(1, true);
    EXPECT_NEAR(P::CompN2(engine)[9], (10 - 0.527) * 0.79, 1e-5);
    EXPECT_EQ(P::CompHe(engine)[1], 0);
    dive().Metric = false;
    engine.Init(1, true);
    // An imperial surface pressure is in atm, 33 fsw each: 1 atm gives 24.61008 fsw.
    EXPECT_NEAR(P::CompN2(engine)[9], (33 - 1.848) * 0.79, 1e-4);
    // Not acclimatised, no climb time: the diver arrives with sea-level tensions.
    dive().AdeptedToHeight = false;
    engine.Init(1, true);
    EXPECT_NEAR(P::CompN2(engine)[16], 24.603647726306, 1e-5);
    dive().Metric = true;
    engine.Init(1, true);
    EXPECT_NEAR(P::CompN2(engine)[16], (1.013 * 10 - 0.527) * 0.79, 1e-5); // 7.5864 msw
}

TEST_F(StartOfDive, ArrivingUnacclimatisedAtSeaLevelIsNoCleaner)
{
    // At sea level a diver who has just arrived is as saturated as one who lives there:
    // 30 m for 40 minutes on air needs no less decompression.
    dive().StartAltitude = dive().EndAltitude = 0;
    dive().StartPressure = dive().EndPressure = AltitudeToPressure(0, true);
    auto runTime = [&](bool acclimatised, int16_t climb) {
        dive().AdeptedToHeight = acclimatised;
        dive().TimeToHeight = climb;
        ClassBuhlmann b;
        b.Init(1, true);
        ClassProfile planned;
        b.StartBuhlmann(SquareDive(30, 40), planned, true, false);
        return planned.GetRunTime(planned.GetLength());
    };
    const float acclimatised = runTime(true, 0);
    EXPECT_GE(runTime(false, 0), acclimatised);
    EXPECT_GE(runTime(false, 60), acclimatised);
}

TEST_F(StartOfDive, ClimbToAltitude)
{
    dive().AdeptedToHeight = false;
    dive().StartAltitude = 1500;
    dive().TimeToHeight = 300; // 101 steps of 3 minutes at 0, 15, ... 1500 m
    engine.Init(1, true);
    EXPECT_NEAR(P::CompN2(engine)[1], Climb(0, 1500, 100, 3), 1e-4);
    EXPECT_NEAR(P::CompN2(engine)[16], Climb(1, 1500, 100, 3), 1e-4);
    // Any other climb time is the same 101 altitudes, each for a hundredth of the climb:
    // 30 minutes in steps of 0.3, 149 in steps of 1.49.
    dive().TimeToHeight = 30;
    engine.Init(1, true);
    EXPECT_NEAR(P::CompN2(engine)[1], Climb(0, 1500, 100, 0.3), 1e-4);
    dive().TimeToHeight = 149;
    engine.Init(1, true);
    EXPECT_NEAR(P::CompN2(engine)[1], Climb(0, 1500, 100, 1.49), 1e-4);
    EXPECT_NEAR(P::CompN2(engine)[16], Climb(1, 1500, 100, 1.49), 1e-4);
    EXPECT_EQ(P::RunTime(engine), 0);
    EXPECT_EQ(P::SegmentNumber(engine), 0);
}

TEST_F(StartOfDive, RepetitiveDiveAcrossItsSurfaceInterval)
{
    Comp16 n2{};
    Comp16 he{};
    for (int i = 1; i <= 16; ++i) {
        n2[i] = 20;
        he[i] = 10;
    }
    engine.InitAfterSurfaceInterval(1, true, n2, he, 0);
    EXPECT_EQ(P::CompN2(engine), n2);
    EXPECT_EQ(P::CompHe(engine), he);
    EXPECT_EQ(P::RunTime(engine), 0);
    EXPECT_EQ(P::SegmentNumber(engine), 0);

    // Two days on surface air; a rebreather diver breathes air off the loop too.
    dive().OpenCircuit = false;
    engine.InitAfterSurfaceInterval(1, true, n2, he, 2880);
    for (int i : {1, 16}) {
        EXPECT_NEAR(P::CompN2(engine)[i], Haldane(20, (10 - 0.527) * 0.79, P::HalfTimeN2(engine)[i], 2880), 1e-4);
        EXPECT_NEAR(P::CompHe(engine)[i], Haldane(10, 0, P::HalfTimeHe(engine)[i], 2880), 1e-5);
    }
    EXPECT_FALSE(P::OpenCircuit(engine));

    // The dive's first waypoint is segment 1 again.
    ClassProfile out;
    engine.StartBuhlmann(SquareDive(10, 10), out, false, false);
    EXPECT_EQ(out.GetSegmentNumber(1), 1);
    EXPECT_EQ(out.getGasUsed(1), 0); // rebreather dive
}

TEST_F(StartOfDive, SurfaceIntervalRaisesNoWarning)
{
    // At 2000 m surface air holds 0.17 bar oxygen, below the minimum of 0.18.
    dive().StartPressure = dive().EndPressure = 0.8f;
    dive().StartAltitude = dive().EndAltitude = 2037;
    dive().PPO2Low = true;
    Comp16 n2{};
    n2.fill(7);
    engine.InitAfterSurfaceInterval(1, true, n2, Comp16{}, 60);
    EXPECT_TRUE(engine.Warnings().empty());
    // The warning is still there for the dive itself.
    ClassProfile in;
    Leg(in, 0, 5, 0);
    ClassProfile out;
    engine.LoadCompartments(in, out);
    ASSERT_EQ(engine.Warnings().size(), 1u);
    EXPECT_NE(PlanWarningText(engine.Warnings()[0]).find("0.17"), std::string::npos);
}

} // namespace
