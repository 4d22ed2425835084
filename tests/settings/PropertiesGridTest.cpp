// Editing the settings dialog's grids with the keyboard and the mouse: an editor laid
// over the cell, committed when the focus goes back to the grid, dropped with Esc; the
// typed text reduced to a number; the row menu and its refusals.

#include "tests/settings/PropertiesFixture.h"

#include "engine/EngineHost.h"
#include "platform/LocaliseForm.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>

class PropertiesGridTest : public PropertiesTest {
protected:
    void SetUp() override
    {
        PropertiesTest::SetUp();
        dive().GasChanges = {GasChangeRecord{"Oxygen", 100, 0, 0, 6}, GasChangeRecord{"EAN50", 50, 50, 0, 21}};
        dive().AutoDecoGas = false;
        // Descent: 20 m/min from the surface, 10 from 30 m.
        dive().DescendRates = {RateRecord{0, 0, 20, 0}, RateRecord{0, 0, 10, 30}};
    }

    void openOn(int page)
    {
        open();
        dialog->ListView1->setCurrentRow(page - 1);
        dialog->activateWindow();
        QApplication::processEvents();
    }

    static QPoint cell(FlexGrid *grid, int row, int col)
    {
        return grid->visualItemRect(grid->CellItem(row, col)).center();
    }
    static void click(FlexGrid *grid, int row, int col)
    {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell(grid, row, col));
    }
    static void doubleClick(FlexGrid *grid, int row, int col)
    {
        click(grid, row, col);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell(grid, row, col));
    }
    // Selects a cell, types one key to open the editor (its first character, taken back),
    // the text, and ends with `last`.
    static void typeInto(FlexGrid *grid, QLineEdit *editor, int row, int col, const QString &text, Qt::Key last = Qt::Key_Return)
    {
        click(grid, row, col);
        QTest::keyClick(grid, Qt::Key_X);
        ASSERT_TRUE(editor->isVisible());
        QTest::keyClick(editor, Qt::Key_Backspace);
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, last);
        QApplication::processEvents(); // a refusal's box comes after the focus change
    }
    // A right click on a cell and a menu item.
    void menu(FlexGrid *grid, int row, QAction *item)
    {
        QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, cell(grid, row, 0));
        QMenu *m = dialog->mnuRows;
        ASSERT_TRUE(m->isVisible());
        QTest::mouseClick(m, Qt::LeftButton, {}, m->actionGeometry(item).center());
        QApplication::processEvents();
    }
    static QString box(size_t i) { return TestHooks::msgBoxes.at(i).prompt; }
};

// The first band starts at the surface: its depth takes only "0".
TEST_F(PropertiesGridTest, TheFirstBandDepthTakesOnlyZero)
{
    openOn(1);
    FlexGrid *grid = dialog->fgDescend;
    doubleClick(grid, 1, 0);
    EXPECT_FALSE(dialog->tbDescend->isVisible()) << "no editor on a double-click there";

    TestHooks::msgBoxAnswers.push_back(vbOK);
    typeInto(grid, dialog->tbDescend, 1, 0, "5");
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
    EXPECT_EQ(box(0), GetLangStringQ(1655));
    EXPECT_EQ(TestHooks::msgBoxes[0].title, GetLangStringQ(1600));
    EXPECT_EQ(grid->TextMatrix(1, 0), "0");
    EXPECT_FALSE(dialog->tbDescend->isVisible());

    typeInto(grid, dialog->tbDescend, 1, 0, "0");
    EXPECT_EQ(TestHooks::msgBoxes.size(), 1u);
    EXPECT_EQ(grid->TextMatrix(1, 0), "0");

    // Elsewhere the double-click opens the editor over the cell.
    doubleClick(grid, 2, 1);
    ASSERT_TRUE(dialog->tbDescend->isVisible());
    EXPECT_EQ(dialog->tbDescend->geometry(), grid->CellRect(2, 1));
    EXPECT_EQ(dialog->tbDescend->selectedText(), "10") << "the descent editor opens selected";
    QTest::keyClicks(dialog->tbDescend, "15");
    QTest::keyClick(dialog->tbDescend, Qt::Key_Return);
    EXPECT_EQ(grid->TextMatrix(2, 1), "15");
    EXPECT_TRUE(dialog->isVisible()) << "Enter in the editor is not the dialog's OK";
}

TEST_F(PropertiesGridTest, EscKeepsTheCellAndUpDownCommitAndMoveWithinTheRows)
{
    openOn(1);
    FlexGrid *grid = dialog->fgAscend; // ascent: 3 from 0 m, 9 from 6 m, 10 from 30 m
    ASSERT_EQ(grid->Rows(), 4);
    typeInto(grid, dialog->tbAscend, 2, 1, "7", Qt::Key_Escape);
    EXPECT_EQ(grid->TextMatrix(2, 1), "9");
    EXPECT_FALSE(dialog->tbAscend->isVisible());
    EXPECT_TRUE(dialog->isVisible()) << "Esc in the editor does not close the dialog";

    doubleClick(grid, 2, 1);
    EXPECT_EQ(dialog->tbAscend->cursorPosition(), 1) << "the ascent editor opens with the caret at the end";
    QTest::keyClick(dialog->tbAscend, Qt::Key_5);
    QTest::keyClick(dialog->tbAscend, Qt::Key_Down);
    EXPECT_EQ(grid->TextMatrix(2, 1), "95");
    EXPECT_EQ(grid->Row(), 3);

    typeInto(grid, dialog->tbAscend, 3, 1, "12", Qt::Key_Down);
    EXPECT_EQ(grid->TextMatrix(3, 1), "12");
    EXPECT_EQ(grid->Row(), 3) << "Down on the last row only commits";
    typeInto(grid, dialog->tbAscend, 1, 1, "4", Qt::Key_Up);
    EXPECT_EQ(grid->TextMatrix(1, 1), "4");
    EXPECT_EQ(grid->Row(), 1) << "Up on the first row only commits";
    typeInto(grid, dialog->tbAscend, 3, 0, "40", Qt::Key_Up);
    EXPECT_EQ(grid->Row(), 2);
    click(grid, 2, 1); // the key that opens the editor is the first one typed
    QTest::keyClick(grid, Qt::Key_1);
    QTest::keyClicks(dialog->tbAscend, "2");
    QTest::keyClick(dialog->tbAscend, Qt::Key_Return);
    EXPECT_EQ(grid->TextMatrix(2, 1), "12");
}

// Typed text is reduced to digits and one decimal separator; an emptied cell becomes
// the placeholder, which OK refuses, naming the grid.
TEST_F(PropertiesGridTest, TypedTextBecomesANumberAndAnEmptiedCellStopsOk)
{
    openOn(1);
    FlexGrid *grid = dialog->fgDescend;
    typeInto(grid, dialog->tbDescend, 2, 1, "-12 m/min");
    EXPECT_EQ(grid->TextMatrix(2, 1), "12");
    typeInto(grid, dialog->tbDescend, 2, 1, "fast");
    EXPECT_EQ(grid->TextMatrix(2, 1), "10");
    TestHooks::msgBoxAnswers.push_back(vbOK);
    typeInto(grid, dialog->tbDescend, 2, 1, "1.2.5");
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
    EXPECT_EQ(box(0), GetLangStringQ(7101));
    EXPECT_EQ(grid->TextMatrix(2, 1), "10") << "a second separator is refused";

    typeInto(grid, dialog->tbDescend, 2, 0, "");
    EXPECT_EQ(grid->TextMatrix(2, 0), kEmptyCell);
    dialog->ListView1->setCurrentRow(6);
    TestHooks::msgBoxAnswers.push_back(vbOK);
    dialog->cbOK->click();
    ASSERT_EQ(TestHooks::msgBoxes.size(), 2u);
    EXPECT_EQ(box(1), GetLangStringQ(7102) + GetLangStringQ(1603));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->Frame13->isVisible()) << "the rates page is shown again";
    EXPECT_TRUE(grid->hasFocus());
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_EQ(grid->Col(), 0);
    EXPECT_FALSE(dive().Changed) << "nothing stored";
    EXPECT_TRUE(shell.reEvaluated.empty());

    typeInto(grid, dialog->tbDescend, 2, 0, "40");
    dialog->cbOK->click();
    EXPECT_FALSE(dialog->isVisible());
    ASSERT_EQ(dive().DescendRates.size(), 2u);
    EXPECT_EQ(dive().DescendRates[1].Depth, 40);
    EXPECT_EQ(dive().DescendRates[1].Rate, 10);
}

TEST_F(PropertiesGridTest, GermanInputTakesTheDecimalComma)
{
    gDecimalSeparator = ",";
    gThousandSeparator = ".";
    openOn(1);
    FlexGrid *grid = dialog->fgDescend;
    typeInto(grid, dialog->tbDescend, 2, 1, "1,5");
    EXPECT_EQ(grid->TextMatrix(2, 1), "1,5");
    typeInto(grid, dialog->tbDescend, 2, 0, "31.5"); // no group of three: the diver's decimal point
    EXPECT_EQ(grid->TextMatrix(2, 0), "31,5");
    dialog->cbOK->click();
    EXPECT_EQ(dive().DescendRates[1].Rate, 2) << "1.5 rounded to a whole rate";
    EXPECT_EQ(dive().DescendRates[1].Depth, 32);
}

TEST_F(PropertiesGridTest, RowsAreAddedWithPlaceholdersAndTheFirstRowStays)
{
    openOn(1);
    FlexGrid *grid = dialog->fgDescend;
    TestHooks::msgBoxAnswers.push_back(vbOK);
    menu(grid, 1, dialog->DelRow);
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
    EXPECT_EQ(box(0), GetLangStringQ(1654));
    EXPECT_EQ(grid->Rows(), 3);

    menu(grid, 1, dialog->AddRow);
    ASSERT_EQ(grid->Rows(), 4);
    EXPECT_EQ(grid->TextMatrix(3, 0), kEmptyCell);
    EXPECT_EQ(grid->TextMatrix(3, 1), kEmptyCell);
    menu(grid, 2, dialog->DelRow);
    EXPECT_EQ(column(grid, 0), (QStringList{"0", kEmptyCell}));

    dialog->ListView1->setCurrentRow(1);
    QApplication::processEvents();
    FlexGrid *switches = dialog->fgGasChange;
    menu(switches, 1, dialog->AddRow);
    ASSERT_EQ(switches->Rows(), 4);
    EXPECT_EQ(switches->TextMatrix(3, 0), kEmptyCell);
    EXPECT_EQ(switches->TextMatrix(3, 1), "Air");
}

// With automatic depths the switch grid opens no editor.
TEST_F(PropertiesGridTest, AutomaticDepthsOpenNoEditor)
{
    openOn(2);
    FlexGrid *grid = dialog->fgGasChange;
    dialog->cbAutoDecoGas->click();
    doubleClick(grid, 2, 0);
    doubleClick(grid, 2, 1);
    click(grid, 1, 0);
    QTest::keyClick(grid, Qt::Key_5);
    EXPECT_FALSE(dialog->tbGasChange->isVisible());
    EXPECT_FALSE(dialog->cbGasChange->isVisible());
}

// Automatic depths shown: a new switch shows its automatic depth, and a deleted one
// takes its kept manual depth with it, so clearing the box gives each row its own.
TEST_F(PropertiesGridTest, SwitchRowsChangedUnderAutomaticDepthsKeepTheManualDepthsInLine)
{
    dive().GasChanges = {GasChangeRecord{"Oxygen", 100, 0, 0, 5}, GasChangeRecord{"EAN50", 50, 50, 0, 20}};
    openOn(2);
    FlexGrid *grid = dialog->fgGasChange;
    dialog->cbAutoDecoGas->click();
    menu(grid, 1, dialog->AddRow);
    EXPECT_EQ(column(grid, 0), (QStringList{"6", "22", "66"})) << "Air reaches 1.6 at 66 m";
    menu(grid, 2, dialog->DelRow);
    EXPECT_EQ(column(grid, 1), (QStringList{"Oxygen", "Air"}));
    dialog->cbAutoDecoGas->click();
    EXPECT_EQ(column(grid, 0), (QStringList{"5", kEmptyCell}));
}

// A switch added under automatic depths (its gas cannot be chosen) can be taken back.
TEST_F(PropertiesGridTest, ASwitchAddedUnderAutomaticDepthsCanBeTakenBackAsTheOnlyRow)
{
    gSettings[1] = gSettings[0]; // the default template: automatic depths, no switch
    openOn(2);
    QTest::mouseClick(dialog->fgGasChange->viewport(), Qt::RightButton, {}, QPoint(5, 5));
    QTest::mouseClick(dialog->mnuRows, Qt::LeftButton, {}, dialog->mnuRows->actionGeometry(dialog->AddRow).center());
    menu(dialog->fgGasChange, 1, dialog->DelRow);
    EXPECT_EQ(dialog->fgGasChange->Rows(), 1);
}

TEST_F(PropertiesGridTest, AGasIsDeletedOnlyWithoutWaypointsAndNotFromTheOnlySwitch)
{
    dive().GasChanges = {GasChangeRecord{"EAN50", 50, 50, 0, 21}};
    openOn(4);
    FlexGrid *gases = dialog->FgGas;
    const int rows = gases->Rows();

    shell.activeWaypoints = 2;
    TestHooks::msgBoxAnswers.push_back(vbOK);
    menu(gases, 2, dialog->DelRow);
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
    EXPECT_EQ(box(0), GetLangStringQ(3044));
    EXPECT_EQ(gases->Rows(), rows);

    shell.activeWaypoints = 0;
    TestHooks::msgBoxAnswers.push_back(vbOK);
    menu(gases, 1, dialog->DelRow);
    EXPECT_EQ(box(1), GetLangStringQ(1654)) << "Air stays";
    TestHooks::msgBoxAnswers.push_back(vbOK);
    menu(gases, 3, dialog->DelRow); // EAN50, the only switch's gas
    EXPECT_EQ(box(2), GetLangStringQ(3045));
    EXPECT_EQ(gases->Rows(), rows);

    // Gases are not added from the menu.
    QTest::mouseClick(gases->viewport(), Qt::RightButton, {}, cell(gases, 2, 0));
    EXPECT_TRUE(dialog->mnuRows->isVisible());
    EXPECT_FALSE(dialog->AddRow->isVisible());
    dialog->mnuRows->hide();
    EXPECT_TRUE(dialog->AddRow->isVisible()) << "the other grids offer it again";

    menu(gases, 2, dialog->DelRow); // EAN32, used by no switch
    EXPECT_EQ(gases->Rows(), rows - 1);
    EXPECT_EQ(gases->TextMatrix(2, 0), "EAN50");
    EXPECT_EQ(TestHooks::msgBoxes.size(), 3u);
}

// Two switches use the gas: the first goes with it, the second stays with no mix.
TEST_F(PropertiesGridTest, AGasDeletedUnderTwoSwitchesLeavesTheOtherWithNoMix)
{
    dive().GasChanges = {GasChangeRecord{"EAN50", 50, 50, 0, 21}, GasChangeRecord{"EAN50", 50, 50, 0, 9}};
    openOn(4);
    EXPECT_EQ(column(dialog->fgGasChange, 0), (QStringList{"9", "21"}));
    menu(dialog->FgGas, 3, dialog->DelRow);
    EXPECT_EQ(column(dialog->fgGasChange, 0), QStringList{"21"});
    dialog->cbOK->click();
    ASSERT_EQ(dive().GasChanges.size(), 1u);
    const GasChangeRecord &left = dive().GasChanges[0];
    EXPECT_EQ(left.Name, "EAN50");
    EXPECT_EQ(left.Depth, 21);
    EXPECT_EQ(left.O2, 0);
    EXPECT_EQ(left.N2, 0);
    EXPECT_EQ(left.He, 0);
    EXPECT_EQ(dive().Gases.size(), gSettings[0].Template.Gases.size() - 1);
}

// A unit switch while a cell is being edited converts what was typed with the rest.
TEST_F(PropertiesGridTest, AUnitSwitchCommitsTheOpenEditorFirst)
{
    openOn(1);
    FlexGrid *grid = dialog->fgDescend;
    doubleClick(grid, 2, 1);
    QTest::keyClicks(dialog->tbDescend, "15");
    clickUnit(false);
    EXPECT_FALSE(dialog->tbDescend->isVisible());
    EXPECT_EQ(grid->TextMatrix(2, 1), "49");
}

// A depth being typed when the diver ticks automatic switch depths is dropped: neither
// the keys nor OK may put it over the computed depth (EAN50 at 40 m on a 1.6 deco ppO2).
TEST_F(PropertiesGridTest, TickingAutomaticDepthsDropsADepthBeingTyped)
{
    openOn(2);
    FlexGrid *grid = dialog->fgGasChange;
    doubleClick(grid, 2, 0);
    ASSERT_TRUE(dialog->tbGasChange->isVisible());
    QTest::keyClicks(dialog->tbGasChange, "40");
    dialog->cbAutoDecoGas->click();
    EXPECT_FALSE(dialog->tbGasChange->isVisible());
    EXPECT_EQ(column(grid, 0), (QStringList{"6", "22"}));
    dialog->cbOK->click();
    ASSERT_EQ(dive().GasChanges.size(), 2u);
    EXPECT_EQ(dive().GasChanges[1].Name, "EAN50");
    EXPECT_EQ(dive().GasChanges[1].Depth, 22);
    EXPECT_TRUE(dive().AutoDecoGas);
}

// The dialog is modeless: with another dive active, the dive it edits still keeps its
// gases while it shows waypoints, which name them by place in the list.
TEST_F(PropertiesGridTest, AGasOfTheEditedDiveStaysWhileItShowsWaypointsAndAnotherDiveIsActive)
{
    gSettings.resize(3);
    gSettings[2] = gSettings[1];
    shell.openDives = {1, 2};
    shell.otherWaypoints[1] = 3;
    openOn(4);
    shell.activeProfile = 2; // shows no waypoints
    FlexGrid *gases = dialog->FgGas;
    const int rows = gases->Rows();
    TestHooks::msgBoxAnswers.push_back(vbOK);
    menu(gases, 2, dialog->DelRow);
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
    EXPECT_EQ(box(0), GetLangStringQ(3044));
    EXPECT_EQ(gases->Rows(), rows);
}

// A click on the gas list's heading row shows the blender button preset with Air.
TEST_F(PropertiesGridTest, TheHeadingRowOfTheGasListPresetsTheBlenderWithAir)
{
    openOn(4);
    FlexGrid *gases = dialog->FgGas;
    QWidget *heading = gases->horizontalHeader()->viewport();
    QTest::mouseClick(heading, Qt::LeftButton, {}, QPoint(10, heading->height() / 2));
    EXPECT_TRUE(dialog->Command1->isVisible());
    EXPECT_EQ(dialog->SelectedO2, 21);
    EXPECT_EQ(dialog->SelectedHe, 0);

    click(gases, 6, 1); // a trimix
    EXPECT_NE(dialog->SelectedHe, 0);
    QTest::mouseClick(heading, Qt::LeftButton, {}, QPoint(10, heading->height() / 2));
    EXPECT_EQ(dialog->SelectedO2, 21);
    EXPECT_EQ(dialog->SelectedHe, 0);
}

// The switch's gas list opens on its own gas: leaving it or Esc (not the dialog's) writes
// nothing. A gas picked under automatic depths gets its own depth; a deco ppO2 of 16 shows
// the depths of 3.0 and is refused; OK stores the depths of the deco ppO2 it stores.
TEST_F(PropertiesGridTest, SwitchesAreStoredWithTheGasPickedAndTheDepthOfTheStoredPPO2)
{
    openOn(2);
    FlexGrid *grid = dialog->fgGasChange; // Oxygen 6, EAN50 21
    doubleClick(grid, 2, 1);
    EXPECT_EQ(dialog->cbGasChange->currentText(), "EAN50");
    click(grid, 1, 0);
    doubleClick(grid, 2, 1);
    QTest::keyClick(dialog->cbGasChange, Qt::Key_Escape);
    EXPECT_TRUE(dialog->isVisible() && !dialog->cbGasChange->isVisible());
    doubleClick(grid, 2, 1);
    QTest::mouseClick(dialog->cbAutoDecoGas, Qt::LeftButton);
    QTest::keyClick(dialog->cbGasChange, Qt::Key_Down); // Oxygen follows EAN50
    EXPECT_EQ(column(grid, 0), (QStringList{"6", "6"}));
    dialog->Text7->selectAll();
    QTest::keyClicks(dialog->Text7, "16");
    EXPECT_EQ(column(grid, 0), (QStringList{"20", "20"})) << "never oxygen at 150 m";
    TestHooks::msgBoxAnswers.push_back(vbOK);
    QTest::mouseClick(dialog->cbOK, Qt::LeftButton);
    EXPECT_TRUE(box(0).contains("Deco ppO2 must lie between 0 bar and 3 bar") && dive().GasChanges[1].Name == "EAN50");
    dialog->Text7->selectAll();
    QTest::keyClicks(dialog->Text7, "1.4");
    QTest::mouseClick(dialog->cbOK, Qt::LeftButton);
    ASSERT_EQ(dive().GasChanges.size(), 2u);
    EXPECT_EQ(dive().GasChanges[1].Name, "Oxygen");
    EXPECT_EQ(dive().GasChanges[1].Depth, 4);
}

// A long typed depth stays plain through a unit switch; OK refuses it at its cell.
TEST_F(PropertiesGridTest, ADepthOfEightDigitsIsConvertedAndRefusedAtItsCell)
{
    openOn(2);
    FlexGrid *grid = dialog->fgGasChange;
    typeInto(grid, dialog->tbGasChange, 2, 0, "12345678");
    clickUnit(false);
    EXPECT_EQ(grid->TextMatrix(2, 0), "40503708"); // typed 12345678, shown 12345680 m
    TestHooks::msgBoxAnswers.push_back(vbOK);
    QTest::mouseClick(dialog->cbOK, Qt::LeftButton);
    EXPECT_TRUE(box(0).contains("3300 ft") && grid->hasFocus() && grid->Row() == 2 && dive().GasChanges[1].Depth == 21);
}
