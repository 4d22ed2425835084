#pragma once
// The print dialog of the preview: the range of pages, the question, printing with
// progress and Cancel (seen at the next page start), the printer set-up; Esc and the
// close box do what Cancel does. A job of no pages cannot be printed.

#include "platform/CommonDialog.h"

#include <QDialog>

class QComboBox;
class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;

class PrintPrint : public QDialog {
    Q_OBJECT
public:
    explicit PrintPrint(QWidget *parent = nullptr);
    ~PrintPrint() override;

    QComboBox *sPag;
    QComboBox *ePag;
    QLabel *tPag;
    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QLabel *Label4;
    QPushButton *Command1; // Print
    QPushButton *Command2; // Cancel
    QPushButton *Command3; // printer set-up
    QProgressBar *ProgressBar1;
    QFrame *Line1;
    QFrame *Line2;
    CommonDialog Apre;

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

public slots:
    void reject() override;

private:
    void Form_Load();
    bool printing_ = false;
};

// The print dialog while it is open, else null (the print run reports its progress there).
PrintPrint *PrintDialogWindow();
