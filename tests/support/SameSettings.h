#pragma once
// Two dive settings compared whole, field by field: a window that must leave a dive as it
// was is checked against every field, not only the ones it shows.

#include "engine/SettingsRecord.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

namespace same_settings {

inline auto fields(const GasRecord &g) { return std::tie(g.Name, g.O2, g.N2, g.He, g.GasUsed); }
inline auto fields(const GasChangeRecord &c) { return std::tie(c.Name, c.O2, c.N2, c.He, c.Depth); }
inline auto fields(const RateRecord &r) { return std::tie(r.PixelRate, r.PixelDepth, r.Rate, r.Depth); }

template <typename Row>
bool sameRows(const std::vector<Row> &a, const std::vector<Row> &b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const Row &x, const Row &y) { return fields(x) == fields(y); });
}

// A new field of TemplateRec changes its size: add it below, then the size here.
static_assert(sizeof(TemplateRec) == 264, "a field of TemplateRec is not compared");

} // namespace same_settings

inline ::testing::AssertionResult SameSettings(const TemplateRec &a, const TemplateRec &b)
{
    using namespace same_settings;
    const auto scalars = [](const TemplateRec &t) {
        return std::tie(t.StartAltitude, t.StartPressure, t.TimeToHeight, t.AdeptedToHeight, t.EndAltitude,
                        t.EndPressure, t.Changed, t.Directory, t.Templatename, t.Metric, t.StepSize, t.LastStop,
                        t.OpenCircuit, t.Setpoint, t.DecoSetpoint, t.OCDeco, t.RMV, t.DecoRMV, t.MinPPO2, t.MaxPPO2,
                        t.DecoPPO2, t.MaximalEND, t.O2Narcotic, t.AutoDecoGas, t.CeilingOverride, t.GFOn,
                        t.DepthAdjust, t.GFHigh, t.GFLow, t.PPO2Low, t.PPO2High, t.MaxEnd);
    };
    if (scalars(a) != scalars(b))
        return ::testing::AssertionFailure() << "a setting differs";
    if (!sameRows(a.GasChanges, b.GasChanges) || !sameRows(a.Gases, b.Gases))
        return ::testing::AssertionFailure() << "a gas or gas switch differs";
    if (!sameRows(a.AscendRates, b.AscendRates) || !sameRows(a.DescendRates, b.DescendRates))
        return ::testing::AssertionFailure() << "a rate differs";
    return ::testing::AssertionSuccess();
}
