#include "blending/BlendComputations.h"

#include <cmath>

namespace {

// Gas constant in L bar / (K mol).
constexpr double kR = 0.0831451;

// Van der Waals constants of the pure gases and the products of each pair, as the
// blending tables give them (a in L^2 bar / mol^2, b in L / mol).
constexpr double kAO2 = 1.37802, kAN2 = 1.4084175, kAHe = 0.034551825;
constexpr double kAO2N2 = 1.94082748335, kAO2He = 0.0476131058865, kAN2He = 0.0486633949869375;
constexpr double kBO2 = 0.0318, kBN2 = 0.0391, kBHe = 0.0237;
constexpr double kBO2N2 = 0.00124338, kBO2He = 0.00075366, kBN2He = 0.00092667;

// Air as the ideal top-up counts it, and as the real-gas top-up counts it.
constexpr double kIdealAirO2 = 0.21, kIdealAirN2 = 0.79;
constexpr double kRealAirO2 = 0.208, kRealAirN2 = 0.792;

// c_mix = 1/S, S = sum of x_i x_j / sqrt(c_i c_j) over every pair (i = j included).
float MixRule(const GasFractions &x, double cO2, double cN2, double cHe, double cO2N2, double cO2He,
              double cN2He)
{
    const double o2 = x.O2, n2 = x.N2, he = x.He;
    const float s = float(o2 * o2 / cO2 + n2 * n2 / cN2 + he * he / cHe + 2 * o2 * n2 / std::sqrt(cO2N2)
                          + 2 * o2 * he / std::sqrt(cO2He) + 2 * n2 * he / std::sqrt(cN2He));
    return float(1.0 / s);
}

// A mixture constant, density or mole sum the equations can go on with.
bool Usable(float v)
{
    return std::isfinite(v) && v > 0;
}

GasFractions FractionsOf(float o2Pct, float n2Pct, float hePct)
{
    return {float(o2Pct / 100.0), float(n2Pct / 100.0), float(hePct / 100.0)};
}

// Fractions of the moles per litre of each gas; none when their sum is not above 0.
std::optional<GasFractions> FractionsOfMoles(float o2, float n2, float he)
{
    const float sum = float(double(o2) + n2 + he);
    if (!Usable(sum))
        return std::nullopt;
    return GasFractions{float(o2 / double(sum)), float(n2 / double(sum)), float(he / double(sum))};
}

// The mixture's constants, none when the fractions give no usable a or b.
struct MixConstants {
    float a = 0, b = 0;
};
std::optional<MixConstants> ConstantsOf(const GasFractions &x)
{
    const MixConstants c{VdwMixA(x), VdwMixB(x)};
    if (!Usable(c.a) || !Usable(c.b))
        return std::nullopt;
    return c;
}

std::optional<float> DensityOf(const MixConstants &c, float P)
{
    const float n = VdwDensity(c.a, c.b, P, kBlendTemperature);
    if (!Usable(n))
        return std::nullopt;
    return n;
}

} // namespace

float CurrentFillBar(const BlendInputs &in)
{
    return in.Metric ? in.CurFillValue : float(in.CurFillValue * kBarPerPsi);
}

AirTopFill CalcAirTop(const BlendInputs &in)
{
    const double k = in.Metric ? 1.0 : kBarPerPsi;
    AirTopFill f;
    f.O2Add = float(double(in.DesO2Pct) * in.DesFillBar - double(in.CurO2Pct) * in.CurFillValue * k);
    f.HeAdd = float(double(in.DesHePct) * in.DesFillBar - double(in.CurHePct) * in.CurFillValue * k);
    f.N2Add = float(double(in.DesN2Pct) * in.DesFillBar - double(in.CurN2Pct) * in.CurFillValue * k);
    // All N2 comes from air; the O2 that air brings with it is pure O2 not needed.
    f.AirTopO2 = float(f.O2Add - f.N2Add * kIdealAirO2 / kIdealAirN2);
    f.AirTopAir = float(f.N2Add / kIdealAirN2);
    f.AirTopHe = f.HeAdd;
    return f;
}

float VdwMixA(const GasFractions &x)
{
    return MixRule(x, kAO2, kAN2, kAHe, kAO2N2, kAO2He, kAN2He);
}

float VdwMixB(const GasFractions &x)
{
    return MixRule(x, kBO2, kBN2, kBHe, kBO2N2, kBO2He, kBN2He);
}

float VdwPressure(float n, float T, float a, float b)
{
    const double nd = n;
    return float(nd * kR * T / (1.0 - nd * b) - a * nd * nd);
}

float VdwDensity(float a, float b, float P, float T)
{
    const double ad = a, bd = b, Pd = P;
    const double cbrt2 = std::pow(2.0, 1.0 / 3.0);
    const float C = float(Pd * bd + kR * T);
    const float q = float(2 * ad * ad * ad + 27 * ad * ad * bd * bd * Pd - 9 * ad * ad * bd * C);
    const float delta = float(3 * ad * bd * C - ad * ad);
    const float s = float(std::sqrt(double(q) * q + 4 * double(delta) * delta * delta));
    // q + s, written without C so that its rounding does not enter twice.
    const float Q =
        float(std::pow(2 * ad * ad * ad + 18 * ad * ad * bd * bd * Pd - 9 * ad * ad * bd * kR * T + s, 1.0 / 3.0));
    return float(1 / (3 * bd) + Q / (3 * cbrt2 * ad * bd) - cbrt2 * delta / (3 * ad * bd * Q));
}

MolesToAdd CalcIdealTopUp(const GasFractions &desired, const GasFractions &current, float nDesired, float nCurrent)
{
    MolesToAdd m;
    m.He = float(double(desired.He) * nDesired - double(current.He) * nCurrent);
    m.Air = float((double(desired.N2) * nDesired - double(current.N2) * nCurrent) / kRealAirN2);
    m.O2 = float((double(desired.O2) * nDesired - double(current.O2) * nCurrent) - m.Air * kRealAirO2);
    return m;
}

std::optional<RealGasFill> CalcVanDerWaals(const BlendInputs &in)
{
    if (in.CurO2Pct <= 0 || in.DesO2Pct <= 0)
        return std::nullopt;
    RealGasFill fill;
    fill.CurFillBar = CurrentFillBar(in);
    fill.DesFillBar = in.DesFillBar;
    if (!std::isfinite(fill.CurFillBar) || fill.CurFillBar < 0 || !Usable(fill.DesFillBar))
        return std::nullopt;

    GasFractions cur = FractionsOf(in.CurO2Pct, in.CurN2Pct, in.CurHePct);
    const GasFractions des = FractionsOf(in.DesO2Pct, in.DesN2Pct, in.DesHePct);
    const auto curConst = ConstantsOf(cur);
    const auto desConst = ConstantsOf(des);
    if (!curConst || !desConst)
        return std::nullopt;
    const auto nDes = DensityOf(*desConst, fill.DesFillBar);
    if (!nDes)
        return std::nullopt;
    // At 0 bar the closed form leaves a density of about 1e-6 mol/L of either sign: none.
    float nCur = 0;
    if (fill.CurFillBar > 0) {
        const auto nCurStart = DensityOf(*curConst, fill.CurFillBar);
        if (!nCurStart)
            return std::nullopt;
        nCur = *nCurStart;
    }

    // He first: the cylinder then holds the enriched gas at PHe.
    fill.PHe = fill.CurFillBar;
    const MolesToAdd first = CalcIdealTopUp(des, cur, *nDes, nCur);
    if (first.He > 0) {
        const float n1 = float(double(nCur) + first.He);
        const auto x1 = FractionsOfMoles(float(double(cur.O2) * nCur), float(double(cur.N2) * nCur),
                                         float(double(cur.He) * nCur + first.He));
        if (!x1)
            return std::nullopt;
        const auto c1 = ConstantsOf(*x1);
        if (!c1)
            return std::nullopt;
        fill.PHe = VdwPressure(n1, kBlendTemperature, c1->a, c1->b);
        if (!Usable(fill.PHe))
            return std::nullopt;
        const auto nEnriched = DensityOf(*c1, fill.PHe);
        if (!nEnriched)
            return std::nullopt;
        fill.HeStep = true;
        cur = *x1;
        nCur = *nEnriched;
    }

    // Then O2; the air that tops the cylinder up to the desired fill is not simulated.
    const MolesToAdd second = CalcIdealTopUp(des, cur, *nDes, nCur);
    const float n2 = float(double(nCur) + second.O2);
    const auto x2 = FractionsOfMoles(float(double(cur.O2) * nCur + second.O2), float(double(cur.N2) * nCur),
                                     float(double(cur.He) * nCur));
    if (!x2)
        return std::nullopt;
    const auto c2 = ConstantsOf(*x2);
    if (!c2)
        return std::nullopt;
    fill.PO2 = VdwPressure(n2, kBlendTemperature, c2->a, c2->b);
    if (!std::isfinite(fill.PO2))
        return std::nullopt;
    return fill;
}
