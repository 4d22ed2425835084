#pragma once
// The bail-out tables of a dive (the shell gives the active one): for every whole
// multiple of an interval along the diver's own part of the dive, and at its end when the
// steps miss it, the open-circuit ascent that starts there, once
// without each deco-gas switch in turn and once with all of them, one printed table per
// case. Modal, owned by the main window, a new one for every use:
//
//     frmBailoutStart dialog(diveNumber, AlgorithmOptions(), mainWindow);
//     ShowModal(&dialog);                   // platform/ModalWindow.h
//
// Every row is planned by the plan call on a copy of the dive's settings; the dive's
// record, its profile and gSettings stay as they were, after a run, a Cancel or an
// engine error alike; a row the engine cannot compute ends the run with one box naming
// its time, and more rows than a run may hold are refused before it starts. Limits of
// the dive are told in the diver's words, a fault of the program (an index out of
// range, an overflow) in the error box naming its place (IsDiveLimit). A
// repetitive dive starts every row from the previous dive's end state across its
// surface interval (refused in the diver's words when that dive holds no computed
// plan). Every case is computed before the tables are written, so a run refused or
// cancelled meanwhile leaves the preview before it; Cancel also stops the writing,
// which leaves that preview and its spool as they were too.
// Each limit warning shows once per run, with its worst value.

#include "engine/ClassProfile.h"
#include "engine/DivePlan.h"

#include <QDialog>

#include <cstdint>
#include <functional>
#include <vector>

class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

class frmBailoutStart : public QDialog {
    Q_OBJECT
public:
    // The window's load, on dive `diveNumber`, its rows planned with the algorithm
    // `options` (the menu's ticks when the command started; the run adds the bail-out).
    frmBailoutStart(int16_t diveNumber, const PlanOptions &options, QWidget *parent = nullptr);

    // The run for an interval in minutes (0 or less runs every minute).
    void Bailoutproc(float interval);
    // The number of the dive's deco-gas switches.
    void GetGasMixChangeNumber(int16_t &count);

    // Told each case's table just before it is printed: the left-out switch's index in
    // the dive's list (the list's length for the case with every switch) and the table
    // (element 0 the dive's shown profile, then one bail-out profile per row).
    std::function<void(int16_t caseIndex, const std::vector<ClassProfile> &table)> CaseTableReady;

    QGroupBox *Frame2 = nullptr; // generate from the current profile
    QGroupBox *Frame1 = nullptr; // bail-out settings
    QLabel *lbTIME = nullptr;
    QLineEdit *tbTime = nullptr; // the interval, minutes
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr; // the dive's template
    QLabel *Label4 = nullptr;
    QProgressBar *pbProgress = nullptr;
    QPushButton *cbOK = nullptr;
    QPushButton *cbCancel = nullptr;

public slots:
    void cbOK_Click();
    void cbCancel_Click();
    // Cancel, Esc and the close box: a run in progress stops at its next step.
    void reject() override;

private:
    void createControls();
    void layOut();
    void Form_Load();
    void setRunning(bool running);

    // One run's copies of the dive, taken when OK was pressed (frmBailoutStart.cpp).
    struct Run;
    using Tables = std::vector<std::vector<ClassProfile>>;
    bool startRun(float interval, Run &run);
    bool computeCase(const Run &run, int16_t caseIndex, std::vector<PlanWarning> &warnings);
    bool computeCases(const Run &run, Tables &tables, std::vector<PlanWarning> &warnings);
    bool writeTables(const Run &run, Tables &tables);

    int16_t mDiveNumber = 0;
    PlanOptions mOptions;
    std::vector<ClassProfile> mBailoutProfiles; // the table of the current case
    bool mStopRequested = false;
};
