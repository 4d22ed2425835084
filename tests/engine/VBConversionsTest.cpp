// The shared number conversions and number texts. Reference values are those of the
// classic BASIC runtime the file formats were made with.

#include "engine/RuntimeError.h"
#include "engine/VBConversions.h"

#include <gtest/gtest.h>

#include <clocale>

namespace {

TEST(Conversions, IntFloorsAndCIntRoundsHalvesToEven)
{
    EXPECT_EQ(Int(2.7), 2);
    EXPECT_EQ(Int(-2.3), -3);
    EXPECT_EQ(Int(-2.0), -2);
    EXPECT_EQ(CInt(0.5), 0);
    EXPECT_EQ(CInt(1.5), 2);
    EXPECT_EQ(CInt(2.5), 2);
    EXPECT_EQ(CInt(-2.5), -2);
    EXPECT_EQ(CInt(-3.5), -4);
    EXPECT_EQ(CInt(2.51), 3);
    EXPECT_EQ(CInt(32767.4), 32767);
    EXPECT_THROW(CInt(32767.5), RuntimeError);
    EXPECT_THROW(CInt(-32769), RuntimeError);
    EXPECT_EQ(CLng(100000.5), 100000);
}

struct ValCase {
    const char *text;
    double value;
};

TEST(Conversions, ValReadsTheLeadingNumber)
{
    const ValCase cases[] = {
        {"", 0},          {"abc", 0},       {" 1.5", 1.5},       {"-.25", -0.25},
        {"12abc", 12},    {" 1E-05", 1e-5}, {"2.5E+3x", 2500},   {"1 2 3", 123},
        {"\t-7", -7},     {"1,5", 1},       {"+4.", 4},          {"&H1F", 31},
        {"&O17", 15},     {"3e", 3},        {"1D2", 100},        {".5.5", 0.5},
        {"--1", 0},       {"1e-400", 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_DOUBLE_EQ(Val(c.text), c.value);
    }
    EXPECT_THROW(Val("1e400"), RuntimeError);
}

struct StrCase {
    float value;
    const char *text;
};

TEST(Conversions, StrOfASingleHasSevenDigitsAndALeadingBlank)
{
    const StrCase cases[] = {
        {0.0f, " 0"},          {1.0f, " 1"},           {-1.0f, "-1"},
        {1.3f, " 1.3"},        {0.5f, " .5"},          {-0.25f, "-.25"},
        {0.0001f, " .0001"},   {0.00001f, " 1E-05"},   {1.5e-5f, " 1.5E-05"},
        {1234567.0f, " 1234567"}, {12345678.0f, " 1.234568E+07"},
        {0.1f, " .1"},         {1.0f / 3.0f, " .3333333"}, {21.5f, " 21.5"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Str(c.value), c.text);
    }
    EXPECT_EQ(Str(0.1), " .1");
    EXPECT_EQ(Str(1.0 / 3.0), " .333333333333333");
    EXPECT_EQ(Str(int32_t{-5}), "-5");
    EXPECT_EQ(CStr(0.5f), ".5");
    EXPECT_EQ(CStr(int32_t{42}), "42");
    // Joined into a text a fraction keeps its leading 0; exponents stay as Str has them.
    EXPECT_EQ(JoinStr(0.5f), "0.5");
    EXPECT_EQ(JoinStr(-0.25f), "-0.25");
    EXPECT_EQ(JoinStr(20.0f), "20");
    EXPECT_EQ(JoinStr(1.5e-5f), "1.5E-05");
}

struct FixedCase {
    double value;
    int decimals;
    const char *text;
};

TEST(Conversions, FixedPatternsRoundHalvesAwayFromZero)
{
    const FixedCase cases[] = {
        {2.5, 0, "3"},      {-2.5, 0, "-3"},     {0.125, 2, "0.13"},   {-0.125, 2, "-0.13"},
        {2.675, 2, "2.68"}, {1.005, 2, "1.01"},  {9.995, 2, "10.00"},  {0.0, 1, "0.0"},
        {123.456, 0, "123"}, {0.04, 1, "0.0"},   {-0.04, 1, "0.0"},    {1e-7, 3, "0.000"},
        {1234567.891, 2, "1234567.89"}, {0.5, 3, "0.500"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FormatFixed(c.value, c.decimals), c.text);
    }
    EXPECT_EQ(FormatFixed(2.675f, 2), "2.68");
    EXPECT_EQ(FormatFixed(1.45f, 1), "1.5");
    EXPECT_EQ(LocaliseNumberText("1.5", ","), "1,5");
    EXPECT_EQ(LocaliseNumberText("15", ","), "15");
}

TEST(Conversions, TextsIgnoreTheUserLocale)
{
    // Qt switches the C library to the user's locale; file formats must not follow it.
    const char *german = std::setlocale(LC_ALL, "de_DE.UTF-8");
    if (!german)
        GTEST_SKIP() << "de_DE.UTF-8 locale not installed";
    EXPECT_EQ(Str(1.5f), " 1.5");
    EXPECT_DOUBLE_EQ(Val("1.5"), 1.5);
    EXPECT_EQ(FormatFixed(1.25, 1), "1.3");
    std::setlocale(LC_ALL, "C");
}

} // namespace
