#pragma once
// The disclaimer the diver must accept at every start. It also holds the switch of the
// start sound for later starts.

#include <QDialog>

class QLabel;
class QPushButton;
class QToolButton;

class frmLiability : public QDialog {
    Q_OBJECT
public:
    explicit frmLiability(QWidget *parent = nullptr); // the window's load

    QLabel *Label1 = nullptr;
    QPushButton *cbAgree = nullptr;
    QPushButton *cbNoAgree = nullptr;
    QToolButton *cbSoundOff = nullptr;
    QToolButton *cbSoundOn = nullptr;

public slots:
    void cbAgree_Click();
    void cbNoAgree_Click();
    void cbSoundOff_Click();
    void cbSoundOn_Click();
    // Escape and the close box do not accept: they decline like cbNoAgree.
    void reject() override;
};
