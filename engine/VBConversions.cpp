#include "engine/VBConversions.h"

#include "engine/RuntimeError.h"

#include <cfenv>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

double Int(double v)
{
    return std::floor(v);
}

namespace {

double roundHalfEven(double v)
{
    // nearbyint follows the current rounding mode, which is to-nearest-even unless
    // someone changed it; make sure of it.
    const int mode = std::fegetround();
    if (mode != FE_TONEAREST)
        std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(v);
    if (mode != FE_TONEAREST)
        std::fesetround(mode);
    return r;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Digit text and decimal exponent of a value's shortest round-trip form.
template <typename T>
void shortestDigits(T v, std::string &digits, int &exponent)
{
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
    std::string s(buf, res.ptr);
    // s is "[-]d[.ddd]e[+-]xx"
    if (!s.empty() && s[0] == '-')
        s.erase(0, 1);
    const auto e = s.find('e');
    std::string mant = s.substr(0, e);
    exponent = std::stoi(s.substr(e + 1));
    digits.clear();
    for (char c : mant)
        if (isDigit(c))
            digits += c;
}

// Rounds the decimal digits (value = 0.digits x 10^(exponent+1)) to `decimals` places,
// halves away from zero, and writes the plain fixed-point text of the magnitude.
std::string roundDigits(const std::string &digits, int exponent, int decimals)
{
    const int p = exponent + 1; // digits before the decimal point
    std::string intPart, frac;
    const int len = static_cast<int>(digits.size());
    if (p <= 0) {
        intPart = "0";
        frac = std::string(-p, '0') + digits;
    } else if (p >= len) {
        intPart = digits + std::string(p - len, '0');
    } else {
        intPart = digits.substr(0, p);
        frac = digits.substr(p);
    }
    if (static_cast<int>(frac.size()) < decimals + 1)
        frac += std::string(decimals + 1 - frac.size(), '0');
    const bool up = frac[decimals] >= '5';
    std::string kept = intPart + frac.substr(0, decimals);
    if (up) {
        int i = static_cast<int>(kept.size()) - 1;
        while (i >= 0) {
            if (kept[i] == '9') {
                kept[i] = '0';
                --i;
            } else {
                ++kept[i];
                break;
            }
        }
        if (i < 0)
            kept.insert(kept.begin(), '1');
    }
    const int intLen = static_cast<int>(kept.size()) - decimals;
    std::string out = kept.substr(0, intLen);
    // strip leading zeros of the integer part, keep one
    size_t nz = out.find_first_not_of('0');
    out = (nz == std::string::npos) ? "0" : out.substr(nz);
    if (decimals > 0)
        out += "." + kept.substr(intLen);
    return out;
}

template <typename T>
std::string formatFixedImpl(T v, int decimals)
{
    if (decimals < 0)
        decimals = 0;
    if (!std::isfinite(v))
        return std::isnan(v) ? "NaN" : (v > 0 ? "Inf" : "-Inf");
    if (v == 0)
        return roundDigits("0", 0, decimals);
    std::string digits;
    int exponent = 0;
    shortestDigits(v, digits, exponent);
    std::string text = roundDigits(digits, exponent, decimals);
    // A value that rounds to zero shows no sign: "-0.00" would only confuse a diver.
    if (v < 0 && text.find_first_not_of("0.") != std::string::npos)
        text.insert(text.begin(), '-');
    return text;
}

template <typename T>
std::string generalText(T v, int precision)
{
    if (v == 0)
        return "0";
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, precision);
    std::string s(buf, res.ptr);
    for (char &c : s)
        if (c == 'e')
            c = 'E';
    // "0.5" -> ".5", "-0.5" -> "-.5"
    if (s.rfind("0.", 0) == 0)
        s.erase(0, 1);
    else if (s.rfind("-0.", 0) == 0)
        s.erase(1, 1);
    return s;
}

} // namespace

int16_t CInt(double v)
{
    const double r = roundHalfEven(v);
    if (!(r >= -32768.0 && r <= 32767.0))
        throwOverflow("CInt");
    return static_cast<int16_t>(r);
}

int32_t CLng(double v)
{
    const double r = roundHalfEven(v);
    if (!(r >= -2147483648.0 && r <= 2147483647.0))
        throwOverflow("CLng");
    return static_cast<int32_t>(r);
}

float CSng(double v)
{
    if (std::isfinite(v) && std::fabs(v) > std::numeric_limits<float>::max())
        throwOverflow("CSng");
    return static_cast<float>(v);
}

double Val(std::string_view text)
{
    std::string s;
    s.reserve(text.size());
    for (char c : text)
        if (!isBlank(c))
            s += c;

    if (s.size() >= 2 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h' || s[1] == 'O' || s[1] == 'o')) {
        const int base = (s[1] == 'H' || s[1] == 'h') ? 16 : 8;
        int64_t value = 0;
        auto res = std::from_chars(s.data() + 2, s.data() + s.size(), value, base);
        if (res.ec == std::errc::result_out_of_range)
            throwOverflow("Val");
        return static_cast<double>(value);
    }

    std::string num;
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        if (s[i] == '-')
            num += '-';
        ++i;
    }
    bool anyDigit = false;
    while (i < s.size() && isDigit(s[i])) {
        num += s[i++];
        anyDigit = true;
    }
    if (i < s.size() && s[i] == '.') {
        num += '.';
        ++i;
        while (i < s.size() && isDigit(s[i])) {
            num += s[i++];
            anyDigit = true;
        }
    }
    if (!anyDigit)
        return 0.0;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        size_t j = i + 1;
        std::string exp = "e";
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            exp += s[j++];
        bool expDigit = false;
        while (j < s.size() && isDigit(s[j])) {
            exp += s[j++];
            expDigit = true;
        }
        if (expDigit)
            num += exp;
    }
    double value = 0.0;
    // The sign is kept apart so that "-.5" reads as well as "-0.5".
    std::string body = (num[0] == '-') ? num.substr(1) : num;
    if (body[0] == '.')
        body.insert(body.begin(), '0');
    auto res = std::from_chars(body.data(), body.data() + body.size(), value);
    if (res.ec == std::errc::result_out_of_range) {
        // Tiny values underflow to 0; huge ones overflow as in any BASIC.
        const auto e = body.find('e');
        if (e != std::string::npos && body[e + 1] == '-')
            return 0.0;
        throwOverflow("Val");
    }
    return num[0] == '-' ? -value : value;
}

std::string CStr(float v) { return generalText(v, 7); }
std::string CStr(double v) { return generalText(v, 15); }
std::string CStr(int32_t v) { return std::to_string(v); }

std::optional<double> WholeNumber(std::string_view text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return std::nullopt;
    text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    if (text[0] == '+')
        text.remove_prefix(1);
    double value = 0;
    const char *end = text.data() + text.size();
    const auto res = std::from_chars(text.data(), end, value);
    if (text.empty() || res.ec != std::errc() || res.ptr != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string JoinStr(float v)
{
    std::string text = CStr(v);
    if (text.rfind('.', 0) == 0)
        text.insert(0, "0");
    else if (text.rfind("-.", 0) == 0)
        text.insert(1, "0");
    return text;
}

std::string Str(float v) { return (v < 0 ? "" : " ") + CStr(v); }
std::string Str(double v) { return (v < 0 ? "" : " ") + CStr(v); }
std::string Str(int32_t v) { return (v < 0 ? "" : " ") + CStr(v); }

std::string FormatFixed(float v, int decimals) { return formatFixedImpl(v, decimals); }
std::string FormatFixed(double v, int decimals) { return formatFixedImpl(v, decimals); }

int FewestDecimals(float v, int most)
{
    // A computed depth is a Single: 22.5 may be 22.4999981, which is 22.5 all the same.
    int decimals = 0;
    while (decimals < most) {
        const double scaled = static_cast<double>(v) * std::pow(10.0, decimals);
        if (!std::isfinite(scaled) || std::abs(scaled - std::round(scaled)) < 0.02)
            break;
        ++decimals;
    }
    return decimals;
}

std::string LocaliseNumberText(std::string text, const std::string &decimalSeparator)
{
    const auto dot = text.find('.');
    if (dot != std::string::npos)
        text.replace(dot, 1, decimalSeparator);
    return text;
}
