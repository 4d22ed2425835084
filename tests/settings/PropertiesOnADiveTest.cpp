// The settings dialog in the running program: the main window's Template button opens it
// modeless on the active dive, and it goes when that dive's window closes.

#include "tests/shell/EditorFixture.h"

#include "platform/FlexGrid.h"
#include "settings/frmGasBlend.h"
#include "settings/frmProperties.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QRadioButton>

class PropertiesOnADiveTest : public EditorTest {
protected:
    static QStringList column(const FlexGrid *grid)
    {
        QStringList out;
        for (int r = 1; r < grid->Rows(); ++r)
            out << grid->TextMatrix(r, 0);
        return out;
    }
};

TEST_F(PropertiesOnADiveTest, TheSettingsDialogEditsTheActiveDiveAndClosesWithItsWindow)
{
    dive().StepSize = 6;
    gMainForm->tbToolBar_ButtonClick(gMainForm->Button(QStringLiteral("Template")));
    QPointer<frmProperties> properties = gMainForm->findChild<frmProperties *>();
    ASSERT_TRUE(properties);
    EXPECT_TRUE(properties->isVisible() && !properties->isModal());
    EXPECT_EQ(properties->ProfileIndex, 1);
    EXPECT_EQ(properties->tbStepSize->text(), "6");
    EXPECT_EQ(properties->windowTitle(), "Default.tpl");

    if (gSettings[1].ProfileChanged)
        TestHooks::msgBoxAnswers.push_back(vbNo);
    editor->parentWidget()->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(gMainForm->MdiArea()->subWindowList().isEmpty());
    EXPECT_FALSE(properties) << "the dialog went with its dive";
}

// A new diver's way through the dialog on a computed dive: imperial and back, a gas of
// their own, a deco switch to it, OK. The dive is computed again with the new switch,
// and closing its window asks to save.
TEST_F(PropertiesOnADiveTest, ANewGasAndSwitchReachTheComputedDiveAndClosingAsksToSave)
{
    leg(40, 20);
    editor->StartDeco();
    gSettings[1].ProfileChanged = false;
    const auto usesGas = [this](const std::string &name) {
        for (int16_t i = 1; i <= editor->dive().InputProfile.GetLength(); ++i)
            if (editor->dive().InputProfile.GetGasMixName(i) == name)
                return true;
        return false;
    };
    ASSERT_TRUE(usesGas("EAN50"));
    ASSERT_FALSE(usesGas("EAN80"));

    gMainForm->tbToolBar_ButtonClick(gMainForm->Button(QStringLiteral("Template")));
    frmProperties *properties = gMainForm->findChild<frmProperties *>();
    ASSERT_TRUE(properties);
    properties->activateWindow();
    properties->Option1[0]->click();
    EXPECT_EQ(properties->tbStepSize->text(), "10");
    properties->Option1[1]->click();
    EXPECT_EQ(properties->tbStepSize->text(), "3");

    properties->ListView1->setCurrentRow(3);
    TestHooks::modalHandlers.push_back([](QDialog *d) {
        auto *blend = static_cast<frmGasBlend *>(d);
        QTest::keyClicks(blend->tbBlendName, "EAN80");
        blend->tbO2->selectAll();
        QTest::keyClicks(blend->tbO2, "80");
        QTest::keyClick(blend->tbO2, Qt::Key_Return);
        blend->cbOK->click();
    });
    properties->cbCustomBlend->click();
    EXPECT_EQ(properties->FgGas->TextMatrix(properties->FgGas->Rows() - 1, 0), "EAN80");

    // The switch: a new row of the deco-gas grid, its gas from the list, its depth typed.
    properties->ListView1->setCurrentRow(1);
    QApplication::processEvents();
    FlexGrid *grid = properties->fgGasChange;
    ASSERT_TRUE(properties->cbAutoDecoGas->isChecked()) << "the default template's automatic depths";
    properties->cbAutoDecoGas->click();
    EXPECT_EQ(column(grid), (QStringList{"6", "21"}));
    const auto at = [grid](int row, int col) { return grid->visualItemRect(grid->CellItem(row, col)).center(); };
    QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, at(1, 0));
    QTest::mouseClick(properties->mnuRows, Qt::LeftButton, {},
                      properties->mnuRows->actionGeometry(properties->AddRow).center());
    const int row = grid->Rows() - 1;
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at(row, 1));
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at(row, 1));
    ASSERT_TRUE(properties->cbGasChange->isVisible());
    QTest::keyClick(properties->cbGasChange, Qt::Key_End);
    EXPECT_EQ(grid->TextMatrix(row, 1), "EAN80");
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at(row, 0));
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at(row, 0));
    ASSERT_TRUE(properties->tbGasChange->isVisible());
    properties->tbGasChange->selectAll();
    QTest::keyClicks(properties->tbGasChange, "12");
    QTest::keyClick(properties->tbGasChange, Qt::Key_Return);
    EXPECT_EQ(grid->TextMatrix(row, 0), "12");

    properties->cbOK->click();
    QApplication::processEvents();
    ASSERT_EQ(dive().GasChanges.size(), 3u);
    EXPECT_FALSE(dive().AutoDecoGas);
    EXPECT_EQ(dive().GasChanges[1].Name, "EAN80");
    EXPECT_EQ(dive().GasChanges[1].O2, 80);
    EXPECT_EQ(dive().StepSize, 3);
    EXPECT_TRUE(usesGas("EAN80")) << "the dive was computed again with the new switch";
    EXPECT_TRUE(gSettings[1].ProfileChanged);

    TestHooks::msgBoxAnswers.push_back(vbNo);
    editor->parentWidget()->close();
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u) << "closing asks to save";
    EXPECT_TRUE(gMainForm->MdiArea()->subWindowList().isEmpty());
}

// A dive switched to feet is the same dive in feet, legs and all, and switched back is the
// dive it was to the bit (15 l/min of deco RMV came back as 14, the leg stayed at 40 ft),
// but for a value typed before the switch: it comes back as typed.
TEST_F(PropertiesOnADiveTest, AUnitSwitchConvertsTheWholeDiveAndBackGivesItAllBack)
{
    dive().AutoDecoGas = false; // the switches at 6 and 21 m are the diver's own
    dive().TimeToHeight = 1;
    dive().Changed = true;
    leg(40, 25, kAir);
    editor->StartDeco();
    TemplateRec metres = dive();
    metres.MaximalEND = 40;
    const ClassProfile metric = editor->dive().InputProfile, &plan = editor->dive().InputProfile;
    for (const bool toMetric : {false, true}) {
        frmProperties dialog(1);
        if (!toMetric)
            dialog.tbMaximalEND->setText(QStringLiteral("40"));
        dialog.Option1[toMetric ? 1 : 0]->click();
        dialog.cbOK->click();
        EXPECT_FLOAT_EQ(editor->dive().UserEnteredWaypoints.getDepth(1), toMetric ? 40 : 40 * 3.2808f);
        EXPECT_NEAR(plan.GetRunTime(plan.GetLength()), metric.GetRunTime(metric.GetLength()), toMetric ? 0 : 2);
    }
    EXPECT_EQ(dive(), metres);
}
