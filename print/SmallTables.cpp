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

SmallTableLayout gSmallTableLayout;

namespace {

TableDive gDive;

constexpr float kStripRight = 6.0f;  // the cells start here (cm)
constexpr float kCellWidth = 7.4f;
constexpr float kCellHeight = 9.5f;
constexpr float kCellsTop = 1.0f;
constexpr float kLine = 0.5f;        // one line of a table
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

// A gas as the tables write it: O2 % / He %, e.g. 21/35.
QString gasText(const ClassProfile &p, int16_t w)
{
    return whole(p.GetGasMixO2(w)) + QLatin1Char('/') + whole(p.GetGasMixHe(w));
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
std::vector<TableLine> ascentLines(const ClassProfile &p)
{
    std::vector<TableLine> lines;
    const int16_t L = p.GetLength();
    for (int16_t w = static_cast<int16_t>(bottomOf(p) + 1); w <= L - 1; ++w)
        if (startsLine(p, w))
            lines.push_back({p.getDepth(w), whole(p.getDepth(w)), gasText(p, static_cast<int16_t>(w + 1))});
    return lines;
}

// The lines below the bottom of a whole table: those of the last (longest) profile, and
// every depth another row stops or switches at that they lack, each put in order of
// depth, deepest first. The rows of a bail-out table end at different depths: a row
// bailing out deep has stops the last, shallower row never reaches, and each of them
// must be printed.
std::vector<TableLine> tableStopLines(const std::vector<ClassProfile> &Profiles)
{
    std::vector<TableLine> lines = ascentLines(Profiles.back());
    for (size_t i = 1; i + 1 < Profiles.size(); ++i)
        for (TableLine &line : ascentLines(Profiles[i])) {
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
    return lineCount(Profiles.back(), tableStopLines(Profiles).size());
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
    const std::vector<TableLine> lines = n == 0 ? std::vector<TableLine>() : tableStopLines(Profiles);
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
    G[1][j] = whole(last.getDepth(e));
    ++j;
    if (switchesAtBottom(last, e)) {
        G[0][j] = gasText(last, static_cast<int16_t>(e + 1));
        G[1][j] = whole(last.getDepth(e));
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
            const int16_t b = FindTableRow(G, whole(p.getStopDepth(w)), out.FirstStopLine, k);
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
    return static_cast<float>((n + 3) * 0.5 + 0.6);
}

float SmallTableHeight(int m)
{
    return static_cast<float>(m * 0.5 + 0.9);
}

TablePlace PlaceSmallTable(SmallTableLayout &Layout, float W, float H)
{
    TablePlace place;
    const int cols = W <= kCellWidth ? 1 : W <= 2 * kCellWidth ? 2 : W <= 3 * kCellWidth ? 3 : 4;
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

void PrintSmallTable(const std::vector<ClassProfile> &Profiles, bool BailoutHeader)
{
    const SmallTableGrid grid = BuildTableGrid(Profiles);
    const TableTextGrid &G = grid.G;
    const int n = Profiles.empty() ? 0 : static_cast<int>(Profiles.size()) - 1;
    const int m = grid.Lines;
    const int last = m - 1;

    const TablePlace place = PlaceSmallTable(gSmallTableLayout, SmallTableWidth(n), SmallTableHeight(m));
    // The page's cutting marks: a new page draws its own, a page already open gets them
    // again with every table.
    if (place.NewPage)
        NewTablePage();
    else
        DrawTableFrame();
    const float left = place.Left;
    const float top = place.Top;
    PrintSmallTableHeader(BailoutHeader);

    SetPrintForeColor(kBlack);
    const float right = left + 1.6f + 0.55f * n;
    const float bottom = top + 0.3f + kLine * m;
    auto columnLeft = [left](int a) { return left + 1.6f + 0.55f * (a - 3); };

    PrintBoxOutline(left + 0.7f, top + 0.4f, left + 1.6f, bottom); // the depth column
    PrintBoxOutline(left, top, right, top + 0.4f);                 // the title band
    // Every second bottom time is shaded, from the second on.
    for (int a = 3; a <= n + 2; ++a)
        if (a % 2 == 0)
            PrintFilledBox(columnLeft(a), top + 0.43f, columnLeft(a) + 0.55f, bottom - 0.02f, kGrey);
    PrintBoxOutline(left, top, right, bottom);
    for (int b = 1; b <= last; ++b)
        if (!G[1][static_cast<size_t>(b)].isEmpty())
            PrintFilledBox(left, top + 0.3f + kLine * b, right, top + 0.32f + kLine * b, kBlack);

    if (n > 0)
        text(left + 0.1f, top, SmallTableTitle(gDive.Settings, Profiles.back()), 7, true);
    text(left + 0.8f, top + 0.4f, G[1][0], 7);
    for (int a = 3; a <= n + 2; ++a) {
        const ClassProfile &p = Profiles[static_cast<size_t>(a - 2)];
        centred(columnLeft(a) + 0.27f, top + 0.4f, G[static_cast<size_t>(a)][0], 7);
        centred(columnLeft(a) + 0.27f, top + 0.4f + kLine * m, whole(p.GetRunTime(p.GetLength())), 7);
    }
    PrintBoxOutline(left, top + 0.3f + kLine * m, right, top + 0.3f + kLine * (m + 1));
    text(left + 0.2f, top + 0.4f + kLine * m, GetLangStringQ(2110), 7);
    for (int b = 2; b <= last; ++b) {
        PrintBoxOutline(left + 0.7f, top + 0.3f + kLine * b, right, top + 0.8f + kLine * b);
        for (int a = 3; a <= n + 2; ++a) {
            const QString &stop = G[static_cast<size_t>(a)][static_cast<size_t>(b)];
            if (!stop.isEmpty())
                centred(columnLeft(a) + 0.27f, top + 0.4f + kLine * b, stop, 7);
        }
    }
    text(left + 0.1f, top + 0.4f, G[0][0], 7);
    for (int b = 1; b <= last; ++b) {
        text(left + 0.05f, top + 0.4f + kLine * b, G[0][static_cast<size_t>(b)], 6, true);
        text(left + 0.9f, top + 0.4f + kLine * b, G[1][static_cast<size_t>(b)], 7);
    }
}

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
    text(0.9f, 6.5f, GetLangStringQ(2135), 8);
    text(1.95f, 6.5f, whole(t.MaximalEND), 8);
    text(0.95f, 6.9f, QStringLiteral("PPO2"), 8);
    text(1.95f, 6.9f, decimal(t.MaxPPO2, 2), 8);
    text(3.5f, 6.5f, GetLangStringQ(6103), 8);
    text(5.0f, 6.5f, whole(t.RMV), 8);
    text(3.5f, 6.9f, GetLangStringQ(6106), 8);
    text(5.0f, 6.9f, whole(t.DecoRMV), 8);

    // The ascent and descent rate tables side by side.
    PrintBoxOutline(0.8f, 7.5f, 5.8f, 7.9f);
    PrintBoxOutline(0.8f, 7.9f, 5.8f, 8.3f);
    text(1.0f, 7.5f, GetLangStringQ(6011), 8);
    text(3.5f, 7.5f, GetLangStringQ(6012), 8);
    text(1.0f, 8.0f, GetLangStringQ(2101), 7);
    text(2.0f, 8.0f, GetLangStringQ(6063), 7);
    text(3.5f, 8.0f, GetLangStringQ(2101), 7);
    text(4.5f, 8.0f, GetLangStringQ(6063), 7);
    const size_t rows = std::max(t.AscendRates.size(), t.DescendRates.size());
    PrintBoxOutline(0.8f, 8.3f, 5.8f, static_cast<float>(8.5 + 0.4 * rows));
    for (size_t r = 0; r < rows; r += 2)
        PrintFilledBox(0.81f, static_cast<float>(8.5 + 0.4 * r), 5.75f, static_cast<float>(8.5 + 0.4 * (r + 1) - 0.02),
                       kGrey);
    for (size_t r = 0; r < rows; ++r) {
        const float y = static_cast<float>(8.5 + 0.4 * r);
        if (r < t.AscendRates.size()) {
            text(1.0f, y, whole(t.AscendRates[r].Depth), 7);
            text(2.0f, y, whole(t.AscendRates[r].Rate), 7);
        }
        if (r < t.DescendRates.size()) {
            text(3.5f, y, whole(t.DescendRates[r].Depth), 7);
            text(4.5f, y, whole(t.DescendRates[r].Rate), 7);
        }
    }
}
