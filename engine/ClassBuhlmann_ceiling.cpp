// Ceiling, M-value ratio, compartment loads and the depth adjustment.
//
// Per compartment the helium and nitrogen coefficients are weighted by the two tensions
// (Ptot = He + N2): a = (He aHe + N2 aN2) / Ptot, b = (He bHe + N2 bN2) / Ptot. The a
// coefficients are held in msw and scaled by 3.2568467 for a dive in feet. A compartment
// that holds no inert gas at all has no coefficients to weigh and no load: it adds nothing.

#include "engine/ClassBuhlmann.h"

#include "engine/EngineGlobals.h"
#include "engine/Units.h"

#include <array>
#include <cmath>

ClassBuhlmann::Weighted ClassBuhlmann::Weigh(int i, double f) const
{
    Weighted w;
    w.Ptot = CompHe[i] + CompN2[i];
    w.a = static_cast<float>((CompHe[i] * f * aHe[i] + CompN2[i] * f * aN2[i]) / w.Ptot);
    w.b = static_cast<float>((static_cast<double>(CompHe[i]) * bHe[i] +
                              static_cast<double>(CompN2[i]) * bN2[i]) / w.Ptot);
    return w;
}

// All sixteen weighings at once, redone only when a tension has changed (compared bit for
// bit) or the unit system has. The expressions are Weigh's, written over whole rows so
// the compiler can work on several compartments at a time.
DOLV_COMPARTMENT_ROWS
const ClassBuhlmann::WeightCache &ClassBuhlmann::WeighAll(bool metric) const
{
    WeightCache &w = Weights;
    if (w.Valid && w.Metric == metric && SameBits(w.He, CompHe) && SameBits(w.N2, CompN2))
        return w;
    const double f = metric ? 1.0 : kFswPerMswOfPressure;
    for (int i = 1; i <= kCompartments; ++i) {
        const float he = CompHe[i];
        const float n2 = CompN2[i];
        const float ptot = he + n2;
        w.Ptot[i] = ptot;
        w.a[i] = static_cast<float>((he * f * aHe[i] + n2 * f * aN2[i]) / ptot);
        w.b[i] = static_cast<float>((static_cast<double>(he) * bHe[i] + static_cast<double>(n2) * bN2[i]) / ptot);
    }
    for (int i = 1; i <= kCompartments; ++i)
        w.Empty[i] = CompHe[i] == 0 && CompN2[i] == 0;
    w.He = CompHe;
    w.N2 = CompN2;
    w.Metric = metric;
    w.Valid = true;
    ++w.Generation;
    return w;
}

// Ceiling in depth units, never below 0. Buhlmann with a gradient factor (Baker): the
// tolerated ambient pressure is (Ptot - a GF) / (GF / b - GF + 1); under VPM it is
// Ptot - VPMGradient. The hybrid model takes the deeper of both.
DOLV_COMPARTMENT_ROWS
float ClassBuhlmann::GetCeiling()
{
    const TemplateRec &T = Tmpl();
    const float Psurf = ToDepthUnits(T.EndPressure);
    const WeightCache &w = WeighAll(T.Metric);
    CeilingMemo &m = LastCeiling;
    if (m.Valid && m.Generation == w.Generation && std::memcmp(&m.GF, &GF, sizeof GF) == 0 &&
        std::memcmp(&m.VPMGradient, &VPMGradient, sizeof VPMGradient) == 0 &&
        std::memcmp(&m.Psurf, &Psurf, sizeof Psurf) == 0 && m.VPM == ModelVPM && m.Hybrid == ModelHybrid) {
        CeilingModel = m.Model;
        return m.Ceiling;
    }

    // The Buhlmann tolerance of every compartment; the VPM model alone does not need it.
    std::array<float, kCompartments + 1> TolB{};
    if (!ModelVPM) {
        const double gf = GF;
        for (int i = 1; i <= kCompartments; ++i)
            TolB[i] = static_cast<float>((w.Ptot[i] - static_cast<double>(w.a[i]) * gf) /
                                         (gf / w.b[i] - gf + 1.0));
    }
    // Running maxima from 0; the VPM one only when a VPM or hybrid ceiling is asked for.
    float CeilB = 0;
    float CeilV = 0;
    int deepestB = Leading;
    int deepestV = Leading;
    if (!ModelVPM) {
        for (int i = 1; i <= kCompartments; ++i) {
            const float cb = TolB[i] - Psurf;
            if (!w.Empty[i] && cb > CeilB) {
                CeilB = cb;
                deepestB = i;
            }
        }
    }
    if (ModelVPM || ModelHybrid) {
        for (int i = 1; i <= kCompartments; ++i) {
            const float TolV = w.Ptot[i] - VPMGradient;
            const float cv = TolV - Psurf;
            if (!w.Empty[i] && cv > CeilV) {
                CeilV = cv;
                deepestV = i;
            }
        }
    }
    float ceiling;
    if (ModelVPM) {
        CeilingModel = 1;
        ceiling = CeilV;
    } else if (ModelHybrid) {
        CeilingModel = CeilV > CeilB ? 1 : 2;
        ceiling = CeilV > CeilB ? CeilV : CeilB;
    } else {
        CeilingModel = 2;
        ceiling = CeilB;
    }
    // The compartment that sets the ceiling is the one a stop asks first (CeilingAtOrAbove).
    Leading = CeilingModel == 1 ? deepestV : deepestB;
    m = {true, w.Generation, GF, VPMGradient, Psurf, ModelVPM, ModelHybrid, ceiling, CeilingModel};
    return ceiling;
}

// Whether the Buhlmann ceiling of one compartment is clearly below X = Depth + Psurf,
// clearly not, or too close to tell without the exact arithmetic. With the weighted sums
// na = Ptot a and nb = Ptot b the tolerated pressure is
//   Tol = (Ptot^2 - GF na) nb / M,  M = Ptot (GF Ptot - GF nb + nb) > 0,
// so Tol > X exactly when L = (Ptot^2 - GF na) nb exceeds R = X M: products, no division.
// The exact path rounds a, b, Tol and Tol - Psurf to Single, each within 2^-24 of its
// size, and a rounding of b can move Tol by at most 1 / (1 - b) <= 30 times as much. A
// difference beyond 1e-5 of the sizes involved (over 5 times that) is one the exact
// path cannot turn round; anything closer, or not finite, is left to it.
enum class Verdict { Below, NotBelow, Unsure };

static Verdict CeilingBelow(double Ptot, double na, double nb, double gf, double X)
{
    const double E = gf * Ptot - gf * nb + nb;
    const double M = Ptot * E;
    const double L = (Ptot * Ptot - gf * na) * nb;
    const double R = X * M;
    const double tol = 1e-5 * (gf * std::fabs(na) * E + std::fabs(L) + (std::fabs(X) + 1.0) * M);
    if (!(Ptot > 0 && nb > 0 && M > 0 && tol < HUGE_VAL))
        return Verdict::Unsure;
    if (L - R > tol)
        return Verdict::Below;
    if (R - L > tol)
        return Verdict::NotBelow;
    return Verdict::Unsure;
}

DOLV_COMPARTMENT_ROWS
bool ClassBuhlmann::CeilingAtOrAbove(float Depth)
{
    // The ceiling is never below 0, so it cannot be at or above a depth above the surface.
    if (!(Depth >= 0))
        return false;
    const TemplateRec &T = Tmpl();
    const double f = T.Metric ? 1.0 : kFswPerMswOfPressure;
    const float Psurf = ToDepthUnits(T.EndPressure);
    const bool buhlmann = !ModelVPM;
    const bool vpm = ModelVPM || ModelHybrid;
    // A compartment whose ceiling is below Depth settles it; one that cannot be weighed
    // (NaN) is passed over, as the running maximum of GetCeiling passes over it.
    auto holds = [&](int i) {
        if (CompHe[i] == 0 && CompN2[i] == 0)
            return false;
        if (buhlmann) {
            // The sums are Weigh's, before its divisions.
            const float he = CompHe[i];
            const float n2 = CompN2[i];
            const float ptot = he + n2;
            const double na = he * f * aHe[i] + n2 * f * aN2[i];
            const double nb = static_cast<double>(he) * bHe[i] + static_cast<double>(n2) * bN2[i];
            const Verdict v = CeilingBelow(ptot, na, nb, GF, static_cast<double>(Depth) + Psurf);
            if (v == Verdict::Below)
                return true;
            if (v == Verdict::Unsure) {
                const Weighted w = Weigh(i, f);
                const float TolB = static_cast<float>((w.Ptot - static_cast<double>(w.a) * GF) /
                                                      (static_cast<double>(GF) / w.b - GF + 1.0));
                if (TolB - Psurf > Depth)
                    return true;
            }
        }
        if (vpm) {
            const float TolV = CompHe[i] + CompN2[i] - VPMGradient;
            if (TolV - Psurf > Depth)
                return true;
        }
        return false;
    };
    if (holds(Leading))
        return false;
    // Otherwise the whole ceiling, which the waypoint of a cleared stop needs anyway.
    return GetCeiling() <= Depth;
}

// Highest ratio of a compartment's tension to its raw M-value Pamb / b + a at Depth.
DOLV_COMPARTMENT_ROWS
float ClassBuhlmann::CalcMaxMValue(float Depth) const
{
    const TemplateRec &T = Tmpl();
    const float Pamb = ToDepthUnits(T.EndPressure) + Depth;
    const WeightCache &w = WeighAll(T.Metric);
    std::array<float, kCompartments + 1> ratio{};
    for (int i = 1; i <= kCompartments; ++i) {
        const float M = static_cast<float>(static_cast<double>(Pamb) / w.b[i] + w.a[i]);
        ratio[i] = w.Ptot[i] / M;
    }
    float best = 0;
    for (int i = 1; i <= kCompartments; ++i)
        if (!w.Empty[i] && ratio[i] > best)
            best = ratio[i];
    return best;
}

// Load of each compartment against its M-value at the end surface pressure.
DOLV_COMPARTMENT_ROWS
void ClassBuhlmann::PercentCompartLoad(Comp16 &percentLoad, float /*Depth*/) const
{
    const TemplateRec &T = Tmpl();
    const float Psurf = ToDepthUnits(T.EndPressure);
    const WeightCache &w = WeighAll(T.Metric);
    Comp16 load{};
    for (int i = 1; i <= kCompartments; ++i) {
        const float M0 = static_cast<float>(static_cast<double>(Psurf) / w.b[i] + w.a[i]);
        load[i] = w.Ptot[i] / M0;
    }
    for (int i = 1; i <= kCompartments; ++i)
        percentLoad[i] = w.Empty[i] ? 0.0f : load[i];
}

namespace {
constexpr double kAdjustFactor = 1.03;
double adjustOffset(const TemplateRec &T) { return T.Metric ? 1.0 : kFswPerMsw; }
} // namespace

float AdjustedDepth(float Depth, const TemplateRec &T)
{
    if (!T.DepthAdjust || Depth == 0)
        return Depth;
    return static_cast<float>(Depth * kAdjustFactor + adjustOffset(T));
}

double UnadjustedDepth(double Adjusted, const TemplateRec &T)
{
    return T.DepthAdjust ? (Adjusted - adjustOffset(T)) / kAdjustFactor : Adjusted;
}

float ClassBuhlmann::Dadjust(float Depth) const
{
    return DecoActive ? Depth : AdjustedDepth(Depth, Tmpl());
}
