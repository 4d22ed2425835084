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

// Prints the sheet of one blend as a new print job and shows it in the print preview.
// The blend is printed in its own unit (`data.Metric`), whatever dive is active. The two
// flags say whether the partial pressures and the air top can be reached; the sheet
// prints the blend as it is either way (the window offers Print only while the air top
// can be reached).
void PrintPartialMix(bool partialReachable, bool airTopReachable, const MixPrintData &data);

// The parts of the sheet, in the order PrintPartialMix calls them.
// Starts the job and the page: the header band with the date.
void PrintMixHeader();
// The current and the desired cylinder: fill and mix.
void PrintMixTable1(const MixPrintData &data);
// The O2, He and air to add by the air top.
void PrintMixTable2(const MixPrintData &data);
// The footer band with the user and the page number, then the preview.
void PrintMixFooter();
