#pragma once
// The number conversions and number texts the whole program shares. They behave like
// the classic BASIC conversions the dive files and the rounding rules were made with:
// Int floors, CInt rounds halves to even and refuses what does not fit 16 bits, Val
// reads the leading number of a text, Str writes 7 significant digits of a Single.
// Nothing here looks at the user's locale: "." is the decimal point throughout. Texts
// shown to the user get the locale's separator through LocaliseNumberText.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Largest whole number not above v.
double Int(double v);

// Nearest 16-bit integer, halves to the even neighbour; overflow is error 6.
int16_t CInt(double v);

// Nearest 32-bit integer, halves to the even neighbour; overflow is error 6.
int32_t CLng(double v);

// Nearest Single; a value beyond the Single range is error 6 (a tiny one becomes 0).
float CSng(double v);

// The number at the start of a text: blanks, tabs and line ends anywhere are skipped,
// then an optional sign, digits, one ".", and an exponent E or D; "&H" and "&O" prefixes
// read hexadecimal and octal. No number gives 0. A number too large for a Double is
// error 6.
double Val(std::string_view text);

// The whole text as one number, "." as the decimal point: blanks around it and a
// leading "+" or "-" allowed, nothing else ("1x", "", "1,5", "inf" are no numbers).
// What a file field must be when reading its leading number would misread it.
std::optional<double> WholeNumber(std::string_view text);

// Number text with a leading blank for non-negative values (" 1.5", "-.25", " 1E-05"):
// 7 significant digits for a Single, 15 for a Double.
std::string Str(float v);
std::string Str(double v);
std::string Str(int32_t v);

// The same without the leading blank.
std::string CStr(float v);
std::string CStr(double v);
std::string CStr(int32_t v);

// A Single as it reads when joined into a text ("20", "2.5", "0.5", "-0.25", "1E-05"):
// CStr with the 0 before the point kept, as text joins and number fields show it.
std::string JoinStr(float v);

// The "0", "0.0", "0.00", ... patterns: the value rounded to `decimals` places, halves
// away from zero, at least one digit before the point; "." as the decimal point.
// A Single is rounded from its own shortest text, so 2.675f gives "2.68".
std::string FormatFixed(float v, int decimals);
std::string FormatFixed(double v, int decimals);

// The fewest decimals, at most `most`, that FormatFixed needs to write v as itself
// (3 needs none, 22.5 one, 0.25 two). Depths printed on a stop step take the most any of
// them needs, so a 1.5 m step prints 22.5 and 21.0 rather than 23 and 21.
int FewestDecimals(float v, int most = 2);

// Replaces the "." of a number text by the given decimal separator (the user's locale).
std::string LocaliseNumberText(std::string text, const std::string &decimalSeparator);
