// The main window's commands: the algorithm menu, the circuit mode, commands without a
// dive window, window arrangement and the stored placement.

#include "engine/EngineGlobals.h"
#include "engine/RuntimeError.h"
#include "engine/DiveModel.h"
#include "platform/ShellServices.h"
#include "shell/MainModule.h"
#include "shell/DiveWindows.h"
#include "platform/WindowSettings.h"
#include "tests/support/StartUpFixture.h"

#include <QCoreApplication>
#include <QLabel>
#include <QScreen>

class MainWindowTest : public StartUpFixture {};


namespace {

struct Ticks {
    bool B, C, VPM, Hybrid;
};

Ticks ticks()
{
    return {gMainForm->mnuBulhmannB->isChecked(), gMainForm->mnuBulhmannC->isChecked(),
            gMainForm->mnuVPM->isChecked(), gMainForm->mnuHybrid->isChecked()};
}

void expectTicks(const Ticks &want)
{
    const Ticks got = ticks();
    EXPECT_EQ(got.B, want.B) << "B";
    EXPECT_EQ(got.C, want.C) << "C";
    EXPECT_EQ(got.VPM, want.VPM) << "VPM";
    EXPECT_EQ(got.Hybrid, want.Hybrid) << "hybrid";
    // The dives are computed with the options the ticks show.
    const PlanOptions o = AlgorithmOptions();
    EXPECT_EQ(o.ModelC, got.C) << "ZH-L16C option";
    EXPECT_EQ(o.VPM, got.VPM) << "VPM option";
    EXPECT_EQ(o.Hybrid, got.Hybrid) << "hybrid option";
}

TEST_F(MainWindowTest, AlgorithmMenuKeepsVpmAloneAndHybridWithBOrC)
{
    ASSERT_TRUE(start("/vpm /hybrid"));
    gMainForm->mnuBulhmannC->trigger();
    expectTicks({false, true, false, false});
    gMainForm->mnuVPM->trigger(); // VPM unticks B and C
    expectTicks({false, false, true, false});
    gMainForm->mnuBulhmannB->trigger(); // B leaves VPM as it was
    expectTicks({true, false, true, false});
    gMainForm->mnuBulhmannC->trigger();
    gMainForm->mnuVPM->trigger(); // unticking VPM ticks B, though C was ticked before
    expectTicks({true, false, false, false});
    gMainForm->mnuVPM->trigger();
    gMainForm->mnuHybrid->trigger(); // hybrid while VPM: hybrid and B, no VPM
    expectTicks({true, false, false, true});
    gMainForm->mnuBulhmannC->trigger(); // hybrid goes with C as well
    expectTicks({false, true, false, true});
    gMainForm->mnuVPM->trigger(); // VPM while hybrid: VPM alone
    expectTicks({false, false, true, false});
    gMainForm->mnuHybrid->trigger();
    gMainForm->mnuHybrid->trigger(); // unticking hybrid leaves B and C as they are
    expectTicks({true, false, false, false});
}

TEST_F(MainWindowTest, TheCircuitModeTogglesAndIsWrittenIntoTheActiveDive)
{
    ASSERT_TRUE(start());
    QAction *button = gMainForm->Buttons(9);
    ASSERT_EQ(button, gMainForm->Button("OpenCircuit"));
    gSettings[1].Template.Changed = false;
    gMainForm->mnuOC->trigger();
    EXPECT_FALSE(gMainForm->IsOpenCircuit());
    EXPECT_FALSE(gSettings[1].Template.OpenCircuit);
    EXPECT_TRUE(gSettings[1].Template.Changed);
    EXPECT_EQ(button->toolTip(), GetLangStringQ(1108));
    EXPECT_EQ(gMainForm->mnuOC->text(), GetLangStringQ(1107));
    button->trigger(); // the toolbar button toggles back
    EXPECT_TRUE(gMainForm->IsOpenCircuit());
    EXPECT_TRUE(gSettings[1].Template.OpenCircuit);
    EXPECT_EQ(button->toolTip(), GetLangStringQ(1107));
    EXPECT_EQ(gMainForm->mnuOC->text(), GetLangStringQ(1108));
    EXPECT_NE(GetLangStringQ(1107), GetLangStringQ(1108));
}

TEST_F(MainWindowTest, ADiveWindowShowsItsOwnCircuitModeWithoutWritingIt)
{
    ASSERT_TRUE(start());
    gMainForm->mnuNewProfile->trigger();
    gSettings[1].Template.OpenCircuit = false; // dive 1 is a rebreather dive
    gSettings[1].Template.Changed = false;
    gMainForm->MdiArea()->setActiveSubWindow(diveWindows()[0]);
    EXPECT_FALSE(gMainForm->IsOpenCircuit());
    EXPECT_EQ(gMainForm->Buttons(9)->toolTip(), GetLangStringQ(1108));
    EXPECT_FALSE(gSettings[1].Template.Changed);
    gMainForm->MdiArea()->setActiveSubWindow(diveWindows()[1]);
    EXPECT_TRUE(gMainForm->IsOpenCircuit());
}

TEST_F(MainWindowTest, WithoutADiveWindowTheDiveCommandsDoNothing)
{
    ASSERT_TRUE(start());
    diveWindows()[0]->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(ActiveEditor());
    EXPECT_EQ(ActiveProfileNumber(), 0);
    const TemplateRec before = gSettings[0].Template;
    gMainForm->ApplyToProfile();
    gMainForm->mnuOC->trigger();
    gMainForm->mnuClose->trigger();
    gMainForm->mnuGeneralReport->trigger();
    gMainForm->Button("Report")->trigger();
    gMainForm->mnuDiveInformation->trigger();
    gMainForm->Button("Ascent")->setEnabled(true);
    gMainForm->Button("Ascent")->trigger();
    EXPECT_TRUE(gMainForm->Button("Ascent")->isEnabled()); // nothing ran, nothing changed
    EXPECT_EQ(gSettings[0].Template.OpenCircuit, before.OpenCircuit);
    EXPECT_FALSE(gSettings[0].Template.Changed);
    EXPECT_TRUE(TestHooks::msgBoxes.empty());
    EXPECT_TRUE(TestHooks::modalWindows == QStringList{"frmLiability"});
}

TEST_F(MainWindowTest, TheAscentCommandSwitchesItselfOff)
{
    ASSERT_TRUE(start());
    gMainForm->EnableProfileCommands(true, true);
    gMainForm->Button("Ascent")->trigger(); // the empty dive offers neither
    EXPECT_FALSE(gMainForm->Button("Ascent")->isEnabled());
    EXPECT_FALSE(gMainForm->mnuStartAscent->isEnabled());
    gMainForm->EnableProfileCommands(true, true);
    gMainForm->mnuStartAscent->trigger();
    EXPECT_FALSE(gMainForm->Button("Ascent")->isEnabled());
    EXPECT_FALSE(gMainForm->mnuStartAscent->isEnabled());
    EXPECT_FALSE(gMainForm->mnuDiveInformation->isEnabled());
}

TEST_F(MainWindowTest, WindowsAndDivesFindEachOther)
{
    ASSERT_TRUE(start());
    gMainForm->mnuNewProfile->trigger();
    // Each window shows the dive of its number; the series links are the dive's.
    for (int16_t n : {1, 2}) {
        ASSERT_TRUE(DiveWindow(n));
        EXPECT_EQ(DiveNumber(DiveWindow(n)), n);
        EXPECT_EQ(&DiveWindow(n)->dive(), FindDive(n));
        EXPECT_EQ(DiveWindow(n)->Tag(), QString::number(n));
    }
    EXPECT_EQ(ActiveProfileNumber(), 2);
    gDiveWindows[2]->setPrevNext(1, -1);
    EXPECT_EQ(gSettings[2].PrevProfile, 1);
    EXPECT_EQ(FirstDiveOfSeries(2), 1);
    EXPECT_EQ(DiveWindow(9), nullptr);
    EXPECT_EQ(DiveNumber(nullptr), -1);
    // A closed window's dive leaves the model; the window is gone for the look-up.
    DiveWindow(2)->CloseByCode();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(FindDive(2), nullptr);
    EXPECT_EQ(DiveWindow(2), nullptr);
    EXPECT_FALSE(AlgorithmOptions().ModelC);
    gMainForm->mnuBulhmannC->trigger();
    EXPECT_TRUE(AlgorithmOptions().ModelC);
    SetStatusText("computing");
    EXPECT_EQ(gMainForm->Panels(1)->text(), "computing");
    TestHooks::msgBoxAnswers.push_back(vbNo);
    EXPECT_EQ(Host().MsgBox("Save?", vbYesNo, ""), vbNo);
    EXPECT_EQ(TestHooks::msgBoxes.back().title, "DOLV");
}

TEST_F(MainWindowTest, UnknownMemberNamesAreAnError)
{
    ASSERT_TRUE(start());
    EXPECT_THROW(CallByName(ActiveEditor(), "StartDecoo"), RuntimeError);
    EXPECT_NO_THROW(CallByName(ActiveEditor(), "mnuclearallwaypoints"));
}

TEST_F(MainWindowTest, WindowsTileAndCascade)
{
    ASSERT_TRUE(start());
    gMainForm->resize(900, 700);
    gMainForm->mnuNewProfile->trigger();
    QCoreApplication::processEvents();
    const QRect area = gMainForm->MdiArea()->viewport()->rect();
    gMainForm->mnuWindowTileHorizontal->trigger(); // one above the other
    QRect a = diveWindows()[0]->geometry(), b = diveWindows()[1]->geometry();
    EXPECT_EQ(a.width(), area.width());
    EXPECT_EQ(b.width(), area.width());
    EXPECT_EQ(a.top(), 0);
    EXPECT_EQ(b.top(), area.height() / 2);
    gMainForm->mnuWindowTileVertical->trigger(); // side by side
    a = diveWindows()[0]->geometry();
    b = diveWindows()[1]->geometry();
    EXPECT_EQ(a.height(), area.height());
    EXPECT_EQ(b.left(), area.width() / 2);
    gMainForm->mnuWindowCascade->trigger();
    EXPECT_LT(diveWindows()[0]->geometry().top(), diveWindows()[1]->geometry().top());
    diveWindows()[0]->showMinimized();
    gMainForm->mnuWindowArrangeIcons->trigger();
    EXPECT_EQ(diveWindows()[0]->geometry().bottom(), area.height() - 1);
}

TEST_F(MainWindowTest, PlacementIsStoredInTwipsAndRestored)
{
    SaveSetting("Settings", "MainLeft", "1500");
    SaveSetting("Settings", "MainTop", "3000");
    SaveSetting("Settings", "MainWidth", "12000");
    SaveSetting("Settings", "MainHeight", "9000");
    ASSERT_TRUE(start());
    EXPECT_EQ(gMainForm->pos(), QPoint(100, 200));
    EXPECT_EQ(gMainForm->size(), QSize(800, 600));
    gMainForm->setGeometry(QRect(30, 40, 700, 500));
    gMainForm->close();
    EXPECT_EQ(GetSetting("Settings", "MainLeft"), QString::number(gMainForm->pos().x() * 15));
    EXPECT_EQ(GetSetting("Settings", "MainWidth"), QString::number(gMainForm->width() * 15));
    EXPECT_EQ(GetSetting("Settings", "MainHeight"), QString::number(gMainForm->height() * 15));
}

// The window comes back where and as large as the diver left it, however often the
// program is started: the stored size must not grow by the window frame each time.
TEST_F(MainWindowTest, PlacementComesBackUnchangedAtTheNextStart)
{
    ASSERT_TRUE(start());
    QCoreApplication::processEvents();
    gMainForm->setGeometry(QRect(60, 80, 900, 640));
    QCoreApplication::processEvents();
    const QPoint pos = gMainForm->pos();
    const QSize size = gMainForm->size();
    gMainForm->close();
    ResetShell();
    ASSERT_TRUE(start());
    QCoreApplication::processEvents();
    EXPECT_EQ(gMainForm->pos(), pos);
    EXPECT_EQ(gMainForm->size(), size);
}

TEST_F(MainWindowTest, TheFirstStartTakesThreeQuartersOfTheScreen)
{
    ASSERT_TRUE(start());
    const QRect screen = gMainForm->screen()->availableGeometry();
    EXPECT_EQ(gMainForm->size(), QSize(screen.width() * 3 / 4, screen.height() * 3 / 4));
    EXPECT_TRUE(screen.contains(gMainForm->geometry()));
    // A placement kept from a larger screen comes back onto this one.
    gMainForm->close();
    ResetShell();
    SaveSetting("Settings", "MainLeft", QString::number((screen.right() + 400) * 15));
    SaveSetting("Settings", "MainTop", "-3000");
    ASSERT_TRUE(start());
    EXPECT_TRUE(screen.contains(gMainForm->pos()));
}

TEST_F(MainWindowTest, AMinimisedWindowKeepsThePlacementStoredBefore)
{
    SaveSetting("Settings", "MainWidth", "12000");
    ASSERT_TRUE(start());
    gMainForm->showMinimized();
    QCoreApplication::processEvents();
    if (!gMainForm->isMinimized())
        GTEST_SKIP() << "this platform cannot minimise windows";
    gMainForm->close();
    EXPECT_EQ(GetSetting("Settings", "MainWidth"), "12000");
    EXPECT_EQ(GetSetting("Settings", "MainLeft", "none"), "none");
}

// A damaged settings.ini does not stop the start: the first start's placement applies.
TEST_F(MainWindowTest, AnUnreadablePlacementStartsWithTheDefault)
{
    SaveSetting("Settings", "MainLeft", "1e999");
    SaveSetting("Settings", "MainWidth", "9000");
    ASSERT_TRUE(start());
    const QRect screen = gMainForm->screen()->availableGeometry();
    EXPECT_EQ(gMainForm->size(), QSize(screen.width() * 3 / 4, screen.height() * 3 / 4));
}

} // namespace
