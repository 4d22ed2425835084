#pragma once
// What one segment does to the diver besides loading the compartments: gas breathed,
// oxygen tolerance units (OTU), the fraction of the CNS oxygen limit (CNS), the equivalent
// narcotic depth (END) and the ppO2, each at a constant depth and, where the engine needs
// it, for a linear change of depth.
//
// Units: depths in metres (Metric true) or feet; surface pressure in bar or atm; times in
// minutes; rates in depth units per minute, negative for an ascent; fO2 a fraction; the
// N2 and He arguments of the END forms percentages. For OTU and CNS a metric ppO2 is
// taken times kAtmPerBar (0.9887, engine/Units.h: the NOAA limits are given in atm); the ppO2 that
// CalcPPO2Var returns is the plain value.
//
// Pure functions of their arguments and the CNS limit table: no allocation, no I/O.

#include "engine/SettingsRecord.h"

#include <array>

// The CNS limit table, rows 1 to 11 (element 0 unused): row i covers the ppO2 band
// gCNSLow(i) < ppO2 <= gCNSHigh(i), in which the single-exposure time limit in minutes
// is gCNSSlope(i) x ppO2 + gCNSIntercept(i). Filled before main() runs and again by
// InitCNSTable, so no caller can meet an empty table.
constexpr int kCNSRows = 11;
using CNSColumn = std::array<float, kCNSRows + 1>;
extern CNSColumn gCNSLow;
extern CNSColumn gCNSHigh;
extern CNSColumn gCNSSlope;
extern CNSColumn gCNSIntercept;

void InitCNSTable();

// Surface volume of gas breathed (RMV's volume unit).
float GasUsedAtDepth(float Depth, float Time, float RMV, float SurfacePressure, bool Metric);
float GasUsedForDepthChange(float StartDepth, float EndDepth, float Rate, float RMV,
                            float SurfacePressure, bool Metric);

// Oxygen tolerance units.
float OTUForPPO2(float PPO2, float Time, bool Metric);
float OTUAtDepth(float Depth, float Time, float fO2, float SurfacePressure, bool Metric);
float OTUForDepthChange(float StartDepth, float EndDepth, float Rate, float fO2,
                        float SurfacePressure, bool Metric);

// Fraction of the CNS oxygen limit used (1.0 = 100 %).
// The CNS fraction left after `minutes` at the surface: it halves every 90 minutes.
float CNSAfterSurfaceInterval(float CNS, float minutes);
float CNSForPPO2(float PPO2, float Time, bool Metric);
float CNSAtDepth(float Depth, float Time, float fO2, float SurfacePressure, bool Metric);
float CNSForDepthChange(float StartDepth, float EndDepth, float Rate, float fO2,
                        float SurfacePressure, bool Metric);

// Equivalent narcotic depth in depth units, never below 0. Reads only the template's
// StartPressure. CalcENDVar is the same with He before N2 and an unused second argument.
float CalcEND(bool Metric, float Depth, float N2, float He, bool O2Narcotic,
              const TemplateRec &Template);
float CalcENDVar(bool Metric, float Unused, float Depth, float He, float N2, bool O2Narcotic,
                 const TemplateRec &Template);

// ppO2 in bar or atm at Depth, without the 0.9887 factor.
float CalcPPO2Var(float Depth, float SurfacePressure, float fO2, bool Metric);
