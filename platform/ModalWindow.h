#pragma once
// Shows one of our own windows modally and waits until it is closed; returns the
// dialog's result. Under test the window is shown without waiting, a handler queued in
// TestHooks answers it, and a window still open afterwards is closed (Rejected).

#include <QPointer>
#include <QWidget>

class QDialog;

int ShowModal(QDialog *dialog);

// Gives the keyboard back, when it goes out of scope, to the window that was active when
// it was made and to the field that had the focus there. A dialog closing after a box of
// its own closed over it would otherwise leave no window active, and every shortcut dead
// until the diver clicks somewhere. Every modal dialog and box holds one while it is open.
class FocusReturn {
public:
    FocusReturn();
    ~FocusReturn();
    FocusReturn(const FocusReturn &) = delete;
    FocusReturn &operator=(const FocusReturn &) = delete;

private:
    QPointer<QWidget> window_;
    QPointer<QWidget> focus_;
};
