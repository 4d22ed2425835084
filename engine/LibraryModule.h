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

// A number as the user typed it under the locale's separators (gThousandSeparator,
// gDecimalSeparator): thousands separators dropped, the decimal separator read as ".",
// then the leading number as Val reads it. Never fails; no number gives 0.
// Under German separators "1.5" gives 15 and "1,5" gives 1.5.
float LocaleVal(std::string_view text);

// True when the text, blanks around it aside, is one plain number under the locale's
// separators (sign, digits, at most one decimal separator): what LocaleVal reads without
// leaving anything over. "", "abc" and "1h" are not.
bool IsLocaleNumber(std::string_view text);

// Every occurrence of `find` in `text` replaced, left to right, without overlaps and
// without looking at replaced text again. An empty `find` leaves the text as it is.
std::string ReplaceText(std::string_view find, std::string_view replacement, std::string_view text);

// One part of a file path ("/" separates folders; a leading "X:" counts as a drive):
// 1 the file name with its extension, 2 the drive and folder with its trailing "/",
// 3 the extension with its ".", 4 the drive; any other part gives "". An extension is
// 1 to 3 characters after the last "." of the final name; a file name is recognised when
// it has 1 to 40 characters after its "/" (extension not counted). Part 2 & part 1 is
// always the path. So "C:/dir/file.tpl" gives "file.tpl", "C:/dir/", ".tpl", "C:".
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
