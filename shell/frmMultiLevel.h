#pragma once
// The next dive after a surface interval: asks for the hours and minutes at the surface
// after the active dive and opens the next dive of its series in a new dive window, with
// the dive's settings, its name and its oxygen exposure carried over (the CNS halved for
// every 90 minutes at the surface). Shown modeless; a new one for every use.

#include <QDialog>

#include <cstdint>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class frmMultiLevel : public QDialog {
    Q_OBJECT
public:
    explicit frmMultiLevel(QWidget *parent = nullptr); // the window's load

    // Creates the next dive from the fields. False when a field was refused (the diver
    // was told why) and the dialog stays open; true when the dive was created, or when
    // no dive is active and there is nothing to continue from.
    bool CreateNextDive();

    // The dive continued from and the dive created, -1 until there is one.
    int16_t PreviousDive() const { return prevProfile_; }
    int16_t CreatedDive() const { return newProfile_; }

    QGroupBox *Frame1 = nullptr;
    QLineEdit *tbHours = nullptr;
    QLineEdit *tbMinutes = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QPushButton *Command2 = nullptr; // OK
    QPushButton *Command1 = nullptr; // Cancel

public slots:
    void Command1_Click();
    void Command2_Click();

private:
    bool refuse(const QString &text);

    int16_t prevProfile_ = -1;
    int16_t newProfile_ = -1;
};
