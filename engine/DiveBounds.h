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
// Widest stop spacing and deepest last stop: 30 m or 100 ft. At 30 m only a gas near the
// highest ppO2 of the bounds (3) lets the slow compartments clear the surface; deeper none
// does, and the last stop never clears. A spacing puts the first stop at the surface for
// any dive shallower than one and a half spacings, holding a diver who needs a stop at the
// bottom until the surface clears: a spacing of hundreds of metres is a slip.
inline constexpr float kMaxStopMetric = 30;
inline constexpr float kMaxStopImperial = 100;
// Slowest and fastest travel rate of a rate table: 0.1 to 100 m/min, 0.3 to 330 ft/min.
inline constexpr float kMinRateMetric = 0.1f;
inline constexpr float kMaxRateMetric = 100;
inline constexpr float kMinRateImperial = 0.3f;
inline constexpr float kMaxRateImperial = 330;
// Surface pressure at the start and the end, bar or atm: from above the highest summit
// (0.2) to a little above the highest sea-level pressure (1.2).
inline constexpr float kMinSurfacePressure = 0.2f;
inline constexpr float kMaxSurfacePressure = 1.2f;
// Start altitude and dive-site altitude, metres or feet: the whole altitudes whose
// surface pressure (AltitudeToPressure) lies within the pressure bounds, as the settings
// dialog stores them, and in feet no higher than the 16-bit altitude PressureToAltitude
// gives back.
inline constexpr float kMinAltitudeMetric = -1458;
inline constexpr float kMaxAltitudeMetric = 13987;
inline constexpr float kMinAltitudeImperial = -5156;
inline constexpr float kMaxAltitudeImperial = 32767;
// Every surface pressure belongs to the altitude beside it: the climb before the dive goes
// to the start altitude, the dive starts from the start pressure and surfaces at the end
// pressure, and the windows show the altitudes. Files keep a pressure to the altitude's
// Single, or rounded to three decimals (older files, and 1.013 at sea level), at most
// 0.0005 from it; the slack adds the rounding of a Single near 1.
inline constexpr float kAltitudePressureSlack = 0.000501f;
// The diver's own legs of one dive last at most a week in all.
inline constexpr float kMaxDiveMinutes = 7 * 24 * 60;
// The decompression stops of one ascent last at most 14 days in all; every stop on its
// own at most 24 hours (ErrStopCap).
inline constexpr float kMaxDecoMinutes = 14 * 24 * 60;

// Gas fractions in percent: each of O2, He and N2 0 to 100; a gas of the list adds up to
// 100, the fractions a switch keeps of a gas to at most 100 (a switch whose gas was deleted
// keeps 0, 0, 0 and never applies), both within a hundredth for the rounding of the files.
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
// Gradient factors, when they are on: 0 < GF low <= GF high <= 1.2, the limit of the
// very-high switch, so files written under it open ("GF=1" alone gives 1 and 1).
inline constexpr float kMaxGradientFactor = 1.2f;
// The surface interval before a dive of a series: 0 to 24 hours and 59 minutes, the
// longest the next-dive dialog gives.
inline constexpr float kMaxSurfaceMinutes = 24 * 60 + 59;

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
    Gases, GasChanges, TemplateName, Setpoint, DecoSetpoint, RMV, DecoRMV, MinPPO2, MaxPPO2, DecoPPO2, MaximalEND, TimeToHeight,
    GradientFactors
};

struct SettingsFault {
    SettingsField field = SettingsField::None;
    std::string text; // in the diver's words; empty when no bound is broken
    int row = -1;     // for a rate table: the first row (from 0) whose rate or band depth
                      // is outside; for the gases: the gas (index of the gas list)
};

// The first bound the dive's settings break, and which setting breaks it. Checked in
// this order: the stop spacing, the last stop, every rate of the ascent table, then of
// the descent table, the band depths of both (rising from row to row), the start and
// then the end surface pressure, the start and then the dive-site altitude, each pressure
// against its altitude (reported as StartPressure or EndPressure: the altitude box is
// where both are typed), the gas list, the gases of the switches and their depths (row:
// the switch), the set-points, RMVs, ppO2 limits (the minimum below the maximum), the
// maximum END, the time to the altitude and the gradient factors when they are on.
// Within them every number the engine computes from them is finite.
SettingsFault FirstSettingsFault(const TemplateRec &t);

// FirstSettingsFault's text: empty when the settings are within every bound.
std::string SettingsProblem(const TemplateRec &t);

// Refuses (ErrBadSettings from `source`, with SettingsProblem's text) settings outside
// the bounds.
void CheckSettings(const TemplateRec &t, const char *source);

// Refuses (ErrBadSettings from `source`) a rate table holding a rate outside the bounds;
// the legs cut at its bands would otherwise take no time or for ever.
void CheckRates(const std::vector<RateRecord> &rows, bool metric, const char *source);

// A waypoint depth that is not between the surface and the deepest depth, in the diver's
// words naming the depth; empty when within.
std::string DepthProblem(double depth, bool metric);

// Refuses (ErrBadSettings from `source`) a waypoint depth DepthProblem speaks of.
void CheckDepth(double depth, bool metric, const char *source);

// The text naming a setting's bound: "%1 must lie between %2 and %3" for the setting
// called `name`, the bounds with `unit` after them.
std::string BetweenProblem(const std::string &name, double low, double high, const std::string &unit);

// Legs lasting `minutes` in all, in the diver's words when that is more than
// kMaxDiveMinutes (or no number); empty when within.
std::string DiveMinutesProblem(double minutes);

// Refuses (ErrBadSettings from `source`) legs lasting more than kMaxDiveMinutes in all.
void CheckDiveMinutes(double minutes, const char *source);

// A surface interval outside 0 to kMaxSurfaceMinutes, in the diver's words; empty when
// within.
std::string SurfaceIntervalProblem(double minutes);

} // namespace DiveBounds
