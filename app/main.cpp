// DOLV: a decompression planner for technical divers.

#include "shell/MainModule.h"
#include "shell/frmMain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("DOLV"));
    QStringList words = QApplication::arguments();
    words.removeFirst();
    SetCommandLine(words.join(QLatin1Char(' ')));
    int status = 0;
    if (Main())
        status = app.exec();
    delete gMainForm;
    return status;
}
