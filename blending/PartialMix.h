#pragma once
// The blending sheet: one printed page with the cylinder now, the cylinder wanted and
// the gas to add by the air-top method, as one blending window computed them.

// One blend as the sheet prints it. Amounts of the air top are in percent x bar; the
// current fill is as the diver typed it (bar, or psi when Metric is false), the desired
// fill in bar; percentages in percent.
struct MixPrintData {
    // The real-gas amounts to add exactly as the window shows them (its display unit);
    // the sheet does not print them.
    float IdealTopO2 = 0;
    float IdealTopHe = 0;
    float IdealTopN2 = 0; // air
    float AirTopO2 = 0;
    float AirTopHe = 0;
    float AirTopAir = 0;
    float CurO2 = 0;
    float CurHe = 0;
    float CurN2 = 0;
    float CurFill = 0;
    float DesO2 = 0;
    float DesHe = 0;
    float DesN2 = 0;
    float DesFill = 0;
    // The unit of the window that computed the blend: bar when true, psi when false.
    bool Metric = true;
};

// Prints the sheet of one blend and shows it in the print preview. Until the print
// engine is there this does nothing.
void PrintBlendSheet(const MixPrintData &data);
