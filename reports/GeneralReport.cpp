#include "reports/GeneralReport.h"

#include "engine/AltitudeModule.h"
#include "engine/DiveModel.h"
#include "engine/EngineGlobals.h"
#include "engine/LibraryModule.h"
#include "engine/RuntimeError.h"
#include "engine/VBConversions.h"
#include "platform/LibraryModule.h"
#include "platform/LocaliseForm.h"
#include "platform/ShellServices.h"
#include "platform/WaitCursor.h"
#include "print/PrintPreview.h"
#include "print/SmallTables.h"
#include "reports/ModelName.h"

#include <QDate>
#include <QLocale>

#include <algorithm>
#include <exception>
#include <functional>
#include <utility>

ReportState gReport;

std::array<float, 25> gProfileCols{};
std::array<float, 16> gInfoCols{};
std::array<float, 20> gStopCols{};
std::array<float, 20> gGasCols{};
std::array<float, 16> gDiveInfoCols{};

void ResetGeneralReport()
{
    gReport = ReportState{};
    gProfileCols = {};
    gInfoCols = {};
    gStopCols = {};
    gGasCols = {};
    gDiveInfoCols = {};
}

namespace {

const QString kArial = QStringLiteral("Arial");
constexpr int16_t kTitleSize = 18;
constexpr int16_t kGroupSize = 10;
constexpr int16_t kHeadingSize = 8;
constexpr int16_t kCellSize = 10;
constexpr float kRow = 0.5f;

// Vertical limits of the page-break checks: below them a row would run into the footer
// band, which starts at 17.3 cm.
constexpr float kProfileLimit = 17.0f;
constexpr float kStopLimit = 15.8f;
constexpr float kStopHeaderLimit = 15.5f;
constexpr float kInfoLimit = 18.5f;
// The last top of a gas-table row: its 0.5 cm end above the footer band.
constexpr float kGasLimit = 16.8f;
// Room for a gas name in the stop tables: from its column to the dark band of the O2.
constexpr float kStopNameWidth = 1.6f;
// The smallest size a gas name is printed at to stay whole in its column.
constexpr int16_t kSmallestName = 7;

QString S(int16_t id)
{
    return GetLangStringQ(id);
}

// The "0", "0.0", ... patterns with the locale's decimal separator.
QString Fixed(float v, int decimals)
{
    return QString::fromStdString(LocaliseNumberText(FormatFixed(v, decimals), gDecimalSeparator));
}

// A number in its shortest form ("20", "2.5", "-9"), the locale's decimal separator.
QString Plain(float v)
{
    return QString::fromStdString(LocaliseNumberText(JoinStr(v), gDecimalSeparator));
}

void Left(float x, float y, const QString &text, int16_t size, bool bold = false)
{
    PrintTextLeft(x, y, text, kArial, size, bold ? 1 : 0);
}

void Right(float x, float y, const QString &text, int16_t size, bool bold = false)
{
    PrintTextRight(x, y, text, kArial, size, bold ? 1 : 0);
}

// A gas name as the waypoint and stop tables print it in `width` cm: whole, a little
// smaller where that makes it fit (down to kSmallestName points), otherwise as its O2/He
// (Trimix 18/45 and Trimix 21/35 must never both read "Trimix..."). The gas table
// prints every name whole.
QString GasLabel(const WayPoint &w, float width)
{
    const QString name = QString::fromStdString(w.GasMixName);
    if (SpoolTextWidth(name, kArial, kSmallestName, false) / 567 <= width)
        return name;
    return GasMixText(w.GasMixO2, w.GasMixHe);
}

// The decimals the deco step and the last stop need (a 1.5 m step: one), as the settings
// block prints them; the stop tables print their depths with these or more.
int StepDecimals(const TemplateRec &tmpl)
{
    return std::max(FewestDecimals(tmpl.StepSize), FewestDecimals(tmpl.LastStop));
}

// The top of a text of `size` points whose baseline is that of the 10-point cells at y.
float OnCellLine(float y, int16_t size)
{
    return y + static_cast<float>(kCellSize - size) * 0.9f * 2.54f / 72;
}

// A bold column heading within `width` cm, so that it never runs into the heading of
// the next column: a language whose word is longer than the column gets a smaller size
// (down to 6 pt) rather than one word of two headings.
void HeadingWithin(float x, float y, const QString &text, float width)
{
    Left(x, y, text, SizeWithin(text, kHeadingSize, 6, width, true), true);
}

void Colour(int32_t colour)
{
    SetPrintForeColor(colour);
}

// A title band: the shaded box and its outline.
void TitleBand(float x1, float y1, float x2, float y2)
{
    PrintFilledBox(x1, y1, x2, y2, kReportHeadingShade);
    Colour(kReportBlack);
    PrintBoxOutline(x1, y1, x2, y2);
}

// A dark band under white cells with its white outline.
void DarkBand(float x1, float y1, float x2, float y2)
{
    PrintFilledBox(x1, y1, x2, y2, kReportBand);
}

// Runs one guarded part of the report: an error shows the common error box with the
// part's place name and ends the part.
bool Guarded(const char *place, const std::function<void()> &part)
{
    try {
        part();
        return true;
    } catch (RuntimeError &e) {
        e.setSource(place);
        Shell().ShowErrorInfo(e);
    } catch (const std::exception &e) {
        Shell().ShowErrorInfo(RuntimeError(ErrInvalidCall, place, e.what()));
    }
    return false;
}

int16_t StatusWordId(const WayPoint &w)
{
    switch (w.Status) {
    case 0: return 6004;
    case 1: return 6005;
    case 2: return 6006;
    case 3: return 6007;
    case 4: return 6008;
    case 5: return 6009;
    default: break;
    }
    if (!w.DoShow)
        return 6010;
    if (w.Rate < 0)
        return 6011;
    if (w.Rate > 0)
        return 6012;
    return 0;
}

// The columns of the five tables.
void InitProfileColumns()
{
    gProfileCols = {2, 3.4f, 4.4f, 5.6f, 6.8f, 7.4f, 9.4f, 10.5f, 11.4f, 13.4f, 15.2f, 16.4f, 17.4f,
                    18.4f, 19.4f, 20.4f, 21.8f, 22.8f, 24.4f, 25, 27};
}

void InitInfoColumns()
{
    gInfoCols = {2, 3.3f, 4.4f, 5.9f, 7.5f, 8.8f, 10.5f, 13, 15, 17, 18, 19, 20, 22, 24, 27.1f};
}

void InitStopColumns()
{
    gStopCols = {2, 3, 4.5f, 7, 8.8f, 9.8f, 10.8f, 12, 15, 17.5f, 19.5f, 22, 24};
    gStopCols[18] = 27.1f;
}

void InitGasColumns()
{
    gGasCols = {2, 4, 5.3f, 7.5f, 9.5f, 11, 12.5f, 15, 16.6f, 17.9f, 21, 24};
}

void InitDiveInfoColumns()
{
    gDiveInfoCols = {2, 3.5f, 5.2f, 8, 9.5f, 11, 12.5f, 14, 16, 17.5f, 19, 20.5f, 21, 22, 24, 27.1f};
}

// Closes the table part on this page: the frame from the part's top to the cursor.
void OutlineStopPart()
{
    Colour(kReportBlack);
    PrintBoxOutline(gStopCols[0] - 0.1f, gReport.pageBottom + 0.5f, gStopCols[18], gReport.stopY + 0.5f);
}

void OutlineProfilePart()
{
    Colour(kReportBlack);
    PrintBoxOutline(gProfileCols[0] - 0.1f, gReport.pageBottom - 0.04f, 27.1f, gReport.profileY);
}

// Whether the stop rows being written are the deco-stop table's (its continuation pages
// repeat its column heading) or the segment table's.
bool gInDecoTable = false;

void WriteLongReport(const ClassProfile &profile, TemplateRec &tmpl, bool isSeries, int16_t diveNumber,
                     float surfaceInterval);

} // namespace

void ReportProgress(int16_t stringId)
{
    QString text = S(6000) + QStringLiteral(" ") + QString::number(gReport.pageNumber);
    if (stringId != 6017)
        text += QStringLiteral(" ") + S(stringId);
    else
        text = S(6017);
    Shell().SetProgressText(text);
}

void StartReport(const AlgorithmTicks &ticks)
{
    BeginPrintJob();
    gReport.pageNumber = 1;
    gReport.pageOpen = false;
    gReport.ticks = ticks;
    ReportProgress(6001);
}

void ShowReportPreview()
{
    ReportProgress(6017);
    ShowPrintPreview(S(6018));
}

void PrintReportPageHeader(bool showGFWarning)
{
    const QString date = QLocale().toString(QDate::currentDate(), QLocale::ShortFormat);
    PrintPageHeader(S(6081), S(showGFWarning ? 6082 : 6084), S(6083) + date);
    gReport.pageOpen = true;
}

void PrintReportPageFooter()
{
    EndPrintPageFooter(S(6085) + QString::fromStdString(GetNetUserName()), S(6086), S(6087),
                       S(6000) + QString::number(gReport.pageNumber));
    gReport.pageOpen = false;
    ++gReport.pageNumber;
}

void NewInfoPageIfFull()
{
    gReport.reportY += kRow;
    if (gReport.reportY > kInfoLimit) {
        gReport.reportY = 1.5f;
        PrintReportPageFooter();
        PrintReportPageHeader(gReport.showGFWarning);
    }
}

void NewPageIfFull()
{
    gReport.profileY = 5.0f;
    PrintReportPageFooter();
    PrintReportPageHeader(gReport.showGFWarning);
}

void NewProfilePageIfFull(bool more)
{
    gReport.profileY += kRow;
    if (more && gReport.profileY > kProfileLimit) {
        OutlineProfilePart();
        gReport.profileY = 5.0f;
        PrintReportPageFooter();
        PrintReportPageHeader(gReport.showGFWarning);
        PrintProfileTableHeader(gReport.metric, true);
        gReport.pageBottom = gReport.profileY;
    }
}

namespace {

// The next page of the stop tables: the continued heading, and for the deco-stop table
// its column heading again.
void ContinueStopTablesOnNewPage(bool withDecoHeading)
{
    gReport.stopY = 5.0f;
    gReport.stopSectionTop = 5.0f;
    PrintReportPageFooter();
    PrintReportPageHeader(gReport.showGFWarning);
    PrintStopTableHeader(gReport.metric, true);
    if (withDecoHeading) {
        gReport.stopY -= 0.2f;
        PrintStopColumnHeader(gReport.metric);
    }
    gReport.pageBottom = gReport.stopY;
}

} // namespace

void NewStopPageIfFull(bool more)
{
    gReport.stopY += kRow;
    if (more && gReport.stopY > kStopLimit) {
        OutlineStopPart();
        ContinueStopTablesOnNewPage(gInDecoTable);
    }
}

void StartDecoStopTable()
{
    // The column heading takes the cursor 1.9 cm down (it starts 0.2 cm up and is 2.1
    // high). With the first row under it, it must end above the limit the rows break at,
    // or the heading and the first stop would be drawn under the footer band (17.3 cm).
    if (gReport.stopY - 0.2f + 2.1f + kRow > kStopLimit) {
        ContinueStopTablesOnNewPage(true);
        return;
    }
    gReport.stopY -= 0.2f;
    PrintStopColumnHeader(gReport.metric);
    gReport.pageBottom = gReport.stopY;
}

// ---- cells, rows, bands and grids ----

namespace {

int32_t ProfileCellColour(int col)
{
    return (col >= 1 && col <= 4) || (col >= 11 && col <= 14) ? kReportWhite : kReportBlack;
}

} // namespace

void PrintProfileCellRight(int col, float y, const QString &text, bool bold)
{
    Colour(ProfileCellColour(col));
    const float mid = gProfileCols[col - 1] + (gProfileCols[col] - gProfileCols[col - 1]) / 2;
    Right(mid, y, text, kCellSize, bold);
}

void PrintProfileCellLeft(int col, float y, const QString &text, bool bold, int16_t size)
{
    Colour(ProfileCellColour(col));
    Left(gProfileCols[col - 1], OnCellLine(y, size), text, size, bold);
}

void PrintStopCell(int col, float y, const QString &text, bool bold, int16_t size)
{
    Left(gStopCols[col - 1], OnCellLine(y, size), text, size, bold);
}

void PrintGasCell(int col, float y, const QString &text)
{
    Left(gGasCols[col - 1], y, text, kCellSize);
}

void PrintStopRow(const std::array<QString, 10> &t, bool bold, bool isMessage)
{
    const float y = gReport.stopY + 0.5f;
    if (isMessage) {
        DrawStopRowLine(y);
        Colour(kReportBlack);
        PrintStopCell(7, y, t[0], bold);
        gReport.stopY += kRow;
        return;
    }
    DrawStopGrid(y);
    Colour(kReportWhite);
    // A deep stop on a step of decimals ("100.5") a little smaller, inside its band.
    const int16_t depthSize = SizeWithin(t[0], kCellSize, 8, 0.75f, bold);
    Right(gStopCols[0] + 0.7f, OnCellLine(y, depthSize), t[0], depthSize, bold);
    Colour(kReportBlack);
    Right(gStopCols[1] + 0.7f, y, t[1], kCellSize, bold);
    Colour(kReportWhite);
    Right(gStopCols[2] + 1.3f, y, t[2], kCellSize, bold);
    Colour(kReportBlack);
    PrintStopCell(4, y, t[3], bold, SizeWithin(t[3], kCellSize, kSmallestName, kStopNameWidth, bold));
    Colour(kReportWhite);
    Right(gStopCols[4] + 0.7f, y, t[4], kCellSize, bold);
    Colour(kReportBlack);
    Right(gStopCols[5] + 0.5f, y, t[5], kCellSize, bold);
    Colour(kReportWhite);
    Right(gStopCols[6] + 1.0f, y, t[6], kCellSize, bold);
    Colour(kReportBlack);
    PrintStopCell(9, y, t[7], bold);
    Colour(kReportWhite);
    PrintStopCell(10, y, t[8], bold);
    Colour(kReportBlack);
    PrintStopCell(11, y, t[9], bold);
    Colour(kReportBlack);
}

void PrintGasRow(const QString &name, const QString &o2, const QString &he, const QString &rmv,
                 const QString &decoRmv, const QString &used, const QString &reserve)
{
    const float y = gReport.reportY;
    DrawGasGrid(y);
    Colour(kReportWhite);
    PrintGasCell(1, y, name);
    Right(gGasCols[1] + 0.6f, y, o2, kCellSize);
    Right(gGasCols[2] + 0.5f, y, he, kCellSize);
    Colour(kReportBlack);
    PrintGasCell(4, y, rmv);
    PrintGasCell(5, y, decoRmv);
    Colour(kReportWhite);
    Right(gGasCols[5] + 1.2f, y, used, kCellSize);
    Right(gGasCols[6] + 1.4f, y, reserve, kCellSize);
    gReport.reportY += kRow;
    Colour(kReportBlack);
}

void PrintDiveInfoRow(const std::array<QString, 11> &t, bool isMetric, bool isMessage)
{
    const float y = gReport.reportY;
    const auto &D = gDiveInfoCols;
    PrintFilledBox(2, y, 27, y + 0.5f, kReportRowShade);
    if (isMessage) {
        Colour(kReportBlack);
        Left(D[5], y, S(6013), kCellSize);
    } else {
        // Dark bands under the white columns: the times and depth, and the breathing set.
        DarkBand(D[0] - 0.1f, y, D[3] - 0.1f, y + 0.5f);
        DarkBand(D[8] - 0.1f, y, D[13] - 0.1f, y + 0.5f);
        Colour(kReportWhite);
        Left(D[0], y, t[0], kCellSize);
        Left(D[1], y, t[1], kCellSize);
        Left(D[2], y, t[10], kCellSize);
        Colour(kReportBlack);
        Left(D[3], y, t[2], kCellSize);
        Left(D[4], y, t[3], kCellSize);
        Left(D[5], y, t[5], kCellSize);
        Left(D[6], y, t[4], kCellSize);
        Left(D[7], y, t[6], kCellSize);
        Colour(kReportWhite);
        Left(D[8], y, S(isMetric ? 6053 : 6054), kCellSize);
        Left(D[9], y, t[7], kCellSize);
        Left(D[10], y, t[8], kCellSize);
        Left(D[11], y, t[9], kCellSize);
    }
    Colour(kReportBlack);
    PrintBoxOutline(D[0] - 0.1f, 4.0f, D[15], 6.5f);
    PrintBoxOutline(D[0] - 0.1f, 4.0f, D[15], 7.0f);
    gReport.reportY += 2.0f;
}

void DrawRowLine(float y)
{
    PrintFilledBox(1.9f, y, 27.1f, y + 0.5f, kReportRowShade);
}

void DrawStopRowLine(float y)
{
    PrintFilledBox(1.9f, y, gStopCols[18], y + 0.45f, kReportRowShade);
}

void DrawGasRowLine(float y)
{
    PrintFilledBox(1.9f, y, 27.0f, y + 0.46f, kReportRowShade);
}

void DrawProfileGrid(float y)
{
    const auto &P = gProfileCols;
    DarkBand(1.9f, y, P[4] + 0.1f, y + 0.5f);
    DarkBand(P[10] - 0.7f, y, P[14] + 0.1f, y + 0.5f);
    Colour(kReportWhite);
    PrintBoxOutline(1.9f, y, P[4] + 0.1f, y + 0.5f);
    PrintBoxOutline(P[10] - 0.7f, y, P[14] + 0.1f, y + 0.5f);
    PrintFilledBox(1.9f, y + 0.45f, P[4] + 0.1f, y + 0.5f, kReportWhite);
    PrintFilledBox(1.9f, y + 0.45f, 27.1f, y + 0.5f, kReportWhite);
    PrintFilledBox(P[10] - 0.7f, y + 0.45f, P[14] + 0.1f, y + 0.5f, kReportWhite);
}

void DrawInfoGrid(float y)
{
    const auto &I = gInfoCols;
    const float bands[3][2] = {{1.9f, I[4] - 0.1f}, {I[6] - 0.1f, I[9] - 0.1f}, {I[13] - 0.1f, I[15]}};
    for (const auto &b : bands)
        DarkBand(b[0], y, b[1], y + 0.5f);
    Colour(kReportWhite);
    for (const auto &b : bands)
        PrintBoxOutline(b[0], y, b[1], y + 0.5f);
}

void DrawStopGrid(float y)
{
    const auto &St = gStopCols;
    // The band behind column 7 covers its value, right-aligned at element 6 + 1.0.
    const float bands[5][2] = {{1.9f, St[1] - 0.2f},
                               {St[2] - 0.2f, St[3] - 1.0f},
                               {St[4] - 0.1f, St[5] - 0.2f},
                               {St[6] - 0.2f, St[6] + 1.1f},
                               {St[9] - 0.3f, St[10] - 0.5f}};
    for (const auto &b : bands)
        DarkBand(b[0], y, b[1], y + 0.5f);
    Colour(kReportWhite);
    for (const auto &b : bands) {
        PrintBoxOutline(b[0], y, b[1], y + 0.5f);
        PrintFilledBox(b[0], y + 0.45f, b[1], y + 0.5f, kReportWhite);
    }
}

void DrawGasGrid(float y)
{
    const auto &G = gGasCols;
    const float bands[2][2] = {{1.9f, G[3] - 0.7f}, {G[5] - 0.7f, G[7] - 0.1f}};
    for (const auto &b : bands)
        DarkBand(b[0], y, b[1], y + 0.5f);
    Colour(kReportWhite);
    for (const auto &b : bands) {
        PrintBoxOutline(b[0], y, b[1], y + 0.5f);
        PrintFilledBox(b[0], y + 0.45f, b[1], y + 0.5f, kReportWhite);
    }
}

// ---- table headings ----

void PrintProfileTableHeader(bool isMetric, bool continued)
{
    InitProfileColumns();
    const auto &P = gProfileCols;
    const float top = gReport.profileY;
    TitleBand(1.9f, top, 27.1f, top + 0.8f);
    PrintBoxOutline(1.9f, top + 0.8f, 27.1f, top + 2.26f);
    Left(13.5f, top, S(continued ? 6057 : 6058), kTitleSize, true);

    const float group = top + 1.0f, column = top + 1.5f, unit = top + 1.9f;
    Left(P[0] + 0.5f, group, S(6059), kGroupSize, true);
    Left(P[5] + 0.6f, group, S(6035), kGroupSize, true);
    Left(P[10] + 0.4f, group, S(6040), kGroupSize, true);
    Left(P[15] + 1.3f, group, S(6075), kGroupSize, true);

    const std::pair<float, int16_t> columns[] = {
        {P[0], 6060}, {P[1] - 0.3f, 6063}, {P[2], 6066}, {P[3], 6068}, {P[5], 6069},
        {P[6], 6070}, {P[7], 6071}, {P[8], 6072}, {P[10], 6073}, {P[11], 6074},
        {P[12], 6044}, {P[13], 6041}, {P[15], 6069}, {P[16], 6076}, {P[17], 6077}, {P[18], 6078}};
    for (const auto &[x, id] : columns)
        Left(x, column, S(id), kHeadingSize, true);
    Left(P[0], unit, S(isMetric ? 6061 : 6062), kHeadingSize);
    Left(P[1] - 0.2f, unit, S(isMetric ? 6064 : 6065), kHeadingSize);
    Left(P[2], unit, S(6067), kHeadingSize);
    Left(P[3], unit, S(6067), kHeadingSize);
    Left(P[18], unit, S(isMetric ? 6079 : 6080), kHeadingSize);
    gReport.profileY += 2.3f;
}

void PrintStopTableHeader(bool isMetric, bool continued)
{
    InitStopColumns();
    if (gReport.stopY > kStopHeaderLimit) {
        gReport.stopY = 3.0f;
        gReport.stopSectionTop = 3.0f;
        PrintReportPageFooter();
        PrintReportPageHeader(gReport.showGFWarning);
    }
    const auto &St = gStopCols;
    const float top = gReport.stopY;
    TitleBand(St[0] - 0.1f, top, St[18], top + 0.8f);
    PrintBoxOutline(St[0] - 0.1f, top + 0.8f, St[18], top + 2.6f);
    PrintTextCentered(13.5f, top, S(continued ? 6088 : 6089), kArial, kTitleSize, 1);

    const float group = top + 1.0f, column = top + 1.5f, unit = top + 2.0f;
    Left(St[0] + 0.25f, group, S(6090), kGroupSize, true);
    Left(St[3] + 1.2f, group, S(6093), kGroupSize, true);
    Left(St[8] + 2.0f, group, S(6095), kGroupSize, true);
    const std::pair<float, int16_t> columns[] = {{St[0], 6060}, {St[1], 6063}, {St[2], 6091}, {St[3], 6069},
                                                 {St[4], 6076}, {St[5], 6077}, {St[6], 6094}, {St[8], 6069},
                                                 {St[9], 6071}, {St[10], 6070}};
    for (const auto &[x, id] : columns)
        Left(x, column, S(id), kHeadingSize, true);
    Left(St[0], unit, S(isMetric ? 6027 : 6029), kHeadingSize);
    Left(St[1], unit, S(isMetric ? 6064 : 6065), kHeadingSize);
    Left(St[2], unit, S(6092), kHeadingSize);
    gReport.stopY += 2.1f;
}

void PrintStopColumnHeader(bool isMetric)
{
    const auto &St = gStopCols;
    const float top = gReport.stopY;
    Colour(kReportBlack);
    PrintBoxOutline(St[0] - 0.1f, top + 0.7f, St[18], top + 2.6f);
    const float group = top + 1.0f, column = top + 1.5f, unit = top + 2.0f;
    Left(St[0] + 0.25f, group, S(6096), kGroupSize, true);
    Left(St[3] + 1.2f, group, S(6093), kGroupSize, true);
    Left(St[8] + 2.0f, group, S(6095), kGroupSize, true);
    // The second column holds the stop's time in minutes, so it is headed "Time".
    const std::pair<float, int16_t> columns[] = {{St[0], 6060}, {St[1], 6066}, {St[2], 6068}, {St[3], 6069},
                                                 {St[4], 6076}, {St[5], 6077}, {St[6], 6094}, {St[8], 6069},
                                                 {St[9], 6071}, {St[10], 6070}};
    for (const auto &[x, id] : columns)
        Left(x, column, S(id), kHeadingSize, true);
    Left(St[0], unit, S(isMetric ? 6027 : 6029), kHeadingSize);
    Left(St[1], unit, S(6092), kHeadingSize);
    Left(St[2], unit, S(6092), kHeadingSize);
    gReport.stopY += 2.1f;
}

void PrintGasTableHeader(bool isMetric)
{
    InitGasColumns();
    const auto &G = gGasCols;
    const float top = gReport.reportY;
    gReport.gasSectionTop = top;
    TitleBand(1.9f, top, 27.1f, top + 0.8f);
    PrintBoxOutline(1.9f, top + 0.8f, 27.1f, top + 2.26f);
    Left(11.5f, top, S(6101), kTitleSize, true);

    const float group = top + 1.0f, column = top + 1.5f, unit = top + 1.9f;
    Left(G[0] + 1.0f, group, S(6102), kGroupSize, true);
    Left(G[3], group, S(6103), kGroupSize, true);
    Left(G[4] - 1.0f, group, S(6106), kGroupSize, true);
    Left(G[5] + 1.5f, group, S(6107), kGroupSize, true);
    Left(G[0], column, S(6069), kHeadingSize, true);
    Left(G[1], column, S(6076), kHeadingSize, true);
    Left(G[2], column, S(6077), kHeadingSize, true);
    HeadingWithin(G[5], column, S(6108), G[6] - G[5] - 0.1f);
    HeadingWithin(G[6], column, S(6111), G[7] - G[6] - 0.1f);
    Left(G[3], unit, S(isMetric ? 6104 : 6105), kHeadingSize);
    Left(G[4], unit, S(isMetric ? 6104 : 6105), kHeadingSize);
    Left(G[5], unit, S(isMetric ? 6109 : 6110), kHeadingSize);
    Left(G[6], unit, S(isMetric ? 6109 : 6110), kHeadingSize);
    gReport.reportY += 2.3f;
}

void PrintDiveInfoHeader()
{
    Guarded("GenerateReport.PrintDiveInfoHeader", [] {
        InitDiveInfoColumns();
        const auto &D = gDiveInfoCols;
        const float top = 4.0f;
        TitleBand(D[0] - 0.1f, top, D[15], top + 0.76f);
        Left(12.0f, top, S(6113), kTitleSize, true);
        const float group = top + 1.0f, column = top + 1.5f, unit = top + 1.9f;
        Left(D[0] + 1.0f, group, S(6114), kGroupSize, true);
        Left(D[3] + 1.5f, group, S(6040), kGroupSize, true);
        Left(D[9], group, S(6126), kGroupSize, true);
        const std::pair<float, int16_t> columns[] = {{D[0], 6115}, {D[1], 6116}, {D[2], 6117}, {D[3], 6121},
                                                     {D[4], 6122}, {D[5], 6123}, {D[6], 6124}, {D[7], 6125},
                                                     {D[8], 6127}, {D[9], 6128}, {D[10], 6103}, {D[11], 6106}};
        for (const auto &[x, id] : columns)
            Left(x, column, S(id), kHeadingSize, true);
        Left(D[0], unit, S(6118), kHeadingSize);
        Left(D[1], unit, S(6118), kHeadingSize);
        Left(D[2], unit, S(gReport.metric ? 6119 : 6120), kHeadingSize);
        gReport.reportY = 6.5f;
    });
}

// ---- the settings block ----

namespace {

// Where the titles of the series box and the settings table start.
float InfoTitleX()
{
    return (27 - gInfoCols[0]) / 2 + gInfoCols[0] - 2.0f;
}

// The box above the settings of a dive of a series: its number in the series and the
// surface interval before it, from y0 down 2.0 cm.
void PrintSeriesBox(float y0, int16_t diveNumber, float surfaceInterval)
{
    const auto &I = gInfoCols;
    TitleBand(I[0] - 0.1f, y0, I[15], y0 + 0.76f);
    Left(InfoTitleX(), y0, S(6020), kTitleSize, true);
    DrawRowLine(y0 + 1.5f);
    DrawInfoGrid(y0 + 1.5f);
    Colour(kReportBlack);
    Left(I[0], y0 + 1.0f, S(6021), kGroupSize, true);
    Colour(kReportWhite);
    Left(I[0], y0 + 1.5f, QString::number(diveNumber), kCellSize);
    Colour(kReportBlack);
    Left(I[4], y0 + 1.0f, S(6022), kGroupSize, true);
    Left(I[4], y0 + 1.5f, QString::fromStdString(FormatHoursMinutes(surfaceInterval)), kCellSize);
    PrintBoxOutline(I[0] - 0.1f, y0, I[15], y0 + 2.0f);
    PrintBoxOutline(I[0] - 0.1f, y0, I[15], y0 + 1.5f);
}

// The settings table's title band, group and column headings and unit lines, from y0.
void PrintInfoHeadings(float y0, bool metric)
{
    const auto &I = gInfoCols;
    TitleBand(I[0] - 0.1f, y0, I[15], y0 + 0.76f);
    Left(InfoTitleX(), y0, S(6024), kTitleSize, true);
    Colour(kReportBlack);

    const float group = y0 + 1.0f, column = y0 + 1.5f, unit = y0 + 2.0f;
    const int16_t pressureUnit = metric ? 6028 : 6030, depthUnit = metric ? 6027 : 6029;
    Left(I[0] + 1.0f, group, S(6025), kGroupSize, true);
    Left(I[4] + 0.3f, group, S(6032), kGroupSize, true);
    Left(I[6] + 0.5f, group, S(6035), kGroupSize, true);
    Left(I[9] + 1.1f, group, S(6040), kGroupSize, true);
    Left(I[13] + 0.7f, group, S(6046), kGroupSize, true);
    const std::pair<float, int16_t> columns[] = {{I[0] + 0.5f, 6026}, {I[2] + 0.5f, 6031}, {I[4], 6033},
                                                 {I[5], 6034},        {I[6], 6036},        {I[7] + 1.0f, 6037},
                                                 {I[9] + 0.5f, 6041}, {I[11], 6044},       {I[12], 6045},
                                                 {I[13], 6047},       {I[14], 6048}};
    for (const auto &[x, id] : columns)
        Left(x, column, S(id), kHeadingSize, true);
    const std::pair<float, int16_t> units[] = {{I[0], pressureUnit},      {I[1], depthUnit},  {I[2], pressureUnit},
                                               {I[3], depthUnit},         {I[4] + 0.1f, depthUnit},
                                               {I[5] + 0.1f, depthUnit},  {I[7], 6038},       {I[8], 6039},
                                               {I[9], 6042},              {I[10], 6043},      {I[11], 6043}};
    for (const auto &[x, id] : units)
        Left(x, unit, S(id), kHeadingSize);
}

// The one row of settings at y. The end altitude printed (and stored back) is the one
// the end pressure the engine used stands for.
void PrintInfoRow(float y, TemplateRec &tmpl)
{
    const auto &I = gInfoCols;
    DrawRowLine(y);
    DrawInfoGrid(y);
    Left(I[1], y, Fixed(tmpl.StartAltitude, 0), kCellSize);
    Left(I[0], y, Fixed(tmpl.StartPressure, 3), kCellSize);
    tmpl.EndAltitude = PressureToAltitude(tmpl.EndPressure, tmpl.Metric);
    Left(I[3], y, Fixed(tmpl.EndAltitude, 0), kCellSize);
    Left(I[2], y, Fixed(tmpl.EndPressure, 3), kCellSize);
    Colour(kReportBlack);
    const int stepDecimals = StepDecimals(tmpl);
    Left(I[4], y, Fixed(tmpl.StepSize, stepDecimals), kCellSize);
    Left(I[5], y, Fixed(tmpl.LastStop, stepDecimals), kCellSize);
    Colour(kReportWhite);
    Left(I[6], y, QString::fromStdString(GetModelName(gReport.ticks)), kCellSize);
    if (tmpl.GFHigh > 1.0f)
        Colour(kReportRed);
    Left(I[7], y, tmpl.GFOn ? Fixed(tmpl.GFLow, 2) + QStringLiteral("-") + Fixed(tmpl.GFHigh, 2) : QStringLiteral("Off"),
         kCellSize);
    Colour(kReportWhite);
    Left(I[8], y, S(tmpl.DepthAdjust ? 6049 : 6050), kCellSize);
    Colour(kReportBlack);
    Left(I[9], y, Fixed(tmpl.MinPPO2, 2), kCellSize);
    Left(I[10], y, Fixed(tmpl.MaxPPO2, 2), kCellSize);
    Left(I[11], y, Fixed(tmpl.MaximalEND, 0), kCellSize);
    Left(I[12], y, S(tmpl.O2Narcotic ? 6051 : 6052), kCellSize);
    Colour(kReportWhite);
    Left(I[13], y, S(tmpl.Metric ? 6053 : 6054), kCellSize);
    Left(I[14], y, S(tmpl.OpenCircuit ? 6055 : 6056), kCellSize);
}

} // namespace

void PrintInfoHeader(TemplateRec &tmpl, bool isSeries, int16_t diveNumber, float surfaceInterval)
{
    Guarded("GenerateReport.PrintInfoHeader", [&] {
        InitInfoColumns();
        float y0 = gReport.reportY;
        if (isSeries) {
            PrintSeriesBox(y0, diveNumber, surfaceInterval);
            y0 += 3.0f;
        }
        PrintInfoHeadings(y0, tmpl.Metric);
        PrintInfoRow(y0 + 2.5f, tmpl);

        gReport.reportY += isSeries ? 5.8f : 3.8f;
        Colour(kReportBlack);
        PrintBoxOutline(gInfoCols[0] - 0.1f, y0, gInfoCols[15], y0 + 3.0f);
        PrintBoxOutline(gInfoCols[0] - 0.1f, y0, gInfoCols[15], y0 + 2.5f);
    });
}

// ---- one dive ----

std::vector<int16_t> DecoStopIndexes(const ClassProfile &profile)
{
    std::vector<int16_t> stops;
    for (int16_t i = 1; i <= profile.GetLength(); ++i)
        if (profile.getStopDepth(i) != 0)
            stops.push_back(i);
    return stops;
}

void LongReport(const ClassProfile &profile, TemplateRec &tmpl, bool isSeries, int16_t diveNumber,
                float surfaceInterval)
{
    WaitCursor hourglass;
    const bool finished = Guarded("GenerateReport.LongReport", [&] {
        WriteLongReport(profile, tmpl, isSeries, diveNumber, surfaceInterval);
    });
    // A dive that stopped half-way still ends its page, so the next dive's pages start on
    // their own and the page numbers count what was printed.
    if (!finished && gReport.pageOpen)
        PrintReportPageFooter();
}

namespace {

// What the dive's totals sum over its waypoints.
struct DiveSums {
    float maxDepth = 0;
    float otu = 0;
    float cns = 0;      // a fraction
    float stopTime = 0; // minutes at the deco stops
};

// A dive's running values start again, then its first page and its settings block.
void BeginDive(TemplateRec &tmpl, bool isSeries, int16_t diveNumber, float surfaceInterval)
{
    ReportProgress(6002);
    gReport.metric = tmpl.Metric;
    gReport.showGFWarning = tmpl.GFOn && tmpl.GFHigh > 1.0f;
    gReport.maxPPO2 = 0;
    gReport.minPPO2 = 50000;
    gReport.maxEND = 0;
    gInDecoTable = false;

    PrintReportPageHeader(gReport.showGFWarning);
    gReport.reportY = 4.0f;
    ReportProgress(6003);
    PrintInfoHeader(tmpl, isSeries, diveNumber, surfaceInterval);
    NewInfoPageIfFull();
    NewInfoPageIfFull();
}

// The cells of one waypoint's row at y.
void PrintWaypointRow(const WayPoint &w, float y, const TemplateRec &tmpl)
{
    PrintProfileCellRight(1, y, Plain(w.Depth));
    PrintProfileCellRight(2, y, Plain(w.Rate));
    PrintProfileCellRight(3, y, Fixed(w.SegmentTime, 1));
    PrintProfileCellRight(4, y, Fixed(w.RunTime, 1));
    PrintProfileCellRight(17, y, Fixed(w.GasMixO2, 0));
    const float nameWidth = gProfileCols[16] - gProfileCols[15] - 0.1f;
    const QString gas = GasLabel(w, nameWidth);
    PrintProfileCellLeft(16, y, gas, false, SizeWithin(gas, kCellSize, kSmallestName, nameWidth, false));
    PrintProfileCellLeft(18, y, Fixed(w.GasMixHe, 0));
    PrintProfileCellRight(19, y, Fixed(w.GasUsed, 1));
    PrintProfileCellRight(11, y, Fixed(w.CNS * 100, 1));
    PrintProfileCellRight(13, y, Fixed(w.END, 1));
    PrintProfileCellRight(12, y, Fixed(w.OTU, 1));
    PrintProfileCellRight(14, y, Fixed(w.PPO2, 2), w.PPO2 >= tmpl.MaxPPO2);
    if (w.MaxMValue == 0)
        PrintProfileCellLeft(7, y, QStringLiteral("--"));
    else
        PrintProfileCellRight(7, y, Fixed(w.MaxMValue * 100, 1));
    PrintProfileCellLeft(8, y, w.GF == 1.0f ? QStringLiteral("--") : Fixed(w.GF * 100, 0));
    if (const int16_t word = StatusWordId(w))
        PrintProfileCellLeft(9, y, S(word));
    if (w.DoShow && (w.Status < 0 || w.Status > 3) && w.Rate == 0) {
        if (const auto model = CeilingModelName(w.ModelControl, gReport.ticks))
            PrintProfileCellLeft(6, y, QString::fromStdString(*model));
    } else {
        PrintProfileCellLeft(6, y, QStringLiteral("--"));
    }
}

// Waypoint `i` into the dive's sums and extremes; the surface start (i = 0) sets no
// minimum ppO2.
void AddToSums(const WayPoint &w, int16_t i, DiveSums &sums)
{
    if (w.Status == StatusDecoStop)
        sums.stopTime += w.StopTime;
    sums.maxDepth = MaxSingle(sums.maxDepth, w.Depth);
    sums.otu += w.OTU;
    sums.cns += w.CNS;
    gReport.maxEND = std::max(gReport.maxEND, w.END);
    gReport.maxPPO2 = std::max(gReport.maxPPO2, w.PPO2);
    if (i > 0)
        gReport.minPPO2 = std::min(gReport.minPPO2, w.PPO2);
}

// Every waypoint of the dive, one row each, over as many pages as they need; the next
// section starts on a page of its own.
DiveSums PrintWaypointTable(const ClassProfile &profile, const TemplateRec &tmpl)
{
    gReport.profileY = gReport.reportY;
    PrintProfileTableHeader(tmpl.Metric, false);
    gReport.pageBottom = gReport.profileY;
    DrawRowLine(gReport.profileY);
    ReportProgress(6003);
    DiveSums sums;
    const int16_t last = profile.GetLength();
    for (int16_t i = 0; i <= last; ++i) {
        const WayPoint &w = profile.point(i);
        const float y = gReport.profileY;
        if (i % 2 == 0)
            DrawRowLine(y);
        DrawProfileGrid(y);
        PrintWaypointRow(w, y, tmpl);
        AddToSums(w, i, sums);
        NewProfilePageIfFull(i != last);
    }
    if (last == 0) {
        PrintProfileCellLeft(9, gReport.profileY, S(6013));
        gReport.profileY += kRow;
    }
    OutlineProfilePart();
    NewPageIfFull();
    ReportProgress(6014);
    return sums;
}

// The gas used per gas of the dive's list, by exact name.
void SumGasUsed(const ClassProfile &profile, const TemplateRec &tmpl)
{
    gReport.gasList = tmpl.Gases;
    for (GasRecord &g : gReport.gasList)
        g.GasUsed = 0;
    for (int16_t i = 0; i <= profile.GetLength(); ++i)
        for (GasRecord &g : gReport.gasList)
            if (g.Name == profile.GetGasMixName(i))
                g.GasUsed += profile.getGasUsed(i);
}

// Waypoint indexes of the diver's own legs, in order.
std::vector<int16_t> UserLegIndexes(const ClassProfile &profile)
{
    std::vector<int16_t> legs;
    for (int16_t i = 0; i <= profile.GetLength(); ++i)
        if (profile.GetStatus(i) == StatusUserLeg)
            legs.push_back(i);
    return legs;
}

// The decimals the step and every depth of the two stop tables need, as the
// decompression tables print them: a 1.5 m step stops at 22.5, not "23".
int StopTableDecimals(const ClassProfile &profile, const TemplateRec &tmpl, const std::vector<int16_t> &legs,
                      const std::vector<int16_t> &stops)
{
    int decimals = StepDecimals(tmpl);
    for (const int16_t i : legs)
        decimals = std::max(decimals, FewestDecimals(profile.getDepth(i)));
    for (const int16_t i : stops)
        decimals = std::max(decimals, FewestDecimals(profile.getStopDepth(i)));
    return decimals;
}

// The diver's own legs, then the deco-stop table's heading. Returns the model named on
// the last leg ("" without legs), which a stop of no known model repeats.
QString PrintSegmentTable(const ClassProfile &profile, const TemplateRec &tmpl, const std::vector<int16_t> &legs,
                          int depthDecimals)
{
    gReport.stopY = gReport.profileY;
    gReport.stopSectionTop = gReport.stopY;
    PrintStopTableHeader(tmpl.Metric, false);
    gReport.pageBottom = gReport.stopY;
    QString modelText;
    for (size_t k = 0; k < legs.size(); ++k) {
        const WayPoint &w = profile.point(legs[k]);
        if (k % 2 == 0)
            DrawStopRowLine(gReport.stopY + 0.5f);
        modelText = QString::fromStdString(GetModelName(gReport.ticks));
        PrintStopRow({Fixed(w.Depth, depthDecimals), Fixed(w.Rate, 0), Fixed(w.RunTime, 1),
                      GasLabel(w, kStopNameWidth), Fixed(w.GasMixO2, 0), Fixed(w.GasMixHe, 0),
                      Fixed(w.GasUsed, 0), modelText, QStringLiteral("--"), QStringLiteral("--")},
                     false, false);
        NewStopPageIfFull(k + 1 < legs.size());
    }
    if (profile.GetLength() == 0)
        PrintStopRow({S(6013)}, true, true);
    OutlineStopPart();
    StartDecoStopTable();
    ReportProgress(6015);
    return modelText;
}

// The decompression stops under the segment table; the next section starts on a page of
// its own.
void PrintDecoStopTable(const ClassProfile &profile, const std::vector<int16_t> &stops, int depthDecimals,
                        QString modelText)
{
    gInDecoTable = true;
    for (size_t k = 0; k < stops.size(); ++k) {
        const WayPoint &w = profile.point(stops[k]);
        if (k % 2 == 0)
            DrawStopRowLine(gReport.stopY + 0.5f);
        if (const auto model = CeilingModelName(w.ModelControl, gReport.ticks))
            modelText = QString::fromStdString(*model);
        QString gf = Fixed(w.GF * 100, 0);
        if (gf == QStringLiteral("100"))
            gf = QStringLiteral("--");
        PrintStopRow({Fixed(w.StopDepth, depthDecimals), Fixed(w.StopTime, 0), Fixed(w.RunTime, 0),
                      GasLabel(w, kStopNameWidth), Fixed(w.GasMixO2, 0), Fixed(w.GasMixHe, 0),
                      Fixed(w.GasUsed, 0), modelText, gf, Fixed(w.MaxMValue * 100, 1)},
                     false, false);
        NewStopPageIfFull(k + 1 < stops.size());
    }
    if (stops.empty())
        PrintStopRow({S(6016)}, true, true);
    gInDecoTable = false;
    OutlineStopPart();
    NewPageIfFull();
}

// The one-row table of the dive's totals.
void PrintDiveTotals(const ClassProfile &profile, const TemplateRec &tmpl, const DiveSums &sums)
{
    PrintDiveInfoHeader();
    const int16_t last = profile.GetLength();
    if (last == 0) {
        PrintDiveInfoRow({}, tmpl.Metric, true);
        return;
    }
    PrintDiveInfoRow({Fixed(profile.GetRunTime(last), 1), Fixed(sums.stopTime, 1), Fixed(sums.cns * 100, 1),
                      Fixed(sums.otu, 1), Fixed(gReport.maxPPO2, 2), Fixed(gReport.minPPO2, 2),
                      Fixed(gReport.maxEND, 1), tmpl.OpenCircuit ? QStringLiteral("No") : Fixed(tmpl.Setpoint, 2),
                      Fixed(tmpl.RMV, 1), Fixed(tmpl.DecoRMV, 1), Fixed(sums.maxDepth, 1)},
                     tmpl.Metric, false);
}

// The gas used per gas; a table that reaches the footer goes on on the next page under
// its heading again. A dive without waypoints gets the message row.
void PrintGasTable(const TemplateRec &tmpl, bool hasWaypoints)
{
    if (gReport.reportY + 2.3f > kGasLimit) {
        NewPageIfFull();
        gReport.reportY = gReport.profileY;
    }
    PrintGasTableHeader(tmpl.Metric);
    int row = 0;
    for (const GasRecord &g : gReport.gasList) {
        if (g.GasUsed == 0)
            continue;
        if (gReport.reportY > kGasLimit) {
            Colour(kReportBlack);
            PrintBoxOutline(1.9f, gReport.gasSectionTop, 27.1f, gReport.reportY - 0.05f);
            NewPageIfFull();
            gReport.reportY = gReport.profileY;
            PrintGasTableHeader(tmpl.Metric);
        }
        if (row++ % 2 == 0)
            DrawGasRowLine(gReport.reportY);
        PrintGasRow(QString::fromStdString(g.Name), Fixed(g.O2, 0), Fixed(g.He, 0), Fixed(tmpl.RMV, 1),
                    Fixed(tmpl.DecoRMV, 1), Fixed(g.GasUsed, 1), Fixed(g.GasUsed * 1.5f, 1));
    }
    Colour(kReportBlack);
    if (hasWaypoints) {
        PrintBoxOutline(1.9f, gReport.gasSectionTop, 27.1f, gReport.reportY - 0.05f);
    } else {
        DrawGasRowLine(gReport.reportY);
        Left(gGasCols[5], gReport.reportY, S(6013), kCellSize, true);
        PrintBoxOutline(1.9f, gReport.gasSectionTop, 27.1f, gReport.reportY + 0.45f);
    }
}

void WriteLongReport(const ClassProfile &profile, TemplateRec &tmpl, bool isSeries, int16_t diveNumber,
                     float surfaceInterval)
{
    BeginDive(tmpl, isSeries, diveNumber, surfaceInterval);
    const DiveSums sums = PrintWaypointTable(profile, tmpl);
    SumGasUsed(profile, tmpl);
    const std::vector<int16_t> legs = UserLegIndexes(profile);
    const std::vector<int16_t> stops = DecoStopIndexes(profile);
    const int depthDecimals = StopTableDecimals(profile, tmpl, legs, stops);
    const QString lastModel = PrintSegmentTable(profile, tmpl, legs, depthDecimals);
    PrintDecoStopTable(profile, stops, depthDecimals, lastModel);
    PrintDiveTotals(profile, tmpl, sums);
    PrintGasTable(tmpl, profile.GetLength() > 0);
    PrintReportPageFooter();
}

} // namespace

// ---- the report command ----

void PrintDiveReport(int16_t profileNr, ReportChoice choice, const AlgorithmTicks &ticks)
{
    // The progress box goes however the report ends: the pointer is the arrow again.
    struct UnloadAtEnd {
        ~UnloadAtEnd() { Shell().UnloadProgress(); }
    } unload;

    Dive *dive = FindDive(profileNr);
    if (!dive)
        return;
    StartReport(ticks);
    switch (choice) {
    case ReportChoice::SingleDive:
        LongReport(dive->InputProfile, dive->Record().Template, false, 1, 0);
        break;
    case ReportChoice::CurrentDive: {
        SettingsRecord &record = dive->Record();
        if (record.SurfTime != 0)
            LongReport(dive->InputProfile, record.Template, true, dive->SurfProfileNumber, record.SurfTime);
        else
            LongReport(dive->InputProfile, record.Template, false, 1, 0);
        break;
    }
    case ReportChoice::AllDives: {
        bool isSeries = false;
        for (const int16_t i : SeriesFrom(FirstDiveOfSeries(profileNr))) {
            Dive *d = FindDive(i);
            LongReport(d->InputProfile, d->Record().Template, isSeries, d->SurfProfileNumber, d->Record().SurfTime);
            isSeries = true;
        }
        break;
    }
    }
    ShowReportPreview();
}
