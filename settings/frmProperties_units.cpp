// Switching the dialog between metric and imperial units: every unit-bearing text of
// every page is converted in place; the record changes only at OK.

#include "settings/frmProperties.h"

#include "engine/AltitudeModule.h"
#include "engine/EngineGlobals.h"
#include "engine/LibraryModule.h"
#include "platform/FlexGrid.h"
#include "platform/LocaliseForm.h"

#include <QLabel>
#include <QLineEdit>
#include <QCheckBox>
#include <QRadioButton>

#include <functional>

namespace {

double depthFactor(bool setMetric)
{
    return setMetric ? kMetresPerFoot : kFeetPerMetre;
}

double ppO2Factor(bool setMetric)
{
    return setMetric ? kBarPerAtm : kAtmPerBar;
}

// A unit switch remembers for every text it converts what the text was and what it
// wrote. When the text is still the one written, the reverse switch gives back the text
// from before instead of converting it again: a switch there and back changes no value
// (a deco RMV of 15 l/min would otherwise come back as 14 through 0.5 cu ft). A text
// edited since is converted.
constexpr char kBoxBefore[] = "unitsBefore";
constexpr char kBoxWritten[] = "unitsWritten";
constexpr int kCellBefore = Qt::UserRole + 2;
constexpr int kCellWritten = Qt::UserRole + 3;

using Conversion = std::function<QString(const QString &)>;

QString switched(const QString &now, const QVariant &before, const QVariant &written, const Conversion &convert)
{
    if (before.isValid() && written.toString() == now)
        return before.toString();
    return convert(now);
}

void switchBox(QLineEdit *box, const Conversion &convert)
{
    const QString now = box->text();
    const QString next = switched(now, box->property(kBoxBefore), box->property(kBoxWritten), convert);
    box->setProperty(kBoxBefore, now);
    box->setProperty(kBoxWritten, next);
    box->setText(next);
}

void switchCell(FlexGrid *grid, int row, int col, const Conversion &convert)
{
    QTableWidgetItem *item = grid->CellItem(row, col);
    const QString now = item->text();
    const QString next = switched(now, item->data(kCellBefore), item->data(kCellWritten), convert);
    item->setData(kCellBefore, now);
    item->setData(kCellWritten, next);
    item->setText(next);
}

// new text = pattern(number of the old text x factor)
void convertBox(QLineEdit *box, double factor, int decimals, bool thousands = false)
{
    switchBox(box, [=](const QString &text) { return PatternText(double(TextValue(text, thousands)) * factor, decimals); });
}

// The surface pressure of the altitude a box shows.
void pressureBox(QLineEdit *box, const QLineEdit *altitude, bool setMetric)
{
    switchBox(box, [=](const QString &) {
        return PatternText(AltitudeToPressure(RoundTo(TextValue(altitude->text(), true), 0), setMetric), 3);
    });
}

} // namespace

void frmProperties::Option1_Click(int index)
{
    // A grid cell still being edited is committed first, so it is converted with the
    // rest and never written back in the other units.
    if ((Units == kUnitsMetric) != (index == 1))
        commitOpenEditors();
    if (Units == kUnitsMetric && index == 0) {
        ChangeUnitLabels(false);
        ChangeAllFrames(false);
        Units = kUnitsImperial;
    } else if (Units != kUnitsMetric && index == 1) {
        ChangeUnitLabels(true);
        ChangeAllFrames(true);
        Units = kUnitsMetric;
    }
}

// Selects the unit's option and writes the unit labels. Units is set first, so the
// option's reaction never converts: a reload of another record in the other unit system
// shows that record's values as they stand.
void frmProperties::ChangeUnitLabels(bool setMetric)
{
    Units = setMetric ? kUnitsMetric : kUnitsImperial;
    Option1[1]->setChecked(setMetric);
    Option1[0]->setChecked(!setMetric);
    Label2->setText(setMetric ? GetLangStringQ(1628) : GetLangStringQ(1627));
    Label22->setText(setMetric ? GetLangStringQ(1628) : GetLangStringQ(1627));
    Label5->setText(setMetric ? GetLangStringQ(1629) : GetLangStringQ(1630));
    Label6->setText(setMetric ? GetLangStringQ(1629) : GetLangStringQ(1630));
    Label9->setText(setMetric ? GetLangStringQ(1619) : GetLangStringQ(1620));
    Label11->setText(setMetric ? GetLangStringQ(1219) : GetLangStringQ(1216));
    Label18->setText(setMetric ? GetLangStringQ(1219) : GetLangStringQ(1216));
    Label16->setText(setMetric ? GetLangStringQ(1220) : GetLangStringQ(1221));
    Label13->setText(setMetric ? GetLangStringQ(1220) : GetLangStringQ(1221));
    lBarAta->setText(setMetric ? GetLangStringQ(1629) : GetLangStringQ(1630));
    Label17->setText(setMetric ? GetLangStringQ(1629) : GetLangStringQ(1630));
}

// A record loaded anew: its texts come from the record, not from a unit switch.
void frmProperties::forgetUnitSwitches()
{
    for (QLineEdit *box : findChildren<QLineEdit *>()) {
        box->setProperty(kBoxBefore, QVariant());
        box->setProperty(kBoxWritten, QVariant());
    }
}

// The deco ppO2 is converted before the automatic switch depths are computed from it.
void frmProperties::ChangeAllFrames(bool settometric)
{
    ChangeDecoStepsFrame(settometric);
    changeAscentFrame(settometric);
    changeDescentFrame(settometric);
    ChangeGasSettingsFrame(settometric);
    ChangeConstPPOFrame(settometric);
    ChangeAltitudeFrame(settometric);
    if (cbAutoDecoGas->isChecked())
        changeAutoDecoGasFrame(settometric, false);
    else
        changeDecoGasFrame(settometric, false);
}

void frmProperties::ChangeDecoStepsFrame(bool setMetric)
{
    convertBox(tbStepSize, depthFactor(setMetric), 0);
    convertBox(tbLastStop, depthFactor(setMetric), 0);
    convertBox(Text7, ppO2Factor(setMetric), 2);
}

// Each ascent value is rounded to a whole number before and after the conversion.
void frmProperties::changeAscentFrame(bool setMetric)
{
    const float factor = float(depthFactor(setMetric));
    for (int r = 1; r < fgAscend->Rows(); ++r)
        for (int c = 0; c < 2; ++c)
            switchCell(fgAscend, r, c, [=](const QString &cell) { return ConvertAscentCell(cell, factor); });
}

void frmProperties::changeDescentFrame(bool setMetric)
{
    const float factor = float(depthFactor(setMetric));
    for (int r = 1; r < fgDescend->Rows(); ++r)
        for (int c = 0; c < 2; ++c)
            switchCell(fgDescend, r, c, [=](const QString &cell) { return ConvertGridCell(cell, factor); });
}

// Breathing rates, ppO2 limits and END: converted from the value rounded to two places,
// then held within their bounds (a ppO2 that comes to 3 or more gets its replacement).
void frmProperties::ChangeGasSettingsFrame(bool setMetric)
{
    struct Field {
        QLineEdit *box;
        float factorToMetric, factorToImperial;
        float vstart, vend, lbdefault, hbdefault;
        int decimalsMetric, decimalsImperial;
    };
    const float rmvM = float(kLitresPerCuFt), rmvI = float(kCuFtPerLitre);
    const float ppM = float(kBarPerAtm), ppI = float(kAtmPerBar);
    const float dM = float(kMetresPerFoot), dI = float(kFeetPerMetre);
    const Field fields[] = {
        {tbRMV, rmvM, rmvI, 0, 200, 1.0f, 200, 0, 1},
        {Text8, rmvM, rmvI, 0, 200, 1.0f, 200, 0, 1},
        {tbMinPPO, ppM, ppI, 0, 3, 0.16f, 2.0f, 2, 2},
        {tbMaxPPO, ppM, ppI, 0, 3, 1.6f, 3.0f, 2, 2},
        {tbMaximalEND, dM, dI, 0, 500, 0, 500, 0, 0},
    };
    for (const Field &f : fields) {
        switchBox(f.box, [&](const QString &text) {
            float v = RoundTo(TextValue(text), 2);
            v = v * (setMetric ? f.factorToMetric : f.factorToImperial);
            return Between(v, f.vstart, f.vend, f.lbdefault, f.hbdefault, setMetric ? f.decimalsMetric : f.decimalsImperial);
        });
    }
}

void frmProperties::ChangeConstPPOFrame(bool setMetric)
{
    convertBox(SetPoint, ppO2Factor(setMetric), 2);
    convertBox(Text6, ppO2Factor(setMetric), 2);
}

// The pressures are worked out again from the converted whole-number altitudes.
void frmProperties::ChangeAltitudeFrame(bool setMetric)
{
    convertBox(Text2, depthFactor(setMetric), 0, true);
    convertBox(Text5, depthFactor(setMetric), 0, true);
    pressureBox(Text4, Text2, setMetric);
    pressureBox(Text3, Text5, setMetric);
}

float frmProperties::storedDecoPPO2() const
{
    float ppO2 = RoundTo(TextValue(Text7->text()), 2);
    Between(ppO2, 0, 3, 1.6f, 3.0f, 2);
    return ppO2;
}

// The switch depths where each gas reaches the deco ppO2 as OK will store it, in the
// units shown: the grid never shows a depth that is not stored (16 typed for 1.6 shows the
// depths of 3.0, never oxygen at 150 m, and no ppO2 typed shows an infinite depth).
void frmProperties::changeAutoDecoGasFrame(bool setMetric, bool)
{
    const float factor = setMetric ? 1.0f : float(kFeetPerMetre);
    const float ppO2 = storedDecoPPO2();
    const float endPressure = record().EndPressure;
    for (int r = 1; r < fgGasChange->Rows(); ++r) {
        const float o2 = GetPercentO2(fgGasChange->TextMatrix(r, 1));
        const float d = AutoSwitchDepth(ppO2, o2, endPressure);
        fgGasChange->SetTextMatrix(r, 0, PatternText(double(factor) * d, 0));
    }
}

void frmProperties::changeDecoGasFrame(bool setMetric, bool)
{
    const float factor = float(depthFactor(setMetric));
    for (int r = 1; r < fgGasChange->Rows(); ++r)
        switchCell(fgGasChange, r, 0, [=](const QString &cell) { return ConvertGridCell(cell, factor); });
}

float frmProperties::GetPercentO2(const QString &gasname) const
{
    const std::string name = gasname.toStdString();
    for (const GasRecord &g : record().Gases)
        if (g.Name == name)
            return g.O2;
    return -1;
}

void frmProperties::Text7_Change()
{
    if (!Text7->text().isEmpty() && cbAutoDecoGas->isChecked())
        changeAutoDecoGasFrame(Units == kUnitsMetric, false);
}
