#include "engine/DiveBounds.h"

#include "engine/EngineGlobals.h"
#include "engine/ResourceManager.h"
#include "engine/RuntimeError.h"
#include "engine/VBConversions.h"

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

} // namespace

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
    if (!(t.StepSize >= minStep) || !std::isfinite(t.StepSize))
        return {SettingsField::StepSize, FillIn(GetLangString(7050), {DepthText(minStep, m)})};
    if (!within(t.LastStop, 0, MaxDepth(m)))
        return {SettingsField::LastStop, FillIn(GetLangString(7051), {DepthText(MaxDepth(m), m)})};
    if (const int row = firstRateOutside(t.AscendRates, m); row >= 0)
        return {SettingsField::AscendRates, rateProblem(m), row};
    if (const int row = firstRateOutside(t.DescendRates, m); row >= 0)
        return {SettingsField::DescendRates, rateProblem(m), row};
    const auto pressureProblem = [m] {
        return FillIn(GetLangString(7053), {pressureText(kMinSurfacePressure, m), pressureText(kMaxSurfacePressure, m)});
    };
    if (!within(t.StartPressure, kMinSurfacePressure, kMaxSurfacePressure))
        return {SettingsField::StartPressure, pressureProblem()};
    if (!within(t.EndPressure, kMinSurfacePressure, kMaxSurfacePressure))
        return {SettingsField::EndPressure, pressureProblem()};
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

void CheckDepth(double depth, bool metric, const char *source)
{
    if (!within(depth, 0, MaxDepth(metric)))
        throw RuntimeError(ErrBadSettings, source,
                           FillIn(GetLangString(7054), {DepthText(depth, metric), DepthText(MaxDepth(metric), metric)}));
}

std::string DiveMinutesProblem(double minutes)
{
    if (minutes <= kMaxDiveMinutes)
        return {};
    return FillIn(GetLangString(7055), {numberText(minutes), numberText(kMaxDiveMinutes)});
}

void CheckDiveMinutes(double minutes, const char *source)
{
    const std::string problem = DiveMinutesProblem(minutes);
    if (!problem.empty())
        throw RuntimeError(ErrBadSettings, source, problem);
}

} // namespace DiveBounds
