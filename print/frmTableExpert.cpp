#include "print/frmTableExpert.h"

#include "engine/DOLVmiscModule.h"
#include "engine/DiveBounds.h"
#include "engine/DiveModel.h"
#include "engine/EngineGlobals.h"
#include "engine/LibraryModule.h"
#include "engine/ResourceManager.h"
#include "engine/RuntimeError.h"
#include "engine/VBConversions.h"
#include "platform/ErrorModule.h"
#include "platform/LocaliseForm.h"
#include "platform/MsgBox.h"
#include "platform/RegEditModule.h"
#include "platform/ShellServices.h"
#include "platform/WaitCursor.h"
#include "print/SmallTables.h"
#include "print/TablePrintModule.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <optional>
#include <utility>

namespace {

const QString kKey = QStringLiteral("TableExpert");

// A registry value of the generator, its default when missing or empty.
QString setting(const char *name, const char *fallback)
{
    const QString v = GetRegString(kKey, QLatin1String(name));
    return v.isEmpty() ? QLatin1String(fallback) : v;
}

// A typed range value by the typed-number rule (depths in feet and minutes hold
// thousands), rounded half up to whole depth units or minutes; none when the box holds
// no number.
std::optional<float> wholeValue(const QLineEdit *box)
{
    const std::optional<float> v = ReadTypedNumber(box->text().toStdString(), true);
    if (!v)
        return std::nullopt;
    return RoundTo(*v, 0);
}

QString numberText(float v)
{
    return QString::fromStdString(LocaliseNumberText(JoinStr(v), gDecimalSeparator));
}

QLabel *label(QWidget *parent, const char *name, int id)
{
    auto *l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    if (id > 0)
        l->setProperty("Tag", QString::number(id));
    return l;
}

} // namespace

int16_t TableRangeProblem(float SD, float ED, float DI, float ST, float ET, float TI)
{
    if (!(SD <= ED))
        return 2714;
    if (!(DI > 0))
        return 2715;
    if (!(ST <= ET))
        return 2716;
    if (!(TI > 0))
        return 2717;
    if (!(ST >= 0))
        return 2718;
    if (!(ET >= 0))
        return 2719;
    if (!(SD >= 0))
        return 2720;
    if (!(ED >= 0))
        return 2721;
    // A bottom time lasts at most a week, as the logged legs of a dive do.
    if (!(ET <= DiveBounds::kMaxDiveMinutes))
        return 7211;
    // A page holds a table three cells wide at most (Int(n) + 1 columns; written so that
    // a range that cannot be counted is refused too).
    if (!((static_cast<double>(ET) - ST) / TI < MaxTableColumns))
        return 7210;
    return 0;
}

void setFastTemplate(TemplateRec &Template)
{
    Template.DescendRates = {RateRecord{0, 0, 1000, 0}};
}

frmTableExpert::frmTableExpert(int16_t diveNumber, const PlanOptions &options, QWidget *parent)
    : QDialog(parent), profileIndex_(diveNumber), options_(options)
{
    setObjectName(QStringLiteral("frmTableExpert"));
    setProperty("Tag", QStringLiteral("2700"));
    createControls();
    layOutControls();
    LocaliseForm(this);
    Form_Load();
    connect(Combo1, &QComboBox::activated, this, &frmTableExpert::Combo1_Click);
    connect(cbStart, &QPushButton::clicked, this, &frmTableExpert::cbStart_Click);
    connect(cbCancel, &QPushButton::clicked, this, &frmTableExpert::cbCancel_Click);
    connect(&ShellNotices::Instance(), &ShellNotices::DiveClosed, this, &frmTableExpert::closeForDive);
    // The menu's ticks stay free while the ranges are set: the run uses those of Start.
    connect(&ShellNotices::Instance(), &ShellNotices::AlgorithmChanged, this,
            [this](const PlanOptions &now) { options_ = now; });
}

void frmTableExpert::createControls()
{
    Check1 = new QCheckBox(this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setProperty("Tag", QStringLiteral("5010"));
    cbStart = new QPushButton(this);
    cbStart->setObjectName(QStringLiteral("cbStart"));
    cbStart->setProperty("Tag", QStringLiteral("2710"));
    cbStart->setDefault(true);
    cbCancel = new QPushButton(this);
    cbCancel->setObjectName(QStringLiteral("cbCancel"));
    cbCancel->setProperty("Tag", QStringLiteral("2712"));
    pbProgress = new QProgressBar(this);
    pbProgress->setObjectName(QStringLiteral("pbProgress"));
    pbProgress->setTextVisible(false);
    Frame4 = new QGroupBox(this);
    Frame4->setObjectName(QStringLiteral("Frame4"));
    Frame4->setProperty("Tag", QStringLiteral("2707"));
    Combo1 = new QComboBox(Frame4);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Label8 = label(Frame4, "Label8", 2713);
    Label7 = label(Frame4, "Label7", 0);
    auto box = [this](const char *name) {
        auto *b = new QLineEdit(this);
        b->setObjectName(QLatin1String(name));
        return b;
    };
    tbST = box("tbST");
    tbET = box("tbET");
    tbTI = box("tbTI");
    tbSD = box("tbSD");
    tbED = box("tbED");
    tbDI = box("tbDI");
    Label10 = label(this, "Label10", 3082);
    Label6 = label(this, "Label6", 2704);
    Label5 = label(this, "Label5", 2705);
    Label4 = label(this, "Label4", 2706);
    Label11 = label(this, "Label11", 0);
    Label1 = label(this, "Label1", 2701);
    Label2 = label(this, "Label2", 2702);
    Label3 = label(this, "Label3", 2703);
    Label12 = label(this, "Label12", 2709);
    Label13 = label(this, "Label13", 0);
    Label9 = label(this, "Label9", 2708);
}

void frmTableExpert::layOutControls()
{
    auto *gas = new QHBoxLayout(Frame4);
    gas->addWidget(Combo1, 1);
    gas->addWidget(Label8);
    gas->addWidget(Label7);

    auto *ranges = new QGridLayout;
    auto row = [ranges](int r, QLabel *name, QLineEdit *edit) {
        ranges->addWidget(name, r, 0);
        ranges->addWidget(edit, r, 1);
    };
    row(0, Label1, tbSD);
    row(1, Label2, tbED);
    row(2, Label3, tbDI);
    ranges->addWidget(Label11, 0, 2);
    row(0, Label6, tbST);
    ranges->removeWidget(Label6);
    ranges->removeWidget(tbST);
    ranges->addWidget(Label6, 0, 3);
    ranges->addWidget(tbST, 0, 4);
    ranges->addWidget(Label5, 1, 3);
    ranges->addWidget(tbET, 1, 4);
    ranges->addWidget(Label4, 2, 3);
    ranges->addWidget(tbTI, 2, 4);
    ranges->addWidget(Label10, 0, 5);
    for (QLineEdit *e : {tbSD, tbED, tbDI, tbST, tbET, tbTI})
        e->setMaximumWidth(70);

    auto *templ = new QHBoxLayout;
    templ->addWidget(Label12);
    templ->addWidget(Label13, 1);

    auto *progress = new QHBoxLayout;
    progress->addWidget(Label9);
    progress->addWidget(pbProgress, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cbStart);
    buttons->addWidget(cbCancel);

    auto *all = new QVBoxLayout(this);
    all->addWidget(Frame4);
    all->addLayout(ranges);
    all->addWidget(Check1);
    all->addLayout(templ);
    all->addLayout(progress);
    all->addLayout(buttons);
}

const TemplateRec &frmTableExpert::diveSettings() const
{
    return RecordOf(profileIndex_, "frmTableExpert.diveSettings").Template;
}

void frmTableExpert::Form_Load()
{
    cancel_ = false;
    const TemplateRec &t = diveSettings();
    for (const GasRecord &g : t.Gases)
        Combo1->addItem(QString::fromStdString(g.Name));
    Combo1->setCurrentIndex(0);
    setGasName();
    if (t.Metric) {
        Label11->setText(GetLangStringQ(6027));
        tbSD->setText(setting("StartDepthM", "9"));
        tbED->setText(setting("EndDepthM", "54"));
        tbDI->setText(setting("StepM", "3"));
    } else {
        Label11->setText(GetLangStringQ(6029));
        tbSD->setText(setting("StartDepthF", "30"));
        tbED->setText(setting("EndDepthF", "180"));
        tbDI->setText(setting("StepF", "10"));
    }
    tbST->setText(setting("TimeStart", "5"));
    tbET->setText(setting("TimeEnd", "45"));
    tbTI->setText(setting("TimeInterval", "5"));
    Label13->setText(QString::fromStdString(t.Templatename));
    // Ticked for 1 only; any other number (a value edited by hand), and one beyond any
    // number (1e999), leaves it clear: a stored setting never keeps the window shut.
    bool fast = false;
    try {
        fast = Int(Val(setting("FastDescent", "1").toStdString())) == 1;
    } catch (const RuntimeError &) {
    }
    Check1->setChecked(fast);
}

void frmTableExpert::Combo1_Click()
{
    setGasName();
}

void frmTableExpert::setGasName()
{
    const std::string name = Combo1->currentText().toStdString();
    for (const GasRecord &g : diveSettings().Gases)
        if (g.Name == name)
            Label7->setText(numberText(g.O2) + QLatin1Char('/') + numberText(g.He));
}

void frmTableExpert::SaveTableSettings(const QString &sd, const QString &ed, const QString &di, const QString &st,
                                       const QString &et, const QString &ti)
{
    SetRegString(kKey, QStringLiteral("FastDescent"), Check1->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    const bool metric = diveSettings().Metric;
    SetRegString(kKey, metric ? QStringLiteral("StartDepthM") : QStringLiteral("StartDepthF"), sd);
    SetRegString(kKey, metric ? QStringLiteral("EndDepthM") : QStringLiteral("EndDepthF"), ed);
    SetRegString(kKey, metric ? QStringLiteral("StepM") : QStringLiteral("StepF"), di);
    SetRegString(kKey, QStringLiteral("TimeStart"), st);
    SetRegString(kKey, QStringLiteral("TimeEnd"), et);
    SetRegString(kKey, QStringLiteral("TimeInterval"), ti);
}

void frmTableExpert::enableInputs(bool enabled)
{
    cbStart->setEnabled(enabled);
    Combo1->setEnabled(enabled);
    for (QLineEdit *e : {tbSD, tbED, tbDI, tbST, tbET, tbTI})
        e->setEnabled(enabled);
    QFont f = cbCancel->font();
    f.setBold(!enabled);
    cbCancel->setFont(f);
    cbCancel->setText(GetLangStringQ(enabled ? 2712 : 2711));
}

void frmTableExpert::cbStart_Click()
{
    if (running_)
        return;
    enableInputs(false);
    SaveTableSettings(tbSD->text(), tbED->text(), tbDI->text(), tbST->text(), tbET->text(), tbTI->text());
    {
        WaitCursor wait;
        RunGuarded("frmTableExpert.cbStart_Click", [this] { GenerateTables(); });
    }
    enableInputs(true);
    close();
}

void frmTableExpert::cbCancel_Click()
{
    cancel_ = true;
    close();
}

// Esc and the close box end as Cancel does.
void frmTableExpert::reject()
{
    cancel_ = true;
    if (running_) {
        closeAfterRun_ = true;
        return;
    }
    QDialog::reject();
}

void frmTableExpert::closeEvent(QCloseEvent *event)
{
    // The run on the stack still needs the window: it sees the flag at its next cell and
    // closes the window when it has ended.
    if (running_) {
        cancel_ = true;
        closeAfterRun_ = true;
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void frmTableExpert::closeForDive(int16_t profileNr)
{
    if (profileNr == profileIndex_ && profileIndex_ != 0)
        close();
}

void frmTableExpert::GenerateTables()
{
    const std::optional<Ranges> ranges = typedRanges();
    if (!ranges || cancel_)
        return;
    // The dive's settings as they are now, copied: the run never writes them back.
    const TemplateRec settings = diveSettings();
    const bool fast = Check1->isChecked();
    int16_t mix = static_cast<int16_t>(Combo1->currentIndex());
    if (mix < 0 || static_cast<size_t>(mix) >= settings.Gases.size())
        mix = 0;
    TableRun run;
    if (!planTables(settings, *ranges, mix, fast, run))
        return;
    ShowPlanWarnings(run.Warnings);
    printTables(run, settings, fast);
}

// The ranges typed, or none when one is refused (said).
std::optional<frmTableExpert::Ranges> frmTableExpert::typedRanges()
{
    // A box holding no number is named with the form it expects, and nothing runs.
    const std::pair<QLineEdit *, QLabel *> boxes[] = {{tbSD, Label1}, {tbED, Label2}, {tbDI, Label3},
                                                      {tbST, Label6}, {tbET, Label5}, {tbTI, Label4}};
    for (const auto &[box, caption] : boxes) {
        if (wholeValue(box))
            continue;
        MsgBox(GetLangStringQ(7212).arg(caption->text(), box->text(), QStringLiteral("30")), vbExclamation + vbOKOnly,
               GetLangStringQ(2700));
        return std::nullopt;
    }
    const Ranges r{*wholeValue(tbSD), *wholeValue(tbED), *wholeValue(tbDI),
                   *wholeValue(tbST), *wholeValue(tbET), *wholeValue(tbTI)};
    const int16_t problem = TableRangeProblem(r.SD, r.ED, r.DI, r.ST, r.ET, r.TI);
    if (problem == 0)
        return r;
    // A step typed above 0 that rounds to 0 is refused as 0; the diver is told that it
    // was rounded, or "must be greater than 0" would contradict what he typed.
    QString text = GetLangStringQ(problem);
    const auto rounded = [&text](const QLineEdit *box, int16_t id) {
        if (LocaleVal(box->text().toStdString()) > 0)
            text = QString::fromStdString(DiveBounds::FillIn(GetLangString(id), {box->text().toStdString()}));
    };
    if (problem == 2715)
        rounded(tbDI, 7241);
    else if (problem == 2717)
        rounded(tbTI, 7240);
    MsgBox(text, vbExclamation + vbOKOnly, GetLangStringQ(2700));
    return std::nullopt;
}

// Every cell of the ranges into `run`, the window application-modal meanwhile. False
// when the engine refused (said in its words) or Cancel stopped the run; a fault of the
// program passes on.
bool frmTableExpert::planTables(const TemplateRec &settings, const Ranges &ranges, int16_t mix, bool fast,
                                TableRun &run)
{
    // A last depth beyond the depths the engine plans is refused before any table is
    // made, in the engine's own words.
    try {
        DiveBounds::CheckDepth(ranges.ED, settings.Metric, "frmTableExpert.GenerateTables");
    } catch (const RuntimeError &e) {
        MsgBox(QString::fromStdString(e.description()), vbCritical + vbOKOnly);
        return false;
    }
    const std::vector<float> depths = TableAxis(ranges.SD, ranges.ED, ranges.DI);
    const std::vector<float> times = TableAxis(ranges.ST, ranges.ET, ranges.TI);
    pbProgress->setMinimum(0);
    pbProgress->setMaximum(static_cast<int>(depths.size() * times.size()));
    pbProgress->setValue(0);

    // Application-modal for the run: the events let through for Cancel can start nothing
    // else. A window's modality takes effect when it is shown.
    const bool wasVisible = isVisible();
    hide();
    setWindowModality(Qt::ApplicationModal);
    if (wasVisible)
        show();
    running_ = true;
    bool failed = false;
    try {
        run = PlanTables(settings, depths, times, mix, fast, options_, [this](int done) {
            pbProgress->setValue(done);
            QCoreApplication::processEvents();
            return !cancel_;
        });
    } catch (const RuntimeError &e) {
        running_ = false;
        if (!IsDiveLimit(e))
            throw; // a fault of the program: the error box names its place
        failed = true;
        MsgBox(QString::fromStdString(e.description()), vbCritical + vbOKOnly);
    } catch (...) {
        running_ = false; // the window may close after any error
        throw;
    }
    running_ = false;
    if (failed || run.Cancelled || cancel_) {
        if (closeAfterRun_)
            close();
        return false;
    }
    return true;
}

// The run's tables into a new job and its preview; the printed strip shows a fast
// descent as its one-row rate table.
void frmTableExpert::printTables(const TableRun &run, const TemplateRec &settings, bool fast)
{
    TableDive dive;
    dive.ProfileNumber = profileIndex_;
    dive.Settings = settings;
    if (fast)
        setFastTemplate(dive.Settings);
    dive.Caption = Shell().DiveCaption(profileIndex_);
    StartTablePrint(dive);
    for (const std::vector<ClassProfile> &table : run.Tables)
        PrintDepthTable(table, false);
    EndTablePrint();
}

frmTableExpert *ShowTableExpert(int16_t diveNumber, const PlanOptions &options, QWidget *owner)
{
    auto *window = new frmTableExpert(diveNumber, options, owner);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return window;
}
