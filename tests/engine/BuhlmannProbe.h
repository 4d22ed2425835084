#pragma once
// Test access to the engine's working state, and the dives the engine tests share.

#include "engine/ClassBuhlmann.h"
#include "engine/EngineGlobals.h"
#include "tests/support/FakeEngineHost.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

struct ClassBuhlmannProbe {
    // A started engine on dive `nr` with the tensions of the start, as Init leaves them
    // but without the climb (tests set the tensions they need).
    static void Start(ClassBuhlmann &b, int16_t nr, bool modelC)
    {
        b.CommonStart(nr, modelC);
        b.RunTime = 0;
        b.SegmentNumber = 0;
    }
    static Comp16 &CompHe(ClassBuhlmann &b) { return b.CompHe; }
    static Comp16 &CompN2(ClassBuhlmann &b) { return b.CompN2; }
    static const Comp16 &aHe(const ClassBuhlmann &b) { return b.aHe; }
    static const Comp16 &aN2(const ClassBuhlmann &b) { return b.aN2; }
    static const Comp16 &bHe(const ClassBuhlmann &b) { return b.bHe; }
    static const Comp16 &bN2(const ClassBuhlmann &b) { return b.bN2; }
    static const Comp16 &HalfTimeHe(const ClassBuhlmann &b) { return b.HalfTimeHe; }
    static const Comp16 &HalfTimeN2(const ClassBuhlmann &b) { return b.HalfTimeN2; }
    static const Comp16 &kHe(const ClassBuhlmann &b) { return b.kHe; }
    static const Comp16 &kN2(const ClassBuhlmann &b) { return b.kN2; }
    static float &GF(ClassBuhlmann &b) { return b.GF; }
    static float &VPMGradient(ClassBuhlmann &b) { return b.VPMGradient; }
    static float &RunTime(ClassBuhlmann &b) { return b.RunTime; }
    static bool &OpenCircuit(ClassBuhlmann &b) { return b.OpenCircuit; }
    static int16_t SegmentNumber(const ClassBuhlmann &b) { return b.SegmentNumber; }
    static int16_t CeilingModel(const ClassBuhlmann &b) { return b.CeilingModel; }

    static float GetCeiling(ClassBuhlmann &b) { return b.GetCeiling(); }
    static bool CeilingAtOrAbove(ClassBuhlmann &b, float depth) { return b.CeilingAtOrAbove(depth); }
    static int &Leading(ClassBuhlmann &b) { return b.Leading; }
    static float CalcMaxMValue(const ClassBuhlmann &b, float depth) { return b.CalcMaxMValue(depth); }
    static float FirstCandidate(const ClassBuhlmann &b, float depth) { return b.FirstCandidate(depth); }
    static float NextStop(const ClassBuhlmann &b, float stop) { return b.NextStop(stop); }
    static int16_t FindDecoGas(const ClassBuhlmann &b, float depth) { return b.FindDecoGas(depth); }

    // The ascent alone from `last`, without the validation of StartBuhlmann.
    static void PlanAscent(ClassBuhlmann &b, ClassProfile &out, float last)
    {
        b.ResultProfile = &out;
        b.PlanAscent(last, last);
    }

    // Segments written into `out`.
    static void Into(ClassBuhlmann &b, ClassProfile &out) { b.ResultProfile = &out; }
    static void AddResultWaypoint(ClassBuhlmann &b, float depth, float ppO2, float end, bool isStop)
    {
        b.AddResultWaypoint(depth, 0, 0, ppO2, 0, 0, end, isStop, true);
    }
    static float CalcAscentDescent(ClassBuhlmann &b, float from, float to, float rate, float psurf,
                                   bool useSetpoint = true)
    {
        return b.CalcAscentDescent(from, to, rate, psurf, true, useSetpoint, false);
    }
    static void CalcConstantDepth(ClassBuhlmann &b, float depth, float time, float psurf)
    {
        b.CalcConstantDepth(depth, time, psurf, true);
    }
    static void CalcDecoStop(ClassBuhlmann &b, float stop, float next, float psurf)
    {
        b.CalcDecoStop(stop, next, psurf);
    }
};

namespace enginetest {

inline RateRecord RateRow(float depth, float rate)
{
    RateRecord r;
    r.Depth = depth;
    r.Rate = rate;
    return r;
}

// A metric open-circuit dive at sea level on air, saturated at the surface, stops every
// 3 m to 3 m, ascent at 10 m/min, no gradient factors, no warnings.
inline TemplateRec MetricAirDive()
{
    TemplateRec t;
    t.Metric = true;
    t.StartPressure = 1.0f;
    t.EndPressure = 1.0f;
    t.StartAltitude = t.EndAltitude = 113; // where the pressure is 1.0 bar
    t.AdeptedToHeight = true;
    t.TimeToHeight = 0;
    t.StepSize = 3;
    t.LastStop = 3;
    t.OpenCircuit = true;
    t.RMV = 20;
    t.DecoRMV = 15;
    t.Setpoint = 1.3f;
    t.DecoSetpoint = 1.3f;
    t.MinPPO2 = 0.18f;
    t.MaxPPO2 = 1.4f;
    t.DecoPPO2 = 1.6f;
    t.MaximalEND = 30;
    t.GFLow = 1.0f;
    t.GFHigh = 1.0f;
    t.AscendRates = {RateRow(0, 10)};
    t.DescendRates = {RateRow(0, 20)};
    return t;
}

// A gas for the dive's list (and the deco switch that names it).
inline GasRecord Gas(const char *name, float o2, float he)
{
    return {name, o2, 100 - o2 - he, he, 0};
}

inline GasChangeRecord Switch(const GasRecord &gas, float depth)
{
    return {gas.Name, gas.O2, gas.N2, gas.He, depth};
}

// Appends a drawn leg as the editor segments it: travel at `rate` from the previous
// depth, or a level stay of `time` minutes when rate is 0.
inline void Leg(ClassProfile &p, float depth, float time, float rate, int16_t mix = 0,
                const char *gasName = "Air")
{
    p.NewWayPoint();
    const int16_t n = p.GetLength();
    p.setDepth(n, depth);
    p.SetSegmentTime(n, time);
    p.SetRate(n, rate);
    p.SetRunTime(n, p.GetRunTime(static_cast<int16_t>(n - 1)) + time);
    p.SetMixNumber(n, mix);
    p.SetGasMixName(n, gasName);
    p.SetStatus(n, StatusUserLeg);
}

// A square dive: descent at `rate` to `depth`, then the rest of `bottomTime` there.
inline ClassProfile SquareDive(float depth, float bottomTime, float rate = 20, int16_t mix = 0,
                               const char *gasName = "Air")
{
    ClassProfile p;
    const float descent = depth / rate;
    Leg(p, depth, descent, rate, mix, gasName);
    Leg(p, depth, bottomTime - descent, 0, mix, gasName);
    return p;
}

// Every test starts from fresh globals with dive 1 holding `t`, and a fake host.
class EngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetEngineGlobals();
        gSettings.resize(2);
        gSettings[1].Template = MetricAirDive();
    }
    void TearDown() override { ResetEngineGlobals(); }

    TemplateRec &dive(int16_t nr = 1) { return gSettings[static_cast<size_t>(nr)].Template; }

    FakeEngineHost host;
};

// Stop depths of a computed profile, in order.
inline std::vector<float> StopDepths(const ClassProfile &p)
{
    std::vector<float> stops;
    for (int16_t i = 1; i <= p.GetLength(); ++i)
        if (p.GetStatus(i) == StatusDecoStop)
            stops.push_back(p.getStopDepth(i));
    return stops;
}

} // namespace enginetest
