#pragma once
// A named gas of the diver's own, added to one dive's gas list. The diver types a name
// and the O2 and He percentages; N2 is always the rest to 100. Modal, a new one for
// every use. The caller names the gSettings element whose gas list receives the gas:
//
//     frmGasBlend dialog(owner);
//     dialog.SetTemplate(profileNr);        // the gas list of dive profileNr
//     ShowModal(&dialog);                   // platform/ModalWindow.h
//     dialog.AddedGas()                     // index of the new gas, -1 when none
//
// OK appends the gas to that list at once (it stays there whatever the caller does
// next) and marks the settings changed, and the dive's series too when the dive is open.
// A name already in the list (compared exactly, so "Air" is there and "air" is not)
// adds nothing and closes. An empty name, or one that template and series files could
// not give back (IsStorableGasName), is refused with a message and the dialog stays.

#include <QDialog>

#include <cstdint>

class QLabel;
class QLineEdit;
class QPushButton;
class UpDown;

class frmGasBlend : public QDialog {
    Q_OBJECT
public:
    explicit frmGasBlend(QWidget *parent = nullptr); // the window's load

    // The gSettings element whose gas list receives the gas.
    void SetTemplate(int16_t index);

    // Index in that gas list of the gas OK added; -1 while none was added.
    int AddedGas() const { return mAddedGas; }

    // The percentages as the dialog holds them; O2 + N2 + He is always 100.
    int16_t O2Percent() const { return mO2Percent; }
    int16_t N2Percent() const { return mN2Percent; }
    int16_t HePercent() const { return mHePercent; }

    QLabel *lbBlendName = nullptr;
    QLineEdit *tbBlendName = nullptr;
    QLineEdit *tbO2 = nullptr;
    UpDown *UDO2 = nullptr;
    QLabel *lbO2 = nullptr;
    QLineEdit *tbHe = nullptr;
    UpDown *UDHe = nullptr;
    QLabel *lbHe = nullptr;
    QLineEdit *tbN2 = nullptr; // the rest, shown only
    QLabel *lbN2 = nullptr;
    QPushButton *cbOK = nullptr;
    QPushButton *cbCancel = nullptr;

public slots:
    void cbOK_Click();
    void cbCancel_Click();
    void UDO2_UpClick();
    void UDO2_DownClick();
    void UDHe_UpClick();
    void UDHe_DownClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void layOut();
    void Form_Load();
    void updateO2();
    void updateHe();
    void showPercentages();
    bool addGas();

    int16_t mO2Percent = 100;
    int16_t mN2Percent = 0;
    int16_t mHePercent = 0;
    int16_t mDiveNumber = 0;
    int mAddedGas = -1;
};
