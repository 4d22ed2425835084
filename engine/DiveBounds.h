#pragma once
// What a dive can be: the bounds every door checks before the engine sees a setting or a
// depth (the template reader, the series reader, the engine's own validation, the replay
// of the diver's legs and the table dives). Inside them every loop of the planner ends
// after a known number of steps; outside them a number in a file could make a step
// vanish below the float resolution of a depth and the ascent never end.
//
// Depth units are metres for a metric dive and feet for an imperial one; surface
// pressures bar or atm; rates depth units per minute.

#include "engine/SettingsRecord.h"

#include <string>

namespace DiveBounds {

// Deepest depth of any waypoint, stop or last stop: 1000 m or 3300 ft. At 1000 m the VPM
// crushing gradient is a few tens of metres, far inside what its 16-bit stop rounding
// holds, and 1000 m in 0.1 m stops is 10000 stops, well inside the 32767 waypoints of a
// profile.
inline constexpr float kMaxDepthMetric = 1000;
inline constexpr float kMaxDepthImperial = 3300;
// Closest stop spacing: 0.1 m or 1 ft.
inline constexpr float kMinStepMetric = 0.1f;
inline constexpr float kMinStepImperial = 1;
// Slowest and fastest travel rate of a rate table: 0.1 to 100 m/min, 0.3 to 330 ft/min.
inline constexpr float kMinRateMetric = 0.1f;
inline constexpr float kMaxRateMetric = 100;
inline constexpr float kMinRateImperial = 0.3f;
inline constexpr float kMaxRateImperial = 330;
// Surface pressure at the start and the end, bar or atm: from above the highest summit
// (0.2) to a little above the highest sea-level pressure (1.2).
inline constexpr float kMinSurfacePressure = 0.2f;
inline constexpr float kMaxSurfacePressure = 1.2f;
// The diver's own legs of one dive last at most a week in all.
inline constexpr float kMaxDiveMinutes = 7 * 24 * 60;
// The decompression stops of one ascent last at most 14 days in all; every stop on its
// own at most 24 hours (ErrStopCap).
inline constexpr float kMaxDecoMinutes = 14 * 24 * 60;

// Gas fractions in percent: each of O2, He and N2 0 to 100, together at most 100 (with a
// hundredth for the rounding of a typed mix).
inline constexpr float kMaxGasPercent = 100;
inline constexpr float kGasSumSlack = 0.01f;
// Breathing rates (RMV, deco RMV), l/min or cu ft/min: 0 to 200, as the settings dialog
// holds them.
inline constexpr float kMaxRMV = 200;
// Every ppO2 setting (set-points, minimum, maximum and deco ppO2), bar or atm: 0 to 3.
// The maximum END lies between the surface and the deepest depth.
inline constexpr float kMaxPPO2 = 3;
// The climb to the dive site lasts at most a week (0 or less is no climb).
inline constexpr float kMaxMinutesToAltitude = 7 * 24 * 60;

// The fullest fill of a cylinder the gas blender works out: 500 bar, or 7350 psi (500 bar
// at the blender's 14.7 psi to the bar).
inline constexpr float kMaxFillBar = 500;
inline constexpr float kMaxFillPsi = 7350;

float MaxDepth(bool metric);

// A text of the language with %1, %2, ... replaced by the arguments in order.
std::string FillIn(std::string text, std::initializer_list<std::string> args);

// A depth, rate or pressure as the diver reads it: the number with the user's decimal
// separator, a blank and its unit (m or ft, m/min or ft/min, bar or atm).
std::string DepthText(double depth, bool metric);

// The setting that breaks a bound, so a window that edits it can take the diver there.
enum class SettingsField {
    None, StepSize, LastStop, AscendRates, DescendRates, StartPressure, EndPressure,
    Gases, Setpoint, DecoSetpoint, RMV, DecoRMV, MinPPO2, MaxPPO2, DecoPPO2, MaximalEND, TimeToHeight
};

struct SettingsFault {
    SettingsField field = SettingsField::None;
    std::string text; // in the diver's words; empty when no bound is broken
    int row = -1;     // for a rate table: the first row (from 0) whose rate is outside;
                      // for the gases: the gas (index of the gas list)
};

// The first bound the dive's settings break, and which setting breaks it. Checked in
// this order: the stop spacing, the last stop, every rate of the ascent table, then of
// the descent table, the start and then the end surface pressure, the gas list and the
// gases of the switches, the set-points, RMVs, ppO2 limits, the maximum END and the time
// to the altitude. Within them every number the engine computes from them is finite.
SettingsFault FirstSettingsFault(const TemplateRec &t);

// FirstSettingsFault's text: empty when the settings are within every bound.
std::string SettingsProblem(const TemplateRec &t);

// Refuses (ErrBadSettings from `source`, with SettingsProblem's text) settings outside
// the bounds.
void CheckSettings(const TemplateRec &t, const char *source);

// Refuses (ErrBadSettings from `source`) a rate table holding a rate outside the bounds;
// the legs cut at its bands would otherwise take no time or for ever.
void CheckRates(const std::vector<RateRecord> &rows, bool metric, const char *source);

// Refuses (ErrBadSettings from `source`) a waypoint depth that is not between the
// surface and the deepest depth, naming the depth.
void CheckDepth(double depth, bool metric, const char *source);

// The text naming a setting's bound: "%1 must lie between %2 and %3" for the setting
// called `name`, the bounds with `unit` after them.
std::string BetweenProblem(const std::string &name, double low, double high, const std::string &unit);

// Legs lasting `minutes` in all, in the diver's words when that is more than
// kMaxDiveMinutes (or no number); empty when within.
std::string DiveMinutesProblem(double minutes);

// Refuses (ErrBadSettings from `source`) legs lasting more than kMaxDiveMinutes in all.
void CheckDiveMinutes(double minutes, const char *source);

} // namespace DiveBounds
