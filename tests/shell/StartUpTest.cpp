// Start-up as the program does it: language, default template, switches, splash sound,
// disclaimer, and the main window with its first dive.

#include "engine/AppPaths.h"
#include "engine/EngineGlobals.h"
#include "engine/EngineHost.h"
#include "engine/LibraryModule.h"
#include "engine/TraceFile.h"
#include "platform/RegEditModule.h"
#include "tests/support/StartUpFixture.h"
#include "tests/support/ScopedEnv.h"

#include <QCoreApplication>
#include <QLabel>

#include <filesystem>
#include <QToolButton>

class StartUpTest : public StartUpFixture {};


namespace {

TEST_F(StartUpTest, TheMainWindowShowsOneNewDiveWithTheComputeCommandsOff)
{
    ASSERT_TRUE(start());
    ASSERT_TRUE(gMainForm);
    EXPECT_TRUE(gMainForm->isVisible());
    EXPECT_EQ(gMainForm->windowTitle(), "DOLV");
    EXPECT_EQ(TestHooks::modalWindows, QStringList{"frmLiability"});
    EXPECT_TRUE(TestHooks::msgBoxes.empty());

    ASSERT_EQ(diveWindows().size(), 1);
    EXPECT_EQ(diveWindows()[0]->windowTitle(), diveTitle(1));
    EXPECT_EQ(ActiveProfileNumber(), 1);
    EXPECT_EQ(gSettings.size(), 2u);
    EXPECT_EQ(gSettings[1].ProfileName, GetLangString(1060) + "1");

    for (QAction *a : {gMainForm->Button("Ascent"), gMainForm->Button("AscentInfo"), gMainForm->mnuStartAscent,
                       gMainForm->mnuDiveInformation, gMainForm->Button("Multilevel"), gMainForm->mnuSurface})
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_TRUE(gMainForm->Button("New")->isEnabled());
    EXPECT_FALSE(gMainForm->mnuVPM->isVisible());
    EXPECT_FALSE(gMainForm->mnuHybrid->isVisible());
    EXPECT_FALSE(gMainForm->mnualgsep->isVisible());
    EXPECT_TRUE(gMainForm->mnuBulhmannB->isChecked());
    EXPECT_FALSE(gMainForm->mnuBulhmannC->isChecked());
    EXPECT_TRUE(gMainForm->IsOpenCircuit());
    EXPECT_EQ(gMainForm->Panels(1)->text(), GetLangStringQ(5005));

    // The default template is element 0, the new dive a copy of it.
    EXPECT_EQ(gSettings[0].TemplateName, "Default");
    EXPECT_GT(gSettings[0].Template.AscendRates.size(), 0u);
    EXPECT_EQ(gSettings[1].Template.AscendRates.size(), gSettings[0].Template.AscendRates.size());
    // Splash sound, the English help beside the language.
    EXPECT_EQ(TestHooks::soundsPlayed, QStringList{QString::fromStdString(JoinPath(InstallDir(), "Dolv.wav"))});
    EXPECT_EQ(HelpFile(), JoinPath(InstallDir(), "lang/DOLV_uk.hlp"));
    EXPECT_EQ(gVeryHighGF, 0);
    EXPECT_EQ(gTraceOn, 0);
}

TEST_F(StartUpTest, CommandLineWordsAreSplitAtBlanksAndTabs)
{
    SetCommandLine("  /vpm\t\t/hybrid  ");
    EXPECT_EQ(SplitCommandLine(), QStringList({"", "/vpm", "/hybrid"}));
    SetCommandLine("\"/vpm\" a");
    EXPECT_EQ(SplitCommandLine(), QStringList({"", "\"/vpm\"", "a"})); // quotes are characters
    SetCommandLine("1 2 3 4 5 6 7 8 9 10 /phi");
    EXPECT_EQ(SplitCommandLine().size(), 11); // ten words: the eleventh is left out
    ParseCommandLine();
    EXPECT_EQ(gTraceOn, 0);
    SetCommandLine("/VPM /Hybrid /phi.log -vpm /veryhighgf");
    ParseCommandLine();
    EXPECT_EQ(gVPMSwitch + gHybridSwitch + gVeryHighGF + gTraceOn, 0);
    SetCommandLine("/VeryHighGF other");
    ParseCommandLine();
    EXPECT_EQ(gVeryHighGF, 1);
}

TEST_F(StartUpTest, PhiOpensTheTraceFileOnce)
{
    TempInstallDir install;
    SetCommandLine("/phi /phi");
    ParseCommandLine();
    EXPECT_EQ(gTraceOn, 1);
    EXPECT_EQ(TraceFilePath(), install.path() + "/phi.log");
    EXPECT_TRUE(std::filesystem::exists(install.path() + "/phi.log"));
}

TEST_F(StartUpTest, SwitchesRevealTheirAlgorithmItems)
{
    ASSERT_TRUE(start("/vpm /hybrid /VeryHighGF"));
    for (QAction *a : {gMainForm->mnuVPM, gMainForm->mnuHybrid}) {
        EXPECT_TRUE(a->isVisible());
        EXPECT_TRUE(a->isEnabled());
    }
    EXPECT_TRUE(gMainForm->mnualgsep->isVisible());
    EXPECT_EQ(gVeryHighGF, 1);
    ResetShell();
    ASSERT_TRUE(start("/hybrid"));
    EXPECT_FALSE(gMainForm->mnuVPM->isVisible());
    EXPECT_TRUE(gMainForm->mnuHybrid->isVisible());
    EXPECT_TRUE(gMainForm->mnualgsep->isVisible());
}

TEST_F(StartUpTest, DecliningTheDisclaimerEndsTheProgram)
{
    TestHooks::modalHandlers.push_back(decline);
    EXPECT_FALSE(start());
    EXPECT_TRUE(ApplicationEnding());
    EXPECT_FALSE(LanguageLoaded());
    EXPECT_TRUE(TestHooks::msgBoxes.empty()); // the one new dive asks nothing
    ASSERT_TRUE(gMainForm);
    EXPECT_FALSE(gMainForm->isVisible());
    EXPECT_TRUE(diveWindows().isEmpty());
}

TEST_F(StartUpTest, ClosingTheDisclaimerDeclinesToo)
{
    TestHooks::modalHandlers.push_back([](QDialog *d) { d->close(); });
    EXPECT_FALSE(start());
    EXPECT_TRUE(ApplicationEnding());
}

TEST_F(StartUpTest, AMissingLanguageFallsBackWithAMessage)
{
    SetRegString("Language", "", "DOLV_xx.lng");
    TestHooks::msgBoxAnswers.push_back(vbOK);
    ASSERT_TRUE(start());
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
    EXPECT_EQ(TestHooks::msgBoxes[0].prompt.toStdString(),
              "Language DLL " + JoinPath(InstallDir(), "lang/DOLV_xx.lng") + " not found using default language");
    EXPECT_EQ(gMainForm->Panels(1)->text(), GetLangStringQ(5005));
    EXPECT_FALSE(GetLangStringQ(5005).startsWith("*StringID"));
    EXPECT_EQ(HelpFile(), JoinPath(InstallDir(), "lang/DOLV_uk.hlp")); // silently the English help
}

TEST_F(StartUpTest, WithoutAnyLanguageTheProgramEndsBeforeAnyWindow)
{
    TempInstallDir empty;
    TestHooks::msgBoxAnswers = {vbOK, vbOK};
    EXPECT_FALSE(start());
    EXPECT_EQ(TestHooks::msgBoxes.size(), 2u);
    EXPECT_FALSE(gMainForm);
    TestHooks::modalHandlers.clear(); // the disclaimer never came
}

TEST_F(StartUpTest, TheStartSoundFollowsTheStoredSwitch)
{
    SetRegString("Sound", "", "off");
    bool soundOnShown = false;
    TestHooks::modalHandlers.push_back([&soundOnShown](QDialog *d) {
        auto *f = static_cast<frmLiability *>(d);
        soundOnShown = f->cbSoundOn->isVisible() && !f->cbSoundOff->isVisible();
        f->cbAgree->click();
    });
    ASSERT_TRUE(start());
    EXPECT_TRUE(TestHooks::soundsPlayed.isEmpty());
    EXPECT_TRUE(soundOnShown);
}

TEST_F(StartUpTest, TheDisclaimerSwitchesTheSoundForTheNextStart)
{
    TestHooks::modalHandlers.push_back([](QDialog *d) {
        auto *f = static_cast<frmLiability *>(d);
        EXPECT_TRUE(f->cbSoundOff->isVisible());
        EXPECT_FALSE(f->cbSoundOn->isVisible());
        EXPECT_EQ(f->cbSoundOff->toolTip(), "To disable the sound");
        f->cbSoundOff->click();
        EXPECT_EQ(GetRegString("Sound", ""), "Off");
        EXPECT_TRUE(f->cbSoundOn->isVisible());
        f->cbSoundOn->click();
        f->cbAgree->click();
    });
    ASSERT_TRUE(start());
    EXPECT_EQ(GetRegString("Sound", ""), "On");
}

TEST_F(StartUpTest, FreedSlotsAreReusedLowestFirstAndStartFresh)
{
    ASSERT_TRUE(start());
    gMainForm->mnuNewProfile->trigger();
    gMainForm->mnuNewProfile->trigger();
    ASSERT_EQ(diveWindows().size(), 3);
    EXPECT_EQ(diveWindows()[1]->windowTitle(), diveTitle(2));

    // Dive 2 had been saved and carried tissues when it was closed.
    gSettings[2].ProfileDir = "/home/diver/";
    gSettings[2].ProfileName = "wreck.prf";
    gSettings[2].SurfTime = 90;
    gSettings[2].CNS = 0.4f;
    gSettings[2].N2Compartments[1] = 25;
    gSettings[2].PrevProfile = 1;
    diveWindows()[1]->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(gSettings[2].SlotFree);
    EXPECT_TRUE(gDiveWindows[2].isNull());

    gMainForm->mnuNewProfile->trigger();
    EXPECT_EQ(ActiveProfileNumber(), 2);
    EXPECT_EQ(gSettings.size(), 4u);
    const SettingsRecord &fresh = gSettings[2];
    EXPECT_FALSE(fresh.SlotFree);
    EXPECT_EQ(fresh.ProfileDir, "");
    EXPECT_EQ(fresh.ProfileName, GetLangString(1060) + "2");
    EXPECT_EQ(fresh.SurfTime, 0);
    EXPECT_EQ(fresh.CNS, 0);
    EXPECT_EQ(fresh.N2Compartments[1], 0);
    EXPECT_EQ(fresh.PrevProfile, -1);
    EXPECT_EQ(ActiveEditor()->windowTitle(), diveTitle(2));

    gMainForm->mnuNewProfile->trigger(); // no free slot: the arrays grow
    EXPECT_EQ(ActiveProfileNumber(), 4);
    EXPECT_EQ(gSettings.size(), 5u);
    EXPECT_EQ(gDiveWindows.size(), 5u);
}

TEST_F(StartUpTest, ExitClosesEveryWindowAndEndsTheProgram)
{
    ASSERT_TRUE(start());
    gMainForm->mnuNewProfile->trigger();
    gMainForm->mnuExit->trigger();
    EXPECT_TRUE(ApplicationEnding());
    EXPECT_FALSE(gMainForm->isVisible());
    EXPECT_TRUE(diveWindows().isEmpty());
    EXPECT_FALSE(LanguageLoaded());
}

} // namespace
