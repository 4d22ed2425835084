#pragma once
// The dive report: a computed dive, or every dive of a series, printed as pages a diver
// takes to the boat. Each dive gets the settings block it was computed with, a table of
// every waypoint, the diver's own legs and the decompression stops, the dive's totals
// and the gas used per gas.
//
// One report is one print job:
//
//     StartReport(ticks);                              // a new, empty job, page 1
//     LongReport(profile, settings, isSeries, n, si);  // once per dive, pages numbered on
//     ShowReportPreview();                             // the preview, modeless
//
// PrintDiveReport runs that sequence for the report command. Positions are centimetres
// on an A4 landscape page (print/PrintPreview.h); every text is Arial.
//
// LongReport, PrintInfoHeader and PrintDiveInfoHeader are guarded: an error shows the
// common error box ("GenerateReport." and the procedure's name) and the procedure ends
// there; the job goes on. A dive whose report stops that way still has its open page
// closed, so the next dive starts on a page of its own and the page count stays right.

#include "engine/ClassProfile.h"
#include "engine/SettingsRecord.h"
#include "reports/ModelName.h"

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

// The report's cursors and running values, shared by every part of it (a new job and
// a new dive start from the values their procedures set).
struct ReportState {
    int16_t pageNumber = 1;     // number in the footer of the page being written
    bool pageOpen = false;      // a page is begun and its footer not yet written
    float reportY = 0;          // settings block, dive totals and gas table
    float profileY = 0;         // waypoint table
    float stopY = 0;            // segment and deco-stop tables
    float stopSectionTop = 0;   // where the stop tables of this page begin
    float gasSectionTop = 0;    // top of the gas table's frame
    float pageBottom = 0;       // top of the part of the current table on this page
    bool metric = true;         // the unit of the dive being written (continuation headings)
    bool showGFWarning = false; // the dive's gradient factors are on with high above 1.0
    std::vector<GasRecord> gasList; // the dive's gases with the amount each was used
    float maxPPO2 = 0, minPPO2 = 0, maxEND = 0;
    AlgorithmTicks ticks; // the algorithm menu as the job started: the model labels
};
extern ReportState gReport;

// Column x positions (cm) of the five tables; column k spans element k-1 to element k.
extern std::array<float, 25> gProfileCols;
extern std::array<float, 16> gInfoCols;
extern std::array<float, 20> gStopCols;
extern std::array<float, 20> gGasCols;
extern std::array<float, 16> gDiveInfoCols;
// Back to the state before any job: the report and the columns of its tables.
void ResetGeneralReport();

// RGB colours as the spool takes them (red + 256 green + 65536 blue).
inline constexpr int32_t ReportRGB(int r, int g, int b) { return r + 256 * g + 65536 * b; }
inline constexpr int32_t kReportWhite = ReportRGB(255, 255, 255);
inline constexpr int32_t kReportBlack = 0;
inline constexpr int32_t kReportRowShade = ReportRGB(220, 220, 220);
inline constexpr int32_t kReportHeadingShade = ReportRGB(160, 160, 160);
inline constexpr int32_t kReportBand = ReportRGB(0, 0, 0);
inline constexpr int32_t kReportRed = ReportRGB(255, 0, 0);

// The job; `ticks` name the models on every page of it.
void StartReport(const AlgorithmTicks &ticks = {});
// One dive's pages. `settings` is the dive's own: its EndAltitude is recomputed from its
// EndPressure as the settings block prints it.
void LongReport(const ClassProfile &profile, TemplateRec &settings, bool isSeries, int16_t diveNumber,
                float surfaceInterval);
void ShowReportPreview();

// What the report command prints of dive `profileNr`.
enum class ReportChoice {
    SingleDive,  // a dive on its own
    CurrentDive, // only this dive of its series
    AllDives,    // every dive of its series, from the first
};
// The whole report of the open dive `profileNr` (a dive that is not open prints
// nothing), its models named by the algorithm menu's `ticks` as the command started
// (the menu stays free while the pages are composed). The progress box, shown or not,
// is unloaded at the end, so the pointer is the arrow again after every report.
void PrintDiveReport(int16_t profileNr, ReportChoice choice, const AlgorithmTicks &ticks);

// The progress box's label: "Page", the page number and the text of `stringId`.
void ReportProgress(int16_t stringId);

// Page machinery.
void PrintReportPageHeader(bool showGFWarning);
void PrintReportPageFooter();
void NewInfoPageIfFull();
void NewPageIfFull();
void NewProfilePageIfFull(bool more);
void NewStopPageIfFull(bool more);
// The deco-stop column heading under the segment table just closed, or on a new page
// (with the continued heading) when it and one stop row would not fit above the limit.
void StartDecoStopTable();

// The settings block at reportY; reportY ends 3.8 cm lower, 5.8 with the series box.
void PrintInfoHeader(TemplateRec &settings, bool isSeries, int16_t diveNumber, float surfaceInterval);

// Table headings.
void PrintProfileTableHeader(bool isMetric, bool continued);
void PrintStopTableHeader(bool isMetric, bool continued);
void PrintStopColumnHeader(bool isMetric);
void PrintGasTableHeader(bool isMetric);
void PrintDiveInfoHeader();

// Cells, rows, bands and grids.
void PrintProfileCellRight(int col, float y, const QString &text, bool bold = false);
// `size` in points: a gas name too long for its column comes a little smaller.
void PrintProfileCellLeft(int col, float y, const QString &text, bool bold = false, int16_t size = 10);
void PrintStopCell(int col, float y, const QString &text, bool bold = false, int16_t size = 10);
void PrintGasCell(int col, float y, const QString &text);
void PrintStopRow(const std::array<QString, 10> &texts, bool bold, bool isMessage);
void PrintGasRow(const QString &name, const QString &o2, const QString &he, const QString &rmv,
                 const QString &decoRmv, const QString &used, const QString &reserve);
void PrintDiveInfoRow(const std::array<QString, 11> &texts, bool isMetric, bool isMessage);
void DrawRowLine(float y);
void DrawStopRowLine(float y);
void DrawGasRowLine(float y);
void DrawProfileGrid(float y);
void DrawInfoGrid(float y);
void DrawStopGrid(float y);
void DrawGasGrid(float y);

// Waypoint indexes (after the start point) with a stop depth, in order.
std::vector<int16_t> DecoStopIndexes(const ClassProfile &profile);
