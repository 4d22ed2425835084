#include "engine/ResourceManager.h"

#include "engine/AppPaths.h"
#include "engine/EngineHost.h"
#include "engine/LibraryModule.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <unordered_map>

namespace {

using StringTable = std::unordered_map<int32_t, std::string>;

std::unique_ptr<StringTable> gLangDll; // the loaded language; null when none is
std::string gHelpFile;

std::string unescape(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            const char c = s[i + 1];
            if (c == 'n' || c == 't' || c == '\\') {
                out += c == 'n' ? '\n' : c == 't' ? '\t' : '\\';
                ++i;
                continue;
            }
        }
        out += s[i];
    }
    return out;
}

// Reads a language file; no table when the file cannot be opened or read. Lines that
// are not "ID<TAB>text" are passed over; the first text of an ID counts.
std::unique_ptr<StringTable> readStringTable(const std::string &path)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return nullptr;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return nullptr;
    std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return nullptr;
    if (data.rfind("\xEF\xBB\xBF", 0) == 0)
        data.erase(0, 3);
    auto table = std::make_unique<StringTable>();
    std::string_view rest(data);
    while (!rest.empty()) {
        const size_t eol = rest.find('\n');
        std::string_view line = rest.substr(0, eol);
        rest = eol == std::string_view::npos ? std::string_view() : rest.substr(eol + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const size_t tab = line.find('\t');
        if (tab == std::string_view::npos || tab == 0)
            continue;
        int32_t id = 0;
        const auto res = std::from_chars(line.data(), line.data() + tab, id);
        if (res.ec != std::errc() || res.ptr != line.data() + tab)
            continue;
        table->try_emplace(id, unescape(line.substr(tab + 1)));
    }
    return table;
}

std::string langFolderPath(const std::string &file)
{
    return JoinPath(JoinPath(InstallDir(), "lang"), file);
}

std::string lookUp(const StringTable *table, int32_t id)
{
    if (table) {
        const auto it = table->find(id);
        if (it != table->end() && !it->second.empty())
            return it->second;
    }
    return "*StringID " + std::to_string(id) + "*";
}

// A language to run on: a file holding texts, among them its own name (string 999). An
// empty or cut-off file would show "*StringID n*" for every caption with no word to
// the diver; it is passed over like a missing one.
std::unique_ptr<StringTable> readLanguage(const std::string &path)
{
    auto table = readStringTable(path);
    if (!table || lookUp(table.get(), 999) == lookUp(nullptr, 999))
        return nullptr;
    return table;
}

} // namespace

int16_t LoadLanguageDll(std::string &name)
{
    name = langFolderPath(name);
    gLangDll = readLanguage(name);
    if (gLangDll)
        return 1;
    Host().MsgBox("Language DLL " + name + " not found using default language", vbOKOnly, "");
    name = langFolderPath(kDefaultLanguageFile);
    gLangDll = readLanguage(name);
    if (gLangDll)
        return 1;
    Host().MsgBox("Language DLL " + name + " not found. Default language is also not found", vbOKOnly, "");
    EndApplication();
    return 0;
}

void SetHelpFile(const std::string &help)
{
    gHelpFile = langFolderPath(help);
    std::error_code ec;
    std::ifstream test(gHelpFile, std::ios::binary);
    if (!test || !std::filesystem::is_regular_file(gHelpFile, ec))
        gHelpFile = langFolderPath(kDefaultHelpFile);
}

const std::string &HelpFile()
{
    return gHelpFile;
}

std::string GetLangString(int16_t id)
{
    return lookUp(gLangDll.get(), id);
}

std::optional<std::string> GetLanguageName(const std::string &path)
{
    const auto table = readStringTable(path);
    if (!table) {
        // Listing the languages must not end the program: the file is reported and left out.
        Host().MsgBox("Language DLL " + path + " not found", vbOKOnly, "");
        return std::nullopt;
    }
    return lookUp(table.get(), 999);
}

void FreeLanguageDll()
{
    gLangDll.reset();
}

bool LanguageLoaded()
{
    return gLangDll != nullptr;
}
