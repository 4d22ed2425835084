#pragma once
// The small box that asks the diver to wait while a report is composed. One box serves
// the whole program; while it is loaded every window shows the hourglass.

#include <QDialog>

class QLabel;

class frmWait : public QDialog {
    Q_OBJECT
public:
    // The box, loaded when it is not (its load sets caption, label and hourglass).
    static frmWait *Instance();
    // Unloads the box (if loaded): the pointer returns to normal.
    static void Unload();
    static bool Loaded();

    QLabel *Label1 = nullptr;

private:
    explicit frmWait(QWidget *parent);
    ~frmWait() override;
    void Form_Load();
    bool hourglass_ = false;
};
