#include "engine/DiveBounds.h"

#include "engine/AltitudeModule.h"
#include "engine/EngineGlobals.h"
#include "engine/GasAdvisor.h"
#include "engine/ResourceManager.h"
#include "engine/RuntimeError.h"
#include "engine/Units.h"
#include "engine/VBConversions.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace DiveBounds {

namespace {

// Seven digits as a Single shows them ("0.1", not the double nearest 0.1f); a number
// beyond the Single range keeps its own.
std::string numberText(double v)
{
    const bool single = std::fabs(v) <= std::numeric_limits<float>::max();
    return LocaliseNumberText(single ? JoinStr(static_cast<float>(v)) : CStr(v), gDecimalSeparator);
}

std::string rateText(double rate, bool metric)
{
    return numberText(rate) + " " + (metric ? GetLangString(7070) : GetLangString(7071));
}

std::string pressureText(double p, bool metric)
{
    return numberText(p) + " " + (metric ? GetLangString(7068) : GetLangString(7069));
}

bool within(double v, double low, double high)
{
    return v >= low && v <= high; // false for NaN
}

// The first row whose rate is outside the bounds, -1 when there is none.
int firstRateOutside(const std::vector<RateRecord> &rows, bool metric)
{
    const double low = metric ? kMinRateMetric : kMinRateImperial;
    const double high = metric ? kMaxRateMetric : kMaxRateImperial;
    for (size_t i = 0; i < rows.size(); ++i)
        if (!within(rows[i].Rate, low, high))
            return int(i);
    return -1;
}

bool ratesWithin(const std::vector<RateRecord> &rows, bool metric)
{
    return firstRateOutside(rows, metric) < 0;
}

std::string rateProblem(bool metric)
{
    return FillIn(GetLangString(7052), {rateText(metric ? kMinRateMetric : kMinRateImperial, metric),
                                        rateText(metric ? kMaxRateMetric : kMaxRateImperial, metric)});
}

// The first gas whose fractions are outside 0 to 100 % or whose sum is outside
// `lowestSum` to 100 % (within the slack), -1 when there is none.
template <typename Gas>
int firstGasOutside(const std::vector<Gas> &gases, double lowestSum)
{
    for (size_t i = 0; i < gases.size(); ++i) {
        const Gas &g = gases[i];
        const bool each = within(g.O2, 0, kMaxGasPercent) && within(g.He, 0, kMaxGasPercent) &&
                          within(g.N2, 0, kMaxGasPercent);
        if (!each || !within(double(g.O2) + g.He + g.N2, lowestSum - kGasSumSlack, kMaxGasPercent + kGasSumSlack))
            return int(i);
    }
    return -1;
}

// The first row whose band begins above the row before it (or has no depth), -1 when the
// depths rise from row to row.
int firstBandFalling(const std::vector<RateRecord> &rows)
{
    for (size_t i = 1; i < rows.size(); ++i)
        if (!(rows[i].Depth >= rows[i - 1].Depth))
            return int(i);
    return -1;
}

// "Altitude (Start of the dive)": the name the settings dialog gives the box.
std::string altitudeName(int frame)
{
    return GetLangString(1645) + " (" + GetLangString(frame) + ")";
}

// A pressure and its altitude belong to the same place.
bool pressureFitsAltitude(float altitude, float pressure, bool metric)
{
    return std::fabs(double(AltitudeToPressure(altitude, metric)) - pressure) <= kAltitudePressureSlack;
}

// The deepest a switch may lie: the deepest dive; a switch the settings dialog works out
// from the deco ppO2 (a gas poor in oxygen) as deep as that gives at the highest ppO2 and
// the lowest surface pressure of the bounds, rounded to a whole depth as it shows them.
double deepestSwitch(const TemplateRec &t, const GasChangeRecord &change)
{
    if (!t.AutoDecoGas)
        return MaxDepth(t.Metric);
    const double factor = t.Metric ? 1 : kFeetPerMetre;
    return std::max(double(MaxDepth(t.Metric)),
                    std::ceil(factor * AutoSwitchDepth(kMaxPPO2, change.O2, kMinSurfacePressure)));
}

} // namespace

std::string BetweenProblem(const std::string &name, double low, double high, const std::string &unit)
{
    const std::string tail = unit.empty() ? "" : " " + unit;
    return FillIn(GetLangString(7072), {name, numberText(low) + tail, numberText(high) + tail});
}

float MaxDepth(bool metric)
{
    return metric ? kMaxDepthMetric : kMaxDepthImperial;
}

std::string FillIn(std::string text, std::initializer_list<std::string> args)
{
    int n = 1;
    for (const std::string &arg : args) {
        const std::string mark = "%" + std::to_string(n++);
        const size_t at = text.find(mark);
        if (at != std::string::npos)
            text.replace(at, mark.size(), arg);
    }
    return text;
}

std::string DepthText(double depth, bool metric)
{
    return numberText(depth) + " " + (metric ? GetLangString(7066) : GetLangString(7067));
}

SettingsFault FirstSettingsFault(const TemplateRec &t)
{
    const bool m = t.Metric;
    const double minStep = m ? kMinStepMetric : kMinStepImperial;
    const double maxStop = m ? kMaxStopMetric : kMaxStopImperial;
    if (!within(t.StepSize, minStep, maxStop))
        return {SettingsField::StepSize, FillIn(GetLangString(7050), {DepthText(minStep, m), DepthText(maxStop, m)})};
    if (!within(t.LastStop, 0, maxStop))
        return {SettingsField::LastStop, FillIn(GetLangString(7051), {DepthText(maxStop, m)})};
    if (const int row = firstRateOutside(t.AscendRates, m); row >= 0)
        return {SettingsField::AscendRates, rateProblem(m), row};
    if (const int row = firstRateOutside(t.DescendRates, m); row >= 0)
        return {SettingsField::DescendRates, rateProblem(m), row};
    // The travel and the replay walk the bands from row to row.
    if (const int row = firstBandFalling(t.AscendRates); row >= 0)
        return {SettingsField::AscendRates, FillIn(GetLangString(7077), {GetLangString(1604)}), row};
    if (const int row = firstBandFalling(t.DescendRates); row >= 0)
        return {SettingsField::DescendRates, FillIn(GetLangString(7077), {GetLangString(1603)}), row};
    const auto pressureProblem = [m] {
        return FillIn(GetLangString(7053), {pressureText(kMinSurfacePressure, m), pressureText(kMaxSurfacePressure, m)});
    };
    if (!within(t.StartPressure, kMinSurfacePressure, kMaxSurfacePressure))
        return {SettingsField::StartPressure, pressureProblem()};
    if (!within(t.EndPressure, kMinSurfacePressure, kMaxSurfacePressure))
        return {SettingsField::EndPressure, pressureProblem()};
    const double lowAltitude = m ? kMinAltitudeMetric : kMinAltitudeImperial;
    const double highAltitude = m ? kMaxAltitudeMetric : kMaxAltitudeImperial;
    const auto altitudeProblem = [&](int frame) {
        return BetweenProblem(altitudeName(frame), lowAltitude, highAltitude, GetLangString(m ? 7066 : 7067));
    };
    if (!within(t.StartAltitude, lowAltitude, highAltitude))
        return {SettingsField::StartPressure, altitudeProblem(1646)};
    if (!within(t.EndAltitude, lowAltitude, highAltitude))
        return {SettingsField::EndPressure, altitudeProblem(1648)};
    const auto pairProblem = [&](int frame, float altitude, float pressure) {
        const float there = AltitudeToPressure(altitude, m);
        return FillIn(GetLangString(7079),
                      {altitudeName(frame), DepthText(altitude, m), pressureText(there, m), pressureText(pressure, m)});
    };
    if (!pressureFitsAltitude(t.StartAltitude, t.StartPressure, m))
        return {SettingsField::StartPressure, pairProblem(1646, t.StartAltitude, t.StartPressure)};
    if (!pressureFitsAltitude(t.EndAltitude, t.EndPressure, m))
        return {SettingsField::EndPressure, pairProblem(1648, t.EndAltitude, t.EndPressure)};
    if (const int gas = firstGasOutside(t.Gases, kMaxGasPercent); gas >= 0)
        return {SettingsField::Gases, FillIn(GetLangString(7073), {t.Gases[size_t(gas)].Name}), gas};
    if (const int change = firstGasOutside(t.GasChanges, 0); change >= 0)
        return {SettingsField::Gases, FillIn(GetLangString(7073), {t.GasChanges[size_t(change)].Name}), -1};
    // String IDs of the units: the texts are looked up only for a bound that is broken,
    // as every plan checks its settings.
    const int depthUnit = m ? 7066 : 7067;
    // A switch beyond every dive (1E+30) would hand out its gas at any depth.
    for (size_t i = 0; i < t.GasChanges.size(); ++i) {
        const GasChangeRecord &change = t.GasChanges[i];
        const double deepest = deepestSwitch(t, change);
        if (!within(change.Depth, 0, deepest))
            return {SettingsField::GasChanges,
                    BetweenProblem(FillIn(GetLangString(7085), {change.Name}), 0, deepest, GetLangString(depthUnit)),
                    int(i)};
    }
    const int ppO2Unit = m ? 7068 : 7069;
    const int rmvUnit = m ? 1628 : 1627;
    struct Bounded {
        SettingsField field;
        float value;
        int name; // string ID of the setting's name
        float high;
        int unit;
    };
    const Bounded bounded[] = {
        {SettingsField::Setpoint, t.Setpoint, 1651, kMaxPPO2, ppO2Unit},
        {SettingsField::DecoSetpoint, t.DecoSetpoint, 3074, kMaxPPO2, ppO2Unit},
        {SettingsField::RMV, t.RMV, 1638, kMaxRMV, rmvUnit},
        {SettingsField::DecoRMV, t.DecoRMV, 3014, kMaxRMV, rmvUnit},
        {SettingsField::MinPPO2, t.MinPPO2, 1639, kMaxPPO2, ppO2Unit},
        {SettingsField::MaxPPO2, t.MaxPPO2, 1640, kMaxPPO2, ppO2Unit},
        {SettingsField::DecoPPO2, t.DecoPPO2, 3015, kMaxPPO2, ppO2Unit},
        {SettingsField::MaximalEND, t.MaximalEND, 1641, MaxDepth(m), depthUnit},
    };
    for (const Bounded &b : bounded)
        if (!within(b.value, 0, b.high))
            return {b.field, BetweenProblem(GetLangString(b.name), 0, b.high, GetLangString(b.unit))};
    // A minimum at or above the maximum warns of every ppO2 on one side or the other.
    if (!(t.MinPPO2 < t.MaxPPO2))
        return {SettingsField::MinPPO2,
                FillIn(GetLangString(7076), {GetLangString(1639), pressureText(0, m),
                                             pressureText(t.MaxPPO2, m) + " (" + GetLangString(1640) + ")"})};
    // A climb of 0 minutes or less is no climb.
    if (t.TimeToHeight > kMaxMinutesToAltitude)
        return {SettingsField::TimeToHeight,
                BetweenProblem(GetLangString(5004), 0, kMaxMinutesToAltitude, GetLangString(7074))};
    // Factors that are off are not used and kept as they are.
    if (t.GFOn && !(t.GFHigh > 0 && t.GFHigh <= kMaxGradientFactor))
        return {SettingsField::GradientFactors,
                FillIn(GetLangString(7075), {GetLangString(1710), numberText(0), numberText(kMaxGradientFactor)})};
    if (t.GFOn && !(t.GFLow > 0 && t.GFLow <= t.GFHigh))
        return {SettingsField::GradientFactors,
                FillIn(GetLangString(7075), {GetLangString(1711), numberText(0),
                                             numberText(t.GFHigh) + " (" + GetLangString(1710) + ")"})};
    return {};
}

std::string SettingsProblem(const TemplateRec &t)
{
    return FirstSettingsFault(t).text;
}

void CheckSettings(const TemplateRec &t, const char *source)
{
    const std::string problem = SettingsProblem(t);
    if (!problem.empty())
        throw RuntimeError(ErrBadSettings, source, problem);
}

void CheckRates(const std::vector<RateRecord> &rows, bool metric, const char *source)
{
    if (!ratesWithin(rows, metric))
        throw RuntimeError(ErrBadSettings, source, rateProblem(metric));
}

std::string DepthProblem(double depth, bool metric)
{
    if (within(depth, 0, MaxDepth(metric)))
        return {};
    return FillIn(GetLangString(7054), {DepthText(depth, metric), DepthText(MaxDepth(metric), metric)});
}

void CheckDepth(double depth, bool metric, const char *source)
{
    const std::string problem = DepthProblem(depth, metric);
    if (!problem.empty())
        throw RuntimeError(ErrBadSettings, source, problem);
}

std::string DiveMinutesProblem(double minutes)
{
    if (minutes <= kMaxDiveMinutes)
        return {};
    return FillIn(GetLangString(7055), {numberText(minutes), numberText(kMaxDiveMinutes)});
}

std::string SurfaceIntervalProblem(double minutes)
{
    if (within(minutes, 0, kMaxSurfaceMinutes))
        return {};
    return BetweenProblem(GetLangString(3011), 0, kMaxSurfaceMinutes, GetLangString(7074));
}

void CheckDiveMinutes(double minutes, const char *source)
{
    const std::string problem = DiveMinutesProblem(minutes);
    if (!problem.empty())
        throw RuntimeError(ErrBadSettings, source, problem);
}

} // namespace DiveBounds
