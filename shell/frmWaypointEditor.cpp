// The editor window itself: its controls, layout, activation, closing and the guard
// that keeps an engine error from leaving a half-done command behind.

#include "shell/frmWaypointEditor.h"

#include "platform/ShellServices.h"

#include "engine/DOLVmiscModule.h"
#include "engine/EngineGlobals.h"
#include "engine/RuntimeError.h"
#include "engine/VBConversions.h"
#include "platform/ErrorModule.h"
#include "platform/LocaliseForm.h"
#include "platform/MsgBox.h"
#include "platform/PictureBox.h"
#include "platform/Twips.h"
#include "shell/FileIOModule.h"
#include "shell/ImageList.h"
#include "shell/MainModule.h"
#include "shell/PlotColors.h"
#include "engine/ProfileReplay.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QScrollBar>

#include <algorithm>
#include <exception>
#include <utility>

namespace {

void setLabelColors(QLabel *label, const QColor &back, const QColor &text)
{
    QPalette pal = label->palette();
    pal.setColor(QPalette::Window, back);
    pal.setColor(QPalette::WindowText, text);
    label->setPalette(pal);
    label->setAutoFillBackground(back.isValid());
}

// Places a widget at a position given in twips of its parent.
void moveTwips(QWidget *w, float left, float top)
{
    w->move(TwipsToPixels(left), TwipsToPixels(top));
}

} // namespace

frmWaypointEditor::frmWaypointEditor(std::shared_ptr<Dive> dive, QWidget *parent)
    : QWidget(parent)
    , dive_(std::move(dive))
{
    setObjectName(QStringLiteral("frmWaypointEditor"));
    setMinimumSize(320, 200);
    setWindowIcon(ImageList().image(ImageList::Dive));
    createControls();

    // Form load.
    pbGrid->hide();
    pbMainContainer->hide();
    changeColor();
    pbMainContainer->Move(0, 0, PixelsToTwips(width()), 3100);
    pbAxisContainer->Move(800, 300);

    LocaliseForm(this);
    setWindowTitle(GetLangStringQ(1500));
    lbTIME->setText(GetLangStringQ(1501));
    lbTIME->adjustSize();
    moveTwips(lbTIME, pbMainContainer->Width() / 2, 100);
    lbDepth->setText(depthCaption(GetLangStringQ(1223)));
    lbDepth->adjustSize();
    lbCeiling->setText(GetLangStringQ(1503));
    lbCeiling->adjustSize();
    // The number beside it is empty until the first leg; placed now, its filled
    // background cannot cover the caption's first letter.
    setCeilingText(QString(), QColor(0, 0, 0));
    connect(&ShellNotices::Instance(), &ShellNotices::DiveChanged, this, &frmWaypointEditor::diveChanged);

    PlotMaxTime_ = 60;
    PlotMaxDepth_ = 60;
    setNullWaypoint();
    dive_->LastRunTime = 0;
    dive_->State = EditorEmpty;

    pbGrid->show();
    pbMainContainer->show();
}

frmWaypointEditor::~frmWaypointEditor() = default;

void frmWaypointEditor::createControls()
{
    pbMainContainer = new PictureBox(this);
    pbMainContainer->setObjectName(QStringLiteral("pbMainContainer"));

    pbAxisContainer = new PictureBox(pbMainContainer);
    pbAxisContainer->setObjectName(QStringLiteral("pbAxisContainer"));

    pbGrid = new PictureBox(pbAxisContainer);
    pbGrid->setObjectName(QStringLiteral("pbGrid"));
    grid_ = pbGrid;
    connect(pbGrid, &PictureBox::MouseDown, this, &frmWaypointEditor::pbGrid_MouseDown);
    connect(pbGrid, &PictureBox::MouseMove, this, &frmWaypointEditor::pbGrid_MouseMove);
    connect(pbGrid, &PictureBox::MouseUp, this, &frmWaypointEditor::pbGrid_MouseUp);

    Frame1 = new QFrame(pbGrid);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameStyle(QFrame::Box | QFrame::Plain);
    Frame1->setAutoFillBackground(true);
    Text1 = new QLineEdit(Frame1);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    Text1->setFocusPolicy(Qt::NoFocus);
    Text1->setFrame(false);
    Text1->setGeometry(2, 2, 120, Text1->sizeHint().height());
    Frame1->resize(124, Text1->height() + 4);
    Frame1->hide();

    HScroll1 = new QScrollBar(Qt::Horizontal, this);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    connect(HScroll1, &QScrollBar::valueChanged, this, &frmWaypointEditor::HScroll1_Change);

    pbCompartmentLoad = new PictureBox(this);
    pbCompartmentLoad->setObjectName(QStringLiteral("pbCompartmentLoad"));
    pbCompartmentLoad->SetBorderStyle(1);

    lbCeiling = new QLabel(pbMainContainer);
    lbCeiling->setObjectName(QStringLiteral("lbCeiling"));
    lbCeilingNumber = new QLabel(pbMainContainer);
    lbCeilingNumber->setObjectName(QStringLiteral("lbCeilingNumber"));
    lbTIME = new QLabel(pbMainContainer);
    lbTIME->setObjectName(QStringLiteral("lbTIME"));
    lbDepth = new QLabel(pbMainContainer);
    lbDepth->setObjectName(QStringLiteral("lbDepth"));
    lbDepth->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    for (QLabel *l : {lbCeiling, lbCeilingNumber, lbTIME, lbDepth}) {
        QFont f(QStringLiteral("Liberation Sans"));
        f.setPointSize(8);
        l->setFont(f);
    }
    moveTwips(lbCeiling, 60, 30);
    moveTwips(lbDepth, 60, 700);
}

void frmWaypointEditor::changeColor()
{
    pbMainContainer->SetBackColor(PlotColors::PlotBack);
    pbAxisContainer->SetBackColor(PlotColors::PlotBack);
    pbGrid->SetBackColor(PlotColors::PlotBack);
    setLabelColors(lbCeiling, PlotColors::PlotBack, QColor(0, 0, 0));
    setLabelColors(lbCeilingNumber, PlotColors::PlotBack, QColor(0, 0, 0));
    setLabelColors(lbTIME, QColor(), QColor(0, 0, 0));
    setLabelColors(lbDepth, QColor(), QColor(0, 0, 0));
    pbAxisContainer->SetBorderStyle(0);
    pbGrid->SetBorderStyle(0);
}

QString frmWaypointEditor::depthCaption(const QString &unit) const
{
    // The caption written downwards: one character a line, then the unit.
    QString vertical;
    for (const QChar c : GetLangStringQ(1502))
        vertical += c + QLatin1Char('\n');
    return vertical + unit;
}

// The Tag is a property of the window, as the other windows read it.
QString frmWaypointEditor::Tag() const
{
    return property("Tag").toString();
}

void frmWaypointEditor::setTag(const QString &tag)
{
    setProperty("Tag", tag);
}

int16_t frmWaypointEditor::tagNumber() const
{
    return dive_->Number();
}

SettingsRecord &frmWaypointEditor::record() const
{
    return dive_->Record();
}

SettingsRecord &frmWaypointEditor::tagRecord() const
{
    return dive_->Record();
}

void frmWaypointEditor::setNullWaypoint()
{
    dive_->SetNullWaypoint();
}

void frmWaypointEditor::SetTemplate()
{
    resize();
    showDepthUnit();
}

void frmWaypointEditor::showDepthUnit()
{
    lbDepth->setText(depthCaption(record().Template.Metric ? GetLangStringQ(1222) : GetLangStringQ(1223)));
    lbDepth->adjustSize();
}

bool frmWaypointEditor::isMinimised() const
{
    const QWidget *frame = parentWidget() && qobject_cast<const QMdiSubWindow *>(parentWidget())
                               ? parentWidget()
                               : this;
    return frame->isMinimized();
}

float frmWaypointEditor::outerWidth() const
{
    if (auto *sub = qobject_cast<const QMdiSubWindow *>(parentWidget()))
        return PixelsToTwips(sub->frameGeometry().width());
    return PixelsToTwips(frameGeometry().width());
}

float frmWaypointEditor::outerHeight() const
{
    if (auto *sub = qobject_cast<const QMdiSubWindow *>(parentWidget()))
        return PixelsToTwips(sub->frameGeometry().height());
    return PixelsToTwips(frameGeometry().height());
}

void frmWaypointEditor::resize()
{
    if (isMinimised())
        return;
    const float W = PixelsToTwips(width());
    const float H = PixelsToTwips(height());
    const float OW = outerWidth();

    pbGrid->hide();
    pbMainContainer->hide();
    pbMainContainer->SetWidth(W <= 20 ? 0 : W - 20);
    pbMainContainer->SetHeight(static_cast<float>(H * 3.0 / 4));
    pbAxisContainer->SetWidth(W);
    pbAxisContainer->SetHeight(H);
    // The scroll bar sits below the plot, the tissue chart below the scroll bar, both
    // within the window's own height (a maximised window has no frame of its own, so
    // its frame height says nothing about the room inside): nothing covers the plot's
    // lowest rows or the chart's caption.
    const float scrollHeight = PixelsToTwips(HScroll1->sizeHint().height());
    const float chartTop = static_cast<float>(H * 3.0 / 4 + scrollHeight + 30);
    pbCompartmentLoad->Move(0, chartTop, OW - 100, std::max(0.0f, H - chartTop - 70));
    pbAxisContainer->Move(800, 300);
    pbGrid->Move(0, 0, 2 * W, H);

    HScroll1->setGeometry(0, TwipsToPixels(H * 3.0 / 4), std::max(0, TwipsToPixels(W <= 60 ? 0 : W - 60)),
                          HScroll1->sizeHint().height());
    HScroll1->setMaximum(CLng(pbGrid->Width() - pbAxisContainer->Width() + 870));
    HScroll1->setPageStep(CLng(pbGrid->Width() / 5));
    HScroll1->setSingleStep(CLng(pbGrid->Width() / 10));
    HScroll1->setValue(0);
    HScroll1->raise();
    moveTwips(lbTIME, pbMainContainer->Width() / 2, 100);

    pbGrid->Cls();
    pbMainContainer->Cls();
    PrevPlotTime_ = PrevPlotY_ = 0;
    RedrawProfile();
    TransformDescendRates();
    TransformAscendRates();

    pbGrid->show();
    pbMainContainer->show();
    laidOut_ = true;
}

void frmWaypointEditor::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    try {
        resize();
    } catch (const RuntimeError &e) {
        showCommandError(e);
    }
}

void frmWaypointEditor::Form_Activate()
{
    // The dive of the window's Tag: a new window becomes active before SetTemplate binds
    // it, and must not show the default dive's circuit for its own.
    showCircuitOfDive(tagRecord().Template.OpenCircuit);
    showActiveDiveCommands();
    if (dive_->PrevProfile() != -1)
        showRepetitiveIcon();
}

bool frmWaypointEditor::Form_QueryUnload(int16_t UnloadMode)
{
    SettingsRecord &r = tagRecord();
    // Asked already when the program closes: it asks every series before it closes any.
    const bool answered = std::exchange(saveQuestionAnswered_, false);
    if (!answered && !AskToSaveSeries())
        return false;
    if (r.ProfileChanged) {
        r.CNS = 0;
        r.OTU = 0;
        r.HeCompartments.fill(0);
        r.N2Compartments.fill(0);
        r.SurfTime = 0;
    }
    if (UnloadMode == 0)
        SurfDeleteProfile();
    return true;
}

bool frmWaypointEditor::AskToSaveSeries()
{
    try {
        // The first dive asks for the whole series: a change to any of its dives counts.
        if (dive_->PrevProfile() != -1 || !SeriesChanged(tagNumber()))
            return true;
        const QString prompt = GetLangStringQ(3057) + windowTitle() + QStringLiteral("]?\n") + GetLangStringQ(3058);
        const int32_t answer = MsgBox(prompt, vbExclamation + vbYesNoCancel, GetLangStringQ(3059));
        if (answer == vbCancel)
            return false;
        // A save that is cancelled or fails keeps the window, so the dive is not lost.
        return answer != vbYes || saveSeries();
    } catch (const RuntimeError &e) {
        showCommandError(e);
        return false;
    }
}

void frmWaypointEditor::Form_Unload()
{
    tagRecord().SlotFree = true;
    // Tools working on this dive close with it, before its slot can hold another dive.
    CloseDive(tagNumber());
    emit ShellNotices::Instance().DiveClosed(tagNumber());
}

void frmWaypointEditor::CloseByCode()
{
    pendingUnloadMode_ = 1;
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->close();
    else
        close();
    pendingUnloadMode_ = 0;
}

void frmWaypointEditor::closeEvent(QCloseEvent *event)
{
    const int16_t mode = pendingUnloadMode_;
    try {
        if (!Form_QueryUnload(mode)) {
            event->ignore();
            return;
        }
        Form_Unload();
    } catch (const RuntimeError &e) {
        showCommandError(e);
        event->ignore();
        return;
    }
    event->accept();
}

// ---- The guard of the commands.

void frmWaypointEditor::guarded(const std::function<void()> &command)
{
    // The command's computations show their limit warnings once per kind, after it, and
    // its notice of ascents taken off once.
    const PlanNotices outer = std::exchange(notices_, PlanNotices{});
    const DiveSnapshot before(*dive_);
    const auto refused = [this, &before, &outer](const std::function<void()> &tell) {
        PlanNotices told = std::exchange(notices_, outer);
        // The refused plans' warnings go with them; what the dives after it met stays.
        ShowPlanNotices(PlanNotices{told.Refusals, {}, {}});
        RestoreSnapshot(*dive_, before);
        PrevPlotTime_ = PrevPlotY_ = 0;
        RedrawProfile();
        showActiveDiveCommands();
        tell();
        ShowPlanNotices(PlanNotices{{}, {}, told.Notice});
    };
    try {
        command();
        showActiveDiveCommands();
        ShowPlanNotices(std::exchange(notices_, outer));
    } catch (const RuntimeError &e) {
        refused([this, &e] { showCommandError(e); });
    } catch (...) {
        // Any other error (the standard library's, Qt's) puts the dive back too, and is
        // shown in the error box rather than ending the program with every open dive.
        const std::exception_ptr error = std::current_exception();
        refused([error] { RunGuarded("frmWaypointEditor.Command", [error] { std::rethrow_exception(error); }); });
    }
}

void frmWaypointEditor::ReEvaluateUserEnteredWaypoints()
{
    ShowPlanNotices(ReEvaluate());
}

PlanNotices frmWaypointEditor::ReEvaluate()
{
    return ShowSeriesOutcome(ReEvaluateSeries(tagNumber(), runEngine));
}

PlanNotices frmWaypointEditor::ShowSeriesOutcome(const SeriesOutcome &outcome)
{
    for (const ChangedDive &d : outcome.Changed)
        emit ShellNotices::Instance().DiveChanged(d.Number);
    // Whichever dive was re-planned last, the commands offered are those of the dive in
    // front (a series re-planned from a dialog need not be the active one).
    showActiveDiveCommands();
    return outcome.Notices;
}

void frmWaypointEditor::diveChanged(int16_t profileNr)
{
    if (profileNr != tagNumber())
        return;
    // The settings may have switched the dive between metres and feet.
    showDepthUnit();
    if (dive_->PrevProfile() != -1)
        showRepetitiveIcon();
    PrevPlotTime_ = PrevPlotY_ = 0;
    RedrawProfile();
}

void frmWaypointEditor::showCommandError(const RuntimeError &error)
{
    MsgBox(QString::fromStdString(error.description()), vbCritical + vbOKOnly);
}
