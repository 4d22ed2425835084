// Ceiling, M-value ratio, compartment loads and the depth adjustment.
//
// Per compartment the helium and nitrogen coefficients are weighted by the two tensions
// (Ptot = He + N2): a = (He aHe + N2 aN2) / Ptot, b = (He bHe + N2 bN2) / Ptot. The a
// coefficients are held in msw and scaled by 3.2568467 for a dive in feet. A compartment
// that holds no inert gas at all has no coefficients to weigh and no load: it adds nothing.

#include "engine/ClassBuhlmann.h"

#include "engine/EngineGlobals.h"

namespace {

constexpr double kFeetPerMetreForA = 3.2568467;

} // namespace

ClassBuhlmann::Weighted ClassBuhlmann::Weigh(int i, double f) const
{
    Weighted w;
    w.Ptot = CompHe[i] + CompN2[i];
    w.a = static_cast<float>((CompHe[i] * f * aHe[i] + CompN2[i] * f * aN2[i]) / w.Ptot);
    w.b = static_cast<float>((static_cast<double>(CompHe[i]) * bHe[i] +
                              static_cast<double>(CompN2[i]) * bN2[i]) / w.Ptot);
    return w;
}

// Ceiling in depth units, never below 0. Buhlmann with a gradient factor (Baker): the
// tolerated ambient pressure is (Ptot - a GF) / (GF / b - GF + 1); under VPM it is
// Ptot - VPMGradient. The hybrid model takes the deeper of both.
float ClassBuhlmann::GetCeiling()
{
    const TemplateRec &T = Tmpl();
    const double f = T.Metric ? 1.0 : kFeetPerMetreForA;
    const float Psurf = ToDepthUnits(T.EndPressure);
    float CeilB = 0;
    float CeilV = 0;
    for (int i = 1; i <= kCompartments; ++i) {
        if (CompHe[i] == 0 && CompN2[i] == 0)
            continue;
        const Weighted w = Weigh(i, f);
        const float TolB = static_cast<float>((w.Ptot - static_cast<double>(w.a) * GF) /
                                              (static_cast<double>(GF) / w.b - GF + 1.0));
        const float TolV = static_cast<float>(w.Ptot - VPMGradient);
        const float cb = TolB - Psurf;
        const float cv = TolV - Psurf;
        if (cb > CeilB)
            CeilB = cb;
        if (cv > CeilV)
            CeilV = cv;
    }
    if (ModelVPM) {
        CeilingModel = 1;
        return CeilV;
    }
    if (ModelHybrid) {
        CeilingModel = CeilV > CeilB ? 1 : 2;
        return CeilV > CeilB ? CeilV : CeilB;
    }
    CeilingModel = 2;
    return CeilB;
}

// Highest ratio of a compartment's tension to its raw M-value Pamb / b + a at Depth.
float ClassBuhlmann::CalcMaxMValue(float Depth) const
{
    const TemplateRec &T = Tmpl();
    const double f = T.Metric ? 1.0 : kFeetPerMetreForA;
    const float Pamb = ToDepthUnits(T.EndPressure) + Depth;
    float best = 0;
    for (int i = 1; i <= kCompartments; ++i) {
        if (CompHe[i] == 0 && CompN2[i] == 0)
            continue;
        const Weighted w = Weigh(i, f);
        const float M = static_cast<float>(static_cast<double>(Pamb) / w.b + w.a);
        const float ratio = static_cast<float>(w.Ptot / M);
        if (ratio > best)
            best = ratio;
    }
    return best;
}

// Load of each compartment against its M-value at the end surface pressure.
void ClassBuhlmann::PercentCompartLoad(Comp16 &percentLoad, float /*Depth*/) const
{
    const TemplateRec &T = Tmpl();
    const double f = T.Metric ? 1.0 : kFeetPerMetreForA;
    const float Psurf = ToDepthUnits(T.EndPressure);
    for (int i = 1; i <= kCompartments; ++i) {
        if (CompHe[i] == 0 && CompN2[i] == 0) {
            percentLoad[i] = 0;
            continue;
        }
        const Weighted w = Weigh(i, f);
        const float M0 = static_cast<float>(static_cast<double>(Psurf) / w.b + w.a);
        percentLoad[i] = static_cast<float>(w.Ptot / M0);
    }
}

float ClassBuhlmann::Dadjust(float Depth) const
{
    const TemplateRec &T = Tmpl();
    if (!T.DepthAdjust || DecoActive || Depth == 0)
        return Depth;
    return static_cast<float>(Depth * 1.03 + (T.Metric ? 1.0 : 3.3));
}
