#pragma once
// The arithmetic of partial-pressure blending: how much O2, He and air to put into a
// cylinder that holds a known fill of a known mix so that it ends at a desired fill of a
// desired mix. Two answers: the ideal-gas one (partial pressures proportional to the
// fill, topped up with air of 21 % O2) and a real-gas one after the van der Waals
// equation of state at 293 K (He first, then O2, then air of 20.8 % O2 to the fill).
//
// Units: pressures in bar; ideal-gas amounts in percent x bar (100 x partial pressure in
// bar); molar densities in mol per litre of cylinder; temperature in kelvin. Values are
// stored as Singles and each expression is worked in double, so results round as the
// blending tables the constants come from do.
//
// Pure functions of their arguments: nothing here reads a window, a dive or a setting.

#include "engine/Units.h"

#include <optional>

// Psi and bar: kPsiPerBar and kBarPerPsi (engine/Units.h).
// Temperature of every real-gas fill, in kelvin.
inline constexpr float kBlendTemperature = 293;

// What is in the cylinder and what it is to hold. N2 is 100 - O2 - He of each (it may be
// negative after the diver typed O2 + He over 100).
struct BlendInputs {
    float CurO2Pct = 0, CurHePct = 0, CurN2Pct = 0;
    float CurFillValue = 0; // current fill as typed: bar, or psi for an imperial dive
    float DesO2Pct = 0, DesHePct = 0, DesN2Pct = 0;
    float DesFillBar = 0; // desired fill in bar
    bool Metric = true;   // false: CurFillValue is in psi
};

// The current fill in bar.
float CurrentFillBar(const BlendInputs &in);

// The ideal-gas answer, every amount in percent x bar.
struct AirTopFill {
    float O2Add = 0, HeAdd = 0, N2Add = 0; // partial pressures to add, x 100
    float AirTopO2 = 0;                    // pure O2 to add when the N2 comes from air
    float AirTopHe = 0;                    // pure He to add (= HeAdd)
    float AirTopAir = 0;                   // air to add
    // Every partial pressure to add is 0 or more (no gas has to be let out).
    bool PartialReachable() const { return O2Add >= 0 && HeAdd >= 0 && N2Add >= 0; }
    // Every air-top amount is 0 or more: pure O2, He and air make the mix.
    bool AirTopReachable() const { return AirTopO2 >= 0 && AirTopAir >= 0 && AirTopHe >= 0; }
};

// Ideal gas, partial pressures proportional to the fill; all N2 comes from air of
// 21/79, whose O2 is taken off the pure O2. The three air-top amounts add up to the
// desired minus the current fill.
AirTopFill CalcAirTop(const BlendInputs &in);

// Mole fractions (0..1) of O2, N2 and He.
struct GasFractions {
    float O2 = 0, N2 = 0, He = 0;
};

// Van der Waals constants of a mixture: c_mix = 1 / (sum of x_i / sqrt(c_i))^2, written
// out as 1/S with the cross terms taken from the products of the pure-gas constants.
// a in L^2 bar / mol^2, b in L / mol.
float VdwMixA(const GasFractions &x);
float VdwMixB(const GasFractions &x);

// Van der Waals pressure in bar: P = n R T / (1 - n b) - a n^2, n in mol/L, T in K.
float VdwPressure(float n, float T, float a, float b);
// Molar density (mol/L) at pressure P (bar) and temperature T (K): the real root of
// a b n^3 - a n^2 + (P b + R T) n - P = 0 in closed form (Cardano, no iteration).
float VdwDensity(float a, float b, float P, float T);

// Moles per litre of O2, air (20.8/79.2) and He to add to go from nCurrent of the current
// fractions to nDesired of the desired ones; all N2 comes from the air.
struct MolesToAdd {
    float O2 = 0, Air = 0, He = 0;
};
MolesToAdd CalcIdealTopUp(const GasFractions &desired, const GasFractions &current, float nDesired, float nCurrent);

// The real-gas answer: He is filled first up to PHe (when He is needed at all), then O2
// up to PO2, then air up to the desired fill. Pressures in bar.
struct RealGasFill {
    bool HeStep = false; // false: no He is added, PHe is the current fill
    float CurFillBar = 0;
    float PHe = 0;
    float PO2 = 0;
    float DesFillBar = 0;
    // What to add of each gas, in bar; the three add up to the desired minus the current
    // fill. Worked in double: a shown tenth must not depend on a rounded difference.
    double HeToAdd() const { return HeStep ? double(PHe) - CurFillBar : 0.0; }
    double O2ToAdd() const { return double(PO2) - (HeStep ? PHe : CurFillBar); }
    double AirToAdd() const { return double(DesFillBar) - PO2; }
};

// The van der Waals fill at 293 K. An emptied cylinder (current fill 0) has an answer: its
// density is 0 up to the closed form's rounding. No answer when either O2 percentage is 0
// or less, the current fill is below 0, the desired fill is 0 or less, or a mixture sum, a
// density or a mole sum comes out at 0 or below (only O2 + He over 100 leads there): the
// equations have no physical answer then.
std::optional<RealGasFill> CalcVanDerWaals(const BlendInputs &in);
