// The dive information as clipboard text: titles centred in 80 columns, the settings in
// three columns, table rows of 79 columns, every line ending in CR LF.

#include "reports/GeneralInfoClip.h"

#include "engine/ResourceManager.h"

#include <gtest/gtest.h>

namespace {

QString blanks(int n)
{
    return QString(n, QLatin1Char(' '));
}

} // namespace

TEST(GeneralInfoClip, TitlesAreCentredWithHalvesRoundedToEven)
{
    // 60 free columns: 30 a side. 59 free: 29.5 rounds to 30; 61 free: 30.5 rounds to 30.
    for (int length : {19, 20, 21}) {
        const QString title(length, QLatin1Char('t'));
        QString text;
        EXPECT_EQ(ClipCenter(text, title), blanks(31) + title + blanks(51) + "\r\n") << length;
    }
    // A line longer than the page gets no blanks before it rather than an error.
    QString text;
    EXPECT_TRUE(ClipCenter(text, QString(90, QLatin1Char('d'))).startsWith('d'));
}

TEST(GeneralInfoClip, KeyValuePartsStartInColumns1_20And52)
{
    QString text;
    ClipKeyValue(text, "Model: ZH-L16C", "Units: Metric", "Mode: Open circuit");
    EXPECT_EQ(text, "Model: ZH-L16C" + blanks(5) + "Units: Metric" + blanks(19) + "Mode: Open circuit\r\n");
    // A key of 18 characters keeps one blank; one of 19 has none and pushes the rest on.
    const QString k18(18, QLatin1Char('k')), k19(19, QLatin1Char('k'));
    text.clear();
    EXPECT_EQ(ClipKeyValue(text, k18, "v", "w"), k18 + " v" + blanks(31) + "w\r\n");
    text.clear();
    EXPECT_EQ(ClipKeyValue(text, k19, "v", "w"), k19 + "v" + blanks(31) + "w\r\n");
}

TEST(GeneralInfoClip, TableRowsAre79ColumnsWhenTheirCellsFit)
{
    const int widths[13] = {6, 5, 7, 4, 3, 5, 5, 5, 3, 7, 6, 6, 4};
    QString text;
    EXPECT_EQ(ClipTableRow(text, QStringList()).size(), 79) << "empty cells keep their blanks";
    // Cells of w characters get one blank; cells of w + 1 none, and still end at their column.
    QStringList full, over;
    QString expected;
    for (int w : widths) {
        full << QString(w, QLatin1Char('x'));
        over << QString(w + 1, QLatin1Char('y'));
        expected += QString(w, QLatin1Char('x')) + ' ';
    }
    text.clear();
    EXPECT_EQ(ClipTableRow(text, full), expected);
    text.clear();
    EXPECT_EQ(ClipTableRow(text, over), over.join(QString()));
    EXPECT_EQ(text.size(), 79);
    // A longer cell pushes the rest of the row to the right.
    text.clear();
    EXPECT_EQ(ClipTableRow(text, {"Depth12345", "T"}).indexOf('T'), 10);
}

TEST(GeneralInfoClip, EmptyGridsGiveTheirTitleBoxAndHeaderRow)
{
    std::string language = "DOLV_uk.lng";
    ASSERT_EQ(LoadLanguageDll(language), 1);
    GeneralInfoTexts shown;
    shown.caption = "Dive 1 [Default]";
    shown.surfaceInterval = "None";
    const QStringList lines = ClipboardReport(shown).split("\r\n");
    FreeLanguageDll();

    const QString rule81(81, QLatin1Char('_')), rule80(80, QLatin1Char('_'));
    ASSERT_EQ(lines[0], rule81);
    EXPECT_EQ(lines[1].trimmed(), "Dive plan:   Dive 1 [Default]");
    EXPECT_EQ(lines[4], "Surface interval: None");
    const auto box = lines.indexOf(rule81, 3);
    ASSERT_EQ(box, 16) << "title, interval and settings before the tables";
    const QStringList expected = {
        rule81, blanks(35) + "Dive profile" + blanks(47), rule81,
        "Depth  Time  Run time%O2  %He ppO2  CNS % OTU   END Gas usedM-value %GF %   Model",
        // 39 characters: 20.5 rounds to 20, 21 blanks before; 35: 22.5 to 22, 23 before.
        rule81, blanks(21) + "Decompression stops:   Dive 1 [Default]" + blanks(61), rule81,
        // "Run time" is one longer than its column and fills it to the end.
        "Depth  Time  Run time%O2  %He " + blanks(79 - 30), rule80,
        rule81, blanks(23) + "Gas consumption:   Dive 1 [Default]" + blanks(59), rule81,
        "Gas" + blanks(10) + "Used" + blanks(79 - 17), rule80, ""};
    EXPECT_EQ(lines.mid(box), expected);
}
