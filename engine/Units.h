#pragma once
// The unit factors of DOLV, each named once. A metric dive counts depths in metres of sea
// water and pressures in bar, an imperial one in feet of sea water and atm. The values are
// the ones the planner's numbers were frozen with: code converting with them keeps its own
// expression and operand order, only the literal gets its name.

// Depth units per unit of pressure: 10 msw per bar, 33 fsw per atm. Both are exact in a
// float and in a double, so a caller working in either precision gets the same value.
constexpr float DepthUnitsPerBar(bool Metric)
{
    return Metric ? 10.0f : 33.0f;
}

// The same pairing of the two depth units, 33 fsw to 10 msw: the END formula works in
// metres (feet / 3.3), and the depth adjustment's 1 m is 3.3 ft.
constexpr double kFswPerMsw = 3.3;

// Lengths (altitudes, and the depths the settings dialog converts): feet per metre and
// metres per foot.
constexpr double kFeetPerMetre = 3.2808;
constexpr double kMetresPerFoot = 0.3048;
