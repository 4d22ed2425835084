// The language table: lookups, the missing-string form, the fallback to the default
// language with its messages, the help file and the names of other languages.

#include "engine/LibraryModule.h"
#include "engine/ResourceManager.h"
#include "tests/support/FakeEngineHost.h"
#include "tests/support/ScopedEnv.h"

#include <gtest/gtest.h>

namespace {

class LanguageTest : public testing::Test {
protected:
    void TearDown() override
    {
        FreeLanguageDll();
        ResetApplicationEnding();
    }
    FakeEngineHost host;
    TempInstallDir install;
};

TEST_F(LanguageTest, WithoutALanguageEveryIdIsMissing)
{
    EXPECT_FALSE(LanguageLoaded());
    EXPECT_EQ(GetLangString(2306), "*StringID 2306*");
    EXPECT_EQ(GetLangString(0), "*StringID 0*");
}

TEST_F(LanguageTest, ReadsTextsWithEscapesAndLineEnds)
{
    install.write("lang/DOLV_xx.lng",
                  "\xEF\xBB\xBF" "5\tFirst\\nSecond\r\n"
                  "7\tTab\\there, backslash \\\\ and \\q stay\n"
                  "8\t\n"
                  "9\tFirst wins\n"
                  "9\tSecond loses\n"
                  "not a line\n"
                  "12x\tbad number\n"
                  "999\tXx\xC3\xA4\n"
                  "1000\tNo line end");
    std::string name = "DOLV_xx.lng";
    EXPECT_EQ(LoadLanguageDll(name), 1);
    EXPECT_EQ(name, install.path() + "/lang/DOLV_xx.lng");
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_EQ(GetLangString(5), "First\nSecond");
    EXPECT_EQ(GetLangString(7), "Tab\there, backslash \\ and \\q stay");
    EXPECT_EQ(GetLangString(8), "*StringID 8*"); // an empty text counts as missing
    EXPECT_EQ(GetLangString(9), "First wins");
    EXPECT_EQ(GetLangString(12), "*StringID 12*");
    EXPECT_EQ(GetLangString(999), "Xx\xC3\xA4");
    EXPECT_EQ(GetLangString(1000), "No line end");
    EXPECT_EQ(GetLangString(1060), "*StringID 1060*");
    FreeLanguageDll();
    EXPECT_EQ(GetLangString(5), "*StringID 5*");
}

TEST_F(LanguageTest, AMissingLanguageFallsBackToTheDefaultWithAMessage)
{
    install.write("lang/DOLV_uk.lng", "999\tEnglish\n");
    std::string name = "DOLV_fr.lng";
    EXPECT_EQ(LoadLanguageDll(name), 1);
    const std::string tried = install.path() + "/lang/DOLV_fr.lng";
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].prompt, "Language DLL " + tried + " not found using default language");
    EXPECT_EQ(host.boxes[0].buttons, vbOKOnly);
    EXPECT_EQ(name, install.path() + "/lang/DOLV_uk.lng");
    EXPECT_EQ(GetLangString(999), "English");
    EXPECT_EQ(host.endCalls, 0);
    EXPECT_FALSE(ApplicationEnding());
}

// A language file that holds no text, or lost its end (and with it string 999), would
// caption every window "*StringID n*": it is passed over like a missing one.
TEST_F(LanguageTest, AnEmptyOrCutOffLanguageFallsBackToTheDefault)
{
    install.write("lang/DOLV_uk.lng", "999\tEnglish\n1001\tNew\n");
    for (const char *broken : {"", "\n\n", "no text here\n", "1001\tNeu\n1002\tAb"}) {
        SCOPED_TRACE(broken);
        host.boxes.clear();
        install.write("lang/DOLV_de.lng", broken);
        std::string name = "DOLV_de.lng";
        EXPECT_EQ(LoadLanguageDll(name), 1);
        ASSERT_EQ(host.boxes.size(), 1u);
        EXPECT_EQ(host.boxes[0].prompt,
                  "Language DLL " + install.path() + "/lang/DOLV_de.lng not found using default language");
        EXPECT_EQ(name, install.path() + "/lang/DOLV_uk.lng");
        EXPECT_EQ(GetLangString(1001), "New");
    }
    // The default cut off too: the program cannot show a word and ends.
    host.boxes.clear();
    install.write("lang/DOLV_uk.lng", "1001\tNew\n");
    std::string name = "DOLV_de.lng";
    EXPECT_EQ(LoadLanguageDll(name), 0);
    EXPECT_EQ(host.boxes.size(), 2u);
    EXPECT_EQ(host.endCalls, 1);
    EXPECT_FALSE(LanguageLoaded());
}

TEST_F(LanguageTest, WithoutTheDefaultLanguageTheApplicationEnds)
{
    std::string name = "DOLV_fr.lng";
    EXPECT_EQ(LoadLanguageDll(name), 0);
    ASSERT_EQ(host.boxes.size(), 2u);
    EXPECT_EQ(host.boxes[1].prompt, "Language DLL " + install.path() +
                                        "/lang/DOLV_uk.lng not found. Default language is also not found");
    EXPECT_EQ(host.endCalls, 1);
    EXPECT_TRUE(ApplicationEnding());
    EXPECT_FALSE(LanguageLoaded());
    // A folder of that name is no language either.
    ResetApplicationEnding();
    install.write("lang/DOLV_uk.lng/x", "");
    name = "DOLV_uk.lng";
    EXPECT_EQ(LoadLanguageDll(name), 0);
}

TEST_F(LanguageTest, HelpFileFallsBackSilentlyWithoutTest)
{
    install.write("lang/DOLV_de.hlp", "<html></html>");
    SetHelpFile("DOLV_de.hlp");
    EXPECT_EQ(HelpFile(), install.path() + "/lang/DOLV_de.hlp");
    SetHelpFile("DOLV_fr.hlp");
    EXPECT_EQ(HelpFile(), install.path() + "/lang/DOLV_uk.hlp"); // set though it is missing too
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(LanguageTest, LanguageNamesAreReadWithoutDisturbingTheLoadedLanguage)
{
    install.write("lang/DOLV_uk.lng", "999\tEnglish\n1001\tNew\n");
    const auto de = install.write("lang/DOLV_de.lng", "999\tDeutsch\n1001\tNeu\n");
    const auto anon = install.write("lang/DOLV_xx.lng", "1001\tNothing else\n");
    std::string name = "DOLV_uk.lng";
    ASSERT_EQ(LoadLanguageDll(name), 1);
    EXPECT_EQ(GetLanguageName(de), "Deutsch");
    EXPECT_EQ(GetLanguageName(anon), "*StringID 999*");
    EXPECT_EQ(GetLangString(1001), "New");
    EXPECT_TRUE(host.boxes.empty());

    // A language that cannot be read is reported and left out; the program goes on.
    const std::string gone = install.path() + "/lang/DOLV_gone.lng";
    EXPECT_FALSE(GetLanguageName(gone).has_value());
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].prompt, "Language DLL " + gone + " not found");
    EXPECT_EQ(host.endCalls, 0);
    EXPECT_EQ(GetLangString(1001), "New");
}

} // namespace
