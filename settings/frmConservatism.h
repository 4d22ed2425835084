#pragma once
// The conservatism of one dive: whether gradient factors are applied, GF low (applied at
// the first stop) and GF high (applied at the surface), and whether the drawn depths are
// adjusted for the engine. Modal, owned by the main window, a new one for every use:
//
//     frmConservatism dialog(diveNumber, mainWindow);
//     ShowModal(&dialog);                   // platform/ModalWindow.h
//
// It works on the settings of the dive it is given (the active one), or on the default
// template (0) when no dive is open. OK accepts factors above 0 and up to 1.0 (1.2 with "/VeryHighGF", after asking
// when the high factor is above 1.0 and the low one 0.4 or less), low below high; it
// stores them, marks the dive's series changed (closing then asks to save) and has the
// dive computed again. The boxes are read by the typed-number rule: a box holding no
// number is refused by name. A refused OK keeps the dialog open and the dive as it was.

#include "engine/SettingsRecord.h"

#include <QDialog>

#include <cstdint>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class frmConservatism : public QDialog {
    Q_OBJECT
public:
    // The window's load, on gSettings element `diveNumber`.
    explicit frmConservatism(int16_t diveNumber, QWidget *parent = nullptr);

    // The gSettings element edited: the dive given, 0 (the default template) when none.
    int16_t DiveNumber() const { return mDiveNumber; }

    // The largest factor accepted: 1.0, or 1.2 when the command line asked for more.
    static float MaxGradientFactor();

    QCheckBox *Check1 = nullptr; // apply gradient factors
    QLabel *Label1 = nullptr;
    QLineEdit *Text1 = nullptr; // GF low
    QLabel *Label2 = nullptr;
    QLineEdit *Text2 = nullptr; // GF high
    QGroupBox *Frame1 = nullptr;
    QCheckBox *Check2 = nullptr; // adjust depths
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QPushButton *cbOK = nullptr;
    QPushButton *cbCancel = nullptr;

public slots:
    void Check1_Click();
    void cbOK_Click();
    void cbCancel_Click();

private:
    void createControls();
    void layOut();
    void Form_Load();
    void fillGradient();
    bool storeFactors();
    TemplateRec &Template() const;

    int16_t mDiveNumber = 0;
};
