#include "engine/LibraryModule.h"

#include "engine/EngineGlobals.h"
#include "engine/EngineHost.h"
#include "engine/ResourceManager.h"
#include "engine/RuntimeError.h"
#include "engine/VBConversions.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

namespace {

bool gApplicationEnding = false;

// Characters of a UTF-8 text (bytes that do not continue a character).
int characterCount(std::string_view text)
{
    int n = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80)
            ++n;
    return n;
}

} // namespace

float RoundTo(float x, int16_t n)
{
    // 10^0 to 10^22 are exact doubles, which pow gives exactly too; every waypoint rounds
    // its ppO2 this way, so the common powers come from the table.
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const double p = n >= 0 && n <= 22 ? kPowers[n] : std::pow(10.0, n);
    const double r = std::floor(static_cast<double>(x) * p + 0.5);
    return static_cast<float>(r / p);
}

float RoundStopTime(float x)
{
    if (!(x >= 1.0f))
        return 1.0f;
    const double whole = std::floor(static_cast<double>(x));
    const float f = static_cast<float>(x - whole);
    return static_cast<float>(f >= 0.5f ? whole + 1.0 : whole);
}

float MaxSingle(float a, float b)
{
    return a > b ? a : b;
}

float MinSingle(float a, float b)
{
    return !(a >= b) ? a : b;
}

namespace {

// The separators a typed number may hold: the locale's decimal separator, its grouping
// separator, and the other of "." and "," (a diver who types the decimal point of another
// notation).
enum class Mark { Decimal, Grouping, Other };

struct TypedNumber {
    std::string plain;    // sign, digits and at most one "."
    std::string_view rest; // what follows the number
    bool readable = false;
};

bool startsWith(std::string_view text, size_t at, const std::string &mark)
{
    return !mark.empty() && text.compare(at, mark.size(), mark) == 0;
}

// The leading number of a typed text by the one rule for typed numbers. The locale's
// decimal separator is the decimal separator. A grouping separator counts only where it
// groups exactly three digits ("12.500") and the field can hold thousands; otherwise a
// lone "." or "," is the decimal separator the diver meant ("1.6" under German is 1.6,
// "1,5" under English 1.5), so a number is never read 10 or 1000 times larger than typed.
// Separators that fit neither reading leave the text unreadable.
TypedNumber readTyped(std::string_view text, bool thousands)
{
    TypedNumber n;
    size_t i = text.find_first_not_of(" \t");
    if (i == std::string_view::npos)
        return n;
    std::string sign;
    if (text[i] == '+' || text[i] == '-')
        sign = text[i++];
    std::vector<std::string> groups(1);
    std::vector<Mark> marks;
    while (i < text.size()) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            groups.back() += c;
            ++i;
            continue;
        }
        size_t len = 1;
        if (startsWith(text, i, gDecimalSeparator)) {
            marks.push_back(Mark::Decimal);
            len = gDecimalSeparator.size();
        } else if (startsWith(text, i, gThousandSeparator)) {
            marks.push_back(Mark::Grouping);
            len = gThousandSeparator.size();
        } else if (c == '.' || c == ',') {
            marks.push_back(Mark::Other);
        } else {
            break;
        }
        groups.emplace_back();
        i += len;
    }
    n.rest = text.substr(i);
    const auto count = [&marks](Mark m) { return std::count(marks.begin(), marks.end(), m); };
    const auto decimalAt = std::find(marks.begin(), marks.end(), Mark::Decimal);
    const size_t whole = size_t(decimalAt - marks.begin()) + 1; // groups before the decimal
    const auto grouped = [&] {
        if (!thousands || whole < 2 || groups[0].empty() || groups[0].size() > 3)
            return false;
        for (size_t g = 1; g < whole; ++g)
            if (marks[g - 1] != Mark::Grouping || groups[g].size() != 3)
                return false;
        return true;
    };
    std::string digits;
    if (marks.empty()) {
        digits = groups[0];
    } else if (count(Mark::Decimal) > 1 || (decimalAt != marks.end() && count(Mark::Other) > 0)) {
        return n;
    } else if (grouped()) {
        for (size_t g = 0; g < whole; ++g)
            digits += groups[g];
        if (whole < groups.size())
            digits += "." + groups[whole];
    } else if (marks.size() == 1) {
        digits = groups[0] + "." + groups[1];
    } else {
        return n;
    }
    if (digits.find_first_of("0123456789") == std::string::npos)
        return n;
    n.plain = sign + digits;
    n.readable = true;
    return n;
}

// A value a Single can hold (no infinity, no NaN).
std::optional<float> asSingle(double v)
{
    if (!std::isfinite(v) || std::fabs(v) > std::numeric_limits<float>::max())
        return std::nullopt;
    return static_cast<float>(v);
}

} // namespace

std::optional<float> ReadTypedNumber(std::string_view text, bool thousands)
{
    const TypedNumber n = readTyped(text, thousands);
    if (!n.readable || n.rest.find_first_not_of(" \t") != std::string_view::npos)
        return std::nullopt;
    try {
        return asSingle(Val(n.plain));
    } catch (const RuntimeError &) {
        return std::nullopt; // beyond a Double
    }
}

float LocaleVal(std::string_view text, bool thousands)
{
    const TypedNumber n = readTyped(text, thousands);
    if (!n.readable)
        return 0.0f;
    try {
        // The leading number as Val reads it, an exponent after the digits included.
        return asSingle(Val(n.plain + std::string(n.rest))).value_or(0.0f);
    } catch (const RuntimeError &) {
        return 0.0f; // beyond a Double: no number a diver types
    }
}

bool IsLocaleNumber(std::string_view text, bool thousands)
{
    return ReadTypedNumber(text, thousands).has_value();
}

std::string ReplaceText(std::string_view find, std::string_view replacement, std::string_view text)
{
    if (find.empty())
        return std::string(text);
    std::string out;
    size_t pos = 0;
    for (;;) {
        const size_t hit = text.find(find, pos);
        if (hit == std::string_view::npos)
            break;
        out.append(text.substr(pos, hit - pos));
        out.append(replacement);
        pos = hit + find.size();
    }
    out.append(text.substr(pos));
    return out;
}

std::string SplitPath(std::string_view path, int16_t part)
{
    std::string_view drive;
    std::string_view work = path;
    if (path.size() >= 2 && path[1] == ':') {
        drive = path.substr(0, 2);
        work = path.substr(2);
    }
    std::string_view name, ext;
    // Only the last "." of the final name (after the last "/") can start the extension,
    // with 1 to 3 characters after it; every other "." belongs to the name or a folder,
    // so part 2 & part 1 always give back the path the file was opened from.
    const size_t slash = work.rfind('/');
    const size_t dot = work.rfind('.');
    if (dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash)) {
        const int k = characterCount(work.substr(dot + 1));
        if (k >= 1 && k <= 3) {
            ext = work.substr(dot);
            work = work.substr(0, dot);
        }
    }
    // From the last character leftwards, the first "/" with a character after it gives
    // the file name, however long: a dive named at length keeps its name in the caption.
    for (size_t i = work.size(); i-- > 0;) {
        if (work[i] != '/')
            continue;
        if (i + 1 < work.size()) {
            name = work.substr(i + 1);
            work = work.substr(0, i + 1);
            break;
        }
    }
    switch (part) {
    case 1: return std::string(name) + std::string(ext);
    case 2: return std::string(drive) + std::string(work);
    case 3: return std::string(ext);
    case 4: return std::string(drive);
    default: return {};
    }
}

std::string FormatHoursMinutes(float minutes)
{
    const int16_t h = CInt(Int(static_cast<double>(minutes) / 60.0));
    const int16_t m = CInt(static_cast<double>(minutes) - 60.0 * h);
    return std::to_string(h) + " hrs :" + std::to_string(m) + " min";
}

void SetStatusText(const std::string &text)
{
    Host().SetStatusText(text);
}

void EndApplication()
{
    gApplicationEnding = true;
    Host().EndApplication();
    FreeLanguageDll();
}

bool ApplicationEnding()
{
    return gApplicationEnding;
}

void ResetApplicationEnding()
{
    gApplicationEnding = false;
}
