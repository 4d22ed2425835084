#pragma once
// The waypoint dialog: depth, time at depth and gas of a waypoint the diver draws in the
// profile editor, or a read-only view of an existing waypoint. Below the fields the gas
// advisor offers the best Nitrox, Trimix and Heliox for the depth and adds a chosen mix
// to the dive's gas list.
//
// Use, from the editor:
//     ClassProfile scratch;                 // its last waypoint is the one edited
//     scratch.setDepth(0, depth); scratch.SetSegmentTime(0, minutes);
//     scratch.SetMixNumber(0, mix);
//     frmWaypointForm form(diveNumber, gMainForm);
//     form.data(scratch, -1);               // -1 edit, 0 read-only view
//     ShowModal(&form);                     // platform/ModalWindow.h
//     scratch.getDepth(0) == -100           // cancelled (Cancel, Esc or the close box)
// OK writes depth, segment time, gas name, mix number and the gas fractions (percent)
// into that waypoint. The dive whose settings apply is the one given (the dive of the editor
// that opens it, whichever window is active).

#include "engine/ClassProfile.h"
#include "engine/SettingsRecord.h"

#include <QDialog>
#include <QString>

#include <cstdint>
#include <optional>
#include <string>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class UpDown;

class frmWaypointForm : public QDialog {
    Q_OBJECT
public:
    // The depth a cancelled dialog leaves in the waypoint.
    static constexpr float kCancelledDepth = -100;

    // The settings of gSettings element `diveNumber` apply (the default template when that
    // names no record).
    explicit frmWaypointForm(int16_t diveNumber, QWidget *parent = nullptr);

    // Hands over the profile whose last waypoint the dialog edits in place, and loads the
    // dialog from it. mode 0: read-only view; any other value: edit.
    void data(ClassProfile &profile, int16_t mode);

    // The digits, "." and "," of a text in their order.
    static QString AlphaNumericInput(const QString &text);

    // The advisor's best mix of each family for a depth in the dive's depth unit.
    void CalcBestNitrox(float depth);
    void CalcBestHeliox(float depth);
    void CalcBestTrimix(float depth);
    // Fill and show the information boxes for one panel's mix.
    void showNitroxInfo(bool typedMix);
    void showTrimixInfo();
    void showHelioxInfo();

public slots:
    // Cancel, Esc and the window's close box all end here.
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private slots:
    void Combo1_Click();
    void cbOK_Click();
    void cbCancel_Click();
    void udDepthSpin_UpClick();
    void udDepthSpin_DownClick();
    void udTimeSpin_UpClick();
    void udTimeSpin_DownClick();
    void cbNitroxAdd_Click();
    void cbTrimixAdd_Click();
    void cbHelioxAdd_Click();

private:
    void createDepthTimeFrame();
    void createGasFrame();
    void createAdvisor();
    void createButtons();
    void layOut();
    void wireEvents();

    void Form_Load();
    void showReadOnly();
    void fillGasList(int16_t selected);
    void selectGas(int index);
    void setInputsEnabled(bool enabled);

    void tbDepth_KeyUp();
    void tbDepth_KeyPress(int key);
    void tbTime_KeyUp();
    void calcAdvisor(float depth);
    void stepField(QLineEdit *field, float emptyValue, float step, bool recalcAdvisor);

    // Advisor events (frmWaypointForm_advisor.cpp).
    void setInfoBoxesVisible(bool visible);
    bool advisorMouseMove(QObject *watched);
    bool advisorFocusIn(QObject *watched);
    void advisorFocusOut(QObject *watched);
    bool advisorKeyUp(QObject *watched);
    void Text1_KeyUp();
    void Text2_KeyUp();
    void Text9_KeyUp();
    void Text7_KeyUp();
    void Text6_KeyUp();
    void Text4_KeyUp();
    void setTypedTrimix(float o2, float he, float n2);
    void showInfo(const QString &title, float fO2, float fHe, float fN2, float ppO2,
                  std::optional<float> end, const char *endSeparator);
    void addGas(const std::string &name, float o2, float n2, float he, bool missingO2);

    TemplateRec &Template() const;
    const GasRecord *lastGasNamed(const std::string &name) const;
    ClassProfile &Profile() const { return *mProfile; }
    float depthShown() const;

    ClassProfile *mProfile = nullptr;
    int16_t mWaypointIndex = 0;
    int16_t mDiveNumber = 0;

    // Each advisor panel's current mix, fractions 0..1.
    float mNitroxO2 = 0, mNitroxN2 = 0, mNitroxHe = 0;
    float mTrimixO2 = 0, mTrimixHe = 0, mTrimixN2 = 0;
    float mHelioxO2 = 0, mHelioxHe = 0, mHelioxN2 = 0;

    // Depth and time.
    QGroupBox *Frame1;
    QLabel *Label3, *Label2, *Label4, *Label5;
    QLineEdit *tbDepth, *tbTime;
    UpDown *udDepthSpin, *udTimeSpin;
    // Gas of the waypoint.
    QGroupBox *Frame2;
    QComboBox *Combo1;
    QLineEdit *tbO2, *tbN2, *tbHe;
    QLabel *Label1, *Label6, *Label7;
    // Advisor.
    QGroupBox *Frame3, *Frame4, *Frame5, *Frame6;
    QLineEdit *Text1, *Text2, *Text3, *Text4, *Text5, *Text6, *Text7, *Text8, *Text9;
    QLabel *Label8, *Label9, *Label10, *Label11, *Label12, *Label13, *Label14, *Label15,
        *Label16;
    QPushButton *cbNitroxAdd, *cbTrimixAdd, *cbHelioxAdd;
    QPlainTextEdit *Text10, *Text11, *Text12;
    // Confirm, cancel.
    QPushButton *cbOK, *cbCancel;
};
