#pragma once
// The file dialog the main window shares among its file commands: FileName,
// DialogTitle, InitDir and Filter are set before each ShowOpen or ShowSave, as with the
// classic common-dialog control. Filter is in Qt's form "Text (*.prf);;All files (*)" or
// the classic form "Text|*.prf|All|*.*".
// Under test the chosen file comes from TestHooks.

#include <QString>

class QWidget;

class CommonDialog {
public:
    explicit CommonDialog(QWidget *owner = nullptr) : owner_(owner) {}

    QString FileName;
    QString DialogTitle;
    QString InitDir;
    QString Filter;

    // Show the dialog; false when it was cancelled (FileName is then left as it was).
    bool ShowOpen();
    bool ShowSave();

    // "Text|*.prf;*.txt|All|*.*" as a Qt filter "Text (*.prf *.txt);;All (*.*)"; a
    // filter in Qt's form stays as it is.
    static QString QtFilter(const QString &classic);

private:
    bool show(bool save);
    QWidget *owner_;
};
