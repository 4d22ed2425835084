// The settings dialog fills its pages from the record it edits: which record, in which
// units, the adapt-time boxes, the deco-gas switch depths, the dive-site altitude and the
// gas list; it shows the dive's circuit in the main window and leaves with the dive.

#include "tests/settings/PropertiesFixture.h"

#include "platform/ShellServices.h"

#include <QLabel>
#include <QPushButton>

#include <cmath>

TEST_F(PropertiesTest, WithNoDiveOpenTheDefaultTemplateIsEditedAndNamedInTheTitle)
{
    shell.activeProfile = 0;
    gSettings[0].Template.Templatename = "Trimix.tpl";
    gSettings[0].Template.StepSize = 6;
    open();
    EXPECT_EQ(dialog->ProfileIndex, 0);
    EXPECT_EQ(dialog->windowTitle(), "Trimix.tpl");
    EXPECT_EQ(dialog->tbStepSize->text(), "6");
}

TEST_F(PropertiesTest, AnImperialRecordLoadsInItsOwnUnitsUnconverted)
{
    TemplateRec &t = dive();
    t.Metric = false;
    t.StepSize = 10;
    t.LastStop = 20;
    t.RMV = 0.7f;
    t.MaxPPO2 = 1.4f;
    t.MaximalEND = 100;
    t.AscendRates = {RateRecord{0, 0, 30, 0}, RateRecord{0, 0, 10, 20}};
    t.StartAltitude = 3281;
    open();
    EXPECT_EQ(dialog->Units, kUnitsImperial);
    EXPECT_TRUE(dialog->Option1[0]->isChecked());
    EXPECT_FALSE(dialog->Option1[1]->isChecked());
    EXPECT_EQ(dialog->tbStepSize->text(), "10");
    EXPECT_EQ(dialog->tbLastStop->text(), "20");
    EXPECT_EQ(dialog->tbRMV->text(), "0.7");
    EXPECT_EQ(column(dialog->fgAscend, 0), QStringList({"0", "20"}));
    EXPECT_EQ(column(dialog->fgAscend, 1), QStringList({"30", "10"}));
    EXPECT_EQ(dialog->Text2->text(), "3281");
    EXPECT_EQ(dialog->Text4->text(), "0.890") << "atm at 3281 ft";
    EXPECT_EQ(dialog->Label2->text(), "cu ft/min");
}

TEST_F(PropertiesTest, TheAdaptTimeShowsOnlyForADiverNotAdapted)
{
    dive().AdeptedToHeight = true;
    open();
    for (QWidget *w : std::initializer_list<QWidget *>{dialog->Label10, dialog->Text1, dialog->Label12})
        EXPECT_TRUE(w->isHidden()) << w->objectName().toStdString();
    dialog->Check1->click();
    EXPECT_TRUE(dive().AdeptedToHeight) << "the record takes the box at OK";
    EXPECT_FALSE(dialog->Text1->isHidden());

    dive().AdeptedToHeight = false;
    dive().TimeToHeight = 45;
    open();
    EXPECT_FALSE(dialog->Check1->isChecked());
    EXPECT_FALSE(dialog->Text1->isHidden());
    EXPECT_EQ(dialog->Text1->text(), "45");
}

// A manual switch stored without a depth shows where its gas reaches the maximum ppO2;
// automatic switches show where each reaches the deco ppO2. Rows come sorted by depth.
TEST_F(PropertiesTest, SwitchDepthsComeFromTheMaximumOrTheDecoPPO2)
{
    TemplateRec &t = dive();
    t.MaxPPO2 = 1.6f;
    t.DecoPPO2 = 1.4f;
    t.EndPressure = 1.013f;
    t.GasChanges = {GasChangeRecord{"EAN50", 50, 50, 0, 0}, GasChangeRecord{"Oxygen", 100, 0, 0, 6}};
    t.AutoDecoGas = false;
    open();
    // ((1.6 / 50) x 100 - 1.013) x 10 = 21.87 m
    EXPECT_EQ(column(dialog->fgGasChange, 0), QStringList({"6", "22"}));
    EXPECT_EQ(column(dialog->fgGasChange, 1), QStringList({"Oxygen", "EAN50"}));

    t.AutoDecoGas = true;
    open();
    EXPECT_TRUE(dialog->cbAutoDecoGas->isChecked());
    // Oxygen (1.4 - 1.013) x 10 = 3.87 m; EAN50 (2.8 - 1.013) x 10 = 17.87 m.
    EXPECT_EQ(column(dialog->fgGasChange, 0), QStringList({"4", "18"}));

    // Imperial: the same depths in feet (x 3.2808).
    t.Metric = false;
    t.AutoDecoGas = false;
    t.GasChanges = {GasChangeRecord{"EAN50", 50, 50, 0, 0}};
    open();
    EXPECT_EQ(column(dialog->fgGasChange, 0), QStringList({"72"}));
}

TEST_F(PropertiesTest, ASwitchGasWithoutOxygenOrNotInTheListNeverApplies)
{
    TemplateRec &t = dive();
    t.Gases.push_back(GasRecord{"Heliox 0/100", 0, 0, 100, 0});
    t.GasChanges = {GasChangeRecord{"Heliox 0/100", 0, 0, 100, 0}, GasChangeRecord{"Gone", 0, 0, 0, 9},
                    GasChangeRecord{"EAN50", 50, 50, 0, 0}};
    t.AutoDecoGas = false;
    open();
    EXPECT_EQ(column(dialog->fgGasChange, 0), QStringList({"0", "9", "18"})) << "maximum ppO2 1.4";
    dialog->cbAutoDecoGas->click();
    EXPECT_EQ(column(dialog->fgGasChange, 0), QStringList({"0", "0", "22"})) << "deco ppO2 1.6";
    // A deco ppO2 below the surface pressure puts no switch above the water.
    dialog->Text7->setText(QStringLiteral("0.40"));
    EXPECT_EQ(column(dialog->fgGasChange, 0), QStringList({"0", "0", "0"}));
    dialog->cbAutoDecoGas->click();
    EXPECT_EQ(column(dialog->fgGasChange, 0), QStringList({"0", "9", "18"})) << "the diver's depths come back";
}

TEST_F(PropertiesTest, TheDiveSiteAltitudeFollowsItsSurfacePressure)
{
    TemplateRec &t = dive();
    t.EndAltitude = 500;
    t.EndPressure = 0.902f;
    t.StartAltitude = 1000;
    open();
    const double metres = std::log(0.902 * 100000 / 101325) / -0.000116;
    EXPECT_EQ(t.EndAltitude, 500) << "the record takes the altitude at OK";
    EXPECT_EQ(dialog->Text5->text(), QString::number(std::lround(metres)));
    EXPECT_EQ(dialog->Text3->text(), "0.902");
    EXPECT_EQ(dialog->Text4->text(), "0.902") << "the start pressure follows the start altitude";

    // No altitude belongs to a surface pressure of 0: the stored one stays.
    t.EndAltitude = 350;
    t.EndPressure = 0;
    open();
    EXPECT_EQ(t.EndAltitude, 350);
    EXPECT_EQ(dialog->Text5->text(), "350");
    EXPECT_EQ(dialog->Text3->text(), "0.000");
}

TEST_F(PropertiesTest, OnlyAirGivesTheHeadingAndOneRow)
{
    dive().Gases = {AirGas()};
    open();
    const FlexGrid *g = dialog->FgGas;
    ASSERT_EQ(g->Rows(), 2);
    EXPECT_EQ(QStringList({g->TextMatrix(0, 0), g->TextMatrix(0, 1), g->TextMatrix(0, 2), g->TextMatrix(0, 3)}),
              QStringList({"Gas", "% O2", "% He", "% N2"}));
    EXPECT_EQ(QStringList({g->TextMatrix(1, 0), g->TextMatrix(1, 1), g->TextMatrix(1, 2), g->TextMatrix(1, 3)}),
              QStringList({"Air", "21", "0", "79"}));
}

TEST_F(PropertiesTest, TheMainWindowShowsTheDivesCircuitAndTheRebreatherPageFollowsIt)
{
    for (bool openCircuit : {false, true}) {
        dive().OpenCircuit = openCircuit;
        shell.openCircuit = !openCircuit;
        open();
        EXPECT_EQ(shell.openCircuit, openCircuit);
        EXPECT_EQ(dialog->SetPoint->isEnabled(), !openCircuit);
        EXPECT_EQ(dialog->Check2->isEnabled(), !openCircuit);
    }
}

// A closing dive window takes its dialog along, as cancelled.
TEST_F(PropertiesTest, TheDialogLeavesWithItsDive)
{
    open();
    emit ShellNotices::Instance().DiveClosed(2);
    EXPECT_TRUE(dialog->isVisible()) << "another dive closed";
    emit ShellNotices::Instance().DiveClosed(1);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(dialog->NothingChanged);
    EXPECT_TRUE(shell.reEvaluated.empty());
}
