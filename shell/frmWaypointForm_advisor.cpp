// The gas advisor of the waypoint dialog: for the depth in the dialog, the richest
// oxygen fraction that keeps the dive's ppO2 limit and the inert-gas share that keeps
// its maximal equivalent narcotic depth, per family (Nitrox, Trimix, Heliox).
//
// With k = 10 msw per bar (metres) or 33 fsw per atm (feet) and P the surface pressure,
// a depth d is the absolute depth A = P*k + d in depth units, the ambient pressure A/k.
// The best O2 fraction is L / (A/k) rounded down to 1 %, L the ppO2 limit. The narcotic
// share that keeps the END E is (P*k + E) / A: of nitrogen 0.79 times that (the END of
// nitrogen is measured against air), of O2 + N2 the share itself when oxygen counts as
// narcotic.

#include "shell/frmWaypointForm.h"

#include "engine/DOLVOptionModule.h"
#include "engine/EngineGlobals.h"
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

QString localFixed(float v, int decimals)
{
    return QString::fromStdString(LocaliseNumberText(FormatFixed(v, decimals), gDecimalSeparator));
}

// A fraction at three decimals, as the Nitrox END check compares them in metres.
double threeDecimals(float v) { return Val(FormatFixed(v, 3)); }

// A percentage box's text as the whole number a gas record keeps.
float wholePercent(const QLineEdit *box)
{
    return static_cast<float>(Val(FormatFixed(LocaleVal(box->text().toStdString()), 0)));
}

void setTextColour(QPlainTextEdit *box, bool red)
{
    QPalette p = box->palette();
    p.setColor(QPalette::Text, red ? QColor(255, 0, 0) : QColor(0, 0, 0));
    box->setPalette(p);
}

struct Ambient {
    double k;  // depth units per bar (10) or per atm (33)
    double Pk; // the surface pressure in depth units
    float A;   // absolute depth in depth units
    float L;   // ppO2 limit, bar or atm
};

Ambient ambientFor(const TemplateRec &t, float depth)
{
    Ambient a;
    a.k = t.Metric ? 10 : 33;
    a.Pk = double(t.StartPressure) * a.k;
    a.A = static_cast<float>(a.Pk + depth);
    // A constant-ppO2 rebreather holds its set point; open circuit is held to MaxPPO2.
    a.L = t.OpenCircuit ? t.MaxPPO2 : t.Setpoint;
    return a;
}

// ppO2 in bar or atm of an O2 fraction at the absolute depth.
float ppO2Of(const Ambient &a, float fO2) { return static_cast<float>(double(a.A) * fO2 / a.k); }

// The richest O2 fraction that keeps the ppO2 limit, rounded down to 1 %, not capped.
float bestO2(const Ambient &a)
{
    return frmWaypointForm::RoundDown(static_cast<float>(a.L / (a.A / a.k)));
}

} // namespace

void frmWaypointForm::CalcBestNitrox(float depth)
{
    const TemplateRec &t = Template();
    const Ambient a = ambientFor(t, depth);
    float fO2 = bestO2(a);
    if (fO2 >= 1)
        fO2 = 1;
    mNitroxO2 = fO2;
    // With oxygen narcotic the END limit holds O2 + N2 together.
    const double f = t.O2Narcotic ? 1.0 : 0.79;
    mNitroxN2 = static_cast<float>(f * (a.Pk + t.MaximalEND) / a.A);
    const bool possible = t.O2Narcotic ? mNitroxN2 >= 1
                                       : static_cast<float>(1.0 - fO2) <= mNitroxN2;
    if (possible) {
        mNitroxN2 = static_cast<float>(1.0 - fO2);
        Text1->setText(Percent(fO2));
        Text2->setText(Percent(mNitroxN2));
    } else {
        // mNitroxN2 keeps the nitrogen limit the mix could not meet.
        Text1->setText("n/a");
        Text2->setText("n/a");
    }
    cbNitroxAdd->setVisible(possible);
}

void frmWaypointForm::CalcBestHeliox(float depth)
{
    const TemplateRec &t = Template();
    const Ambient a = ambientFor(t, depth);
    float fO2 = bestO2(a);
    if (fO2 >= 1)
        fO2 = 1;
    mHelioxO2 = fO2;
    mHelioxHe = static_cast<float>(1.0 - fO2);
    const float end = CalcEND(t.Metric, depth, 0, static_cast<float>(100.0 * mHelioxHe),
                              t.O2Narcotic, t);
    const bool possible = end <= t.MaximalEND;
    Text9->setText(possible ? Percent(mHelioxO2) : QString("n/a"));
    Text7->setText(possible ? Percent(mHelioxHe) : QString("n/a"));
    cbHelioxAdd->setVisible(possible);
}

void frmWaypointForm::CalcBestTrimix(float depth)
{
    const TemplateRec &t = Template();
    const Ambient a = ambientFor(t, depth);
    mTrimixO2 = bestO2(a);
    mTrimixN2 = RoundDown(static_cast<float>(0.79 * (a.Pk + t.MaximalEND) / a.A));
    if (t.O2Narcotic) {
        const float q = static_cast<float>((a.Pk + t.MaximalEND) / a.A);
        mTrimixHe = static_cast<float>(1.0 - q);
        mTrimixN2 = RoundDown(static_cast<float>(1.0 - mTrimixO2 - mTrimixHe));
        // Helium takes up what the rounding of the nitrogen left.
        mTrimixHe = static_cast<float>(1.0 - mTrimixO2 - mTrimixN2);
        if (1.0 - mTrimixO2 < mTrimixN2) {
            mTrimixN2 = static_cast<float>(1.0 - mTrimixO2);
            mTrimixHe = 0;
        }
    } else {
        if (mTrimixO2 >= 1)
            mTrimixO2 = 1;
        if (1.0 - mTrimixO2 >= mTrimixN2) {
            mTrimixHe = static_cast<float>(1.0 - mTrimixN2 - mTrimixO2);
            if (mTrimixHe < 0)
                mTrimixHe = 0;
        } else {
            mTrimixN2 = static_cast<float>(1.0 - mTrimixO2);
            mTrimixHe = 0;
        }
    }
    if (mTrimixHe <= 0)
        mTrimixHe = 0;
    if (mTrimixO2 > 1)
        mTrimixO2 = 1;
    if (mTrimixN2 <= 0) {
        // No room for nitrogen (oxygen alone reaches the narcotic limit): helium fills
        // the rest, so the mix still adds up to 100 %.
        mTrimixN2 = 0;
        mTrimixHe = static_cast<float>(1.0 - mTrimixO2);
    }
    Text6->setText(Percent(mTrimixO2));
    Text5->setText(Percent(mTrimixN2));
    Text4->setText(Percent(mTrimixHe));
}

void frmWaypointForm::showNitroxInfo(bool typedMix)
{
    const TemplateRec &t = Template();
    const float d = depthShown();
    const Ambient a = ambientFor(t, d);
    setInfoBoxesVisible(true);
    const float fO2 = mNitroxO2, fN2 = mNitroxN2;
    const float ppO2 = ppO2Of(a, fO2);

    // A mix whose nitrogen is short of 1 - O2 is the unmet limit of a failed search.
    const float rest = static_cast<float>(1.0 - fO2);
    float end;
    bool available;
    if (!t.O2Narcotic) {
        end = static_cast<float>(double(a.A) * fN2 / 0.79 - a.Pk);
        available = t.Metric ? threeDecimals(fN2) >= threeDecimals(rest) : fN2 >= rest;
    } else {
        end = static_cast<float>(double(a.A) * (double(fO2) + fN2) - a.Pk);
        available = threeDecimals(fN2) >= threeDecimals(rest) && !(end - 1.0 > t.MaximalEND);
    }
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
    const Ambient a = ambientFor(t, depthShown());
    setInfoBoxesVisible(true);
    const float ppO2 = ppO2Of(a, mTrimixO2);
    const double narcotic = t.O2Narcotic ? double(mTrimixO2) + mTrimixN2 : mTrimixN2 / 0.79;
    const float end = static_cast<float>(double(a.A) * narcotic - a.Pk);
    showInfo(GetLangStringQ(3065), mTrimixO2, mTrimixHe, mTrimixN2, ppO2, end, ":  ");
}

void frmWaypointForm::showHelioxInfo()
{
    const TemplateRec &t = Template();
    const Ambient a = ambientFor(t, depthShown());
    setInfoBoxesVisible(true);
    const float ppO2 = ppO2Of(a, mHelioxO2);
    if (t.O2Narcotic) {
        const float end = static_cast<float>(double(a.A) * mHelioxO2 - a.Pk);
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
    setTextColour(Text12, ppO2 > t.MaxPPO2);
    QString pp = GetLangStringQ(6041) + ":  " + localFixed(ppO2, 2) + (t.Metric ? " bar" : " ata");
    if (t.O2Narcotic)
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

// Steps 1 to 3 of every typed percentage: digits only; nothing typed hides the panel's
// button; otherwise the fraction, limited to [0, maxFraction] (a value at or above 100 %
// becomes maxFraction), written back as a whole percent.
std::optional<float> typedFraction(QLineEdit *box, QPushButton *add, float maxFraction)
{
    const QString digits = frmWaypointForm::NumericInput(box->text());
    if (digits != box->text())
        box->setText(digits);
    if (digits.isEmpty() || digits == "-") {
        add->hide();
        return std::nullopt;
    }
    float v = static_cast<float>(LocaleVal(digits.toStdString()) / 100.0);
    if (maxFraction < 1 ? v >= 1 : v > 1)
        v = maxFraction;
    if (v < 0)
        v = 0;
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
    float he = static_cast<float>(LocaleVal(Text4->text().toStdString()) / 100.0);
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
    const float o2 = static_cast<float>(LocaleVal(Text6->text().toStdString()) / 100.0);
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

void frmWaypointForm::cbNitroxAdd_Click()
{
    addGas("EAN" + Text1->text().toStdString(), wholePercent(Text1), wholePercent(Text2), 0,
           false);
}

void frmWaypointForm::cbHelioxAdd_Click()
{
    addGas("H" + Text7->text().toStdString(), wholePercent(Text9), 0, wholePercent(Text7), false);
}

void frmWaypointForm::cbTrimixAdd_Click()
{
    addGas("Tx" + Text6->text().toStdString() + "/" + Text4->text().toStdString(),
           wholePercent(Text6), wholePercent(Text5), wholePercent(Text4), Text6->text().isEmpty());
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
    if (found < 0) {
        if (missingO2) {
            MsgBox(GetLangStringQ(6165), vbOKOnly);
            return;
        }
        gases.push_back(GasRecord{name, o2, n2, he, 0});
        found = static_cast<int>(gases.size()) - 1;
    }
    fillGasList(static_cast<int16_t>(found));
}
