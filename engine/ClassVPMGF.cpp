#include "engine/ClassVPMGF.h"

#include "engine/RuntimeError.h"
#include "engine/Units.h"
#include "engine/VBConversions.h"

#include <cmath>

namespace {

constexpr double kPrefMetric = 100000;   // Pa, one bar
constexpr double kPrefImperial = 101325; // Pa, one atmosphere
constexpr double kPonset = 932190;       // Pa, onset of impermeability

// The divisions below fail on nucleus constants that make no sense (gammaC = gamma, a
// zero radius or surface pressure); that is the planner's run-time error, not a NaN
// that would pass as a gradient.
double divisor(double v)
{
    if (v == 0 || std::isnan(v))
        throw RuntimeError(ErrDivisionByZero, "ClassVPMGF", "Division by zero");
    return v;
}

} // namespace

double ClassVPMGF::referencePressure() const
{
    return isMetric ? kPrefMetric : kPrefImperial;
}

double ClassVPMGF::depthPerPressure() const
{
    return DepthUnitsPerBar(isMetric);
}

void ClassVPMGF::SetVPMValues(float Gamma_, float GammaC_, float Micron_, float Psl, bool isMetric_)
{
    Gamma = Gamma_;
    GammaC = GammaC_;
    Micron = Micron_;
    Pata = Psl;
    isMetric = isMetric_;
    R0 = static_cast<float>(Micron * 1e-6);
}

void ClassVPMGF::VPMStart(float Depth_)
{
    Depth = Depth_;
    const double surface = divisor(Pata * depthPerPressure());
    const float ratio = static_cast<float>((Depth + surface) / surface);
    // The onset as a Single (9.3219 or 9.2), so a depth that lands exactly on it stays
    // permeable.
    const float onsetRatio = static_cast<float>(kPonset / referencePressure());
    if (ratio <= onsetRatio)
        Perm(Depth, ratio);
    else
        ImPerm(Depth, ratio);
}

void ClassVPMGF::setGradient(float G)
{
    GradP = G;
    GradF = static_cast<float>(G / referencePressure() * Pata * depthPerPressure());
    Fstop = static_cast<float>(Depth - 10.0 * CInt(GradF / 10.0 - 0.5));
}

ClassVPMGF::Crush ClassVPMGF::crush(float Ratio) const
{
    Crush c;
    c.P = static_cast<float>(Ratio * referencePressure());
    c.A = static_cast<float>(2.0 * (static_cast<double>(GammaC) - Gamma));
    divisor(c.A);
    divisor(static_cast<double>(R0) * GammaC);
    return c;
}

// Permeable region: the radius shrinks under the crushing pressure dP as
// 1/r = 1/r0 + dP / A.
void ClassVPMGF::Perm(float, float Ratio)
{
    const double Pref = referencePressure();
    const Crush c = crush(Ratio);
    const float P = c.P, A = c.A, r0 = R0;
    const float dP = static_cast<float>(P - Pref);
    const float G = static_cast<float>(static_cast<double>(Gamma) * A / (static_cast<double>(r0) * GammaC) +
                                       static_cast<double>(dP) * Gamma / GammaC);
    setGradient(G);
    const float r = static_cast<float>(r0 / (static_cast<double>(dP) * r0 / A + 1));
    Radius = r;
    Micron = static_cast<float>(r * 1e6);
}

// Impermeable region: crushed permeably down to r1 at the onset, then the trapped gas
// follows Boyle's law: A r^3 - 2(gammaC - gamma) r^2 - Pref r1^3 = 0 with
// A = 2(gammaC - gamma) / r1 + P - Ponset + Pref.
void ClassVPMGF::ImPerm(float, float Ratio)
{
    const double Pref = referencePressure();
    const Crush c = crush(Ratio);
    const float P = c.P, A = c.A, r0 = R0;
    const float r1 = static_cast<float>(r0 / ((kPonset - Pref) * r0 / A + 1));
    const float Ac = static_cast<float>(A / static_cast<double>(r1) + (P - kPonset + Pref));
    const float Cc = static_cast<float>(Pref * Cubic(r1));
    const float LowBound = static_cast<float>(static_cast<double>(A) / Ac);
    const float HighBound = r1;
    float r2 = 0;
    Root(Ac, A, Cc, LowBound, HighBound, r2);
    const float G = static_cast<float>((P - Pref * Cubic(static_cast<float>(static_cast<double>(r1) / r2))) * Gamma / GammaC +
                                       static_cast<double>(Gamma) * A / (static_cast<double>(r0) * GammaC));
    setGradient(G);
    Micron = static_cast<float>(r2 * 1e6);
}

void ClassVPMGF::Root(float A, float b, float c, float LowBound, float HighBound, float &RMMin)
{
    float r = static_cast<float>((static_cast<double>(LowBound) + HighBound) / 2);
    for (int i = 0; i < 11; ++i) {
        const float f = static_cast<float>((static_cast<double>(A) * r - b) * r * r - c);
        const float df = static_cast<float>((3.0 * A * r - 2.0 * b) * r);
        const float step = static_cast<float>(f / divisor(df));
        r = static_cast<float>(static_cast<double>(r) - step);
        if (std::fabs(step) < 1e-10)
            break;
    }
    RMMin = r;
}
