// The report command in the running program, as a diver uses it: Ctrl+I on a dive of a
// computed series, the question answered, the preview paged through and printed into a
// PDF; and the pointer back to the arrow after every kind of report.

#include "tests/support/EditorFixture.h"

#include "print/PrintPrev.h"
#include "print/PrintPreview.h"
#include "print/PrintPrint.h"
#include "print/SpoolInterpreter.h"
#include "reports/frmReportSelection.h"
#include "shell/frmMultiLevel.h"
#include "shell/frmWait.h"
#include "tests/support/SpoolFile.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPrinter>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QToolButton>

#include <cstdlib>

class ReportCommandTest : public EditorFixture {
protected:
    void TearDown() override
    {
        UnloadPrintPrev();
        Printer().setOutputFileName(QString());
        EditorFixture::TearDown();
    }

    // Dive 1: 45 m for 20 min on trimix, computed; dive 2 after 1 h 30 on EAN32 to 30 m
    // for 25 min, computed. Dive 2 is the active window.
    void computedSeries()
    {
        leg(45, 20);
        editor->StartDeco();
        gMainForm->mnuSurface_Click();
        auto *next = gMainForm->findChildren<frmMultiLevel *>().last();
        next->tbHours->setText("1");
        next->tbMinutes->setText("30");
        next->Command2->click();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_TRUE(gDiveWindows.size() > 2 && gDiveWindows[2]);
        gDiveWindows[2]->SaveUserEnteredWaypoints(25, 30, 1, false);
        gDiveWindows[2]->ReEvaluateUserEnteredWaypoints();
        gDiveWindows[2]->StartDeco();
        ASSERT_EQ(gMainForm->ActiveForm(), gDiveWindows[2].data());
    }

    // Answers the report question: the option to take, or closing it by its frame.
    static void answer(int option)
    {
        TestHooks::modalHandlers.push_back([option](QDialog *d) {
            auto *selection = qobject_cast<frmReportSelection *>(d);
            ASSERT_NE(selection, nullptr);
            EXPECT_TRUE(selection->Option1->isChecked());
            if (option == 0) {
                selection->close();
                return;
            }
            (option == 1 ? selection->Option1 : selection->Option2)->setChecked(true);
            selection->Command1->click();
        });
    }

    static size_t settingsBlocks(const TestSpool &spool)
    {
        size_t n = 0;
        for (const TestSpoolPage &p : spool.pages) {
            const auto texts = p.texts();
            n += std::count(texts.begin(), texts.end(), GetLangString(6024));
        }
        return n;
    }
};

TEST_F(ReportCommandTest, CtrlIOnTheSecondDiveReportsTheSeriesAndPrintsIt)
{
    computedSeries();
    EXPECT_EQ(gMainForm->mnuGeneralReport->shortcut(), QKeySequence(QStringLiteral("Ctrl+I")));
    answer(2);
    gMainForm->mnuGeneralReport->trigger();
    EXPECT_EQ(TestHooks::modalWindows.value(TestHooks::modalWindows.size() - 1), "frmReportSelection");
    EXPECT_FALSE(gReportSelection);
    EXPECT_FALSE(frmWait::Loaded());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the pointer is the arrow again";

    const TestSpool spool = ReadTestSpool();
    EXPECT_EQ(settingsBlocks(spool), 2u) << "both dives, from the first";
    PrintPrev *preview = LoadedPrintPrev();
    ASSERT_NE(preview, nullptr);
    ASSERT_TRUE(preview->isVisible());
    EXPECT_EQ(preview->windowTitle(), GetLangStringQ(6018));
    const int pages = preview->getPageMax().toInt();
    ASSERT_EQ(pages, int(spool.pages.size()));

    // Page through the preview to the end and back to the first page.
    const char *shots = std::getenv("DOLV_SHOTS");
    for (int k = 1; k <= pages; ++k) {
        EXPECT_EQ(preview->getPageNr(), QString::number(k));
        QApplication::processEvents();
        if (shots)
            preview->grab().save(QDir(shots).filePath(QString("report-preview-%1.png").arg(k)));
        preview->Cmd[7]->click();
    }
    EXPECT_EQ(preview->getPageNr(), QString::number(pages));
    preview->Cmd[5]->click();
    EXPECT_EQ(preview->getPageNr(), "1");

    // Print every page into a PDF through the print dialog.
    QTemporaryDir dir;
    const QString pdf = shots ? QDir(shots).filePath("report-command.pdf") : dir.filePath("report.pdf");
    Printer().setOutputFileName(pdf);
    TestHooks::msgBoxAnswers = {vbYes};
    TestHooks::modalHandlers.push_back([](QDialog *d) {
        auto *print = qobject_cast<PrintPrint *>(d);
        ASSERT_NE(print, nullptr);
        print->Command1->click();
    });
    preview->Cmd[3]->click();
    EXPECT_EQ(PdfPageCount(pdf), pages);
    const QString text = PdfText(pdf);
    EXPECT_TRUE(text.contains(GetLangStringQ(6020))) << "dive 2's series box";
    EXPECT_TRUE(text.contains("1 hrs :30 min"));
    EXPECT_TRUE(text.contains(GetLangStringQ(6000) + QString::number(pages)));
    if (shots)
        for (int k = 1; k <= pages; ++k)
            PdfPageImage(pdf, k, 60).save(QDir(shots).filePath(QString("report-command-%1.png").arg(k)));
}

TEST_F(ReportCommandTest, TheQuestionDecidesAndEveryReportEndsWithTheArrow)
{
    computedSeries();
    // Closed by its frame: all dives.
    answer(0);
    gMainForm->mnuGeneralReport->trigger();
    EXPECT_FALSE(gReportSelection);
    EXPECT_EQ(settingsBlocks(ReadTestSpool()), 2u);

    // The current dive only: dive 2 alone with its place in the series. Its progress
    // texts loaded the box without showing it; it is gone and the pointer is the arrow.
    answer(1);
    gMainForm->mnuGeneralReport->trigger();
    EXPECT_TRUE(gReportSelection);
    const TestSpool spool = ReadTestSpool();
    EXPECT_EQ(settingsBlocks(spool), 1u);
    const auto first = spool.pages.at(0).texts();
    EXPECT_NE(std::find(first.begin(), first.end(), GetLangString(6020)), first.end());
    EXPECT_FALSE(frmWait::Loaded());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // A dive on its own is not asked about.
    gMainForm->mnuNewProfile_Click();
    ASSERT_NE(gMainForm->ActiveForm(), nullptr);
    ASSERT_NE(gMainForm->ActiveForm(), gDiveWindows[2].data());
    const QStringList asked = TestHooks::modalWindows;
    gMainForm->mnuGeneralReport->trigger();
    EXPECT_EQ(TestHooks::modalWindows, asked);
    EXPECT_EQ(settingsBlocks(ReadTestSpool()), 1u);
    EXPECT_FALSE(frmWait::Loaded());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}
