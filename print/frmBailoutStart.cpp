#include "print/frmBailoutStart.h"

#include "engine/DOLVmiscModule.h"
#include "engine/DiveModel.h"
#include "engine/EngineGlobals.h"
#include "engine/LibraryModule.h"
#include "engine/RuntimeError.h"
#include "platform/ErrorModule.h"
#include "platform/LocaliseForm.h"
#include "platform/MsgBox.h"
#include "platform/ShellServices.h"
#include "platform/WaitCursor.h"
#include "print/BailoutCases.h"
#include "print/PrintPreview.h"
#include "print/TablePrintModule.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>
#include <optional>

frmBailoutStart::frmBailoutStart(int16_t diveNumber, const PlanOptions &options, QWidget *parent)
    : QDialog(parent), mDiveNumber(diveNumber), mOptions(options)
{
    setObjectName(QStringLiteral("frmBailoutStart"));
    setModal(true);
    createControls();
    layOut();
    connect(cbOK, &QPushButton::clicked, this, &frmBailoutStart::cbOK_Click);
    connect(cbCancel, &QPushButton::clicked, this, &frmBailoutStart::cbCancel_Click);
    RunGuarded("frmBailoutStart.Form_load", [this] { Form_Load(); });
}

void frmBailoutStart::createControls()
{
    setProperty("Tag", "2600");
    Frame2 = new QGroupBox(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setProperty("Tag", "2601");
    Frame1 = new QGroupBox(Frame2);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setProperty("Tag", "2602");

    lbTIME = new QLabel(Frame1);
    lbTIME->setObjectName(QStringLiteral("lbTIME"));
    lbTIME->setProperty("Tag", "2603");
    tbTime = new QLineEdit(Frame1);
    tbTime->setObjectName(QStringLiteral("tbTime"));
    tbTime->setMaximumWidth(56);
    Label1 = new QLabel(Frame1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setProperty("Tag", "6092");
    Label2 = new QLabel(Frame1);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setProperty("Tag", "2605");
    Label3 = new QLabel(Frame1);
    Label3->setObjectName(QStringLiteral("Label3"));

    Label4 = new QLabel(Frame2);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setProperty("Tag", "2604");
    pbProgress = new QProgressBar(Frame2);
    pbProgress->setObjectName(QStringLiteral("pbProgress"));
    pbProgress->setRange(0, 1);
    pbProgress->setValue(0);
    pbProgress->setTextVisible(false);

    cbOK = new QPushButton(this);
    cbOK->setObjectName(QStringLiteral("cbOK"));
    cbOK->setProperty("Tag", "1210");
    cbOK->setDefault(true);
    cbCancel = new QPushButton(this);
    cbCancel->setObjectName(QStringLiteral("cbCancel"));
    cbCancel->setProperty("Tag", "1215");
}

void frmBailoutStart::layOut()
{
    auto *settings = new QGridLayout(Frame1);
    settings->addWidget(lbTIME, 0, 0);
    settings->addWidget(tbTime, 0, 1);
    settings->addWidget(Label1, 0, 2);
    settings->addWidget(Label2, 1, 0);
    settings->addWidget(Label3, 1, 1, 1, 2);
    settings->setColumnStretch(2, 1);

    auto *generate = new QVBoxLayout(Frame2);
    generate->addWidget(Frame1);
    generate->addWidget(Label4);
    generate->addWidget(pbProgress);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cbOK);
    buttons->addWidget(cbCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Frame2);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setTabOrder(tbTime, cbOK);
    setTabOrder(cbOK, cbCancel);
}

void frmBailoutStart::Form_Load()
{
    mStopRequested = false;
    LocaliseForm(this);
    pbProgress->setMinimumWidth(Frame1->sizeHint().width());
    const Dive *dive = FindDive(mDiveNumber);
    if (mDiveNumber <= 0 || !dive) {
        MsgBox(GetLangStringQ(3003), vbOKOnly);
        return;
    }
    Label3->setText(QString::fromStdString(dive->Record().Template.Templatename));
}

void frmBailoutStart::setRunning(bool running)
{
    QFont font = cbCancel->font();
    font.setBold(running);
    cbCancel->setFont(font);
    if (running)
        cbCancel->setText(GetLangStringQ(2711));
    cbOK->setEnabled(!running);
    tbTime->setEnabled(!running);
}

void frmBailoutStart::cbOK_Click()
{
    // The interval by the typed-number rule; an empty box is 0 as it always was.
    const QString typed = tbTime->text();
    const std::optional<float> read = typed.trimmed().isEmpty() ? 0.0f : ReadTypedNumber(typed.toStdString());
    const float interval = RoundTo(read.value_or(0), 0);
    setRunning(true);
    {
        WaitCursor hourglass;
        if (!read) {
            MsgBox(GetLangStringQ(7213).arg(typed), vbExclamation + vbOKOnly, GetLangStringQ(3002));
        } else if (interval < 0) {
            MsgBox(GetLangStringQ(3000), vbExclamation + vbOKOnly, GetLangStringQ(3002));
        } else if (interval > 99) {
            MsgBox(GetLangStringQ(3001), vbExclamation + vbOKOnly, GetLangStringQ(3002));
        } else {
            // A limit of the dive is said in the diver's words; a fault of the program goes
            // to the error box naming its place. Nothing leaves the slot.
            RunGuarded("frmBailoutStart.cbOK_Click", [this, interval] {
                try {
                    Bailoutproc(interval);
                } catch (const RuntimeError &e) {
                    if (!IsDiveLimit(e))
                        throw;
                    MsgBox(GetLangStringQ(7254).arg(QString::fromStdString(e.description())), vbCritical + vbOKOnly,
                           GetLangStringQ(3002));
                }
            });
        }
    }
    setRunning(false);
    if (isVisible())
        accept();
}

void frmBailoutStart::cbCancel_Click()
{
    reject();
}

void frmBailoutStart::reject()
{
    mStopRequested = true;
    QDialog::reject();
}

void frmBailoutStart::GetGasMixChangeNumber(int16_t &count)
{
    const TemplateRec &t = RecordOf(mDiveNumber, "frmBailoutStart.GetGasMixChangeNumber").Template;
    count = static_cast<int16_t>(t.GasChanges.size());
}

struct frmBailoutStart::Run {
    int16_t diveNumber = 0;
    // Held for the run: the dive outlives its window should that close meanwhile.
    std::shared_ptr<Dive> dive;
    ClassProfile shown;
    TemplateRec settings;
    DiveStartState start;
    PlanOptions options;
    float interval = 1.0f;
    int16_t switches = 0;
    int32_t maximum = 1; // of the progress bar, for one case
};

void frmBailoutStart::Bailoutproc(float interval)
{
    Run run;
    if (!startRun(interval, run))
        return;
    // Every case is computed before the job begins, so a run refused or cancelled on the
    // way leaves the preview of the job before it.
    Tables tables(static_cast<size_t>(run.switches) + 1);
    std::vector<PlanWarning> warnings;
    if (!computeCases(run, tables, warnings))
        return;
    StartTablePrint(TableDive{run.diveNumber, run.settings, Shell().DiveCaption(run.diveNumber)});
    // Writing a large job takes a while: the page it has reached shows, and Cancel stops
    // it. The watch holds until the preview is shown: a job it leaves unshown is stopped.
    Label4->setText(GetLangStringQ(7255).arg(1));
    pbProgress->setRange(0, 0); // busy: how many pages the tables fill shows as they do
    const PrintJobWatchScope watch([this](int pages) {
        Label4->setText(GetLangStringQ(7255).arg(pages));
        QCoreApplication::processEvents();
        return !mStopRequested;
    });
    if (!writeTables(run, tables))
        return;
    ShowPlanWarnings(warnings);
    EndTablePrint();
}

// The run's copies of the dive. False when there is nothing to run, or the dive is
// refused (said in the diver's words).
bool frmBailoutStart::startRun(float interval, Run &run)
{
    if (mDiveNumber <= 0 || !FindDive(mDiveNumber))
        return false;
    GetGasMixChangeNumber(run.switches);
    run.diveNumber = mDiveNumber;
    run.dive = SharedDive(run.diveNumber);
    run.interval = interval <= 0 ? 1.0f : interval;

    // Copies: the run reads the dive as it was when OK was pressed.
    run.shown = run.dive->InputProfile;
    const int16_t length = run.shown.GetLength();
    if (length == 0) {
        MsgBox(GetLangStringQ(7253), vbInformation + vbOKOnly, GetLangStringQ(3002));
        return false;
    }
    run.settings = run.dive->Record().Template;
    // Bounded before anything is computed, as the table generator bounds its bottom
    // times: a long dive at a short interval would otherwise run for hours.
    if (const auto tooMany = BailoutRowsProblem(run.shown, run.settings, run.interval)) {
        MsgBox(QString::fromStdString(*tooMany), vbExclamation + vbOKOnly, GetLangStringQ(3002));
        return false;
    }
    const bool repetitive = RecordOf(run.diveNumber, "frmBailoutStart").PrevProfile != -1;
    try {
        run.start = StartStateOf(run.diveNumber, repetitive, run.shown);
    } catch (const RuntimeError &e) {
        if (!IsDiveLimit(e))
            throw;
        // The dive before holds no computed plan to start from: the diver's to mend.
        MsgBox(QString::fromStdString(e.description()), vbExclamation + vbOKOnly, GetLangStringQ(3002));
        return false;
    }
    run.options = mOptions;
    run.options.Bailout = true;
    run.maximum = BailoutProgressMaximum(BailoutRowCount(run.shown, run.interval), length);
    return true;
}

// Case `caseIndex` into mBailoutProfiles, the progress bar following it. False when
// Cancel stopped it or the engine refused a row; a fault of the program passes on.
bool frmBailoutStart::computeCase(const Run &run, int16_t caseIndex, std::vector<PlanWarning> &warnings)
{
    TemplateRec caseSettings;
    CopyTemplateWithoutGasChange(run.settings, caseSettings, caseIndex);
    pbProgress->setRange(0, run.maximum);
    pbProgress->setValue(0);
    const BailoutStep step = [this, maximum = run.maximum](int32_t done) {
        pbProgress->setValue(std::min(done, maximum));
        QCoreApplication::processEvents();
        return !mStopRequested;
    };
    try {
        return ComputeBailoutCase(run.shown, caseSettings, run.start, run.options, run.interval, step,
                                  mBailoutProfiles, warnings);
    } catch (const RuntimeError &e) {
        if (!IsDiveLimit(e))
            throw;
        // A row the engine refuses is a limit of the dive, not a fault of the program:
        // said in the engine's words naming the bail-out time, as the table generator
        // says its refusals, never as an error to report to the author.
        MsgBox(QString::fromStdString(e.description()), vbCritical + vbOKOnly, GetLangStringQ(3002));
        return false;
    }
}

// Every case. Tables are kept while together they hold no more waypoints than one case
// may; a case beyond is left empty, to be computed again when its turn to be printed
// comes (the engine gives the same rows).
bool frmBailoutStart::computeCases(const Run &run, Tables &tables, std::vector<PlanWarning> &warnings)
{
    int64_t kept = 0;
    for (int16_t c = 0; c <= run.switches; ++c) {
        if (!computeCase(run, c, warnings))
            return false; // refused or cancelled: no table and no new preview
        const int64_t waypoints = TableWaypoints(mBailoutProfiles);
        if (kept + waypoints <= kBailoutWaypointBudget) {
            kept += waypoints;
            tables[static_cast<size_t>(c)] = std::move(mBailoutProfiles);
        }
    }
    return true;
}

// The tables into the job begun, a case not kept computed again first. False when
// Cancel, the job's watch or a refused row stopped it.
bool frmBailoutStart::writeTables(const Run &run, Tables &tables)
{
    for (int16_t c = 0; c <= run.switches; ++c) {
        std::vector<ClassProfile> &table = tables[static_cast<size_t>(c)];
        if (table.empty()) {
            std::vector<PlanWarning> again;
            if (!computeCase(run, c, again))
                return false;
            table = std::move(mBailoutProfiles);
            pbProgress->setRange(0, 0);
        }
        if (mStopRequested || PrintJobStopped())
            return false;
        if (CaseTableReady)
            CaseTableReady(c, table);
        PrintDepthTable(table, true);
        std::vector<ClassProfile>().swap(table); // printed: its memory is free again
    }
    return !mStopRequested && !PrintJobStopped();
}
