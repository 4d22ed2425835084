// Every string ID the program's code asks for has a text in the English table, so no
// user ever meets a "*StringID n*" of our own making. The code is read as text: IDs are
// integer literals at their call sites, and a window's IDs sit in its "Tag" and
// "ToolTipText" properties and menu captions.

#include "engine/ResourceManager.h"
#include "tests/support/FakeEngineHost.h"
#include "tests/support/ScopedEnv.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace {

namespace fs = std::filesystem;

// Where code names a string ID. Add a pattern here when code names IDs another way.
const std::regex kIdPatterns[] = {
    std::regex(R"(GetLangStringQ?\(\s*(\d+)\s*\))"),
    std::regex(R"re(setProperty\(\s*"(?:Tag|ToolTipText)"\s*,\s*(?:QStringLiteral\(\s*|QString\(\s*)?"?(\d+)"?)re"),
    std::regex(R"re(IdText\(\s*(\d+)\s*\))re"),
};

// ID -> the first place that asks for it.
std::map<int, std::string> idsInCode()
{
    std::map<int, std::string> ids;
    const fs::path root(DOLV_SOURCE_DIR);
    for (const char *folder : {"engine", "platform", "shell", "settings", "print", "reports", "blending", "app"}) {
        if (!fs::exists(root / folder))
            continue;
        for (const auto &entry : fs::recursive_directory_iterator(root / folder)) {
            const auto ext = entry.path().extension();
            if (ext != ".cpp" && ext != ".h")
                continue;
            std::ifstream in(entry.path());
            std::stringstream text;
            text << in.rdbuf();
            const std::string code = text.str();
            for (const auto &pattern : kIdPatterns)
                for (std::sregex_iterator it(code.begin(), code.end(), pattern), end; it != end; ++it)
                    ids.try_emplace(std::stoi((*it)[1]), fs::relative(entry.path(), root).string());
        }
    }
    return ids;
}

TEST(StringIds, EveryIdTheCodeAsksForIsInTheEnglishTable)
{
    FakeEngineHost host;
    ScopedEnv install("DOLV_INSTALL_DIR", DOLV_SOURCE_DIR);
    std::string name = kDefaultLanguageFile;
    ASSERT_EQ(LoadLanguageDll(name), 1);
    ASSERT_TRUE(host.boxes.empty());

    const auto ids = idsInCode();
    for (const auto &[id, where] : ids) {
        EXPECT_NE(GetLangString(static_cast<int16_t>(id)), "*StringID " + std::to_string(id) + "*")
            << "string " << id << " asked for in " << where;
    }
    EXPECT_NE(GetLangString(999), "*StringID 999*"); // the language's own name
    FreeLanguageDll();
}

TEST(StringIds, TheScanFindsIdsInEveryForm)
{
    const std::string code = R"(GetLangString(1060) + GetLangStringQ( 6163 );
        w->setProperty("Tag", "2502"); a->setProperty("ToolTipText", QStringLiteral("1100"));
        IdText(1001); GetLangString(id); x->setProperty("Tag", 7);)";
    std::set<int> found;
    for (const auto &pattern : kIdPatterns)
        for (std::sregex_iterator it(code.begin(), code.end(), pattern), end; it != end; ++it)
            found.insert(std::stoi((*it)[1]));
    EXPECT_EQ(found, (std::set<int>{7, 1001, 1060, 1100, 2502, 6163}));
}

} // namespace
