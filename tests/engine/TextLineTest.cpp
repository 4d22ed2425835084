// Line-wise text files: LF and CR LF read alike, lines are written with CR LF, and
// reading past the end is an error rather than an endless stream of empty lines.

#include "engine/RuntimeError.h"
#include "engine/TextLineReader.h"
#include "engine/TextLineWriter.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

TEST(TextLines, ReaderTakesLfAndCrLfAndALastLineWithoutEnd)
{
    std::istringstream file("one\r\ntwo\nthree\r\n\r\nlast");
    TextLineReader in(file);
    EXPECT_EQ(in.LineInput(), "one");
    EXPECT_EQ(in.LineInput(), "two");
    EXPECT_EQ(in.LineInput(), "three");
    EXPECT_EQ(in.LineInput(), "");
    EXPECT_FALSE(in.AtEnd());
    EXPECT_EQ(in.LineInput(), "last");
    EXPECT_TRUE(in.AtEnd());
    try {
        in.LineInput();
        FAIL() << "read past the end";
    } catch (const RuntimeError &e) {
        EXPECT_EQ(e.number(), ErrInputPastEnd);
    }
}

TEST(TextLines, ReaderIsAtEndRightAfterTheLastLineEnd)
{
    std::istringstream file("a\r\n");
    TextLineReader in(file);
    EXPECT_FALSE(in.AtEnd());
    in.LineInput();
    EXPECT_TRUE(in.AtEnd());
}

TEST(TextLines, ReaderRefusesALineNoTextFileHas)
{
    std::istringstream file(std::string(TextLineReader::MaxLineLength + 10, 'x'));
    TextLineReader in(file);
    EXPECT_THROW(in.LineInput(), RuntimeError);
}

TEST(TextLines, WriterEndsEveryLineWithCrLf)
{
    std::ostringstream file;
    TextLineWriter out(file);
    out.PrintLine("a=1");
    out.PrintLine("");
    EXPECT_EQ(file.str(), "a=1\r\n\r\n");

    file.setstate(std::ios::badbit);
    EXPECT_THROW(out.PrintLine("x"), RuntimeError);
}

} // namespace
