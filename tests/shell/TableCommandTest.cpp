// The decompression tables from the main window, as a new user meets them: Ctrl+E or the
// "TableExpert" button opens a generator for the active dive, modeless; its defaults on
// a trimix dive give sixteen tables in the preview, which print; the generator goes when
// its dive's window closes.

#include "tests/shell/EditorFixture.h"

#include "print/PrintPrev.h"
#include "print/PrintPreview.h"
#include "print/frmTableExpert.h"
#include "tests/support/SpoolFile.h"

#include <QComboBox>
#include <QLabel>
#include <QTemporaryDir>

namespace {

QList<frmTableExpert *> openGenerators()
{
    return gMainForm->findChildren<frmTableExpert *>();
}

} // namespace

TEST_F(EditorTest, CtrlEGeneratesTablesForTheActiveDive)
{
    gMainForm->activateWindow();
    QApplication::setActiveWindow(gMainForm);
    QTest::keyClick(gMainForm, Qt::Key_E, Qt::ControlModifier);
    ASSERT_EQ(openGenerators().size(), 1);
    frmTableExpert *w = openGenerators().first();
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(w->isModal());
    EXPECT_EQ(w->ProfileIndex(), 1);
    w->Combo1->setCurrentIndex(kTrimix);
    w->Combo1_Click();
    EXPECT_EQ(w->Label7->text(), "18/45");

    w->cbStart->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(openGenerators().isEmpty()) << "it closes after its run";
    PrintPrev *preview = LoadedPrintPrev();
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->isVisible());
    const TestSpool spool = ReadTestSpool();
    EXPECT_EQ(spool.pages.size(), 3u);

    QTemporaryDir dir;
    const QString pdf = dir.filePath("tables.pdf");
    EXPECT_EQ(PrintSpoolToPdf(pdf, 1, 3), 3);
    EXPECT_TRUE(PdfText(pdf, 3).contains("GF 0.30-0.80"));
    UnloadPrintPrev();

    // The toolbar button opens another; closing the dive's window closes it.
    gMainForm->Button("TableExpert")->trigger();
    ASSERT_EQ(openGenerators().size(), 1);
    editor->parentWidget()->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(openGenerators().isEmpty());
}
