// The planner: the diver's own segments, then the ascent from the last depth to the
// surface: a free ascent while the ceiling allows it, then stops spaced by the step size
// down to the last stop, with gradient factors from GFLow at the first stop to GFHigh at
// the surface, switches to deco gases and travel split at the ascent-rate bands.

#include "engine/ClassBuhlmann.h"

#include "engine/DOLVmiscModule.h"
#include "engine/DiveBounds.h"
#include "engine/DiveModel.h"
#include "engine/EngineGlobals.h"
#include "engine/ResourceManager.h"
#include "engine/RuntimeError.h"
#include "engine/VBConversions.h"

namespace {

[[noreturn]] void refuse(const std::string &why)
{
    throw RuntimeError(ErrBadSettings, "ClassBuhlmann.StartBuhlmann", why);
}

// Each pass of the free ascent and of the stop loop moves the diver at least one stop
// spacing (or to the last stop, or the surface) shallower; within the dive bounds that is
// at most 10001 passes. More passes, or a target that is not shallower than the depth it
// follows, means the planner is not moving: it stops with ErrNoProgress instead of
// spinning for ever.
constexpr int kMaxAscentPasses = 32767;

void requireProgress(float from, float to, int &passes, bool metric)
{
    if (!(to < from) || ++passes > kMaxAscentPasses)
        throw RuntimeError(ErrNoProgress, "ClassBuhlmann.StartBuhlmann",
                           DiveBounds::FillIn(GetLangString(7058), {DiveBounds::DepthText(from, metric)}));
}

} // namespace

// Settings the planner cannot run are refused before anything is computed, so a dive's
// record never holds half a computation.
void ClassBuhlmann::ValidateDive(const ClassProfile &inp, bool CalcDeco) const
{
    const TemplateRec &T = Tmpl();
    const int16_t n = inp.GetLength();
    for (int16_t i = 1; i <= n; ++i) {
        const int16_t mix = inp.getmixnumber(i);
        if (mix < 0 || static_cast<size_t>(mix) >= T.Gases.size())
            refuse(GetLangString(2423));
        // A waypoint drawn before the gas list changed names the gas it was drawn on; the
        // gas now at its number is another one.
        const std::string &name = inp.GetGasMixName(i);
        if (!name.empty() && name != T.Gases[static_cast<size_t>(mix)].Name)
            refuse(GetLangString(2423));
    }
    // The diver's depths: beyond them a depth minus a stop spacing may round back to
    // itself, and the ascent would never move.
    for (int16_t i = 1; i <= n; ++i)
        DiveBounds::CheckDepth(inp.getDepth(i), T.Metric, "ClassBuhlmann.StartBuhlmann");
    if (!CalcDeco) {
        // The start of the dive has used the altitudes and pressures already: a replay of
        // the legs alone must not show what settings outside the bounds made of them.
        DiveBounds::CheckSettings(T, "ClassBuhlmann.LoadCompartments");
        return;
    }
    if (!(T.StepSize > 0))
        refuse(GetLangString(2420));
    if (!(T.LastStop >= 0))
        refuse(GetLangString(2424));
    if (T.AscendRates.empty())
        refuse(GetLangString(2421));
    // The shallowest band must reach the surface, or the last piece of every ascent
    // would be left out.
    if (T.AscendRates.front().Depth > 0)
        refuse(GetLangString(2422));
    for (const RateRecord &r : T.AscendRates)
        if (!(r.Rate > 0))
            refuse(GetLangString(2422));
    DiveBounds::CheckSettings(T, "ClassBuhlmann.StartBuhlmann");
}

void ClassBuhlmann::StartBuhlmann(const ClassProfile &inp, ClassProfile &outp, bool CalcDeco, bool Bailout)
{
    StartBuhlmann(inp, outp, CalcDeco, Bailout, inp.getCNS(0), inp.getOTU(0));
}

void ClassBuhlmann::StartBuhlmann(const ClassProfile &inp, ClassProfile &outp, bool CalcDeco, bool Bailout,
                                  float StartCNS, float StartOTU)
{
    ValidateDive(inp, CalcDeco);
    const TemplateRec &T = Tmpl();
    InputProfile = &inp;
    ResultProfile = &outp;

    // Start point: oxygen carried in from a previous dive.
    outp.SetPPO2(0, static_cast<float>(T.StartPressure * static_cast<double>(inp.GetGasMixO2(0)) / 100.0));
    CNS = StartCNS;
    OTU = StartOTU;
    outp.setCNS(0, CNS);
    outp.SetOTU(0, OTU);
    outp.setTotalCNS(0, CNS);
    outp.SetTotalOTU(0, OTU);

    OpenCircuit = T.OpenCircuit;
    const float maxDepth = SimulateUserSegments(inp, false);
    OpenCircuit = Bailout ? true : T.OpenCircuit;
    if (CalcDeco)
        PlanAscent(inp.getDepth(inp.GetLength()), maxDepth);
    WriteEndOfDive();
}

// The diver's own segments, each at its own rate (or level), bottom setpoint and breathing
// rate, under the start surface pressure; the last result waypoint ends the diver's part.
// The gas is the waypoint's mix number, or found by its name in the replay of the editor.
// Returns the deepest depth.
float ClassBuhlmann::SimulateUserSegments(const ClassProfile &inp, bool MixByName)
{
    const TemplateRec &T = Tmpl();
    float previous = 0;
    float maxDepth = 0;
    const int16_t n = inp.GetLength();
    for (int16_t i = 1; i <= n; ++i) {
        const WayPoint &w = inp.point(i);
        MixNumber = MixByName ? FindGasIndex(w.GasMixName, T) : w.MixNumber;
        if (w.Rate != 0) {
            Status = w.Status;
            CalcAscentDescent(previous, w.Depth, w.Rate, T.StartPressure, w.DoShow, true, false);
            previous = w.Depth;
        } else {
            previous = w.Depth;
            Status = w.Status;
            CalcConstantDepth(w.Depth, w.SegmentTime, T.StartPressure, true);
        }
        if (w.Depth > maxDepth)
            maxDepth = w.Depth;
    }
    ResultProfile->SetEndUserProfile(ResultProfile->GetLength(), true);
    return maxDepth;
}

void ClassBuhlmann::PlanAscent(float LastDepth, float MaxDepth)
{
    const TemplateRec &T = Tmpl();
    VPM.SetVPMValues(0.0179f, 0.257f, 1.0f, T.EndPressure, T.Metric);
    VPM.VPMStart(MaxDepth);
    VPMGradient = VPM.GetGradF();
    DecoActive = true;
    if (T.GFOn)
        GF = T.GFLow;

    // Free ascent, hidden but for a move straight to the surface.
    float candidate = FirstCandidate(LastDepth);
    int passes = 0;
    for (;;) {
        if (GetCeiling() > candidate)
            break;
        Status = StatusAscentBetweenStops;
        SwitchToDecoGas(LastDepth);
        float from = LastDepth;
        MoveToDepth(from, candidate, T.EndPressure, candidate == 0, true, false);
        MaxMValue = CalcMaxMValue(candidate);
        if (candidate == 0)
            return;
        LastDepth = candidate;
        candidate = NextStop(candidate);
        requireProgress(LastDepth, candidate, passes, T.Metric);
    }

    // Stops: the first at the depth the diver is at, each held until the ceiling allows
    // the next. The gradient factor is that of the next stop, on a line from GFLow at the
    // first stop to GFHigh at the surface.
    float stop = LastDepth;
    float next = candidate;
    float slope = 0;
    double decoMinutes = 0;
    if (stop > 0)
        slope = static_cast<float>((static_cast<double>(T.GFHigh) - T.GFLow) / -stop);
    for (;;) {
        if (T.OCDeco && !T.OpenCircuit)
            OpenCircuit = true;
        if (T.GFOn)
            GF = static_cast<float>(static_cast<double>(slope) * next + T.GFHigh);
        SwitchToDecoGas(stop);
        Status = StatusDecoStop;
        CalcDecoStop(stop, next, T.EndPressure);
        // Every stop ends within 24 hours (ErrStopCap); the whole ascent within 14 days.
        decoMinutes += LastSegmentTime;
        if (decoMinutes > DiveBounds::kMaxDecoMinutes)
            throw RuntimeError(ErrStopCap, "ClassBuhlmann.StartBuhlmann",
                               DiveBounds::FillIn(GetLangString(7059),
                                                  {CStr(int32_t(DiveBounds::kMaxDecoMinutes / (24 * 60)))}));
        float from = stop;
        stop = next;
        Status = StatusAscentBetweenStops;
        MoveToDepth(from, stop, T.EndPressure, true, false, true);
        MaxMValue = CalcMaxMValue(stop);
        if (stop == 0)
            return;
        SwitchToDecoGas(stop);
        next = NextStop(stop);
        requireProgress(stop, next, passes, T.Metric);
    }
}

// First target of the free ascent: the multiple of the step size at least half a step
// above the diver. A target between the surface and the last stop would be followed by
// the last stop itself, below the diver; the ascent then goes to the last stop when the
// diver is deeper than it, else straight to the surface.
float ClassBuhlmann::FirstCandidate(float LastDepth) const
{
    const TemplateRec &T = Tmpl();
    float c = static_cast<float>(Int(static_cast<double>(LastDepth) / T.StepSize - 0.5) * T.StepSize);
    if (!(c > 0))
        return 0;
    if (c < T.LastStop)
        return LastDepth > T.LastStop ? T.LastStop : 0.0f;
    return c;
}

// The stop after Stop: one step shallower, but never shallower than the last stop, and
// the surface after the last stop.
float ClassBuhlmann::NextStop(float Stop) const
{
    const TemplateRec &T = Tmpl();
    if (static_cast<double>(Stop) - T.StepSize < T.LastStop)
        return Stop == T.LastStop ? 0.0f : T.LastStop;
    return Stop - T.StepSize;
}

void ClassBuhlmann::SwitchToDecoGas(float Depth)
{
    const int16_t gas = FindDecoGas(Depth);
    if (gas != -1)
        MixNumber = gas;
}

// The gas of the first switch in list order allowed at Depth (switch depth at or below
// it) whose name is in the gas list; -1 when none. A list sorted from shallow to deep
// thus gives the richest gas allowed.
int16_t ClassBuhlmann::FindDecoGas(float Depth) const
{
    const TemplateRec &T = Tmpl();
    for (const GasChangeRecord &change : T.GasChanges) {
        if (!(change.Depth >= Depth))
            continue;
        for (size_t k = 0; k < T.Gases.size(); ++k)
            if (T.Gases[k].Name == change.Name)
                return static_cast<int16_t>(k);
    }
    return -1;
}

// Ascent from From to To, one piece per band of the ascent-rate table it crosses (rows in
// order of increasing band depth; row j's rate applies below its depth). A piece that
// ends on a band boundary has status 3, the last piece of the move -1.
void ClassBuhlmann::MoveToDepth(float &From, float To, float Psurf, bool DoShow, bool UseSetpoint,
                                bool UseDecoRMV)
{
    const std::vector<RateRecord> &rates = Tmpl().AscendRates;
    for (size_t j = rates.size(); j-- > 0;) {
        const float Dj = rates[j].Depth;
        const float Rj = rates[j].Rate;
        if (To > Dj) {
            if (To != From) {
                Status = StatusAscentBetweenStops;
                CalcAscentDescent(From, To, -Rj, Psurf, DoShow, UseSetpoint, UseDecoRMV);
                From = To;
            }
            return;
        }
        if (From > Dj) {
            Status = StatusAscentBand;
            CalcAscentDescent(From, Dj, -Rj, Psurf, DoShow, UseSetpoint, UseDecoRMV);
            From = Dj;
        }
    }
}

void ClassBuhlmann::WriteEndOfDive()
{
    for (int i = 1; i <= kCompartments; ++i) {
        EndState_.HeCompartments[i] = CompHe[i];
        EndState_.N2Compartments[i] = CompN2[i];
    }
    EndState_.OTU = OTU;
    EndState_.CNS = CNS;
    SettingsRecord *record = FindRecord(RecordNumber);
    if (!record)
        return;
    SetEndState(*record, EndState_);
}
