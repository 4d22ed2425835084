// The printed blending sheet: every item of its one page where it stands, the numbers in
// the blend's own unit (bar or psi, whatever dive is active), and the page as it comes
// out of the printer.

#include "blending/PartialMix.h"
#include "engine/EngineGlobals.h"
#include "engine/ResourceManager.h"
#include "platform/LibraryModule.h"
#include "platform/LocaliseForm.h"
#include "print/PrintPreview.h"
#include "print/PrintPrev.h"
#include "print/SpoolInterpreter.h"
#include "tests/support/FakeEngineHost.h"
#include "tests/support/FakeShellServices.h"
#include "tests/support/SpoolFile.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QLocale>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>

namespace {

using Items = std::vector<std::string>;

// A page as what it draws, in centimetres: "box x1 y1 x2 y2", "filled x1 y1 x2 y2
// colour", "left x y size text" (a "b" after the size for bold), "right ..." and
// "centre y size text" (a centred text's x depends on the font's widths).
Items Drawn(const TestSpoolPage &page)
{
    const auto cm = [](const std::string &twips) {
        return QString::number(std::round(std::stod(twips) / 567 * 1000) / 1000).toStdString();
    };
    Items drawn;
    std::string x, y, size, bold, font;
    for (const TestSpoolItem &item : page.items) {
        const std::string &k = item.keyword;
        if (k == "#fn")
            font = item.args[0];
        else if (k == "#fs")
            size = item.args[0];
        else if (k == "#fb")
            bold = item.args[0] == "0" ? "" : "b";
        else if (k == "#x")
            x = item.args[0];
        else if (k == "#y")
            y = item.args[0];
        else if (k == "#line") {
            const auto &a = item.args;
            const std::string corners = cm(a[0]) + " " + cm(a[1]) + " " + cm(a[2]) + " " + cm(a[3]);
            drawn.push_back(a[5] == "BF" ? "filled " + corners + " " + a[4] : "box " + corners);
        } else if (k.rfind("#txt_", 0) == 0) {
            EXPECT_EQ(font, "Arial") << item.args[0];
            const std::string at = k == "#txt_c" ? "centre " + cm(y) : (k == "#txt_l" ? "left " : "right ") + cm(x) + " " + cm(y);
            drawn.push_back(at + " " + size + bold + " " + item.args[0]);
        }
    }
    return drawn;
}

bool Has(const Items &page, const std::string &item)
{
    return std::find(page.begin(), page.end(), item) != page.end();
}

std::string Today()
{
    return QLocale().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
}

// 200 bar of 21/35 from an empty air cylinder, by the air top: 18.6 bar of O2, 70 of He
// and 110.4 of air (N2 8800 - 79 = 8721 from air, / 0.79 = 11039.2; its O2 2318.2 of
// the 4200 - 21 = 4179 wanted).
MixPrintData Trimix2135(bool metric)
{
    MixPrintData d;
    d.AirTopO2 = 4179 - 8721.0f / 0.79f * 0.21f;
    d.AirTopHe = 7000;
    d.AirTopAir = 8721.0f / 0.79f;
    d.CurO2 = 21, d.CurHe = 0, d.CurN2 = 79;
    d.CurFill = metric ? 1.0f : 14.7f; // as typed, in the window's unit
    d.DesO2 = 21, d.DesHe = 35, d.DesN2 = 44;
    d.DesFill = 200; // bar
    d.Metric = metric;
    // What the real-gas labels showed; the sheet leaves them out.
    d.IdealTopO2 = 12.3f, d.IdealTopHe = 77.7f, d.IdealTopN2 = 109.9f;
    return d;
}

class BlendingSheet : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string name = kDefaultLanguageFile;
        ASSERT_EQ(LoadLanguageDll(name), 1);
        ResetEngineGlobals();
        gDecimalSeparator = ".";
    }
    void TearDown() override
    {
        UnloadPrintPrev();
        Printer().setOutputFileName(QString());
        FreeLanguageDll();
        ResetEngineGlobals();
    }

    static Items PrintedPage(const MixPrintData &d)
    {
        PrintPartialMix(true, true, d);
        const TestSpool spool = ReadTestSpool();
        EXPECT_TRUE(spool.crlf);
        EXPECT_TRUE(spool.outside.empty());
        EXPECT_EQ(spool.pages.size(), 1u);
        return spool.pages.empty() ? Items() : Drawn(spool.pages[0]);
    }

    FakeEngineHost host;
    FakeShellServices shell;
};

} // namespace

TEST_F(BlendingSheet, StatesBothCylindersAndTheGasToAddOnOnePage)
{
    const Items page = PrintedPage(Trimix2135(true));
    const Items expected = {
        "filled 1 1 28.5 2.9 10526880", "box 1 1 28.5 2.9",
        "left 1.3 2.2 15b Gas blender", "centre 1.2 30b Blending sheet", "right 28 2.2 15b Date: " + Today(),

        "box 2 6 7 8", "left 2 5 18 Cylinder now",
        "left 2.5 6 10 Pressure", "left 4.5 6 10 1.0 bar",
        "left 2.5 6.5 10 Oxygen", "left 4.5 6.5 10 21.0%",
        "left 2.5 7 10 Helium", "left 4.5 7 10 0.0%",
        "left 2.5 7.5 10 Nitrogen", "left 4.5 7.5 10 79.0%",

        "box 15 6 20 8", "left 15 5 18 Cylinder wanted",
        "left 15.5 6 10 Pressure", "left 17.5 6 10 200.0 bar",
        "left 15.5 6.5 10 Oxygen", "left 17.5 6.5 10 21.0%",
        "left 15.5 7 10 Helium", "left 17.5 7 10 35.0%",
        "left 15.5 7.5 10 Nitrogen", "left 17.5 7.5 10 44.0%",

        "box 2 13.5 7 15", "left 2 12 18 Gas to add",
        "left 2.5 13.5 10 Oxygen", "left 4.5 13.5 10 18.6 bar",
        "left 2.5 14 10 Helium", "left 4.5 14 10 70.0 bar",
        "left 2.5 14.5 10 Air", "left 4.5 14.5 10 110.4 bar",

        "filled 1 17.3 28.5 19.2 10526880", "box 1 17.3 28.5 19.2",
        "left 1.3 18.5 15b Printed by: " + GetNetUserName(),
        "left 6 17.4 10b " + GetLangString(6086), "left 6 17.9 10b " + GetLangString(6087),
        "right 27 18.5 15b Page 1"};
    EXPECT_EQ(page, expected);

    PrintPrev *preview = LoadedPrintPrev();
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->isVisible());
    EXPECT_FALSE(preview->isModal());
    EXPECT_EQ(preview->windowTitle(), GetLangStringQ(1036));
    EXPECT_EQ(preview->getPageMax(), "1");
}

TEST_F(BlendingSheet, PrintsEachBlendInItsOwnUnitWhateverDiveIsActive)
{
    // The active dive is metric (the default template); the blend came from a window
    // working in psi: the current fill stays as typed, the bar values are converted.
    gSettings[0].Template.Metric = true;
    MixPrintData d = Trimix2135(false);
    d.AirTopO2 = -1000; // an unreachable blend still prints as it is
    const Items page = PrintedPage(d);
    EXPECT_TRUE(Has(page, "left 4.5 6 10 14.7 psi"));
    EXPECT_TRUE(Has(page, "left 17.5 6 10 2940.0 psi")) << "200 bar x 14.7";
    EXPECT_TRUE(Has(page, "left 4.5 13.5 10 -147.0 psi")) << "-10 bar x 14.7";
    EXPECT_TRUE(Has(page, "left 4.5 14 10 1029.0 psi")) << "70 bar x 14.7";
    EXPECT_TRUE(Has(page, "left 4.5 14.5 10 1622.8 psi")) << "110.39 bar x 14.7";
    EXPECT_TRUE(Has(page, "left 17.5 7 10 35.0%")) << "percentages need no unit";

    // And a metric blend with an imperial dive active prints bar.
    SettingsRecord imperial;
    imperial.Template.Metric = false;
    gSettings.push_back(imperial);
    shell.activeProfile = 1;
    // The second sheet is a new job, again page 1; numbers take the user's separator.
    gDecimalSeparator = ",";
    MixPrintData m = Trimix2135(true);
    m.AirTopO2 = 1050;
    const Items metric = PrintedPage(m);
    EXPECT_TRUE(Has(metric, "left 4.5 13.5 10 10,5 bar"));
    EXPECT_TRUE(Has(metric, "left 17.5 6 10 200,0 bar"));
    EXPECT_EQ(metric.back(), "right 27 18.5 15b Page 1");
}

// The page as it comes out of the printer. DOLV_SHOTS=<folder> keeps the PDF and a PNG
// of the page for a person to look at.
TEST_F(BlendingSheet, ComesOutOfThePrinterReadable)
{
    PrintPartialMix(true, true, Trimix2135(false));
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const char *shots = std::getenv("DOLV_SHOTS");
    const QString pdf = shots ? QDir(shots).filePath("blending-sheet.pdf") : dir.filePath("sheet.pdf");
    ASSERT_EQ(PrintSpoolToPdf(pdf, 1, 1), 1);
    ASSERT_EQ(PdfPageCount(pdf), 1);
    const QString text = PdfText(pdf, 1);
    // Label and value read on one line, the two cylinders side by side.
    EXPECT_TRUE(text.contains(QRegularExpression("Pressure +14\\.7 psi +Pressure +2940\\.0 psi"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression("Nitrogen +79\\.0% +Nitrogen +44\\.0%")));
    EXPECT_TRUE(text.contains(QRegularExpression("Air +1622\\.8 psi")));
    EXPECT_TRUE(text.contains("Blending sheet"));

    const QImage image = PdfPageImage(pdf, 1, 100);
    ASSERT_FALSE(image.isNull());
    if (shots)
        image.save(QDir(shots).filePath("blending-sheet.png"));
}
