#pragma once
// The gas blender: the diver enters what is in a cylinder now and what it is to hold,
// and after every keystroke sees how much O2, He and air to add, by the ideal-gas air
// top-up and by a van der Waals real-gas fill. Modeless; several may be open at once,
// each working alone. The inputs are kept in the registry subkey "Mix" between uses.
//
// The window is given its dive when it opens (the active one from the main window, the
// dive edited from the settings dialog) and takes its unit (bar or psi) and its gas list
// then. Later changes of the active dive do not change how it reads the fills or what
// it prints.

#include "blending/BlendComputations.h"
#include "blending/PartialMix.h"
#include "engine/SettingsRecord.h"

#include <QDialog>

#include <cstdint>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class frmPartialMix : public QDialog {
    Q_OBJECT
public:
    // The window's load, with the unit and gases of gSettings element `diveNumber` (the
    // default template, 0, when that is no element).
    explicit frmPartialMix(int16_t diveNumber, QWidget *parent = nullptr);

    // Presets the desired mix (the properties dialog, right after showing the window):
    // O2 and He in percent, N2 follows. Both are set before the mix is checked, so a
    // preset never raises the "over 100 %" message on its way.
    void setmix(double O2, double He);

    // The gSettings element whose unit and gas list the window took when it opened.
    int16_t ProfileIndex() const { return profileIndex_; }
    // 1 when pressures are shown in bar, 14.7 when in psi.
    float UnitFactor() const { return unitFactor_; }
    // The blend as last computed, in this window's units: what Print hands the sheet.
    const MixPrintData &PrintData() const { return mixPrint_; }
    bool PartialReachable() const { return partialReachable_; }
    bool AirTopReachable() const { return airTopReachable_; }

    QGroupBox *Frame1 = nullptr; // cylinder now
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr;
    QLineEdit *CurFill = nullptr, *CurO2 = nullptr, *CurHe = nullptr, *CurN2 = nullptr;
    QCheckBox *Check1 = nullptr; // start from an empty air cylinder
    QGroupBox *Frame4 = nullptr; // cylinder wanted
    QLabel *Label29 = nullptr;
    QComboBox *Combo1 = nullptr; // the dive's gases 1 to last
    QLabel *Label14 = nullptr, *Label13 = nullptr, *Label12 = nullptr, *Label11 = nullptr;
    QLineEdit *DesFill = nullptr, *DesO2 = nullptr, *DesHe = nullptr, *DesN2 = nullptr;
    QGroupBox *Frame3 = nullptr; // ideal gas, topped up with air
    QLabel *AirTopO2 = nullptr, *AirTopHe = nullptr, *AirTopAir = nullptr;
    QGroupBox *Frame2 = nullptr; // real gas (van der Waals)
    QLabel *IdealTopO2 = nullptr, *IdealTopHe = nullptr, *IdealTopN2 = nullptr;
    // Pressure units: beside the current fill, the desired fill and the six results.
    QLabel *Label22 = nullptr, *Label26 = nullptr;
    QLabel *Label15 = nullptr, *Label16 = nullptr, *Label17 = nullptr, *Label18 = nullptr,
           *Label19 = nullptr, *Label20 = nullptr;
    QPushButton *Command2 = nullptr; // OK
    QPushButton *Command1 = nullptr; // Print

public slots:
    void Check1_Click();
    void Combo1_Click();
    void CurFill_Change();
    void CurO2_Change();
    void CurHe_Change();
    void DesFill_Change();
    void DesO2_Change();
    void DesHe_Change();
    void Command1_Click(); // Print
    void Command2_Click(); // OK

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void layOutControls();
    void connectHandlers();
    void Form_Load();

    void CheckCurrentMix(const QString &O2Text, const QString &HeText);
    void CheckDesiredMix(const QString &O2Text, const QString &HeText);
    void applyDesiredMix(const QString &O2Text, const QString &N2Text, const QString &HeText);
    bool InputsComputable() const;
    void CalculateMix();
    void showRealGas(const std::optional<RealGasFill> &fill);
    void fillPrintData(const AirTopFill &air);
    void SaveMix();
    // A fill box holding no number a cylinder can hold (refused): the answer stays blank
    // and cannot be printed until it holds one. Told: the diver was told of the text it
    // holds.
    struct FillReading {
        bool refused = false;
        bool told = false;
        QString text; // the text read
    };
    std::optional<float> readFill(QLineEdit *box, const QGroupBox *frame, const QLabel *caption,
                                  FillReading &reading);

    int16_t profileIndex_ = 0;
    float unitFactor_ = 1;
    std::vector<GasRecord> gases_; // the dive's gas list as it was at opening
    BlendInputs in_;
    bool partialReachable_ = false;
    bool airTopReachable_ = false;
    MixPrintData mixPrint_;
    // True while the window sets a cylinder's O2 and He together (a preset, a chosen gas,
    // the kept cylinder): the mix is checked once afterwards.
    bool settingMix_ = false;
    // What the last reading of each fill box left (FillReading).
    FillReading curFill_;
    FillReading desFill_;
};

// Creates a new blending window for dive `diveNumber` and shows it modeless beside
// `owner` (the main window).
frmPartialMix *ShowPartialMix(int16_t diveNumber, QWidget *owner);
