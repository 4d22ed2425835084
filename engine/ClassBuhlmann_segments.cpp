// The segments the engine simulates: a change of depth (Schreiner equation), a stay at
// constant depth (Haldane equation) and a decompression stop (held until the ceiling
// allows the next stop), each on open circuit or on a constant-ppO2 rebreather.
//
// Pamb(d) = Psurf x 10 + d msw (x 33 fsw); inspired inert pressure Pi = (Pamb - WV) x
// fraction with the water vapour WV = 0.527 msw or 1.848 fsw. Rates are depth units per
// minute, negative when ascending; times are minutes.

#include "engine/ClassBuhlmann.h"

#include "engine/DOLVOptionModule.h"
#include "engine/DiveBounds.h"
#include "engine/EngineGlobals.h"
#include "engine/LibraryModule.h"
#include "engine/ResourceManager.h"
#include "engine/RuntimeError.h"
#include "engine/VBConversions.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace {

// A stop that has not cleared after a day never will with these gases and gradient
// factors; the planner gives up rather than loop for ever.
constexpr float kMaxStopMinutes = 24 * 60;

// Haldane: tension after t minutes at a constant inspired pressure Pi; e = e^(-k t).
inline float Haldane(float Pold, float Pi, double e)
{
    return static_cast<float>(Pold + (static_cast<double>(Pi) - Pold) * (1.0 - e));
}

// Schreiner: tension after t minutes while the inspired pressure starts at Pi and changes
// by R per minute; e = e^(-k t), invK = 1 / k.
inline float Schreiner(float Pold, float Pi, float R, float k, float t, double e, double invK)
{
    const double kd = k;
    return static_cast<float>(Pi + R * (t - invK) - (static_cast<double>(Pi) - Pold - R / kd) * e);
}

inline float Schreiner(float Pold, float Pi, float R, float k, float t)
{
    const double kd = k;
    return Schreiner(Pold, Pi, R, k, t, std::exp(-kd * t), 1.0 / kd);
}

// Schreiner with the inspired pressure limited at 0: a rebreather near the surface may
// have less ambient pressure than setpoint plus water vapour, and a loop cannot inspire
// less than no inert gas. Where the ramp Pi + R t crosses 0 the segment splits at
// tz = -Pi / R into a Schreiner part and a part at Pi = 0, where the compartment only
// loses gas (P x e^(-k t)), so no tension goes below 0.
inline float SchreinerLimited(float Pold, float Pi, float R, float k, float t, double e, double invK)
{
    const double end = static_cast<double>(Pi) + static_cast<double>(R) * t;
    if (Pi >= 0 && end >= 0)
        return Schreiner(Pold, Pi, R, k, t, e, invK);
    const auto washout = [k](double p, double time) {
        return static_cast<float>(p * std::exp(-static_cast<double>(k) * time));
    };
    if (Pi <= 0 && end <= 0)
        return washout(Pold, t);
    const double tz = -static_cast<double>(Pi) / R; // between 0 and t: the signs differ
    if (Pi > 0)                                     // ascending through the crossing
        return washout(Schreiner(Pold, Pi, R, k, static_cast<float>(tz)), t - tz);
    return Schreiner(washout(Pold, tz), 0, R, k, static_cast<float>(t - tz));
}

// Inspired inert pressure of one gas fraction (percent) at ambient P.
inline float Inspired(double P, float WV, float percent)
{
    return static_cast<float>((P - WV) * percent / 100.0);
}

// A number of a trace line: a Single in general format with the user's decimal separator.
std::string TraceNumber(float v)
{
    return LocaliseNumberText(CStr(v), gDecimalSeparator);
}

void TraceRecord(const std::string &text)
{
    std::fputs(("\"" + text + "\"\r\n").c_str(), gTraceFile);
}

} // namespace

// ---- Entry points -----------------------------------------------------------------

// Every segment: one more segment of Time minutes on the run time.
void ClassBuhlmann::CountSegment(float Time)
{
    LastSegmentTime = Time;
    RunTime = RunTime + Time;
    SegmentNumber = static_cast<int16_t>(SegmentNumber + 1);
}

float ClassBuhlmann::CalcAscentDescent(float StartDepth, float EndDepth, float Rate, float Psurf,
                                       bool DoShow, bool UseSetpoint, bool UseDecoRMV)
{
    if (OpenCircuit)
        return OCAscentDescent(StartDepth, EndDepth, Rate, Psurf, DoShow, UseDecoRMV);
    return CCAscentDescent(StartDepth, EndDepth, Rate, Psurf, DoShow, UseSetpoint);
}

void ClassBuhlmann::CalcConstantDepth(float Depth, float Time, float Psurf, bool DoShow)
{
    if (OpenCircuit)
        OCConstantDepth(Depth, Time, Psurf, DoShow);
    else
        CCConstantDepth(Depth, Time, Psurf, DoShow);
}

void ClassBuhlmann::CalcDecoStop(float StopDepth, float NextStop, float Psurf)
{
    if (OpenCircuit)
        OCDecoStop(StopDepth, NextStop, Psurf);
    else
        CCDecoStop(StopDepth, NextStop, Psurf);
}

// ---- Trace ------------------------------------------------------------------------

// Four header lines of a depth change (A..D = start, end, time, rate) or of a constant
// depth (A, B = depth, time).
void ClassBuhlmann::TraceHeader(bool DepthChange, const char *Label, float A, float B, float C, float D)
{
    if (gTraceOn != 1 || !gTraceFile)
        return;
    const std::string blanks(17, ' ');
    if (DepthChange) {
        TraceRecord(blanks + "\tSDepth\tFDepth\tSTime\tRate");
        TraceRecord(std::string(Label) + "\t" + TraceNumber(A) + "\t" + TraceNumber(B) + "\t" +
                    TraceNumber(C) + "\t" + TraceNumber(D));
    } else {
        TraceRecord(blanks + "\tDepth\tSTime");
        TraceRecord(std::string(Label) + "\t" + TraceNumber(A) + "\t" + TraceNumber(B));
    }
    TraceRecord("End of this segment compartments are");
    TraceRecord("Cpmt\tN2\tHe");
}

void ClassBuhlmann::TraceCompartments()
{
    if (gTraceOn != 1 || !gTraceFile)
        return;
    for (int i = 1; i <= kCompartments; ++i) {
        const std::string line = "\"" + std::to_string(i) + "\t" + TraceNumber(CompN2[i]) + "\",\"" +
                                 TraceNumber(CompHe[i]) + "\"\r\n";
        std::fputs(line.c_str(), gTraceFile);
    }
    std::fflush(gTraceFile);
}

// ---- Open circuit -----------------------------------------------------------------

DOLV_COMPARTMENT_ROWS
float ClassBuhlmann::OCAscentDescent(float StartDepth, float EndDepth, float Rate, float Psurf,
                                     bool DoShow, bool UseDecoRMV)
{
    const TemplateRec &T = Tmpl();
    const GasRecord &gas = BreathedGas();
    const float s = Dadjust(StartDepth);
    const float e = Dadjust(EndDepth);
    const float t = static_cast<float>((static_cast<double>(e) - s) / Rate);
    CountSegment(t);
    const float WV = WaterVapour();
    const float P0 = Pamb(Psurf, s);
    const float fO2 = static_cast<float>(gas.O2 / 100.0);

    const float used = GasUsedForDepthChange(s, e, Rate, UseDecoRMV ? T.DecoRMV : T.RMV, Psurf, T.Metric);
    const float ppO2 = CalcPPO2Var(e, Psurf, fO2, T.Metric);
    const float cns = CNSForDepthChange(s, e, Rate, fO2, Psurf, T.Metric);
    const float otu = OTUForDepthChange(s, e, Rate, fO2, Psurf, T.Metric);
    const float end = CalcEND(T.Metric, EndDepth, gas.N2, gas.He, T.O2Narcotic, T);

    const float RHe = static_cast<float>(static_cast<double>(gas.He) * Rate / 100.0);
    const float RN2 = static_cast<float>(static_cast<double>(gas.N2) * Rate / 100.0);
    const float PiHe = Inspired(P0, WV, gas.He);
    const float PiN2 = Inspired(P0, WV, gas.N2);

    TraceHeader(true, "OC ascent/descent", s, e, t, Rate);
    const ExposureFactors &x = FactorsFor(t);
    for (int i = 1; i <= kCompartments; ++i)
        CompHe[i] = Schreiner(CompHe[i], PiHe, RHe, kHe[i], t, x.He[i], InvKHe[i]);
    for (int i = 1; i <= kCompartments; ++i)
        CompN2[i] = Schreiner(CompN2[i], PiN2, RN2, kN2[i], t, x.N2[i], InvKN2[i]);
    TraceCompartments();

    AddResultWaypoint(EndDepth, Rate, used, ppO2, cns, otu, end, false, DoShow);
    return t;
}

void ClassBuhlmann::OCConstantDepth(float Depth, float Time, float Psurf, bool DoShow)
{
    const TemplateRec &T = Tmpl();
    const GasRecord &gas = BreathedGas();
    const float d = Dadjust(Depth);
    CountSegment(Time);
    const double P = PambExact(Psurf, d);
    const float WV = WaterVapour();
    const float fO2 = static_cast<float>(gas.O2 / 100.0);

    TraceHeader(false, "OC ascent/descent", Depth, Time, 0, 0);
    HaldaneAll(Inspired(P, WV, gas.He), Inspired(P, WV, gas.N2), Time);
    TraceCompartments();

    const float used = GasUsedAtDepth(d, Time, T.RMV, Psurf, T.Metric);
    const float ppO2 = CalcPPO2Var(d, Psurf, fO2, T.Metric);
    const float otu = OTUAtDepth(d, Time, fO2, Psurf, T.Metric);
    const float cns = CNSAtDepth(d, Time, fO2, Psurf, T.Metric);
    const float end = CalcEND(T.Metric, d, gas.N2, gas.He, T.O2Narcotic, T);
    AddResultWaypoint(Depth, 0, used, ppO2, cns, otu, end, false, DoShow);
}

DOLV_COMPARTMENT_ROWS
void ClassBuhlmann::HaldaneAll(float PiHe, float PiN2, float Time)
{
    const ExposureFactors &x = FactorsFor(Time);
    for (int i = 1; i <= kCompartments; ++i)
        CompHe[i] = Haldane(CompHe[i], PiHe, x.He[i]);
    for (int i = 1; i <= kCompartments; ++i)
        CompN2[i] = Haldane(CompN2[i], PiN2, x.N2[i]);
}

// A stop: its first piece runs to the next whole minute of the run time (a run time that
// is already whole goes on by a full minute), then it grows by Step minutes until the
// ceiling allows NextStop. The compartments are loaded over the time actually elapsed.
// Returns the stop time.
float ClassBuhlmann::HoldStop(float PiHe, float PiN2, double Step, float StopDepth, float NextStop)
{
    const float next = RoundStopTime(static_cast<float>(RunTime + 0.5));
    float StopTime = next - RunTime;
    CountSegment(StopTime);
    RunTime = next; // the whole minute itself, not the sum
    for (;;) {
        HaldaneAll(PiHe, PiN2, LastSegmentTime);
        if (CeilingAtOrAbove(NextStop))
            return StopTime;
        const float longer = static_cast<float>(StopTime + Step);
        LastSegmentTime = static_cast<float>(Step);
        RunTime = static_cast<float>(RunTime + Step);
        // A stop time that no longer grows would never reach the cap below.
        if (!(longer > StopTime))
            throw RuntimeError(ErrNoProgress, "ClassBuhlmann.CalcDecoStop",
                               DiveBounds::FillIn(GetLangString(7058),
                                                  {DiveBounds::DepthText(StopDepth, Tmpl().Metric)}));
        StopTime = longer;
        if (StopTime > kMaxStopMinutes)
            throw RuntimeError(ErrStopCap, "ClassBuhlmann.CalcDecoStop",
                               GetLangString(2425) +
                                   LocaliseNumberText(FormatFixed(StopDepth, 1), gDecimalSeparator) +
                                   (Tmpl().Metric ? GetLangString(2426) : GetLangString(2427)));
    }
}

void ClassBuhlmann::OCDecoStop(float StopDepth, float NextStop, float Psurf)
{
    const TemplateRec &T = Tmpl();
    const GasRecord &gas = BreathedGas();
    const double P = PambExact(Psurf, StopDepth);
    const float WV = WaterVapour();
    float StopTime = HoldStop(Inspired(P, WV, gas.He), Inspired(P, WV, gas.N2), 1.0, StopDepth, NextStop);
    // A stop is at least a minute on the plan; the run time keeps what was elapsed.
    if (StopTime >= 0 && StopTime < 1)
        StopTime = 1;
    LastSegmentTime = StopTime;

    const float fO2 = static_cast<float>(gas.O2 / 100.0);
    const float otu = OTUAtDepth(StopDepth, StopTime, fO2, Psurf, T.Metric);
    const float cns = CNSAtDepth(StopDepth, StopTime, fO2, Psurf, T.Metric);
    const float used = GasUsedAtDepth(StopDepth, StopTime, T.DecoRMV, Psurf, T.Metric);
    const float ppO2 = CalcPPO2Var(StopDepth, Psurf, fO2, T.Metric);
    const float end = CalcEND(T.Metric, StopDepth, gas.N2, gas.He, T.O2Narcotic, T);
    AddResultWaypoint(StopDepth, 0, used, ppO2, cns, otu, end, true, true);
}

// ---- Closed circuit ---------------------------------------------------------------
//
// A constant-ppO2 rebreather: the diver breathes the setpoint SP of oxygen (SP = setpoint
// x 10 msw or x 33 fsw) and the rest of the ambient pressure is diluent inert gas, split
// as the diluent splits it: inspired Pi = (Pamb - SP - WV) x He / (He + N2) and likewise
// for nitrogen. A diluent without inert gas inspires none, and no inspired pressure is
// below 0 (near the surface the setpoint and water vapour can exceed the ambient pressure).

namespace {

struct DiluentSplit {
    float fHe = 0;
    float fN2 = 0;
};

DiluentSplit Split(const GasRecord &diluent)
{
    DiluentSplit f;
    const double inert = static_cast<double>(diluent.He) + diluent.N2;
    if (inert > 0) {
        f.fHe = static_cast<float>(diluent.He / inert);
        f.fN2 = static_cast<float>(diluent.N2 / inert);
    }
    return f;
}

inline float InspiredCC(float I, float WV, float fraction)
{
    return static_cast<float>((static_cast<double>(I) - WV) * fraction);
}

} // namespace

float ClassBuhlmann::CCAscentDescent(float StartDepth, float EndDepth, float Rate, float Psurf,
                                     bool DoShow, bool UseSetpoint)
{
    const TemplateRec &T = Tmpl();
    const GasRecord &diluent = BreathedGas();
    const float s = Dadjust(StartDepth);
    const float e = Dadjust(EndDepth);
    const float t = static_cast<float>((static_cast<double>(e) - s) / Rate);
    CountSegment(t);
    const DiluentSplit f = Split(diluent);
    const float WV = WaterVapour();
    float P0 = Pamb(Psurf, s);
    float SP = ToDepthUnits(UseSetpoint ? T.Setpoint : T.DecoSetpoint);

    TraceHeader(true, "CC ascent/descent", StartDepth, EndDepth, t, Rate);
    float OTU1 = 0;
    float CNS1 = 0;
    float start = s;
    if (SP >= P0) {
        // Shallower than the depth Dx where the ambient pressure equals the setpoint the
        // loop breathes pure oxygen: no inert gas is inspired and the compartments only
        // lose gas. A descent through Dx splits there; a segment that stays above Dx
        // (every ascent that starts there) is that part alone, so no time runs backwards.
        const float Dx = static_cast<float>(SP - static_cast<double>(Psurf) * DepthUnitsPerPressure());
        const bool wholeAbove = e <= Dx;
        const float t1 = wholeAbove ? t : static_cast<float>((static_cast<double>(Dx) - StartDepth) / Rate);
        if (gTraceOn == 1 && gTraceFile)
            TraceRecord("Setpoint > then startAmbient pressure");
        const ExposureFactors &x = FactorsFor(t1);
        for (int i = 1; i <= kCompartments; ++i) {
            CompHe[i] = static_cast<float>(CompHe[i] * x.He[i]);
            CompN2[i] = static_cast<float>(CompN2[i] * x.N2[i]);
        }
        TraceCompartments();
        SP = ToDepthUnits(T.Setpoint);
        P0 = Pamb(Psurf, Dx);
        OTU1 = OTUForPPO2(T.Setpoint, t1, T.Metric);
        CNS1 = CNSForPPO2(T.Setpoint, t1, T.Metric);
        start = wholeAbove ? e : Dx;
    }
    const float I = P0 - SP;
    const float PiHe = InspiredCC(I, WV, f.fHe);
    const float PiN2 = InspiredCC(I, WV, f.fN2);
    const float t2 = static_cast<float>((static_cast<double>(e) - start) / Rate);
    // The inert pressure follows the ambient pressure, since the oxygen stays constant.
    const float RHe = static_cast<float>(static_cast<double>(f.fHe) * Rate);
    const float RN2 = static_cast<float>(static_cast<double>(f.fN2) * Rate);
    if (t2 != 0) {
        const ExposureFactors &x = FactorsFor(t2);
        for (int i = 1; i <= kCompartments; ++i) {
            CompHe[i] = SchreinerLimited(CompHe[i], PiHe, RHe, kHe[i], t2, x.He[i], InvKHe[i]);
            CompN2[i] = SchreinerLimited(CompN2[i], PiN2, RN2, kN2[i], t2, x.N2[i], InvKN2[i]);
        }
    }
    TraceCompartments();

    const float ppO2 = static_cast<float>(static_cast<double>(SP) / DepthUnitsPerPressure());
    const float otu = OTU1 + OTUForPPO2(ppO2, t2, T.Metric);
    const float cns = CNS1 + CNSForPPO2(ppO2, t2, T.Metric);
    const float end = CalcENDVar(T.Metric, ppO2, EndDepth, diluent.He, diluent.N2, T.O2Narcotic, T);
    AddResultWaypoint(EndDepth, Rate, 0, ppO2, cns, otu, end, false, DoShow);
    return t;
}

// Inert pressures at ambient P under setpoint SP (depth units): the setpoint is limited to
// the ambient pressure and an inspired pressure is never below 0.
void ClassBuhlmann::InspiredAtSetpoint(float P, float SP, const GasRecord &diluent, float &PiHe,
                                       float &PiN2) const
{
    if (SP >= P)
        SP = P;
    const DiluentSplit f = Split(diluent);
    const float I = P - SP;
    PiHe = InspiredCC(I, WaterVapour(), f.fHe);
    PiN2 = InspiredCC(I, WaterVapour(), f.fN2);
    if (PiHe <= 0)
        PiHe = 0;
    if (PiN2 <= 0)
        PiN2 = 0;
}

void ClassBuhlmann::CCConstantDepth(float Depth, float Time, float Psurf, bool DoShow)
{
    const TemplateRec &T = Tmpl();
    const GasRecord &diluent = BreathedGas();
    const float d = Dadjust(Depth);
    CountSegment(Time);
    float PiHe = 0;
    float PiN2 = 0;
    InspiredAtSetpoint(Pamb(Psurf, d),
                       ToDepthUnits(T.Setpoint), diluent, PiHe, PiN2);

    TraceHeader(false, "CC ascent/descent", Depth, Time, 0, 0);
    HaldaneAll(PiHe, PiN2, Time);
    TraceCompartments();

    // Oxygen is charged at the setpoint itself, even where the ambient pressure limits it.
    const float otu = OTUForPPO2(T.Setpoint, Time, T.Metric);
    const float cns = CNSForPPO2(T.Setpoint, Time, T.Metric);
    const float end = CalcENDVar(T.Metric, T.Setpoint, d, diluent.He, diluent.N2, T.O2Narcotic, T);
    AddResultWaypoint(Depth, 0, 0, T.Setpoint, cns, otu, end, false, DoShow);
}

// A rebreather stop at the deco setpoint grows in tenths of a minute and has no minimum.
void ClassBuhlmann::CCDecoStop(float StopDepth, float NextStop, float Psurf)
{
    const TemplateRec &T = Tmpl();
    const GasRecord &diluent = BreathedGas();
    float PiHe = 0;
    float PiN2 = 0;
    InspiredAtSetpoint(Pamb(Psurf, StopDepth),
                       ToDepthUnits(T.DecoSetpoint), diluent, PiHe, PiN2);
    const float StopTime = HoldStop(PiHe, PiN2, 0.1, StopDepth, NextStop);
    LastSegmentTime = StopTime;

    const float otu = OTUForPPO2(T.DecoSetpoint, StopTime, T.Metric);
    const float cns = CNSForPPO2(T.DecoSetpoint, StopTime, T.Metric);
    const float end =
        CalcENDVar(T.Metric, T.DecoSetpoint, StopDepth, diluent.He, diluent.N2, T.O2Narcotic, T);
    AddResultWaypoint(StopDepth, 0, 0, T.DecoSetpoint, cns, otu, end, true, true);
}
