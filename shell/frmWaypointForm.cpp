#include "shell/frmWaypointForm.h"

#include "engine/DOLVmiscModule.h"
#include "engine/DiveBounds.h"
#include "engine/DiveModel.h"
#include "engine/EngineGlobals.h"
#include "engine/GasAdvisor.h"
#include "engine/EngineHost.h"
#include "engine/LibraryModule.h"
#include "engine/ProfileReplay.h"
#include "engine/VBConversions.h"
#include "platform/LocaliseForm.h"
#include "platform/MsgBox.h"
#include "platform/UpDown.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

// A number typed into a field by the typed-number rule: depths in feet and minutes can
// hold thousands.
float fieldValue(const QLineEdit *field) { return LocaleVal(field->text().toStdString(), true); }

// Whole units, "0".
QString wholeText(float v) { return QString::fromStdString(FormatFixed(v, 0)); }

// One decimal in the user's locale, "0.0".
QString oneDecimalText(float v)
{
    return QString::fromStdString(LocaliseNumberText(FormatFixed(v, 1), gDecimalSeparator));
}

// A gas fraction as the list shows it, in the user's locale.
QString fractionText(float v)
{
    return QString::fromStdString(LocaliseNumberText(CStr(v), gDecimalSeparator));
}

// A field the diver must fill: empty, or holding no number the typed-number rule reads
// ("1.2.3", a number beyond a Single).
bool holdsNoNumber(const QLineEdit *field)
{
    return !IsLocaleNumber(field->text().toStdString(), true);
}

// Typing leaves only digits and decimal separators in the depth and time fields; a text
// pasted or dropped there is not filtered, so OK looks for what typing would have taken
// out (a sign above all: a negative time or depth makes a file no one can open again).
bool holdsOnlyTypedCharacters(const QLineEdit *field)
{
    const QString t = field->text().trimmed();
    return frmWaypointForm::AlphaNumericInput(t) == t;
}

QLineEdit *numberField(const char *name, QWidget *parent)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setMaximumWidth(64);
    return e;
}

QLineEdit *displayField(const char *name, QWidget *parent)
{
    QLineEdit *e = numberField(name, parent);
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    return e;
}

QLabel *label(const char *name, const QString &caption, QWidget *parent)
{
    auto *l = new QLabel(caption, parent);
    l->setObjectName(name);
    return l;
}

QPushButton *button(const char *name, QWidget *parent)
{
    auto *b = new QPushButton(parent);
    b->setObjectName(name);
    // Enter in the depth field recomputes the advisor; it must not also end the dialog.
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

} // namespace

frmWaypointForm::frmWaypointForm(int16_t diveNumber, QWidget *parent)
    // The dive whose settings apply is the one given; the default template when there is
    // none (or its number names no dive).
    : QDialog(parent), mDiveNumber(diveNumber > 0 && FindRecord(diveNumber) ? diveNumber : int16_t(0))
{
    setObjectName("frmWaypointForm");
    setWindowTitle("Waypoint");
    setProperty("Tag", "1800");
    setModal(true);
    createDepthTimeFrame();
    createGasFrame();
    createAdvisor();
    createButtons();
    layOut();
    wireEvents();
}

void frmWaypointForm::createDepthTimeFrame()
{
    Frame1 = new QGroupBox(this);
    Frame1->setObjectName("Frame1");
    Label3 = label("Label3", "Depth", Frame1);
    Label3->setProperty("Tag", "1801");
    tbDepth = numberField("tbDepth", Frame1);
    udDepthSpin = new UpDown(Frame1);
    udDepthSpin->setObjectName("udDepthSpin");
    Label4 = label("Label4", "m", Frame1);
    Label2 = label("Label2", "Time", Frame1);
    Label2->setProperty("Tag", "1802");
    tbTime = numberField("tbTime", Frame1);
    udTimeSpin = new UpDown(Frame1);
    udTimeSpin->setObjectName("udTimeSpin");
    Label5 = label("Label5", "min", Frame1);
    Label5->setProperty("Tag", "1232");

    auto *grid = new QGridLayout(Frame1);
    grid->addWidget(Label3, 0, 0);
    grid->addWidget(tbDepth, 0, 1);
    grid->addWidget(udDepthSpin, 0, 2);
    grid->addWidget(Label4, 0, 3);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(tbTime, 1, 1);
    grid->addWidget(udTimeSpin, 1, 2);
    grid->addWidget(Label5, 1, 3);
}

void frmWaypointForm::createGasFrame()
{
    Frame2 = new QGroupBox("Gas mix", this);
    Frame2->setObjectName("Frame2");
    Frame2->setProperty("Tag", "1803");
    Combo1 = new QComboBox(Frame2);
    Combo1->setObjectName("Combo1");
    Combo1->setMinimumWidth(120);
    tbO2 = displayField("tbO2", Frame2);
    tbN2 = displayField("tbN2", Frame2);
    tbHe = displayField("tbHe", Frame2);
    Label1 = label("Label1", "% O2", Frame2);
    Label6 = label("Label6", "% N2", Frame2);
    Label7 = label("Label7", "% He", Frame2);

    auto *grid = new QGridLayout(Frame2);
    grid->addWidget(Combo1, 0, 0, 1, 6);
    grid->addWidget(tbO2, 1, 0);
    grid->addWidget(Label1, 1, 1);
    grid->addWidget(tbN2, 1, 2);
    grid->addWidget(Label6, 1, 3);
    grid->addWidget(tbHe, 1, 4);
    grid->addWidget(Label7, 1, 5);
}

void frmWaypointForm::createAdvisor()
{
    Frame3 = new QGroupBox("Gas advisor", this);
    Frame3->setObjectName("Frame3");
    Frame3->setProperty("Tag", "3067");

    // One panel: rows O2, He, N2, then its make-gas button.
    auto panel = [this](const char *frameName, const char *title, QLabel *&lO2, QLineEdit *&o2,
                        QLabel *&lHe, QLineEdit *&he, QLabel *&lN2, QLineEdit *&n2,
                        QPushButton *&add) {
        auto *frame = new QGroupBox(title, Frame3);
        frame->setObjectName(frameName);
        auto *grid = new QGridLayout(frame);
        grid->addWidget(lO2, 0, 1);
        grid->addWidget(o2, 0, 0);
        grid->addWidget(lHe, 1, 1);
        grid->addWidget(he, 1, 0);
        grid->addWidget(lN2, 2, 1);
        grid->addWidget(n2, 2, 0);
        grid->addWidget(add, 3, 0, 1, 2);
        // A mix the depth rules out hides its button; its rows stay level with the
        // other panels' rows.
        QSizePolicy keep = add->sizePolicy();
        keep.setRetainSizeWhenHidden(true);
        add->setSizePolicy(keep);
        return frame;
    };

    Text1 = numberField("Text1", Frame3);
    Text2 = numberField("Text2", Frame3);
    Text3 = displayField("Text3", Frame3);
    Text3->setText("n/a");
    Text6 = numberField("Text6", Frame3);
    Text4 = numberField("Text4", Frame3);
    Text5 = displayField("Text5", Frame3);
    Text9 = numberField("Text9", Frame3);
    Text7 = numberField("Text7", Frame3);
    Text8 = displayField("Text8", Frame3);
    Text8->setText("n/a");
    Label8 = label("Label8", "% O2", Frame3);
    Label9 = label("Label9", "% He", Frame3);
    Label10 = label("Label10", "% N2", Frame3);
    Label13 = label("Label13", "% O2", Frame3);
    Label11 = label("Label11", "% He", Frame3);
    Label12 = label("Label12", "% N2", Frame3);
    Label16 = label("Label16", "% O2", Frame3);
    Label14 = label("Label14", "% He", Frame3);
    Label15 = label("Label15", "% N2", Frame3);
    cbNitroxAdd = button("cbNitroxAdd", Frame3);
    cbTrimixAdd = button("cbTrimixAdd", Frame3);
    cbHelioxAdd = button("cbHelioxAdd", Frame3);
    for (QPushButton *add : {cbNitroxAdd, cbTrimixAdd, cbHelioxAdd}) {
        add->setText("Make gas mix");
        add->setProperty("Tag", "3068");
    }

    Frame4 = panel("Frame4", "Nitrox", Label8, Text1, Label9, Text3, Label10, Text2, cbNitroxAdd);
    Frame5 = panel("Frame5", "Trimix", Label13, Text6, Label11, Text4, Label12, Text5, cbTrimixAdd);
    Frame6 = panel("Frame6", "Heliox", Label16, Text9, Label14, Text7, Label15, Text8, cbHelioxAdd);
    auto *row = new QHBoxLayout(Frame3);
    row->addWidget(Frame4);
    row->addWidget(Frame5);
    row->addWidget(Frame6);

    // The information boxes: display only, light yellow, hidden until a panel is hovered.
    // They keep their place while hidden, so the dialog does not jump under the pointer.
    auto info = [this](const char *name) {
        auto *t = new QPlainTextEdit(this);
        t->setObjectName(name);
        t->setReadOnly(true);
        t->setFocusPolicy(Qt::NoFocus);
        t->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        t->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        t->setFixedSize(170, 44);
        QPalette p = t->palette();
        p.setColor(QPalette::Base, QColor(255, 255, 192));
        p.setColor(QPalette::Text, Qt::black);
        t->setPalette(p);
        QSizePolicy sp = t->sizePolicy();
        sp.setRetainSizeWhenHidden(true);
        t->setSizePolicy(sp);
        t->hide();
        return t;
    };
    Text10 = info("Text10");
    Text12 = info("Text12");
    Text11 = info("Text11");
}

void frmWaypointForm::createButtons()
{
    cbOK = button("cbOK", this);
    // Enter accepts the dialog, as in every dialog with an OK button.
    cbOK->setDefault(true);
    cbOK->setText("OK");
    cbOK->setProperty("Tag", "1210");
    cbCancel = button("cbCancel", this);
    cbCancel->setText("Cancel");
    cbCancel->setProperty("Tag", "1215");
}

void frmWaypointForm::layOut()
{
    auto *top = new QHBoxLayout;
    top->addWidget(Frame1);
    top->addWidget(Frame2);

    auto *infoColumn = new QVBoxLayout;
    infoColumn->addWidget(Text10);
    infoColumn->addWidget(Text12);
    infoColumn->addWidget(Text11);
    infoColumn->addStretch();
    auto *advisor = new QHBoxLayout;
    advisor->addWidget(Frame3);
    advisor->addLayout(infoColumn);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cbOK);
    buttons->addWidget(cbCancel);

    auto *main = new QVBoxLayout(this);
    main->addLayout(top);
    main->addLayout(advisor);
    main->addLayout(buttons);
    main->setSizeConstraint(QLayout::SetFixedSize);
}

void frmWaypointForm::wireEvents()
{
    connect(Combo1, &QComboBox::activated, this, &frmWaypointForm::Combo1_Click);
    connect(cbOK, &QPushButton::clicked, this, &frmWaypointForm::cbOK_Click);
    connect(cbCancel, &QPushButton::clicked, this, &frmWaypointForm::cbCancel_Click);
    connect(udDepthSpin, &UpDown::UpClick, this, &frmWaypointForm::udDepthSpin_UpClick);
    connect(udDepthSpin, &UpDown::DownClick, this, &frmWaypointForm::udDepthSpin_DownClick);
    connect(udTimeSpin, &UpDown::UpClick, this, &frmWaypointForm::udTimeSpin_UpClick);
    connect(udTimeSpin, &UpDown::DownClick, this, &frmWaypointForm::udTimeSpin_DownClick);
    connect(cbNitroxAdd, &QPushButton::clicked, this, &frmWaypointForm::cbNitroxAdd_Click);
    connect(cbTrimixAdd, &QPushButton::clicked, this, &frmWaypointForm::cbTrimixAdd_Click);
    connect(cbHelioxAdd, &QPushButton::clicked, this, &frmWaypointForm::cbHelioxAdd_Click);

    tbDepth->installEventFilter(this);
    tbTime->installEventFilter(this);
    // Mouse moves without a button reach only widgets that track the mouse.
    setMouseTracking(true);
    for (QWidget *w : std::initializer_list<QWidget *>{
             Frame1, Frame3, Frame4, Frame5, Frame6, Text1, Text2, Text3, Text4, Text5, Text6,
             Text7, Text8, Text9, Label8, Label9, Label10, Label11, Label12, Label13, Label14,
             Label15, Label16}) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
}

void frmWaypointForm::data(ClassProfile &profile, int16_t mode)
{
    mProfile = &profile;
    mWaypointIndex = profile.GetLength();
    // The waypoint's own gas, read before loading selects a gas by its mix number.
    const std::string ownGas = Profile().GetGasMixName(mWaypointIndex);
    const float ownO2 = Profile().GetGasMixO2(mWaypointIndex), ownN2 = Profile().GetGasMixN2(mWaypointIndex),
                ownHe = Profile().GetGasMixHe(mWaypointIndex);
    Form_Load();
    if (mode == 0) {
        if (lastGasNamed(ownGas)) {
            selectGas(FindGasIndex(ownGas, Template()));
        } else {
            // A leg drawn on a gas the list no longer holds: shown as drawn, not as Air.
            Combo1->addItem(QString::fromStdString(ownGas));
            Combo1->setCurrentIndex(Combo1->count() - 1);
            tbO2->setText(fractionText(ownO2));
            tbN2->setText(fractionText(ownN2));
            tbHe->setText(fractionText(ownHe));
        }
        showReadOnly();
    }
}

TemplateRec &frmWaypointForm::Template() const { return RecordOf(mDiveNumber, "frmWaypointForm.Template").Template; }

// Of two gases with the same name the later one gives the fractions.
const GasRecord *frmWaypointForm::lastGasNamed(const std::string &name) const
{
    const GasRecord *found = nullptr;
    for (const GasRecord &gas : Template().Gases)
        if (gas.Name == name)
            found = &gas;
    return found;
}

float frmWaypointForm::depthShown() const { return fieldValue(tbDepth); }

void frmWaypointForm::Form_Load()
{
    LocaliseForm(this);
    Label4->setText(Template().Metric ? GetLangStringQ(1219) : GetLangStringQ(1216));
    fillGasList(Profile().getmixnumber(mWaypointIndex));

    if (Profile().getDepth(mWaypointIndex) < 0)
        Profile().setDepth(mWaypointIndex, 0);
    tbDepth->setText(wholeText(Profile().getDepth(mWaypointIndex)));
    tbTime->setText(wholeText(Profile().GetSegmentTime(mWaypointIndex)));

    setInputsEnabled(true);
    tbDepth->setFocus();
    tbDepth->setSelection(0, 10);
    calcAdvisor(depthShown());
}

void frmWaypointForm::fillGasList(int16_t selected)
{
    Combo1->clear();
    for (const GasRecord &gas : Template().Gases)
        Combo1->addItem(QString::fromStdString(gas.Name));
    selectGas(selected);
}

// Selects a gas as a choice by the diver does. A mix number outside the list selects
// the first gas (Air): the waypoint must never be left without a gas.
void frmWaypointForm::selectGas(int index)
{
    if (index < 0 || index >= Combo1->count())
        index = 0;
    Combo1->setCurrentIndex(index);
    Combo1_Click();
}

void frmWaypointForm::setInputsEnabled(bool enabled)
{
    for (QWidget *w : std::initializer_list<QWidget *>{tbDepth, tbTime, Combo1, cbOK, udDepthSpin,
                                                       udTimeSpin, cbNitroxAdd, cbTrimixAdd,
                                                       cbHelioxAdd})
        w->setEnabled(enabled);
}

void frmWaypointForm::showReadOnly()
{
    tbDepth->setText(oneDecimalText(Profile().getDepth(mWaypointIndex)));
    tbTime->setText(oneDecimalText(Profile().GetSegmentTime(mWaypointIndex)));
    // The view shows where the waypoint lies on the plot: its run time, not a leg time.
    Label2->setText(GetLangStringQ(2103));
    setInputsEnabled(false);
    Frame3->hide();
    for (QPlainTextEdit *t : {Text10, Text11, Text12}) {
        QSizePolicy sp = t->sizePolicy();
        sp.setRetainSizeWhenHidden(false);
        t->setSizePolicy(sp);
        t->hide();
    }
    adjustSize();
    cbCancel->setFocus();
}

void frmWaypointForm::Combo1_Click()
{
    if (!mProfile)
        return;
    const std::string name = Combo1->currentText().toStdString();
    Profile().SetGasMixName(mWaypointIndex, name);
    Profile().SetMixNumber(mWaypointIndex, static_cast<int16_t>(Combo1->currentIndex()));
    if (const GasRecord *gas = lastGasNamed(name)) {
        tbO2->setText(fractionText(gas->O2));
        tbN2->setText(fractionText(gas->N2));
        tbHe->setText(fractionText(gas->He));
    }
}

void frmWaypointForm::cbOK_Click()
{
    if (!mProfile)
        return;
    if (holdsNoNumber(tbDepth) || holdsNoNumber(tbTime)) {
        MsgBox(GetLangStringQ(6164), vbCritical);
        return;
    }
    for (const auto &[field, caption] : {std::pair{tbDepth, Label3}, std::pair{tbTime, Label2}}) {
        if (!holdsOnlyTypedCharacters(field)) {
            MsgBox(GetLangStringQ(7092).arg(caption->text()), vbCritical);
            field->setFocus();
            return;
        }
    }
    // Deeper than any dive the engine plans: the depth is held at the limit.
    const bool metric = Template().Metric;
    const float limit = metric ? 500 : 1600;
    // The dive's legs with this one, travel included, must stay within the week a dive
    // can be planned for (and its file read back): the check the file reader makes, on
    // the leg as it is stored (a depth beyond the limit travels only to the limit).
    const Dive *dive = FindDive(mDiveNumber);
    const double minutes = dive ? LoggedDiveMinutes(dive->UserEnteredWaypoints, Template(),
                                                    std::min(fieldValue(tbDepth), limit),
                                                    std::max(0.0f, fieldValue(tbTime)))
                                : fieldValue(tbTime);
    const std::string tooLong = DiveBounds::DiveMinutesProblem(minutes);
    if (!tooLong.empty()) {
        MsgBox(QString::fromStdString(tooLong), vbCritical);
        return;
    }
    Profile().setDepth(mWaypointIndex, fieldValue(tbDepth));
    if (Profile().getDepth(mWaypointIndex) > limit) {
        MsgBox(metric ? GetLangStringQ(3062) : GetLangStringQ(3063), vbCritical);
        Profile().setDepth(mWaypointIndex, limit);
    }
    Profile().SetSegmentTime(mWaypointIndex, fieldValue(tbTime));

    const std::string name = Combo1->currentText().toStdString();
    Profile().SetGasMixName(mWaypointIndex, name);
    Profile().SetMixNumber(mWaypointIndex, static_cast<int16_t>(Combo1->currentIndex()));
    if (const GasRecord *gas = lastGasNamed(name)) {
        Profile().SetGasMixO2(mWaypointIndex, gas->O2);
        Profile().SetGasMixN2(mWaypointIndex, gas->N2);
        Profile().SetGasMixHe(mWaypointIndex, gas->He);
    }
    accept();
}

void frmWaypointForm::cbCancel_Click() { reject(); }

void frmWaypointForm::reject()
{
    // However the dialog is dismissed without OK, the editor must see a cancelled point.
    if (mProfile)
        Profile().setDepth(mWaypointIndex, kCancelledDepth);
    QDialog::reject();
}

QString frmWaypointForm::AlphaNumericInput(const QString &text)
{
    QString out;
    for (QChar c : text)
        if ((c >= '0' && c <= '9') || c == '.' || c == ',')
            out += c;
    return out;
}

void frmWaypointForm::calcAdvisor(float depth)
{
    CalcBestNitrox(depth);
    CalcBestHeliox(depth);
    CalcBestTrimix(depth);
}

void frmWaypointForm::tbDepth_KeyUp()
{
    const QString t = tbDepth->text();
    // A sign alone stays until the next key, so the diver sees what was typed.
    if (t == "+" || t == "-")
        return;
    const QString filtered = AlphaNumericInput(t);
    if (filtered != t)
        tbDepth->setText(filtered);
    if (!filtered.isEmpty())
        calcAdvisor(depthShown());
}

void frmWaypointForm::tbDepth_KeyPress(int key)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        calcAdvisor(LocaleVal(AlphaNumericInput(tbDepth->text()).toStdString(), true));
}

void frmWaypointForm::tbTime_KeyUp()
{
    const QString t = tbTime->text();
    const QString filtered = AlphaNumericInput(t);
    if (filtered != t)
        tbTime->setText(filtered);
}

// One step of a spin button: an empty field counts as `emptyValue`; never below 0 when
// stepping down; shown in whole units.
void frmWaypointForm::stepField(QLineEdit *field, float emptyValue, float step, bool recalcAdvisor)
{
    float v = field->text().isEmpty() ? emptyValue : fieldValue(field);
    v = static_cast<float>(double(v) + step);
    if (step < 0 && v < 0)
        v = 0;
    field->setText(wholeText(v));
    if (recalcAdvisor)
        calcAdvisor(v);
}

void frmWaypointForm::udDepthSpin_UpClick() { stepField(tbDepth, 1, 1, true); }
void frmWaypointForm::udDepthSpin_DownClick() { stepField(tbDepth, 2, -1, true); }
void frmWaypointForm::udTimeSpin_UpClick() { stepField(tbTime, 1, 1, false); }
void frmWaypointForm::udTimeSpin_DownClick() { stepField(tbTime, 1, -1, false); }

bool frmWaypointForm::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyRelease:
        if (watched == tbDepth)
            tbDepth_KeyUp();
        else if (watched == tbTime)
            tbTime_KeyUp();
        else
            advisorKeyUp(watched);
        break;
    case QEvent::KeyPress:
        if (watched == tbDepth) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            tbDepth_KeyPress(key);
            // Enter in the depth field recomputes the advisor only; elsewhere it is OK.
            if (key == Qt::Key_Return || key == Qt::Key_Enter)
                return true;
        }
        break;
    case QEvent::FocusIn:
        // Coming back from another window is no new visit of the box.
        if (static_cast<QFocusEvent *>(event)->reason() != Qt::ActiveWindowFocusReason)
            advisorFocusIn(watched);
        break;
    case QEvent::FocusOut:
        advisorFocusOut(watched);
        break;
    case QEvent::MouseMove:
        if (watched == Frame1 || watched == Frame3) {
            setInfoBoxesVisible(false);
            return true;
        }
        return advisorMouseMove(watched);
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void frmWaypointForm::mouseMoveEvent(QMouseEvent *event)
{
    setInfoBoxesVisible(false);
    QDialog::mouseMoveEvent(event);
}
