#pragma once
// Small routines the whole program shares: the rounding rules of stop times and shown
// values, typed numbers under the user's separators, text replacement, file path parts,
// the hours-and-minutes text of a surface interval, the status text and the orderly end.
// The Qt-bound ones (locale separators, user name, sound) live in platform/.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

// x rounded to n decimals, halves towards plus infinity: floor(x * 10^n + 0.5) / 10^n,
// worked in double and stored as a Single. n may be 0 (whole numbers) or negative
// (n = -1 rounds to tens). -1.25 to one decimal gives -1.2, -1.26 gives -1.3.
float RoundTo(float x, int16_t n);

// RoundTo for a value of any kind: a Single is rounded, anything else (an Integer too)
// gives no value.
template <typename T>
std::optional<float> RoundVar(const T &value, int16_t n)
{
    if constexpr (std::is_same_v<T, float>)
        return RoundTo(value, n);
    else
        return std::nullopt;
}

// A stop time in whole minutes: halves round up, and a stop lasts at least 1 minute
// (below 1, or not a number, gives 1).
float RoundStopTime(float x);

// a when a > b, else b (so b on equality, and b when either is not a number).
float MaxSingle(float a, float b);
// a when a < b or the two cannot be compared, else b (so b on equality).
float MinSingle(float a, float b);

// The one rule for a number the diver types, in every box and grid cell. The locale's
// decimal separator is the decimal separator. Its grouping separator counts only where
// it groups exactly three digits in a field that can hold thousands (`thousands`):
// "12.500" under German is 12500 there. Elsewhere a lone "." or "," is read as the
// decimal separator the diver meant: "1.6" under German and "1,5" under English are 1.6
// and 1.5, never 16 or 15. Separators that fit neither reading ("1.2.3", "1.234,5" where
// no thousands are held) and numbers beyond a Single are no number. Files are read with
// Val, never by this rule.

// The number the whole text (blanks around it aside) holds, or none.
std::optional<float> ReadTypedNumber(std::string_view text, bool thousands = false);

// The leading number of a typed text by that rule ("21 %" gives 21); 0 when it holds
// none, when its separators fit no reading, or when it is beyond a Single. Never fails.
float LocaleVal(std::string_view text, bool thousands = false);

// True when the text, blanks around it aside, is one plain number by that rule (sign,
// digits, separators; no exponent): "", "abc", "1h" and "1E+39" are not.
bool IsLocaleNumber(std::string_view text, bool thousands = false);

// Every occurrence of `find` in `text` replaced, left to right, without overlaps and
// without looking at replaced text again. An empty `find` leaves the text as it is.
std::string ReplaceText(std::string_view find, std::string_view replacement, std::string_view text);

// One part of a file path ("/" separates folders; a leading "X:" counts as a drive):
// 1 the file name with its extension, 2 the drive and folder with its trailing "/",
// 3 the extension with its ".", 4 the drive; any other part gives "". An extension is
// 1 to 3 characters after the last "." of the final name; the file name is everything
// after the last "/" that has a character after it, of any length (a path without "/"
// has none: its extension is part 1, the rest part 2). Part 2 & part 1 is always the
// path. So "C:/dir/file.tpl" gives "file.tpl", "C:/dir/", ".tpl", "C:".
std::string SplitPath(std::string_view path, int16_t part);

// Minutes as "h hrs :m min": h whole hours, m the remaining minutes rounded halves to
// even (125 gives "2 hrs :5 min", 119.6 gives "1 hrs :60 min").
std::string FormatHoursMinutes(float minutes);

// The text of the main window's status bar.
void SetStatusText(const std::string &text);

// The orderly end: every window is unloaded (with its own save questions), the language
// table released and the application ends. The call returns; its caller must return at
// once and do nothing more. ApplicationEnding() tells the start-up sequence that the
// end has been asked for.
void EndApplication();
bool ApplicationEnding();
// Back to a fresh start (tests).
void ResetApplicationEnding();
