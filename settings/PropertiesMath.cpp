#include "settings/PropertiesMath.h"

#include "engine/EngineGlobals.h"
#include "engine/LibraryModule.h"
#include "engine/RuntimeError.h"
#include "engine/VBConversions.h"

#include <string>

QString PatternText(double v, int decimals)
{
    return QString::fromStdString(LocaliseNumberText(FormatFixed(v, decimals), gDecimalSeparator));
}

QString FieldName(const QString &caption)
{
    QString name = caption.trimmed();
    while (name.endsWith(u':'))
        name.chop(1);
    return name.remove(u'&');
}

namespace {

// A Single's shortest text written out in full: "1.234568E+07" is "12345680", "1E-05" is
// "0.00001". The typed-number rule reads no exponent, so a text in that form would be no
// number to a unit switch or to OK.
std::string withoutExponent(const std::string &text)
{
    const size_t e = text.find('E');
    if (e == std::string::npos)
        return text;
    std::string digits = text.substr(0, e);
    const bool negative = !digits.empty() && digits[0] == '-';
    if (negative)
        digits.erase(0, 1);
    const size_t dot = digits.find('.');
    const int point = int(dot == std::string::npos ? digits.size() : dot) + std::stoi(text.substr(e + 1));
    if (dot != std::string::npos)
        digits.erase(dot, 1);
    if (point <= 0)
        digits = "0." + std::string(size_t(-point), '0') + digits;
    else if (size_t(point) >= digits.size())
        digits += std::string(size_t(point) - digits.size(), '0');
    else
        digits.insert(size_t(point), ".");
    return (negative ? "-" : "") + digits;
}

} // namespace

QString PlainText(float v)
{
    return QString::fromStdString(LocaliseNumberText(withoutExponent(JoinStr(v)), gDecimalSeparator));
}

float TextValue(const QString &text, bool thousands)
{
    return LocaleVal(text.toStdString(), thousands);
}

bool IsNumberText(const QString &text, bool thousands)
{
    return IsLocaleNumber(text.toStdString(), thousands);
}

QString PurgeNumericInput(const QString &StringVal)
{
    if (StringVal.trimmed().isEmpty())
        return kEmptyCell;
    // Both notations' separators are kept: the typed-number rule reads "1.5" under German
    // as 1.5, where dropping the point would make it 15.
    const QString separators = QString::fromStdString(gDecimalSeparator + gThousandSeparator) + QStringLiteral(".,");
    QString kept;
    for (const QChar c : StringVal)
        if ((c >= u'0' && c <= u'9') || separators.contains(c))
            kept += c;
    return kept.isEmpty() ? QStringLiteral("10") : kept;
}

namespace {

bool Convertible(const QString &cell)
{
    return cell.trimmed() != kEmptyCell && IsNumberText(cell);
}

} // namespace

QString ConvertGridCell(const QString &cell, float factor)
{
    if (!Convertible(cell))
        return cell;
    return PatternText(double(TextValue(cell)) * factor, 0);
}

QString ConvertAscentCell(const QString &cell, float factor)
{
    if (!Convertible(cell))
        return cell;
    try {
        const int16_t n = CInt(Val(FormatFixed(TextValue(cell), 0)));
        const float m = float(n) * factor;
        return PatternText(CInt(m), 0);
    } catch (const RuntimeError &) {
        return cell; // beyond 16 bits: left for the diver to correct
    }
}
