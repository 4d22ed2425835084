#include "engine/GasAdvisor.h"

#include "engine/DOLVOptionModule.h"
#include "engine/Units.h"
#include "engine/VBConversions.h"

#include <cmath>

namespace {

struct Ambient {
    double k;  // depth units per bar (10) or per atm (33)
    double Pk; // the surface pressure in depth units
    float A;   // absolute depth in depth units
    float L;   // ppO2 limit, bar or atm
};

Ambient ambientFor(const TemplateRec &t, float depth)
{
    Ambient a;
    a.k = DepthUnitsPerBar(t.Metric);
    a.Pk = double(t.StartPressure) * a.k;
    a.A = static_cast<float>(a.Pk + depth);
    // A constant-ppO2 rebreather holds its set point; open circuit is held to MaxPPO2.
    a.L = t.OpenCircuit ? t.MaxPPO2 : t.Setpoint;
    return a;
}

// The richest O2 fraction that keeps the ppO2 limit, rounded down to 1 %, not capped.
float bestO2(const Ambient &a)
{
    return RoundDownPercent(static_cast<float>(a.L / (a.A / a.k)));
}

// A fraction at three decimals, as the nitrox END check compares them in metres.
double threeDecimals(float v) { return Val(FormatFixed(v, 3)); }

} // namespace

float RoundDownPercent(float value)
{
    const float hundredths = static_cast<float>(double(value) * 100.0);
    return static_cast<float>(std::floor(double(hundredths)) / 100.0);
}

AdvisedMix BestNitrox(const TemplateRec &t, float depth)
{
    const Ambient a = ambientFor(t, depth);
    AdvisedMix m;
    float fO2 = bestO2(a);
    if (fO2 >= 1)
        fO2 = 1;
    m.O2 = fO2;
    // With oxygen narcotic the END limit holds O2 + N2 together.
    const double f = t.O2Narcotic ? 1.0 : 0.79;
    m.N2 = static_cast<float>(f * (a.Pk + t.MaximalEND) / a.A);
    m.Possible = t.O2Narcotic ? m.N2 >= 1 : static_cast<float>(1.0 - fO2) <= m.N2;
    if (m.Possible)
        m.N2 = static_cast<float>(1.0 - fO2);
    return m;
}

AdvisedMix BestHeliox(const TemplateRec &t, float depth)
{
    const Ambient a = ambientFor(t, depth);
    AdvisedMix m;
    float fO2 = bestO2(a);
    if (fO2 >= 1)
        fO2 = 1;
    m.O2 = fO2;
    m.He = static_cast<float>(1.0 - fO2);
    const float end = CalcEND(t.Metric, depth, 0, static_cast<float>(100.0 * m.He), t.O2Narcotic, t);
    m.Possible = end <= t.MaximalEND;
    return m;
}

AdvisedMix BestTrimix(const TemplateRec &t, float depth)
{
    const Ambient a = ambientFor(t, depth);
    float O2 = bestO2(a);
    float N2 = RoundDownPercent(static_cast<float>(0.79 * (a.Pk + t.MaximalEND) / a.A));
    float He = 0;
    if (t.O2Narcotic) {
        const float q = static_cast<float>((a.Pk + t.MaximalEND) / a.A);
        He = static_cast<float>(1.0 - q);
        N2 = RoundDownPercent(static_cast<float>(1.0 - O2 - He));
        // Helium takes up what the rounding of the nitrogen left.
        He = static_cast<float>(1.0 - O2 - N2);
        if (1.0 - O2 < N2) {
            N2 = static_cast<float>(1.0 - O2);
            He = 0;
        }
    } else {
        if (O2 >= 1)
            O2 = 1;
        if (1.0 - O2 >= N2) {
            He = static_cast<float>(1.0 - N2 - O2);
            if (He < 0)
                He = 0;
        } else {
            N2 = static_cast<float>(1.0 - O2);
            He = 0;
        }
    }
    if (He <= 0)
        He = 0;
    if (O2 > 1)
        O2 = 1;
    if (N2 <= 0) {
        // No room for nitrogen (oxygen alone reaches the narcotic limit): helium fills
        // the rest, so the mix still adds up to 100 %.
        N2 = 0;
        He = static_cast<float>(1.0 - O2);
    }
    return {O2, N2, He, true};
}

float AdvisorPPO2(const TemplateRec &t, float depth, float fO2)
{
    const Ambient a = ambientFor(t, depth);
    return static_cast<float>(double(a.A) * fO2 / a.k);
}

float AdvisorEND(const TemplateRec &t, float depth, float fO2, float fN2)
{
    const Ambient a = ambientFor(t, depth);
    const double narcotic = t.O2Narcotic ? double(fO2) + fN2 : fN2 / 0.79;
    return static_cast<float>(double(a.A) * narcotic - a.Pk);
}

bool NitroxAvailable(const TemplateRec &t, float depth, float fO2, float fN2)
{
    // A mix whose nitrogen is short of 1 - O2 is the unmet limit of a failed search.
    const float rest = static_cast<float>(1.0 - fO2);
    if (!t.O2Narcotic)
        return t.Metric ? threeDecimals(fN2) >= threeDecimals(rest) : fN2 >= rest;
    const float end = AdvisorEND(t, depth, fO2, fN2);
    return threeDecimals(fN2) >= threeDecimals(rest) && !(end - 1.0 > t.MaximalEND);
}

float AutoSwitchDepth(float ppO2, float o2Percent, float endPressure)
{
    if (!(o2Percent > 0))
        return 0;
    const float atm = ppO2 / o2Percent * 100;
    const float depth = (atm - endPressure) * DepthUnitsPerBar(true);
    return depth > 0 ? depth : 0;
}
