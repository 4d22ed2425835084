// The table generator as the diver uses it: the ranges it remembers, the checks of what
// is typed, a run and its pages, Cancel, an engine refusal, warnings once per kind, and
// the dive's own record untouched by any of it. Also that a table column holds what the
// editor computes for the same dive.

#include "engine/DOLVmiscModule.h"
#include "engine/DiveModel.h"
#include "engine/EngineGlobals.h"
#include "engine/ResourceManager.h"
#include "platform/LocaliseForm.h"
#include "engine/TableGenerator.h"
#include "platform/RegEditModule.h"
#include "platform/TestHooks.h"
#include "print/PrintPreview.h"
#include "print/PrintPrev.h"
#include "print/SmallTables.h"
#include "print/frmTableExpert.h"
#include "tests/engine/BuhlmannProbe.h"
#include "tests/support/FakeShellServices.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/SpoolFile.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <map>
#include <memory>

namespace {

using enginetest::MetricAirDive;
using enginetest::RateRow;

TemplateRec TrimixDive()
{
    TemplateRec t = MetricAirDive();
    t.Templatename = "Trimix";
    t.Gases.push_back({"Tx 18/45", 18, 37, 45, 0});
    t.Gases.push_back({"EAN50", 50, 50, 0, 0});
    t.GasChanges = {{"EAN50", 50, 50, 0, 21}};
    t.GFOn = true;
    t.GFLow = 0.3f;
    t.GFHigh = 0.8f;
    t.DescendRates = {RateRow(0, 10), RateRow(10, 20)};
    return t;
}

void type(QLineEdit *box, const QString &text)
{
    box->setText(text);
}

// Every table title in the spool, page by page.
std::vector<std::string> Titles(const TestSpool &spool)
{
    std::vector<std::string> titles;
    for (const TestSpoolPage &page : spool.pages)
        for (const std::string &t : page.texts())
            if (t.rfind("GF ", 0) == 0)
                titles.push_back(t);
    return titles;
}

class TableExpertTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(config.isValid());
        std::string name = kDefaultLanguageFile;
        ASSERT_EQ(LoadLanguageDll(name), 1);
        ResetEngineGlobals();
        gSettings.resize(3);
        gSettings[1].Template = TrimixDive();
        gSettings[2].Template = MetricAirDive();
        gSettings[2].Template.Metric = false;
        gSettings[2].Template.AscendRates = {RateRow(0, 30)};
        gSettings[2].Template.DescendRates = {RateRow(0, 60)};
        shell.activeProfile = 1;
    }
    void TearDown() override
    {
        UnloadPrintPrev();
        ResetEngineGlobals();
        FreeLanguageDll();
    }
    std::unique_ptr<frmTableExpert> open()
    {
        auto w = std::make_unique<frmTableExpert>(shell.activeProfile, options);
        w->show();
        return w;
    }
    // Start, with `during` run once while the cells are being computed.
    void start(frmTableExpert *w, const std::function<void()> &during = {})
    {
        if (during)
            QTimer::singleShot(0, during);
        w->cbStart->click();
    }
    QTemporaryDir config;
    ScopedEnv configDir{"DOLV_CONFIG_DIR", config.path().toStdString()};
    FakeEngineHost host;
    FakeShellServices shell;
    PlanOptions options; // the algorithm menu's ticks
};

TEST_F(TableExpertTest, DefaultsRunSixteenTablesOfNineBottomTimes)
{
    auto w = open();
    EXPECT_EQ(w->tbSD->text(), "9");
    EXPECT_EQ(w->tbED->text(), "54");
    EXPECT_EQ(w->tbDI->text(), "3");
    EXPECT_EQ(w->tbST->text(), "5");
    EXPECT_EQ(w->tbET->text(), "45");
    EXPECT_EQ(w->tbTI->text(), "5");
    EXPECT_TRUE(w->Check1->isChecked());
    EXPECT_EQ(w->Label11->text(), GetLangStringQ(6027));
    EXPECT_EQ(w->Label13->text(), "Trimix");
    w->Combo1->setCurrentIndex(1);
    w->Combo1_Click();
    EXPECT_EQ(w->Label7->text(), "18/45");

    bool modal = false;
    start(w.get(), [&] { modal = QApplication::activeModalWidget() == w.get(); });
    EXPECT_TRUE(modal) << "nothing else starts while the tables are computed";
    EXPECT_EQ(w->pbProgress->maximum(), 144);
    EXPECT_EQ(w->pbProgress->value(), 144);
    EXPECT_FALSE(w->isVisible()) << "the window closes after its run";
    const TestSpool spool = ReadTestSpool();
    EXPECT_EQ(spool.pages.size(), 3u);
    const std::vector<std::string> titles = Titles(spool);
    ASSERT_EQ(titles.size(), 16u);
    EXPECT_EQ(titles[0], "GF 0.30-0.80  18/45  OC");
    ASSERT_NE(LoadedPrintPrev(), nullptr);
    EXPECT_EQ(LoadedPrintPrev()->windowTitle(), GetLangStringQ(6132));
    EXPECT_EQ(GetRegString("TableExpert", "StepM"), "3");
    EXPECT_EQ(GetRegString("TableExpert", "FastDescent"), "1");
    SetRegString("TableExpert", "FastDescent", "1e999"); // edited by hand: opens, clear
    EXPECT_FALSE(open()->Check1->isChecked());

    // An imperial dive gets the imperial ranges.
    shell.activeProfile = 2;
    auto feet = open();
    EXPECT_EQ(feet->tbSD->text(), "30");
    EXPECT_EQ(feet->tbED->text(), "180");
    EXPECT_EQ(feet->tbDI->text(), "10");
    EXPECT_EQ(feet->Label11->text(), GetLangStringQ(6029));
}

TEST_F(TableExpertTest, RangesAreCheckedInOrder)
{
    struct Case {
        float sd, ed, di, st, et, ti;
        int16_t message;
    } cases[] = {
        {20, 10, -1, 9, 1, -1, 2714}, {9, 54, 0, 9, 1, -1, 2715}, {9, 54, 3, 9, 1, -1, 2716},
        {9, 54, 3, -5, 1, 0, 2717},   {9, 54, 3, -5, -1, 1, 2718}, {-3, 54, 3, 0, 5, 1, 2720},
        {-9, -3, 3, 0, 5, 1, 2720},   {9, 9, 3, 0, 40, 1, 7210},  {9, 9, 3, 0, 39, 1, 0},
    };
    // A negative last time or depth is always caught earlier, as a first value above
    // it or as a negative first value.
    for (const Case &c : cases)
        EXPECT_EQ(TableRangeProblem(c.sd, c.ed, c.di, c.st, c.et, c.ti), c.message) << c.message;
    EXPECT_EQ(TableAxis(9, 20, 3), (std::vector<float>{9, 12, 15, 18}));
    EXPECT_EQ(TableAxis(30, 30, 10), (std::vector<float>{30}));
    EXPECT_EQ(TableAxis(3e7f, 4e7f, 1).size(), 1u) << "a step a Single cannot add ends the axis";
    EXPECT_EQ(TableRangeProblem(0, 1, 1, 0, 10080, 1), 7210) << "counted, not built";
    EXPECT_EQ(TableRangeProblem(0, 1, 1, 0, 10081, 1e9f), 7211) << "a bottom time beyond a week";
    EXPECT_EQ(TableRangeProblem(0, 1, 1, 0, 10080, 1e-30f), 7210) << "a range that cannot end";

    // 0.4 rounds to 0: refused with its message, nothing printed, the window closed, and
    // what was typed kept.
    auto w = open();
    type(w->tbDI, "0.4");
    TestHooks::msgBoxAnswers.push_back(vbOK);
    start(w.get());
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
    EXPECT_EQ(TestHooks::msgBoxes[0].prompt, GetLangStringQ(7241).replace("%1", "0.4")) << "says it was rounded";
    EXPECT_EQ(TestHooks::msgBoxes[0].title, GetLangStringQ(2700));
    EXPECT_EQ(LoadedPrintPrev(), nullptr);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(GetRegString("TableExpert", "StepM"), "0.4");
    TestHooks::msgBoxes.clear();
    auto time = open();
    type(time->tbDI, "3");
    type(time->tbTI, "0.4");
    TestHooks::msgBoxAnswers.push_back(vbOK);
    start(time.get());
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
    EXPECT_EQ(TestHooks::msgBoxes[0].prompt, GetLangStringQ(7240).replace("%1", "0.4"));

    for (const char *typed : {"1E+39", "1.2.3"}) { // no number: the field is named, nothing runs
        auto inf = open();
        type(inf->tbET, typed);
        TestHooks::msgBoxAnswers.push_back(vbOK);
        start(inf.get());
        EXPECT_EQ(TestHooks::msgBoxes.back().prompt, GetLangStringQ(7212).arg(GetLangStringQ(2705), typed, "30"));
        EXPECT_EQ(LoadedPrintPrev(), nullptr);
    }

    // A last depth beyond what the engine plans: refused in its words before any table.
    TestHooks::msgBoxes.clear();
    auto deep = open();
    type(deep->tbED, "2000");
    TestHooks::msgBoxAnswers.push_back(vbOK);
    start(deep.get());
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
    EXPECT_EQ(deep->pbProgress->maximum(), 100) << "no run was set up";
    EXPECT_EQ(LoadedPrintPrev(), nullptr);
}

// The end state and rate tables of the dive as a run, a Cancel and a refusal leave them.
struct RecordState {
    Comp16 He, N2;
    float CNS, OTU;
    size_t descentRows;
    float descentRate;
    bool operator==(const RecordState &) const = default;
};
RecordState StateOf(const SettingsRecord &r)
{
    return {r.HeCompartments, r.N2Compartments, r.CNS, r.OTU, r.Template.DescendRates.size(),
            r.Template.DescendRates.front().Rate};
}

TEST_F(TableExpertTest, TheDivesRecordStaysAsItWas)
{
    SettingsRecord &record = gSettings[1];
    record.HeCompartments[3] = 4.5f;
    record.N2Compartments[16] = 7.25f;
    record.CNS = 0.12f;
    record.OTU = 33;
    const RecordState before = StateOf(record);

    auto w = open();
    type(w->tbED, "21");
    start(w.get());
    EXPECT_EQ(Titles(ReadTestSpool()).size(), 5u);
    EXPECT_EQ(StateOf(record), before) << "after a run";

    // Cancel on the first cell: no preview, and the window survives the run under it.
    UnloadPrintPrev();
    QPointer<frmTableExpert> cancelled = ShowTableExpert(shell.activeProfile, options, nullptr);
    start(cancelled, [&] { cancelled->cbCancel->click(); });
    ASSERT_FALSE(cancelled.isNull());
    EXPECT_EQ(cancelled->pbProgress->value(), 1);
    EXPECT_FALSE(cancelled->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(cancelled.isNull());
    EXPECT_EQ(LoadedPrintPrev(), nullptr);
    EXPECT_EQ(StateOf(record), before) << "after a Cancel";

    // Settings the engine refuses: one box for the whole run, no half job shown.
    record.Template.StepSize = 0;
    TestHooks::msgBoxAnswers.push_back(vbOK);
    auto refused = open();
    start(refused.get());
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
    EXPECT_EQ(TestHooks::msgBoxes[0].prompt.toStdString(), GetLangString(2420));
    EXPECT_EQ(LoadedPrintPrev(), nullptr);
    record.Template.StepSize = 3;
    EXPECT_EQ(StateOf(record), before) << "after a refusal";
}

TEST_F(TableExpertTest, EachWarningOnceWithItsWorstValue)
{
    // Deep air, END and ppO2 watched: nearly every cell crosses both limits.
    TemplateRec air = MetricAirDive();
    air.MaxEnd = true;
    air.PPO2High = true;
    std::vector<PlanWarning> seen;
    const TableRun run = PlanTables(air, TableAxis(30, 60, 3), TableAxis(5, 45, 5), 0, true, PlanOptions{}, {});
    ASSERT_EQ(run.Warnings.size(), 2u);
    float deepestEND = 0, highestPPO2 = 0;
    for (const auto &table : run.Tables)
        for (size_t i = 1; i < table.size(); ++i)
            for (int16_t w = 1; w <= table[i].GetLength(); ++w) {
                deepestEND = std::max(deepestEND, table[i].GetEND(w));
                highestPPO2 = std::max(highestPPO2, table[i].GetPPO2(w));
            }
    for (const PlanWarning &w : run.Warnings) {
        if (w.Kind == PlanWarningKind::ENDAbove)
            EXPECT_NEAR(w.Value, deepestEND, 0.01);
        else
            EXPECT_NEAR(w.Value, highestPPO2, 0.01);
    }

    // Through the window: one box per kind for the whole run.
    gSettings[1].Template = air;
    auto w = open();
    type(w->tbSD, "30");
    type(w->tbED, "60");
    start(w.get());
    EXPECT_EQ(host.boxes.size(), 2u);
    EXPECT_NE(LoadedPrintPrev(), nullptr);
}

// The window keeps to its dive: its gases whatever window is active at Start; it closes
// when that dive's window closes, in the middle of a run too.
TEST_F(TableExpertTest, TheWindowKeepsToItsDive)
{
    auto w = open();
    w->Combo1->setCurrentIndex(1); // Tx 18/45, which dive 2 does not have
    type(w->tbED, "9");
    shell.activeProfile = 2;
    start(w.get());
    const std::vector<std::string> titles = Titles(ReadTestSpool());
    ASSERT_EQ(titles.size(), 1u);
    EXPECT_EQ(titles[0], "GF 0.30-0.80  18/45  OC");

    UnloadPrintPrev();
    shell.activeProfile = 1;
    QPointer<frmTableExpert> running = ShowTableExpert(shell.activeProfile, options, nullptr);
    start(running, [] { emit ShellNotices::Instance().DiveClosed(1); });
    ASSERT_FALSE(running.isNull());
    EXPECT_FALSE(running->isVisible());
    EXPECT_EQ(LoadedPrintPrev(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(running.isNull());
}

// The tables use the ZH-L16 set ticked in the main window, also when the tick changes
// while the window is open: B is less conservative than C, so its run times are no
// longer and some are shorter.
TEST_F(TableExpertTest, TheTickedCoefficientSetIsUsed)
{
    auto runTimes = [this](const std::function<void()> &beforeStart = {}) {
        auto w = open();
        type(w->tbSD, "45");
        type(w->tbED, "45");
        if (beforeStart)
            beforeStart();
        start(w.get());
        const std::vector<std::string> texts = ReadTestSpool().pages.at(0).texts();
        const auto label = std::find(texts.begin(), texts.end(), GetLangString(2110));
        EXPECT_NE(label, texts.end());
        return std::vector<std::string>(texts.begin(), label);
    };
    const std::vector<std::string> modelC = runTimes();
    const PlanOptions modelB{.ModelC = false};
    const std::vector<std::string> ticked = runTimes([&] { emit ShellNotices::Instance().AlgorithmChanged(modelB); });
    EXPECT_NE(ticked, modelC);
    options = modelB;
    EXPECT_EQ(runTimes(), ticked);
}

// The 30 m column of a table without fast descent holds the stops the editor computes
// for a dive drawn as 30 m reached at 25 minutes on the same gas.
TEST_F(TableExpertTest, AColumnHoldsTheStopsOfTheSameDiveInTheEditor)
{
    const TemplateRec settings = TrimixDive();
    ClassUseractions log;
    log.NewAction();
    log.setuser(1, 30, 25, 1);
    std::shared_ptr<Dive> dive = AppendSeriesDive(-1, settings, 0, log, "t.prf", "/t/");
    ReplayDive(*dive, DecompressionRun(PlanOptions{}));
    ComputeAscent(*dive, DecompressionRun(PlanOptions{}));
    const ClassProfile &drawn = dive->InputProfile;
    const int16_t bottom = FindEndUserProfile(drawn);
    ASSERT_NEAR(drawn.GetRunTime(bottom), 25, 1e-4);

    const TableRun run = PlanTables(settings, {30}, {20, 25}, 1, false, PlanOptions{}, {});
    const SmallTableGrid g = BuildTableGrid(run.Tables[0]);
    const std::vector<QString> &column = g.G[4];
    EXPECT_EQ(column[0], "25");
    std::map<QString, QString> table, editor;
    for (int b = g.FirstStopLine; b < g.Lines; ++b)
        if (!column[static_cast<size_t>(b)].isEmpty())
            table[g.G[1][static_cast<size_t>(b)]] = column[static_cast<size_t>(b)];
    int stops = 0;
    for (int16_t i = bottom + 1; i <= drawn.GetLength(); ++i)
        if (drawn.getStopTime(i) > 0) {
            editor[QString::number(drawn.getStopDepth(i))] = QString::number(drawn.getStopTime(i));
            ++stops;
        }
    EXPECT_GT(stops, 2);
    EXPECT_EQ(table, editor);
    EXPECT_NEAR(run.Tables[0][2].GetRunTime(run.Tables[0][2].GetLength()), drawn.GetRunTime(drawn.GetLength()),
                1e-3);
}

} // namespace
