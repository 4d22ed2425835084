#pragma once
// The language chooser: the languages found in the lang folder by their own names; the
// choice is stored and takes effect at the next start.

#include <QDialog>

#include <array>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

class frmLanguages : public QDialog {
    Q_OBJECT
public:
    explicit frmLanguages(QWidget *parent = nullptr); // the window's load

    static constexpr int kOptions = 11; // languages listed at most

    QGroupBox *Frame1 = nullptr;
    std::array<QRadioButton *, kOptions> Option1{};
    QPushButton *Command1 = nullptr; // OK
    QPushButton *Command2 = nullptr; // Cancel
    QLabel *Label1 = nullptr;        // the restart note

public slots:
    void Command1_Click();
    void Command2_Click();
};
