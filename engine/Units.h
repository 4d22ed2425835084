#pragma once
// The unit factors of DOLV, each named once. A metric dive counts depths in metres of sea
// water and pressures in bar, an imperial one in feet of sea water and atm. The values are
// the ones the planner's numbers were frozen with: code converting with them keeps its own
// expression and operand order, only the literal gets its name. Where two factors seem to
// say the same thing with different numbers, the difference is meant and said below.

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
// metres per foot. These are the lengths' own factors, not the sea water's: a depth typed
// in the settings dialog converts at 3.2808 ft per metre (32.808 ft per 10 m), while the
// planner's pressures count 33 fsw against 10 msw (kFswPerMsw above).
constexpr double kFeetPerMetre = 3.2808;
constexpr double kMetresPerFoot = 0.3048;

// The factor a length takes into the units `toMetric` names. A depth switched between units
// converts as a length, 32.808 ft per 10 m, not at the planner's 33 fsw per 10 msw: a
// depth keeps its measure, not its pressure.
constexpr double LengthFactorInto(bool toMetric)
{
    return toMetric ? kMetresPerFoot : kFeetPerMetre;
}

// Pressure: bar per atm (1.01325, exact by definition), and the atm per bar the program
// takes a metric ppO2 in for the oxygen limits and the settings dialog's ppO2 boxes. The
// latter is 0.9887, not 1 / 1.01325 (0.98692): the numbers were worked out with it, and
// it stays so that no limit, plan or converted setting moves.
constexpr double kBarPerAtm = 1.01325;
constexpr double kAtmPerBar = 0.9887;

// The Bühlmann a coefficients, given in msw, are taken to fsw by the pressure they stand
// for: 33 fsw per atm / 1.01325 bar per atm / 10 msw per bar = 3.2568467 fsw per msw (not
// the depths' 3.3 of kFswPerMsw). A bar of pressure is 32.5684678 fsw by the same count.
constexpr double kFswPerMswOfPressure = 3.2568467;
constexpr double kFswPerBar = 32.5684678;

// Volumes (breathing rates): cubic feet per litre and litres per cubic foot.
constexpr double kCuFtPerLitre = 0.0353157;
constexpr double kLitresPerCuFt = 28.316017;

// The gas blender counts 14.7 psi to the bar (the psi of an atm, not 14.5038 per bar):
// shown pressures in psi are bar x 14.7, and a fill typed in psi is bar times kBarPerPsi
// (1 / 14.7 as a double).
constexpr double kPsiPerBar = 14.7;
constexpr double kBarPerPsi = 0.06802721088435375;
