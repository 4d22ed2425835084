// Printing the spool: page ranges, Cancel at a page boundary, the print dialog's
// question, colours on paper, and a machine without a printer. Checked in the PDF the
// printer writes, read back with poppler.

#include "platform/TestHooks.h"
#include "print/PrintPreview.h"
#include "print/PrintPrev.h"
#include "print/PrintPrint.h"
#include "print/SpoolInterpreter.h"
#include "engine/ResourceManager.h"
#include "tests/support/FakeEngineHost.h"
#include "tests/support/FakeShellServices.h"
#include "tests/support/FileBytes.h"
#include "tests/support/SpoolFile.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QProcess>
#include <QFileInfo>
#include <QLabel>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <fstream>

namespace {

void WriteJob(int pages)
{
    BeginPrintJob();
    for (int n = 1; n <= pages; ++n) {
        PrintPageHeader("Left", "Title", "Right");
        PrintTextLeft(2, 5, QString("Body of sheet %1").arg(n), "Arial", 12, 0);
        EndPrintPageFooter("Foot", "", "", "");
    }
    ShowPrintPreview("Report");
}

std::vector<int> SheetsIn(const QString &pdf)
{
    std::vector<int> sheets;
    for (int page = 1; page <= PdfPageCount(pdf); ++page) {
        const QString text = PdfText(pdf, page);
        int found = 0;
        for (int n = 1; n <= 9; ++n)
            if (text.contains(QString("Body of sheet %1").arg(n)))
                found = found ? -1 : n;
        sheets.push_back(found); // 0: a blank sheet, -1: two pages on one sheet
    }
    return sheets;
}

// Shows the print dialog from the preview; `answer` works it while it is shown.
void UseDialog(const std::function<void(PrintPrint *)> &answer)
{
    TestHooks::modalHandlers.push_back([answer](QDialog *d) { answer(qobject_cast<PrintPrint *>(d)); });
    PrintPrevWindow()->Cmd_Click(3);
}

class Printing : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        std::string name = kDefaultLanguageFile;
        ASSERT_EQ(LoadLanguageDll(name), 1);
    }
    void TearDown() override
    {
        UnloadPrintPrev();
        Printer().setOutputFileName(QString());
        FreeLanguageDll();
    }
    FakeEngineHost host;
    QString pdf(const char *name) const { return dir.filePath(name); }
    QTemporaryDir dir;
    FakeShellServices shell;
};

TEST_F(Printing, ARangeGivesItsPagesAndNoBlankSheet)
{
    WriteJob(5);
    EXPECT_EQ(PrintSpoolToPdf(pdf("two.pdf"), 2, 2), 1);
    EXPECT_EQ(SheetsIn(pdf("two.pdf")), std::vector<int>({2}));
    EXPECT_TRUE(PdfText(pdf("two.pdf"), 1).contains("Title"));

    EXPECT_EQ(PrintSpoolToPdf(pdf("all.pdf"), 1, 5), 5);
    EXPECT_EQ(SheetsIn(pdf("all.pdf")), std::vector<int>({1, 2, 3, 4, 5}));

    // A range past the end prints what there is, still without a blank sheet.
    EXPECT_EQ(PrintSpoolToPdf(pdf("past.pdf"), 4, 9), 2);
    EXPECT_EQ(SheetsIn(pdf("past.pdf")), std::vector<int>({4, 5}));

    // Nothing in range: no document at all.
    EXPECT_EQ(PrintSpoolToPdf(pdf("none.pdf"), 7, 9), 0);
    EXPECT_FALSE(QFileInfo::exists(pdf("none.pdf")));
    EXPECT_TRUE(shell.errorBoxes.isEmpty());
}

TEST_F(Printing, TheDialogAsksAndPrintsTheChosenPages)
{
    WriteJob(5);
    Printer().setOutputFileName(pdf("dialog.pdf"));
    TestHooks::msgBoxAnswers = {vbYes};
    UseDialog([](PrintPrint *d) {
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->sPag->count(), 5);
        EXPECT_EQ(d->sPag->currentText(), "1");
        EXPECT_EQ(d->ePag->currentText(), "5");
        EXPECT_EQ(d->tPag->text(), "5");
        d->sPag->setCurrentIndex(1);
        d->ePag->setCurrentIndex(2);
        d->Command1->click();
        EXPECT_EQ(d->ProgressBar1->value(), 100);
        EXPECT_EQ(d->Label4->text(), "3");
    });
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
    EXPECT_EQ(TestHooks::msgBoxes[0].prompt, "Print from page\t2\nto page\t3?");
    EXPECT_EQ(TestHooks::msgBoxes[0].title, "Print");
    EXPECT_EQ(SheetsIn(pdf("dialog.pdf")), std::vector<int>({2, 3}));

    // From after to: only the from page is offered and printed.
    Printer().setOutputFileName(pdf("from.pdf"));
    TestHooks::msgBoxAnswers = {vbYes};
    UseDialog([](PrintPrint *d) {
        d->sPag->setCurrentIndex(2);
        d->ePag->setCurrentIndex(0);
        d->Command1->click();
    });
    EXPECT_EQ(TestHooks::msgBoxes.at(1).prompt, "Page 3?");
    EXPECT_EQ(SheetsIn(pdf("from.pdf")), std::vector<int>({3}));

    // No: nothing is printed; Esc: the dialog closes.
    Printer().setOutputFileName(pdf("no.pdf"));
    TestHooks::msgBoxAnswers = {vbNo};
    UseDialog([](PrintPrint *d) { d->Command1->click(); });
    UseDialog([](PrintPrint *d) { QTest::keyClick(d, Qt::Key_Escape); EXPECT_FALSE(d->isVisible()); });
    EXPECT_FALSE(QFileInfo::exists(pdf("no.pdf")));

    // A range past the job and a page that is no number are refused with a word.
    TestHooks::msgBoxAnswers = {vbOK, vbOK};
    UseDialog([](PrintPrint *d) {
        for (const char *from : {"99", "two"}) {
            d->sPag->setEditText(from);
            d->Command1->click();
        }
        d->reject();
    });
    EXPECT_EQ(TestHooks::msgBoxes.at(3).prompt, QString::fromStdString(GetLangString(7220)));
    EXPECT_EQ(TestHooks::msgBoxes.at(4).prompt, QString::fromStdString(GetLangString(7221)));
}

// A PDF that cannot be written whole (a full disk, a read-only folder) is said once
// and leaves the file that was there byte for byte, with no half file beside it.
TEST_F(Printing, AFailedPrintSaysSoOnceAndKeepsTheOldFile)
{
    const QString disk = dir.filePath("disk");
    QDir().mkpath(disk);
    if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=96k", "tmpfs", disk}) != 0)
        GTEST_SKIP() << "no small disk can be mounted here";
    const std::string old(40000, 'o');
    const QString target = disk + "/plan.pdf";
    std::ofstream(target.toStdString(), std::ios::binary) << old;
    QImage noise(400, 400, QImage::Format_RGB32); // a picture no disk of this size takes
    std::generate_n(reinterpret_cast<uint32_t *>(noise.bits()), 400 * 400,
                    [x = 1u]() mutable { return x = x * 1664525u + 1013904223u; });
    BeginPrintJob();
    NewPrintPage();
    PrintPicture(noise, 1, 1, 10, 10);
    EndPrintPageSimple("", "");
    ShowPrintPreview("Report");
    for (const char *options : {"remount", "remount,ro"}) {
        QProcess::execute("mount", {"-o", options, disk});
        TestHooks::msgBoxAnswers = {vbOK};
        EXPECT_EQ(PrintSpoolToPdf(target, 1, 1), 0) << options;
        EXPECT_EQ(std::exchange(TestHooks::msgBoxes, {}).size(), 1u) << options;
        EXPECT_EQ(FileBytes(target.toStdString()), old) << options;
        EXPECT_EQ(QDir(disk).entryList(QDir::Files | QDir::Hidden).size(), 1) << options;
    }
    QProcess::execute("umount", {disk});
}

TEST_F(Printing, CancelSeenAtAPageStartKeepsTheOldFile)
{
    WriteJob(5);
    std::ofstream(pdf("cancel.pdf").toStdString()) << "old";
    Printer().setOutputFileName(pdf("cancel.pdf"));
    TestHooks::msgBoxAnswers = {vbYes};
    UseDialog([](PrintPrint *d) {
        // Pressed while page 3 begins: the press is seen when page 3 lets events run.
        QObject::connect(d->ProgressBar1, &QProgressBar::valueChanged, d, [d](int value) {
            if (value == 60)
                QMetaObject::invokeMethod(d->Command2, &QPushButton::click, Qt::QueuedConnection);
        });
        d->Command1->click();
    });
    EXPECT_EQ(FileBytes(pdf("cancel.pdf").toStdString()), "old");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"cancel.pdf"});
    EXPECT_TRUE(gPrintCancel);
}

// A print into a file that fails is told by its own text naming the file, and leaves
// what was there: a write-protected file is refused with the saves' word, a folder that
// does not exist takes no file, and a finished print that cannot take the place of a
// folder of its name says the system's reason.
TEST_F(Printing, EachFailedPrintIntoAFileIsToldByItsOwnText)
{
    WriteJob(1);
    std::ofstream(pdf("old.pdf").toStdString()) << "old";
    QFile::setPermissions(pdf("old.pdf"), QFile::ReadOwner | QFile::ReadGroup);
    QDir().mkpath(pdf("folder.pdf"));
    const QString reason = "\r\nPath/File access error: " + QString::fromLocal8Bit(std::strerror(EISDIR));
    const struct {
        QString target;
        int text;
        QString cause;
    } failures[] = {{pdf("old.pdf"), 7061, ""}, {pdf("no/such/x.pdf"), 7202, ""}, {pdf("folder.pdf"), 7222, reason}};
    for (const auto &f : failures) {
        SCOPED_TRACE(f.text);
        TestHooks::msgBoxes.clear();
        TestHooks::msgBoxAnswers = {vbOK};
        EXPECT_EQ(PrintSpoolToPdf(f.target, 1, 1), 0);
        ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
        EXPECT_EQ(TestHooks::msgBoxes[0].prompt.toStdString(),
                  (QString::fromStdString(GetLangString(int16_t(f.text))) + "\r\n" + f.target + f.cause).toStdString());
    }
    EXPECT_EQ(FileBytes(pdf("old.pdf").toStdString()), "old");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"old.pdf"}) << "no part left";
}

// A print replaces a file only as a save would: a link is written through (the rest of
// a save's care, the new file's mode among it, is the saves' own routine and tested with
// them).
TEST_F(Printing, APrintReplacesOnlyWhatASaveWould)
{
    WriteJob(2);
    std::ofstream(pdf("old.pdf").toStdString()) << "old";
    ASSERT_TRUE(QFile::link("old.pdf", pdf("link.pdf")) && QFile::remove(pdf("old.pdf")));
    EXPECT_EQ(PrintSpoolToPdf(pdf("link.pdf"), 1, 2), 2);
    EXPECT_TRUE(QFileInfo(pdf("link.pdf")).isSymLink());
    EXPECT_EQ(SheetsIn(pdf("old.pdf")), std::vector<int>({1, 2}));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2) << "no part left behind";
}

TEST_F(Printing, AJobWithoutPagesCannotBePrinted)
{
    BeginPrintJob();
    ShowPrintPreview("Report");
    UseDialog([](PrintPrint *d) {
        EXPECT_EQ(d->sPag->count(), 0);
        EXPECT_FALSE(d->Command1->isEnabled());
        d->Command1->click();
        d->Command2->click();
    });
    EXPECT_TRUE(TestHooks::msgBoxes.empty());
}

TEST_F(Printing, ColoursPrintAsThePreviewShowsThem)
{
    BeginPrintJob();
    NewPrintPage();
    PrintFilledBox(2, 2, 12, 6, 0);
    SetPrintForeColor(0xFFFFFF);
    PrintTextLeft(2.5f, 3, "WHITE ON BLACK", "Arial", 28, 1);
    SetPrintForeColor(0);
    EndPrintPageSimple("RED FOOTER LINE ONE", "RED FOOTER LINE TWO");
    ShowPrintPreview("Report");
    ASSERT_EQ(PrintSpoolToPdf(pdf("colours.pdf"), 1, 1), 1);

    const QImage page = PdfPageImage(pdf("colours.pdf"), 1, 72);
    ASSERT_FALSE(page.isNull());
    const double px = 72 / 2.54; // pixels per cm
    // Inside the black box, the letters are white.
    int white = 0, inBox = 0;
    for (int y = int(2.2 * px); y < int(5.8 * px); ++y)
        for (int x = int(2.2 * px); x < int(11.8 * px); ++x, ++inBox)
            white += qGray(page.pixel(x, y)) > 200;
    EXPECT_GT(white, inBox / 50) << "white text on black printed dark";
    // The footer lines are red.
    int red = 0, dark = 0;
    for (int y = int(19.4 * px); y < int(20.3 * px); ++y)
        for (int x = int(1.2 * px); x < int(8 * px); ++x) {
            const QColor c = page.pixelColor(x, y);
            red += c.red() > 150 && c.green() < 100 && c.blue() < 100;
            dark += c.red() < 80 && c.green() < 80 && c.blue() < 80;
        }
    EXPECT_GT(red, 20);
    EXPECT_EQ(dark, 0);
}

TEST_F(Printing, WithoutAPrinterThePrintGoesIntoAPdfFile)
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "this machine has a printer";
    WriteJob(2);
    Printer().setOutputFileName(QString());
    TestHooks::fileAnswers = {pdf("chosen.pdf"), ""};
    EXPECT_EQ(PrintPages(1, 2), 2);
    ASSERT_EQ(TestHooks::fileDialogs.size(), 1u);
    EXPECT_TRUE(TestHooks::fileDialogs[0].save);
    EXPECT_EQ(TestHooks::fileDialogs[0].title, "Print to PDF file");
    EXPECT_EQ(SheetsIn(pdf("chosen.pdf")), std::vector<int>({1, 2}));
    // The next print asks again; Cancel prints nothing.
    EXPECT_TRUE(Printer().outputFileName().isEmpty());
    EXPECT_EQ(PrintPages(1, 2), 0);
    EXPECT_EQ(TestHooks::fileDialogs.size(), 2u);
}

TEST_F(Printing, PrinterSetUpAnswersFromTheHooks)
{
    WriteJob(1);
    TestHooks::printerAnswers.push_back([this](QPrinter &printer) {
        printer.setOutputFileName(pdf("setup.pdf"));
        return true;
    });
    PrintPrevWindow()->Cmd_Click(4);
    EXPECT_EQ(TestHooks::printerDialogs.size(), 1);
    EXPECT_EQ(Printer().outputFileName(), pdf("setup.pdf"));
    // What was set up is where the dialog prints.
    TestHooks::msgBoxAnswers = {vbYes};
    UseDialog([](PrintPrint *d) { d->Command1->click(); });
    EXPECT_EQ(SheetsIn(pdf("setup.pdf")), std::vector<int>({1}));
}

} // namespace
