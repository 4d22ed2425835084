// The shared rounding, text and path routines. Expected values are worked by hand from
// the rules: RoundTo floors x * 10^n + 0.5, stop times round halves up with 1 minute
// at least, hours-and-minutes rounds the minutes halves to even.

#include "engine/EngineGlobals.h"
#include "engine/LibraryModule.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct RoundCase {
    float x;
    int16_t n;
    float expected;
};

TEST(Rounding, RoundToHalvesGoUpAlsoForNegativeValues)
{
    const RoundCase cases[] = {
        {2.345f, 2, 2.35f},  {0.25f, 1, 0.3f},    {-0.5f, 0, 0.0f},   {-1.25f, 1, -1.2f},
        {-1.26f, 1, -1.3f},  {-1.5f, 0, -1.0f},   {1.5f, 0, 2.0f},    {2.5f, 0, 3.0f},
        {2.4999f, 0, 2.0f},  {15.0f, -1, 20.0f},  {14.9f, -1, 10.0f}, {-15.0f, -1, -10.0f},
        {1234.5f, -2, 1200.0f}, {0.0f, 3, 0.0f},  {1.0f / 3.0f, 4, 0.3333f},
        {99.95f, 1, 99.9f}, // the Single 99.95 is 99.9499969: 999.499969 + 0.5 floors to 999
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << " to " << c.n);
        EXPECT_FLOAT_EQ(RoundTo(c.x, c.n), c.expected);
    }
    // -0.5 rounds to a true zero, not to a negative zero that would print as "-0".
    EXPECT_FALSE(std::signbit(RoundTo(-0.5f, 0)));
}

TEST(Rounding, RoundVarRoundsSinglesOnly)
{
    EXPECT_FLOAT_EQ(*RoundVar(2.345f, 2), 2.35f);
    EXPECT_FALSE(RoundVar(int16_t(3), 1).has_value());
    EXPECT_FALSE(RoundVar(2.345, 2).has_value()); // a Double is no Single
}

TEST(Rounding, StopTimesAreWholeMinutesOfAtLeastOne)
{
    const std::pair<float, float> cases[] = {
        {0.0f, 1.0f},  {0.2f, 1.0f},  {0.99f, 1.0f}, {-3.0f, 1.0f}, {1.0f, 1.0f},
        {1.5f, 2.0f},  {2.49f, 2.0f}, {3.5f, 4.0f},  {3.49f, 3.0f}, {12.5f, 13.0f},
        {std::numeric_limits<float>::quiet_NaN(), 1.0f},
    };
    for (const auto &[x, expected] : cases) {
        SCOPED_TRACE(x);
        EXPECT_EQ(RoundStopTime(x), expected);
    }
}

TEST(Rounding, MaxAndMinGiveTheSecondOnEquality)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(MaxSingle(2, 1), 2);
    EXPECT_EQ(MaxSingle(1, 2), 2);
    EXPECT_EQ(MinSingle(1, 2), 1);
    EXPECT_EQ(MinSingle(2, 1), 1);
    // Equal values: the second argument (visible through the sign of zero).
    EXPECT_TRUE(std::signbit(MaxSingle(0.0f, -0.0f)));
    EXPECT_TRUE(std::signbit(MinSingle(0.0f, -0.0f)));
    EXPECT_FALSE(std::signbit(MinSingle(-0.0f, 0.0f)));
    // Not a number: Max gives b, Min gives a.
    EXPECT_EQ(MaxSingle(nan, 3), 3);
    EXPECT_TRUE(std::isnan(MaxSingle(3, nan)));
    EXPECT_TRUE(std::isnan(MinSingle(nan, 3)));
    EXPECT_EQ(MinSingle(3, nan), 3);
}

TEST(Text, ReplaceTextReplacesEveryOccurrenceOnce)
{
    EXPECT_EQ(ReplaceText(",", ".", "1,234,5"), "1.234.5");
    EXPECT_EQ(ReplaceText("x", "y", "abc"), "abc");
    EXPECT_EQ(ReplaceText("aa", "b", "aaaaa"), "bba");      // no overlapping hits
    EXPECT_EQ(ReplaceText("a", "aa", "aba"), "aabaa");      // replaced text is not searched
    EXPECT_EQ(ReplaceText(".", "", "1.000.000"), "1000000");
    EXPECT_EQ(ReplaceText("\xE2\x80\xAF", "", "1\xE2\x80\xAF" "000"), "1000"); // a multi-byte separator
    // An empty search text would never advance: the text comes back unchanged.
    EXPECT_EQ(ReplaceText("", "x", "abc"), "abc");
    EXPECT_EQ(ReplaceText("", "x", ""), "");
}

class LocaleValTest : public testing::Test {
protected:
    void TearDown() override { ResetEngineGlobals(); }
    void separators(const char *decimal, const char *thousands)
    {
        gDecimalSeparator = decimal;
        gThousandSeparator = thousands;
    }
};

// A typed number is never read 10 or 1000 times larger than meant: the other notation's
// decimal point is a decimal point; grouping counts in fields holding thousands only.
TEST_F(LocaleValTest, GermanSeparators)
{
    separators(",", ".");
    for (const auto &[typed, value] : std::vector<std::pair<std::string, float>>{
             {"1,5", 1.5f}, {"1.6", 1.6f}, {"1.500", 1.5f}, {"-0,25", -0.25f}, {"21 %", 21}, {"abc", 0}, {"1.234,75", 0}})
        EXPECT_FLOAT_EQ(LocaleVal(typed), value) << typed;
    for (const auto &[typed, value] : std::vector<std::pair<std::string, float>>{
             {"200.5", 200.5f}, {"1.500", 1500}, {"1.234,75", 1234.75f}, {"12.345.678", 12345678}})
        EXPECT_FLOAT_EQ(LocaleVal(typed, true), value) << typed;
    for (const char *unreadable : {"1.2.3", "1,2,3", "1.23.456", "1,5.3", ","})
        EXPECT_FALSE(IsLocaleNumber(unreadable, true)) << unreadable;
}

TEST_F(LocaleValTest, EnglishSeparators)
{
    separators(".", ",");
    EXPECT_FLOAT_EQ(LocaleVal("1,234.5", true), 1234.5f);
    EXPECT_FLOAT_EQ(LocaleVal("1,5", true), 1.5f);
    EXPECT_FLOAT_EQ(LocaleVal(" 1E-05"), 1e-5f);
}

// Nothing beyond a Single is a number: it would become infinity in a record.
TEST_F(LocaleValTest, NumbersBeyondASingleAreNoNumbers)
{
    separators(".", "");
    for (const std::string &typed : {std::string("1e400"), std::string("1E+39"), std::string(41, '9')})
        EXPECT_FALSE(LocaleVal(typed) != 0 || IsLocaleNumber(typed)) << typed;
    EXPECT_TRUE(IsLocaleNumber(std::string(38, '9')));
}

struct SplitCase {
    const char *path;
    const char *parts[4];
};

TEST(Text, SplitPathParts)
{
    const SplitCase cases[] = {
        {"C:/dir/file.tpl", {"file.tpl", "C:/dir/", ".tpl", "C:"}},
        {"C:/profiles/dive.prf", {"dive.prf", "C:/profiles/", ".prf", "C:"}},
        {"/home/anna/dives/deep.prf", {"deep.prf", "/home/anna/dives/", ".prf", ""}},
        {"C:/d/x.html", {"x.html", "C:/d/", "", "C:"}},           // 4 characters: no extension
        {"C:/a.b/c", {"c", "C:/a.b/", "", "C:"}},                 // the scan stops at the last "/"
        {"file.tpl", {".tpl", "file", ".tpl", ""}},               // no folder at all
        {"C:file.tpl", {".tpl", "C:file", ".tpl", "C:"}},
        {"/d/archive.tar.gz", {"archive.tar.gz", "/d/", ".gz", ""}}, // only the last "." starts it
        {"C:/p/dive.v2.prf", {"dive.v2.prf", "C:/p/", ".prf", "C:"}},
        {"/d/notes.", {"notes.", "/d/", "", ""}},                 // nothing after the "."
        {"/d/", {"d/", "/", "", ""}},                            // a trailing "/" is no file name
        {"", {"", "", "", ""}},
        // A long name is still the file name, and the folders keep their dots.
        {"/d.1/abcdefghijabcdefghijabcdefghijabcdefghijK.prf",
         {"abcdefghijabcdefghijabcdefghijabcdefghijK.prf", "/d.1/", ".prf", ""}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path);
        for (int16_t part = 1; part <= 4; ++part) {
            if (c.parts[part - 1]) {
                EXPECT_EQ(SplitPath(c.path, part), c.parts[part - 1]) << "part " << part;
            }
        }
    }
    // Saving to folder & name writes the file that was opened, whatever its name.
    for (const char *path : {"C:/p/dive.v2.prf", "/a.b/c.d/x.html", "/d/.profile", "/d/a..b", "dive.v2.prf",
                             "/d.1/abcdefghijabcdefghijabcdefghijabcdefghijK.x.prf"}) {
        EXPECT_EQ(SplitPath(path, 2) + SplitPath(path, 1), path);
    }
    EXPECT_EQ(SplitPath("C:/dir/file.tpl", 0), "");
    EXPECT_EQ(SplitPath("C:/dir/file.tpl", 5), "");
}

TEST(Text, FormatHoursMinutes)
{
    const std::pair<float, const char *> cases[] = {
        {0.0f, "0 hrs :0 min"},    {125.0f, "2 hrs :5 min"},   {90.5f, "1 hrs :30 min"},
        {91.5f, "1 hrs :32 min"},  {119.6f, "1 hrs :60 min"},  {60.0f, "1 hrs :0 min"},
        {1440.0f, "24 hrs :0 min"}, {0.4f, "0 hrs :0 min"},    {59.5f, "0 hrs :60 min"},
    };
    for (const auto &[minutes, text] : cases) {
        SCOPED_TRACE(minutes);
        EXPECT_EQ(FormatHoursMinutes(minutes), text);
    }
}

} // namespace
