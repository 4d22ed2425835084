#include "platform/CommonDialog.h"

#include "platform/LocaliseForm.h"
#include "platform/ModalWindow.h"
#include "platform/TestHooks.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>

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

QString CommonDialog::DefaultSuffix(const QString &nameFilter)
{
    static const QRegularExpression firstPattern(QStringLiteral(R"(\(\s*\*\.(\w+))"));
    const auto m = firstPattern.match(nameFilter);
    return m.hasMatch() ? m.captured(1) : QString();
}

std::unique_ptr<QFileDialog> CommonDialog::CreateDialog(bool save) const
{
    const QString start = FileName.isEmpty() ? InitDir
                          : QFileInfo(FileName).isAbsolute() ? FileName
                                                             : InitDir + '/' + FileName;
    auto dialog = std::make_unique<QFileDialog>(owner_, DialogTitle, start, QtFilter(Filter));
    if (save) {
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        // A name typed without an extension gets the chosen filter's, so a series saved
        // as "dive" is "dive.prf" and the open dialog lists it.
        dialog->setDefaultSuffix(DefaultSuffix(dialog->selectedNameFilter()));
        QFileDialog *d = dialog.get();
        QObject::connect(d, &QFileDialog::filterSelected, d,
                         [d](const QString &filter) { d->setDefaultSuffix(DefaultSuffix(filter)); });
    } else {
        dialog->setFileMode(QFileDialog::ExistingFile);
    }
    return dialog;
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
        const std::unique_ptr<QFileDialog> dialog = CreateDialog(save);
        const FocusReturn focus;
        if (dialog->exec() == QDialog::Accepted)
            chosen = dialog->selectedFiles().value(0);
    }
    if (chosen.isEmpty())
        return false;
    FileName = chosen;
    return true;
}

bool CommonDialog::ShowPrinter(QPrinter &printer)
{
    if (TestHooks::active()) {
        TestHooks::printerDialogs << DialogTitle;
        if (TestHooks::printerAnswers.empty()) {
            TestHooks::fail("Printer dialog without a queued answer: " + DialogTitle);
            return false;
        }
        const auto answer = std::move(TestHooks::printerAnswers.front());
        TestHooks::printerAnswers.pop_front();
        return answer(printer);
    }
    const std::unique_ptr<QPrintDialog> dialog = CreatePrinterDialog(printer);
    const FocusReturn focus;
    return dialog->exec() == QDialog::Accepted;
}

std::unique_ptr<QPrintDialog> CommonDialog::CreatePrinterDialog(QPrinter &printer) const
{
    auto dialog = std::make_unique<QPrintDialog>(&printer, owner_);
    if (!DialogTitle.isEmpty())
        dialog->setWindowTitle(DialogTitle);
    if (Flags & cdlPDPrintSetup) { // the set-up: which printer and its settings, no page range
        dialog->setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
        for (QDialogButtonBox *box : dialog->findChildren<QDialogButtonBox *>())
            for (QAbstractButton *button : box->buttons())
                if (box->buttonRole(button) == QDialogButtonBox::AcceptRole)
                    button->setText(GetLangStringQ(1610));
    }
    return dialog;
}
