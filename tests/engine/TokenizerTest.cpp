// Cutting key=value lines and the lists inside template and profile lines into tokens.

#include "engine/ClassTokenizer.h"

#include <gtest/gtest.h>

namespace {

TEST(Tokenizer, CountsOneTokenMoreThanDelimiters)
{
    const ClassTokenizer t;
    EXPECT_EQ(t.tokenCount("a,b,c", ","), 3);
    EXPECT_EQ(t.tokenCount("", ","), 1);
    EXPECT_EQ(t.tokenCount("a,,b", ","), 3);
    EXPECT_EQ(t.tokenCount("a.b c", ","), 1);
    EXPECT_EQ(t.tokenCount("a.b c"), 3);      // default set: "." and " "
    EXPECT_TRUE(t.hastokens("x=1", "="));
    EXPECT_FALSE(t.hastokens("abc", ","));
    EXPECT_FALSE(t.hastokens("", ","));
}

TEST(Tokenizer, NextTokenCutsTheTextOrLeavesItWhole)
{
    const ClassTokenizer t;
    std::string line = "Setpoint= 1.3";
    EXPECT_EQ(t.nextToken(line, "="), "Setpoint");
    EXPECT_EQ(line, " 1.3");

    std::string plain = "abc";
    EXPECT_EQ(t.nextToken(plain, ","), "abc");
    EXPECT_EQ(plain, "abc");

    std::string row = "21:EAN50,";
    EXPECT_EQ(t.nextToken(row, ",", true), "21:EAN50,");
    EXPECT_EQ(row, "");

    // The first delimiter of a set ends the token, whichever it is.
    std::string mixed = "21/79:0";
    EXPECT_EQ(t.nextToken(mixed, ":/"), "21");
    EXPECT_EQ(mixed, "79:0");
}

TEST(Tokenizer, NoOrEmptyDelimiterSetMeansTheDefaultSet)
{
    const ClassTokenizer t;
    for (const char *set : {"", ClassTokenizer::DefaultDelimiters}) {
        std::string text = "a-b";
        EXPECT_EQ(t.nextToken(text, set), "a") << set;
        EXPECT_EQ(text, "b");
    }
    std::string text = "a-b";
    EXPECT_EQ(t.nextToken(text), "a");
    // Each of the ten default delimiters splits; other characters do not.
    EXPECT_EQ(t.tokenCount(":;,. \\|/-&"), 11);
    EXPECT_EQ(t.tokenCount("a_b+c=d"), 1);
}

TEST(Tokenizer, NthTokenAndNTokensCountFromOne)
{
    const ClassTokenizer t;
    EXPECT_EQ(t.nthToken("a,b,c", 1, ","), "a");
    EXPECT_EQ(t.nthToken("a,b,c", 3, ","), "c");
    EXPECT_EQ(t.nthToken("a,b,c", 4, ","), "");
    EXPECT_EQ(t.nTokens(2, 2, "a,b,c", ","), "b|c");
    EXPECT_EQ(t.nTokens(1, 3, "a,b,c", ","), "a|b|c");
    EXPECT_EQ(t.nTokens(2, 3, "a,b,c", ","), "");
    EXPECT_EQ(t.nthToken("a,,b", 2, ","), "");
    EXPECT_EQ(t.nthToken(" 32/ 68/ 0/", 2, "/"), " 68");
    EXPECT_EQ(t.nTokens(1, 2, "a,b,c", ",", true), "a,|b,");
}

} // namespace
