#pragma once
// Surface pressure at an altitude and back, by the exponential barometric formula
// p = p0 x e^(-0.000116 x altitude in metres), p0 = 101325 Pa: in bar for a metric dive
// (altitude in metres), in atm for an imperial one (altitude in feet).

#include <cstdint>

float AltitudeToPressure(float Altitude, bool Metric);

// Whole metres or feet, rounded halves to even. A pressure of 0 or below is error 5; an
// altitude outside the 16-bit range is error 6.
int16_t PressureToAltitude(float Pressure, bool Metric);
