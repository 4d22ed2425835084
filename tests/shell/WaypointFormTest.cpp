// The waypoint dialog as the diver uses it: what it shows, what typing and the spin
// buttons leave in the fields, and what OK, Cancel, Esc and the close box hand back.

#include "tests/shell/WaypointFormFixture.h"

#include "engine/ResourceManager.h"
#include "platform/ModalWindow.h"

TEST_F(WaypointFormTest, PresetWaypointIsShownInWholeUnitsWithItsGas)
{
    open(40.4f, 12.6f, 2);
    EXPECT_EQ(text("tbDepth"), "40");
    EXPECT_EQ(text("tbTime"), "13");
    auto *combo = child<QComboBox>("Combo1");
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->currentText(), "Tx18/45");
    EXPECT_EQ(text("tbO2"), "18");
    EXPECT_EQ(text("tbN2"), "37");
    EXPECT_EQ(text("tbHe"), "45");
    EXPECT_EQ(form->windowTitle(), GetLangStringQ(1800));

    // OK without touching the list keeps gas 2, its name and its fractions.
    click("cbOK");
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_FLOAT_EQ(scratch.getDepth(0), 40);
    EXPECT_FLOAT_EQ(scratch.GetSegmentTime(0), 13);
    EXPECT_EQ(scratch.GetGasMixName(0), "Tx18/45");
    EXPECT_EQ(scratch.getmixnumber(0), 2);
    EXPECT_FLOAT_EQ(scratch.GetGasMixHe(0), 45);
}

TEST_F(WaypointFormTest, NegativeOrUnknownPresetsBecomeSurfaceAndAir)
{
    open(-3, 5, 7);
    EXPECT_EQ(text("tbDepth"), "0");
    EXPECT_FLOAT_EQ(scratch.getDepth(0), 0);
    EXPECT_EQ(scratch.GetGasMixName(0), "Air");
    EXPECT_EQ(scratch.getmixnumber(0), 0);
}

TEST_F(WaypointFormTest, FieldsKeepOnlyDigitsAndSeparators)
{
    open(0);
    QLineEdit *depth = child("tbDepth");
    depth->clear();
    type("tbDepth", "12a.5");
    EXPECT_EQ(depth->text(), "12.5");

    // A sign alone stays until the next key, then goes.
    depth->clear();
    type("tbDepth", "-");
    EXPECT_EQ(depth->text(), "-");
    type("tbDepth", "7");
    EXPECT_EQ(depth->text(), "7");

    QLineEdit *time = child("tbTime");
    time->clear();
    type("tbTime", "-");
    EXPECT_EQ(time->text(), "");
    type("tbTime", "3x0,5");
    EXPECT_EQ(time->text(), "30,5");
}

TEST_F(WaypointFormTest, SpinButtonsStepWholeUnitsAndStopAtZero)
{
    open(0);
    spin("udDepthSpin", false);
    EXPECT_EQ(text("tbDepth"), "0");
    spin("udDepthSpin", true);
    EXPECT_EQ(text("tbDepth"), "1");

    // An empty field counts as 1 upwards and as 2 downwards.
    child("tbDepth")->clear();
    spin("udDepthSpin", true);
    EXPECT_EQ(text("tbDepth"), "2");
    child("tbDepth")->clear();
    spin("udDepthSpin", false);
    EXPECT_EQ(text("tbDepth"), "1");

    child("tbTime")->clear();
    spin("udTimeSpin", true);
    EXPECT_EQ(text("tbTime"), "2");
    child("tbTime")->clear();
    spin("udTimeSpin", false);
    EXPECT_EQ(text("tbTime"), "0");
    spin("udTimeSpin", false);
    EXPECT_EQ(text("tbTime"), "0");
}

TEST_F(WaypointFormTest, DepthChangesRecomputeTheAdvisor)
{
    // At 35 m nitrox 31 still fits the END limit (0.79 x 40 / 45 = 0.702 >= 0.69);
    // at 36 m nitrox 30 does not (0.687 < 0.70).
    open(34);
    spin("udDepthSpin", true);
    EXPECT_EQ(text("Text1"), "31");
    spin("udDepthSpin", true);
    EXPECT_EQ(text("Text1"), "n/a");
    // Without a nitrox there is nothing to make; the panel's rows stay level with the
    // trimix rows beside it.
    QApplication::processEvents();
    EXPECT_FALSE(child<QPushButton>("cbNitroxAdd")->isVisible());
    EXPECT_EQ(child("Text1")->y(), child("Text6")->y());
    EXPECT_EQ(child("Text2")->y(), child("Text5")->y());

    // Typing a depth recomputes on each key; Enter recomputes too.
    child("tbDepth")->clear();
    type("tbDepth", "20");
    EXPECT_EQ(text("Text1"), "46");
    dive().MaxPPO2 = 1.6f; // 1.6 / 3.0 = 0.533
    QTest::keyClick(child("tbDepth"), Qt::Key_Return);
    EXPECT_EQ(text("Text1"), "53");
    EXPECT_TRUE(form->isVisible()) << "Enter must not end the dialog";
}

TEST_F(WaypointFormTest, OkClampsDepthBeyondTheLimit)
{
    struct Row { bool metric; const char *typed; float stored; int16_t message; };
    for (const Row &r : {Row{true, "620", 500, 3062}, Row{false, "1700", 1600, 3063},
                         Row{false, "1600", 1600, 0}}) {
        SCOPED_TRACE(r.typed);
        dive().Metric = r.metric;
        open(30);
        EXPECT_EQ(child<QLabel>("Label4")->text(), GetLangStringQ(r.metric ? 1219 : 1216));
        child("tbDepth")->setText(r.typed);
        if (r.message)
            TestHooks::msgBoxAnswers.push_back(vbOK);
        click("cbOK");
        if (r.message)
            expectOneBox(GetLangStringQ(r.message), vbCritical);
        EXPECT_TRUE(TestHooks::msgBoxes.empty());
        EXPECT_FLOAT_EQ(scratch.getDepth(0), r.stored);
        EXPECT_EQ(form->result(), QDialog::Accepted);
    }
}

TEST_F(WaypointFormTest, OkRefusesFieldsWithoutANumberOrWithASign)
{
    for (const char *field : {"tbDepth", "tbTime"}) {
        for (const char *entry : {"", ".", ","}) {
            SCOPED_TRACE(std::string(field) + " '" + entry + "'");
            open(30, 8);
            child(field)->setText(entry);
            TestHooks::msgBoxAnswers.push_back(vbOK);
            click("cbOK");
            expectOneBox(GetLangStringQ(6164), vbCritical);
            EXPECT_TRUE(form->isVisible());
            EXPECT_FLOAT_EQ(scratch.getDepth(0), 30);
            EXPECT_FLOAT_EQ(scratch.GetSegmentTime(0), 8);
        }
        open(30, 8);
        child(field)->setText("-5"); // pasted: no key release filters it
        TestHooks::msgBoxAnswers.push_back(vbOK);
        click("cbOK");
        expectOneBox(GetLangStringQ(7092).arg(GetLangStringQ(field[2] == 'D' ? 1801 : 1802)), vbCritical);
    }
}

TEST_F(WaypointFormTest, EveryWayOutButOkCancels)
{
    open(30);
    click("cbCancel");
    EXPECT_FLOAT_EQ(scratch.getDepth(0), frmWaypointForm::kCancelledDepth);
    EXPECT_EQ(form->result(), QDialog::Rejected);

    open(30);
    QTest::keyClick(child("tbDepth"), Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible());
    EXPECT_FLOAT_EQ(scratch.getDepth(0), -100);

    open(30);
    form->close(); // the window's close box
    EXPECT_FLOAT_EQ(scratch.getDepth(0), -100);

    // After OK, closing the hidden window changes nothing.
    open(30);
    click("cbOK");
    form->close();
    EXPECT_FLOAT_EQ(scratch.getDepth(0), 30);
}

TEST_F(WaypointFormTest, ReadOnlyViewShowsTheWaypointsOwnGasWithOneDecimal)
{
    const int editHeight = open(30).height();

    // As the editor hands over a waypoint it hit: its gas by name, mix number unset.
    gDecimalSeparator = ",";
    open(42.25f, 17.5f, 0, 0, "EAN32");
    EXPECT_EQ(text("tbDepth"), "42,3");
    EXPECT_EQ(text("tbTime"), "17,5");
    EXPECT_EQ(child<QComboBox>("Combo1")->currentText(), "EAN32");
    EXPECT_EQ(text("tbO2"), "32");
    for (const char *name : {"tbDepth", "tbTime", "Combo1", "cbOK", "udDepthSpin", "udTimeSpin",
                             "cbNitroxAdd", "cbTrimixAdd", "cbHelioxAdd"})
        EXPECT_FALSE(child<QWidget>(name)->isEnabled()) << name;
    EXPECT_TRUE(child<QWidget>("cbCancel")->isEnabled());
    EXPECT_FALSE(child<QGroupBox>("Frame3")->isVisible());
    EXPECT_LT(form->height(), editHeight);

    // A gas the list no longer holds (a leg drawn before it was deleted) shows as the
    // waypoint has it, never as a gas of the list.
    scratch = ClassProfile();
    scratch.setDepth(0, 10);
    scratch.SetMixNumber(0, 2);
    scratch.SetGasMixName(0, "Tx10/70");
    scratch.SetGasMixO2(0, 10);
    scratch.SetGasMixN2(0, 20);
    scratch.SetGasMixHe(0, 70);
    form = std::make_unique<frmWaypointForm>(shell.activeProfile);
    form->data(scratch, 0);
    EXPECT_EQ(child<QComboBox>("Combo1")->currentText(), "Tx10/70");
    EXPECT_EQ(text("tbO2"), "10");
    EXPECT_EQ(text("tbHe"), "70");
}

TEST_F(WaypointFormTest, SettingsComeFromTheActiveEditorsDive)
{
    gSettings.resize(3);
    gSettings[2].Template = dive();
    gSettings[2].Template.Gases = {AirGas(), GasRecord{"EAN50", 50, 50, 0, 0}};
    shell.activeProfile = 2;
    open(6, 3, 1);
    EXPECT_EQ(child<QComboBox>("Combo1")->currentText(), "EAN50");

}

TEST_F(WaypointFormTest, EditorReadsTheAnswerAfterTheModalDialog)
{
    // As the editor uses it: preset the scratch waypoint, show modally, read it back.
    gDecimalSeparator = ",";
    gThousandSeparator = ".";
    ClassProfile point;
    point.setDepth(0, 18);
    point.SetSegmentTime(0, 4);
    point.SetMixNumber(0, 1);
    {
        frmWaypointForm dialog(0);
        dialog.data(point, -1);
        TestHooks::modalHandlers.push_back([](QDialog *d) {
            auto *time = d->findChild<QLineEdit *>("tbTime");
            time->setText("2,5");
            QTest::mouseClick(d->findChild<QPushButton *>("cbOK"), Qt::LeftButton);
        });
        EXPECT_EQ(ShowModal(&dialog), QDialog::Accepted);
    }
    EXPECT_FLOAT_EQ(point.getDepth(0), 18);
    EXPECT_FLOAT_EQ(point.GetSegmentTime(0), 2.5f);
    EXPECT_EQ(point.GetGasMixName(0), "EAN32");
    EXPECT_EQ(TestHooks::modalWindows, QStringList{"frmWaypointForm"});

    // A dialog closed without an answer is a cancelled point.
    frmWaypointForm dialog(0);
    dialog.data(point, -1);
    TestHooks::modalHandlers.push_back([](QDialog *d) { d->close(); });
    EXPECT_EQ(ShowModal(&dialog), QDialog::Rejected);
    EXPECT_FLOAT_EQ(point.getDepth(0), frmWaypointForm::kCancelledDepth);
}
