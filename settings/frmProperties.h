#pragma once
// The dive-settings dialog: every setting of one dive (or of the default template when
// no dive is open) on eight pages chosen in a list, in metric or imperial units. It
// edits the record of dive ProfileIndex in memory, opened modeless by the shell's
// ShowPropertiesForActiveProfile on the dive it gives (the active one, 0 without). It
// fills itself from the record when it is created, converts every shown value in place
// when the diver switches units, and checks each number box when the diver leaves it.
//
// Setting a check box, option button or text box in code runs its reaction as the
// diver's action would (toggled, textChanged): the loader relies on that order.
// The dialog closes as cancelled when the window of the dive it edits closes, so a new
// dive taking that slot never receives these settings.
//
// OK reads every page into a copy of the record and stores it whole, or nothing when a
// grid still holds an empty cell, the settings break a dive bound (a file holding them
// could not be read back) or an error stops it; then the dive it edits (not
// necessarily the active one) is computed again with its own circuit mode. However the
// dialog closes, the main window shows the active dive's circuit mode again.
//
// The rate grids and the switch grid are edited in place: a text box (or, for a
// switch's gas, a list of the dive's gases) laid over the cell, committed when the
// focus goes back to the grid or the grid's current cell moves, dropped with Esc. A
// right click on a grid opens the row menu (add a row, delete a row).

#include "engine/SettingsRecord.h"
#include "settings/PropertiesMath.h"

#include <QDialog>

#include <array>
#include <cstdint>
#include <vector>

class FlexGrid;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QAction;
class QMenu;
class QPushButton;
class QRadioButton;

// One manual switch depth in both unit systems.
struct DepthPair {
    float Metres = 0;
    float Feet = 0;
};

class frmProperties : public QDialog {
    Q_OBJECT
public:
    // The window's load, on gSettings element `diveNumber` (the default template, 0, when
    // that is no element).
    explicit frmProperties(int16_t diveNumber, QWidget *parent = nullptr);

    // True only after the dialog was left with Cancel (or closed otherwise).
    bool NothingChanged = false;
    // The gSettings element edited.
    int16_t ProfileIndex = 0;
    // The unit system the texts stand in: kUnitsMetric, kUnitsImperial, 0 before the load.
    float Units = 0;
    // The manual switch depths kept while automatic switch depths are shown.
    std::vector<DepthPair> DecoGasBackup{DepthPair{}};
    // The gas last clicked in the gas list (for the gas blender).
    double SelectedO2 = 0;
    double SelectedHe = 0;

    // Fills every page from the record of dive `index`.
    void LoadSettings(int index);
    void InitFrames();
    void InitCaptions();
    void InitGasChangeGrid(float Factor);

    // Unit switching.
    void ChangeUnitLabels(bool setMetric);
    void ChangeAllFrames(bool settometric);
    void forgetUnitSwitches();
    void rememberLastUnitSwitch();
    void ChangeDecoStepsFrame(bool setMetric);
    void changeAscentFrame(bool setMetric);
    void changeDescentFrame(bool setMetric);
    void ChangeGasSettingsFrame(bool setMetric);
    void ChangeConstPPOFrame(bool setMetric);
    void ChangeAltitudeFrame(bool setMetric);
    void changeAutoDecoGasFrame(bool setMetric, bool Changeit = false);
    void changeDecoGasFrame(bool setMetric, bool Changeit = false);
    // O2 percentage of the record's gas of that exact name, -1 when there is none.
    float GetPercentO2(const QString &gasname) const;
    // The deco ppO2 whose automatic switch depths the grid shows: the box's number to two
    // places, held within the ppO2 bound (0 to 3) so that no typed number shows an
    // infinite depth. OK stores the number itself, or refuses it when it lies outside.
    float shownDecoPPO2() const;
    // The automatic switch depth of grid row `row` at `ppO2`, as the grid shows it.
    QString autoDepthText(int row, float ppO2, bool setMetric) const;

    // The manual switch depths kept and put back around automatic switch depths.
    void saveDecoGasSettings();
    void loadDecoGasSettings();

    // In-place grid editing. KeyAscii 0 .. 32 puts the caret at the end of the cell's
    // text, a higher one selects the whole text (a typed key then replaces it). KeyCode is
    // 13 (Enter: commit), 27 (Esc: drop), 38 (Up) or 40 (Down: commit, then move).
    void MSFlexGridEdit(FlexGrid *MSFlexGrid, QLineEdit *Edt, int KeyAscii);
    void GasChangeEdit(FlexGrid *MSFlexGrid, QComboBox *Edt);
    void EditKeyCode(FlexGrid *MSFlexGrid, QLineEdit *Edt, int KeyCode, int Shift);
    void FillGasChangeCombo();

    // Page choice.
    void CloseAllFrames();
    void ShowRateFrame();
    void ShowDecoFrame();
    void ShowUnitsFrame();
    void ShowGassesAvailFrame();
    void ShowAltitudeFrame();
    void ShowRebreatherFrame();
    void ShowGasSettings();
    void ShowWarningsFrame();

    // The page list and its label.
    QListWidget *ListView1 = nullptr;
    QLabel *Label23 = nullptr;
    QPushButton *cbOK = nullptr;
    QPushButton *cbCancel = nullptr;
    QPushButton *cbDefault = nullptr;

    // Page 1, rates.
    QGroupBox *Frame13 = nullptr;
    QGroupBox *Frame6 = nullptr;
    QGroupBox *Frame7 = nullptr;
    FlexGrid *fgAscend = nullptr;
    FlexGrid *fgDescend = nullptr;

    // Page 2, decompression.
    QGroupBox *Frame15 = nullptr;
    QGroupBox *Frame5 = nullptr;
    QLabel *Label7 = nullptr;
    QLineEdit *tbStepSize = nullptr;
    QLabel *Label15 = nullptr;
    QLineEdit *tbLastStop = nullptr;
    QGroupBox *Frame16 = nullptr;
    QLabel *Label20 = nullptr;
    QLineEdit *Text7 = nullptr; // deco ppO2
    QLabel *Label21 = nullptr;
    QLineEdit *Text8 = nullptr; // deco RMV
    QLabel *Label22 = nullptr;
    QGroupBox *Frame3 = nullptr;
    FlexGrid *fgGasChange = nullptr;
    QCheckBox *cbAutoDecoGas = nullptr;
    // The in-place editors of the rate and switch grids, hidden while no cell is edited.
    QLineEdit *tbDescend = nullptr;
    QLineEdit *tbAscend = nullptr;
    QLineEdit *tbGasChange = nullptr;
    QComboBox *cbGasChange = nullptr;
    // The row menu of the grids.
    QMenu *mnuRows = nullptr;
    QAction *AddRow = nullptr;
    QAction *DelRow = nullptr;

    // Page 3, units: Option1[1] metric, Option1[0] imperial.
    QGroupBox *Frame2 = nullptr;
    std::array<QRadioButton *, 2> Option1{};

    // Page 4, gases.
    QGroupBox *Frame4 = nullptr;
    FlexGrid *FgGas = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *cbCustomBlend = nullptr;

    // Page 5, altitude.
    QGroupBox *Frame1 = nullptr;
    QGroupBox *Frame12 = nullptr;
    QLineEdit *Text2 = nullptr; // start altitude
    QLabel *Label11 = nullptr;
    QLineEdit *Text4 = nullptr; // start pressure
    QLabel *Label16 = nullptr;
    QCheckBox *Check1 = nullptr; // adapted to the altitude
    QLabel *Label10 = nullptr;
    QLineEdit *Text1 = nullptr; // time to the altitude
    QLabel *Label12 = nullptr;
    QGroupBox *Frame11 = nullptr;
    QLineEdit *Text5 = nullptr; // dive-site altitude
    QLabel *Label18 = nullptr;
    QLabel *Label14 = nullptr;
    QLineEdit *Text3 = nullptr; // dive-site surface pressure
    QLabel *Label13 = nullptr;

    // Page 6, rebreather.
    QGroupBox *Frame8 = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *SetPoint = nullptr;
    QLabel *lBarAta = nullptr;
    QLabel *Label19 = nullptr;
    QLineEdit *Text6 = nullptr; // deco set-point
    QLabel *Label17 = nullptr;
    QCheckBox *Check2 = nullptr; // decompression on open circuit

    // Page 7, gas settings.
    QGroupBox *Frame14 = nullptr;
    QGroupBox *Frame17 = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *tbMinPPO = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label4 = nullptr;
    QLineEdit *tbMaxPPO = nullptr;
    QLabel *Label6 = nullptr;
    QGroupBox *Frame19 = nullptr;
    QCheckBox *cbONarcotic = nullptr;
    QLabel *Label8 = nullptr;
    QLineEdit *tbMaximalEND = nullptr;
    QLabel *Label9 = nullptr;
    QGroupBox *Frame18 = nullptr;
    QLabel *lbRMV = nullptr;
    QLineEdit *tbRMV = nullptr;
    QLabel *Label2 = nullptr;

    // Page 8, warnings.
    QGroupBox *Frame9 = nullptr;
    QCheckBox *cbWarnPPOLow = nullptr;
    QCheckBox *cbWarnPPOHigh = nullptr;
    QCheckBox *cbWarnMaxEND = nullptr;

public slots:
    void cbOK_Click();
    void cbCancel_Click();
    void reject() override; // Esc and the close box: as Cancel
    void cbDefault_Click();
    void cbCustomBlend_Click();
    void Command1_Click();
    // Button 1 left, 2 right; x and y in the grid's pixels.
    void FgGas_MouseDown(int Button, int Shift, int X, int Y);
    void AddRow_Click();
    void DelRow_Click();
    void ListView1_Click();
    void Option1_Click(int index);
    void Check1_Click();
    void cbAutoDecoGas_Click();
    void Text7_Change();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createPages();
    void createGridEditors();
    void createRatesPage();
    void createDecoPage();
    void createUnitsPage();
    void createGasesPage();
    void createAltitudePage();
    void createRebreatherPage();
    void createGasSettingsPage();
    void createWarningsPage();
    void createPageList();
    void connectReactions();
    void placePages();

    void InitConstPPOFrame();
    void InitAltitudeFrame();
    void InitGasAvailableFrame();
    void InitGasSettingsFrame();
    void InitDecoStepsFrame();
    void InitUnitsFrame();
    void InitDescentFrame();
    void InitAscentFrame();
    void InitDecoGasFrame();
    void InitWarningsFrame();
    void initRateGrid(FlexGrid *grid, const std::vector<RateRecord> &rates, int16_t depthHeader,
                      int lessTwips);

    // The check of a number box when the diver leaves it: a text that is no positive
    // number becomes the default of the shown units and the diver is told, after the
    // focus change has finished.
    struct FieldCheck {
        QLineEdit *box;
        QString metricDefault, imperialDefault;
        int16_t message;
        QString metricSuffix, imperialSuffix;
    };
    void checkField(const FieldCheck &check);
    // Altitudes and the minutes to them can hold thousands; the other boxes cannot.
    bool holdsThousands(const QLineEdit *box) const { return box == Text1 || box == Text2 || box == Text5; }
    void Text7_LostFocus();
    void showPage(QGroupBox *frame);
    void closeForDive(int16_t profileNr);

    // The confirmation: false when the pages cannot be stored yet (the diver was told).
    bool confirm();
    bool refuseEmptyCells();
    bool refuseNonNumbers();
    // The grid rows (from 1) of the rates and switches, in the order OK stores them (by
    // depth). OK sorts its reading, never the grids: a refused OK leaves them as typed.
    struct StoredOrder {
        std::vector<int> ascend, descend, switches;
    };
    bool refuseUnreadable(const TemplateRec &pages, const StoredOrder &order);
    TemplateRec readPages(StoredOrder &order) const;
    std::vector<UnitSwitchText> unitSwitchTexts(const StoredOrder &order) const;
    void showActiveDiveCircuit();

    // Grid editing.
    QLineEdit *editorOf(const FlexGrid *grid) const;
    bool gridKeyPress(FlexGrid *grid, int KeyAscii);
    void gridDblClick(FlexGrid *grid);
    void gridGotFocus(FlexGrid *grid);
    void gridLeaveCell(FlexGrid *grid);
    void gridMouseDown(FlexGrid *grid, int Button, const QPoint &pos);
    bool commitNumberCell(FlexGrid *grid, QLineEdit *Edt);
    bool commitOpenEditors();
    void cbGasChange_Click();
    void closeGasList(bool keep);
    void refuse(int16_t message);
    void removeSwitchRow(int row);
    bool gasChangeLocked() const;

    // The grid the row menu acts on (the one right-clicked last).
    FlexGrid *menuGrid_ = nullptr;
    // The receiver of the number boxes' focus-out checks. QDialog's destructor hides the
    // window, and the box that has the focus then finishes its editing, after this class's
    // part of the dialog is gone. A member ends with that part, and its connections with
    // it, so no check reaches a half-destroyed dialog.
    QObject focusOutContext_;

    TemplateRec &record() const;
    QList<QGroupBox *> pages() const;
};
