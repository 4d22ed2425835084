// Bail-out tables of a dive open in DOLV: Ctrl+B and the toolbar button, one table per
// left-out deco-gas switch and one with all, rows that are the engine's open-circuit
// ascent from the dive cut at that minute, and a dive, its record and gSettings that no
// run, Cancel or engine error changes.

#include "tests/support/EditorFixture.h"
#include "tests/support/FileBytes.h"
#include "tests/support/SpoolFile.h"

#include "engine/DOLVmiscModule.h"
#include "engine/TemplateModule.h"
#include "engine/TextLineWriter.h"
#include "platform/ShellServices.h"
#include "shell/MainModule.h"
#include "print/PrintPrev.h"
#include "print/PrintJob.h"
#include "print/PrintPreview.h"
#include "print/frmBailoutStart.h"
#include "shell/DiveWindows.h"
#include "shell/frmMultiLevel.h"

#include <QDir>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <array>
#include <set>
#include <sstream>

namespace {

// What a run must leave as it was: the size of gSettings, the dive's record, the
// window's Tag and the shown profile.
struct Kept {
    size_t settings;
    std::string record;
    int16_t tag;
    std::vector<std::array<float, 4>> shown; // depth, run time, stop time, total CNS

    bool operator==(const Kept &) const = default;
};

Kept keep(int16_t n)
{
    const SettingsRecord &r = gSettings.at(n);
    std::ostringstream s;
    TextLineWriter out(s);
    WriteTemplateBlock(r.Template, out);
    s << r.PrevProfile << '|' << r.OTU << '|' << r.CNS << '|' << r.SurfTime << '|' << r.ProfileChanged;
    for (int i = 1; i <= kCompartments; ++i)
        s << '|' << r.HeCompartments[i] << '|' << r.N2Compartments[i];
    Kept k{gSettings.size(), s.str(), DiveNumber(gDiveWindows.at(n)), {}};
    const ClassProfile &p = gDiveWindows.at(n)->dive().InputProfile;
    for (int16_t i = 0; i <= p.GetLength(); ++i)
        k.shown.push_back({p.getDepth(i), p.GetRunTime(i), p.getStopTime(i), p.getTotalCNS(i)});
    return k;
}

// The run time at which a row's diver bailed out: the end of its own part.
float bailoutTime(const ClassProfile &row)
{
    return row.GetRunTime(FindEndUserProfile(row));
}

std::set<std::string> gasesOf(const ClassProfile &row)
{
    std::set<std::string> gases;
    for (int16_t i = 1; i <= row.GetLength(); ++i)
        gases.insert(row.GetGasMixName(i));
    return gases;
}

} // namespace

class BailoutTablesTest : public EditorFixture {
protected:
    struct Table {
        int16_t caseIndex;
        std::vector<ClassProfile> profiles;
    };

    // A constant-ppO2 rebreather dive on trimix to 40 m, 24 minutes, computed.
    void rebreatherDive()
    {
        dive().OpenCircuit = false;
        leg(40, 24);
        editor->StartDeco();
        const ClassProfile &p = editor->dive().InputProfile;
        ASSERT_FLOAT_EQ(p.GetRunTime(FindEndUserProfile(p)), 24);
        ASSERT_GT(p.GetLength(), FindEndUserProfile(p)) << "the ascent is computed";
    }

    // The bail-out dialog from its menu item (Ctrl+B) or its toolbar button, the interval
    // typed and OK pressed; `meanwhile` may queue what happens during the run.
    void run(const QString &interval, bool fromToolbar = false,
             const std::function<void(frmBailoutStart *)> &meanwhile = {})
    {
        TestHooks::modalHandlers.push_back([this, interval, meanwhile](QDialog *d) {
            auto *dialog = qobject_cast<frmBailoutStart *>(d);
            ASSERT_NE(dialog, nullptr);
            dialog->CaseTableReady = [this](int16_t c, const std::vector<ClassProfile> &t) { tables.push_back({c, t}); };
            dialog->tbTime->setText(interval);
            if (meanwhile)
                meanwhile(dialog);
            dialog->cbOK->click();
            EXPECT_FALSE(dialog->isVisible());
        });
        if (fromToolbar)
            gMainForm->Button(QStringLiteral("Bailout"))->trigger();
        else
            gMainForm->mnuBailoutReport->trigger();
        EXPECT_TRUE(TestHooks::modalHandlers.empty());
    }

    static bool previewShown() { return PrintPrevWindow()->isVisible(); }

    // The row of table `t` at bail-out time `time` against the engine's open-circuit
    // ascent, planned here on a cut made by hand, with the settings of dive `n` without
    // its EAN50 switch, from `start`.
    void expectRowIsThePlannedBailout(int16_t n, const Table &t, float time, DiveStartState start)
    {
        SCOPED_TRACE(testing::Message() << "dive " << n << ", bail-out at " << time);
        const auto row = std::find_if(t.profiles.begin() + 1, t.profiles.end(),
                                      [time](const ClassProfile &p) { return bailoutTime(p) == time; });
        ASSERT_NE(row, t.profiles.end());

        // The cut: the shown profile up to the waypoint reached after `time`, that one
        // moved back to `time` on the straight line from the waypoint before it.
        const ClassProfile &shown = gDiveWindows.at(n)->dive().InputProfile;
        int16_t j = 1;
        while (shown.GetRunTime(j) < time)
            ++j;
        const float t0 = shown.GetRunTime(j - 1), t1 = shown.GetRunTime(j);
        const float d0 = shown.getDepth(j - 1), d1 = shown.getDepth(j);
        ClassProfile cut;
        cut.CopyUntil(shown, j);
        cut.setDepth(j, d0 + (d1 - d0) * (time - t0) / (t1 - t0));
        cut.SetRunTime(j, time);
        cut.SetSegmentTime(j, time - t0);
        cut.SetStopDepth(j, 0);
        cut.SetStopTime(j, 0);
        cut.SetStatus(j, StatusUserLeg);

        TemplateRec settings = gSettings.at(n).Template;
        std::erase_if(settings.GasChanges, [](const GasChangeRecord &g) { return g.Name == "EAN50"; });
        ASSERT_EQ(settings.GasChanges.size(), 1u);
        start.CNS = shown.getCNS(0);
        start.OTU = shown.getOTU(0);
        PlanOptions options = AlgorithmOptions();
        options.Bailout = true;
        const ClassProfile expected = PlanDive(settings, start, cut, options).Profile;

        ASSERT_EQ(row->GetLength(), expected.GetLength());
        for (int16_t i = 0; i <= expected.GetLength(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_NEAR(row->getDepth(i), expected.getDepth(i), 1e-4);
            EXPECT_FLOAT_EQ(row->GetRunTime(i), expected.GetRunTime(i));
            EXPECT_EQ(row->getStopDepth(i), expected.getStopDepth(i));
            EXPECT_EQ(row->getStopTime(i), expected.getStopTime(i));
            EXPECT_EQ(row->GetGasMixName(i), expected.GetGasMixName(i));
        }
        // The same tissues at the surface: the same start state.
        const int16_t last = expected.GetLength();
        EXPECT_EQ(row->point(last).N2Compartments, expected.point(last).N2Compartments);
        EXPECT_EQ(row->point(last).HeCompartments, expected.point(last).HeCompartments);
        // On the loop the first piece of the ascent breathes the setpoint; the row
        // breathes the bottom gas on open circuit.
        options.Bailout = false;
        const ClassProfile closed = PlanDive(settings, start, cut, options).Profile;
        const int16_t up = j + 1;
        ASSERT_LE(up, std::min(closed.GetLength(), row->GetLength()));
        EXPECT_GE(closed.GetPPO2(up), settings.Setpoint - 0.01f);
        EXPECT_LT(row->GetPPO2(up), closed.GetPPO2(up) - 0.2f);
    }

    std::vector<Table> tables;
};

TEST_F(BailoutTablesTest, OneTablePerLeftOutSwitchAndOneWithAllAndTheDiveUntouched)
{
    rebreatherDive();
    const Kept before = keep(1);
    EXPECT_EQ(gMainForm->mnuBailoutReport->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_B));

    run(QStringLiteral("5"));
    EXPECT_EQ(TestHooks::modalWindows.count(QStringLiteral("frmBailoutStart")), 1);
    // Switches: oxygen at 6 m, EAN50 at 21 m, so three tables, the last with both.
    ASSERT_EQ(tables.size(), 3u);
    const std::vector<float> times{5, 10, 15, 20, 24}; // and the end of the bottom
    for (int16_t c = 0; c < 3; ++c) {
        SCOPED_TRACE(c);
        const Table &t = tables[size_t(c)];
        EXPECT_EQ(t.caseIndex, c);
        ASSERT_EQ(t.profiles.size(), times.size() + 1);
        EXPECT_EQ(t.profiles[0].GetLength(), editor->dive().InputProfile.GetLength()) << "the dive itself, not printed";
        for (size_t i = 0; i < times.size(); ++i)
            EXPECT_FLOAT_EQ(bailoutTime(t.profiles[i + 1]), times[i]);
    }
    const std::set<std::string> noOxygen = gasesOf(tables[0].profiles.back());
    const std::set<std::string> noEAN50 = gasesOf(tables[1].profiles.back());
    const std::set<std::string> all = gasesOf(tables[2].profiles.back());
    EXPECT_FALSE(noOxygen.count("Oxygen"));
    EXPECT_TRUE(noOxygen.count("EAN50"));
    EXPECT_FALSE(noEAN50.count("EAN50"));
    EXPECT_TRUE(noEAN50.count("Oxygen"));
    EXPECT_TRUE(all.count("EAN50") && all.count("Oxygen"));

    EXPECT_TRUE(previewShown());
    EXPECT_EQ(keep(1), before);

    // On paper: the three tables on one page, their columns headed by the bail-out times
    // and the strip naming the dive.
    QTemporaryDir out;
    const QString pdf = out.filePath(QStringLiteral("bailout.pdf"));
    ASSERT_EQ(PrintSpoolToPdf(pdf, 1, 99), 1);
    const QString paper = PdfText(pdf);
    const QString title = Shell().DiveCaption(1).section(QStringLiteral(" ["), 0, 0);
    EXPECT_TRUE(paper.contains(title)) << paper.toStdString();
    for (const char *time : {"5", "10", "15", "20", "24"})
        EXPECT_TRUE(paper.contains(QRegularExpression(QStringLiteral("\\b%1\\b").arg(QLatin1String(time)))))
            << time;
    if (const char *shots = std::getenv("DOLV_SHOTS"))
        PdfPageImage(pdf, 1, 80).save(QDir(shots).filePath(QStringLiteral("bailout-tables.png")));

    // The toolbar button opens the same modal dialog; at 99 the only row is the end of
    // the bottom.
    tables.clear();
    run(QStringLiteral("99"), true);
    EXPECT_EQ(TestHooks::modalWindows.count(QStringLiteral("frmBailoutStart")), 2);
    ASSERT_EQ(tables.size(), 3u);
    ASSERT_EQ(tables[2].profiles.size(), 2u);
    EXPECT_FLOAT_EQ(bailoutTime(tables[2].profiles[1]), 24);
    EXPECT_EQ(keep(1), before);

    // The next new dive starts with a record of its own, fresh.
    gMainForm->mnuNewProfile->trigger();
    const int16_t next = ActiveProfileNumber();
    ASSERT_GT(next, 1);
    EXPECT_EQ(size_t(next), before.settings);
    EXPECT_EQ(gSettings[size_t(next)].PrevProfile, -1);
    EXPECT_EQ(gSettings[size_t(next)].SurfTime, 0);
    EXPECT_EQ(gSettings[size_t(next)].N2Compartments, Comp16{});
}

TEST_F(BailoutTablesTest, RowsAreTheOpenCircuitAscentFromTheCutForAFirstAndARepetitiveDive)
{
    rebreatherDive();
    run(QStringLiteral("1"));
    ASSERT_EQ(tables.size(), 3u);
    ASSERT_EQ(tables[1].profiles.size(), 25u);
    // Half way down, and late on the bottom.
    expectRowIsThePlannedBailout(1, tables[1], 1, DiveStartState{});
    expectRowIsThePlannedBailout(1, tables[1], 23, DiveStartState{});

    // Dive 2 after 1 h 30, on the same rebreather: 30 m for 24 minutes.
    gMainForm->mnuSurface_Click();
    auto *next = gMainForm->findChildren<frmMultiLevel *>().last();
    next->tbHours->setText(QStringLiteral("1"));
    next->tbMinutes->setText(QStringLiteral("30"));
    next->Command2->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(gDiveWindows[2]);
    ASSERT_EQ(ActiveProfileNumber(), 2);
    gDiveWindows[2]->SaveUserEnteredWaypoints(24, 30, kTrimix, false);
    gDiveWindows[2]->ReEvaluateUserEnteredWaypoints();
    gDiveWindows[2]->StartDeco();
    const Kept before = keep(2);

    tables.clear();
    run(QStringLiteral("1"));
    ASSERT_EQ(tables.size(), 3u);
    DiveStartState repetitive;
    repetitive.AfterSurfaceInterval = true;
    repetitive.N2Compartments = gSettings[1].N2Compartments;
    repetitive.HeCompartments = gSettings[1].HeCompartments;
    repetitive.SurfaceInterval = 90;
    expectRowIsThePlannedBailout(2, tables[1], 1, repetitive);
    expectRowIsThePlannedBailout(2, tables[1], 20, repetitive);
    EXPECT_EQ(keep(2), before);
}

TEST_F(BailoutTablesTest, CancelAndAnEngineErrorLeaveTheDiveAndTheOldPreviewAsTheyWere)
{
    rebreatherDive();
    const Kept before = keep(1);

    // Cancel pressed while the first row is under way.
    run(QStringLiteral("1"), false, [](frmBailoutStart *dialog) {
        QTimer::singleShot(0, dialog->cbCancel, &QPushButton::click);
    });
    EXPECT_TRUE(tables.empty());
    EXPECT_FALSE(previewShown());
    EXPECT_EQ(keep(1), before);

    // Cancel pressed while the first table is written: the job stops there and goes with
    // its file; the tables shown before stay, their spool byte for byte.
    run(QStringLiteral("5"));
    PrintPrev *const old = LoadedPrintPrev();
    const QString oldPages = old->getPageMax();
    const std::string oldSpool = FileBytes(ShownSpoolPath().toStdString());
    const auto spoolFiles = [] {
        return QDir(CurrentPrintJob().folder()).entryList({"_$$_*"}, QDir::Files | QDir::Hidden);
    };
    const QStringList oldFiles = spoolFiles();
    tables.clear();
    run(QStringLiteral("1"), false, [this](frmBailoutStart *dialog) {
        dialog->CaseTableReady = [this, dialog](int16_t c, const std::vector<ClassProfile> &t) {
            tables.push_back({c, t});
            QTimer::singleShot(0, dialog->cbCancel, &QPushButton::click);
        };
    });
    EXPECT_EQ(tables.size(), 1u);
    EXPECT_EQ(LoadedPrintPrev(), old);
    EXPECT_TRUE(previewShown());
    EXPECT_EQ(old->getPageMax(), oldPages);
    EXPECT_TRUE(FileBytes(ShownSpoolPath().toStdString()) == oldSpool) << "the spool of the tables shown";
    EXPECT_EQ(spoolFiles(), oldFiles) << "nothing of the stopped job stays";
    tables.clear();

    // Settings the engine refuses: said once in the engine's words, no tables.
    dive().StepSize = 0;
    const Kept refused = keep(1);
    TestHooks::msgBoxAnswers.push_back(vbOK);
    run(QStringLiteral("5"));
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
    EXPECT_FALSE(TestHooks::msgBoxes[0].prompt.contains(QStringLiteral("Error #")));
    EXPECT_TRUE(TestHooks::msgBoxes[0].prompt.contains(QStringLiteral("bail-out at 5 min")));
    EXPECT_TRUE(tables.empty());
    EXPECT_EQ(LoadedPrintPrev(), old);
    EXPECT_EQ(keep(1), refused);
}

// A fault of the program met in a run (here an index one past the dive's last waypoint)
// is no limit of the dive: it reaches the error box naming its place, and no preview.
TEST_F(BailoutTablesTest, AFaultOfTheProgramReachesTheErrorBoxNamingItsPlace)
{
    rebreatherDive();
    TestHooks::msgBoxAnswers.push_back(vbOK);
    run(QStringLiteral("5"), false, [](frmBailoutStart *dialog) {
        dialog->CaseTableReady = [](int16_t, const std::vector<ClassProfile> &t) {
            (void)t[0].getDepth(t[0].GetLength() + 1);
        };
    });
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
    EXPECT_TRUE(TestHooks::msgBoxes[0].prompt.startsWith("Error #  9 was generated by ClassProfile\rSubscript"))
        << TestHooks::msgBoxes[0].prompt.toStdString();
    EXPECT_FALSE(previewShown());
}

TEST_F(BailoutTablesTest, ARepetitiveDiveAfterAnUncomputedOneIsRefusedInTheDiversWordsAndTheOldPreviewStays)
{
    rebreatherDive();
    run(QStringLiteral("5"));
    // Dive 2 after an hour, then dive 1's ascent taken off.
    gMainForm->mnuSurface_Click();
    auto *next = gMainForm->findChildren<frmMultiLevel *>().last();
    next->tbHours->setText(QStringLiteral("1"));
    next->Command2->click();
    gDiveWindows.at(2)->SaveUserEnteredWaypoints(20, 30, kTrimix, false);
    editor->mnucleardecopoints();
    gMainForm->MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(gDiveWindows[2]->parentWidget()));
    TestHooks::msgBoxAnswers.push_back(vbOK);
    tables.clear();
    run(QStringLiteral("5"));
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
    EXPECT_EQ(TestHooks::msgBoxes[0].prompt, GetLangStringQ(7040));
    EXPECT_TRUE(tables.empty());
    EXPECT_TRUE(previewShown()) << "the tables of dive 1 are still there";
}

TEST_F(BailoutTablesTest, IntervalsFromZeroTo99RunAndOthersAreRefused)
{
    rebreatherDive();
    const struct {
        const char *typed;
        int16_t message;
    } refused[] = {{"100", 3001}, {"-1", 3000}, {"1E+39", 7213}, {"5 min", 7213}};
    for (const auto &r : refused) {
        SCOPED_TRACE(r.typed);
        TestHooks::msgBoxes.clear();
        TestHooks::msgBoxAnswers.push_back(vbOK);
        run(QString::fromLatin1(r.typed));
        ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
        const QString text = GetLangStringQ(r.message);
        EXPECT_EQ(TestHooks::msgBoxes[0].prompt, r.message == 7213 ? text.arg(QString::fromLatin1(r.typed)) : text);
        EXPECT_EQ(TestHooks::msgBoxes[0].title, GetLangStringQ(3002));
        EXPECT_EQ(TestHooks::msgBoxes[0].buttons, vbExclamation + vbOKOnly);
        EXPECT_TRUE(tables.empty());
    }
    EXPECT_FALSE(previewShown());

    // 0 (and what rounds to it) runs every minute.
    run(QStringLiteral("-0.4"));
    ASSERT_EQ(tables.size(), 3u);
    ASSERT_EQ(tables[0].profiles.size(), 25u);
    EXPECT_FLOAT_EQ(bailoutTime(tables[0].profiles[1]), 1);
    EXPECT_FLOAT_EQ(bailoutTime(tables[0].profiles[24]), 24);
}

TEST_F(BailoutTablesTest, EachLimitWarningShowsOncePerRun)
{
    // Air to 50 m on open circuit, its END far above the limit on every row.
    dive().OpenCircuit = true;
    leg(50, 20, kAir);
    editor->StartDeco();
    dive().MaxEnd = true;
    dive().MaximalEND = 30;
    TestHooks::msgBoxAnswers.push_back(vbOK);
    run(QStringLiteral("2"));
    ASSERT_EQ(tables.size(), 3u);
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
    EXPECT_EQ(TestHooks::msgBoxes[0].title, GetLangStringQ(6160));
    // The worst of the run: the bottom's 50 m, not the 40 m of the first row (descending).
    EXPECT_TRUE(TestHooks::msgBoxes[0].prompt.contains(QStringLiteral(" 50 m,")));
    EXPECT_TRUE(previewShown());
}

TEST_F(BailoutTablesTest, TheBottomsAndTheDecoMaximumPPO2AreToldInOneBox)
{
    leg(34, 24, 1); // EAN32: 1.41 bar above the bottom's 1.4, then 1.61 on oxygen at 6 m above the deco 1.6
    dive().PPO2High = true;
    TestHooks::msgBoxAnswers.push_back(vbOK);
    run(QStringLiteral("5"));
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
    EXPECT_EQ(TestHooks::msgBoxes[0].prompt.toStdString(),
              (GetLangStringQ(2406) + "1.41" + GetLangStringQ(2407) + "1.40" + GetLangStringQ(2408) + "\n\n" +
               GetLangStringQ(2406) + "1.61" + GetLangStringQ(7095) + "1.60" + GetLangStringQ(2408)).toStdString());
}

TEST_F(BailoutTablesTest, NoDiveOpenOrNoWaypointsSaysSoAndPrintsNothing)
{
    TestHooks::msgBoxAnswers.push_back(vbOK);
    run(QStringLiteral("5"));
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
    EXPECT_EQ(TestHooks::msgBoxes[0].prompt, GetLangStringQ(7253));
    TestHooks::msgBoxes.clear();
    editor->CloseByCode();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(gMainForm->MdiArea()->subWindowList().isEmpty());
    TestHooks::msgBoxAnswers.push_back(vbOK);
    run(QStringLiteral("5"));
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
    EXPECT_EQ(TestHooks::msgBoxes[0].prompt, GetLangStringQ(3003));
    EXPECT_TRUE(tables.empty());
    EXPECT_FALSE(previewShown());
}
