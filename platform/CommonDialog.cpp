#include "platform/CommonDialog.h"

#include "platform/TestHooks.h"

#include <QFileDialog>

QString CommonDialog::QtFilter(const QString &classic)
{
    if (!classic.contains(QLatin1Char('|')))
        return classic; // already in Qt's form
    const QStringList parts = classic.split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        QString text = parts[i].trimmed();
        // A description that already shows its patterns, "Profiles (*.prf)", keeps them once.
        const qsizetype paren = text.lastIndexOf('(');
        if (paren > 0 && text.endsWith(')'))
            text = text.left(paren).trimmed();
        filters << QStringLiteral("%1 (%2)").arg(text, patterns.simplified());
    }
    return filters.join(QStringLiteral(";;"));
}

bool CommonDialog::ShowOpen()
{
    return show(false);
}

bool CommonDialog::ShowSave()
{
    return show(true);
}

bool CommonDialog::show(bool save)
{
    QString chosen;
    if (TestHooks::active()) {
        TestHooks::fileDialogs.push_back({save, DialogTitle, Filter, InitDir, FileName});
        if (TestHooks::fileAnswers.empty()) {
            TestHooks::fail("File dialog without a queued answer: " + DialogTitle);
            return false;
        }
        chosen = TestHooks::fileAnswers.front();
        TestHooks::fileAnswers.pop_front();
    } else {
        const QString start = FileName.isEmpty() ? InitDir
                              : QFileInfo(FileName).isAbsolute() ? FileName
                                                                 : InitDir + '/' + FileName;
        chosen = save ? QFileDialog::getSaveFileName(owner_, DialogTitle, start, QtFilter(Filter))
                      : QFileDialog::getOpenFileName(owner_, DialogTitle, start, QtFilter(Filter));
    }
    if (chosen.isEmpty())
        return false;
    FileName = chosen;
    return true;
}
