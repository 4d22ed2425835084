#include "settings/frmConservatism.h"

#include "engine/DiveBounds.h"
#include "engine/DiveModel.h"
#include "engine/EngineGlobals.h"
#include "engine/EngineHost.h"
#include "engine/LibraryModule.h"
#include "engine/VBConversions.h"
#include "platform/ErrorModule.h"
#include "platform/LocaliseForm.h"
#include "platform/MsgBox.h"
#include "platform/ShellServices.h"
#include "settings/PropertiesMath.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <optional>

namespace {

// A factor as the diver reads it, "0.00" with the locale's decimal separator. Rounded
// from the Single's own text, not PatternText's double: a factor of .315 shows 0.32.
QString factorText(float v)
{
    return QString::fromStdString(LocaliseNumberText(FormatFixed(v, 2), gDecimalSeparator));
}

// A typed factor by the typed-number rule, rounded to hundredths before any check (0.004
// reads as 0); none when the box holds no number ("0.3abc", "3e-1").
std::optional<float> typedFactor(const QLineEdit *field)
{
    const std::optional<float> v = ReadTypedNumber(field->text().toStdString());
    if (!v)
        return std::nullopt;
    return RoundTo(*v, 2);
}

} // namespace

frmConservatism::frmConservatism(int16_t diveNumber, QWidget *parent) : QDialog(parent), mDiveNumber(diveNumber)
{
    setObjectName(QStringLiteral("frmConservatism"));
    setModal(true);
    createControls();
    layOut();
    connect(Check1, &QCheckBox::toggled, this, &frmConservatism::Check1_Click);
    connect(cbOK, &QPushButton::clicked, this, &frmConservatism::cbOK_Click);
    connect(cbCancel, &QPushButton::clicked, this, &frmConservatism::cbCancel_Click);
    RunGuarded("frmConservatism.Form_Load", [this] { Form_Load(); });
}

void frmConservatism::createControls()
{
    setProperty("Tag", "1700");
    Check1 = new QCheckBox(this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setProperty("Tag", "1709");
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setProperty("Tag", "1711");
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setMaximumWidth(64);
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setProperty("Tag", "1710");
    Text2 = new QLineEdit(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setMaximumWidth(64);

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Check2 = new QCheckBox(Frame1);
    Check2->setObjectName(QStringLiteral("Check2"));
    Check2->setProperty("Tag", "1713");
    Label3 = new QLabel(Frame1);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setProperty("Tag", "1707");
    Label4 = new QLabel(Frame1);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setProperty("Tag", "1708");

    cbOK = new QPushButton(this);
    cbOK->setObjectName(QStringLiteral("cbOK"));
    cbOK->setProperty("Tag", "1210");
    cbOK->setDefault(true);
    cbCancel = new QPushButton(this);
    cbCancel->setObjectName(QStringLiteral("cbCancel"));
    cbCancel->setProperty("Tag", "1215");
}

void frmConservatism::layOut()
{
    auto *factors = new QGridLayout;
    factors->addWidget(Check1, 0, 0, 1, 2);
    factors->addWidget(Label1, 1, 0);
    factors->addWidget(Text1, 1, 1);
    factors->addWidget(Label2, 2, 0);
    factors->addWidget(Text2, 2, 1);
    factors->setColumnStretch(0, 1);

    auto *depth = new QVBoxLayout(Frame1);
    depth->addWidget(Check2);
    depth->addWidget(Label3);
    depth->addWidget(Label4);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cbOK);
    buttons->addWidget(cbCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(factors);
    layout->addWidget(Frame1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

float frmConservatism::MaxGradientFactor()
{
    return gVeryHighGF == 1 ? DiveBounds::kMaxGradientFactor : 1.0f;
}

TemplateRec &frmConservatism::Template() const
{
    return RecordOf(mDiveNumber, "frmConservatism.Template").Template;
}

void frmConservatism::Form_Load()
{
    LocaliseForm(this);
    const TemplateRec &t = Template();
    Check1->setChecked(t.GFOn);
    Check2->setChecked(t.DepthAdjust);
    fillGradient();
    Text1->setText(factorText(t.GFLow));
    Text2->setText(factorText(t.GFHigh));
}

// The factors mean something only while they are applied.
void frmConservatism::fillGradient()
{
    const bool on = Check1->isChecked();
    Text1->setEnabled(on);
    Text2->setEnabled(on);
}

void frmConservatism::Check1_Click()
{
    fillGradient();
}

void frmConservatism::cbOK_Click()
{
    bool stored = false;
    RunGuarded("frmConservatism.cbOK_Click", [this, &stored] { stored = storeFactors(); });
    if (stored)
        accept();
}

void frmConservatism::cbCancel_Click()
{
    reject();
}

// Stores the dialog into the dive; false when the diver must correct the factors. The
// dive is written only once every check has passed: a refused OK, then Cancel, leaves it
// as it was.
bool frmConservatism::storeFactors()
{
    TemplateRec t = Template();
    t.GFOn = Check1->isChecked();
    t.DepthAdjust = Check2->isChecked();
    // Depth adjustment lengthens the travel of the dive's legs: a dive the series reader
    // would refuse is never made here (its saved series would no longer open).
    const std::string tooLong = DiveMinutesProblemWith(mDiveNumber, t);
    if (!tooLong.empty()) {
        MsgBox(QString::fromStdString(tooLong), vbCritical + vbOKOnly);
        return false;
    }

    // A box holding no number is named with what it holds, never read as 0 or as the
    // number it starts with.
    for (const auto &[box, label] : {std::pair{Text1, Label1}, std::pair{Text2, Label2}}) {
        if (typedFactor(box))
            continue;
        const QString example = QString::fromStdString(LocaliseNumberText("0.85", gDecimalSeparator));
        MsgBox(GetLangStringQ(7103).arg(FieldName(label->text()), box->text(), example), vbCritical + vbOKOnly);
        box->selectAll();
        box->setFocus();
        return false;
    }
    const float low = *typedFactor(Text1);
    const float high = *typedFactor(Text2);
    const float max = MaxGradientFactor();
    if (!(low > 0 && low <= max && high > 0 && high <= max && low < high)) {
        MsgBox(GetLangStringQ(3004) + PlainText(max) + GetLangStringQ(3005), vbCritical + vbOKOnly);
        return false;
    }
    // Above 1.0 the surface allows more supersaturation than the M-values themselves; a
    // low first-stop factor then makes the factor climb steeply near the surface.
    if (gVeryHighGF == 1 && high > 1.0f && low <= 0.4f && t.GFOn) {
        const QString question = GetLangStringQ(3006) + '\r' + GetLangStringQ(3007) + '\r' +
                                 GetLangStringQ(3008) + '\r' + GetLangStringQ(3009) + QStringLiteral("1") +
                                 GetLangStringQ(3010);
        if (MsgBox(question, vbOKCancel) == vbCancel) {
            Text2->selectAll();
            Text2->setFocus();
            return false;
        }
    }

    t.GFLow = low;
    t.GFHigh = high;
    t.Changed = true;
    Template() = t;
    const int16_t dive = mDiveNumber;
    if (Shell().DiveOpen(dive)) {
        Shell().ReEvaluateDive(dive);
        // New factors change the dive as its series file holds it, also when the new
        // computation was refused: closing must ask to save.
        RecordOf(dive, "frmConservatism.storeFactors").ProfileChanged = true;
    }
    return true;
}
