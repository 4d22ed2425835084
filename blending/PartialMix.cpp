#include "blending/PartialMix.h"

#include "blending/BlendComputations.h"
#include "engine/EngineGlobals.h"
#include "engine/VBConversions.h"
#include "platform/LibraryModule.h"
#include "platform/LocaliseForm.h"
#include "print/PrintPreview.h"

#include <QDate>
#include <QLocale>

#include <cstdint>
#include <initializer_list>

namespace {

// True prints pressures in bar, false in psi: the unit of the blend being printed.
bool gPrintUnitFlag = true;
// The sheet's page number; every sheet starts again at 1.
int16_t gPageNo = 1;

const QString kFont = QStringLiteral("Arial");
constexpr int16_t kTitleSize = 18;
constexpr int16_t kTextSize = 10;

// A value with one decimal, the locale's decimal separator. A Single is rounded from
// its own shortest text, so 10.45f prints as "10.5".
template <typename Number>
QString OneDecimal(Number v)
{
    return QString::fromStdString(LocaliseNumberText(FormatFixed(v, 1), gDecimalSeparator));
}

QString Percent(float v)
{
    return OneDecimal(v) + QStringLiteral("%");
}

// A pressure already in the printed unit, followed by a blank and that unit.
template <typename Number>
QString Pressure(Number v)
{
    return OneDecimal(v) + QStringLiteral(" ") + GetLangStringQ(gPrintUnitFlag ? 6314 : 6315);
}

// A pressure in bar, shown in the printed unit.
QString PressureFromBar(float bar)
{
    return gPrintUnitFlag ? Pressure(bar) : Pressure(double(bar) * kPsiPerBar);
}

void Text(float x, float y, const QString &text, int16_t size)
{
    PrintTextLeft(x, y, text, kFont, size, 0);
}

// One framed block: the outline first, then its title above it and its rows of label
// and value, 0.5 cm apart from the box's top edge.
struct Row {
    int16_t labelId;
    QString value;
};
void PrintBlock(float x1, float y1, float x2, float y2, float titleY, int16_t titleId, std::initializer_list<Row> rows)
{
    PrintBoxOutline(x1, y1, x2, y2);
    Text(x1, titleY, GetLangStringQ(titleId), kTitleSize);
    float y = y1;
    for (const Row &row : rows) {
        Text(x1 + 0.5f, y, GetLangStringQ(row.labelId), kTextSize);
        Text(x1 + 2.5f, y, row.value, kTextSize);
        y += 0.5f;
    }
}

} // namespace

void PrintPartialMix(bool, bool, const MixPrintData &data)
{
    gPrintUnitFlag = data.Metric;
    gPageNo = 1;
    PrintMixHeader();
    PrintMixTable1(data);
    PrintMixTable2(data);
    PrintMixFooter();
}

void PrintMixHeader()
{
    BeginPrintJob();
    PrintPageHeader(GetLangStringQ(6318), GetLangStringQ(6319),
                    GetLangStringQ(6320) + QLocale().toString(QDate::currentDate(), QLocale::ShortFormat));
}

void PrintMixTable1(const MixPrintData &data)
{
    // The current fill is printed as the diver typed it, already in the printed unit;
    // the desired fill is held in bar.
    PrintBlock(2, 6, 7, 8, 5, 6304,
               {{3043, Pressure(data.CurFill)},
                {6402, Percent(data.CurO2)},
                {6404, Percent(data.CurHe)},
                {6403, Percent(data.CurN2)}});
    PrintBlock(15, 6, 20, 8, 5, 6305,
               {{3043, PressureFromBar(data.DesFill)},
                {6402, Percent(data.DesO2)},
                {6404, Percent(data.DesHe)},
                {6403, Percent(data.DesN2)}});
}

void PrintMixTable2(const MixPrintData &data)
{
    // The air-top amounts are partial pressures x 100.
    PrintBlock(2, 13.5f, 7, 15, 12, 6401,
               {{6402, PressureFromBar(data.AirTopO2 / 100)},
                {6404, PressureFromBar(data.AirTopHe / 100)},
                {6405, PressureFromBar(data.AirTopAir / 100)}});
}

void PrintMixFooter()
{
    EndPrintPageFooter(GetLangStringQ(6085) + QString::fromStdString(GetNetUserName()), GetLangStringQ(6086),
                       GetLangStringQ(6087), GetLangStringQ(6000) + QString::number(gPageNo));
    ++gPageNo;
    ShowPrintPreview(GetLangStringQ(1036));
}
