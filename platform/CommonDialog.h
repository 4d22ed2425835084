#pragma once
// The file dialog the main window shares among its file commands: FileName,
// DialogTitle, InitDir and Filter are set before each ShowOpen or ShowSave, as with the
// classic common-dialog control. Filter is in Qt's form "Text (*.prf);;All files (*)" or
// the classic form "Text|*.prf|All|*.*".
// ShowPrinter is the printer dialog (Flags cdlPDPrintSetup: the printer set-up).
// Under test the chosen file and the printer dialog's answer come from TestHooks.

#include <QString>

#include <memory>

class QFileDialog;
class QPrintDialog;
class QPrinter;
class QWidget;

class CommonDialog {
public:
    explicit CommonDialog(QWidget *owner = nullptr) : owner_(owner) {}

    QString FileName;
    QString DialogTitle;
    QString InitDir;
    QString Filter;
    // Printer dialog flags: cdlPDPrintSetup shows the set-up (printer and paper, no range).
    int Flags = 0;
    static constexpr int cdlPDPrintSetup = 64;

    // Show the dialog; false when it was cancelled (FileName is then left as it was).
    bool ShowOpen();
    bool ShowSave();
    // The printer dialog on `printer`: what the diver chooses is what the printer uses
    // next; false when cancelled.
    bool ShowPrinter(QPrinter &printer);

    // "Text|*.prf;*.txt|All|*.*" as a Qt filter "Text (*.prf *.txt);;All (*.*)"; a
    // filter in Qt's form stays as it is.
    static QString QtFilter(const QString &classic);

    // The extension a save dialog adds to a name typed without one: the first pattern's
    // of the chosen filter, "Text (*.prf)" -> "prf"; none for "All files (*)".
    static QString DefaultSuffix(const QString &nameFilter);

    // The dialog ShowOpen or ShowSave runs, set up from the fields but not shown.
    std::unique_ptr<QFileDialog> CreateDialog(bool save) const;
    // The dialog ShowPrinter runs on `printer`, set up from the fields but not shown. The
    // set-up's button that accepts says OK: it chooses, it does not print.
    std::unique_ptr<QPrintDialog> CreatePrinterDialog(QPrinter &printer) const;

private:
    bool show(bool save);
    QWidget *owner_;
};
