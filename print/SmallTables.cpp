#include "print/SmallTables.h"

#include "engine/DOLVmiscModule.h"
#include "engine/EngineGlobals.h"
#include "engine/VBConversions.h"
#include "platform/LibraryModule.h"
#include "platform/LocaliseForm.h"
#include "print/PrintPreview.h"
#include "print/PrintPrev.h"

#include <QDate>
#include <QLabel>
#include <QLocale>
#include <QPixmap>

#include <algorithm>
#include <numeric>

SmallTableLayout gSmallTableLayout;

QString GasMixText(float O2, float He)
{
    return QString::fromStdString(FormatFixed(O2, 0)) + QLatin1Char('/') + QString::fromStdString(FormatFixed(He, 0));
}

namespace {

TableDive gDive;

constexpr float kStripRight = 6.0f;  // the cells start here (cm)
constexpr float kCellWidth = 7.4f;
constexpr float kCellHeight = 9.5f;
constexpr float kCellsTop = 1.0f;
constexpr float kLine = 0.5f;        // one line of a table
constexpr float kColumnPadding = 0.1f; // beside the widest text of a bottom-time column
constexpr int32_t kGrey = 200 + 256 * 200 + 65536 * 200;
constexpr int32_t kBlack = 0;

QString whole(float v)
{
    return QString::fromStdString(FormatFixed(v, 0));
}

// A number with decimals, written with the user's decimal separator.
QString decimal(float v, int decimals)
{
    return QString::fromStdString(LocaliseNumberText(FormatFixed(v, decimals), gDecimalSeparator));
}

// A depth with the decimals its table needs: whole metres or feet, unless the stop step
// puts stops between them (0.5 m steps: 29.0 and 28.5 must not both read "29").
QString depthText(float v, int decimals)
{
    return decimals == 0 ? whole(v) : decimal(v, decimals);
}

QString gasText(const ClassProfile &p, int16_t w)
{
    return GasMixText(p.GetGasMixO2(w), p.GetGasMixHe(w));
}

// The bottom of a column: the last waypoint of the diver's own part.
int16_t bottomOf(const ClassProfile &p)
{
    return FindEndUserProfile(p);
}

// Whether waypoint w of the ascent starts a line of the table: a level piece (a stop), or
// the arrival where the next piece changes gas without a stop of its own.
bool startsLine(const ClassProfile &p, int16_t w)
{
    return p.GetRate(w) == 0 ||
           (p.getmixnumber(w + 1) != p.getmixnumber(w) && p.getStopTime(w + 1) == 0);
}

bool switchesAtBottom(const ClassProfile &p, int16_t e)
{
    return e + 1 <= p.GetLength() && p.getmixnumber(e + 1) != p.getmixnumber(e);
}

// A line of the table below the bottom: its depth, the depth as printed and the gas
// breathed from there on.
struct TableLine {
    float depth;
    QString depthText, gas;
};

// The lines one profile's ascent needs, in the order it reaches them.
std::vector<TableLine> ascentLines(const ClassProfile &p, int decimals)
{
    std::vector<TableLine> lines;
    const int16_t L = p.GetLength();
    for (int16_t w = static_cast<int16_t>(bottomOf(p) + 1); w <= L - 1; ++w)
        if (startsLine(p, w))
            lines.push_back(
                {p.getDepth(w), depthText(p.getDepth(w), decimals), gasText(p, static_cast<int16_t>(w + 1))});
    return lines;
}

// The fewest decimals (at most two) that write every stop and switch depth of the
// table as itself, so no two depths share a line.
int depthDecimals(const std::vector<ClassProfile> &Profiles)
{
    int decimals = 0;
    for (size_t i = 1; i < Profiles.size(); ++i) {
        const ClassProfile &p = Profiles[i];
        for (int16_t w = static_cast<int16_t>(bottomOf(p) + 1); w <= p.GetLength(); ++w) {
            if (!(w < p.GetLength() && startsLine(p, w)) && p.getStopTime(w) == 0)
                continue;
            for (const float d : {p.getDepth(w), p.getStopDepth(w)})
                decimals = std::max(decimals, FewestDecimals(d));
        }
    }
    return decimals;
}

// The lines below the bottom of a whole table: those of the last (longest) profile, and
// every depth another row stops or switches at that they lack, each put in order of
// depth, deepest first. The rows of a bail-out table end at different depths: a row
// bailing out deep has stops the last, shallower row never reaches, and each of them
// must be printed.
std::vector<TableLine> tableStopLines(const std::vector<ClassProfile> &Profiles, int decimals)
{
    std::vector<TableLine> lines = ascentLines(Profiles.back(), decimals);
    for (size_t i = 1; i + 1 < Profiles.size(); ++i)
        for (TableLine &line : ascentLines(Profiles[i], decimals)) {
            const auto same = [&line](const TableLine &l) { return l.depthText == line.depthText; };
            if (std::any_of(lines.begin(), lines.end(), same))
                continue;
            const auto shallower = [&line](const TableLine &l) { return l.depth < line.depth; };
            lines.insert(std::find_if(lines.begin(), lines.end(), shallower), std::move(line));
        }
    return lines;
}

void text(float x, float y, const QString &s, int16_t size, bool bold = false)
{
    PrintTextLeft(x, y, s, QStringLiteral("Arial"), size, bold ? 1 : 0);
}

void centred(float x, float y, const QString &s, int16_t size)
{
    PrintTextCentered(x, y, s, QStringLiteral("Arial"), size, 0);
}

} // namespace

namespace {

// The lines of a table: the bottom, a switch at the bottom, then the stop lines.
int16_t lineCount(const ClassProfile &last, size_t stopLines)
{
    const int16_t bottom = switchesAtBottom(last, bottomOf(last)) ? 2 : 1;
    return static_cast<int16_t>(bottom + stopLines);
}

} // namespace

int16_t CountTableStops(const std::vector<ClassProfile> &Profiles)
{
    if (Profiles.size() < 2)
        return 0;
    return lineCount(Profiles.back(), tableStopLines(Profiles, depthDecimals(Profiles)).size());
}

int16_t FindTableRow(const TableTextGrid &Grid, const QString &Key, int16_t Last)
{
    return FindTableRow(Grid, Key, 0, Last);
}

int16_t FindTableRow(const TableTextGrid &Grid, const QString &Key, int16_t First, int16_t Last)
{
    if (Last < 0 || Grid.size() < 2)
        return -1;
    const auto &depths = Grid[1];
    for (int16_t j = std::max<int16_t>(First, 0); j <= Last && j < static_cast<int16_t>(depths.size()); ++j)
        if (depths[static_cast<size_t>(j)] == Key)
            return j;
    return -1;
}

SmallTableGrid BuildTableGrid(const std::vector<ClassProfile> &Profiles)
{
    SmallTableGrid out;
    const size_t n = Profiles.empty() ? 0 : Profiles.size() - 1;
    // The lines below the bottom, once; as many as CountTableStops counts.
    const int decimals = depthDecimals(Profiles);
    const std::vector<TableLine> lines = n == 0 ? std::vector<TableLine>() : tableStopLines(Profiles, decimals);
    const int16_t k = n == 0 ? 0 : lineCount(Profiles.back(), lines.size());
    out.G.assign(n + 3, std::vector<QString>(static_cast<size_t>(k) + 1));
    TableTextGrid &G = out.G;
    G[0][0] = QStringLiteral("Mix");
    G[1][0] = GetLangStringQ(1702);
    G[2][0] = QStringLiteral("Bottom time");
    out.Lines = 1;
    if (n == 0)
        return out;

    // The bottom lines from the longest profile, the lines below from every row.
    const ClassProfile &last = Profiles.back();
    const int16_t e = bottomOf(last);
    size_t j = 1;
    G[0][j] = gasText(last, e);
    G[1][j] = depthText(last.getDepth(e), decimals);
    ++j;
    if (switchesAtBottom(last, e)) {
        G[0][j] = gasText(last, static_cast<int16_t>(e + 1));
        G[1][j] = depthText(last.getDepth(e), decimals);
        ++j;
    }
    out.FirstStopLine = static_cast<int16_t>(j);
    for (const TableLine &line : lines) {
        G[0][j] = line.gas;
        G[1][j] = line.depthText;
        ++j;
    }
    out.Lines = static_cast<int16_t>(j);

    // The columns: bottom time, then each stop on the line of its depth. A stop at the
    // depth of the bottom goes on its own line below the bottom, never on the bottom's.
    for (size_t i = 1; i <= n; ++i) {
        const ClassProfile &p = Profiles[i];
        const int16_t pe = bottomOf(p);
        G[i + 2][0] = whole(p.GetRunTime(pe));
        for (int16_t w = static_cast<int16_t>(pe + 1); w <= p.GetLength(); ++w) {
            if (p.getStopTime(w) == 0)
                continue;
            const int16_t b = FindTableRow(G, depthText(p.getStopDepth(w), decimals), out.FirstStopLine, k);
            if (b != -1)
                G[i + 2][static_cast<size_t>(b)] = whole(p.getStopTime(w));
        }
    }
    return out;
}

QString SmallTableTitle(const TemplateRec &Settings, const ClassProfile &Last)
{
    QString title = QStringLiteral("GF ");
    if (Settings.GFOn)
        title += decimal(Settings.GFLow, 2) + QLatin1Char('-') + decimal(Settings.GFHigh, 2) + QStringLiteral("  ");
    else
        title += GetLangStringQ(6169) + QStringLiteral("   ");
    title += gasText(Last, bottomOf(Last));
    title += Settings.OpenCircuit ? QStringLiteral("  OC") : QStringLiteral("  RB");
    return title;
}

void ClearSmallTableLayout()
{
    gSmallTableLayout.Clear();
}

float SmallTableWidth(int n)
{
    return kFirstColumns + kMinColumn * static_cast<float>(n);
}

float SmallTableHeight(int m)
{
    return static_cast<float>(m * 0.5 + 0.9);
}

int SmallTableCells(float W)
{
    // A two-cell table stands 0.3 cm inside its first cell.
    return W <= kCellWidth ? 1 : W + 0.3f <= 2 * kCellWidth ? 2 : W <= 3 * kCellWidth ? 3 : 4;
}

TablePlace PlaceSmallTable(SmallTableLayout &Layout, float W, float H)
{
    TablePlace place;
    const int cols = SmallTableCells(W);
    const int rows = H + 2.0f > kCellHeight ? 2 : 1;
    auto anyTaken = [&Layout] {
        for (const auto &row : Layout.Taken)
            for (bool t : row)
                if (t)
                    return true;
        return false;
    };
    if (cols > 3) {
        place.NewPage = anyTaken();
        if (place.NewPage)
            Layout.Clear();
        for (auto &row : Layout.Taken)
            row.fill(true);
        place.Left = kStripRight;
        place.Top = kCellsTop + 0.3f;
        return place;
    }
    for (;;) {
        int r = -1, c = -1;
        for (int rr = 0; rr < 2 && r < 0; ++rr)
            for (int cc = 0; cc < 3; ++cc)
                if (!Layout.Taken[rr][cc]) {
                    r = rr;
                    c = cc;
                    break;
                }
        if (r < 0) {
            place.NewPage = true;
            Layout.Clear();
            continue;
        }
        const float x = kStripRight + kCellWidth * c;
        float left = cols == 1 ? x + (kCellWidth - W) / 2
                   : cols == 2 ? x + 0.3f
                               : kStripRight + (3 * kCellWidth - W) / 2;
        bool fits = c + cols <= 3 && r + rows <= 2 && (cols != 2 || left + W <= 24.0f);
        for (int rr = r; fits && rr < r + rows; ++rr)
            for (int cc = c; cc < c + cols; ++cc)
                if (Layout.Taken[rr][cc])
                    fits = false;
        if (!fits) {
            // Left empty, so the tables after this one keep their order on the page.
            Layout.Taken[r][c] = true;
            continue;
        }
        for (int rr = r; rr < r + rows; ++rr)
            for (int cc = c; cc < c + cols; ++cc)
                Layout.Taken[rr][cc] = true;
        place.Row = static_cast<int16_t>(r);
        place.Column = static_cast<int16_t>(c);
        place.Left = left;
        place.Top = kCellsTop + kCellHeight * r + 0.3f;
        return place;
    }
}

void SetSmallTableDive(const TableDive &Dive)
{
    gDive = Dive;
}

const TableDive &SmallTableDive()
{
    return gDive;
}

namespace {

// The width (cm) of a text in Arial of `size` points.
float textCm(const QString &s, bool bold, int16_t size = 7)
{
    return SpoolTextWidth(s, QStringLiteral("Arial"), size, bold) / 567.0f;
}

// The run time a column ends with: its last waypoint's.
QString runTimeText(const ClassProfile &p)
{
    return whole(p.GetRunTime(p.GetLength()));
}

// The width of each bottom-time column: as wide as its widest text, never narrower than
// kMinColumn, so four-digit run times do not run together.
std::vector<float> columnWidths(const std::vector<ClassProfile> &Profiles, const TableTextGrid &G, int lines)
{
    std::vector<float> widths;
    for (size_t i = 1; i < Profiles.size(); ++i) {
        float widest = textCm(runTimeText(Profiles[i]), false);
        for (int b = 0; b < lines; ++b)
            widest = std::max(widest, textCm(G[i + 2][static_cast<size_t>(b)], false));
        widths.push_back(std::max(kMinColumn, widest + kColumnPadding));
    }
    return widths;
}

// One part of a table as it is drawn: the grid lines it shows (line 0, the headings,
// first), whether the run-time row closes it, and its number among the parts.
struct TablePart {
    std::vector<int> lines;
    bool runTimes = true;
    int number = 1, count = 1;
};

// The parts a table of m lines is drawn in: one when it fits two cells high, otherwise
// as many as it needs, each under the title band, the heading line and the bottom lines
// (a card cut from any part names its depth), the run times under the last.
std::vector<TablePart> tableParts(int m, int firstStopLine)
{
    std::vector<int> head{0};
    for (int b = 1; b < std::min(firstStopLine, m); ++b)
        head.push_back(b);
    std::vector<TablePart> parts;
    int b = static_cast<int>(head.size());
    do {
        TablePart part;
        part.lines = head;
        while (b < m && static_cast<int>(part.lines.size()) < kMaxTableLines)
            part.lines.push_back(b++);
        part.runTimes = b >= m;
        part.number = static_cast<int>(parts.size()) + 1;
        parts.push_back(std::move(part));
    } while (b < m);
    for (TablePart &part : parts)
        part.count = static_cast<int>(parts.size());
    return parts;
}

// "Part 2 of 3" in the title band of a table printed in parts; none for a whole table.
QString partText(const TablePart &part)
{
    return part.count > 1 ? GetLangStringQ(7270).arg(part.number).arg(part.count) : QString();
}

// Draws one part of a table in the next free cells, with the page's cutting marks and
// information strip when it is the first table of its page. `widths` already make room
// for the title (and the part's number) in the band.
void drawTablePart(const std::vector<ClassProfile> &Profiles, const TableTextGrid &G, const std::vector<float> &widths,
                   const QString &title, const TablePart &part, bool BailoutHeader)
{
    const int n = static_cast<int>(widths.size());
    const int m = static_cast<int>(part.lines.size());
    const float W = kFirstColumns + std::accumulate(widths.begin(), widths.end(), 0.0f);

    const TablePlace place = PlaceSmallTable(gSmallTableLayout, W, SmallTableHeight(m));
    if (place.NewPage)
        NewTablePage();
    // The cutting marks and the strip once per page: drawn again they thicken.
    if (!gSmallTableLayout.Furnished) {
        if (!place.NewPage)
            DrawTableFrame();
        PrintSmallTableHeader(BailoutHeader);
        gSmallTableLayout.Furnished = true;
    }
    const float left = place.Left;
    const float top = place.Top;

    SetPrintForeColor(kBlack);
    const float right = left + W;
    const float bottom = top + 0.3f + kLine * m;
    std::vector<float> columnLeft(static_cast<size_t>(n) + 1, left + kFirstColumns);
    for (int i = 0; i < n; ++i)
        columnLeft[static_cast<size_t>(i) + 1] = columnLeft[static_cast<size_t>(i)] + widths[static_cast<size_t>(i)];
    auto centre = [&](int i) {
        return (columnLeft[static_cast<size_t>(i)] + columnLeft[static_cast<size_t>(i) + 1]) / 2;
    };
    auto line = [&part](int p) { return static_cast<size_t>(part.lines[static_cast<size_t>(p)]); };

    PrintBoxOutline(left + 0.7f, top + 0.4f, left + kFirstColumns, bottom); // the depth column
    PrintBoxOutline(left, top, right, top + 0.4f);                           // the title band
    // Every second bottom time is shaded, from the second on.
    for (int i = 1; i < n; i += 2)
        PrintFilledBox(columnLeft[static_cast<size_t>(i)], top + 0.43f, columnLeft[static_cast<size_t>(i) + 1],
                       bottom - 0.02f, kGrey);
    PrintBoxOutline(left, top, right, bottom);
    for (int p = 1; p < m; ++p)
        if (!G[1][line(p)].isEmpty())
            PrintFilledBox(left, top + 0.3f + kLine * p, right, top + 0.32f + kLine * p, kBlack);

    if (n > 0)
        text(left + 0.1f, top, title, 7, true);
    if (const QString number = partText(part); !number.isEmpty())
        PrintTextRight(right - 0.1f, top, number, QStringLiteral("Arial"), 7, 0);
    text(left + 0.8f, top + 0.4f, G[1][0], 7);
    for (int i = 0; i < n; ++i) {
        centred(centre(i), top + 0.4f, G[static_cast<size_t>(i) + 3][0], 7);
        if (part.runTimes)
            centred(centre(i), top + 0.4f + kLine * m, runTimeText(Profiles[static_cast<size_t>(i) + 1]), 7);
    }
    if (part.runTimes) {
        PrintBoxOutline(left, top + 0.3f + kLine * m, right, top + 0.3f + kLine * (m + 1));
        text(left + 0.2f, top + 0.4f + kLine * m, GetLangStringQ(2110), 7);
    }
    for (int p = 1; p < m; ++p) {
        if (line(p) < 2)
            continue;
        PrintBoxOutline(left + 0.7f, top + 0.3f + kLine * p, right, top + 0.8f + kLine * p);
        for (int i = 0; i < n; ++i) {
            const QString &stop = G[static_cast<size_t>(i) + 3][line(p)];
            if (!stop.isEmpty())
                centred(centre(i), top + 0.4f + kLine * p, stop, 7);
        }
    }
    text(left + 0.1f, top + 0.4f, G[0][0], 7);
    for (int p = 1; p < m; ++p) {
        text(left + 0.05f, top + 0.4f + kLine * p, G[0][line(p)], 6, true);
        text(left + 0.9f, top + 0.4f + kLine * p, G[1][line(p)], 7);
    }
}

// One table whose columns fit across the cells: drawn whole, or in parts down the pages
// when it is taller than two cells, every part as wide as the others.
void printFittingTable(const std::vector<ClassProfile> &Profiles, bool BailoutHeader)
{
    const SmallTableGrid grid = BuildTableGrid(Profiles);
    std::vector<float> widths = columnWidths(Profiles, grid.G, grid.Lines);
    const std::vector<TablePart> parts = tableParts(grid.Lines, grid.FirstStopLine);
    const int n = static_cast<int>(widths.size());
    const QString title = n > 0 ? SmallTableTitle(gDive.Settings, Profiles.back()) : QString();
    // The title (and the part's number) stay inside the band: a narrow table gets wider
    // columns.
    float band = 0.1f + textCm(title, true) + 0.1f;
    for (const TablePart &part : parts)
        if (const QString number = partText(part); !number.isEmpty())
            band = std::max(band, 0.1f + textCm(title, true) + 0.3f + textCm(number, false) + 0.1f);
    const float W = kFirstColumns + std::accumulate(widths.begin(), widths.end(), 0.0f);
    if (n > 0 && W < band)
        for (float &w : widths)
            w += (band - W) / static_cast<float>(n);
    for (const TablePart &part : parts)
        drawTablePart(Profiles, grid.G, widths, title, part, BailoutHeader);
}

} // namespace

std::vector<std::pair<int, int>> SmallTableColumnGroups(const std::vector<float> &Widths)
{
    const int n = static_cast<int>(Widths.size());
    auto width = [&Widths](int from, int to) {
        return kFirstColumns + std::accumulate(Widths.begin() + from, Widths.begin() + to, 0.0f);
    };
    // The fewest tables of about equal numbers of columns that each fit three cells.
    for (int tables = 1; tables <= std::max(n, 1); ++tables) {
        std::vector<std::pair<int, int>> groups;
        bool fits = true;
        for (int t = 0; t < tables && fits; ++t) {
            const int from = n * t / tables, to = n * (t + 1) / tables;
            fits = tables == n || width(from, to) <= 3 * kCellWidth;
            groups.emplace_back(from, to);
        }
        if (fits)
            return groups;
    }
    return {{0, n}};
}

void PrintSmallTable(const std::vector<ClassProfile> &Profiles, bool BailoutHeader)
{
    if (Profiles.size() < 2) {
        printFittingTable(Profiles, BailoutHeader);
        return;
    }
    // A table wider than three cells (a bail-out case of many rows, or long run times)
    // is printed as several tables of its columns in order: no column is cut.
    const SmallTableGrid grid = BuildTableGrid(Profiles);
    for (const auto &[from, to] : SmallTableColumnGroups(columnWidths(Profiles, grid.G, grid.Lines))) {
        std::vector<ClassProfile> group{Profiles[0]};
        group.insert(group.end(), Profiles.begin() + 1 + from, Profiles.begin() + 1 + to);
        printFittingTable(group, BailoutHeader);
    }
}

RateStripLayout LayRateStrip(size_t bands)
{
    RateStripLayout lay;
    const int n = static_cast<int>(bands);
    lay.Columns = n > kRateRowsPerColumn ? 2 : 1;
    lay.Rows = std::min(n, kRateRowsPerColumn);
    lay.Shown = std::min(n, lay.Columns * kRateRowsPerColumn);
    if (bands > static_cast<size_t>(lay.Shown)) {
        --lay.Shown; // the last line says how many go on
        lay.More = static_cast<int>(bands) - lay.Shown;
    }
    return lay;
}

namespace {

// The width (cm) of the depth and rate texts of one rate table (the descent table's
// from 3.5 cm to the strip's frame at 5.8), split between its columns.
constexpr float kRateTableWidth = 2.25f;

// One rate table of the strip from x: headings, then band depth and rate per line,
// column by column. Two columns of half the width are headed by the units ("m",
// "m/min"), as large as they fit (down to 5 points), the rates just right of the widest
// depth.
void rateTable(float x, const std::vector<RateRecord> &bands, const RateStripLayout &lay, bool metric, float bottom)
{
    const float column = kRateTableWidth / static_cast<float>(lay.Columns);
    QString depthHead = GetLangStringQ(2101), rateHead = GetLangStringQ(6063);
    int16_t size = 7;
    float rateAt = 1.0f;
    if (lay.Columns > 1) {
        constexpr float gap = 0.08f;
        depthHead = GetLangStringQ(metric ? 6027 : 6029);
        rateHead = GetLangStringQ(metric ? 6064 : 6065);
        float widest = 0;
        for (int k = 0; k < lay.Shown; ++k)
            widest = std::max(widest, textCm(whole(bands[static_cast<size_t>(k)].Depth), false));
        for (;; --size) {
            rateAt = std::max(widest, textCm(depthHead, false, size)) + gap;
            if (size == 5 || rateAt + textCm(rateHead, false, size) <= column - 0.08f)
                break;
        }
    }
    for (int c = 0; c < lay.Columns; ++c) {
        const float cx = x + column * static_cast<float>(c);
        if (c > 0) // a rule between the columns
            PrintBoxOutline(cx - 0.05f, 7.9f, cx - 0.05f, bottom);
        text(cx, 8.0f, depthHead, size);
        text(cx + rateAt, 8.0f, rateHead, size);
    }
    for (int k = 0; k < lay.Shown; ++k) {
        const float cx = x + column * static_cast<float>(k / kRateRowsPerColumn);
        const float y = kRateTop + kRateLine * static_cast<float>(k % kRateRowsPerColumn);
        text(cx, y, whole(bands[static_cast<size_t>(k)].Depth), 7);
        text(cx + rateAt, y, whole(bands[static_cast<size_t>(k)].Rate), 7);
    }
    if (lay.More > 0) {
        // As large as it fits its column, down to 5 points.
        const QString more = GetLangStringQ(7271).arg(lay.More);
        const int16_t moreSize = SizeWithin(more, 7, 5, column - 0.1f, false);
        text(x + column * static_cast<float>(lay.Shown / kRateRowsPerColumn),
             kRateTop + kRateLine * static_cast<float>(lay.Shown % kRateRowsPerColumn), more, moreSize);
    }
}

} // namespace

void PrintSmallTableHeader(bool BailoutHeader)
{
    const TemplateRec &t = gDive.Settings;
    text(0.85f, 1.0f, GetLangStringQ(BailoutHeader ? 6134 : 6132), 14, true);

    QImage logo;
    if (PrintPrev *preview = PrintPrevWindow())
        logo = preview->Img->pixmap().toImage();
    if (!logo.isNull())
        PrintPicture(logo, 0.8f, 2.0f, 5.05f, 2.0f);

    if (BailoutHeader) {
        const QString caption = gDive.Caption;
        const qsizetype cut = caption.indexOf(QStringLiteral(" ["));
        text(0.9f, 5.4f, GetLangStringQ(1928) + QStringLiteral(": ") + (cut < 0 ? caption : caption.left(cut)), 8);
    }
    PrintBoxOutline(0.8f, 4.5f, 5.8f, 5.9f);
    text(0.9f, 4.6f, GetLangStringQ(6085) + QString::fromStdString(GetNetUserName()), 8);
    text(0.9f, 5.0f, GetLangStringQ(6083) + QLocale().toString(QDate::currentDate(), QLocale::ShortFormat), 8);
    text(0.9f, 0.6f, GetLangStringQ(6086) + GetLangStringQ(6087), 7);

    // The settings the tables were computed with.
    PrintBoxOutline(0.8f, 6.5f, 5.8f, 7.3f);
    PrintFilledBox(0.81f, 6.91f, 5.75f, 7.28f, kGrey);
    text(0.9f, 6.5f, GetLangStringQ(7401), 8); // the maximum END
    text(1.95f, 6.5f, whole(t.MaximalEND), 8);
    text(0.95f, 6.9f, QStringLiteral("PPO2"), 8);
    text(1.95f, 6.9f, decimal(t.MaxPPO2, 2), 8);
    text(3.5f, 6.5f, GetLangStringQ(6103), 8);
    // Cubic feet a minute are small numbers: 0.7 must not print as 1.
    text(5.0f, 6.5f, t.Metric ? whole(t.RMV) : decimal(t.RMV, 1), 8);
    text(3.5f, 6.9f, GetLangStringQ(6106), 8);
    text(5.0f, 6.9f, t.Metric ? whole(t.DecoRMV) : decimal(t.DecoRMV, 1), 8);

    // The ascent and descent rate tables side by side, each band a line, down to the
    // foot of the cells; a table of more bands goes on in a second column, and one of
    // more than two columns hold ends in a line saying how many bands go on.
    PrintBoxOutline(0.8f, 7.5f, 5.8f, 7.9f);
    PrintBoxOutline(0.8f, 7.9f, 5.8f, 8.3f);
    text(1.0f, 7.5f, GetLangStringQ(6011), 8);
    text(3.5f, 7.5f, GetLangStringQ(6012), 8);
    const RateStripLayout ascent = LayRateStrip(t.AscendRates.size());
    const RateStripLayout descent = LayRateStrip(t.DescendRates.size());
    const int rows = std::max(ascent.Rows, descent.Rows);
    const float bottom = kRateTop + kRateLine * static_cast<float>(rows);
    PrintBoxOutline(0.8f, 8.3f, 5.8f, bottom);
    for (int r = 0; r < rows; r += 2)
        PrintFilledBox(0.81f, kRateTop + kRateLine * static_cast<float>(r), 5.75f,
                       kRateTop + kRateLine * static_cast<float>(r + 1) - 0.02f, kGrey);
    if (ascent.Columns > 1 || descent.Columns > 1) // the two tables apart
        PrintBoxOutline(3.4f, 7.5f, 3.4f, bottom);
    rateTable(1.0f, t.AscendRates, ascent, t.Metric, bottom);
    rateTable(3.5f, t.DescendRates, descent, t.Metric, bottom);
}
