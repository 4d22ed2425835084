#pragma once
// The language table: every text the user sees comes from it by a numeric string ID.
// A language is a UTF-8 file lang/DOLV_<language>.lng in the installation folder, one
// "ID<TAB>text" a line, with "\n", "\t" and "\\" escaped. One table is loaded at start
// and stays loaded until the application ends. String 999 is the language's own name.

#include <cstdint>
#include <optional>
#include <string>

// The language file loaded when none was chosen, and its help file.
inline constexpr const char *kDefaultLanguageFile = "DOLV_uk.lng";
inline constexpr const char *kDefaultHelpFile = "DOLV_uk.hlp";

// Loads the language file `name` from the lang folder. A missing file, or one holding no
// text or no string 999, gives a message and the default language; when that is missing
// (or as unusable) too, a message and EndApplication.
// On return `name` holds the full path of the file actually loaded (or tried last).
// Returns 1 when a language is loaded, 0 when the application is ending.
int16_t LoadLanguageDll(std::string &name);

// Sets the help file to lang/<help> when that file can be read, else (silently, and
// without testing it) to the default language's help file.
void SetHelpFile(const std::string &help);
// The full path of the help file; empty until SetHelpFile.
const std::string &HelpFile();

// The text of a string ID, or "*StringID <id>*" when no language is loaded or the
// language has no (or an empty) text for it. Never fails.
std::string GetLangString(int16_t id);

// String 999 of the language file at `path`, read only for this call ("*StringID 999*"
// when the file has none). A file that cannot be read gives a message and no name.
std::optional<std::string> GetLanguageName(const std::string &path);

// Releases the loaded language; GetLangString then gives the missing-string form.
void FreeLanguageDll();
bool LanguageLoaded();
