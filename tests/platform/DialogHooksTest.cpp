// Message boxes, file dialogs and modal windows under test: answered from the queues,
// and a failure (never a wait) when nobody answered.

#include "engine/ResourceManager.h"
#include "platform/CommonDialog.h"
#include "platform/ModalWindow.h"
#include "platform/MsgBox.h"
#include "platform/TestHooks.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

TEST(DialogHooks, MessageBoxesTakeQueuedAnswersAndRecordWhatTheyShowed)
{
    TestHooks::msgBoxAnswers = {vbNo, vbCancel};
    EXPECT_EQ(MsgBox("Save?", vbYesNoCancel + vbQuestion, "Dive"), vbNo);
    EXPECT_EQ(MsgBox("Again?", vbYesNoCancel), vbCancel);
    ASSERT_EQ(TestHooks::msgBoxes.size(), 2u);
    EXPECT_EQ(TestHooks::msgBoxes[0].prompt, "Save?");
    EXPECT_EQ(TestHooks::msgBoxes[0].title, "Dive");
    EXPECT_EQ(TestHooks::msgBoxes[1].title, "DOLV"); // the application's title
}

TEST(DialogHooks, AnUnansweredBoxFailsAndGivesItsDefault)
{
    int32_t answer = 0;
    EXPECT_NONFATAL_FAILURE(answer = MsgBox("Sure?", vbYesNo + vbDefaultButton2), "Sure?");
    EXPECT_EQ(answer, vbNo);
    EXPECT_NONFATAL_FAILURE(answer = MsgBox("Note"), "Note");
    EXPECT_EQ(answer, vbOK);
}

TEST(DialogHooks, FileDialogs)
{
    CommonDialog dlg;
    dlg.DialogTitle = "Open profile";
    dlg.Filter = "Profiles (*.prf)|*.prf|All files|*.*";
    dlg.InitDir = "/tmp";
    TestHooks::fileAnswers = {"/tmp/a.prf", ""};
    EXPECT_TRUE(dlg.ShowOpen());
    EXPECT_EQ(dlg.FileName, "/tmp/a.prf");
    EXPECT_FALSE(dlg.ShowSave()); // cancelled: the name stays
    EXPECT_EQ(dlg.FileName, "/tmp/a.prf");
    ASSERT_EQ(TestHooks::fileDialogs.size(), 2u);
    EXPECT_TRUE(TestHooks::fileDialogs[1].save);
    EXPECT_EQ(TestHooks::fileDialogs[0].initDir, "/tmp");
    EXPECT_NONFATAL_FAILURE(EXPECT_FALSE(dlg.ShowOpen()), "Open profile");

    EXPECT_EQ(CommonDialog::QtFilter("Profiles (*.prf)|*.prf|All files|*.*"),
              "Profiles (*.prf);;All files (*.*)");
    EXPECT_EQ(CommonDialog::QtFilter("Templates|*.tpl;*.TPL"), "Templates (*.tpl *.TPL)");
}

// The save dialog itself, set up as ShowSave runs it, with a name typed into it.
TEST(DialogHooks, SaveDialogsAddTheChosenFiltersExtension)
{
    QTemporaryDir dir;
    CommonDialog dlg;
    dlg.Filter = "DOLV dive series (*.prf);;All files (*)";
    dlg.InitDir = dir.path();
    const std::unique_ptr<QFileDialog> save = dlg.CreateDialog(true);
    save->setOption(QFileDialog::DontUseNativeDialog);
    auto *name = save->findChild<QLineEdit *>("fileNameEdit");
    ASSERT_NE(name, nullptr);
    const auto typed = [&](const QString &text) {
        name->setText(text);
        return QFileInfo(save->selectedFiles().value(0)).fileName();
    };
    EXPECT_EQ(typed("dive"), "dive.prf");
    EXPECT_EQ(typed("dive.prf"), "dive.prf");
    EXPECT_EQ(typed("wreck.2024"), "wreck.2024") << "a name with an extension keeps it";

    // With "All files" chosen the name is taken as typed.
    auto *types = save->findChild<QComboBox *>("fileTypeCombo");
    ASSERT_NE(types, nullptr);
    QTest::keyClick(types, Qt::Key_Down);
    ASSERT_EQ(types->currentIndex(), 1);
    EXPECT_EQ(typed("notes"), "notes");

    EXPECT_EQ(CommonDialog::DefaultSuffix("DOLV templates (*.tpl)"), "tpl");
    EXPECT_EQ(CommonDialog::DefaultSuffix("Texts (*.txt *.log)"), "txt");
    EXPECT_EQ(CommonDialog::DefaultSuffix("All files (*.*)"), "");
    EXPECT_TRUE(dlg.CreateDialog(false)->defaultSuffix().isEmpty()) << "opening adds nothing";
}

TEST(DialogHooks, ModalWindowsAreAnsweredByHandlers)
{
    QDialog dlg;
    dlg.setObjectName("frmTest");
    auto *ok = new QPushButton("OK", &dlg);
    QObject::connect(ok, &QPushButton::clicked, &dlg, &QDialog::accept);
    TestHooks::modalHandlers.push_back([](QDialog *d) {
        EXPECT_TRUE(d->isVisible());
        d->findChild<QPushButton *>()->click();
    });
    EXPECT_EQ(ShowModal(&dlg), QDialog::Accepted);
    EXPECT_FALSE(dlg.isVisible());

    // A handler that leaves the window open: it is closed, Rejected.
    TestHooks::modalHandlers.push_back([](QDialog *) {});
    EXPECT_EQ(ShowModal(&dlg), QDialog::Rejected);
    EXPECT_FALSE(dlg.isVisible());

    int result = -1;
    EXPECT_NONFATAL_FAILURE(result = ShowModal(&dlg), "frmTest");
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(TestHooks::modalWindows, QStringList({"frmTest", "frmTest", "frmTest"}));
}

} // namespace

namespace {

TEST(DialogHooks, PrinterDialogsTakeQueuedAnswers)
{
    QPrinter printer;
    CommonDialog dlg;
    dlg.DialogTitle = "Printer";
    dlg.Flags = CommonDialog::cdlPDPrintSetup;
    TestHooks::printerAnswers.push_back([](QPrinter &p) {
        p.setPageOrientation(QPageLayout::Portrait);
        return true;
    });
    TestHooks::printerAnswers.push_back([](QPrinter &) { return false; });
    EXPECT_TRUE(dlg.ShowPrinter(printer));
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait);
    EXPECT_FALSE(dlg.ShowPrinter(printer));
    EXPECT_EQ(TestHooks::printerDialogs, QStringList({"Printer", "Printer"}));
    EXPECT_NONFATAL_FAILURE(EXPECT_FALSE(dlg.ShowPrinter(printer)), "Printer dialog");
}

// The printer set-up only chooses a printer: its button says OK, not "Print".
TEST(DialogHooks, ThePrinterSetUpIsAcceptedWithOK)
{
    std::string language = kDefaultLanguageFile;
    ASSERT_EQ(LoadLanguageDll(language), 1);
    QPrinter printer;
    CommonDialog dlg;
    dlg.Flags = CommonDialog::cdlPDPrintSetup;
    const auto dialog = dlg.CreatePrinterDialog(printer);
    const auto *box = dialog->findChild<QDialogButtonBox *>();
    for (QAbstractButton *button : box->buttons())
        EXPECT_TRUE(box->buttonRole(button) != QDialogButtonBox::AcceptRole || button->text() == "OK");
    FreeLanguageDll();
}

// When a dialog closes, after a box of its own closed over it, the window that opened it
// has the keyboard again (its shortcuts work without a click).
TEST(DialogHooks, TheOpenerHasTheFocusAfterADialogAndItsBoxClose)
{
    QWidget opener;
    auto *field = new QLineEdit(&opener);
    opener.show();
    opener.activateWindow();
    field->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&opener, 1000));
    TestHooks::modalHandlers.push_back([](QDialog *d) {
        QMessageBox box(QMessageBox::Warning, "GF", "Low above high", QMessageBox::Ok, d);
        box.show();
        QCoreApplication::processEvents();
        box.close();
        d->accept();
    });
    QDialog dialog(&opener);
    ShowModal(&dialog);
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), &opener);
    EXPECT_EQ(QApplication::focusWidget(), field);
}

} // namespace

