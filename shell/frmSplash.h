#pragma once
// The splash window of the start: the program's picture for about a second, and the
// start sound unless the diver switched it off.

#include <QWidget>

class QLabel;

class frmSplash : public QWidget {
    Q_OBJECT
public:
    explicit frmSplash(QWidget *parent = nullptr); // the window's load

    QLabel *Picture1 = nullptr;
};

// Whether the start sound plays: the registry's Sound value is "On" or not set.
bool StartSoundOn();
