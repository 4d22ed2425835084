// The printed dive report read back from the spool: page numbers across a series, the
// page-break limits, the cells that change with the dive (gradient factor, ppO2 at its
// limit, no stops, a dive of one point), the settings block, the choice of dives and a
// dive whose report fails half-way. And the report as it comes out of the printer, in
// English and German, looked at page by page.

#include "engine/DiveModel.h"
#include "engine/EngineGlobals.h"
#include "engine/ResourceManager.h"
#include "engine/RuntimeError.h"
#include "engine/TemplateModule.h"
#include "platform/LibraryModule.h"
#include "platform/LocaliseForm.h"
#include "print/PrintPreview.h"
#include "print/PrintPrev.h"
#include "print/PrintPrint.h"
#include "print/SpoolInterpreter.h"
#include "reports/GeneralReport.h"
#include "reports/frmReportSelection.h"
#include "tests/support/FakeEngineHost.h"
#include "tests/support/FakeShellServices.h"
#include "tests/support/SpoolFile.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QLocale>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>

namespace {

using Items = std::vector<std::string>;

std::string Cm(const std::string &twips)
{
    return QString::number(std::round(std::stod(twips) / 567 * 1000) / 1000).toStdString();
}

// A page as what it draws, in centimetres: "left x y size text" (a "b" after the size
// for bold, "w" or "r" before the text when it is white or red), "right ...",
// "centre y size text", "filled x1 y1 x2 y2 colour" and "box x1 y1 x2 y2".
Items Drawn(const TestSpoolPage &page)
{
    Items drawn;
    std::string x, y, size, bold, colour = "0";
    for (const TestSpoolItem &item : page.items) {
        const std::string &k = item.keyword;
        if (k == "#ForeColor")
            colour = item.args[0];
        else if (k == "#fs")
            size = item.args[0];
        else if (k == "#fb")
            bold = item.args[0] == "0" ? "" : "b";
        else if (k == "#x")
            x = item.args[0];
        else if (k == "#y")
            y = item.args[0];
        else if (k == "#line") {
            const auto &a = item.args;
            const std::string corners = Cm(a[0]) + " " + Cm(a[1]) + " " + Cm(a[2]) + " " + Cm(a[3]);
            drawn.push_back(a[5] == "BF" ? "filled " + corners + " " + a[4] : "box " + corners);
        } else if (k.rfind("#txt_", 0) == 0) {
            const std::string tint = colour == "16777215" ? "w " : colour == "255" ? "r " : "";
            const std::string at = k == "#txt_c" ? "centre " + Cm(y)
                                                 : (k == "#txt_l" ? "left " : "right ") + Cm(x) + " " + Cm(y);
            drawn.push_back(at + " " + size + bold + " " + tint + item.args[0]);
        }
    }
    return drawn;
}

bool Has(const Items &page, const std::string &item)
{
    return std::find(page.begin(), page.end(), item) != page.end();
}

bool HasText(const TestSpoolPage &page, const std::string &text)
{
    const auto texts = page.texts();
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

std::string L(int16_t id)
{
    return GetLangString(id);
}

// The footer's page number of every page, in order.
std::vector<std::string> Footers(const TestSpool &spool)
{
    std::vector<std::string> numbers;
    for (const TestSpoolPage &page : spool.pages) {
        const auto texts = page.texts();
        numbers.push_back(texts.empty() ? "" : texts.back());
    }
    return numbers;
}

// The default template with its deco switches to EAN50 at 21 m and oxygen at 6 m, and
// no limit warnings (they would only ask questions).
TemplateRec DefaultSettings()
{
    TemplateRec t;
    EXPECT_TRUE(LoadTemplate(t, std::string(), std::string()));
    t.GasChanges = {GasChangeRecord{"Oxygen", 100, 0, 0, 6}, GasChangeRecord{"EAN50", 50, 50, 0, 21}};
    t.PPO2Low = t.PPO2High = t.MaxEnd = false;
    return t;
}

constexpr int16_t kTrimix = 5;

// A computed dive of a series appended after `previous` (-1 for the first): one leg.
Dive &ComputedDive(int16_t previous, float surfTime, float depth, float minutes, int16_t mix = kTrimix)
{
    ClassUseractions log;
    log.NewAction();
    log.setuser(1, depth, minutes, mix);
    std::shared_ptr<Dive> dive = AppendSeriesDive(previous, DefaultSettings(), surfTime, log, "s.prf", "/d/");
    ReplayDive(*dive, DecompressionRun(PlanOptions{}));
    ComputeAscent(*dive, DecompressionRun(PlanOptions{}));
    EXPECT_EQ(dive->State, EditorComputed);
    return *dive;
}

// A profile written by hand: the start point, then waypoints with the given fields.
struct Point {
    float depth, runTime;
    int16_t status;
    float ppo2 = 1.0f, gf = 1.0f, stopDepth = 0, stopTime = 0;
    int16_t model = 2;
};

ClassProfile HandProfile(const std::vector<Point> &points)
{
    ClassProfile p;
    p.SetGasMixName(0, "Air");
    for (const Point &pt : points) {
        p.NewWayPoint();
        const int16_t i = p.GetLength();
        p.setDepth(i, pt.depth);
        p.SetRunTime(i, pt.runTime);
        p.SetStatus(i, pt.status);
        p.SetPPO2(i, pt.ppo2);
        p.SetGF(i, pt.gf);
        p.SetStopDepth(i, pt.stopDepth);
        p.SetStopTime(i, pt.stopTime);
        p.SetModelControl(i, pt.model);
        p.SetGasMixName(i, "Air");
        p.SetGasMixO2(i, 21);
        p.SetGasUsed(i, 100);
    }
    return p;
}

class GeneralReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string name = language();
        ASSERT_EQ(LoadLanguageDll(name), 1);
        ResetEngineGlobals();
        gSettings[0].Template = DefaultSettings();
        gDecimalSeparator = ".";
    }
    void TearDown() override
    {
        UnloadPrintPrev();
        Printer().setOutputFileName(QString());
        FreeLanguageDll();
        ResetEngineGlobals();
    }
    virtual std::string language() const { return kDefaultLanguageFile; }

    // One dive's report as a job of its own.
    static TestSpool Report(const ClassProfile &profile, TemplateRec &settings, bool isSeries = false,
                            int16_t number = 1, float interval = 0)
    {
        StartReport();
        LongReport(profile, settings, isSeries, number, interval);
        return ReadTestSpool();
    }

    FakeEngineHost host;
    FakeShellServices shell;
};

// A shell whose progress box fails at its `failAt`-th text (0: never).
class BrokenProgressShell : public FakeShellServices {
public:
    int failAt = 0;
    void SetProgressText(const QString &text) override
    {
        if (++texts_ == failAt)
            throw RuntimeError(91, "", "Object variable or With block variable not set");
        FakeShellServices::SetProgressText(text);
    }

private:
    int texts_ = 0;
};

} // namespace

TEST_F(GeneralReportTest, PagesNumberOnThroughASeriesAndEachDiveStartsOnItsOwnPage)
{
    Dive &one = ComputedDive(-1, 0, 50, 20);
    Dive &two = ComputedDive(one.Number(), 90, 30, 25, 1);
    PrintDiveReport(two.Number(), ReportChoice::AllDives, {});
    const TestSpool spool = ReadTestSpool();
    EXPECT_TRUE(spool.crlf);
    EXPECT_TRUE(spool.outside.empty());
    ASSERT_GE(spool.pages.size(), 6u);

    // Page numbers 1..n, one per page, the first page of dive 2 right after dive 1's last.
    const auto footers = Footers(spool);
    for (size_t k = 0; k < footers.size(); ++k)
        EXPECT_EQ(footers[k], L(6000) + std::to_string(k + 1));
    std::vector<size_t> firstPages;
    for (size_t k = 0; k < spool.pages.size(); ++k)
        if (HasText(spool.pages[k], L(6024)))
            firstPages.push_back(k);
    ASSERT_EQ(firstPages.size(), 2u) << "one settings block per dive";
    EXPECT_EQ(firstPages[0], 0u);
    EXPECT_GE(firstPages[1], 3u) << "each dive has at least its waypoint, stop and totals pages";

    // The first dive of an all-dives report has no series box; the second has it with its
    // number and interval, and its settings block starts 3 cm lower.
    const Items first = Drawn(spool.pages[0]);
    const Items second = Drawn(spool.pages[firstPages[1]]);
    EXPECT_FALSE(HasText(spool.pages[0], L(6020)));
    EXPECT_TRUE(Has(second, "left 12.5 4 18b " + L(6020)));
    EXPECT_TRUE(Has(second, "left 2 5.5 10 w 2"));
    EXPECT_TRUE(Has(second, "left 7.5 5.5 10 1 hrs :30 min"));
    EXPECT_TRUE(Has(first, "left 12.5 4 18b " + L(6024)));
    EXPECT_TRUE(Has(second, "left 12.5 7 18b " + L(6024)));

    // The progress box said where the report stood and went at the end.
    ASSERT_FALSE(shell.progressTexts.empty());
    EXPECT_EQ(shell.progressTexts.front(), GetLangStringQ(6000) + " 1 " + GetLangStringQ(6001));
    EXPECT_TRUE(shell.progressTexts.contains(GetLangStringQ(6000) + " " + QString::number(firstPages[1] + 1) + " " +
                                             GetLangStringQ(6002)))
        << "dive 2 starts on the page after dive 1's last";
    EXPECT_EQ(shell.progressTexts.back(), GetLangStringQ(6017));
    EXPECT_EQ(shell.progressUnloads, 1);
    PrintPrev *preview = LoadedPrintPrev();
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->isVisible());
    EXPECT_EQ(preview->windowTitle(), GetLangStringQ(6018));
    EXPECT_EQ(preview->getPageMax(), QString::number(spool.pages.size()));
}

TEST_F(GeneralReportTest, TheCurrentDiveOfASeriesPrintsAloneWithItsPlaceInTheSeries)
{
    Dive &one = ComputedDive(-1, 0, 40, 20);
    Dive &two = ComputedDive(one.Number(), 60, 20, 30, 1);
    Dive &three = ComputedDive(two.Number(), 120, 25, 30, 1);

    PrintDiveReport(three.Number(), ReportChoice::CurrentDive, {});
    TestSpool spool = ReadTestSpool();
    ASSERT_FALSE(spool.pages.empty());
    EXPECT_EQ(Footers(spool).front(), L(6000) + "1");
    const Items page = Drawn(spool.pages[0]);
    EXPECT_TRUE(Has(page, "left 12.5 4 18b " + L(6020)));
    EXPECT_TRUE(Has(page, "left 2 5.5 10 w 3"));
    EXPECT_TRUE(Has(page, "left 7.5 5.5 10 2 hrs :0 min"));
    size_t blocks = 0;
    for (const TestSpoolPage &p : spool.pages)
        blocks += HasText(p, L(6024));
    EXPECT_EQ(blocks, 1u) << "only the current dive";
    // The progress box was never shown but its texts loaded it: it goes all the same.
    EXPECT_EQ(shell.progressUnloads, 1);

    // The first dive of the series asked alone prints as a dive on its own.
    PrintDiveReport(one.Number(), ReportChoice::CurrentDive, {});
    spool = ReadTestSpool();
    ASSERT_FALSE(spool.pages.empty());
    EXPECT_FALSE(HasText(spool.pages[0], L(6020)));
    EXPECT_TRUE(Has(Drawn(spool.pages[0]), "left 12.5 4 18b " + L(6024)));
}

TEST_F(GeneralReportTest, PageBreaksComeAtTheirLimitsAndNotAtThem)
{
    TemplateRec &t = gSettings[0].Template;
    gReport.metric = t.Metric;
    const auto closedPages = [] {
        const auto lines = ReadTestSpool().lines;
        return size_t(std::count(lines.begin(), lines.end(), "#endpage"));
    };

    StartReport();
    PrintReportPageHeader(false);
    // The waypoint table: a cursor reaching 17.0 stays, just over it breaks.
    gReport.profileY = 16.5f;
    NewProfilePageIfFull(true);
    EXPECT_EQ(closedPages(), 0u);
    EXPECT_FLOAT_EQ(gReport.profileY, 17.0f);
    gReport.profileY = 16.55f;
    NewProfilePageIfFull(false);
    EXPECT_EQ(closedPages(), 0u) << "no page after the last row";
    gReport.profileY = 16.55f;
    NewProfilePageIfFull(true);
    ASSERT_EQ(closedPages(), 1u);
    EXPECT_FLOAT_EQ(gReport.profileY, 7.3f) << "5.0 and the repeated heading";
    EXPECT_FLOAT_EQ(gReport.pageBottom, 7.3f);

    // The stop tables: 15.8.
    gReport.stopY = 15.3f;
    NewStopPageIfFull(true);
    EXPECT_EQ(closedPages(), 1u);
    gReport.stopY = 15.35f;
    NewStopPageIfFull(true);
    ASSERT_EQ(closedPages(), 2u);
    EXPECT_FLOAT_EQ(gReport.stopY, 7.1f);

    // The settings part: 18.5, and the next page's cursor at 1.5.
    gReport.reportY = 18.0f;
    NewInfoPageIfFull();
    EXPECT_EQ(closedPages(), 2u);
    gReport.reportY = 18.05f;
    NewInfoPageIfFull();
    ASSERT_EQ(closedPages(), 3u);
    EXPECT_FLOAT_EQ(gReport.reportY, 1.5f);
    PrintReportPageFooter();

    const TestSpool spool = ReadTestSpool();
    ASSERT_EQ(spool.pages.size(), 4u);
    // Continuation pages carry their table's heading in the dive's units.
    EXPECT_TRUE(HasText(spool.pages[1], L(6057)));
    EXPECT_TRUE(HasText(spool.pages[1], L(6061)));
    EXPECT_TRUE(HasText(spool.pages[2], L(6088)));
    EXPECT_EQ(Footers(spool), (std::vector<std::string>{L(6000) + "1", L(6000) + "2", L(6000) + "3", L(6000) + "4"}));
}

TEST_F(GeneralReportTest, LongTablesBreakBeforeTheFooterAndNeverOpenAnEmptyPage)
{
    // 45 legs and 45 stops: both stop tables run over pages.
    std::vector<Point> points;
    for (int k = 0; k < 45; ++k)
        points.push_back({float(10 + k), float(k), StatusUserLeg});
    for (int k = 0; k < 45; ++k)
        points.push_back({float(45 - k), float(50 + k), StatusDecoStop, 1.2f, 0.5f, float(45 - k), 1});
    ClassProfile profile = HandProfile(points);
    TemplateRec &t = gSettings[0].Template;
    for (int16_t k = 1; k <= 24; ++k) { // 24 gases breathed: the gas table runs over too
        t.Gases.push_back({"Mix" + std::to_string(k), 21, 79, 0, 0});
        profile.SetGasMixName(k, t.Gases.back().Name);
    }
    const TestSpool spool = Report(profile, t);
    ASSERT_GT(spool.pages.size(), 8u);
    size_t gases = 0;
    for (size_t k = 0; k < spool.pages.size(); ++k) {
        const Items page = Drawn(spool.pages[k]);
        // Every text above the footer band (17.3) but the footer's own.
        size_t rows = 0;
        for (const std::string &item : page) {
            if (item.rfind("left ", 0) != 0 && item.rfind("right ", 0) != 0)
                continue;
            const QStringList f = QString::fromStdString(item).split(' ');
            const double x = f[1].toDouble(), y = f[2].toDouble();
            if (y >= 17.3 && y <= 19.2)
                continue; // the footer's texts
            EXPECT_LE(y, 17.0) << "page " << k + 1 << ": " << item;
            EXPECT_GT(x, 0);
            EXPECT_LT(x, 28.5);
            if (y > 7.2 && f[3] == "10")
                ++rows;
            gases += f[1] == "2" && f.last().startsWith("Mix");
        }
        EXPECT_GT(rows, 0u) << "page " << k + 1 << " holds rows";
    }
    EXPECT_EQ(gases, 24u);
    // Every row of both stop tables is printed: their GF column (x 17.5) holds "--" for
    // a leg and the stop's 50 % for a stop.
    size_t stops = 0, legs = 0;
    for (const TestSpoolPage &page : spool.pages)
        for (const std::string &item : Drawn(page)) {
            if (item.rfind("left 17.5 ", 0) != 0)
                continue;
            legs += item.size() > 5 && item.substr(item.size() - 5) == " w --";
            stops += item.size() > 5 && item.substr(item.size() - 5) == " w 50";
        }
    EXPECT_EQ(legs, 45u);
    EXPECT_EQ(stops, 45u);
}

// Whatever the number of legs, nothing of a page's tables reaches the footer band (from
// 17.3 cm): the deco-stop column heading and its first row go to a new page together
// when they would not fit under the segment table's last row.
TEST_F(GeneralReportTest, TheDecoStopHeadingAndItsFirstRowStayAboveTheFooter)
{
    TemplateRec &t = gSettings[0].Template;
    for (int legCount = 10; legCount <= 21; ++legCount) {
        for (const bool withStops : {true, false}) {
            SCOPED_TRACE(testing::Message() << legCount << " legs" << (withStops ? ", 3 stops" : ", no stop"));
            std::vector<Point> points;
            for (int k = 0; k < legCount; ++k)
                points.push_back({float(10 + k), float(k), StatusUserLeg});
            if (withStops)
                for (int k = 0; k < 3; ++k)
                    points.push_back({float(9 - 3 * k), float(40 + k), StatusDecoStop, 1.2f, 0.5f, float(9 - 3 * k), 2});
            const TestSpool spool = Report(HandProfile(points), t);

            size_t headingPage = 0, firstStopPage = 0, noStopPage = 0, segmentPage = 0, legs = 0, stops = 0;
            for (size_t k = 0; k < spool.pages.size(); ++k) {
                if (HasText(spool.pages[k], L(6089)))
                    segmentPage = k + 1;
                const Items page = Drawn(spool.pages[k]);
                const auto footer = std::find(page.begin(), page.end(), "filled 1 17.3 28.5 19.2 10526880");
                ASSERT_NE(footer, page.end()) << "page " << k + 1 << " has its footer";
                for (auto item = page.begin(); item != footer; ++item) {
                    const QStringList f = QString::fromStdString(*item).split(' ');
                    if (f[0] == "left" || f[0] == "right") {
                        EXPECT_LE(f[2].toDouble() + 0.4, 17.3) << "page " << k + 1 << ": " << *item;
                    } else if (f[0] == "box" || f[0] == "filled") {
                        EXPECT_LE(f[4].toDouble(), 17.3) << "page " << k + 1 << ": " << *item;
                    }
                    if (f[0] == "left" && f[1] == "2.25" && f.mid(4).join(' ') == QString::fromStdString(L(6096)) &&
                        headingPage == 0)
                        headingPage = k + 1;
                    if (f[0] == "left" && f[1] == "17.5") {
                        legs += f.back() == "--";
                        stops += f.back() == "50";
                        if (f.back() == "50" && firstStopPage == 0)
                            firstStopPage = k + 1;
                    }
                    if (f[0] == "left" && f.mid(4).join(' ') == QString::fromStdString(L(6016)))
                        noStopPage = k + 1;
                }
            }
            EXPECT_EQ(legs, size_t(legCount));
            EXPECT_EQ(stops, withStops ? 3u : 0u);
            ASSERT_NE(headingPage, 0u);
            EXPECT_EQ(withStops ? firstStopPage : noStopPage, headingPage) << "the heading is not left alone";
            if (headingPage != segmentPage) {
                EXPECT_TRUE(HasText(spool.pages[headingPage - 1], L(6088))) << "a new page has the continued title";
            }
        }
    }
}

TEST_F(GeneralReportTest, CellsFollowTheWaypoint)
{
    TemplateRec &t = gSettings[0].Template;
    t.MaxPPO2 = 1.4f;
    const ClassProfile profile = HandProfile({
        {30, 1.5f, StatusUserLeg, 1.4f, 0.85f},     // ppO2 at the limit, GF 0.85
        {30, 20, StatusUserLeg, 1.39f, 1.0f},       // below it, GF 1.0
    });
    const TestSpool spool = Report(profile, t);
    const Items page = Drawn(spool.pages.at(0));
    // Rows start 2.3 below the heading, which starts 1.0 below the settings block.
    const float y1 = 4.0f + 3.8f + 1.0f + 2.3f + 0.5f;
    const auto row = [](float y) { return QString::number(std::round(y * 1000) / 1000).toStdString(); };
    EXPECT_TRUE(Has(page, "right 18.9 " + row(y1) + " 10b w 1.40")) << "at MaxPPO2: bold";
    EXPECT_TRUE(Has(page, "right 18.9 " + row(y1 + 0.5f) + " 10 w 1.39"));
    EXPECT_TRUE(Has(page, "left 10.5 " + row(y1) + " 10 85"));
    EXPECT_TRUE(Has(page, "left 10.5 " + row(y1 + 0.5f) + " 10 --"));
    EXPECT_TRUE(Has(page, "left 11.4 " + row(y1) + " 10 " + L(6005)));
    EXPECT_TRUE(Has(page, "right 2.7 " + row(y1) + " 10 w 30"));
    // No stop in the plan: the deco-stop table says so.
    bool noStops = false;
    for (const TestSpoolPage &p : spool.pages)
        noStops = noStops || HasText(p, L(6016));
    EXPECT_TRUE(noStops);
    // The gas table: the air used summed over the waypoints, and half as much again.
    const Items last = Drawn(spool.pages.back());
    EXPECT_TRUE(Has(last, "right 12.2 10.8 10 w 200.0"));
    EXPECT_TRUE(Has(last, "right 13.9 10.8 10 w 300.0"));
}

// The cells of a stop-table column in row order (depths right at x 2.7, gases left at x 7).
std::vector<std::string> StopColumn(const TestSpool &spool, const std::string &at)
{
    std::vector<std::string> cells;
    for (const TestSpoolPage &page : spool.pages)
        for (const std::string &item : HasText(page, L(6089)) || HasText(page, L(6088)) ? Drawn(page) : Items())
            if (item.rfind(at, 0) == 0 && item.find("b ") == std::string::npos) // no headings
                cells.push_back(item.substr(item.find(' ', item.find(' ', at.size()) + 1) + 1));
    return cells;
}

// Three trimix gases on a 1.5 m step, in either notation: the stop tables print depths as
// planned (22.5, not "23"), the settings block the step, every row its own gas (never a
// shared "Trimix..."): whole in the stop tables, as O2/He where the waypoint table is narrow.
TEST_F(GeneralReportTest, StopDepthsAndGasNamesPrintAsPlanned)
{
    TemplateRec &t = gSettings[0].Template;
    t.StepSize = 1.5f; // the last stop stays 3
    const std::vector<std::string> names = {"Trimix 18/45", "Trimix 21/35", "Trimix 10/70", "Trimix 18/45",
                                            "Trimix 21/35"}; // of the rows after the start
    ClassProfile profile = HandProfile({{60, 5, StatusUserLeg}, {80, 10, StatusUserLeg}, {40, 20, StatusUserLeg},
                                        {22.5f, 30, StatusDecoStop, 1, 0.8f, 22.5f, 2},
                                        {4.5f, 40, StatusDecoStop, 1, 0.8f, 4.5f, 2}});
    for (int16_t i = 1; i <= 5; ++i) {
        const std::string &name = names[static_cast<size_t>(i - 1)];
        profile.SetGasMixName(i, name);
        profile.SetGasMixO2(i, float(std::stoi(name.substr(7))));
        profile.SetGasMixHe(i, float(std::stoi(name.substr(10))));
    }
    for (const std::string &sep : {std::string("."), std::string(",")}) {
        gDecimalSeparator = sep;
        const TestSpool spool = Report(profile, t);
        const auto d = [&sep](const char *whole, const char *tenth) { return "w " + (whole + sep) + tenth; };
        EXPECT_EQ(StopColumn(spool, "right 2.7 "),
                  (std::vector<std::string>{d("60", "0"), d("80", "0"), d("40", "0"), d("22", "5"), d("4", "5")}));
        EXPECT_EQ(StopColumn(spool, "left 7 "), names);
        const Items first = Drawn(spool.pages.at(0));
        EXPECT_TRUE(Has(first, "left 7.5 6.5 10 1" + sep + "5") && Has(first, "left 8.8 6.5 10 3" + sep + "0"));
        for (const std::string mix : {" 18/45", " 21/35", " 10/70"}) // in the waypoint rows of their gas
            EXPECT_EQ(std::count_if(first.begin(), first.end(), [&](auto &i) { return i.ends_with(mix); }),
                      mix == " 10/70" ? 1 : 2);
    }
}

TEST_F(GeneralReportTest, ADiveOfOnePointSaysSoInEveryTable)
{
    TemplateRec &t = gSettings[0].Template;
    const ClassProfile start = HandProfile({});
    const TestSpool spool = Report(start, t);
    size_t messages = 0, noStops = 0;
    for (const TestSpoolPage &page : spool.pages) {
        const auto texts = page.texts();
        messages += std::count(texts.begin(), texts.end(), L(6013));
        noStops += std::count(texts.begin(), texts.end(), L(6016));
    }
    EXPECT_EQ(messages, 4u) << "waypoints, segments, totals and gases";
    EXPECT_EQ(noStops, 1u);
    EXPECT_EQ(spool.pages.size(), 3u);
    EXPECT_TRUE(shell.errorBoxes.isEmpty());
}

TEST_F(GeneralReportTest, SettingsBlockStatesTheSettingsAndWarnsOfAHighGradientFactor)
{
    TemplateRec &t = gSettings[0].Template;
    t.GFOn = true;
    t.GFLow = 0.3f;
    t.GFHigh = 0.85f;
    t.EndPressure = 0.9f;
    t.EndAltitude = 0;
    const ClassProfile profile = HandProfile({{20, 10, StatusUserLeg}});

    StartReport();
    PrintReportPageHeader(false);
    gReport.reportY = 4.0f;
    PrintInfoHeader(t, false, 1, 0);
    EXPECT_FLOAT_EQ(gReport.reportY, 7.8f);
    PrintInfoHeader(t, true, 2, 90);
    EXPECT_FLOAT_EQ(gReport.reportY, 13.6f);
    PrintReportPageFooter();
    Items page = Drawn(ReadTestSpool().pages.at(0));
    EXPECT_TRUE(Has(page, "left 13 6.5 10 w 0.30-0.85"));
    EXPECT_TRUE(Has(page, "left 12.5 7.8 18b " + L(6020)));
    // The end altitude is the one the end pressure stands for, kept in the settings.
    EXPECT_EQ(t.EndAltitude, 1022) << "ln(0.9 x 100000 / 101325) / -0.000116 = 1021.75";
    EXPECT_TRUE(Has(page, "left 5.9 6.5 10 w 1022"));
    EXPECT_TRUE(Has(page, "centre 1.2 30b " + L(6084)));

    // A high gradient factor above 1.0: in red, and every page's title warns.
    t.GFHigh = 1.1f;
    const TestSpool spool = Report(profile, t);
    EXPECT_TRUE(Has(Drawn(spool.pages.at(0)), "left 13 6.5 10 r 0.30-1.10"));
    for (const TestSpoolPage &p : spool.pages) {
        EXPECT_TRUE(HasText(p, L(6082)));
        EXPECT_FALSE(HasText(p, L(6084)));
    }
    t.GFOn = false;
    EXPECT_TRUE(Has(Drawn(Report(profile, t).pages.at(0)), "left 13 6.5 10 r Off"));
}

TEST_F(GeneralReportTest, AFailingDiveEndsItsPageAndTheNextDiveIsWhole)
{
    BrokenProgressShell broken;
    // The job's text, dive 1's first, then dive 1's second fails, after its first page
    // has begun.
    broken.failAt = 3;
    const ClassProfile failing = HandProfile({{20, 10, StatusUserLeg}, {6, 14, StatusDecoStop, 1.0f, 0.8f, 6, 3}});
    const ClassProfile fine = HandProfile({{20, 10, StatusUserLeg, 1.0f, 1.0f, 0, 0, 0}});
    TemplateRec &t = gSettings[0].Template;
    StartReport();
    LongReport(failing, t, false, 1, 0);
    LongReport(fine, t, true, 2, 60);
    ShowReportPreview();

    ASSERT_EQ(broken.errorBoxes.size(), 1);
    EXPECT_TRUE(broken.errorBoxes[0].contains("Error #  91 was generated by GenerateReport.LongReport"));
    const TestSpool spool = ReadTestSpool();
    EXPECT_TRUE(spool.outside.empty());
    EXPECT_FALSE(spool.cutShort);
    ASSERT_EQ(spool.pages.size(), 4u) << "dive 1's first page, then dive 2's three";
    const auto footers = Footers(spool);
    EXPECT_EQ(footers, (std::vector<std::string>{L(6000) + "1", L(6000) + "2", L(6000) + "3", L(6000) + "4"}));
    EXPECT_TRUE(HasText(spool.pages[1], L(6020))) << "dive 2 begins on a page of its own";
    EXPECT_FALSE(HasText(spool.pages[0], L(6020)));
    EXPECT_EQ(LoadedPrintPrev()->getPageMax(), "4");
}

// OK and the close box are answered in the running program (ReportCommandTest); here
// its own texts and Esc.
TEST(ReportSelection, HasItsOwnTextsAndEscMeansAllDives)
{
    frmReportSelection dialog;
    EXPECT_EQ(dialog.windowTitle(), "Generate report");
    EXPECT_EQ(dialog.Option1->text(), "Dive Information Report for the current dive");
    EXPECT_EQ(dialog.Option2->text(), "Dive Information Report for all dives in series");
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(dialog.CurrentDiveOnly()) << "Esc with the current dive chosen";
}

// The report of a computed trimix dive and of a two-dive series as the printer makes
// them, in English and German. DOLV_SHOTS=<folder> keeps the PDFs and a PNG of every
// page for a person to look at.
class PrintedReport : public GeneralReportTest, public ::testing::WithParamInterface<const char *> {
protected:
    std::string language() const override { return GetParam(); }

    void printAndLook(const QString &name, int expectedMinPages)
    {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const char *shots = std::getenv("DOLV_SHOTS");
        const QString lang = QString::fromLatin1(GetParam()).section('.', 0, 0);
        const QString base = name + "-" + lang;
        const QString pdf = shots ? QDir(shots).filePath(base + ".pdf") : dir.filePath(base + ".pdf");
        const int pages = int(ReadTestSpool().pages.size());
        ASSERT_GE(pages, expectedMinPages);
        ASSERT_EQ(PrintSpoolToPdf(pdf, 1, pages), pages);
        ASSERT_EQ(PdfPageCount(pdf), pages);
        for (int k = 1; k <= pages; ++k) {
            const QString text = PdfText(pdf, k);
            EXPECT_TRUE(text.contains(GetLangStringQ(6000) + QString::number(k))) << "page " << k;
            const QImage image = PdfPageImage(pdf, k, 60);
            ASSERT_FALSE(image.isNull());
            if (shots)
                image.save(QDir(shots).filePath(base + QString("-%1.png").arg(k)));
        }
        // The white-on-black columns come out as text a reader can find.
        const QString all = PdfText(pdf);
        EXPECT_TRUE(all.contains(GetLangStringQ(6058)));
        EXPECT_TRUE(all.contains(GetLangStringQ(6089)));
        EXPECT_TRUE(all.contains(GetLangStringQ(6113)));
        EXPECT_TRUE(all.contains(GetLangStringQ(6101)));
        EXPECT_FALSE(all.contains(GetLangStringQ(6108) + GetLangStringQ(6111))) << "two headings run together";
    }
};

TEST_P(PrintedReport, TrimixDiveAndSeriesComeOutReadable)
{
    const bool german = std::string(GetParam()) == "DOLV_de.lng";
    gDecimalSeparator = german ? "," : ".";
    Dive &one = ComputedDive(-1, 0, 60, 25);
    PrintDiveReport(one.Number(), ReportChoice::SingleDive, {});
    // The stop depths in the PDF: 60 m on trimix with GF 30/80 stops from deep down to 3 m.
    const TestSpool single = ReadTestSpool();
    size_t rows = 0;
    for (const TestSpoolPage &p : single.pages)
        rows += HasText(p, "EAN50") + HasText(p, "Oxygen");
    EXPECT_GT(rows, 0u) << "the deco gases appear";
    // The trimix's long name is its O2/He in the waypoint table, whole in the gas table.
    const auto first = single.pages.at(0).texts();
    EXPECT_NE(std::find(first.begin(), first.end(), "18/45"), first.end());
    EXPECT_TRUE(HasText(single.pages.back(), "Trimix 18/45"));
    printAndLook("report-trimix", 3);

    // The models are named by the ticks the command gives, in every dive's settings block.
    Dive &two = ComputedDive(one.Number(), 120, 30, 30, 1);
    PrintDiveReport(two.Number(), ReportChoice::AllDives, AlgorithmTicks{.ModelB = true, .ModelC = false});
    const std::vector<TestSpoolPage> pages = ReadTestSpool().pages;
    EXPECT_GE(std::count_if(pages.begin(), pages.end(), [](auto &p) { return HasText(p, "ZH-L16B"); }), 2);
    EXPECT_TRUE(std::none_of(pages.begin(), pages.end(), [](auto &p) { return HasText(p, "ZH-L16C"); }));
    printAndLook("report-series", 6);
    EXPECT_TRUE(shell.errorBoxes.isEmpty()) << shell.errorBoxes.join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Languages, PrintedReport, ::testing::Values("DOLV_uk.lng", "DOLV_de.lng"));
