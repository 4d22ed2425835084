#include "blending/frmPartialMix.h"

#include "engine/DiveModel.h"
#include "engine/DiveBounds.h"
#include "engine/EngineGlobals.h"
#include "engine/LibraryModule.h"
#include "engine/VBConversions.h"
#include "platform/ErrorModule.h"
#include "platform/LocaliseForm.h"
#include "platform/MsgBox.h"
#include "platform/RegEditModule.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString kMixKey = QStringLiteral("Mix");

// A number put into a field: the locale's decimal separator, no trailing zeros ("21",
// "14.7", "-10").
QString FieldText(float v)
{
    return QString::fromStdString(LocaliseNumberText(JoinStr(v), gDecimalSeparator));
}

// A result put into a label: one decimal, rounded from the amount itself (a Single in
// between would round 274.149994 up to 274.2).
QString ResultText(double v)
{
    return QString::fromStdString(LocaliseNumberText(FormatFixed(v, 1), gDecimalSeparator));
}

// A typed number the reactions take: wholly a number under the locale, which is also
// within the range of a Single (fifty typed digits are no pressure).
bool IsTypedNumber(const QString &text)
{
    return IsLocaleNumber(text.toStdString());
}

// A percentage of a mix check: an empty or non-numeric partner field counts as 0.
float TypedValue(const QString &text)
{
    return IsTypedNumber(text) ? LocaleVal(text.toStdString()) : 0.0f;
}

// Whether `now` is `before` with one character typed or deleted: a key, not a paste.
bool OneKeyApart(const QString &before, const QString &now)
{
    const QString &longer = before.size() > now.size() ? before : now;
    const QString &shorter = before.size() > now.size() ? now : before;
    if (longer.size() != shorter.size() + 1)
        return false;
    qsizetype i = 0;
    while (i < shorter.size() && shorter[i] == longer[i])
        ++i;
    return QStringView(longer).mid(i + 1) == QStringView(shorter).mid(i);
}

QLabel *NamedLabel(const char *name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

QLineEdit *NamedEdit(const char *name, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")));
    edit->setAlignment(Qt::AlignRight);
    return edit;
}

QLabel *ResultLabel(const char *name, QWidget *parent)
{
    QLabel *label = NamedLabel(name, QString(), parent);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("-00000.0")));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

} // namespace

frmPartialMix::frmPartialMix(int16_t diveNumber, QWidget *parent) : QDialog(parent), profileIndex_(diveNumber)
{
    createControls();
    layOutControls();
    connectHandlers();
    LocaliseForm(this);
    Form_Load();
}

void frmPartialMix::createControls()
{
    setObjectName(QStringLiteral("frmPartialMix"));

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Label1 = NamedLabel("Label1", QString(), Frame1);
    Label2 = NamedLabel("Label2", QString(), Frame1);
    Label3 = NamedLabel("Label3", QString(), Frame1);
    Label4 = NamedLabel("Label4", QString(), Frame1);
    CurFill = NamedEdit("CurFill", Frame1);
    CurO2 = NamedEdit("CurO2", Frame1);
    CurHe = NamedEdit("CurHe", Frame1);
    CurN2 = NamedEdit("CurN2", Frame1);
    CurN2->setReadOnly(true); // the window writes it: 100 - O2 - He
    Check1 = new QCheckBox(Frame1);
    Check1->setObjectName(QStringLiteral("Check1"));
    Label22 = NamedLabel("Label22", QString(), Frame1);

    Frame4 = new QGroupBox(this);
    Frame4->setObjectName(QStringLiteral("Frame4"));
    Label29 = NamedLabel("Label29", QString(), Frame4);
    Combo1 = new QComboBox(Frame4);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Label14 = NamedLabel("Label14", QString(), Frame4);
    Label13 = NamedLabel("Label13", QString(), Frame4);
    Label12 = NamedLabel("Label12", QString(), Frame4);
    Label11 = NamedLabel("Label11", QString(), Frame4);
    DesFill = NamedEdit("DesFill", Frame4);
    DesO2 = NamedEdit("DesO2", Frame4);
    DesHe = NamedEdit("DesHe", Frame4);
    DesN2 = NamedEdit("DesN2", Frame4);
    DesN2->setReadOnly(true);
    Label26 = NamedLabel("Label26", QString(), Frame4);

    Frame3 = new QGroupBox(this);
    Frame3->setObjectName(QStringLiteral("Frame3"));
    AirTopO2 = ResultLabel("AirTopO2", Frame3);
    AirTopHe = ResultLabel("AirTopHe", Frame3);
    AirTopAir = ResultLabel("AirTopAir", Frame3);
    Label15 = NamedLabel("Label15", QString(), Frame3);
    Label16 = NamedLabel("Label16", QString(), Frame3);
    Label17 = NamedLabel("Label17", QString(), Frame3);

    Frame2 = new QGroupBox(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    IdealTopO2 = ResultLabel("IdealTopO2", Frame2);
    IdealTopHe = ResultLabel("IdealTopHe", Frame2);
    IdealTopN2 = ResultLabel("IdealTopN2", Frame2);
    Label18 = NamedLabel("Label18", QString(), Frame2);
    Label19 = NamedLabel("Label19", QString(), Frame2);
    Label20 = NamedLabel("Label20", QString(), Frame2);

    Command2 = new QPushButton(this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setDefault(true);
    Command1 = new QPushButton(this);
    Command1->setObjectName(QStringLiteral("Command1"));
}

void frmPartialMix::layOutControls()
{
    // A mix field row: caption, field, then "%" or the pressure unit.
    auto row = [](QGridLayout *grid, int r, QWidget *caption, QWidget *field, QWidget *after) {
        grid->addWidget(caption, r, 0);
        grid->addWidget(field, r, 1);
        grid->addWidget(after, r, 2);
    };
    auto *cur = new QGridLayout(Frame1);
    cur->addWidget(Check1, 0, 0, 1, 3);
    row(cur, 1, Label1, CurFill, Label22);
    row(cur, 2, Label2, CurO2, NamedLabel("CurO2Pct", QStringLiteral("%"), Frame1));
    row(cur, 3, Label3, CurHe, NamedLabel("CurHePct", QStringLiteral("%"), Frame1));
    row(cur, 4, Label4, CurN2, NamedLabel("CurN2Pct", QStringLiteral("%"), Frame1));
    cur->setColumnStretch(0, 1);

    auto *des = new QGridLayout(Frame4);
    des->addWidget(Label29, 0, 0);
    des->addWidget(Combo1, 0, 1, 1, 2);
    row(des, 1, Label14, DesFill, Label26);
    row(des, 2, Label13, DesO2, NamedLabel("DesO2Pct", QStringLiteral("%"), Frame4));
    row(des, 3, Label12, DesHe, NamedLabel("DesHePct", QStringLiteral("%"), Frame4));
    row(des, 4, Label11, DesN2, NamedLabel("DesN2Pct", QStringLiteral("%"), Frame4));
    des->setColumnStretch(0, 1);

    auto results = [&row](QGroupBox *frame, const char *prefix, QLabel *o2, QLabel *he, QLabel *air,
                          QLabel *u1, QLabel *u2, QLabel *u3) {
        auto *grid = new QGridLayout(frame);
        const QString p = QLatin1String(prefix);
        row(grid, 0, NamedLabel((p + "O2Caption").toLatin1().constData(), QStringLiteral("O2:"), frame), o2, u1);
        row(grid, 1, NamedLabel((p + "HeCaption").toLatin1().constData(), QStringLiteral("He:"), frame), he, u2);
        row(grid, 2, NamedLabel((p + "AirCaption").toLatin1().constData(), QStringLiteral("Air:"), frame), air,
            u3);
        grid->setColumnStretch(0, 1);
    };
    results(Frame3, "AirTop", AirTopO2, AirTopHe, AirTopAir, Label15, Label16, Label17);
    results(Frame2, "IdealTop", IdealTopO2, IdealTopHe, IdealTopN2, Label18, Label19, Label20);

    auto *cylinders = new QHBoxLayout;
    cylinders->addWidget(Frame1);
    cylinders->addWidget(Frame4);
    auto *answers = new QHBoxLayout;
    answers->addWidget(Frame3);
    answers->addWidget(Frame2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(cylinders);
    layout->addWidget(NamedLabel("GasToAdd", QStringLiteral("Gas to add"), this));
    layout->addLayout(answers);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

// Every field reacts to a change of its text, whether the diver typed it or the window
// set it: several Parts of the window rely on the nested reactions.
void frmPartialMix::connectHandlers()
{
    connect(Check1, &QCheckBox::toggled, this, &frmPartialMix::Check1_Click);
    // The diver's choice, also of the entry already shown; the window's own choice at
    // opening calls the reaction itself.
    connect(Combo1, &QComboBox::activated, this, &frmPartialMix::Combo1_Click);
    connect(CurFill, &QLineEdit::textChanged, this, &frmPartialMix::CurFill_Change);
    connect(CurO2, &QLineEdit::textChanged, this, &frmPartialMix::CurO2_Change);
    connect(CurHe, &QLineEdit::textChanged, this, &frmPartialMix::CurHe_Change);
    connect(DesFill, &QLineEdit::textChanged, this, &frmPartialMix::DesFill_Change);
    connect(DesO2, &QLineEdit::textChanged, this, &frmPartialMix::DesO2_Change);
    connect(DesHe, &QLineEdit::textChanged, this, &frmPartialMix::DesHe_Change);
    connect(Command1, &QPushButton::clicked, this, &frmPartialMix::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmPartialMix::Command2_Click);
    for (QLineEdit *edit : {CurFill, CurO2, CurHe, DesFill, DesO2, DesHe}) {
        edit->installEventFilter(this);
        // A text the field's reaction does not take leaves the blend undefined: the last
        // answer must not stay on screen as if it were this one's.
        connect(edit, &QLineEdit::textChanged, this, [this](const QString &text) {
            if (!settingMix_ && !IsTypedNumber(text))
                CalculateMix();
        });
    }
}

void frmPartialMix::Form_Load()
{
    // The dive whose unit and gases the window works with, for its whole life.
    if (!FindRecord(profileIndex_))
        profileIndex_ = 0; // the default template
    const TemplateRec &dive = RecordOf(profileIndex_, "frmPartialMix.Form_Load").Template;
    in_.Metric = dive.Metric;
    gases_ = dive.Gases;
    unitFactor_ = dive.Metric ? 1.0f : float(kPsiPerBar);
    const QString unit = GetLangStringQ(dive.Metric ? 6314 : 6315);
    for (QLabel *label : {Label22, Label26, Label15, Label16, Label17, Label18, Label19, Label20})
        label->setText(unit);

    for (QLabel *label : {AirTopO2, AirTopHe, AirTopAir, IdealTopO2, IdealTopHe, IdealTopN2})
        label->clear();
    Command1->setEnabled(false);
    partialReachable_ = false;
    airTopReachable_ = false;

    setWindowTitle(GetLangStringQ(6318));
    Frame1->setTitle(GetLangStringQ(6304));
    Label1->setText(GetLangStringQ(6300));
    Label2->setText(GetLangStringQ(6301));
    Label3->setText(GetLangStringQ(6302));
    Label4->setText(GetLangStringQ(6303));
    Check1->setText(GetLangStringQ(6334));
    Frame4->setTitle(GetLangStringQ(6305));
    Label29->setText(GetLangStringQ(1607));
    Label14->setText(GetLangStringQ(6306));
    Label13->setText(GetLangStringQ(6307));
    Label12->setText(GetLangStringQ(6308));
    Label11->setText(GetLangStringQ(6309));
    Frame3->setTitle(GetLangStringQ(6313));
    Frame2->setTitle(GetLangStringQ(6312));
    Command2->setText(GetLangStringQ(6311));
    Command1->setText(GetLangStringQ(6310));
    // Print turns into "Not possible" and back: wide enough for either caption.
    const QFontMetrics fm = Command1->fontMetrics();
    Command1->setMinimumWidth(std::max(fm.horizontalAdvance(GetLangStringQ(6310)), fm.horizontalAdvance(GetLangStringQ(3033)))
                              + 2 * fm.height());

    // Everything stored is read before any field is set: each field set below runs a
    // recomputation, and each recomputation saves the fields.
    QString airCylinder = GetRegString(kMixKey, QStringLiteral("AirCylinder"));
    const QString desO2 = GetRegString(kMixKey, QStringLiteral("sDesO2"));
    const QString desN2 = GetRegString(kMixKey, QStringLiteral("sDesN2"));
    const QString desHe = GetRegString(kMixKey, QStringLiteral("sDesHe"));
    if (airCylinder.isEmpty())
        airCylinder = QStringLiteral("1");

    Check1->setChecked(airCylinder != QLatin1String("0"));
    const QString ambient = FieldText(unitFactor_); // an empty cylinder holds 1 bar
    if (Check1->isChecked()) {
        CurFill->setText(ambient);
        CurHe->setText(QStringLiteral("0"));
        CurN2->setText(QStringLiteral("79"));
        CurO2->setText(QStringLiteral("21"));
    } else {
        // The cylinder now holds what was blended last time.
        CurFill->setText(ambient);
        CurHe->setText(desHe);
        CurN2->setText(desN2);
        CurO2->setText(desO2);
    }

    DesFill->setText(FieldText(float(double(unitFactor_) * 200)));
    DesO2->setText(desO2);
    DesN2->setText(desN2);
    DesHe->setText(desHe);

    // Gas 0 is Air, which the list leaves out; the first listed gas is the desired mix.
    for (size_t i = 1; i < gases_.size(); ++i)
        Combo1->addItem(QString::fromStdString(gases_[i].Name));
    if (Combo1->count() > 0) {
        Combo1->setCurrentIndex(0);
        Combo1_Click();
    }

    CalculateMix();
}

void frmPartialMix::Check1_Click()
{
    if (Check1->isChecked()) {
        CurFill->setText(FieldText(unitFactor_));
        CurHe->setText(QStringLiteral("0"));
        CurN2->setText(QStringLiteral("79"));
        CurO2->setText(QStringLiteral("21"));
    } else {
        // Back to the diver's own cylinder, kept while the box was ticked. All four are
        // read first: setting the fill recomputes, and that saves the fields still
        // showing air over the kept mix.
        const QString fill = GetRegString(kMixKey, QStringLiteral("sCurFill"));
        const QString he = GetRegString(kMixKey, QStringLiteral("sCurHe"));
        const QString n2 = GetRegString(kMixKey, QStringLiteral("sCurN2"));
        const QString o2 = GetRegString(kMixKey, QStringLiteral("sCurO2"));
        CurFill->setText(fill);
        // The kept mix is checked whole, not against the air still in the other field.
        settingMix_ = true;
        CurHe->setText(he);
        CurN2->setText(n2);
        CurO2->setText(o2);
        settingMix_ = false;
        if (IsTypedNumber(o2) || IsTypedNumber(he))
            CheckCurrentMix(o2, he);
    }
    CalculateMix();
}

void frmPartialMix::Combo1_Click()
{
    const int p = Combo1->currentIndex();
    if (p < 0 || size_t(p) + 1 >= gases_.size())
        return;
    const GasRecord &gas = gases_[size_t(p) + 1];
    applyDesiredMix(FieldText(gas.O2), FieldText(float(100.0 - gas.O2 - gas.He)), FieldText(gas.He));
}

void frmPartialMix::setmix(double O2, double He)
{
    applyDesiredMix(FieldText(float(O2)), FieldText(float(100.0 - O2 - He)), FieldText(float(He)));
}

// Sets the desired O2, N2 and He fields together, then checks the new mix once: checked
// one field at a time, a change from 50/0 to 10/70 would pass through 50/70.
void frmPartialMix::applyDesiredMix(const QString &O2Text, const QString &N2Text, const QString &HeText)
{
    settingMix_ = true;
    DesO2->setText(O2Text);
    DesN2->setText(N2Text);
    DesHe->setText(HeText);
    settingMix_ = false;
    CheckDesiredMix(DesO2->text(), DesHe->text());
    CalculateMix();
}

// A fill as typed, by the typed-number rule (psi hold thousands). A text that holds no
// number, or more than a cylinder holds, is refused: the diver is told, naming the box
// and the bound, and the answer stays blank until the box holds a fill again. Typed key
// by key, a text is told once, when it holds a digit and no fill ("1E+39" at "1E"); a
// text put in at once (pasted) is told each time, unless it is empty or a lone sign or
// separator, a fill still being typed.
std::optional<float> frmPartialMix::readFill(QLineEdit *box, const QGroupBox *frame, const QLabel *caption,
                                             FillReading &reading)
{
    const QString text = box->text();
    const float most = in_.Metric ? DiveBounds::kMaxFillBar : DiveBounds::kMaxFillPsi;
    const std::optional<float> fill = ReadTypedNumber(text.toStdString(), true);
    reading.refused = !fill || *fill > most;
    const bool key = OneKeyApart(reading.text, text);
    const QString telling = key ? QStringLiteral("[0-9]") : QStringLiteral("[^\\s+.,-]");
    const bool tell = reading.refused && !(key && reading.told) && text.contains(QRegularExpression(telling));
    reading.told = reading.refused && (tell || (key && reading.told));
    reading.text = text;
    if (!reading.refused)
        return fill;
    if (tell) {
        const QString unit = GetLangStringQ(in_.Metric ? 6314 : 6315);
        MsgBox(GetLangStringQ(7400).arg(frame->title() + QStringLiteral(" - ") + caption->text(), text,
                                        FieldText(most) + QStringLiteral(" ") + unit,
                                        FieldText(float(200.0 * unitFactor_))),
               vbExclamation + vbOKOnly);
    }
    return std::nullopt;
}

void frmPartialMix::CurFill_Change()
{
    const std::optional<float> fill = readFill(CurFill, Frame1, Label1, curFill_);
    if (!fill) {
        CalculateMix();
        return;
    }
    in_.CurFillValue = *fill;
    if (in_.CurFillValue < 0) {
        in_.CurFillValue = 0;
        CurFill->setText(QStringLiteral("0"));
    }
    CalculateMix();
}

void frmPartialMix::CurO2_Change()
{
    if (settingMix_ || !IsTypedNumber(CurO2->text()))
        return;
    CheckCurrentMix(CurO2->text(), CurHe->text());
    CalculateMix();
}

void frmPartialMix::CurHe_Change()
{
    if (settingMix_ || !IsTypedNumber(CurHe->text()))
        return;
    CheckCurrentMix(CurO2->text(), CurHe->text());
    CalculateMix();
}

void frmPartialMix::DesFill_Change()
{
    const std::optional<float> fill = readFill(DesFill, Frame4, Label14, desFill_);
    if (!fill) {
        CalculateMix();
        return;
    }
    in_.DesFillBar = float(*fill / double(unitFactor_));
    if (in_.DesFillBar < 0) {
        in_.DesFillBar = 0;
        DesFill->setText(QStringLiteral("0"));
    }
    CalculateMix();
}

void frmPartialMix::DesO2_Change()
{
    if (settingMix_ || !IsTypedNumber(DesO2->text()))
        return;
    CheckDesiredMix(DesO2->text(), DesHe->text());
    CalculateMix();
}

void frmPartialMix::DesHe_Change()
{
    if (settingMix_ || !IsTypedNumber(DesHe->text()))
        return;
    CheckDesiredMix(DesO2->text(), DesHe->text());
    CalculateMix();
}

// A percentage outside 0 to 100 becomes 0; N2 is what is left and may be negative,
// which the diver is told about but may keep.
void frmPartialMix::CheckCurrentMix(const QString &O2Text, const QString &HeText)
{
    in_.CurO2Pct = TypedValue(O2Text);
    if (!O2Text.isEmpty() && (in_.CurO2Pct < 0 || in_.CurO2Pct > 100)) {
        in_.CurO2Pct = 0;
        CurO2->setText(QStringLiteral("0"));
    }
    in_.CurHePct = TypedValue(HeText);
    if (!HeText.isEmpty() && (in_.CurHePct < 0 || in_.CurHePct > 100)) {
        in_.CurHePct = 0;
        CurHe->setText(QStringLiteral("0"));
    }
    in_.CurN2Pct = float(100.0 - in_.CurO2Pct - in_.CurHePct);
    CurN2->setText(FieldText(in_.CurN2Pct));
    if (in_.CurN2Pct < 0)
        MsgBox(GetLangStringQ(6335), vbCritical + vbOKOnly);
}

void frmPartialMix::CheckDesiredMix(const QString &O2Text, const QString &HeText)
{
    in_.DesO2Pct = TypedValue(O2Text);
    if (!O2Text.isEmpty() && (in_.DesO2Pct < 0 || in_.DesO2Pct > 100)) {
        in_.DesO2Pct = 0;
        DesO2->setText(QStringLiteral("0"));
    }
    in_.DesHePct = TypedValue(HeText);
    if (!HeText.isEmpty() && (in_.DesHePct < 0 || in_.DesHePct > 100)) {
        in_.DesHePct = 0;
        DesHe->setText(QStringLiteral("0"));
    }
    in_.DesN2Pct = float(100.0 - in_.DesO2Pct - in_.DesHePct);
    DesN2->setText(FieldText(in_.DesN2Pct));
    if (in_.DesN2Pct < 0)
        MsgBox(QStringLiteral("Percentage is larger then 100%"), vbCritical + vbOKOnly);
}

// Every input field holds a number its reaction took, so the members are the fields:
// the fills as their reading took them (empty or beyond a cylinder is refused), the
// percentages as typed numbers.
bool frmPartialMix::InputsComputable() const
{
    if (curFill_.refused || desFill_.refused)
        return false;
    for (const QLineEdit *edit : {CurO2, CurHe, DesO2, DesHe})
        if (!IsTypedNumber(edit->text()))
            return false;
    return true;
}

void frmPartialMix::CalculateMix()
{
    if (!InputsComputable()) {
        for (QLabel *label : {AirTopO2, AirTopHe, AirTopAir, IdealTopO2, IdealTopHe, IdealTopN2})
            label->clear();
        partialReachable_ = false;
        airTopReachable_ = false;
        Command1->setText(GetLangStringQ(3033));
        Command1->setEnabled(false);
        fillPrintData(AirTopFill());
        SaveMix();
        return;
    }
    const AirTopFill air = CalcAirTop(in_);
    partialReachable_ = air.PartialReachable();
    airTopReachable_ = air.AirTopReachable();
    // A blend the air top cannot reach (gas would have to be let out, or air brings too
    // much O2) has no real-gas answer either: both sides say so alike.
    showRealGas(airTopReachable_ ? CalcVanDerWaals(in_) : std::nullopt);
    // Only a blend the air top reaches can be printed.
    Command1->setText(GetLangStringQ(airTopReachable_ ? 6310 : 3033));
    Command1->setEnabled(airTopReachable_);

    if (air.AirTopAir < 0 || air.AirTopHe < 0) {
        AirTopO2->clear();
        AirTopHe->clear();
        AirTopAir->clear();
    } else {
        // A negative O2 amount stays visible with its sign: the mix needs less O2 than air brings.
        AirTopO2->setText(ResultText(air.AirTopO2 / 100.0 * unitFactor_));
        AirTopHe->setText(ResultText(air.AirTopHe / 100.0 * unitFactor_));
        AirTopAir->setText(ResultText(air.AirTopAir / 100.0 * unitFactor_));
    }

    fillPrintData(air);
    SaveMix();
}

// The real-gas amounts to add, in the window's unit: He up to the pressure after the He,
// O2 from there to the pressure after the O2, air from there to the desired fill. Blank
// when the equations have no answer for the inputs.
void frmPartialMix::showRealGas(const std::optional<RealGasFill> &fill)
{
    if (!fill) {
        IdealTopHe->clear();
        IdealTopO2->clear();
        IdealTopN2->clear();
        return;
    }
    IdealTopHe->setText(fill->HeStep ? ResultText(fill->HeToAdd() * unitFactor_) : QStringLiteral("0"));
    IdealTopO2->setText(ResultText(fill->O2ToAdd() * unitFactor_));
    IdealTopN2->setText(ResultText(fill->AirToAdd() * unitFactor_));
}

void frmPartialMix::fillPrintData(const AirTopFill &air)
{
    auto shown = [](const QLabel *label) { return TypedValue(label->text()); };
    mixPrint_.IdealTopO2 = shown(IdealTopO2);
    mixPrint_.IdealTopHe = shown(IdealTopHe);
    mixPrint_.IdealTopN2 = shown(IdealTopN2);
    mixPrint_.AirTopO2 = air.AirTopO2;
    mixPrint_.AirTopHe = air.AirTopHe;
    mixPrint_.AirTopAir = air.AirTopAir;
    mixPrint_.CurO2 = in_.CurO2Pct;
    mixPrint_.CurHe = in_.CurHePct;
    mixPrint_.CurN2 = in_.CurN2Pct;
    mixPrint_.CurFill = in_.CurFillValue;
    mixPrint_.DesO2 = in_.DesO2Pct;
    mixPrint_.DesHe = in_.DesHePct;
    mixPrint_.DesN2 = in_.DesN2Pct;
    mixPrint_.DesFill = in_.DesFillBar;
    mixPrint_.Metric = in_.Metric;
}

// Writes one Mix value; an unchanged one is left alone, so a keystroke's nested
// recomputations do not rewrite the store over and over.
static void StoreMixValue(const QString &name, const QString &text)
{
    if (GetRegString(kMixKey, name) != text)
        SetRegString(kMixKey, name, text);
}

// The current cylinder is kept only while the diver describes it himself, so that
// clearing the box later brings it back.
void frmPartialMix::SaveMix()
{
    if (!Check1->isChecked()) {
        StoreMixValue(QStringLiteral("sCurFill"), CurFill->text());
        StoreMixValue(QStringLiteral("sCurHe"), CurHe->text());
        StoreMixValue(QStringLiteral("sCurN2"), CurN2->text());
        StoreMixValue(QStringLiteral("sCurO2"), CurO2->text());
    }
    StoreMixValue(QStringLiteral("AirCylinder"), Check1->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    StoreMixValue(QStringLiteral("sDesFill"), DesFill->text());
    StoreMixValue(QStringLiteral("sDesO2"), DesO2->text());
    StoreMixValue(QStringLiteral("sDesN2"), DesN2->text());
    StoreMixValue(QStringLiteral("sDesHe"), DesHe->text());
}

void frmPartialMix::Command1_Click()
{
    RunGuarded("frmPartialMix.Command1_Click", [this] { PrintPartialMix(partialReachable_, airTopReachable_, mixPrint_); });
}

void frmPartialMix::Command2_Click()
{
    SaveMix();
    close();
}

// Entering a field selects its first ten characters, so typing replaces the number.
bool frmPartialMix::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        if (auto *edit = qobject_cast<QLineEdit *>(watched)) {
            // After the line edit's own handling, which would place the cursor instead.
            QTimer::singleShot(0, edit, [edit] { edit->setSelection(0, std::min<int>(10, int(edit->text().size()))); });
        }
    }
    return QDialog::eventFilter(watched, event);
}

frmPartialMix *ShowPartialMix(int16_t diveNumber, QWidget *owner)
{
    auto *window = new frmPartialMix(diveNumber, owner);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return window;
}
