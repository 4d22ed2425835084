#pragma once
// The contributors box: who contributed what.

#include <QDialog>

class QLabel;
class QPushButton;

class frmContributers : public QDialog {
    Q_OBJECT
public:
    explicit frmContributers(QWidget *parent = nullptr); // the window's load

    QLabel *Contrib = nullptr;
    QLabel *Contrib1Name = nullptr, *Contrib1 = nullptr;
    QLabel *Contrib2Name = nullptr, *Contrib2 = nullptr;
    QLabel *Contrib4Name = nullptr, *Contrib4 = nullptr;
    QLabel *Label1 = nullptr, *Label3 = nullptr, *Label5 = nullptr, *Label7 = nullptr, *Label9 = nullptr,
           *Label10 = nullptr, *Label13 = nullptr, *Label14 = nullptr;
    QPushButton *Command1 = nullptr;

public slots:
    void Command1_Click();
};
