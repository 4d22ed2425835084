// How the dialog ends (OK, Cancel), and its other buttons: the default template, a new
// gas, the gas blender.

#include "settings/frmProperties.h"

#include "blending/frmPartialMix.h"
#include "engine/DiveBounds.h"
#include "engine/DiveModel.h"
#include "engine/AltitudeModule.h"
#include "engine/LibraryModule.h"
#include "engine/RuntimeError.h"
#include "engine/TemplateModule.h"
#include "engine/VBConversions.h"
#include "platform/ErrorModule.h"
#include "platform/FlexGrid.h"
#include "platform/LocaliseForm.h"
#include "platform/ModalWindow.h"
#include "platform/MsgBox.h"
#include "platform/ShellServices.h"
#include "settings/frmGasBlend.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

#include <algorithm>
#include <cmath>

namespace {

float number(const QLineEdit *box, int16_t decimals, bool thousands = false)
{
    return RoundTo(TextValue(box->text(), thousands), decimals);
}

float number(const FlexGrid *grid, int row, int col)
{
    return RoundTo(TextValue(grid->TextMatrix(row, col)), 0);
}

// The data rows of a grid (from 1) in the order its generic sort would give them by the
// texts `key` holds for them (one per data row): stable, numbers as numbers.
std::vector<int> rowsByKey(const QStringList &key)
{
    std::vector<int> rows(size_t(key.size()));
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i] = int(i) + 1;
    std::stable_sort(rows.begin(), rows.end(),
                     [&](int a, int b) { return FlexGrid::SortsBefore(key[a - 1], key[b - 1]); });
    return rows;
}

QStringList column(const FlexGrid *grid, int col)
{
    QStringList texts;
    for (int r = 1; r < grid->Rows(); ++r)
        texts << grid->TextMatrix(r, col);
    return texts;
}

// A rate grid's rows, ordered by band depth; `order` gets their grid rows.
std::vector<RateRecord> readRates(const FlexGrid *grid, std::vector<int> &order)
{
    order = rowsByKey(column(grid, 0));
    std::vector<RateRecord> rates;
    for (const int r : order) {
        RateRecord band;
        band.Depth = number(grid, r, 0);
        band.Rate = number(grid, r, 1);
        rates.push_back(band);
    }
    return rates;
}

// The gas list's rows. Element 0 is always Air, whatever its row shows. A row that
// shows a gas of `kept` (the record's list as the grid was filled: the rows keep its
// order; deleted ones are skipped) is stored as that gas, fractions and all: rounding
// each part on its own would make EAN32.5 33/68/0, 101 %, at any OK. Another row is
// rounded to whole percentages with the nitrogen the rest, so the three add up to 100.
std::vector<GasRecord> readGases(const FlexGrid *grid, const std::vector<GasRecord> &kept)
{
    std::vector<GasRecord> gases(1, AirGas());
    size_t next = 1;
    for (int r = 2; r < grid->Rows(); ++r) {
        const auto shown = [&](const GasRecord &g) {
            return QString::fromStdString(g.Name) == grid->TextMatrix(r, 0) && PlainText(g.O2) == grid->TextMatrix(r, 1)
                   && PlainText(g.He) == grid->TextMatrix(r, 2) && PlainText(g.N2) == grid->TextMatrix(r, 3);
        };
        size_t k = next;
        while (k < kept.size() && !shown(kept[k]))
            ++k;
        GasRecord gas;
        if (k < kept.size()) {
            gas = kept[k];
            gas.GasUsed = 0;
            next = k + 1;
        } else {
            gas.Name = grid->TextMatrix(r, 0).toStdString();
            gas.O2 = number(grid, r, 1);
            gas.He = number(grid, r, 2);
            gas.N2 = std::max(0.0f, 100 - gas.O2 - gas.He);
        }
        gases.push_back(gas);
    }
    return gases;
}

// The switch grid's rows at `depths` (one text per data row), in the order the readers
// store switches (SwitchOrder: shallow first); `order` gets their grid rows. They hold
// no mix yet: MatchSwitchesToGases gives them theirs.
std::vector<GasChangeRecord> readSwitches(const FlexGrid *grid, const QStringList &depths, std::vector<int> &order)
{
    std::vector<GasChangeRecord> shown;
    for (int r = 1; r < grid->Rows(); ++r) {
        GasChangeRecord change;
        change.Depth = RoundTo(TextValue(depths[r - 1]), 0);
        change.Name = grid->TextMatrix(r, 1).toStdString();
        shown.push_back(change);
    }
    order.clear();
    std::vector<GasChangeRecord> changes;
    for (const size_t i : SwitchOrder(shown)) {
        order.push_back(int(i) + 1);
        changes.push_back(shown[i]);
    }
    return changes;
}

} // namespace

void frmProperties::cbOK_Click()
{
    bool done = false;
    RunGuarded("frmProperties.cbOK_Click", [&] { done = confirm(); });
    if (!done)
        return;
    NothingChanged = false;
    accept();
    showActiveDiveCircuit();
}

// Stores the pages whole, then computes the dive again. Nothing is stored when an open
// editor's text is refused, when a grid still holds an empty cell, when the settings
// would not be read back from a file, or when reading the pages raises an error.
bool frmProperties::confirm()
{
    if (!commitOpenEditors() || refuseEmptyCells() || refuseNonNumbers())
        return false;
    StoredOrder order;
    const TemplateRec pages = readPages(order);
    if (refuseUnreadable(pages, order))
        return false;
    // New rates make the dive's travel longer: a dive the series reader would refuse is
    // never made here (its saved series would no longer open).
    const std::string tooLong = DiveMinutesProblemWith(ProfileIndex, pages);
    if (!tooLong.empty()) {
        MsgBox(QString::fromStdString(tooLong), vbExclamation | vbOKOnly, GetLangStringQ(1600));
        return false;
    }
    const int16_t dive = ProfileIndex;
    // Other units take the dive's legs with them, and the texts switched unedited are
    // remembered for a switch back.
    StoreSettings(dive, pages, unitSwitchTexts(order));
    // The dive keeps its own circuit mode (the dialog never writes it), whichever dive
    // window is active now.
    if (Shell().DiveOpen(dive)) {
        Shell().ReEvaluateDive(dive);
        // The dive's settings differ from its series file: closing asks to save, also
        // when the new computation was refused (which puts the flag back).
        RecordOf(dive, "frmProperties.confirm").ProfileChanged = true;
    }
    return true;
}

// The placeholder of a new row or an emptied cell is no value: a new switch at 1000000
// would apply at every depth. OK names the grid and puts the focus on the cell.
bool frmProperties::refuseEmptyCells()
{
    struct Grid {
        FlexGrid *grid;
        QGroupBox *frame;
        int page; // in the page list, from 0
        int cols;
    };
    const Grid grids[] = {{fgDescend, Frame7, 0, 2}, {fgAscend, Frame6, 0, 2}, {fgGasChange, Frame3, 1, 1}};
    for (const Grid &g : grids) {
        for (int r = 1; r < g.grid->Rows(); ++r) {
            for (int c = 0; c < g.cols; ++c) {
                if (g.grid->TextMatrix(r, c).trimmed() != kEmptyCell)
                    continue;
                MsgBox(GetLangStringQ(7102) + g.frame->title(), vbExclamation | vbOKOnly, GetLangStringQ(1600));
                ListView1->setCurrentRow(g.page);
                g.grid->setFocus();
                g.grid->SetRow(r);
                g.grid->SetCol(c);
                return true;
            }
        }
    }
    return false;
}

// A box holding no number the typed-number rule reads (a text, "1.2.3", a number beyond a
// Single) would store 0 or infinity: OK names the field, shows the form it expects and
// takes the diver there.
bool frmProperties::refuseNonNumbers()
{
    struct Box {
        QLineEdit *box;
        int page;
        QString name;
    };
    const QString altitude = GetLangStringQ(1645) + QStringLiteral(" (%1)");
    const Box boxes[] = {
        {tbStepSize, 1, Label7->text()},   {tbLastStop, 1, Label15->text()},
        {Text7, 1, Label20->text()},       {Text8, 1, Label21->text()},
        {Text2, 4, altitude.arg(Frame12->title())}, {Text1, 4, Label10->text()},
        {Text5, 4, altitude.arg(Frame11->title())}, {SetPoint, 5, Label1->text()},
        {Text6, 5, Label19->text()},       {tbMinPPO, 6, Label3->text()},
        {tbMaxPPO, 6, Label4->text()},     {tbMaximalEND, 6, Label8->text()},
        {tbRMV, 6, lbRMV->text()},
    };
    for (const Box &b : boxes) {
        const bool thousands = holdsThousands(b.box);
        // A disabled box (set-points on open circuit) is not the diver's to correct.
        if (!b.box->isEnabled() || IsNumberText(b.box->text(), thousands))
            continue;
        const QString example = PatternText(thousands ? 1500 : 1.5, thousands ? 0 : 1);
        MsgBox(GetLangStringQ(7103).arg(FieldName(b.name), b.box->text(), example), vbExclamation | vbOKOnly,
               GetLangStringQ(1600));
        ListView1->setCurrentRow(b.page);
        b.box->setFocus();
        b.box->selectAll();
        return true;
    }
    return false;
}

// Settings the template and series readers would refuse are never stored: the dive or
// template saved with them would be lost when it is opened again. Whole-number rounding
// is where they come from (a step of 0.4 m stores 0, a rate of 0.4 m/min stores 0), and
// an altitude so high that no air is left. OK names the bound and takes the diver to the
// setting that breaks it.
bool frmProperties::refuseUnreadable(const TemplateRec &pages, const StoredOrder &order)
{
    const DiveBounds::SettingsFault fault = UnreadableSettings(pages);
    if (fault.field == DiveBounds::SettingsField::None)
        return false;
    MsgBox(QString::fromStdString(fault.text), vbExclamation | vbOKOnly, GetLangStringQ(1600));
    const auto showBox = [this](int page, QLineEdit *box) {
        ListView1->setCurrentRow(page);
        box->setFocus();
        box->selectAll();
    };
    // The row as the grid shows it (rates and switches are stored by depth).
    const auto showRow = [this, &fault](int page, FlexGrid *grid, const std::vector<int> &rows, int col) {
        ListView1->setCurrentRow(page);
        grid->setFocus();
        if (fault.row >= 0 && size_t(fault.row) < rows.size()) {
            grid->SetRow(rows[size_t(fault.row)]);
            grid->SetCol(col);
        }
    };
    switch (fault.field) {
    case DiveBounds::SettingsField::StepSize: showBox(1, tbStepSize); break;
    case DiveBounds::SettingsField::LastStop: showBox(1, tbLastStop); break;
    case DiveBounds::SettingsField::AscendRates: showRow(0, fgAscend, order.ascend, 1); break;
    case DiveBounds::SettingsField::DescendRates: showRow(0, fgDescend, order.descend, 1); break;
    case DiveBounds::SettingsField::StartPressure: showBox(4, Text2); break;
    case DiveBounds::SettingsField::EndPressure: showBox(4, Text5); break;
    case DiveBounds::SettingsField::TimeToHeight: showBox(4, Text1); break;
    case DiveBounds::SettingsField::Setpoint: showBox(5, SetPoint); break;
    case DiveBounds::SettingsField::DecoSetpoint: showBox(5, Text6); break;
    case DiveBounds::SettingsField::RMV: showBox(6, tbRMV); break;
    case DiveBounds::SettingsField::DecoRMV: showBox(1, Text8); break;
    case DiveBounds::SettingsField::MinPPO2: showBox(6, tbMinPPO); break;
    case DiveBounds::SettingsField::MaxPPO2: showBox(6, tbMaxPPO); break;
    case DiveBounds::SettingsField::DecoPPO2: showBox(1, Text7); break;
    case DiveBounds::SettingsField::MaximalEND: showBox(6, tbMaximalEND); break;
    case DiveBounds::SettingsField::Gases:
        ListView1->setCurrentRow(3);
        FgGas->setFocus();
        if (fault.row >= 1 && fault.row + 1 < FgGas->Rows())
            FgGas->SetRow(fault.row + 1); // the list's first row is Air, gas 0
        break;
    case DiveBounds::SettingsField::GasChanges: showRow(1, fgGasChange, order.switches, 0); break;
    case DiveBounds::SettingsField::GradientFactors: // not on these pages
    case DiveBounds::SettingsField::TemplateName:
    case DiveBounds::SettingsField::None: break;
    }
    return true;
}

// Every page read into a copy of the record, rounded as it is stored; the dialog itself
// is left as it is. A number outside its bound is read as it stands, for the bounds to
// refuse with their text: a ppO2 of 14 typed for 1.4 is never held at 3.0 in silence.
// The fields the dialog does not show (circuit mode, gradient factors, folder and name)
// are the record's as they are now.
TemplateRec frmProperties::readPages(StoredOrder &order) const
{
    TemplateRec t = record();
    t.StepSize = number(tbStepSize, 0);
    t.LastStop = number(tbLastStop, 0);
    t.Metric = Option1[1]->isChecked();
    t.DescendRates = readRates(fgDescend, order.descend);
    t.AscendRates = readRates(fgAscend, order.ascend);

    t.Gases = readGases(FgGas, record().Gases);

    // Automatic switch depths are worked out from the deco ppO2 as the grid shows them, so
    // the switches stored are the ones shown.
    t.DecoPPO2 = number(Text7, 2);
    QStringList depths = column(fgGasChange, 0);
    if (cbAutoDecoGas->isChecked()) {
        const float shown = shownDecoPPO2();
        for (int r = 1; r < fgGasChange->Rows(); ++r)
            depths[r - 1] = autoDepthText(r, shown, Units == kUnitsMetric);
    }

    t.GasChanges = readSwitches(fgGasChange, depths, order.switches);
    MatchSwitchesToGases(t);

    t.Setpoint = number(SetPoint, 3);
    t.DecoSetpoint = number(Text6, 3);
    t.RMV = number(tbRMV, 2);
    t.DecoRMV = number(Text8, 2);
    t.Changed = true;
    t.MinPPO2 = number(tbMinPPO, 2);
    t.MaxPPO2 = number(tbMaxPPO, 2);
    t.MaximalEND = number(tbMaximalEND, 2);

    t.CeilingOverride = false;
    t.O2Narcotic = cbONarcotic->isChecked();
    t.PPO2Low = cbWarnPPOLow->isChecked();
    t.OCDeco = Check2->isChecked();
    t.PPO2High = cbWarnPPOHigh->isChecked();
    t.MaxEnd = cbWarnMaxEND->isChecked();
    t.AutoDecoGas = cbAutoDecoGas->isChecked();
    t.AdeptedToHeight = Check1->isChecked();

    // The stored surface pressures follow the stored whole-number altitudes, whatever
    // the pressure boxes hold (a dive-site pressure of 0 or less included).
    t.StartAltitude = number(Text2, 0, true);
    t.EndAltitude = number(Text5, 0, true);
    float adapt = number(Text1, 0, true);
    if (!(adapt > 0))
        adapt = 1;
    // A time beyond a week is refused by the bounds with their text (never an overflow
    // of the 16-bit minutes).
    t.TimeToHeight = CInt(std::min(adapt, DiveBounds::kMaxMinutesToAltitude + 1));
    t.StartPressure = AltitudeToPressure(t.StartAltitude, t.Metric);
    t.EndPressure = AltitudeToPressure(t.EndAltitude, t.Metric);
    return t;
}

void frmProperties::cbCancel_Click()
{
    reject();
}

void frmProperties::reject()
{
    NothingChanged = true;
    DecoGasBackup.assign(1, DepthPair{});
    QDialog::reject();
    showActiveDiveCircuit();
}

// The main window's circuit command shows the active dive's own mode again (loading
// the dialog, or the default template, showed the edited record's). The dialog is
// modeless: the shell knows which dive is active by now.
void frmProperties::showActiveDiveCircuit()
{
    Shell().ShowActiveDiveCircuit();
}

// From now on the dialog shows and edits the default template. The reload starts as a
// first load does: the automatic box clear and no kept depths, so the template's own
// switch depths are shown and kept, never the previous record's.
void frmProperties::cbDefault_Click()
{
    // An editor still open belongs to the record that goes.
    for (QWidget *editor : std::initializer_list<QWidget *>{tbDescend, tbAscend, tbGasChange, cbGasChange})
        editor->hide();
    {
        const QSignalBlocker quiet(cbAutoDecoGas);
        cbAutoDecoGas->setChecked(false);
    }
    DecoGasBackup.assign(1, DepthPair{});
    LoadSettings(0); // the default template is element 0 of gSettings
}

// The new gas goes into the record at once; the gas list is shown again from the record.
void frmProperties::cbCustomBlend_Click()
{
    frmGasBlend dialog(this);
    dialog.SetTemplate(ProfileIndex);
    ShowModal(&dialog);
    InitGasAvailableFrame();
}

// The blender works in the unit of the dive edited here, beside the main window.
void frmProperties::Command1_Click()
{
    ShowPartialMix(ProfileIndex, parentWidget())->setmix(SelectedO2, SelectedHe);
}
