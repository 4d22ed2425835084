// The spool file as the writers leave it: the exact lines of each item and of the page
// bands, read back by the test reader; the same bytes in every locale; pages that only
// keywords start and end; jobs that start empty.

#include "platform/TestHooks.h"
#include "print/PrintJob.h"
#include "print/PrintPreview.h"
#include "print/PrintPrev.h"
#include "engine/ResourceManager.h"
#include "tests/support/FakeEngineHost.h"
#include "tests/support/FakeShellServices.h"
#include "tests/support/ScopedLocale.h"
#include "tests/support/SpoolFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QLocale>
#include <QRegularExpression>

#include <cmath>

namespace {

using Lines = std::vector<std::string>;

QByteArray SpoolBytes()
{
    QFile f(CurrentPrintJob().path());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Width of a text in Arial Bold in thousandths of an em (the published Helvetica-Bold
// advance widths, which Arial and Liberation Sans share), for the letters used here.
double ArialBoldEm(const std::string &text)
{
    double w = 0;
    for (char c : text) {
        switch (c) {
        case 'D': w += 722; break;
        case 'i': w += 278; break;
        case 'v': w += 556; break;
        case 'e': w += 556; break;
        case ' ': w += 278; break;
        case 'P': w += 667; break;
        case 'l': w += 278; break;
        case 'a': w += 556; break;
        case 'n': w += 611; break;
        case 'p': w += 611; break;
        default: ADD_FAILURE() << "no width for " << c;
        }
    }
    return w / 1000;
}

class SpoolWriter : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string name = kDefaultLanguageFile;
        ASSERT_EQ(LoadLanguageDll(name), 1);
        BeginPrintJob();
    }
    void TearDown() override
    {
        UnloadPrintPrev();
        FreeLanguageDll();
    }
    FakeEngineHost host;
    FakeShellServices shell;
};

TEST_F(SpoolWriter, ItemsAreWrittenAsTheirExactLineSequences)
{
    NewPrintPage();
    PrintTextLeft(1.3f, 2.5f, "Depth", "Arial", 10, 0);
    PrintTextRight(28, 0.5f, "Run time", "Courier New", 8, 1);
    PrintFilledBox(1, 1, 28.5f, 2.9f, 10526880);
    PrintBoxOutline(1, 3, 28.5f, 3);
    SetPrintForeColor(255);
    AppendPrintLine("#endpage");

    const TestSpool spool = ReadTestSpool();
    EXPECT_TRUE(spool.crlf);
    ASSERT_EQ(spool.pages.size(), 1u);
    const Lines expected = {
        "#fn", "Arial", "#fs", "10", "#fb", "0", "#y", "1417.5", "#x", "737.1", "#txt_l", "Depth",
        "#fn", "Courier New", "#fs", "8", "#fb", "1", "#y", "283.5", "#x", "15876", "#txt_r", "Run time",
        "#fill", "1", "#color", "0", "#line", "567", "567", "16159.5", "1644.3", "10526880", "BF",
        "#fill", "1", "#color", "FF", "#line", "567", "1701", "16159.5", "1701", "", "B",
        "#ForeColor", "255"};
    EXPECT_EQ(spool.pages[0].lines(), expected);
    EXPECT_EQ(spool.lines.front(), "#startpage");
    EXPECT_EQ(spool.lines.back(), "#endpage");
}

TEST_F(SpoolWriter, HeaderAndBothFootersDrawTheirBands)
{
    PrintPageHeader("Dive 1", "Dive", "Plan");
    EndPrintPageFooter("A", "B", "C", "D");
    NewPrintPage();
    EndPrintPageSimple("first", "second");

    const TestSpool spool = ReadTestSpool();
    ASSERT_EQ(spool.pages.size(), 2u);
    const Lines &page1 = spool.pages[0].lines();
    const Lines band = {"#fill", "1", "#color", "0", "#line", "567", "567", "16159.5", "1644.3", "10526880", "BF",
                        "#fill", "1", "#color", "FF", "#line", "567", "567", "16159.5", "1644.3", "", "B",
                        "#fn", "Arial", "#fs", "15", "#fb", "1", "#y", "1247.4", "#x", "737.1", "#txt_l", "Dive 1",
                        "#fn", "Arial", "#fs", "30", "#fb", "1", "#y", "680.4", "#x"};
    ASSERT_GT(page1.size(), band.size());
    EXPECT_EQ(Lines(page1.begin(), page1.begin() + band.size()), band);
    // The title is centred on 11 cm (6237 twips) in its own font: 30 pt bold = 600 twips
    // to the em; a kerning pair may move it by a few twips.
    const double x = std::stod(page1[band.size()]);
    EXPECT_NEAR(x, 6237 - std::floor(ArialBoldEm("Dive") * 600 / 2), 10);
    const Lines rest = {"#txt_c", "Dive",
                        "#fn", "Arial", "#fs", "15", "#fb", "1", "#y", "1247.4", "#x", "15876", "#txt_r", "Plan",
                        "#fill", "1", "#color", "0", "#line", "567", "9809.1", "16159.5", "10886.4", "10526880", "BF",
                        "#fill", "1", "#color", "FF", "#line", "567", "9809.1", "16159.5", "10886.4", "", "B",
                        "#fn", "Arial", "#fs", "15", "#fb", "1", "#y", "10489.5", "#x", "737.1", "#txt_l", "A",
                        "#fn", "Arial", "#fs", "10", "#fb", "1", "#y", "9865.8", "#x", "3402", "#txt_l", "B",
                        "#fn", "Arial", "#fs", "10", "#fb", "1", "#y", "10149.3", "#x", "3402", "#txt_l", "C",
                        "#fn", "Arial", "#fs", "15", "#fb", "1", "#y", "10489.5", "#x", "15309", "#txt_r", "D"};
    EXPECT_EQ(Lines(page1.begin() + band.size() + 1, page1.end()), rest);

    const Lines simple = {"#ForeColor", "255",
                          "#fn", "Arial", "#fs", "9", "#fb", "0", "#y", "11056.5", "#x", "737.1", "#txt_l", "first",
                          "#fn", "Arial", "#fs", "9", "#fb", "0", "#y", "11226.6", "#x", "737.1", "#txt_l", "second",
                          "#ForeColor", "0"};
    EXPECT_EQ(spool.pages[1].lines(), simple);
    EXPECT_TRUE(spool.outside.empty());
    EXPECT_EQ(PrintPrevWindow()->getPageMax(), "2");
}

TEST_F(SpoolWriter, TheFileIsTheSameInEveryLocale)
{
    const auto writeJob = [] {
        BeginPrintJob();
        PrintPageHeader("Dive", "Plan", "1.5");
        PrintTextLeft(1.3f, 7.15f, "1,5", "Arial", 10, 0);
        PrintFilledBox(0.25f, 19.8f, 2.75f, 20.05f, 0);
        EndPrintPageSimple("a", "b");
        return SpoolBytes();
    };
    QByteArray plain, german;
    {
        ScopedLocale c("C");
        plain = writeJob();
    }
    {
        ScopedLocale de("de_DE.UTF-8");
        if (!de.decimalComma())
            GTEST_SKIP() << "no German locale on this machine";
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        german = writeJob();
        QLocale::setDefault(QLocale::c());
    }
    EXPECT_FALSE(plain.isEmpty());
    EXPECT_EQ(plain, german);
    EXPECT_TRUE(plain.contains("\r\n4054.05\r\n")); // 7.15 cm, with a point
    EXPECT_FALSE(plain.contains("4054,05"));
}

TEST_F(SpoolWriter, OnlyKeywordLinesStartAndEndPages)
{
    NewPrintPage();
    PrintTextLeft(1, 1, "#endpage", "Arial", 10, 0);
    PrintTextLeft(1, 2, "#startpage", "Arial", 10, 0);
    // A line break inside a text would put every later line out of step.
    PrintTextLeft(1, 3, "two\r\nlines\nhere", "Arial", 10, 0);
    EndPrintPageSimple("", "");

    const TestSpool spool = ReadTestSpool();
    ASSERT_EQ(spool.pages.size(), 1u);
    const Lines texts = {"#endpage", "#startpage", "two lines here", "", ""};
    EXPECT_EQ(spool.pages[0].texts(), texts);
    EXPECT_FALSE(spool.cutShort);
    EXPECT_EQ(PrintPrevWindow()->getPageMax(), "1");
}

TEST_F(SpoolWriter, ANewJobStartsEmptyAndReplacesThePreviewWhenComplete)
{
    PrintPageHeader("a", "b", "c");
    EndPrintPageSimple("", "");
    ShowPrintPreview("Report");
    PrintPrev *const old = LoadedPrintPrev();
    ASSERT_NE(old, nullptr);
    EXPECT_TRUE(old->isVisible());
    EXPECT_EQ(old->windowTitle(), "Report");

    BeginPrintJob();
    EXPECT_EQ(LoadedPrintPrev(), old);
    EXPECT_TRUE(QFileInfo::exists(CurrentPrintJob().path()));
    EXPECT_EQ(QFileInfo(CurrentPrintJob().path()).size(), 0);
    EXPECT_TRUE(CurrentPrintJob().folder().endsWith('/'));

    // A job without pages has none; the old preview keeps its page until the job is shown.
    EXPECT_EQ(old->getPageMax(), "1");
    ShowPrintPreview("Next");
    EXPECT_EQ(PrintPrevWindow()->getPageMax(), "0");
    EXPECT_EQ(QFileInfo(ShownSpoolPath()).size(), 0);
    EXPECT_TRUE(shell.errorBoxes.isEmpty());
}

// A job not shown leaves no file behind however its writer leaves it; a job shown takes
// the place of the one before, pictures and all.
TEST_F(SpoolWriter, AJobNotShownLeavesNoFileBehind)
{
    const auto pictures = [] {
        return QDir(CurrentPrintJob().folder()).entryList({"_$$_*.tmp"}, QDir::Files | QDir::CaseSensitive);
    };
    const auto writePage = [] {
        QImage red(40, 20, QImage::Format_RGB32);
        red.fill(Qt::red);
        NewPrintPage();
        PrintPicture(red, 0.8f, 2, 5.05f, 2);
        EndPrintPageSimple("", "");
    };
    writePage();
    ShowPrintPreview("Shown");
    const QStringList shown = pictures();
    ASSERT_EQ(shown.size(), 1);
    const std::vector<std::function<void()>> leaveJob = {
        [] { BeginPrintJob(); },                                      // begun again
        [] { const PrintJobWatchScope watch([](int) { return true; }); }, // its writer gave up
    };
    for (const auto &leave : leaveJob) {
        BeginPrintJob();
        writePage();
        leave();
        EXPECT_EQ(pictures(), shown);
        EXPECT_EQ(QFileInfo::exists(ShownSpoolPath() + ".new"), CurrentPrintJob().writing());
    }
    BeginPrintJob();
    writePage();
    ShowPrintPreview("Next");
    EXPECT_EQ(pictures().size(), 1);
    EXPECT_NE(pictures(), shown);
    ResetPrintJob();
    EXPECT_TRUE(pictures().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(ShownSpoolPath()));
}

TEST_F(SpoolWriter, ASpoolThatCannotBeWrittenIsReportedOnceAndNotPreviewed)
{
    ShowPrintPreview("Before");
    // The next job's file is on a full disk.
    const QString jobFile = ShownSpoolPath() + ".new";
    ASSERT_TRUE(QFile::link("/dev/full", jobFile));
    BeginPrintJob();
    for (int page = 0; page < 3; ++page) {
        PrintPageHeader("Left", "Title", "Right");
        EndPrintPageFooter("Foot", "", "", "");
    }
    ShowPrintPreview("Report");
    ASSERT_EQ(shell.errorBoxes.size(), 1);
    EXPECT_TRUE(shell.errorBoxes[0].contains("was generated by PrintPreview.TemPrint"));
    EXPECT_TRUE(CurrentPrintJob().failed());
    EXPECT_EQ(LoadedPrintPrev()->windowTitle(), "Before");
    EXPECT_FALSE(QFileInfo(jobFile).isSymLink());
    // The next job writes again.
    BeginPrintJob();
    AppendPrintLine("#startpage");
    EXPECT_EQ(ReadTestSpool().lines, Lines({"#startpage"}));
}

TEST_F(SpoolWriter, ACentredTextThatWouldLeaveThePageIsLeftOutWithAMessage)
{
    NewPrintPage();
    TestHooks::msgBoxAnswers = {vbOK};
    PrintTextCentered(0.5f, 1, "Dive plan", "Arial", 30, 1);
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
    EXPECT_EQ(TestHooks::msgBoxes[0].title, "PrintInCen");
    EXPECT_EQ(TestHooks::msgBoxes[0].buttons, vbOKOnly + vbCritical);
    EXPECT_TRUE(ReadTestSpool().pages[0].items.empty());

    // Measured in its own font in page units: the preview's zoom changes nothing.
    const float half = static_cast<float>(std::floor(ArialBoldEm("Dive plan") * 600 / 2));
    PrintPrevWindow()->Cmd_Click(1);
    PrintTextCentered(11, 1, "Dive plan", "Arial", 30, 1);
    PrintPrevWindow()->Cmd_Click(2);
    PrintPrevWindow()->Cmd_Click(2);
    PrintTextCentered(11, 1, "Dive plan", "Arial", 30, 1);
    const TestSpool spool = ReadTestSpool();
    const auto &items = spool.pages.at(0).items;
    ASSERT_EQ(items.size(), 12u);
    EXPECT_EQ(items[4].args[0], items[10].args[0]);
    EXPECT_NEAR(std::stod(items[4].args[0]), 6237 - half, 10);
}

TEST_F(SpoolWriter, PicturesArePngFilesWithSixDigitNames)
{
    QImage red(40, 20, QImage::Format_RGB32);
    red.fill(Qt::red);
    NewPrintPage();
    PrintPicture(red, 0.8f, 2, 5.05f, 2);
    PrintPicture(red, 0.8f, 5, 5.05f, 2);
    AppendPrintLine("#endpage");
    const TestSpool spool = ReadTestSpool();
    const auto &items = spool.pages.at(0).items;
    ASSERT_EQ(items.size(), 2u);
    const std::string first = items[0].args[0];
    EXPECT_NE(first, items[1].args[0]); // two pictures, two files
    const QString name = QFileInfo(QString::fromStdString(first)).fileName();
    EXPECT_TRUE(QRegularExpression(R"(^_\$\$_\d{6}\.tmp$)").match(name).hasMatch()) << name.toStdString();
    EXPECT_EQ(QImageReader(QString::fromStdString(first)).format(), "png");
    const Lines place = {"453.6", "1134", "2863.35", "1134"};
    EXPECT_EQ(Lines(items[0].args.begin() + 1, items[0].args.end()), place);
    // The next job names its pictures the same way again.
    BeginPrintJob();
    NewPrintPage();
    PrintPicture(red, 0, 0, 1, 1);
    EXPECT_EQ(ReadTestSpool().pages.at(0).items.at(0).args[0], first);
}

TEST(SpoolNumbers, ReadingNumbersAndTexts)
{
    QString comma = "737,1";
    EXPECT_FLOAT_EQ(ValDecimal(comma), 737.1f);
    EXPECT_EQ(comma, "737.1");
    QString blank = "", word = "FF", lead = " 12.5cm";
    EXPECT_EQ(ValDecimal(blank), 0);
    EXPECT_EQ(ValDecimal(word), 0);
    EXPECT_FLOAT_EQ(ValDecimal(lead), 12.5f);
    EXPECT_EQ(CutAtNul(QString("/tmp/") + QChar(0) + "rest"), "/tmp/");
    EXPECT_EQ(CutAtNul("/tmp/"), "/tmp/");
    EXPECT_FALSE(FileExists(""));
    EXPECT_FALSE(FileExists("/no/such/file"));
    EXPECT_TRUE(FileExists(QString::fromUtf8(DOLV_SOURCE_DIR) + "/CMakeLists.txt"));
    // Ten centimetres of "W" in Arial 8.25 pt (0.944 em = 155.8 twips each): 36.4 fit.
    EXPECT_EQ(FitCount("W"), 36);
    EXPECT_THROW(FitCount(""), RuntimeError);
}

} // namespace
