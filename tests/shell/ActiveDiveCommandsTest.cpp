// The main window offers the commands of the dive in front; a template that would leave a
// series unreadable is refused; each dive of a command keeps its own limit warning.
#include "tests/support/EditorFixture.h"

#include "engine/TemplateModule.h"
#include "shell/frmMultiLevel.h"

#include <QTemporaryDir>

class ActiveDiveCommandsTest : public EditorFixture {};

TEST_F(ActiveDiveCommandsTest, TheCommandsAreThoseOfTheDiveInFront)
{
    QTemporaryDir dir;
    SaveTemplate(dive(), dir.filePath("Own.tpl").toStdString());
    // A computed dive saved, its ascent cleared here, opened from its file: dive 1.
    leg(40, 20);
    gMainForm->Buttons(6)->trigger();
    TestHooks::fileAnswers = {dir.filePath("1.prf"), dir.filePath("1.prf")};
    gMainForm->mnuSaveProfileAs->trigger();
    gMainForm->mnucleardecopoints->trigger();
    gMainForm->mnuOpen->trigger();
    EXPECT_EQ(commands(), (Commands{false, true, true, true}));
    std::vector<frmWaypointEditor *> w{gMainForm->ActiveForm()};
    for (float depth : {30.f, 20.f}) { // dive 2 computed, dive 3 drawn
        gMainForm->mnuSurface->trigger();
        gMainForm->findChildren<frmMultiLevel *>().last()->Command2->click();
        w.push_back(gMainForm->ActiveForm());
        w.back()->SaveUserEnteredWaypoints(20, depth, kAir, false);
        w.back()->ReEvaluateUserEnteredWaypoints();
        if (depth == 30)
            gMainForm->Buttons(6)->trigger();
    }
    for (frmWaypointEditor *d : w) {
        gMainForm->MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(d->parentWidget()));
        TestHooks::fileAnswers = {dir.filePath("Own.tpl")};
        QAction *model = gMainForm->mnuBulhmannC->isChecked() ? gMainForm->mnuBulhmannB : gMainForm->mnuBulhmannC;
        for (QAction *command : {model, gMainForm->mnuOC, gMainForm->mnuOC, gMainForm->mnuLoadTemplate}) {
            command->trigger();
            EXPECT_EQ(commands(), (Commands{d == w[2], true, false, d != w[2]})) << command->objectName().toStdString();
        }
    }
    EXPECT_TRUE(w[1]->windowTitle().contains(GetLangStringQ(3013))) << "a later dive keeps its place";
    // Compute on the computed dive 1 would log a second ascent behind its first.
    gMainForm->MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(w[0]->parentWidget()));
    const int16_t points = w[0]->dive().InputProfile.GetLength();
    gMainForm->Buttons(6)->trigger();
    EXPECT_EQ(w[0]->dive().UserEnteredWaypoints.GetLength(), 2);
    EXPECT_EQ(w[0]->dive().InputProfile.GetLength(), points);
}

TEST_F(ActiveDiveCommandsTest, ATemplateUnderWhichTheLegsLastBeyondAWeekIsRefused)
{
    leg(200, 10, kAir);
    leg(30, 10, kAir);
    leg(200, 8100, kAir); // within a week, but not when descending at 0.1 m/min
    TemplateRec slow = dive();
    for (RateRecord &r : slow.DescendRates)
        r.Rate = 0.1f;
    QTemporaryDir dir;
    SaveTemplate(slow, dir.filePath("Slow.tpl").toStdString());
    const QString title = editor->windowTitle();
    TestHooks::fileAnswers = {dir.filePath("Slow.tpl")};
    TestHooks::msgBoxAnswers = {vbOK, vbOK};
    gMainForm->mnuLoadTemplate->trigger();
    EXPECT_EQ(editor->windowTitle(), title);
    EXPECT_GT(dive().DescendRates[0].Rate, 1) << "the dive keeps its own settings";
    // Such settings, however they came, are not saved as a series that would not open.
    dive().DescendRates = slow.DescendRates;
    gMainForm->mnuSaveProfileAs->trigger();
    ASSERT_EQ(TestHooks::msgBoxes.size(), 2u);
    EXPECT_EQ(TestHooks::msgBoxes[0].prompt.toStdString(), DiveMinutesProblemWith(1, slow));
    EXPECT_TRUE(TestHooks::msgBoxes[1].prompt.startsWith(GetLangStringQ(7042)));
}

TEST_F(ActiveDiveCommandsTest, EachDiveKeepsItsOwnLimitWarning)
{
    // END 35 m against 30 m, and 105 ft against 100 ft: the larger number, the smaller breach.
    leg(35, 20, kAir);
    gMainForm->mnuNewProfile->trigger();
    frmWaypointEditor *imperial = gMainForm->ActiveForm();
    TemplateRec &feet = gSettings[imperial->ProfileNumber()].Template;
    feet.Metric = feet.PPO2Low = feet.PPO2High = feet.MaxEnd = false;
    feet.StartPressure = feet.EndPressure = 1; // sea level in atm
    imperial->SaveUserEnteredWaypoints(20, 105, kAir, false);
    imperial->ReEvaluateUserEnteredWaypoints();
    dive().MaxEnd = feet.MaxEnd = true;
    dive().MaximalEND = 30, feet.MaximalEND = 100;
    TestHooks::msgBoxAnswers = {vbOK};
    gMainForm->mnuBulhmannC->trigger();
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u) << "one box for the kind";
    const QString box = TestHooks::msgBoxes[0].prompt;
    EXPECT_TRUE(box.contains(GetLangStringQ(2400) + "35" + GetLangStringQ(2401) + "30")) << box.toStdString();
    EXPECT_TRUE(box.contains(GetLangStringQ(2400) + "105" + GetLangStringQ(2403) + "100")) << box.toStdString();
}
