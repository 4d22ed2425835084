#include "engine/LibraryModule.h"

#include "engine/EngineGlobals.h"
#include "engine/EngineHost.h"
#include "engine/ResourceManager.h"
#include "engine/RuntimeError.h"
#include "engine/VBConversions.h"

#include <cmath>

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

float LocaleVal(std::string_view text)
{
    std::string s = ReplaceText(gThousandSeparator, "", text);
    s = ReplaceText(gDecimalSeparator, ".", s);
    try {
        return static_cast<float>(Val(s));
    } catch (const RuntimeError &) {
        return 0.0f; // beyond a Double: no number a diver types
    }
}

bool IsLocaleNumber(std::string_view text)
{
    std::string s = ReplaceText(gThousandSeparator, "", text);
    s = ReplaceText(gDecimalSeparator, ".", s);
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return false;
    const size_t last = s.find_last_not_of(" \t");
    size_t i = first;
    if (s[i] == '+' || s[i] == '-')
        ++i;
    bool digits = false, point = false;
    for (; i <= last; ++i) {
        if (s[i] >= '0' && s[i] <= '9')
            digits = true;
        else if (s[i] == '.' && !point)
            point = true;
        else
            return false;
    }
    return digits;
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
