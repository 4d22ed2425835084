// The main window offers the commands of the dive in front, whichever dives a command
// planned again behind it; a template that would make a dive's series unreadable is
// refused; and when one command plans several dives, each keeps its own limit warning.

#include "tests/support/EditorFixture.h"

#include "engine/DiveBounds.h"
#include "engine/TemplateModule.h"
#include "engine/TextLineWriter.h"
#include "shell/ProfileFile.h"
#include "shell/frmMultiLevel.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>

#include <cstdlib>
#include <fstream>
#include <sstream>

class ActiveDiveCommandsTest : public EditorFixture {
protected:
    static void activate(const frmWaypointEditor *w)
    {
        gMainForm->MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(w->parentWidget()));
    }

    // The next dive after the active one, 1:30 later, through the next-dive dialog.
    static frmWaypointEditor *nextDive()
    {
        gMainForm->mnuSurface->trigger();
        auto *dialog = gMainForm->findChildren<frmMultiLevel *>().last();
        dialog->tbHours->setText(QStringLiteral("1"));
        dialog->tbMinutes->setText(QStringLiteral("30"));
        dialog->Command2->click();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return gMainForm->ActiveForm();
    }

    static void draw(frmWaypointEditor *w, float depth, float minutes, int16_t mix)
    {
        w->SaveUserEnteredWaypoints(minutes, depth, mix, false);
        w->ReEvaluateUserEnteredWaypoints();
    }

    // A dive's settings as a file holds them.
    static std::string block(const TemplateRec &t)
    {
        std::ostringstream text;
        TextLineWriter out(text);
        WriteTemplateBlock(t, out);
        return text.str();
    }

    static float runTime(const frmWaypointEditor *w)
    {
        return w->dive().InputProfile.GetRunTime(w->dive().InputProfile.GetLength());
    }

    QTemporaryDir dir;
};

TEST_F(ActiveDiveCommandsTest, TheCommandsAreThoseOfTheDiveInFront)
{
    // Dive 1 computed, dive 2 computed, dive 3 drawn.
    leg(40, 20);
    gMainForm->Buttons(6)->trigger();
    frmWaypointEditor *second = nextDive();
    draw(second, 30, 25, kAir);
    gMainForm->Buttons(6)->trigger();
    frmWaypointEditor *third = nextDive();
    draw(third, 20, 30, kAir);
    ASSERT_TRUE(TestHooks::msgBoxes.empty());
    gSettings[editor->ProfileNumber()].ProfileChanged = false;
    const QString secondTitle = second->windowTitle();

    const Commands computedWithNext{false, true, false, true}, drawnLast{true, true, false, false};
    const SettingsRecord &first = gSettings[editor->ProfileNumber()];
    SaveTemplate(first.Template, dir.filePath("Own.tpl").toStdString());
    for (frmWaypointEditor *w : {editor.data(), second, third}) {
        SCOPED_TRACE(w->windowTitle().toStdString());
        const Commands expected = w == third ? drawnLast : computedWithNext;
        activate(w);
        EXPECT_EQ(commands(), expected) << "activated";
        (gMainForm->mnuBulhmannC->isChecked() ? gMainForm->mnuBulhmannB : gMainForm->mnuBulhmannC)->trigger();
        EXPECT_EQ(commands(), expected) << "another algorithm";
        gMainForm->mnuOC->trigger();
        gMainForm->mnuOC->trigger();
        EXPECT_EQ(commands(), expected) << "the circuit there and back";
        TestHooks::fileAnswers = {dir.filePath("Own.tpl")};
        gMainForm->mnuLoadTemplate->trigger();
        EXPECT_EQ(commands(), expected) << "a template loaded";
    }
    EXPECT_TRUE(TestHooks::msgBoxes.empty());
    EXPECT_TRUE(second->windowTitle().startsWith(secondTitle.left(secondTitle.indexOf(GetLangStringQ(6163)))))
        << "a later dive keeps its place in its caption: " << second->windowTitle().toStdString();
    // DOLV_SHOTS=<folder> keeps the main window as the diver sees it now.
    if (const char *shots = std::getenv("DOLV_SHOTS"))
        gMainForm->grab().save(QDir(shots).filePath(QStringLiteral("active-dive-commands.png")));

    // Compute offered on the computed dive 1 would log a second ascent after its first.
    activate(editor);
    const int16_t points = editor->dive().InputProfile.GetLength();
    const float planned = runTime(editor);
    gMainForm->Buttons(6)->trigger();
    gMainForm->mnuStartAscent->trigger();
    editor->StartDeco();
    EXPECT_EQ(editor->dive().UserEnteredWaypoints.GetLength(), 2);
    EXPECT_EQ(editor->dive().InputProfile.GetLength(), points);
    EXPECT_FLOAT_EQ(runTime(editor), planned);

    // No dive window left: no dive command is offered.
    TestHooks::msgBoxAnswers = {vbNo}; // the series is not saved
    gMainForm->MdiArea()->closeAllSubWindows();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(gMainForm->MdiArea()->subWindowList().isEmpty());
    EXPECT_EQ(commands(), (Commands{false, false, false, false}));
}

TEST_F(ActiveDiveCommandsTest, AComputedDiveOpenedFromAFileOffersToClearItsDecoPoints)
{
    ClassUseractions log;
    log.NewAction();
    log.setuser(1, 40, 20, kTrimix);
    log.NewAction();
    log.setuser(2, 0, 0, 0);
    log.setdeco(2);
    const QString path = dir.filePath("computed.prf");
    {
        std::ofstream file(path.toStdString(), std::ios::binary);
        TextLineWriter out(file);
        WriteProfileDive(dive(), 0, log, out);
    }
    TestHooks::fileAnswers = {path};
    gMainForm->mnuOpen->trigger();
    frmWaypointEditor *opened = gMainForm->ActiveForm();
    ASSERT_TRUE(opened && opened != editor && opened->EditorState() == EditorComputed);
    EXPECT_EQ(commands(), (Commands{false, true, true, true}));
    activate(editor);
    EXPECT_EQ(commands(), (Commands{false, false, false, false}));
    activate(opened);
    EXPECT_EQ(commands(), (Commands{false, true, true, true}));
}

TEST_F(ActiveDiveCommandsTest, ATemplateUnderWhichTheLegsLastBeyondAWeekIsRefused)
{
    // Within a week at the template's rates; far beyond it at 0.1 m/min.
    leg(200, 10, kAir);
    leg(30, 10, kAir);
    leg(200, 7000, kAir);
    TemplateRec slow = dive();
    for (std::vector<RateRecord> *rates : {&slow.AscendRates, &slow.DescendRates})
        for (RateRecord &r : *rates)
            r.Rate = DiveBounds::kMinRateMetric;
    slow.Templatename = "Slow.tpl";
    SaveTemplate(slow, dir.filePath("Slow.tpl").toStdString());
    gSettings[1].ProfileChanged = false;
    const std::string before = block(dive());
    const QString title = editor->windowTitle();
    const ClassProfile shown = editor->dive().InputProfile;

    TestHooks::fileAnswers = {dir.filePath("Slow.tpl")};
    TestHooks::msgBoxAnswers = {vbOK};
    gMainForm->mnuLoadTemplate->trigger();
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
    EXPECT_EQ(TestHooks::msgBoxes[0].prompt.toStdString(), DiveMinutesProblemWith(1, slow));
    EXPECT_EQ(block(dive()), before);
    EXPECT_EQ(editor->windowTitle(), title);
    EXPECT_FALSE(gSettings[1].ProfileChanged);
    EXPECT_EQ(editor->dive().InputProfile.GetLength(), shown.GetLength());

    // However such settings came into a dive, its series is not saved as a file that
    // would not open again.
    dive().AscendRates = slow.AscendRates;
    dive().DescendRates = slow.DescendRates;
    const QString saved = dir.filePath("never.prf");
    TestHooks::msgBoxAnswers = {vbOK};
    gMainForm->mnuSaveProfileAs->trigger();
    ASSERT_EQ(TestHooks::msgBoxes.size(), 2u);
    EXPECT_TRUE(TestHooks::msgBoxes[1].prompt.startsWith(GetLangStringQ(7042)));
    EXPECT_TRUE(TestHooks::msgBoxes[1].prompt.endsWith(QString::fromStdString(DiveMinutesProblemWith(1, slow))));
    EXPECT_FALSE(QFileInfo::exists(saved));
    EXPECT_TRUE(TestHooks::fileAnswers.empty() && TestHooks::msgBoxAnswers.empty());
}

TEST_F(ActiveDiveCommandsTest, EachDiveKeepsItsOwnLimitWarning)
{
    // A metric dive with an END of 35 m against 30 m, an imperial one of 105 ft
    // against 100 ft: the imperial value is the larger number, the metric breach the
    // worse, and neither may hide the other.
    leg(35, 20, kAir);
    gMainForm->mnuNewProfile->trigger();
    frmWaypointEditor *imperial = gMainForm->ActiveForm();
    TemplateRec &feet = gSettings[imperial->ProfileNumber()].Template;
    feet.Metric = false;
    feet.PPO2Low = feet.PPO2High = feet.MaxEnd = false;
    draw(imperial, 105, 20, kAir);
    dive().MaxEnd = feet.MaxEnd = true;
    dive().MaximalEND = 30;
    feet.MaximalEND = 100;
    ASSERT_TRUE(TestHooks::msgBoxes.empty());

    TestHooks::msgBoxAnswers = {vbOK};
    gMainForm->mnuBulhmannC->trigger();
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u) << "one box for the kind";
    const QString box = TestHooks::msgBoxes[0].prompt;
    EXPECT_EQ(TestHooks::msgBoxes[0].title, GetLangStringQ(6160));
    EXPECT_TRUE(box.contains(GetLangStringQ(2400) + "35" + GetLangStringQ(2401) + "30")) << box.toStdString();
    EXPECT_TRUE(box.contains(GetLangStringQ(2400) + "105" + GetLangStringQ(2403) + "100")) << box.toStdString();
    EXPECT_TRUE(box.contains(QString::fromStdString(gSettings[1].ProfileName) + ":\n"));
    EXPECT_TRUE(box.contains(QString::fromStdString(gSettings[imperial->ProfileNumber()].ProfileName) + ":\n"));
}
