// Filling the pages from the dive's record.

#include "settings/frmProperties.h"

#include "engine/AltitudeModule.h"
#include "engine/DiveModel.h"
#include "engine/GasAdvisor.h"
#include "engine/LibraryModule.h"
#include "engine/RuntimeError.h"
#include "platform/FlexGrid.h"
#include "platform/LocaliseForm.h"
#include "platform/ShellServices.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

QString text(const std::string &s)
{
    return QString::fromStdString(s);
}

} // namespace

void frmProperties::LoadSettings(int index)
{
    ProfileIndex = static_cast<int16_t>(index);
    InitFrames();
}

void frmProperties::InitFrames()
{
    forgetUnitSwitches();
    InitCaptions();
    InitConstPPOFrame();
    InitAltitudeFrame();
    InitGasAvailableFrame();
    InitGasSettingsFrame();
    InitDecoStepsFrame();
    InitUnitsFrame();
    InitDescentFrame();
    InitAscentFrame();
    InitDecoGasFrame();
    InitWarningsFrame();
    rememberLastUnitSwitch();
}

void frmProperties::InitCaptions()
{
    LocaliseForm(this);
    setWindowTitle(GetLangStringQ(1600) + GetLangStringQ(1653) + text(RecordOf(ProfileIndex, "frmProperties.Form_Load").TemplateName));
    cbOK->setText(GetLangStringQ(1610));
    cbCancel->setText(GetLangStringQ(1609));
    cbDefault->setText(GetLangStringQ(1608));
    cbCustomBlend->setText(GetLangStringQ(1611));
}

// Rebreather page. The main window's circuit command shows the dive's circuit; nothing
// is applied to the dive by that.
void frmProperties::InitConstPPOFrame()
{
    const TemplateRec &t = record();
    Frame8->setTitle(GetLangStringQ(1650));
    Label1->setText(GetLangStringQ(1651));
    Label19->setText(GetLangStringQ(3074));
    Check2->setText(GetLangStringQ(3075));
    ChangeUnitLabels(t.Metric);
    for (QWidget *w : std::initializer_list<QWidget *>{SetPoint, Text6, Check2})
        w->setEnabled(!t.OpenCircuit);
    SetPoint->setText(PlainText(t.Setpoint));
    Text6->setText(PlainText(t.DecoSetpoint));
    Check2->setChecked(t.OCDeco);
    Shell().ShowCircuit(t.OpenCircuit);
}

// Altitude page. The shown pressures follow the shown altitudes; the dive site's
// altitude shown is derived again from the stored surface pressure, which the engine
// uses. The record itself takes it at OK only.
void frmProperties::InitAltitudeFrame()
{
    const TemplateRec &t = record();
    Frame1->setTitle(GetLangStringQ(1645));
    Frame12->setTitle(GetLangStringQ(1646));
    Check1->setText(GetLangStringQ(1647));
    Label10->setText(GetLangStringQ(5004));
    Label12->setText(GetLangStringQ(3042));
    Frame11->setTitle(GetLangStringQ(1648));
    Label14->setText(GetLangStringQ(3043));
    ChangeUnitLabels(t.Metric);
    Check1->setChecked(t.AdeptedToHeight);
    for (QWidget *w : std::initializer_list<QWidget *>{Label10, Text1, Label12})
        w->setVisible(!t.AdeptedToHeight);
    Text2->setText(PatternText(t.StartAltitude, 0));
    Text5->setText(PatternText(t.EndAltitude, 0));
    Text4->setText(PatternText(AltitudeToPressure(RoundTo(TextValue(Text2->text(), true), 0), t.Metric), 3));
    Text3->setText(PatternText(AltitudeToPressure(RoundTo(TextValue(Text5->text(), true), 0), t.Metric), 3));
    Text1->setText(PatternText(t.TimeToHeight, 0));

    Text3->setText(PatternText(t.EndPressure, 3));
    // A surface pressure of 0 or less (or so small its altitude has no 16-bit value) has
    // no altitude: the stored one is shown.
    float endAltitude = t.EndAltitude;
    try {
        if (t.EndPressure > 0)
            endAltitude = PressureToAltitude(t.EndPressure, t.Metric);
    } catch (const RuntimeError &) {
    }
    Text5->setText(PatternText(endAltitude, 0));
}

void frmProperties::InitGasAvailableFrame()
{
    const TemplateRec &t = record();
    Frame4->setTitle(GetLangStringQ(1607));
    Command1->setText(GetLangStringQ(6318));
    Command1->hide();
    FgGas->SetCols(4);
    FgGas->SetRows(1);
    FgGas->SetTextMatrix(0, 0, GetLangStringQ(1618));
    FgGas->SetTextMatrix(0, 1, QStringLiteral("% O2"));
    FgGas->SetTextMatrix(0, 2, QStringLiteral("% He"));
    FgGas->SetTextMatrix(0, 3, QStringLiteral("% N2"));
    FgGas->SetRows(int(t.Gases.size()) + 1);
    for (size_t i = 0; i < t.Gases.size(); ++i) {
        const GasRecord &g = t.Gases[i];
        const int row = int(i) + 1;
        FgGas->SetTextMatrix(row, 0, text(g.Name));
        FgGas->SetTextMatrix(row, 1, PlainText(g.O2));
        FgGas->SetTextMatrix(row, 2, PlainText(g.He));
        FgGas->SetTextMatrix(row, 3, PlainText(g.N2));
    }
    // The name takes two fifths of the width, each percentage one fifth.
    const int width = FgGas->ClientWidth();
    FgGas->SetColWidth(0, width * 2 / 5 - 5);
    for (int c = 1; c <= 3; ++c)
        FgGas->SetColWidth(c, width / 5 - 5);
}

void frmProperties::InitGasSettingsFrame()
{
    const TemplateRec &t = record();
    Frame14->setTitle(GetLangStringQ(3076));
    Frame17->setTitle(GetLangStringQ(3077));
    Frame19->setTitle(GetLangStringQ(3078));
    Frame18->setTitle(GetLangStringQ(3079));
    Label3->setText(GetLangStringQ(1639));
    Label4->setText(GetLangStringQ(1640));
    Label8->setText(GetLangStringQ(1641));
    lbRMV->setText(GetLangStringQ(1638));
    cbONarcotic->setText(GetLangStringQ(1642));
    ChangeUnitLabels(t.Metric);
    cbONarcotic->setChecked(t.O2Narcotic);
    tbMinPPO->setText(PatternText(t.MinPPO2, 2));
    tbMaxPPO->setText(PatternText(t.MaxPPO2, 2));
    tbMaximalEND->setText(PatternText(t.MaximalEND, 0));
    tbRMV->setText(PlainText(t.RMV));
    Text8->setText(PlainText(t.DecoRMV));
}

void frmProperties::InitDecoStepsFrame()
{
    const TemplateRec &t = record();
    Frame15->setTitle(GetLangStringQ(3070));
    Frame5->setTitle(GetLangStringQ(1605));
    Frame16->setTitle(GetLangStringQ(3071));
    Label7->setText(GetLangStringQ(1643));
    Label15->setText(GetLangStringQ(1644));
    Label20->setText(GetLangStringQ(3072));
    Label21->setText(GetLangStringQ(3073));
    tbLastStop->setText(PatternText(t.LastStop, 0));
    tbStepSize->setText(PatternText(t.StepSize, 0));
    Text7->setText(PatternText(t.DecoPPO2, 2));
}

void frmProperties::InitUnitsFrame()
{
    Frame2->setTitle(GetLangStringQ(1602));
    Option1[1]->setText(GetLangStringQ(1631));
    Option1[0]->setText(GetLangStringQ(1632));
    ChangeUnitLabels(record().Metric);
}

// A rate grid: depth and rate of every band, whole numbers. The rate column is a little
// narrower, leaving room for the scroll bar.
void frmProperties::initRateGrid(FlexGrid *grid, const std::vector<RateRecord> &rates, int16_t depthHeader,
                                 int lessTwips)
{
    const int half = grid->ClientWidth() / 2;
    grid->SetCols(2);
    grid->SetColWidth(0, half);
    grid->SetColWidth(1, half - lessTwips);
    grid->SetRows(1);
    grid->SetTextMatrix(0, 0, GetLangStringQ(depthHeader));
    grid->SetTextMatrix(0, 1, GetLangStringQ(1624));
    grid->SetRows(int(rates.size()) + 1);
    for (size_t i = 0; i < rates.size(); ++i) {
        grid->SetTextMatrix(int(i) + 1, 0, PatternText(rates[i].Depth, 0));
        grid->SetTextMatrix(int(i) + 1, 1, PatternText(rates[i].Rate, 0));
    }
}

void frmProperties::InitDescentFrame()
{
    Frame13->setTitle(GetLangStringQ(3069));
    Frame7->setTitle(GetLangStringQ(1603));
    initRateGrid(fgDescend, record().DescendRates, 1621, 200);
}

void frmProperties::InitAscentFrame()
{
    Frame6->setTitle(GetLangStringQ(1604));
    initRateGrid(fgAscend, record().AscendRates, 1623, 100);
}

// The switch grid is filled while the automatic box still shows its old state; ticking
// it afterwards (when the record asks for automatic depths) fills in those depths.
void frmProperties::InitDecoGasFrame()
{
    cbAutoDecoGas->setText(GetLangStringQ(1652));
    Frame3->setTitle(GetLangStringQ(1606));
    InitGasChangeGrid(1.0f);
    cbAutoDecoGas->setChecked(record().AutoDecoGas);
}

// One row per switch: its depth as stored, or, when the automatic box is ticked or no
// depth is stored, the depth where the gas reaches the maximum ppO2 of the gas limits.
void frmProperties::InitGasChangeGrid(float Factor)
{
    const TemplateRec &t = record();
    const int half = fgGasChange->ClientWidth() / 2;
    fgGasChange->SetCols(2);
    fgGasChange->SetColWidth(0, half);
    fgGasChange->SetColWidth(1, half);
    fgGasChange->SetRows(1);
    fgGasChange->SetTextMatrix(0, 0, GetLangStringQ(1621));
    fgGasChange->SetTextMatrix(0, 1, GetLangStringQ(1622));
    fgGasChange->SetRows(int(t.GasChanges.size()) + 1);
    const float maxPPO2 = TextValue(tbMaxPPO->text());
    for (size_t i = 0; i < t.GasChanges.size(); ++i) {
        const GasChangeRecord &change = t.GasChanges[i];
        const int row = int(i) + 1;
        fgGasChange->SetTextMatrix(row, 1, text(change.Name));
        double depth;
        if (!cbAutoDecoGas->isChecked() && change.Depth != 0) {
            depth = double(change.Depth) * Factor;
        } else {
            depth = double(AutoSwitchDepth(maxPPO2, change.O2, t.EndPressure)) * Factor;
            if (!t.Metric)
                depth *= kFeetPerMetre;
        }
        fgGasChange->SetTextMatrix(row, 0, PatternText(depth, 0));
    }
    fgGasChange->Sort();
}

void frmProperties::InitWarningsFrame()
{
    const TemplateRec &t = record();
    Frame9->setTitle(GetLangStringQ(1633));
    cbWarnPPOLow->setText(GetLangStringQ(1634));
    cbWarnPPOHigh->setText(GetLangStringQ(1635));
    cbWarnMaxEND->setText(GetLangStringQ(1636));
    cbONarcotic->setText(GetLangStringQ(1642));
    cbWarnPPOLow->setChecked(t.PPO2Low);
    cbWarnPPOHigh->setChecked(t.PPO2High);
    cbWarnMaxEND->setChecked(t.MaxEnd);
}

// The diver already adapted to the start altitude needs no time to reach it. The record
// takes the box's state at OK, like every other setting.
void frmProperties::Check1_Click()
{
    const bool adapted = Check1->isChecked();
    for (QWidget *w : std::initializer_list<QWidget *>{Label10, Text1, Label12})
        w->setVisible(!adapted);
}

// Automatic switch depths: ticking keeps the diver's own depths and shows the computed
// ones; clearing puts the kept depths back in the shown units.
void frmProperties::cbAutoDecoGas_Click()
{
    if (cbAutoDecoGas->isChecked()) {
        // A switch depth still being typed is dropped: the depths are computed now, and
        // nothing may write the diver's text over them.
        tbGasChange->hide();
        saveDecoGasSettings();
        changeAutoDecoGasFrame(Units == kUnitsMetric, false);
    } else {
        loadDecoGasSettings();
    }
}

void frmProperties::saveDecoGasSettings()
{
    DecoGasBackup.assign(1, DepthPair{});
    for (int r = 1; r < fgGasChange->Rows(); ++r) {
        const size_t k = size_t(r - 1);
        if (DecoGasBackup.size() <= k)
            DecoGasBackup.resize(k + 1);
        DepthPair &pair = DecoGasBackup[k];
        const QString cell = fgGasChange->TextMatrix(r, 0);
        // An empty cell stays empty in both units (its placeholder is no depth).
        if (cell.trimmed() == kEmptyCell || !IsNumberText(cell)) {
            pair = DepthPair{kEmptyDepth, kEmptyDepth};
            continue;
        }
        const float shown = TextValue(PatternText(TextValue(cell), 0));
        if (Units == kUnitsMetric) {
            pair.Metres = shown;
            pair.Feet = TextValue(PatternText(double(TextValue(cell)) * kFeetPerMetre, 0));
        } else {
            pair.Feet = shown;
            pair.Metres = TextValue(PatternText(double(TextValue(cell)) * kMetresPerFoot, 0));
        }
    }
}

// Only the rows a depth was kept for are put back; a row beyond them (a grid filled from
// another record since) keeps what it shows.
void frmProperties::loadDecoGasSettings()
{
    for (int r = 1; r < fgGasChange->Rows() && size_t(r - 1) < DecoGasBackup.size(); ++r) {
        const DepthPair &pair = DecoGasBackup[size_t(r - 1)];
        const float depth = Units == kUnitsMetric ? pair.Metres : pair.Feet;
        fgGasChange->SetTextMatrix(r, 0, depth == kEmptyDepth ? kEmptyCell : PlainText(depth));
    }
}
