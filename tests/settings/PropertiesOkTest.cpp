// OK stores every page into the dive's record, rounded, whole or not at all, refusing a
// value beyond its bound, and has that dive computed again with its own circuit mode;
// Cancel stores nothing; the default-template button switches the dialog to the default
// template; the gas blender comes from the gas page.

#include "tests/settings/PropertiesFixture.h"

#include "blending/frmPartialMix.h"
#include "engine/AltitudeModule.h"
#include "engine/DiveModel.h"
#include "engine/EngineHost.h"
#include "engine/TextLineReader.h"
#include "engine/TextLineWriter.h"
#include "platform/LocaliseForm.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <cmath>
#include <functional>
#include <sstream>
#include <tuple>

namespace {

void setText(QLineEdit *box, const QString &text)
{
    box->setText(text);
}

// The record as a template file holds it.
std::string blockText(const TemplateRec &t)
{
    std::ostringstream file;
    TextLineWriter writer(file);
    WriteTemplateBlock(t, writer);
    return file.str();
}

} // namespace

class PropertiesOkTest : public PropertiesTest {
protected:
    void SetUp() override
    {
        PropertiesTest::SetUp();
        dive().AdeptedToHeight = false;
        dive().GasChanges = {GasChangeRecord{"Oxygen", 100, 0, 0, 6}, GasChangeRecord{"EAN50", 50, 50, 0, 21}};
        dive().AutoDecoGas = false;
    }
    void ok() { dialog->cbOK->click(); }
};

TEST_F(PropertiesOkTest, OkStoresThePagesRoundedAndComputesTheDiveAgain)
{
    dive().OpenCircuit = false; // a rebreather dive keeps its mode
    dive().CeilingOverride = true;
    dive().GFLow = 0.3f;
    dive().Gases[1] = GasRecord{"EAN32.5", 32.5f, 67.5f, 0, 0}; // kept as it is, never 33/68/0
    open();
    setText(dialog->tbStepSize, "6");
    setText(dialog->Text8, "200");
    setText(dialog->tbMaxPPO, "3");
    setText(dialog->Text1, "0");
    setText(dialog->tbMaximalEND, "40");
    setText(dialog->SetPoint, "1.3");
    setText(dialog->Text2, "1000");
    setText(dialog->Text4, "0.5");  // a start pressure typed by hand is not kept
    setText(dialog->Text3, "0");    // nor a dive-site pressure of 0: no altitude has it
    setText(dialog->Text5, "500");
    dialog->cbWarnMaxEND->setChecked(false);
    // Rate bands typed out of depth order; a first gas row edited.
    dialog->fgDescend->SetRows(3);
    dialog->fgDescend->SetTextMatrix(1, 0, "0");
    dialog->fgDescend->SetTextMatrix(1, 1, "20");
    dialog->fgDescend->SetTextMatrix(2, 0, "12.4");
    dialog->fgDescend->SetTextMatrix(2, 1, "10");
    dialog->fgAscend->SetRows(3);
    dialog->fgAscend->SetTextMatrix(1, 0, "30");
    dialog->fgAscend->SetTextMatrix(1, 1, "10");
    dialog->fgAscend->SetTextMatrix(2, 0, "0");
    dialog->fgAscend->SetTextMatrix(2, 1, "3");
    dialog->FgGas->SetTextMatrix(1, 0, "Nitrox");
    dialog->FgGas->SetTextMatrix(1, 1, "40");
    shell.openCircuit = true; // the main window shows open circuit at OK
    ok();

    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(dialog->NothingChanged);
    const TemplateRec &t = dive();
    EXPECT_EQ(t.StepSize, 6);
    EXPECT_FLOAT_EQ(t.DecoRMV, 200);
    EXPECT_FLOAT_EQ(t.MaxPPO2, 3.0f);
    EXPECT_EQ(t.TimeToHeight, 1);
    EXPECT_FLOAT_EQ(t.MaximalEND, 40);
    EXPECT_FLOAT_EQ(t.Setpoint, 1.3f);
    EXPECT_FALSE(t.MaxEnd);
    EXPECT_EQ(t.StartAltitude, 1000);
    EXPECT_FLOAT_EQ(t.StartPressure, AltitudeToPressure(1000, true));
    EXPECT_EQ(t.EndAltitude, 500);
    EXPECT_FLOAT_EQ(t.EndPressure, AltitudeToPressure(500, true));
    ASSERT_EQ(t.DescendRates.size(), 2u);
    EXPECT_EQ(t.DescendRates[1].Depth, 12);
    ASSERT_EQ(t.AscendRates.size(), 2u);
    EXPECT_EQ(t.AscendRates[0].Depth, 0) << "stored by depth";
    EXPECT_EQ(t.AscendRates[0].Rate, 3);
    EXPECT_EQ(t.AscendRates[1].Depth, 30);
    EXPECT_EQ(t.Gases[0].Name, "Air");
    EXPECT_EQ(t.Gases[0].O2, 21);
    EXPECT_EQ(t.Gases[0].N2, 79);
    EXPECT_EQ(t.Gases[0].He, 0);
    EXPECT_EQ(t.Gases.size(), gSettings[0].Template.Gases.size());
    EXPECT_TRUE(t.Gases[1].O2 == 32.5f && t.Gases[1].N2 == 67.5f);
    ASSERT_EQ(t.GasChanges.size(), 2u);
    EXPECT_EQ(t.GasChanges[0].Name, "Oxygen");
    EXPECT_EQ(t.GasChanges[0].Depth, 6);
    EXPECT_EQ(t.GasChanges[1].O2, 50);
    EXPECT_TRUE(t.Changed);
    EXPECT_FALSE(t.CeilingOverride);
    EXPECT_FALSE(t.OpenCircuit) << "OK keeps the dive's own circuit mode";
    EXPECT_FLOAT_EQ(t.GFLow, 0.3f);

    EXPECT_EQ(shell.reEvaluated, std::vector<int16_t>{1});
    EXPECT_TRUE(gSettings[1].ProfileChanged);
    EXPECT_FALSE(shell.openCircuit) << "the main window shows the active dive's rebreather again";
}

// A limit typed beyond its bound (14 for 1.4) is refused by the bound's name, never held
// at the bound; the dialog stays as typed (no box written back, no grid sorted).
TEST_F(PropertiesOkTest, LimitsBeyondTheirBoundsAreRefusedNotHeldAtTheBound)
{
    const TemplateRec before = dive();
    for (const auto &[box, typed, says] : std::vector<std::tuple<QLineEdit *frmProperties::*, QString, const char *>>{
             {&frmProperties::tbMaxPPO, "14", "Maximum ppO2 must lie between 0 bar and 3 bar"},
             {&frmProperties::Text7, "16", "Deco ppO2 must"}, {&frmProperties::tbMinPPO, "16", "Minimum ppO2 must"},
             {&frmProperties::tbRMV, "250", "RMV must lie between 0 l/min and 200 l/min"},
             {&frmProperties::tbMinPPO, "2.9", "Minimum ppO2 must be at least 0 bar and below"}}) {
        open();
        dialog->fgAscend->SetTextMatrix(1, 0, "40"); // a band typed out of depth order
        setText((*dialog).*box, typed);
        TestHooks::msgBoxAnswers.push_back(vbOK);
        ok();
        EXPECT_TRUE(TestHooks::msgBoxes.back().prompt.contains(says)) << typed.toStdString();
        EXPECT_TRUE(((*dialog).*box)->text() == typed && column(dialog->fgAscend, 0).first() == "40");
        EXPECT_TRUE(dive() == before && dialog->isVisible());
    }
}

// Typed numbers are read as meant, or refused at their field by name (never "Error #").
TEST_F(PropertiesOkTest, NumbersAreReadAsMeantOrRefusedAtTheirField)
{
    dive().OpenCircuit = false; // the set-points can be typed into
    const TemplateRec before = dive();
    gDecimalSeparator = ",";
    gThousandSeparator = ".";
    open();
    dialog->cbAutoDecoGas->setChecked(true);
    setText(dialog->Text7, QString(38, u'9')); // the depths of 3.0 as OK stores it, never "Inf"
    EXPECT_EQ(column(dialog->fgGasChange, 0), (QStringList{"20", "50"}));
    for (const char *typed : {"1,6", "1.6"}) {
        setText(dialog->Text7, typed);
        EXPECT_EQ(column(dialog->fgGasChange, 0), (QStringList{"6", "22"})) << typed; // not 150 m and 310 m
    }
    setText(dialog->tbMaxPPO, "1.4");
    setText(dialog->tbRMV, "17.5");
    setText(dialog->Text1, "1.500"); // minutes hold thousands: the point groups
    ok();
    EXPECT_EQ(std::vector<float>({dive().DecoPPO2, dive().MaxPPO2, dive().RMV, float(dive().TimeToHeight)}),
              std::vector<float>({1.6f, 1.4f, 17.5f, 1500}));
    gDecimalSeparator = ".";
    gThousandSeparator = ",";
    dive() = before;
    shell.reEvaluated.clear();
    open();
    setText(dialog->tbStepSize, "1,5");
    for (const auto &[box, typed, says] : std::vector<std::tuple<QLineEdit *, QString, QString>>{
             {dialog->SetPoint, QString(41, u'9'), "Set-point: \"999"},
             {dialog->SetPoint, "5", "Set-point must lie between 0 bar and 3 bar"},
             {dialog->Text1, "1E+39", "is not a number"},
             {dialog->Text1, "99999", "Time from sea level to this altitude must lie between 0 min and 10080 min"}}) {
        const QString kept = box->text();
        setText(box, typed);
        TestHooks::msgBoxAnswers.push_back(vbOK);
        ok();
        const QString prompt = TestHooks::msgBoxes.back().prompt;
        EXPECT_TRUE(prompt.contains(says)) << prompt.toStdString();
        EXPECT_TRUE(dialog->isVisible() && box->hasFocus() && dive().Changed == before.Changed);
        setText(box, kept);
    }
    EXPECT_TRUE(shell.reEvaluated.empty());
    ok();
    EXPECT_FLOAT_EQ(dive().StepSize, 2) << "English 1,5 m rounded to whole metres, not 15";
}

TEST_F(PropertiesOkTest, CancelLeavesTheDiveAsItWas)
{
    dive().EndAltitude = 700; // the load shows the altitude of EndPressure, 0
    const TemplateRec before = dive();
    open();
    setText(dialog->tbStepSize, "9");
    dialog->Check1->click();
    dialog->cbCancel->click();
    EXPECT_TRUE(dialog->NothingChanged);
    EXPECT_TRUE(dive() == before);
    EXPECT_TRUE(shell.reEvaluated.empty());
    EXPECT_FALSE(gSettings[1].ProfileChanged);
}

// Ticking keeps the manual depths in both units; clearing after a switch to imperial
// shows them in feet, and OK stores those.
TEST_F(PropertiesOkTest, AutomaticDepthsTickedAndClearedAfterAUnitSwitchRestoreTheManualOnes)
{
    open();
    EXPECT_EQ(column(dialog->fgGasChange, 0), (QStringList{"6", "21"}));
    dialog->cbAutoDecoGas->click();
    // Deco ppO2 1.6 at sea level: oxygen at 6 m, EAN50 at 22 m.
    EXPECT_EQ(column(dialog->fgGasChange, 0), (QStringList{"6", "22"}));
    clickUnit(false);
    EXPECT_EQ(column(dialog->fgGasChange, 0), (QStringList{"19", "70"}));
    dialog->cbAutoDecoGas->click();
    EXPECT_EQ(column(dialog->fgGasChange, 0), (QStringList{"20", "69"}));
    ok();
    EXPECT_EQ(dive().GasChanges[0].Depth, 20);
    EXPECT_EQ(dive().GasChanges[1].Depth, 69);
    EXPECT_FALSE(dive().AutoDecoGas);
}

TEST_F(PropertiesOkTest, WithNoDiveOpenOkWritesTheDefaultTemplateAndComputesNothing)
{
    shell.activeProfile = 0;
    shell.openDives.clear();
    open();
    EXPECT_EQ(dialog->ProfileIndex, 0);
    setText(dialog->tbLastStop, "6");
    ok();
    EXPECT_EQ(gSettings[0].Template.LastStop, 6);
    EXPECT_NE(dive().LastStop, 6);
    EXPECT_TRUE(shell.reEvaluated.empty());
    EXPECT_FALSE(gSettings[0].ProfileChanged);
}

// The dialog edits the dive it was opened on; another dive active at OK keeps its
// settings, and the main window shows that dive's circuit mode afterwards.
TEST_F(PropertiesOkTest, ASecondDiveActiveAtOkIsUntouched)
{
    gSettings.resize(3);
    gSettings[2] = gSettings[1];
    gSettings[2].Template.OpenCircuit = false;
    shell.openDives = {1, 2};
    open();
    setText(dialog->tbStepSize, "6");
    shell.activeProfile = 2;
    shell.openCircuit = true;
    const TemplateRec second = gSettings[2].Template;
    ok();
    EXPECT_EQ(dive().StepSize, 6);
    EXPECT_EQ(gSettings[2].Template.StepSize, second.StepSize);
    EXPECT_FALSE(gSettings[2].Template.OpenCircuit);
    EXPECT_FALSE(gSettings[2].ProfileChanged);
    EXPECT_EQ(shell.reEvaluated, std::vector<int16_t>{1});
    EXPECT_FALSE(shell.openCircuit) << "dive 2 is a rebreather dive";
}

// After the default-template button the dialog edits element 0: OK writes it and no
// dive, and the rebreather dive shown before keeps its mode, on the screen too.
TEST_F(PropertiesOkTest, TheDefaultTemplateButtonEditsTheTemplateAndChangesNoDive)
{
    dive().OpenCircuit = false;
    dive().AutoDecoGas = true;
    gSettings[0].Template.OpenCircuit = true;
    gSettings[0].Template.AutoDecoGas = false;
    gSettings[0].Template.GasChanges = {GasChangeRecord{"EAN50", 50, 50, 0, 18}};
    const TemplateRec before = dive();
    open();
    EXPECT_FALSE(shell.openCircuit);
    dialog->cbDefault->click();
    EXPECT_EQ(dialog->ProfileIndex, 0);
    EXPECT_TRUE(shell.openCircuit) << "the template's own mode while it is edited";
    EXPECT_TRUE(dialog->windowTitle().endsWith("Default"));
    EXPECT_FALSE(dialog->cbAutoDecoGas->isChecked());
    EXPECT_EQ(column(dialog->fgGasChange, 0), QStringList{"18"}) << "the template's own switch depth";
    setText(dialog->tbStepSize, "4");
    ok();
    EXPECT_EQ(gSettings[0].Template.StepSize, 4);
    EXPECT_EQ(gSettings[0].Template.GasChanges[0].Depth, 18);
    EXPECT_EQ(dive().StepSize, before.StepSize);
    EXPECT_FALSE(dive().OpenCircuit);
    EXPECT_TRUE(shell.reEvaluated.empty());
    EXPECT_FALSE(gSettings[1].ProfileChanged);
    EXPECT_FALSE(shell.openCircuit) << "the main window shows the active dive's mode again";
}

// The blender opens preset with the gas last clicked in the list.
TEST_F(PropertiesOkTest, TheBlenderTakesTheClickedGas)
{
    open();
    dialog->ListView1->setCurrentRow(3);
    FlexGrid *gases = dialog->FgGas;
    EXPECT_FALSE(dialog->Command1->isVisible());
    const QPoint trimix = gases->visualItemRect(gases->CellItem(6, 1)).center();
    QTest::mouseClick(gases->viewport(), Qt::LeftButton, {}, trimix);
    EXPECT_TRUE(dialog->Command1->isVisible());
    EXPECT_EQ(dialog->SelectedO2, dive().Gases[5].O2);
    EXPECT_EQ(dialog->SelectedHe, dive().Gases[5].He);

    dialog->Command1->click();
    frmPartialMix *mixer = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *m = qobject_cast<frmPartialMix *>(w); m && m->isVisible())
            mixer = m;
    ASSERT_NE(mixer, nullptr);
    EXPECT_EQ(mixer->ProfileIndex(), dialog->ProfileIndex) << "the dive edited here";
    EXPECT_EQ(mixer->DesO2->text(), QString::number(dive().Gases[5].O2));
    EXPECT_EQ(mixer->DesHe->text(), QString::number(dive().Gases[5].He));
    mixer->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Settings the template and series readers refuse are never stored: each is refused at
// OK with the bound's own message, on the page and at the setting that breaks it, and
// the dive keeps its settings. Whole-number rounding makes most of them.
TEST_F(PropertiesOkTest, SettingsAFileCouldNotGiveBackAreRefusedWhereTheyStand)
{
    struct Case {
        const char *name;
        int bound; // the text of the broken bound
        int page;  // in the page list, from 0
        std::function<void(frmProperties &)> type;
        std::function<bool(frmProperties &)> atTheSetting;
    };
    const auto rateCell = [](FlexGrid *frmProperties::*grid, int row) {
        return [grid, row](frmProperties &d) {
            return (d.*grid)->hasFocus() && (d.*grid)->Row() == row && (d.*grid)->Col() == 1;
        };
    };
    const auto boxFocused = [](QLineEdit *frmProperties::*box) {
        return [box](frmProperties &d) { return (d.*box)->hasFocus() && (d.*box)->selectedText() == (d.*box)->text(); };
    };
    const Case cases[] = {
        {"ascent rate 0.4 stores 0", 7052, 0,
         [](frmProperties &d) { d.fgAscend->SetTextMatrix(2, 1, "0.4"); }, rateCell(&frmProperties::fgAscend, 2)},
        {"descent rate 150", 7052, 0,
         [](frmProperties &d) { d.fgDescend->SetTextMatrix(1, 1, "150"); }, rateCell(&frmProperties::fgDescend, 1)},
        // Typed out of depth order: stored by depth, shown where it was typed.
        {"slow band typed last", 7052, 0,
         [](frmProperties &d) {
             d.fgAscend->SetTextMatrix(3, 0, "3");
             d.fgAscend->SetTextMatrix(3, 1, "0.2");
         },
         rateCell(&frmProperties::fgAscend, 3)},
        {"step 0.4 stores 0", 7050, 1, [](frmProperties &d) { setText(d.tbStepSize, "0.4"); },
         boxFocused(&frmProperties::tbStepSize)},
        {"last stop deeper than any dive", 7051, 1, [](frmProperties &d) { setText(d.tbLastStop, "1001"); },
         boxFocused(&frmProperties::tbLastStop)},
        {"start altitude with no air left", 7053, 4, [](frmProperties &d) { setText(d.Text2, "20000"); },
         boxFocused(&frmProperties::Text2)},
        {"dive site with no air left", 7053, 4, [](frmProperties &d) { setText(d.Text5, "20000"); },
         boxFocused(&frmProperties::Text5)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TestHooks::msgBoxes.clear();
        open();
        const std::string before = blockText(dive()); // the load sets EndAltitude itself
        dialog->activateWindow();
        QApplication::processEvents();
        dialog->ListView1->setCurrentRow(6);
        c.type(*dialog);
        TestHooks::msgBoxAnswers.push_back(vbOK);
        ok();
        QApplication::processEvents();
        ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
        const QString prompt = TestHooks::msgBoxes[0].prompt;
        EXPECT_TRUE(prompt.startsWith(GetLangStringQ(int16_t(c.bound)).section("%1", 0, 0))) << prompt.toStdString();
        EXPECT_FALSE(prompt.contains('%')) << "every mark filled in";
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(dialog->ListView1->currentRow(), c.page);
        EXPECT_TRUE(c.atTheSetting(*dialog));
        EXPECT_EQ(blockText(dive()), before);
        EXPECT_TRUE(shell.reEvaluated.empty());
        EXPECT_FALSE(gSettings[1].ProfileChanged);
        dialog->cbCancel->click();
    }
}

// What OK stores at the edges of the bounds is stored, and a template block gives it back.
TEST_F(PropertiesOkTest, SettingsAtTheBoundsAreStoredAndReadBack)
{
    open();
    setText(dialog->tbStepSize, "0.6"); // 1 m
    setText(dialog->tbLastStop, "30");
    dialog->fgAscend->SetTextMatrix(1, 1, "100");
    dialog->fgDescend->SetTextMatrix(1, 1, "0.5"); // 1 m/min
    setText(dialog->Text2, "11000");
    ok();
    ASSERT_TRUE(TestHooks::msgBoxes.empty());
    EXPECT_EQ(dive().StepSize, 1);
    EXPECT_EQ(dive().DescendRates[0].Rate, 1);

    std::istringstream file(blockText(dive()));
    TextLineReader reader(file);
    TemplateRec read;
    ASSERT_NO_THROW(ReadTemplateBlock(read, reader));
    EXPECT_EQ(blockText(read), blockText(dive()));
}

// Slower rates lengthen the legs' travel: 100 m for 10000 min and up at 1 m/min lasts
// 10100 min, past what a series file is read back with; at 2 m/min 10050 is stored.
TEST_F(PropertiesOkTest, RatesThatWouldMakeTheDiveLongerThanAWeekAreRefused)
{
    LogUserLeg(OpenDive(1)->UserEnteredWaypoints, dive(), 100, 10000, 0);
    LogUserLeg(FindDive(1)->UserEnteredWaypoints, dive(), 0, 0, 0);
    TestHooks::msgBoxAnswers.push_back(vbOK);
    for (const char *rate : {"1", "2"}) {
        open();
        for (int r = 1; r < dialog->fgAscend->Rows(); ++r)
            dialog->fgAscend->SetTextMatrix(r, 1, rate);
        ok();
    }
    EXPECT_EQ(TestHooks::msgBoxes.at(0).prompt.toStdString(), DiveBounds::DiveMinutesProblem(10100));
    EXPECT_EQ(dive().AscendRates[0].Rate, 2) << "refused at 1 m/min only, stored at 2";
}
