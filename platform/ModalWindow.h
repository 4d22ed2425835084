#pragma once
// Shows one of our own windows modally and waits until it is closed; returns the
// dialog's result. Under test the window is shown without waiting, a handler queued in
// TestHooks answers it, and a window still open afterwards is closed (Rejected).

class QDialog;

int ShowModal(QDialog *dialog);
