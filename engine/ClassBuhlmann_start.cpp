// The starts of a dive: a first dive saturated at its altitude or loaded by the climb to
// it, a repetitive dive from the previous dive's tensions across the surface interval,
// and the replay of a drawn profile without an ascent.

#include "engine/ClassBuhlmann.h"

#include "engine/EngineGlobals.h"
#include "engine/Units.h"
#include "engine/VBConversions.h"

namespace {

// Nitrogen tension of a diver saturated with air at sea level (1.013 bar) before a climb:
// (1.013 bar x 10 msw/bar - 0.527 msw) x 0.79 = 7.5864 msw for a metric dive and
// (1.013 bar x kFswPerBar - 1.848 fsw) x 0.79 for an imperial one, the same saturation in
// either unit. Less would let a diver who has not acclimatised start cleaner than one who
// has.
constexpr float kSeaLevelN2Msw = static_cast<float>((1.013 * double(DepthUnitsPerBar(true)) - 0.527) * 0.79);
constexpr float kSeaLevelN2Fsw = static_cast<float>((1.013 * kFswPerBar - 1.848) * 0.79);

} // namespace

void ClassBuhlmann::Init(int16_t TemplEntry, bool ModelC)
{
    CommonStart(TemplEntry, ModelC);
    StartSaturated();
}

void ClassBuhlmann::Init(const TemplateRec &Dive, bool ModelC)
{
    CommonStart(Dive, ModelC);
    StartSaturated();
}

void ClassBuhlmann::StartSaturated()
{
    const TemplateRec &T = Tmpl();
    for (int i = 1; i <= kCompartments; ++i)
        CompHe[i] = 0;
    if (T.AdeptedToHeight) {
        // Saturated with air at the start altitude: (surface pressure - water vapour) x 0.79,
        // the surface pressure in bar x 10 msw or in atm x 33 fsw.
        const double depthUnits = DepthUnitsPerBar(T.Metric);
        const float n2 = T.Metric ? static_cast<float>((T.StartPressure * depthUnits - 0.527) * 0.79)
                                  : static_cast<float>((T.StartPressure * depthUnits - 1.848) * 0.79);
        for (int i = 1; i <= kCompartments; ++i)
            CompN2[i] = n2;
    } else {
        for (int i = 1; i <= kCompartments; ++i)
            CompN2[i] = T.Metric ? kSeaLevelN2Msw : kSeaLevelN2Fsw;
        ClimbToAltitude();
    }
    RunTime = 0;
    SegmentNumber = 0;
}

// The drive from sea level to the start altitude takes TimeToHeight minutes: 101 exposures
// of a hundredth of it each, at altitudes StartAltitude x k / 100 for k = 0 to 100. A climb
// time of 0 or less means the diver arrives at once and keeps the sea-level tensions.
void ClassBuhlmann::ClimbToAltitude()
{
    const TemplateRec &T = Tmpl();
    const int16_t n = T.TimeToHeight;
    if (n <= 0)
        return;
    const float exposure = static_cast<float>(n / 100.0);
    for (int k = 0; k <= 100; ++k)
        AltitudeExposure(static_cast<float>(T.StartAltitude * static_cast<double>(k) / 100), exposure);
}

void ClassBuhlmann::InitAfterSurfaceInterval(int16_t TemplEntry, bool ModelC, const Comp16 &compartN2,
                                             const Comp16 &compatHe, float surfacetime)
{
    CommonStart(TemplEntry, ModelC);
    StartAfterInterval(compartN2, compatHe, surfacetime);
}

void ClassBuhlmann::InitAfterSurfaceInterval(const TemplateRec &Dive, bool ModelC, const Comp16 &compartN2,
                                             const Comp16 &compatHe, float surfacetime)
{
    CommonStart(Dive, ModelC);
    StartAfterInterval(compartN2, compatHe, surfacetime);
}

void ClassBuhlmann::StartAfterInterval(const Comp16 &compartN2, const Comp16 &compatHe, float surfacetime)
{
    SurfaceProfile.clear();
    ResultProfile = &SurfaceProfile;
    for (int i = 1; i <= kCompartments; ++i) {
        CompN2[i] = compartN2[i];
        CompHe[i] = compatHe[i];
    }
    // The surface interval is breathed on air off the loop, whatever the dive's circuit:
    // a rebreather at its setpoint would wash every inert gas out of the compartments
    // during hours at the surface and start the next dive far too clean.
    MixNumber = 0;
    OpenCircuit = true;
    QuietWarnings = true;
    CalcConstantDepth(0, surfacetime, Tmpl().StartPressure, true);
    QuietWarnings = false;
    OpenCircuit = Tmpl().OpenCircuit;
    RunTime = 0;
    SegmentNumber = 0;
}

void ClassBuhlmann::LoadCompartments(const ClassProfile &inp, ClassProfile &outp)
{
    LoadCompartments(inp, outp, inp.getCNS(0), inp.getOTU(0));
}

void ClassBuhlmann::LoadCompartments(const ClassProfile &inp, ClassProfile &outp, float StartCNS, float StartOTU)
{
    // The legs are breathed by their gases' names: a name the list does not hold (legs
    // drawn before the list changed) would otherwise be breathed as Air.
    ValidateDive(inp, false);
    InputProfile = &inp;
    ResultProfile = &outp;
    const TemplateRec &T = Tmpl();
    OpenCircuit = T.OpenCircuit;
    outp.SetPPO2(0, static_cast<float>(T.StartPressure * static_cast<double>(inp.GetGasMixO2(0)) / 100.0));
    outp.setCNS(0, StartCNS);
    outp.SetOTU(0, StartOTU);

    SimulateUserSegments(inp, true);
}

