// The language tables and help files shipped in lang/. The tables are read here as plain
// files, line by line, so a fault in them shows up with its line number, whatever the
// loader makes of it: every ID the windows ask for must have a text, and texts that the
// windows join with numbers and other texts must keep the shape the join relies on.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

fs::path langDir() { return fs::path(DOLV_SOURCE_DIR) / "lang"; }

std::string readFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream data;
    data << in.rdbuf();
    return data.str();
}

// True when s is well-formed UTF-8 (no overlong forms, no surrogates).
bool isUtf8(const std::string &s)
{
    for (size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const int extra = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : -1;
        if (extra < 0 || i + extra >= s.size())
            return false;
        uint32_t cp = extra == 0 ? c : c & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            const auto cc = static_cast<unsigned char>(s[i + k]);
            if ((cc >> 6) != 0x2)
                return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        static const uint32_t smallest[] = {0, 0x80, 0x800, 0x10000};
        if (cp < smallest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

struct Table {
    std::map<int, std::string> texts; // ID -> text as written, escapes kept
    std::vector<std::string> faults;
};

// Reads one table strictly: "ID<TAB>text" per line, IDs of 1 to 32767 in rising order,
// non-empty texts, only \n, \t and \\ as escapes, no raw tabs or control characters.
Table readTable(const fs::path &path)
{
    Table t;
    const std::string data = readFile(path);
    if (data.empty()) {
        t.faults.push_back("empty or unreadable file");
        return t;
    }
    if (data.back() != '\n')
        t.faults.push_back("last line has no line end");
    std::istringstream in(data);
    std::string line;
    int lineNo = 0;
    int previous = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        const auto fault = [&](const std::string &what) {
            t.faults.push_back("line " + std::to_string(lineNo) + ": " + what);
        };
        const size_t tab = line.find('\t');
        if (tab == std::string::npos || tab == 0 || tab > 5 ||
            line.find_first_not_of("0123456789") != tab) {
            fault("not ID<TAB>text");
            continue;
        }
        const int id = std::stoi(line.substr(0, tab));
        const std::string text = line.substr(tab + 1);
        if (id < 1 || id > 32767)
            fault("ID " + std::to_string(id) + " outside 1..32767");
        if (id <= previous)
            fault("ID " + std::to_string(id) + " not above the one before");
        previous = id;
        if (text.empty())
            fault("empty text");
        if (!isUtf8(text))
            fault("text is not UTF-8");
        for (size_t i = 0; i < text.size(); ++i) {
            if (static_cast<unsigned char>(text[i]) < 0x20)
                fault("raw control character in the text");
            if (text[i] == '\\') {
                if (i + 1 == text.size() || std::string("nt\\").find(text[i + 1]) == std::string::npos)
                    fault("unknown escape");
                ++i;
            }
        }
        t.texts[id] = text;
    }
    return t;
}

std::vector<fs::path> tableFiles()
{
    std::vector<fs::path> files;
    for (const auto &entry : fs::directory_iterator(langDir())) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("DOLV_", 0) == 0 && entry.path().extension() == ".lng")
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string joined(const std::vector<std::string> &faults)
{
    std::string all;
    for (const auto &f : faults)
        all += "\n  " + f;
    return all;
}

TEST(LanguageTables, EveryTableIsWellFormed)
{
    const auto files = tableFiles();
    std::set<std::string> names;
    for (const auto &f : files)
        names.insert(f.filename().string());
    EXPECT_TRUE(names.count("DOLV_uk.lng"));
    EXPECT_TRUE(names.count("DOLV_de.lng"));
    for (const auto &f : files) {
        const Table t = readTable(f);
        EXPECT_TRUE(t.faults.empty()) << f.filename() << joined(t.faults);
    }
}

TEST(LanguageTables, EnglishHasATextForEveryIdThatDolvAsksFor)
{
    std::ifstream list(fs::path(DOLV_TEST_DATA) / "string_ids_uk.txt");
    ASSERT_TRUE(list) << "ID list missing";
    const Table uk = readTable(langDir() / "DOLV_uk.lng");
    std::vector<std::string> missing;
    std::set<int> listed;
    std::string line;
    while (std::getline(list, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        const int id = std::stoi(line);
        EXPECT_TRUE(listed.insert(id).second) << "listed twice: " << id;
        if (!uk.texts.count(id) || uk.texts.at(id).empty())
            missing.push_back(std::to_string(id));
    }
    EXPECT_GT(listed.size(), 500u);
    EXPECT_TRUE(missing.empty()) << "IDs without an English text:" << joined(missing);
}

TEST(LanguageTables, EveryLanguageNamesItselfAndUsesOnlyKnownIds)
{
    const Table uk = readTable(langDir() / "DOLV_uk.lng");
    std::set<std::string> displayNames;
    for (const auto &f : tableFiles()) {
        SCOPED_TRACE(f.filename().string());
        const Table t = readTable(f);
        ASSERT_TRUE(t.texts.count(999)) << "no language name (999)";
        // The language chooser lists the tables by this name; two equal names could
        // not be told apart.
        EXPECT_TRUE(displayNames.insert(t.texts.at(999)).second) << t.texts.at(999);
        for (const auto &[id, text] : t.texts)
            EXPECT_TRUE(uk.texts.count(id)) << "ID " << id << " is not an English ID";
    }
}

// Texts that the windows join with a number or another text: each must keep the blank
// on the side where the other part comes, or the sentence runs together ("45m,", "Page3").
TEST(LanguageTables, TextsJoinedWithNumbersKeepTheirBlanks)
{
    const std::vector<int> numberFollows = {2211, 2212, 2400, 2406, 3004, 3009, 3046, 3047,
                                            3048, 3049, 3050, 3051, 3052, 3053, 3054, 3055,
                                            3056, 6000, 6022, 6083, 6085, 6320, 2134, 2135, 2425};
    const std::vector<int> numberPrecedes = {2212, 2401, 2402, 2403, 2404, 2407, 2408, 2409,
                                             2410, 2411, 2412, 2426, 2427, 3010, 3013, 3016};
    for (const auto &f : tableFiles()) {
        SCOPED_TRACE(f.filename().string());
        const Table t = readTable(f);
        for (int id : numberFollows) {
            if (t.texts.count(id)) {
                EXPECT_EQ(t.texts.at(id).back(), ' ') << "ID " << id << " must end in a blank";
            }
        }
        for (int id : numberPrecedes) {
            if (t.texts.count(id)) {
                EXPECT_EQ(t.texts.at(id).front(), ' ') << "ID " << id << " must start with a blank";
            }
        }
        // A dive window's title is its name, this text, the template and "]"; the bail-out
        // tables take the name as the title up to its first " [". So the bracket text
        // starts with " [", and no text that may stand in the name holds one.
        ASSERT_TRUE(t.texts.count(6163));
        EXPECT_EQ(t.texts.at(6163).rfind(" [", 0), 0u);
        for (int id : {1060, 3013, 3016, 3029}) {
            if (t.texts.count(id)) {
                EXPECT_EQ(t.texts.at(id).find(" ["), std::string::npos) << "ID " << id;
            }
        }
    }
}

TEST(HelpFiles, EveryLanguageHasHelpWhoseLinksAndKeywordsResolve)
{
    std::map<std::string, std::map<std::string, size_t>> topics; // each anchor's text up to the next rule
    for (const auto &table : tableFiles()) {
        fs::path help = table;
        help.replace_extension(".hlp");
        SCOPED_TRACE(help.filename().string());
        ASSERT_TRUE(fs::exists(help)) << "no help file beside the table";
        const std::string html = readFile(help);
        EXPECT_TRUE(isUtf8(html));

        std::set<std::string> anchors;
        const std::regex nameRe(R"re(<a name="([^"]+)")re");
        for (auto it = std::sregex_iterator(html.begin(), html.end(), nameRe); it != std::sregex_iterator(); ++it)
            EXPECT_TRUE(anchors.insert((*it)[1]).second) << "anchor twice: " << (*it)[1];

        // Partial-key help looks for the first "kw-" anchor that starts with the typed key;
        // keywords are lower case so the key can be compared without regard to case.
        int keywords = 0;
        for (const auto &a : anchors) {
            const size_t from = html.find("<a name=\"" + a + "\"");
            topics[help.filename().string()][a] = std::min(html.find("<hr>", from), html.size()) - from;
            if (a.rfind("kw-", 0) != 0)
                continue;
            ++keywords;
            EXPECT_EQ(a.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789-", 3), std::string::npos)
                << "keyword anchor not lower case: " << a;
        }
        EXPECT_GE(keywords, 15);

        const std::regex hrefRe(R"re(href="#([^"]+)")re");
        for (auto it = std::sregex_iterator(html.begin(), html.end(), hrefRe); it != std::sregex_iterator(); ++it)
            EXPECT_TRUE(anchors.count((*it)[1])) << "link to a missing anchor: " << (*it)[1];
    }
    // Every language has each English topic (keywords are its own) and says about as much in it.
    for (const auto &[file, own] : topics)
        for (const auto &[topic, length] : topics.at("DOLV_uk.hlp"))
            EXPECT_GE(own.count(topic) ? own.at(topic) : 0, topic.rfind("kw-", 0) == 0 ? 0 : length * 4 / 5)
                << file << " lacks topic " << topic;
}

} // namespace
