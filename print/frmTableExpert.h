#pragma once
// The decompression-table generator: tables of stops for a grid of depths and bottom
// times on one bottom gas, computed with the settings of the dive the window was opened
// for and printed six to a page (print/TablePrintModule.h). Modeless while the diver
// sets the ranges, application-modal while it generates: nothing else (a report, a second
// run, closing the dive) can start over a run. It closes after a run, after a refused
// range, on Cancel and when its dive's window closes. The six ranges and the
// fast-descent tick are kept in the registry subkey "TableExpert".
//
// Every cell is planned on a copy of the dive's settings with a fresh diver
// (engine/TableGenerator.h): the dive's own record, its end-of-dive tissues and its rate
// tables, is never changed. A cell the engine refuses is told in its words, a fault of
// the program in the error box naming its place.

#include "engine/DivePlan.h"
#include "engine/SettingsRecord.h"
#include "engine/TableGenerator.h"

#include <QDialog>
#include <QString>

#include <cstdint>
#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

class frmTableExpert : public QDialog {
    Q_OBJECT
public:
    // The window's load, for dive `diveNumber` (0, the default template, when none is
    // active), its cells planned with the algorithm `options`. The window follows the
    // algorithm menu while it is open (ShellNotices::AlgorithmChanged).
    frmTableExpert(int16_t diveNumber, const PlanOptions &options, QWidget *parent = nullptr);

    // The dive the window works on (0, the default template, when none was active).
    int16_t ProfileIndex() const { return profileIndex_; }
    bool Generating() const { return running_; }

    QCheckBox *Check1 = nullptr; // fast descent
    QPushButton *cbStart = nullptr;
    QPushButton *cbCancel = nullptr;
    QProgressBar *pbProgress = nullptr;
    QGroupBox *Frame4 = nullptr; // gas used
    QComboBox *Combo1 = nullptr;
    QLabel *Label8 = nullptr, *Label7 = nullptr;
    QLineEdit *tbST = nullptr, *tbET = nullptr, *tbTI = nullptr;
    QLabel *Label10 = nullptr, *Label6 = nullptr, *Label5 = nullptr, *Label4 = nullptr;
    QLineEdit *tbSD = nullptr, *tbED = nullptr, *tbDI = nullptr;
    QLabel *Label11 = nullptr, *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr;
    QLabel *Label12 = nullptr, *Label13 = nullptr, *Label9 = nullptr;

public slots:
    void Combo1_Click();
    void cbStart_Click();
    void cbCancel_Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    void createControls();
    void layOutControls();
    void Form_Load();
    void setGasName();
    void SaveTableSettings(const QString &sd, const QString &ed, const QString &di, const QString &st,
                           const QString &et, const QString &ti);
    void GenerateTables();
    // The six ranges as typed, whole numbers.
    struct Ranges {
        float SD, ED, DI, ST, ET, TI;
    };
    std::optional<Ranges> typedRanges();
    bool planTables(const TemplateRec &settings, const Ranges &ranges, int16_t mix, bool fast, TableRun &run);
    void printTables(const TableRun &run, const TemplateRec &settings, bool fast);
    void closeForDive(int16_t profileNr);
    void enableInputs(bool enabled);
    const TemplateRec &diveSettings() const;

    int16_t profileIndex_ = 0;
    PlanOptions options_;
    bool cancel_ = false;
    bool running_ = false;
    bool closeAfterRun_ = false;
};

// The generator's range checks, in the order the window makes them: the string ID of
// the first that fails (2714-2721), 7210 for more bottom times than a page can hold, 0
// when the ranges are good. Values are whole numbers already.
int16_t TableRangeProblem(float SD, float ED, float DI, float ST, float ET, float TI);

// The descent-rate table the printed strip shows for a fast descent: one row, 1000 depth
// units a minute from the surface.
void setFastTemplate(TemplateRec &Template);

// Creates a generator for dive `diveNumber` (the active one) and shows it modeless,
// owned by `owner`.
frmTableExpert *ShowTableExpert(int16_t diveNumber, const PlanOptions &options, QWidget *owner);
