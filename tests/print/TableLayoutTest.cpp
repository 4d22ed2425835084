// The compact table: which lines a table has and where each stop lands, where tables go
// on a page (never over one another, never below the page), and the table job's pages
// and cutting marks as written to the spool.

#include "engine/DOLVmiscModule.h"
#include "engine/DiveModel.h"
#include "engine/EngineGlobals.h"
#include "engine/TemplateModule.h"
#include "engine/ResourceManager.h"
#include "platform/LocaliseForm.h"
#include "print/PrintPreview.h"
#include "print/BailoutCases.h"
#include "print/PrintPrev.h"
#include "print/SmallTables.h"
#include "print/TablePrintModule.h"
#include "tests/support/FakeEngineHost.h"
#include "tests/support/FakeShellServices.h"
#include "tests/support/SpoolFile.h"

#include <gtest/gtest.h>

#include <QRectF>

#include <cmath>
#include <map>
#include <random>

namespace {

struct Wp {
    float depth, rate, run;
    int16_t mix = 0;
    float stopTime = 0; // a stop at this waypoint's depth
    bool endUser = false;
};

// A profile from its waypoints; gas of mix 0 is 21/0, mix 1 is 50/0, mix 2 18/45.
ClassProfile Make(const std::vector<Wp> &points)
{
    static const float o2[] = {21, 50, 18}, he[] = {0, 0, 45};
    ClassProfile p;
    for (const Wp &w : points) {
        p.NewWayPoint();
        const int16_t i = p.GetLength();
        p.setDepth(i, w.depth);
        p.SetRate(i, w.rate);
        p.SetRunTime(i, w.run);
        p.SetMixNumber(i, w.mix);
        p.SetGasMixO2(i, o2[w.mix]);
        p.SetGasMixHe(i, he[w.mix]);
        if (w.stopTime > 0) {
            p.SetStopDepth(i, w.depth);
            p.SetStopTime(i, w.stopTime);
        }
        p.SetEndUserProfile(i, w.endUser);
    }
    return p;
}

// A square dive to `depth` with a descent over two rate bands, then stops at 6 and 3 m
// (times s6, s3) with a switch to EAN50 at 6 m.
ClassProfile Square(float depth, float bottom, float s6, float s3)
{
    return Make({{20, 10, 2},
                 {depth, 20, 2.5f},
                 {depth, 0, bottom, 0, 0, true},
                 {6, -10, bottom + 3},
                 {6, 0, bottom + 3 + s6, 1, s6},
                 {3, -3, bottom + 4 + s6, 1},
                 {3, 0, bottom + 4 + s6 + s3, 1, s3},
                 {0, -3, bottom + 5 + s6 + s3, 1}});
}

std::vector<QString> Column(const SmallTableGrid &g, size_t a)
{
    return {g.G[a].begin(), g.G[a].begin() + g.Lines};
}

class TableGridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string name = kDefaultLanguageFile;
        ASSERT_EQ(LoadLanguageDll(name), 1);
    }
    void TearDown() override { FreeLanguageDll(); }
    FakeEngineHost host;
};

TEST_F(TableGridTest, LinesFollowTheLongestProfileFromTheEndOfTheDiversPart)
{
    // The bottom is the flagged waypoint 3 (a descent over two bands), not waypoint 2.
    const std::vector<ClassProfile> table = {ClassProfile(), Square(30, 20, 2, 4), Square(30, 25, 4, 9)};
    const SmallTableGrid g = BuildTableGrid(table);
    EXPECT_EQ(CountTableStops(table), 3);
    ASSERT_EQ(g.Lines, 4);
    EXPECT_EQ(Column(g, 0), (std::vector<QString>{"Mix", "21/0", "50/0", "50/0"}));
    EXPECT_EQ(Column(g, 1), (std::vector<QString>{GetLangStringQ(1702), "30", "6", "3"}));
    EXPECT_EQ(Column(g, 3), (std::vector<QString>{"20", "", "2", "4"}));
    EXPECT_EQ(Column(g, 4), (std::vector<QString>{"25", "", "4", "9"}));
    EXPECT_EQ(SmallTableTitle(TemplateRec(), table.back()), "GF " + GetLangStringQ(6169) + "   21/0  RB");
    TemplateRec oc;
    oc.OpenCircuit = true;
    oc.GFOn = true;
    oc.GFLow = 0.3f;
    oc.GFHigh = 0.85f;
    EXPECT_EQ(SmallTableTitle(oc, table.back()), "GF 0.30-0.85  21/0  OC");
    gDecimalSeparator = ",";
    EXPECT_EQ(SmallTableTitle(oc, table.back()), "GF 0,30-0,85  21/0  OC") << "the user's decimal separator";
    gDecimalSeparator = ".";
}

TEST_F(TableGridTest, AStopAtTheBottomDepthHasItsOwnLine)
{
    // A bail-out cut at 12 m: a switch to EAN50 at the bottom, then a stop at 12 m.
    const ClassProfile cut = Make({{12, 10, 1.2f},
                                   {12, 0, 10, 0, 0, true},
                                   {12, 0, 10.01f, 1},
                                   {12, 0, 13, 1, 3},
                                   {0, -6, 15, 1}});
    const SmallTableGrid g = BuildTableGrid({ClassProfile(), cut});
    EXPECT_EQ(Column(g, 1), (std::vector<QString>{GetLangStringQ(1702), "12", "12", "12", "12"}));
    EXPECT_EQ(g.FirstStopLine, 3);
    EXPECT_EQ(g.G[3][1], "") << "the bottom line holds no stop";
    EXPECT_EQ(g.G[3][2], "") << "nor the switch at the bottom";
    EXPECT_EQ(g.G[3][3], "3");
    EXPECT_EQ(FindTableRow(g.G, "12", 4), 1);
    EXPECT_EQ(FindTableRow(g.G, "12", -1), -1);
    EXPECT_EQ(FindTableRow(g.G, "9", 4), -1);
}

TEST_F(TableGridTest, EveryRowPrintsAllItsStopsOnLinesDeepestFirst)
{
    // As in a bail-out table of a multi-level dive: the first row bails out at 30 m and
    // stops at 12, 9, 6 and 3 m; a middle row stops at 9 and 3 m; the last row bails out
    // at 15 m and stops at 6 and 3 m only.
    const ClassProfile deep = Make({{30, 20, 1.5f},
                                    {30, 0, 10, 0, 0, true},
                                    {12, -10, 11.8f},
                                    {12, 0, 13.8f, 0, 2},
                                    {9, -3, 14.8f},
                                    {9, 0, 15.8f, 0, 1},
                                    {6, -3, 16.8f},
                                    {6, 0, 19.8f, 1, 3},
                                    {3, -3, 20.8f, 1},
                                    {3, 0, 25.8f, 1, 5},
                                    {0, -3, 26.8f, 1}});
    const ClassProfile middle = Make({{20, 20, 1},
                                      {20, 0, 20, 0, 0, true},
                                      {9, -10, 21.1f},
                                      {9, 0, 22.1f, 0, 1},
                                      {3, -3, 24.1f},
                                      {3, 0, 27.1f, 0, 3},
                                      {0, -3, 28.1f}});
    const ClassProfile shallow = Make({{15, 20, 0.75f},
                                       {15, 0, 30, 0, 0, true},
                                       {6, -10, 30.9f},
                                       {6, 0, 32.9f, 1, 2},
                                       {3, -3, 33.9f, 1},
                                       {3, 0, 35.9f, 1, 2},
                                       {0, -3, 36.9f, 1}});
    const std::vector<ClassProfile> table = {ClassProfile(), deep, middle, shallow};
    const SmallTableGrid g = BuildTableGrid(table);
    EXPECT_EQ(CountTableStops(table), 5) << "the bottom and four stop depths";
    ASSERT_EQ(g.Lines, 6);
    EXPECT_EQ(Column(g, 1), (std::vector<QString>{GetLangStringQ(1702), "15", "12", "9", "6", "3"}));
    EXPECT_EQ(Column(g, 0), (std::vector<QString>{"Mix", "21/0", "21/0", "21/0", "50/0", "50/0"}))
        << "a line's gas from the row it came from";
    EXPECT_EQ(Column(g, 3), (std::vector<QString>{"10", "", "2", "1", "3", "5"}));
    EXPECT_EQ(Column(g, 4), (std::vector<QString>{"20", "", "", "1", "", "3"}));
    EXPECT_EQ(Column(g, 5), (std::vector<QString>{"30", "", "", "", "2", "2"}));
    // Only the bottom column for a profile too short to have an ascent.
    const SmallTableGrid bare = BuildTableGrid({ClassProfile(), Make({{30, 20, 1.5f, 0, 0, true}})});
    EXPECT_EQ(bare.Lines, 2);
}

// A bail-out table of a multi-level dive, 20 minutes at 50 m on trimix and 20 at 15 m,
// every 10 minutes: the rows bailing out at 50 m stop from the twenties up, the last row
// bails out at 15 m. Every stop of every row is printed, on the line of its depth.
TEST_F(TableGridTest, ABailoutTableOfAMultiLevelDiveShowsTheDeepRowsStops)
{
    ResetEngineGlobals();
    TemplateRec settings;
    ASSERT_TRUE(LoadTemplate(settings, std::string(), std::string()));
    settings.GasChanges = {GasChangeRecord{"Oxygen", 100, 0, 0, 6}, GasChangeRecord{"EAN50", 50, 50, 0, 21}};
    settings.PPO2Low = settings.PPO2High = settings.MaxEnd = false;
    ClassUseractions log;
    log.NewAction();
    log.setuser(1, 50, 20, 5); // mix 5: trimix 18/45
    log.NewAction();
    log.setuser(2, 15, 20, 5);
    std::shared_ptr<Dive> dive = AppendSeriesDive(-1, settings, 0, log, "m.prf", "/m/");
    ReplayDive(*dive, DecompressionRun(PlanOptions{}));
    ComputeAscent(*dive, DecompressionRun(PlanOptions{}));
    ASSERT_EQ(dive->State, EditorComputed);
    PlanOptions options;
    options.Bailout = true;
    std::vector<ClassProfile> table;
    std::vector<PlanWarning> warnings;
    ASSERT_TRUE(ComputeBailoutCase(dive->InputProfile, settings, DiveStartState{}, options, 10,
                                   [](int32_t) { return true; }, table, warnings));
    ASSERT_EQ(table.size(), 5u) << "rows at 10, 20, 30 and 40 minutes";

    const SmallTableGrid g = BuildTableGrid(table);
    EXPECT_EQ(CountTableStops(table), g.Lines - 1);
    for (int b = g.FirstStopLine + 1; b < g.Lines; ++b)
        EXPECT_GE(g.G[1][size_t(b - 1)].toFloat(), g.G[1][size_t(b)].toFloat()) << "deepest first";
    std::vector<float> deepest(table.size(), 0);
    for (size_t i = 1; i < table.size(); ++i) {
        const ClassProfile &row = table[i];
        for (int16_t w = FindEndUserProfile(row) + 1; w <= row.GetLength(); ++w) {
            if (row.getStopTime(w) == 0)
                continue;
            const QString depth = QString::number(std::lround(row.getStopDepth(w)));
            const int16_t b = FindTableRow(g.G, depth, g.FirstStopLine, int16_t(g.Lines - 1));
            ASSERT_NE(b, -1) << "row " << i << ": no line for its stop at " << depth.toStdString() << " m";
            EXPECT_EQ(g.G[i + 2][size_t(b)], QString::number(std::lround(row.getStopTime(w))))
                << "row " << i << ", " << depth.toStdString() << " m";
            deepest[i] = std::max(deepest[i], row.getStopDepth(w));
        }
    }
    EXPECT_GE(deepest[2], 21) << "the 20-minute row stops deep";
    EXPECT_GT(deepest[2], deepest[4]) << "deeper than the last row ever stops";
    ResetEngineGlobals();
}

TEST(TablePlacement, WidthsAndCellsAsTheTableNeeds)
{
    SmallTableLayout layout;
    EXPECT_FLOAT_EQ(SmallTableWidth(9), 6.1f);
    TablePlace p = PlaceSmallTable(layout, SmallTableWidth(9), SmallTableHeight(13));
    EXPECT_FALSE(p.NewPage);
    EXPECT_NEAR(p.Left, 6.65f, 1e-5) << "9 bottom times: one cell, centred";
    EXPECT_NEAR(p.Top, 1.3f, 1e-5);

    p = PlaceSmallTable(layout, SmallTableWidth(12), SmallTableHeight(5));
    EXPECT_EQ(p.Column, 1);
    EXPECT_NEAR(p.Left, 13.7f, 1e-5) << "12 bottom times: two cells, 0.3 cm inside";
    EXPECT_TRUE(layout.Taken[0][2]);

    // Six one-cell tables fill a page; the seventh starts a new one at its top left.
    layout.Clear();
    for (int i = 0; i < 6; ++i)
        EXPECT_FALSE(PlaceSmallTable(layout, 6.6f, SmallTableHeight(13)).NewPage);
    p = PlaceSmallTable(layout, 6.6f, SmallTableHeight(13));
    EXPECT_TRUE(p.NewPage);
    EXPECT_EQ(p.Row, 0);
    EXPECT_EQ(p.Column, 0);

    // A table taller than a cell goes to the top row, of a new page if need be.
    layout.Clear();
    for (int i = 0; i < 3; ++i)
        PlaceSmallTable(layout, 6.6f, 5);
    p = PlaceSmallTable(layout, 6.6f, SmallTableHeight(16));
    EXPECT_TRUE(p.NewPage);
    EXPECT_EQ(p.Row, 0);
    EXPECT_TRUE(layout.Taken[1][0]);

    // A three-cell table takes a row of its own.
    layout.Clear();
    PlaceSmallTable(layout, 6.6f, 5);
    p = PlaceSmallTable(layout, SmallTableWidth(30), 5);
    EXPECT_FALSE(p.NewPage);
    EXPECT_EQ(p.Row, 1);
    EXPECT_NEAR(p.Left, 6.0f + (22.2f - SmallTableWidth(30)) / 2, 1e-5);
}

// Whatever the mix of widths and heights, the tables of a page never overlap and stay
// inside the cells of their page.
TEST(TablePlacement, TablesNeverOverlapOrLeaveThePage)
{
    std::mt19937 random(7);
    const int widths[] = {1, 9, 12, 16, 25, 40};
    const int heights[] = {3, 13, 14, 30};
    SmallTableLayout layout;
    std::vector<QRectF> page;
    for (int i = 0; i < 400; ++i) {
        const float W = SmallTableWidth(widths[random() % 6]);
        const float H = SmallTableHeight(heights[random() % 4]);
        const TablePlace p = PlaceSmallTable(layout, W, H);
        if (p.NewPage)
            page.clear();
        const QRectF table(p.Left, p.Top, W, H);
        EXPECT_GE(table.left(), 6.0 - 1e-4);
        EXPECT_LE(table.right(), 6.0 + 3 * 7.4 + 1e-4) << "table " << i << " past the cutting marks";
        EXPECT_LE(table.bottom(), 20.0) << "table " << i << " below the page";
        for (const QRectF &other : page)
            EXPECT_FALSE(table.intersects(other)) << "table " << i << " over another";
        page.push_back(table);
    }
}

// Rules of the cutting marks on a spool page: box outlines of no width or height, at
// most 0.5 cm long.
int MarkRules(const TestSpoolPage &page)
{
    int rules = 0;
    for (const TestSpoolItem &item : page.items) {
        if (item.keyword != "#line" || item.args.size() < 6 || item.args[5] != "B")
            continue;
        const double x1 = std::stod(item.args[0]), y1 = std::stod(item.args[1]);
        const double x2 = std::stod(item.args[2]), y2 = std::stod(item.args[3]);
        const double length = std::abs(x2 - x1) + std::abs(y2 - y1);
        if ((x1 == x2 || y1 == y2) && length > 0 && length <= 0.5 * 567 + 1)
            ++rules;
    }
    return rules;
}

class TableJobTest : public TableGridTest {
protected:
    void TearDown() override
    {
        UnloadPrintPrev();
        TableGridTest::TearDown();
    }
    FakeShellServices shell;
    TableDive dive()
    {
        TableDive d;
        d.ProfileNumber = 1;
        d.Settings.Metric = true;
        d.Settings.AscendRates = {{0, 0, 10, 0}, {0, 0, 3, 6}};
        d.Settings.DescendRates = {{0, 0, 20, 0}};
        return d;
    }
};

TEST_F(TableJobTest, PagesFramesAndThePreview)
{
    StartTablePrint(dive());
    EndTablePrint();
    TestSpool spool = ReadTestSpool();
    ASSERT_EQ(spool.pages.size(), 1u);
    EXPECT_EQ(MarkRules(spool.pages[0]), 0) << "an empty job draws no marks";
    ASSERT_NE(LoadedPrintPrev(), nullptr);
    EXPECT_EQ(LoadedPrintPrev()->windowTitle(), GetLangStringQ(6132));

    // Seven one-cell tables: six on page 1, whose frame and strip are drawn once, and a
    // second page whose frame comes before its table.
    const std::vector<ClassProfile> table = {ClassProfile(), Square(30, 20, 2, 4), Square(30, 25, 4, 9)};
    StartTablePrint(dive());
    for (int i = 0; i < 7; ++i)
        PrintDepthTable(table, false);
    EndTablePrint();
    spool = ReadTestSpool();
    ASSERT_EQ(spool.pages.size(), 2u);
    EXPECT_EQ(MarkRules(spool.pages[0]), 24);
    EXPECT_EQ(MarkRules(spool.pages[1]), 24);
    const TestSpoolPage &second = spool.pages[1];
    size_t firstText = 0;
    while (firstText < second.items.size() && second.items[firstText].keyword.rfind("#txt", 0) != 0)
        ++firstText;
    TestSpoolPage before;
    before.items.assign(second.items.begin(), second.items.begin() + static_cast<long>(firstText));
    EXPECT_EQ(MarkRules(before), 24) << "the new page's frame is drawn before its table";
    const std::vector<std::string> texts = spool.pages[0].texts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), ("GF " + GetLangStringQ(6169) + "   21/0  RB").toStdString()),
              6);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), GetLangStringQ(6132).toStdString()), 1)
        << "the strip is drawn once per page";
}

TEST_F(TableJobTest, NumbersOnThePageUseTheUsersDecimalSeparator)
{
    TableDive d = dive();
    d.Settings.MaxPPO2 = 1.4f;
    d.Settings.GFOn = true;
    d.Settings.GFLow = 0.3f;
    d.Settings.GFHigh = 0.85f;
    gDecimalSeparator = ",";
    StartTablePrint(d);
    PrintDepthTable({ClassProfile(), Square(30, 20, 2, 4)}, false);
    EndTablePrint();
    gDecimalSeparator = ".";
    const std::vector<std::string> texts = ReadTestSpool().pages.at(0).texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "1,40"), texts.end()) << "the maximum ppO2 of the strip";
    EXPECT_NE(std::find(texts.begin(), texts.end(), "GF 0,30-0,85  21/0  RB"), texts.end());
}

// A dive to `depth`, then a stop of 200 + i minutes every `step` m from `first` up.
ClassProfile Stops(float depth, float bottom, float first, float step, float runAdd = 0)
{
    std::vector<Wp> w = {{depth, 20, 1}, {depth, 0, bottom, 0, 0, true}};
    float run = bottom;
    for (int i = 0; first - step * i > 0.01f; ++i) {
        w.push_back({first - step * i, -10, run += 0.1f});
        w.push_back({first - step * i, 0, run += 200 + i, 0, 200.0f + i});
    }
    w.push_back({0, -10, run + 1 + runAdd});
    return Make(w);
}

// Every text of the job as its page, its text and its box in cm.
std::vector<std::tuple<size_t, std::string, QRectF>> PageTexts()
{
    std::vector<std::tuple<size_t, std::string, QRectF>> out;
    const TestSpool spool = ReadTestSpool();
    std::map<std::string, std::string> at; // the last #fn, #fs, #fb, #x, #y
    for (size_t pg = 0; pg < spool.pages.size(); ++pg)
        for (const TestSpoolItem &item : spool.pages[pg].items)
            if (item.keyword.rfind("#txt", 0) != 0)
                at[item.keyword] = item.args.empty() ? "" : item.args[0];
            else {
                const float size = std::stof(at["#fs"]), w = SpoolTextWidth(QString::fromStdString(item.args[0]),
                                      QString::fromStdString(at["#fn"]), size, at["#fb"] != "0");
                out.emplace_back(pg, item.args[0], QRectF(std::stof(at["#x"]) / 567, std::stof(at["#y"]) / 567,
                                                          w / 567, size * 2.54 / 72));
            }
    return out;
}

// 74 stops 0.5 m apart, 60 columns with four-digit run times, one column whose title
// needs a wider band, on an imperial dive of RMV 0.7: every number inside the cutting
// marks, apart from its neighbours, once on the page.
TEST_F(TableJobTest, EveryStopRowAndColumnIsInsideTheFrame)
{
    std::vector<ClassProfile> wide = {ClassProfile()};
    for (int i = 1; i <= 60; ++i)
        wide.push_back(Stops(30, 100.0f + i, 6, 3, 1000));
    TableDive d = dive();
    std::tie(d.Settings.GFOn, d.Settings.Metric, d.Settings.RMV) = std::tuple(true, false, 0.7f);
    StartTablePrint(d);
    PrintDepthTable({ClassProfile(), Stops(40, 20, 37, 0.5f)}, false);
    PrintDepthTable(wide, false);
    PrintDepthTable({ClassProfile(), Square(30, 20, 2, 4)}, false);
    EndTablePrint();
    const auto texts = PageTexts();
    std::map<std::string, int> seen;
    double titleRight = 0, bandRight = 0;
    for (size_t i = 0; i < texts.size(); ++i) {
        const auto &[page, text, r] = texts[i];
        ++seen[text];
        if (r.left() < 6)
            continue; // the information strip
        EXPECT_LE(r.right(), 28.2) << text;
        EXPECT_LE(r.bottom(), 20.0) << text;
        for (size_t j = i + 1; j < texts.size() && std::get<0>(texts[j]) == page; ++j)
            EXPECT_FALSE(std::get<2>(texts[j]).top() == r.top() && std::get<2>(texts[j]).intersects(r))
                << text << " runs into " << std::get<1>(texts[j]);
        if (page == 2 && text.rfind("GF", 0) == 0)
            titleRight = r.right();
    }
    for (int i = 0; i < 74; ++i) // stop times, and the wide table's bottom times
        EXPECT_EQ(seen[std::to_string(200 + i)] + seen[std::to_string(100 + i)], (i < 2 ? 61 : 1) + (i && i <= 60));
    EXPECT_EQ(seen["29.0"] + seen["28.5"] + seen["0.5"], 3);
    EXPECT_EQ(seen["GF 0.00-0.00  21/0  RB"], 3 + 2 + 1) << "the tall table in three parts, the wide in two";
    EXPECT_EQ(seen["0.7"], 3) << "the strip once on each of the three pages";
    const TestSpool spool = ReadTestSpool(); // the one-column table's title inside its band
    for (const TestSpoolItem &item : spool.pages.at(2).items)
        if (item.keyword == "#line" && std::stod(item.args[0]) >= 6 * 567)
            bandRight = std::max(bandRight, std::stod(item.args[2]) / 567);
    EXPECT_LE(titleRight, bandRight);
}


// A table of 74 stops goes on in three parts: each card names the bottom depth on its
// first line and its part in its band. The strip keeps 40 rate bands on the paper.
TEST_F(TableJobTest, EveryPartNamesItsDepthAndEveryRateBandIsOnThePaper)
{
    TableDive d = dive();
    for (int i = 0; i < 40; ++i)
        d.Settings.AscendRates.push_back({0, 0, 9, 601.0f + 3 * i});
    StartTablePrint(d);
    PrintDepthTable({ClassProfile(), Stops(40, 20, 37, 0.5f)}, false);
    EndTablePrint();
    const auto texts = PageTexts();
    int parts = 0;
    int bands = 0; // the depths 601 to 718 of the strip
    for (const auto &[page, title, band] : texts) {
        if (band.left() < 6 && band.top() > 8) // above the foot of the cells
            bands += band.bottom() <= 20.0 && title.size() == 3 && (title[0] == '6' || title[0] == '7');
        if (title.rfind("GF ", 0) != 0)
            continue;
        const std::string part = GetLangStringQ(7270).arg(++parts).arg(3).toStdString();
        int found = 0;
        for (const auto &[pg, t, r] : texts)
            found += pg == page && r.left() >= band.left() && r.left() < band.left() + 7 &&
                     (t == "40.0" || t == part) && std::abs(r.top() - band.top() - (t == part ? 0 : 0.9)) < 0.01;
        EXPECT_EQ(found, 2) << part;
    }
    EXPECT_EQ(parts, 3);
    EXPECT_EQ(bands, 40);
}
} // namespace
