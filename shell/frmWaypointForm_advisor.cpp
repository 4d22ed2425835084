// The gas advisor of the waypoint dialog: it shows, for the depth in the dialog, the
// best mix of each family (Nitrox, Trimix, Heliox) and the END and ppO2 of a mix, as
// engine/GasAdvisor.h computes them, and takes typed mixes.

#include "shell/frmWaypointForm.h"

#include "engine/DOLVOptionModule.h"
#include "engine/EngineGlobals.h"
#include "engine/GasAdvisor.h"
#include "engine/LibraryModule.h"
#include "engine/VBConversions.h"
#include "platform/LocaliseForm.h"
#include "platform/MsgBox.h"

#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

// A fraction as the whole percent the panels show.
QString Percent(float fraction)
{
    return QString::fromStdString(FormatFixed(static_cast<float>(double(fraction) * 100.0), 0));
}

// A whole percent as a gas name holds it ("33").
QString percentText(float percent)
{
    return QString::fromStdString(FormatFixed(percent, 0));
}

QString localFixed(float v, int decimals)
{
    return QString::fromStdString(LocaliseNumberText(FormatFixed(v, decimals), gDecimalSeparator));
}

// A percentage box read by the typed-number rule ("32.5" and "32,5" alike) and rounded to
// the whole percent a gas record keeps, as the custom-gas window rounds (halves away
// from zero: 32.5 gives 33); none when the box holds no number.
std::optional<float> wholePercent(const QLineEdit *box)
{
    const std::optional<float> typed = ReadTypedNumber(box->text().toStdString());
    if (!typed)
        return std::nullopt;
    return static_cast<float>(Val(FormatFixed(*typed, 0)));
}

// A mix whose oxygen shows as 0 % cannot be breathed; the gas list takes none below 1 %.
bool withoutOxygen(float fO2)
{
    return Percent(fO2) == QStringLiteral("0");
}

void setTextColour(QPlainTextEdit *box, bool red)
{
    QPalette p = box->palette();
    p.setColor(QPalette::Text, red ? QColor(255, 0, 0) : QColor(0, 0, 0));
    box->setPalette(p);
}

} // namespace

void frmWaypointForm::CalcBestNitrox(float depth)
{
    const AdvisedMix m = BestNitrox(Template(), depth);
    mNitroxO2 = m.O2;
    // Without a mix mNitroxN2 keeps the nitrogen limit the mix could not meet.
    mNitroxN2 = m.N2;
    Text1->setText(m.Possible ? Percent(m.O2) : QString("n/a"));
    Text2->setText(m.Possible ? Percent(m.N2) : QString("n/a"));
    cbNitroxAdd->setVisible(m.Possible);
}

void frmWaypointForm::CalcBestHeliox(float depth)
{
    const AdvisedMix m = BestHeliox(Template(), depth);
    mHelioxO2 = m.O2;
    mHelioxHe = m.He;
    Text9->setText(m.Possible ? Percent(mHelioxO2) : QString("n/a"));
    Text7->setText(m.Possible ? Percent(mHelioxHe) : QString("n/a"));
    cbHelioxAdd->setVisible(m.Possible);
}

void frmWaypointForm::CalcBestTrimix(float depth)
{
    const AdvisedMix m = BestTrimix(Template(), depth);
    mTrimixO2 = m.O2;
    mTrimixN2 = m.N2;
    mTrimixHe = m.He;
    Text6->setText(Percent(mTrimixO2));
    Text5->setText(Percent(mTrimixN2));
    Text4->setText(Percent(mTrimixHe));
}

void frmWaypointForm::showNitroxInfo(bool typedMix)
{
    const TemplateRec &t = Template();
    const float d = depthShown();
    setInfoBoxesVisible(true);
    const float fO2 = mNitroxO2, fN2 = mNitroxN2;
    const float ppO2 = AdvisorPPO2(t, d, fO2);
    float end = AdvisorEND(t, d, fO2, fN2);
    const bool available = NitroxAvailable(t, d, fO2, fN2);
    // A typed nitrox with oxygen narcotic is wholly narcotic: its END is the depth.
    if (typedMix && t.O2Narcotic)
        end = d;
    if (!available && !typedMix) {
        Text10->setPlainText(GetLangStringQ(3064) + "\n" + " Gas N/A");
        Text11->setPlainText("");
        Text12->setPlainText("");
        return;
    }
    showInfo(GetLangStringQ(3064), fO2, mNitroxHe, fN2, ppO2, end, ":  ");
}

void frmWaypointForm::showTrimixInfo()
{
    const TemplateRec &t = Template();
    const float d = depthShown();
    setInfoBoxesVisible(true);
    showInfo(GetLangStringQ(3065), mTrimixO2, mTrimixHe, mTrimixN2, AdvisorPPO2(t, d, mTrimixO2),
             AdvisorEND(t, d, mTrimixO2, mTrimixN2), ":  ");
}

void frmWaypointForm::showHelioxInfo()
{
    const TemplateRec &t = Template();
    const float d = depthShown();
    setInfoBoxesVisible(true);
    const float ppO2 = AdvisorPPO2(t, d, mHelioxO2);
    if (t.O2Narcotic) {
        const float end = AdvisorEND(t, d, mHelioxO2, 0);
        showInfo(GetLangStringQ(3066), mHelioxO2, mHelioxHe, mHelioxN2, ppO2, end, t.Metric ? ":  " : "  ");
    } else {
        // Helium alone is not narcotic: no depth reaches the END limit.
        showInfo(GetLangStringQ(3066), mHelioxO2, mHelioxHe, mHelioxN2, ppO2, std::nullopt, ":  ");
    }
}

// The three information boxes for a mix: title and mix, END (red above MaximalEND, or
// unbounded), ppO2 (red above MaxPPO2).
void frmWaypointForm::showInfo(const QString &title, float fO2, float fHe, float fN2, float ppO2,
                               std::optional<float> end, const char *endSeparator)
{
    const TemplateRec &t = Template();
    Text10->setPlainText(title + "\n" + Percent(fO2) + "/" + Percent(fHe) + "/" +
                         Percent(fN2));
    const QString unit = t.Metric ? "m" : "ft";
    if (end) {
        const float e = *end <= 0 ? 0.0f : *end;
        setTextColour(Text11, e > t.MaximalEND);
        Text11->setPlainText("    " + GetLangStringQ(6044) + endSeparator + localFixed(e, 1) + unit);
    } else {
        setTextColour(Text11, false);
        Text11->setPlainText("    " + GetLangStringQ(6044) + ":  " + "INF " + unit);
    }
    const bool noOxygen = withoutOxygen(fO2);
    setTextColour(Text12, ppO2 > t.MaxPPO2 || noOxygen);
    QString pp = GetLangStringQ(6041) + ":  " + localFixed(ppO2, 2) + (t.Metric ? " bar" : " ata");
    if (noOxygen)
        pp += "\n" + GetLangStringQ(7094);
    else if (t.O2Narcotic)
        pp += "\n" + GetLangStringQ(6045);
    Text12->setPlainText(pp);
}

void frmWaypointForm::setInfoBoxesVisible(bool visible)
{
    Text10->setVisible(visible);
    Text11->setVisible(visible);
    Text12->setVisible(visible);
}

bool frmWaypointForm::advisorMouseMove(QObject *watched)
{
    const auto in = [watched](std::initializer_list<QObject *> panel) {
        for (QObject *o : panel)
            if (o == watched)
                return true;
        return false;
    };
    if (in({Frame4, Label8, Label9, Label10, Text1, Text2, Text3}))
        showNitroxInfo(false);
    else if (in({Frame5, Label11, Label12, Label13, Text4, Text5, Text6}))
        showTrimixInfo();
    else if (in({Frame6, Label14, Label15, Label16, Text7, Text8, Text9}))
        showHelioxInfo();
    else
        return false;
    // A frame or label would pass the move on to the advisor frame, which hides the
    // boxes again; a text box keeps it (it may be selecting text).
    return qobject_cast<QLineEdit *>(watched) == nullptr;
}

// Entering a typed box clears it for a new value; until one is typed the panel has no
// mix to add.
bool frmWaypointForm::advisorFocusIn(QObject *watched)
{
    QPushButton *add = nullptr;
    if (watched == Text1 || watched == Text2)
        add = cbNitroxAdd;
    else if (watched == Text6 || watched == Text4)
        add = cbTrimixAdd;
    else if (watched == Text9 || watched == Text7)
        add = cbHelioxAdd;
    if (!add)
        return false;
    static_cast<QLineEdit *>(watched)->clear();
    add->hide();
    return true;
}

bool frmWaypointForm::advisorKeyUp(QObject *watched)
{
    if (watched == Text1)
        Text1_KeyUp();
    else if (watched == Text2)
        Text2_KeyUp();
    else if (watched == Text9)
        Text9_KeyUp();
    else if (watched == Text7)
        Text7_KeyUp();
    else if (watched == Text6)
        Text6_KeyUp();
    else if (watched == Text4)
        Text4_KeyUp();
    else
        return false;
    return true;
}

namespace {

// Every typed percentage: only digits and decimal separators stay in the box; nothing
// typed, or no number by the typed-number rule ("1.2.3"), hides the panel's button;
// otherwise the whole percent it is read as, as a fraction limited to [0, maxFraction]
// (a value at or above 100 % becomes maxFraction). The box keeps what the diver types
// ("32." on the way to "32.5") unless the value had to be limited; it shows the whole
// percent once the diver leaves it.
std::optional<float> typedFraction(QLineEdit *box, QPushButton *add, float maxFraction)
{
    const QString kept = frmWaypointForm::AlphaNumericInput(box->text());
    if (kept != box->text())
        box->setText(kept);
    const std::optional<float> percent = wholePercent(box);
    if (!percent) {
        add->hide();
        return std::nullopt;
    }
    float v = static_cast<float>(*percent / 100.0);
    const float typed = v;
    if (maxFraction < 1 ? v >= 1 : v > 1)
        v = maxFraction;
    if (v < 0)
        v = 0;
    if (v != typed)
        box->setText(Percent(v));
    return v;
}

// A two-gas mix typed in one box: the partner takes the rest and the mix can be added.
bool typedPair(QLineEdit *box, QPushButton *add, float maxFraction, float &typed,
               QLineEdit *partnerBox, float &partner)
{
    const auto v = typedFraction(box, add, maxFraction);
    if (!v)
        return false;
    typed = *v;
    partner = static_cast<float>(1.0 - *v);
    partnerBox->setText(Percent(partner));
    add->show();
    return true;
}

} // namespace

void frmWaypointForm::Text1_KeyUp()
{
    if (typedPair(Text1, cbNitroxAdd, 1.0f, mNitroxO2, Text2, mNitroxN2))
        showNitroxInfo(true);
}

void frmWaypointForm::Text2_KeyUp()
{
    if (typedPair(Text2, cbNitroxAdd, 0.99f, mNitroxN2, Text1, mNitroxO2))
        showNitroxInfo(true);
}

void frmWaypointForm::Text9_KeyUp()
{
    if (typedPair(Text9, cbHelioxAdd, 1.0f, mHelioxO2, Text7, mHelioxHe)) {
        mHelioxN2 = 0;
        showHelioxInfo();
    }
}

void frmWaypointForm::Text7_KeyUp()
{
    if (typedPair(Text7, cbHelioxAdd, 0.99f, mHelioxHe, Text9, mHelioxO2)) {
        mHelioxN2 = 0;
        showHelioxInfo();
    }
}

// Trimix O2 typed: helium stays as shown while it fits; nitrogen fills the rest.
void frmWaypointForm::Text6_KeyUp()
{
    const auto v = typedFraction(Text6, cbTrimixAdd, 1.0f);
    if (!v)
        return;
    float he = static_cast<float>(wholePercent(Text4).value_or(0) / 100.0);
    float n2;
    if (static_cast<float>(double(*v) + he) < 1) {
        n2 = static_cast<float>(1.0 - *v - he);
    } else {
        he = static_cast<float>(1.0 - *v);
        n2 = 0;
    }
    setTypedTrimix(*v, he, n2);
}

// Trimix He typed: oxygen stays as shown; nitrogen fills the rest, and helium gives way
// when the two leave no room.
void frmWaypointForm::Text4_KeyUp()
{
    const auto v = typedFraction(Text4, cbTrimixAdd, 1.0f);
    if (!v)
        return;
    const float o2 = static_cast<float>(wholePercent(Text6).value_or(0) / 100.0);
    float he = *v;
    float n2 = static_cast<float>(1.0 - *v - o2);
    if (n2 < 0) {
        he = static_cast<float>(1.0 - o2);
        n2 = 0;
    }
    setTypedTrimix(o2, he, n2);
}

void frmWaypointForm::setTypedTrimix(float o2, float he, float n2)
{
    mTrimixO2 = o2;
    mTrimixHe = he;
    mTrimixN2 = n2;
    Text5->setText(Percent(n2));
    Text4->setText(Percent(he));
    cbTrimixAdd->show();
    showTrimixInfo();
}

// A typed box the diver leaves shows the whole percent it was read as.
void frmWaypointForm::advisorFocusOut(QObject *watched)
{
    for (QLineEdit *box : {Text1, Text2, Text6, Text4, Text9, Text7})
        if (box == watched)
            if (const std::optional<float> percent = wholePercent(box))
                box->setText(percentText(*percent));
}

// The name and the fractions of an added gas are the whole percents the boxes are read
// as: "32.5" typed adds EAN33 with 33 % oxygen.
void frmWaypointForm::cbNitroxAdd_Click()
{
    const float o2 = wholePercent(Text1).value_or(0), n2 = wholePercent(Text2).value_or(0);
    addGas("EAN" + percentText(o2).toStdString(), o2, n2, 0, false);
}

void frmWaypointForm::cbHelioxAdd_Click()
{
    const float o2 = wholePercent(Text9).value_or(0), he = wholePercent(Text7).value_or(0);
    addGas("H" + percentText(he).toStdString(), o2, 0, he, false);
}

void frmWaypointForm::cbTrimixAdd_Click()
{
    const std::optional<float> o2 = wholePercent(Text6);
    const float he = wholePercent(Text4).value_or(0), n2 = wholePercent(Text5).value_or(0);
    addGas("Tx" + percentText(o2.value_or(0)).toStdString() + "/" + percentText(he).toStdString(), o2.value_or(0), n2,
           he, !o2);
}

// Selects the dive's gas of that name, adding it first when the list has none. A gas of
// the name that is already there is taken as it is.
void frmWaypointForm::addGas(const std::string &name, float o2, float n2, float he, bool missingO2)
{
    std::vector<GasRecord> &gases = Template().Gases;
    int found = -1;
    for (size_t i = 0; i < gases.size() && found < 0; ++i)
        if (gases[i].Name == name)
            found = static_cast<int>(i);
    if (found < 0 && missingO2) {
        MsgBox(GetLangStringQ(6165), vbOKOnly);
        return;
    }
    // A panel typed down to no oxygen (EAN0, H100, Tx0/50) is no gas to breathe: the
    // gas list refuses it (the custom-gas window never holds one).
    if (o2 < 1) {
        MsgBox(GetLangStringQ(7093), vbOKOnly);
        return;
    }
    if (found < 0) {
        gases.push_back(GasRecord{name, o2, n2, he, 0});
        found = static_cast<int>(gases.size()) - 1;
    }
    fillGasList(static_cast<int16_t>(found));
}
