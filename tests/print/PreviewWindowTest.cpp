// The preview window as the diver uses it: zoom steps and their ends, the stored size
// and zoom, paging with its label, the page drawn on the surface, a missing picture.

#include "engine/AppPaths.h"
#include "engine/ResourceManager.h"
#include "platform/TestHooks.h"
#include "platform/WindowSettings.h"
#include "print/PageSurface.h"
#include "print/PrintPreview.h"
#include "print/PrintPrev.h"
#include "print/SpoolInterpreter.h"
#include "tests/support/FakeEngineHost.h"
#include "tests/support/FakeShellServices.h"

#include <gtest/gtest.h>

#include <QTest>

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QPrinter>
#include <QLabel>
#include <QToolButton>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>

#include <cstdlib>

namespace {

class Preview : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string name = kDefaultLanguageFile;
        ASSERT_EQ(LoadLanguageDll(name), 1);
        // Every case starts as a first run: nothing stored for the preview.
        QSettings(QString::fromStdString(JoinPath(ConfigDir(), "settings.ini")), QSettings::IniFormat).remove("Preview");
        BeginPrintJob();
    }
    void TearDown() override
    {
        UnloadPrintPrev();
        FreeLanguageDll();
    }
    static void WritePages(int pages)
    {
        for (int n = 1; n <= pages; ++n) {
            PrintPageHeader(QString("Sheet %1").arg(n), "Dive plan", "DOLV");
            PrintFilledBox(2, 4, 10, 8, 255);
            EndPrintPageSimple("first line", "second line");
        }
    }
    FakeEngineHost host;
    FakeShellServices shell;
};

TEST_F(Preview, ZoomStepsStopAtTheirEnds)
{
    SaveSetting("Preview", "ZoomFactor", "0.95");
    PrintPrev *p = PrintPrevWindow();
    EXPECT_FLOAT_EQ(p->ZoomFactor(), 0.95f);
    p->Cmd_Click(1);
    EXPECT_NEAR(p->ZoomFactor(), 0.95 / 0.9, 1e-5); // about 1.056
    p->Cmd_Click(1);
    EXPECT_NEAR(p->ZoomFactor(), 0.95 / 0.9, 1e-5);
    UnloadPrintPrev();

    SaveSetting("Preview", "ZoomFactor", "0.11");
    p = PrintPrevWindow();
    p->Cmd_Click(2);
    EXPECT_NEAR(p->ZoomFactor(), 0.099, 1e-6);
    p->Cmd_Click(2);
    EXPECT_NEAR(p->ZoomFactor(), 0.099, 1e-6);
    EXPECT_NEAR(gPreviewScale, 0.099, 1e-6);
}

TEST_F(Preview, AFirstRunFillsTheScreen)
{
    const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
    PrintPrev *p = PrintPrevWindow();
    EXPECT_EQ(p->size(), QSize(screen.width() - 20, screen.height() - 100)); // less 300 and 1500 twips
    EXPECT_FLOAT_EQ(p->ZoomFactor(), 0.65f);
    EXPECT_EQ(p->getPageNr(), "1");
    EXPECT_EQ(p->Cmd[1]->toolTip(), "Zoom in");
    EXPECT_EQ(p->Cmd[10]->text(), "Close");
}

TEST_F(Preview, ScrollBarsAppearOnlyForAPageLargerThanTheView)
{
    WritePages(1);
    SaveSetting("Preview", "ZoomFactor", "0.2");
    ShowPrintPreview("Report");
    PrintPrev *p = LoadedPrintPrev();
    p->resize(900, 700);
    QCoreApplication::processEvents();
    // A small page stands in the middle of the view, without bars.
    EXPECT_FALSE(p->HScroll1->isVisible());
    EXPECT_FALSE(p->VScroll1->isVisible());
    const QRect view = p->Picture1->rect();
    EXPECT_NEAR(p->Prv->geometry().center().x(), view.center().x(), 1);
    EXPECT_NEAR(p->Prv->geometry().center().y(), view.center().y(), 1);

    // A large page: both bars, each short of the other, reaching the page's far corner.
    for (int i = 0; i < 8; ++i)
        p->Cmd_Click(1);
    QCoreApplication::processEvents();
    ASSERT_TRUE(p->HScroll1->isVisible());
    ASSERT_TRUE(p->VScroll1->isVisible());
    EXPECT_EQ(p->HScroll1->width(), view.width() - p->VScroll1->width());
    EXPECT_EQ(p->VScroll1->height(), view.height() - p->HScroll1->height());
    EXPECT_EQ(p->Prv->pos(), QPoint(0, 0));
    p->HScroll1->setValue(p->HScroll1->maximum());
    p->VScroll1->setValue(p->VScroll1->maximum());
    EXPECT_LE(p->Prv->geometry().right(), view.width() - p->VScroll1->width());
    EXPECT_LE(p->Prv->geometry().bottom(), view.height() - p->HScroll1->height());
}

TEST_F(Preview, AStoredZoomOutsideItsRangeStartsAt065)
{
    for (const char *stored : {"2", "0", "-1", "none"}) {
        SaveSetting("Preview", "ZoomFactor", stored);
        EXPECT_FLOAT_EQ(PrintPrevWindow()->ZoomFactor(), 0.65f) << stored;
        UnloadPrintPrev();
    }
    // A zoom written with a decimal comma still reads.
    SaveSetting("Preview", "ZoomFactor", "0,8");
    EXPECT_FLOAT_EQ(PrintPrevWindow()->ZoomFactor(), 0.8f);
}

TEST_F(Preview, SizeAndZoomAreWrittenOnClose)
{
    SaveSetting("Preview", "ZoomFactor", "0.65");
    PrintPrev *p = PrintPrevWindow();
    p->resize(700, 500);
    p->Cmd_Click(2); // 0.65 x 0.9 = 0.585
    p->Cmd_Click(10);
    EXPECT_EQ(GetSetting("Preview", "ZoomFactor"), "0.59");
    EXPECT_EQ(GetSetting("Preview", "Width"), "10500");
    EXPECT_EQ(GetSetting("Preview", "Height"), "7500");
    UnloadPrintPrev();
    p = PrintPrevWindow();
    EXPECT_EQ(p->size(), QSize(700, 500));
    EXPECT_FLOAT_EQ(p->ZoomFactor(), 0.59f);
}

TEST_F(Preview, PagingFollowsTheLabel)
{
    WritePages(3);
    ShowPrintPreview("Tables");
    PrintPrev *p = LoadedPrintPrev();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->Label2->text(), "Page 1 of 3");
    p->Cmd_Click(6); // previous on page 1: stays
    EXPECT_EQ(p->Label2->text(), "Page 1 of 3");
    p->Cmd_Click(7);
    EXPECT_EQ(p->Label2->text(), "Page 2 of 3");
    p->Cmd_Click(8);
    p->Cmd_Click(7); // next on the last page: stays
    EXPECT_EQ(p->Label2->text(), "Page 3 of 3");
    p->Cmd_Click(5);
    EXPECT_EQ(p->getPageNr(), "1");

    // The further page sizes (A5, A3 landscape, A4 portrait); Esc closes the window.
    const double zoom = p->ZoomFactor() / 15.0; // pixels per twip
    for (const auto &[set, w, h] : {std::tuple(&PrintPrev::SetA5, 8505.0, 11907.0),
                                    {&PrintPrev::SetA3Landscape, 23814.0, 16839.9},
                                    {&PrintPrev::SetA4Portrait2, 11907.0, 16839.9}}) {
        (p->*set)();
        EXPECT_NEAR(p->Prv->width(), w * zoom, 1);
        EXPECT_NEAR(p->Prv->height(), h * zoom, 1);
    }
    QTest::keyClick(p, Qt::Key_Escape);
    EXPECT_FALSE(p->isVisible());
}

// A page drawn on the surface: the red box where it stands on the page, at any zoom.
TEST_F(Preview, ThePageIsDrawnToScale)
{
    WritePages(1);
    ShowPrintPreview("Report");
    PrintPrev *p = LoadedPrintPrev();
    for (int step = 0; step < 2; ++step) {
        const QImage &page = p->Prv->Image();
        const double pxPerCm = p->ZoomFactor() * 567 / 15;
        EXPECT_EQ(page.width(), qRound(p->ZoomFactor() * 16839.9 / 15));
        EXPECT_EQ(page.pixelColor(int(6 * pxPerCm), int(6 * pxPerCm)), QColor(Qt::red));
        EXPECT_EQ(page.pixelColor(int(11 * pxPerCm), int(6 * pxPerCm)), QColor(Qt::white));
        p->Cmd_Click(1);
    }
}

TEST_F(Preview, AMissingPicturePaintsNothing)
{
    QImage blue(20, 20, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    NewPrintPage();
    PrintPicture(blue, 2, 2, 4, 4);
    EndPrintPageSimple("", "");
    NewPrintPage();
    for (const char *line : {"#img", "/no/such/picture.tmp", "1134", "1134", "2268", "2268"})
        AppendPrintLine(line);
    EndPrintPageSimple("", "");
    ShowPrintPreview("Report");

    QImage image(600, 420, QImage::Format_RGB32);
    const double scale = 600 / 16839.9;
    RenderSpoolPage(image, 1, scale);
    EXPECT_EQ(image.pixelColor(int(4 * 567 * scale), int(4 * 567 * scale)), QColor(Qt::blue));
    RenderSpoolPage(image, 2, scale);
    EXPECT_EQ(image.pixelColor(int(4 * 567 * scale), int(4 * 567 * scale)), QColor(Qt::white));
    // A page that does not exist is blank.
    RenderSpoolPage(image, 3, scale);
    EXPECT_EQ(image.pixelColor(10, 10), QColor(Qt::white));
}

// For a person looking: DOLV_SHOTS=<folder> saves the preview at two zooms and a PDF.
TEST_F(Preview, ScreenshotsForALook)
{
    const char *folder = std::getenv("DOLV_SHOTS");
    if (!folder)
        GTEST_SKIP() << "set DOLV_SHOTS to a folder to save the screenshots";
    PrintPageHeader("Dive 1", "Dive plan", "8.12.2026");
    PrintTextLeft(1.5f, 4, "Depth 45 m, bottom time 25 min", "Arial", 12, 0);
    PrintFilledBox(1.5f, 5, 12, 6.5f, 0);
    SetPrintForeColor(0xFFFFFF);
    PrintTextLeft(1.8f, 5.3f, "White on black", "Arial", 14, 1);
    SetPrintForeColor(0);
    PrintBoxOutline(1.5f, 7, 12, 7);
    PrintPicture(PrintPrevWindow()->Img->pixmap().toImage(), 15, 4, 5.05f, 2);
    EndPrintPageFooter("Footer", "Text two", "Text three", "Right");
    NewPrintPage();
    PrintTextLeft(2, 2, "Second page", "Arial", 20, 1);
    EndPrintPageSimple("Red line one", "Red line two");
    ShowPrintPreview("DOLV preview");
    PrintPrev *p = LoadedPrintPrev();
    p->resize(1000, 700);
    QCoreApplication::processEvents();
    p->grab().save(QDir(folder).filePath("preview-065.png"));
    p->Cmd_Click(1);
    p->Cmd_Click(1);
    p->Cmd_Click(1);
    p->Cmd_Click(7);
    QCoreApplication::processEvents();
    p->grab().save(QDir(folder).filePath("preview-zoom-page2.png"));
    const QString shot = QDir(folder).filePath("print-dialog.png");
    TestHooks::modalHandlers.push_back([shot](QDialog *d) {
        QCoreApplication::processEvents();
        d->grab().save(shot);
        d->reject();
    });
    p->Cmd_Click(3);
    Printer().setOutputFileName(QDir(folder).filePath("job.pdf"));
    PrintPages(1, 2);
    Printer().setOutputFileName(QString());
}

} // namespace
