// Switching the dialog between metric and imperial units: every unit-bearing text of
// every page is converted in place; the record changes only at OK.

#include "settings/frmProperties.h"

#include "engine/AltitudeModule.h"
#include "engine/DiveModel.h"
#include "engine/DiveBounds.h"
#include "engine/EngineGlobals.h"
#include "engine/GasAdvisor.h"
#include "engine/LibraryModule.h"
#include "engine/Units.h"
#include "platform/FlexGrid.h"
#include "platform/LocaliseForm.h"

#include <QLabel>
#include <QLineEdit>
#include <QCheckBox>
#include <QRadioButton>

#include <algorithm>
#include <functional>

namespace {

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

// A text still the one its switch wrote.
bool stillWritten(const QVariant &before, const QVariant &written, const QString &now)
{
    return before.isValid() && written.toString() == now;
}

QString switched(const QString &now, const QVariant &before, const QVariant &written, const Conversion &convert)
{
    if (stillWritten(before, written, now))
        return before.toString();
    return convert(now);
}

// What a switch made of a text: the text from before it and the text it wrote. The
// record's last unit switch is remembered the same way when the dialog shows it.
void remember(QLineEdit *box, const QString &before, const QString &written)
{
    box->setProperty(kBoxBefore, before);
    box->setProperty(kBoxWritten, written);
}

void remember(QTableWidgetItem *item, const QString &before, const QString &written)
{
    item->setData(kCellBefore, before);
    item->setData(kCellWritten, written);
}

void switchBox(QLineEdit *box, const Conversion &convert)
{
    const QString now = box->text();
    const QString next = switched(now, box->property(kBoxBefore), box->property(kBoxWritten), convert);
    remember(box, now, next);
    box->setText(next);
}

void switchCell(FlexGrid *grid, int row, int col, const Conversion &convert)
{
    QTableWidgetItem *item = grid->CellItem(row, col);
    const QString now = item->text();
    const QString next = switched(now, item->data(kCellBefore), item->data(kCellWritten), convert);
    remember(item, now, next);
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

// The texts the dialog's unit switches wrote that are still as written, for the record's
// last unit change: boxes by name, cells of the rate and manual switch grids by the row
// they are stored in (`order`: OK stores the rows by depth).
std::vector<UnitSwitchText> frmProperties::unitSwitchTexts(const StoredOrder &order) const
{
    std::vector<UnitSwitchText> texts;
    const auto keep = [&](const QString &where, const QVariant &before, const QVariant &written, const QString &now) {
        if (stillWritten(before, written, now))
            texts.push_back({where.toStdString(), before.toString().toStdString(), now.toStdString()});
    };
    for (const QLineEdit *box : findChildren<QLineEdit *>())
        keep(box->objectName(), box->property(kBoxBefore), box->property(kBoxWritten), box->text());
    const auto cells = [&](FlexGrid *grid, const std::vector<int> &rows, int cols) {
        for (size_t k = 0; k < rows.size(); ++k)
            for (int c = 0; c < cols; ++c) {
                const QTableWidgetItem *item = grid->CellItem(rows[k], c);
                keep(QStringLiteral("%1/%2/%3").arg(grid->objectName()).arg(k + 1).arg(c), item->data(kCellBefore),
                     item->data(kCellWritten), item->text());
            }
    };
    cells(fgAscend, order.ascend, 2);
    cells(fgDescend, order.descend, 2);
    if (!cbAutoDecoGas->isChecked())
        cells(fgGasChange, order.switches, 1);
    return texts;
}

// The record's last unit change, when the dialog shows what it stored: each text still
// showing what that change wrote remembers the text from before it, so a switch back
// gives that value back instead of converting a rounded one again (a deco RMV of 15
// l/min stored as 0.5 cu ft/min would come back as 14, a set-point of 1.3 bar through
// 1.29 ata as 1.31).
void frmProperties::rememberLastUnitSwitch()
{
    const UnitSwitch *last = RecordOf(ProfileIndex, "frmProperties").LastUnitSwitch.get();
    if (!last || last->MetricBefore == record().Metric)
        return;
    for (const UnitSwitchText &text : last->Texts) {
        const QStringList where = QString::fromStdString(text.Where).split(QLatin1Char('/'));
        const QString before = QString::fromStdString(text.Before);
        const QString written = QString::fromStdString(text.Written);
        if (where.size() == 1) {
            QLineEdit *box = findChild<QLineEdit *>(where[0]);
            if (box && box->text() == written)
                remember(box, before, written);
        } else if (where.size() == 3) {
            FlexGrid *grid = findChild<FlexGrid *>(where[0]);
            const int row = where[1].toInt(), col = where[2].toInt();
            if (grid && row >= 1 && row < grid->Rows() && col >= 0 && col < grid->Cols()
                && grid->TextMatrix(row, col) == written)
                remember(grid->CellItem(row, col), before, written);
        }
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
    convertBox(tbStepSize, LengthFactorInto(setMetric), 0);
    convertBox(tbLastStop, LengthFactorInto(setMetric), 0);
    convertBox(Text7, ppO2Factor(setMetric), 2);
}

// Each ascent value is rounded to a whole number before and after the conversion.
void frmProperties::changeAscentFrame(bool setMetric)
{
    const float factor = float(LengthFactorInto(setMetric));
    for (int r = 1; r < fgAscend->Rows(); ++r)
        for (int c = 0; c < 2; ++c)
            switchCell(fgAscend, r, c, [=](const QString &cell) { return ConvertAscentCell(cell, factor); });
}

void frmProperties::changeDescentFrame(bool setMetric)
{
    const float factor = float(LengthFactorInto(setMetric));
    for (int r = 1; r < fgDescend->Rows(); ++r)
        for (int c = 0; c < 2; ++c)
            switchCell(fgDescend, r, c, [=](const QString &cell) { return ConvertGridCell(cell, factor); });
}

// Breathing rates, ppO2 limits and END: converted from the value rounded to two places.
// Nothing is held within a bound here: OK refuses a value outside its bound by name, and
// a text that is no number stays for OK to refuse.
void frmProperties::ChangeGasSettingsFrame(bool setMetric)
{
    struct Field {
        QLineEdit *box;
        float factorToMetric, factorToImperial;
        int decimalsMetric, decimalsImperial;
    };
    const float rmvM = float(kLitresPerCuFt), rmvI = float(kCuFtPerLitre);
    const float ppM = float(kBarPerAtm), ppI = float(kAtmPerBar);
    const float dM = float(kMetresPerFoot), dI = float(kFeetPerMetre);
    const Field fields[] = {
        {tbRMV, rmvM, rmvI, 0, 1},
        {Text8, rmvM, rmvI, 0, 1},
        {tbMinPPO, ppM, ppI, 2, 2},
        {tbMaxPPO, ppM, ppI, 2, 2},
        {tbMaximalEND, dM, dI, 0, 0},
    };
    for (const Field &f : fields) {
        switchBox(f.box, [&](const QString &text) {
            if (!IsNumberText(text))
                return text;
            const float v = RoundTo(TextValue(text), 2) * (setMetric ? f.factorToMetric : f.factorToImperial);
            return PatternText(v, setMetric ? f.decimalsMetric : f.decimalsImperial);
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
    convertBox(Text2, LengthFactorInto(setMetric), 0, true);
    convertBox(Text5, LengthFactorInto(setMetric), 0, true);
    pressureBox(Text4, Text2, setMetric);
    pressureBox(Text3, Text5, setMetric);
}

float frmProperties::shownDecoPPO2() const
{
    return std::clamp(RoundTo(TextValue(Text7->text()), 2), 0.0f, DiveBounds::kMaxPPO2);
}

QString frmProperties::autoDepthText(int row, float ppO2, bool setMetric) const
{
    const float factor = setMetric ? 1.0f : float(kFeetPerMetre);
    const float o2 = GetPercentO2(fgGasChange->TextMatrix(row, 1));
    return PatternText(double(factor) * AutoSwitchDepth(ppO2, o2, record().EndPressure), 0);
}

// The switch depths where each gas reaches the deco ppO2 shown, in the units shown. A
// deco ppO2 outside its bound (16 typed for 1.6), which OK refuses, shows the depths of
// the bound, never oxygen at 150 m or an infinite depth.
void frmProperties::changeAutoDecoGasFrame(bool setMetric, bool)
{
    const float ppO2 = shownDecoPPO2();
    for (int r = 1; r < fgGasChange->Rows(); ++r)
        fgGasChange->SetTextMatrix(r, 0, autoDepthText(r, ppO2, setMetric));
}

void frmProperties::changeDecoGasFrame(bool setMetric, bool)
{
    const float factor = float(LengthFactorInto(setMetric));
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
