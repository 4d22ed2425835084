#include "reports/GeneralInfoClip.h"

#include "platform/LocaliseForm.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString blanks(qsizetype n)
{
    return QString(std::max<qsizetype>(n, 0), QLatin1Char(' '));
}

QString underscores(qsizetype n)
{
    return QString(n, QLatin1Char('_'));
}

// A cell padded to `width` columns and one blank; a longer cell stands as it is.
QString padded(const QString &cell, qsizetype width)
{
    return cell + blanks(width - cell.size() + 1);
}

// A table row (no line end) followed by CR LF.
void tableLine(QString &text, const QStringList &cells)
{
    ClipTableRow(text, cells);
    text += kCrLf;
}

// `first` cells followed by empty cells up to the 13 of a row.
QStringList row13(QStringList first)
{
    while (first.size() < 13)
        first << QString();
    return first;
}

} // namespace

QString &ClipLine(QString &text, const QString &line)
{
    text += line + kCrLf;
    return text;
}

QString &ClipCenter(QString &text, const QString &line)
{
    // Half the free columns, a half rounded to the even neighbour (29.5 and 30.5 both 30).
    const auto a = static_cast<qsizetype>(std::lrint((80.0 - static_cast<double>(line.size())) / 2.0));
    text += blanks(a + 1) + line + blanks(81 - a) + kCrLf;
    return text;
}

QString &ClipTitleBox(QString &text, const QString &title)
{
    text += underscores(81) + kCrLf;
    ClipCenter(text, title);
    text += underscores(81) + kCrLf;
    return text;
}

QString &ClipKeyValue(QString &text, const QString &first, const QString &second, const QString &third)
{
    text += first + blanks(19 - first.size()) + second + blanks(32 - second.size()) + third + kCrLf;
    return text;
}

QString &ClipTableRow(QString &text, const QStringList &cells)
{
    static constexpr std::array<qsizetype, 13> kWidths = {6, 5, 7, 4, 3, 5, 5, 5, 3, 7, 6, 6, 4};
    for (std::size_t i = 0; i < kWidths.size(); ++i)
        text += padded(cells.value(static_cast<qsizetype>(i)), kWidths[i]);
    return text;
}

QString ClipboardReport(const GeneralInfoTexts &s)
{
    QString text;
    const QString name = QStringLiteral(":   ") + s.caption;

    ClipTitleBox(text, GetLangStringQ(6084) + name);
    ClipCenter(text, GetLangStringQ(2100));
    ClipLine(text, GetLangStringQ(6022) + s.surfaceInterval);
    text += kCrLf;
    ClipKeyValue(text, GetLangStringQ(2143) + ": " + s.model, GetLangStringQ(2140) + ": " + s.units,
                 GetLangStringQ(6048) + ": " + s.apparatus);
    text += kCrLf;
    ClipKeyValue(text, GetLangStringQ(6032), GetLangStringQ(6037), GetLangStringQ(6025));
    ClipKeyValue(text, GetLangStringQ(1643) + ": " + s.step, " " + s.depthConservatism,
                 " " + GetLangStringQ(2134) + s.fromAltitude);
    ClipKeyValue(text, GetLangStringQ(2138) + ": " + s.lastStop, " " + s.gfConservatism, "   " + s.startPressure);
    if (s.gfShown) {
        ClipKeyValue(text, QString(), "   " + GetLangStringQ(6171) + ": " + s.gfLow,
                     " " + GetLangStringQ(2135) + s.toAltitude);
        ClipKeyValue(text, QString(), "   " + GetLangStringQ(6170) + ": " + s.gfHigh, "    " + s.endPressure);
    } else {
        ClipKeyValue(text, QString(), QString(), " " + GetLangStringQ(2135) + s.toAltitude);
        ClipKeyValue(text, QString(), QString(), "    " + s.endPressure);
    }
    ClipLine(text, GetLangStringQ(6045) + ": " + s.o2Narcotic);
    text += kCrLf + kCrLf;

    // The profile: every waypoint, its kind left out.
    ClipTitleBox(text, GetLangStringQ(2127));
    tableLine(text, {GetLangStringQ(6060), GetLangStringQ(6142), GetLangStringQ(2110), QStringLiteral("%O2"),
                     QStringLiteral("%He"), GetLangStringQ(6041), GetLangStringQ(6073), GetLangStringQ(6074),
                     GetLangStringQ(6044), GetLangStringQ(2104), GetLangStringQ(2108), GetLangStringQ(2109),
                     GetLangStringQ(2143)});
    for (const QStringList &row : s.profileRows)
        tableLine(text, row);

    ClipTitleBox(text, GetLangStringQ(1605) + name);
    tableLine(text, row13({GetLangStringQ(6060), GetLangStringQ(6142), GetLangStringQ(2110), QStringLiteral("%O2"),
                           QStringLiteral("%He")}));
    for (const QStringList &row : s.stopRows)
        tableLine(text, row13(row.mid(0, 5)));
    text += underscores(80) + kCrLf;

    ClipTitleBox(text, GetLangStringQ(2128) + name);
    tableLine(text, row13({GetLangStringQ(2122), QString(), GetLangStringQ(6108)}));
    for (const QStringList &row : s.gasRows)
        tableLine(text, row13({row.value(0), QString(), row.value(1)}));
    text += underscores(80) + kCrLf;
    return text;
}
