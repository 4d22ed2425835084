#pragma once
// A spin-button pair: an up and a down arrow beside a text field, each a click that
// repeats while held. The field is not tied to it: the owner's UpClick and DownClick
// handlers read the field, step it and write it back.

#include <QWidget>

class QToolButton;

class UpDown : public QWidget {
    Q_OBJECT
public:
    explicit UpDown(QWidget *parent = nullptr);

    QToolButton *upButton() const { return up_; }
    QToolButton *downButton() const { return down_; }

signals:
    void UpClick();
    void DownClick();

private:
    QToolButton *up_;
    QToolButton *down_;
};
