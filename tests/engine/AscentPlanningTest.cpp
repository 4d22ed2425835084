// The planned ascent: free-ascent targets, the stop sequence down to the last stop, the
// gradient factor at each stop, what is shown, deco gases, open-circuit deco and bail-out,
// and the dives the planner refuses or cannot finish.

#include "engine/DiveBounds.h"
#include "engine/RuntimeError.h"
#include "tests/engine/BuhlmannProbe.h"

#include <cmath>
#include <vector>

namespace {

using namespace enginetest;
using P = ClassBuhlmannProbe;

class AscentPlanning : public EngineTest {
protected:
    // Plans `in` on dive 1 (ZH-L16C), optionally with loaded tissues before the dive.
    ClassProfile plan(const ClassProfile &in, float loadN2 = 0, bool bailout = false, bool hybrid = false)
    {
        ClassProfile out;
        ClassBuhlmann engine;
        engine.Init(1, true);
        engine.SetCeilingModel(false, hybrid);
        if (loadN2 > 0)
            for (int i = 1; i <= 16; ++i)
                P::CompN2(engine)[i] = loadN2;
        engine.StartBuhlmann(in, out, true, bailout);
        return out;
    }
    std::vector<float> stopsOf(float lastStop)
    {
        dive().LastStop = lastStop;
        return StopDepths(plan(SquareDive(40, 30)));
    }
};

TEST_F(AscentPlanning, FreeAscentTargets)
{
    ClassBuhlmann b;
    b.Init(1, true);
    EXPECT_EQ(P::FirstCandidate(b, 40), 36); // Int(40 / 3 - 0.5) x 3
    EXPECT_EQ(P::FirstCandidate(b, 1), 0);
    dive().LastStop = 5;
    EXPECT_EQ(P::NextStop(b, 8), 5);
    EXPECT_EQ(P::NextStop(b, 7), 5);
    EXPECT_EQ(P::NextStop(b, 5), 0);
    dive().LastStop = 6;
    EXPECT_EQ(P::NextStop(b, 9), 6);
    EXPECT_EQ(P::NextStop(b, 6), 0);
    // A target between the surface and the last stop is never chosen: it would be
    // followed by the last stop, below the diver.
    EXPECT_EQ(P::FirstCandidate(b, 7), 6);
    EXPECT_EQ(P::FirstCandidate(b, 5), 0);
    EXPECT_EQ(P::FirstCandidate(b, 6), 0);
}

TEST_F(AscentPlanning, StopSequencesEndAtTheLastStop)
{
    dive().GFOn = true;
    dive().GFLow = 0.3f;
    dive().GFHigh = 0.8f;
    EXPECT_EQ(stopsOf(3), (std::vector<float>{21, 18, 15, 12, 9, 6, 3}));
    EXPECT_EQ(stopsOf(6), (std::vector<float>{21, 18, 15, 12, 9, 6}));
    EXPECT_EQ(stopsOf(5), (std::vector<float>{21, 18, 15, 12, 9, 6, 5}));
}

TEST_F(AscentPlanning, GradientFactorOfEachStopAndWhatIsShown)
{
    dive().GFOn = true;
    dive().GFLow = 0.3f;
    dive().GFHigh = 0.8f;
    const ClassProfile out = plan(SquareDive(40, 30));
    // First stop 21 m: while there the factor is that of 18 m, 0.3 + 0.5 x 3 / 21.
    const float expected[] = {0.3714286f, 0.4428571f, 0.5142857f, 0.5857143f, 0.6571429f, 0.7285714f, 0.8f};
    int stop = 0;
    bool inStops = false;
    for (int16_t i = 3; i <= out.GetLength(); ++i) {
        SCOPED_TRACE(i);
        if (out.GetStatus(i) == StatusDecoStop) {
            EXPECT_NEAR(out.GetGF(i), expected[stop++], 1e-6);
            inStops = true;
        }
        // Free-ascent moves are hidden, every move between stops is shown.
        EXPECT_EQ(out.GetDoShow(i), inStops);
        if (!inStops) {
            EXPECT_NEAR(out.GetGF(i), 0.3, 1e-7);
        }
    }
    EXPECT_EQ(stop, 7);
    EXPECT_EQ(out.getDepth(out.GetLength()), 0);
}

TEST_F(AscentPlanning, AShortDiveGoesStraightUpAndShowsIt)
{
    const ClassProfile out = plan(SquareDive(1, 10));
    ASSERT_EQ(out.GetLength(), 3);
    EXPECT_EQ(out.getDepth(3), 0);
    EXPECT_TRUE(out.GetDoShow(3));
    EXPECT_EQ(out.GetStatus(3), StatusAscentBand); // ends on the band at the surface
    EXPECT_TRUE(out.GetEndUserProfile(2));
}

TEST_F(AscentPlanning, FirstStopAtTheBottomWhenTheCeilingIsAlreadyDeep)
{
    ClassProfile in;
    Leg(in, 40, 1, 40);
    const std::vector<float> stops = StopDepths(plan(in, 60)); // ceiling near 45 m
    ASSERT_GE(stops.size(), 2u);
    EXPECT_EQ(stops[0], 40);
    EXPECT_EQ(stops[1], 36);
}

TEST_F(AscentPlanning, DecoGasesInBothListOrders)
{
    const GasRecord ean50 = Gas("EAN50", 50, 0);
    const GasRecord o2 = Gas("O2", 100, 0);
    dive().Gases = {Gas("Air", 21, 0), ean50, o2};
    ClassBuhlmann b;
    b.Init(1, true);
    dive().GasChanges = {Switch(o2, 6), Switch(ean50, 21)}; // shallow first: richest allowed
    EXPECT_EQ(P::FindDecoGas(b, 6), 2);
    EXPECT_EQ(P::FindDecoGas(b, 9), 1);
    EXPECT_EQ(P::FindDecoGas(b, 24), -1);
    dive().GasChanges = {Switch(ean50, 21), Switch(o2, 6)}; // deep first: the first match wins
    EXPECT_EQ(P::FindDecoGas(b, 6), 1);
    dive().GasChanges = {Switch(Gas("Nitrox 80", 80, 0), 9), Switch(o2, 6)}; // not in the list
    EXPECT_EQ(P::FindDecoGas(b, 6), 2);
}

TEST_F(AscentPlanning, RebreatherDecoOnOpenCircuitAndBailout)
{
    dive().OpenCircuit = false;
    const ClassProfile cc = plan(SquareDive(40, 30));
    const ClassProfile bailout = plan(SquareDive(40, 30), 0, true);
    dive().OCDeco = true;
    const ClassProfile ocDeco = plan(SquareDive(40, 30));
    bool stopsBegun = false;
    for (int16_t i = 1; i <= ocDeco.GetLength(); ++i) {
        stopsBegun = stopsBegun || ocDeco.GetStatus(i) == StatusDecoStop;
        // Gas is used only on open circuit: the setpoint until the first stop.
        EXPECT_EQ(ocDeco.getGasUsed(i) > 0, stopsBegun) << i;
        EXPECT_EQ(cc.getGasUsed(i), 0) << i;
        EXPECT_EQ(bailout.getGasUsed(i) > 0, i > 2) << i;
    }
}

TEST_F(AscentPlanning, ADiveEndingAboveTheLastStopNeverDescends)
{
    dive().LastStop = 6;
    // The diver drew the ascent to 5 m himself, with deco owed.
    ClassProfile in = SquareDive(40, 30);
    Leg(in, 5, 3.5f, -10);
    ClassProfile out = plan(in);
    EXPECT_EQ(StopDepths(out), (std::vector<float>{5}));
    // Ending at 7 m: the next target is the last stop, never 3 m.
    in.setDepth(3, 7);
    in.SetSegmentTime(3, 3.3f);
    out = plan(in);
    EXPECT_EQ(StopDepths(out), (std::vector<float>{7, 6}));
    for (int16_t i = 4; i <= out.GetLength(); ++i)
        EXPECT_LE(out.getDepth(i), out.getDepth(static_cast<int16_t>(i - 1))) << i;
}

TEST_F(AscentPlanning, AStopThatNeverClearsIsAbandoned)
{
    // At 6 m on air with gradient factors of 0.1 the slow compartments settle above what
    // the surface allows: the last stop can never clear.
    dive().LastStop = 6;
    dive().GFOn = true;
    dive().GFLow = dive().GFHigh = 0.1f;
    try {
        plan(SquareDive(40, 30));
        FAIL() << "no error";
    } catch (const RuntimeError &e) {
        EXPECT_EQ(e.number(), ErrStopCap);
        EXPECT_EQ(e.description(), "*StringID 2425*6.0*StringID 2426*");
    }
    EXPECT_EQ(gSettings[1].N2Compartments[1], 0) << "half a dive written to the record";
}

struct BadSetting {
    const char *name;
    void (*spoil)(TemplateRec &t, ClassProfile &in);
};

class RefusedSettings : public AscentPlanning, public ::testing::WithParamInterface<BadSetting> {};

TEST_P(RefusedSettings, BeforeAnythingIsComputed)
{
    ClassProfile in = SquareDive(30, 20);
    GetParam().spoil(dive(), in);
    ClassProfile out;
    ClassBuhlmann engine;
    engine.Init(1, true);
    try {
        engine.StartBuhlmann(in, out, true, false);
        FAIL() << "accepted";
    } catch (const RuntimeError &e) {
        EXPECT_EQ(e.number(), ErrBadSettings);
    }
    EXPECT_EQ(out.GetLength(), 0);
    EXPECT_EQ(gSettings[1].N2Compartments[1], 0);
}

INSTANTIATE_TEST_SUITE_P(
    Engine, RefusedSettings,
    ::testing::Values(BadSetting{"StepZero", [](TemplateRec &d, ClassProfile &) { d.StepSize = 0; }},
                      BadSetting{"StepNegative", [](TemplateRec &d, ClassProfile &) { d.StepSize = -3; }},
                      BadSetting{"LastStopNegative", [](TemplateRec &d, ClassProfile &) { d.LastStop = -1; }},
                      BadSetting{"NoAscentRates", [](TemplateRec &d, ClassProfile &) { d.AscendRates.clear(); }},
                      BadSetting{"RateZero", [](TemplateRec &d, ClassProfile &) { d.AscendRates[0].Rate = 0; }},
                      BadSetting{"FirstBandBelowSurface",
                                 [](TemplateRec &d, ClassProfile &) { d.AscendRates[0].Depth = 3; }},
                      BadSetting{"MixOutsideGasList", [](TemplateRec &, ClassProfile &in) { in.SetMixNumber(2, 1); }},
                      // Beyond the dive bounds: each of these once froze the planner or
                      // overflowed the VPM gradient's stop rounding.
                      BadSetting{"StepBelowTheFloatResolution", [](TemplateRec &d, ClassProfile &) { d.StepSize = 1e-30f; }},
                      BadSetting{"StepBelowOneFoot",
                                 [](TemplateRec &d, ClassProfile &) { d.Metric = false; d.StepSize = 0.9f; }},
                      BadSetting{"LastStopBelowTheDeepest", [](TemplateRec &d, ClassProfile &) { d.LastStop = 1001; }},
                      BadSetting{"CrawlingDescentRate",
                                 [](TemplateRec &d, ClassProfile &) { d.DescendRates[0].Rate = 1e-30f; }},
                      BadSetting{"AscentFasterThanAnyDiver",
                                 [](TemplateRec &d, ClassProfile &) { d.AscendRates[0].Rate = 101; }},
                      BadSetting{"SurfacePressureOf100Bar", [](TemplateRec &d, ClassProfile &) { d.EndPressure = 100; }},
                      BadSetting{"NoAirAtTheStart", [](TemplateRec &d, ClassProfile &) { d.StartPressure = 0; }},
                      // Both once planned a decompression dive without a stop.
                      BadSetting{"GradientFactorsOf50",
                                 [](TemplateRec &d, ClassProfile &) { d.GFOn = true; d.GFHigh = d.GFLow = 50; }},
                      BadSetting{"ClimbFrom800KmBelowTheSea", [](TemplateRec &d, ClassProfile &) {
                                     d.AdeptedToHeight = false, d.TimeToHeight = 10000, d.StartAltitude = -800000;
                                 }},
                      BadSetting{"WaypointBelowTheDeepest", [](TemplateRec &, ClassProfile &in) { in.setDepth(2, 1000.5f); }},
                      BadSetting{"ImperialRebreatherAt34MillionFeet",
                                 [](TemplateRec &d, ClassProfile &in) {
                                     d.Metric = false;
                                     d.OpenCircuit = false;
                                     d.Setpoint = 0;
                                     d.StepSize = 10;
                                     in.setDepth(1, 3.4e7f);
                                     in.setDepth(2, 3.4e7f);
                                 }}),
    [](const auto &p) { return p.param.name; });

TEST_F(AscentPlanning, AnAscentThatStopsMovingIsAbandoned)
{
    // Past validation (a caller that never asks it) a step below the float resolution of
    // the depth leaves every next target where the diver is: the planner says so at once.
    dive().StepSize = 1e-30f;
    ClassBuhlmann engine;
    engine.Init(1, true);
    ClassProfile out;
    try {
        P::PlanAscent(engine, out, 40);
        FAIL() << "no error";
    } catch (const RuntimeError &e) {
        EXPECT_EQ(e.number(), ErrNoProgress);
        EXPECT_EQ(e.description(), "*StringID 7058*");
    }
}

TEST_F(AscentPlanning, TheDeepestDiveWithTheClosestStopsEndsInBoundedTime)
{
    // At the corner of the bounds (1000 m, stops 0.1 m apart, the hybrid model, whose VPM
    // gradient is rounded to 16 bits) the plan ends: a whole ascent or the 14-day cap.
    for (const bool metric : {true, false}) {
        SCOPED_TRACE(metric);
        dive().Metric = metric;
        dive().StepSize = metric ? 0.1f : 1;
        dive().LastStop = 0;
        dive().StartAltitude = dive().EndAltitude = metric ? 113 : 0; // 1.0 bar or atm
        dive().AscendRates = {RateRow(0, metric ? 10.0f : 33.0f)};
        const float deepest = metric ? 1000 : 3300;
        try {
            const ClassProfile out = plan(SquareDive(deepest, 10, metric ? 100 : 330), 0, false, true);
            EXPECT_EQ(out.getDepth(out.GetLength()), 0);
        } catch (const RuntimeError &e) {
            EXPECT_EQ(e.number(), ErrStopCap) << e.source() << ": " << e.description();
        }
    }
}

// Every setting at its smallest and largest allowed: all a table, report or label shows is finite.
TEST_F(AscentPlanning, EverySettingAtItsBoundsPlansOnlyFiniteNumbers)
{
    TemplateRec &t = dive();
    t.Gases.insert(t.Gases.end(), {{"Helium", 0, 0, 100, 0}});
    t.PPO2Low = t.PPO2High = t.MaxEnd = t.O2Narcotic = true;
    for (const int corner : {0, 1, 2, 3}) {
        const bool high = corner & 1;
        t.OpenCircuit = corner & 2;
        t.RMV = t.DecoRMV = high ? DiveBounds::kMaxRMV : 0;
        t.Setpoint = t.DecoSetpoint = t.DecoPPO2 = high ? DiveBounds::kMaxPPO2 : 0;
        t.MinPPO2 = high ? DiveBounds::kMaxPPO2 - 0.01f : 0; // below the maximum
        t.MaxPPO2 = high ? DiveBounds::kMaxPPO2 : 0.01f;
        t.MaximalEND = high ? DiveBounds::kMaxDepthMetric : 0;
        t.TimeToHeight = high ? int16_t(DiveBounds::kMaxMinutesToAltitude) : 0;
        t.StartPressure = t.EndPressure = high ? DiveBounds::kMinSurfacePressure : DiveBounds::kMaxSurfacePressure;
        t.StartAltitude = t.EndAltitude = high ? DiveBounds::kMaxAltitudeMetric : DiveBounds::kMinAltitudeMetric;
        ASSERT_EQ(DiveBounds::SettingsProblem(t), "");
        for (int16_t mix = 0; mix < int16_t(t.Gases.size()); ++mix) {
            const ClassProfile out = plan(SquareDive(60, 30, 20, mix, t.Gases[size_t(mix)].Name.c_str()));
            for (int16_t i = 0; i <= out.GetLength(); ++i) {
                const WayPoint &w = out.point(i);
                for (float v : {w.RunTime, w.GasUsed, w.Depth, w.Ceiling, w.StopTime, w.PPO2, w.TotalCNS, w.TotalOTU,
                                w.END, w.MaxMValue, w.GF, w.PercentCompartments[1]})
                    ASSERT_TRUE(std::isfinite(v)) << "corner " << corner << ", gas " << mix << ", waypoint " << i;
            }
        }
    }
}

} // namespace
