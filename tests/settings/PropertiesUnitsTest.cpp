// Switching the settings dialog between metric and imperial units converts every shown
// value in place, with each field's rounding, and back again by rounding only.

#include "tests/settings/PropertiesFixture.h"

#include <QLabel>

#include <cmath>

namespace {

struct Shown {
    QString step, lastStop, decoPPO2, rmv, decoRMV, minPPO2, maxPPO2, end, setpoint, altitude, pressure;
    bool operator==(const Shown &) const = default;
};

std::ostream &operator<<(std::ostream &os, const Shown &s)
{
    return os << QStringList({s.step, s.lastStop, s.decoPPO2, s.rmv, s.decoRMV, s.minPPO2, s.maxPPO2, s.end,
                              s.setpoint, s.altitude, s.pressure})
                     .join(" | ")
                     .toStdString();
}

Shown shown(const frmProperties &d)
{
    return {d.tbStepSize->text(), d.tbLastStop->text(), d.Text7->text(),     d.tbRMV->text(),
            d.Text8->text(),      d.tbMinPPO->text(),   d.tbMaxPPO->text(),  d.tbMaximalEND->text(),
            d.SetPoint->text(),   d.Text2->text(),      d.Text4->text()};
}

} // namespace

TEST_F(PropertiesTest, MetricToImperialAndBackChangesValuesByRoundingOnly)
{
    TemplateRec &t = dive();
    t.StepSize = 3;
    t.LastStop = 6;
    t.DecoPPO2 = 1.6f;
    t.RMV = 20;
    t.DecoRMV = 0;
    t.MinPPO2 = 0.16f;
    t.MaxPPO2 = 1.6f;
    t.MaximalEND = 30;
    t.Setpoint = 1.3f;
    t.StartAltitude = 1000;
    open();
    const Shown atLoad{"3", "6", "1.60", "20", "0", "0.16", "1.60", "30", "1.3", "1000", "0.902"};
    EXPECT_EQ(shown(*dialog), atLoad);
    clickUnit(true);
    EXPECT_EQ(shown(*dialog), atLoad) << "clicking the shown unit changes nothing";

    clickUnit(false);
    EXPECT_EQ(dialog->Units, kUnitsImperial);
    // RMV 20 l/min = 0.706 cu ft/min; 1.6 bar = 1.58 ata; 1000 m = 3281 ft at 0.890 atm.
    EXPECT_EQ(shown(*dialog), (Shown{"10", "20", "1.58", "0.7", "0.0", "0.16", "1.58", "98", "1.29", "3281", "0.890"}));
    EXPECT_EQ(dialog->Label11->text(), "ft");
    EXPECT_EQ(dialog->Label5->text(), "ata");
    clickUnit(false);
    EXPECT_EQ(dialog->tbStepSize->text(), "10") << "clicking the shown unit changes nothing";

    clickUnit(true);
    EXPECT_EQ(dialog->Units, kUnitsMetric);
    EXPECT_EQ(shown(*dialog), atLoad) << "there and back without an edit gives back every value";
    EXPECT_TRUE(dive().Metric) << "nothing reaches the record before OK";
    clickUnit(false); // a value edited meanwhile is converted: 0.5 cu ft = 14.2 l
    dialog->Text8->setText("0.5");
    clickUnit(true);
    EXPECT_EQ(dialog->Text8->text(), "14");
}

TEST_F(PropertiesTest, ImperialLimitsAreConvertedAsTheyStand)
{
    TemplateRec &t = dive();
    t.Metric = false;
    t.MaxPPO2 = 3.0f;
    t.MinPPO2 = 2.99f;
    t.RMV = 0.7f;
    t.MaximalEND = 0;
    open();
    clickUnit(true);
    // 3.00 ata = 3.04 bar, beyond the bound: OK names it, it is not held at 3.00 in silence.
    EXPECT_EQ(dialog->tbMaxPPO->text(), "3.04");
    EXPECT_EQ(dialog->tbMinPPO->text(), "3.03");
    EXPECT_EQ(dialog->tbRMV->text(), "20");
    EXPECT_EQ(dialog->tbMaximalEND->text(), "0");
}

// The ascent rates are made whole numbers before and after the conversion, the descent
// rates after only; cells that are no number, and the new-row placeholder, stay.
TEST_F(PropertiesTest, RateGridsConvertTheRowsTheyShow)
{
    dive().AscendRates = {RateRecord{0, 0, 15, 0}, RateRecord{0, 0, 10, 10}};
    dive().DescendRates = {RateRecord{0, 0, 18, 0}};
    open();
    FlexGrid *ascent = dialog->fgAscend;
    FlexGrid *descent = dialog->fgDescend;
    // Rows the diver added or typed into since the load.
    ascent->SetRows(4);
    ascent->SetTextMatrix(3, 0, kEmptyCell);
    ascent->SetTextMatrix(3, 1, QStringLiteral("1.2.3"));
    descent->SetRows(3);
    descent->SetTextMatrix(2, 0, QStringLiteral("14.6"));
    descent->SetTextMatrix(2, 1, kEmptyCell);

    clickUnit(false);
    EXPECT_EQ(column(ascent, 0), QStringList({"0", "33", kEmptyCell}));
    EXPECT_EQ(column(ascent, 1), QStringList({"49", "33", "1.2.3"})) << "15 x 3.2808 = 49.2";
    EXPECT_EQ(column(descent, 0), QStringList({"0", "48"})) << "14.6 x 3.2808 = 47.9";
    EXPECT_EQ(column(descent, 1), QStringList({"59", kEmptyCell}));

    clickUnit(true);
    EXPECT_EQ(column(ascent, 1), QStringList({"15", "10", "1.2.3"})) << "49 x 0.3048 = 14.9; 33 -> 10.06";
    EXPECT_EQ(column(descent, 0), QStringList({"0", "14.6"})) << "kept as typed";
    EXPECT_EQ(column(descent, 1), QStringList({"18", kEmptyCell}));

    // An ascent rate of 10 ft/min is 3 m/min (3.048).
    dive().Metric = false;
    dive().AscendRates = {RateRecord{0, 0, 10, 0}};
    open();
    clickUnit(true);
    EXPECT_EQ(column(dialog->fgAscend, 1), QStringList({"3"}));
}

TEST_F(PropertiesTest, SwitchDepthsConvertOrAreComputedAgain)
{
    TemplateRec &t = dive();
    t.GasChanges = {GasChangeRecord{"EAN50", 50, 50, 0, 21}, GasChangeRecord{"Oxygen", 100, 0, 0, 6}};
    t.AutoDecoGas = false;
    open();
    clickUnit(false);
    EXPECT_EQ(column(dialog->fgGasChange, 0), QStringList({"20", "69"}));
    clickUnit(true);
    EXPECT_EQ(column(dialog->fgGasChange, 0), QStringList({"6", "21"}));

    // Automatic: from the converted deco ppO2 (1.58 ata), in feet.
    // ((1.58 / 50) x 100 - 1.013) x 10 x 3.2808 = 70.4 ft.
    t.AutoDecoGas = true;
    open();
    EXPECT_EQ(column(dialog->fgGasChange, 0), QStringList({"6", "22"}));
    clickUnit(false);
    EXPECT_EQ(column(dialog->fgGasChange, 0), QStringList({"19", "70"}));
    // Clearing the box brings back the diver's depths in the shown unit.
    dialog->cbAutoDecoGas->click();
    EXPECT_EQ(column(dialog->fgGasChange, 0), QStringList({"20", "69"}));
}
