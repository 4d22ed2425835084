#include "settings/PropertiesMath.h"

#include "engine/EngineGlobals.h"
#include "engine/LibraryModule.h"
#include "engine/RuntimeError.h"
#include "engine/VBConversions.h"

#include <cmath>

QString PatternText(double v, int decimals)
{
    return QString::fromStdString(LocaliseNumberText(FormatFixed(v, decimals), gDecimalSeparator));
}

QString PlainText(float v)
{
    return QString::fromStdString(LocaliseNumberText(JoinStr(v), gDecimalSeparator));
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

QString Between(float &Value, float vstart, float vend, float lbdefault, float hbdefault, int decimals)
{
    if (Value <= vstart)
        Value = lbdefault;
    if (Value >= vend || std::isnan(Value))
        Value = hbdefault;
    return PatternText(Value, decimals);
}

float AutoSwitchDepth(float ppO2, float o2Percent, float endPressure)
{
    if (!(o2Percent > 0))
        return 0;
    const float atm = ppO2 / o2Percent * 100;
    const float depth = (atm - endPressure) * 10;
    return depth > 0 ? depth : 0;
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
