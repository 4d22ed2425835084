#pragma once
// Asked before the report of a dive that belongs to a series: the current dive only, or
// every dive of the series. Modal; OK takes the chosen option. Closing it any other way
// (Esc, the close box) answers "all dives", as an unanswered question always has.

#include <QDialog>

class QPushButton;
class QRadioButton;

class frmReportSelection : public QDialog {
    Q_OBJECT
public:
    explicit frmReportSelection(QWidget *parent = nullptr);

    // True when OK was pressed with the current dive chosen; false means all dives.
    bool CurrentDiveOnly() const { return currentDiveOnly_; }

    QRadioButton *Option1 = nullptr; // the current dive (chosen when the dialog opens)
    QRadioButton *Option2 = nullptr; // all dives of the series
    QPushButton *Command1 = nullptr; // OK

private:
    void Command1_Click();
    bool currentDiveOnly_ = false;
};
