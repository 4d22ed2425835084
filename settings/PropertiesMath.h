#pragma once
// The arithmetic of the dive-settings dialog, apart from its window: number texts in the
// user's notation and the unit conversion of grid cells.

#include "engine/Units.h"

#include <QString>

// Unit factors: engine/Units.h.

// The unit systems the dialog's texts stand in (its `Units`).
constexpr float kUnitsMetric = 1;
constexpr float kUnitsImperial = 2;

// The placeholder the grid editor puts into an empty cell and into new rows.
inline const QString kEmptyCell = QStringLiteral("1000000");
constexpr float kEmptyDepth = 1000000;

// A number as the "0", "0.0", "0.00", "0.000" patterns show it: `decimals` places,
// halves away from zero, the user's decimal separator.
QString PatternText(double v, int decimals);

// A label's caption as the name of its field in a message ("Deco step:" names "Deco
// step"; an accelerator's "&" goes).
QString FieldName(const QString &caption);
// The shortest text of a Single (up to seven significant digits), the user's separator,
// never in exponent form (12345678 is "12345680").
QString PlainText(float v);
// The number a text shows, read by the typed-number rule (engine/LibraryModule.h; 0 when
// it holds none). `thousands`: the field can hold thousands, so grouping counts.
float TextValue(const QString &text, bool thousands = false);
// True when the text is one plain number by that rule.
bool IsNumberText(const QString &text, bool thousands = false);

// A typed grid cell reduced to a number: only the digits and the separators ("." and ","
// and the user's own) are kept, in their order ("12 m" gives 12, "-3" gives 3, "1,5" and
// "1.5" stay as typed, to be read by the typed-number rule); an empty or blank text gives
// the empty-cell placeholder, a text with no digit and no separator "10". A result that
// rule cannot read ("1.2.3", ".") is no number: the editor refuses it.
QString PurgeNumericInput(const QString &StringVal);

// A grid cell at a unit switch. Cells that are no number, and the empty-cell
// placeholder, stay as they are.
// Descent rates and manual switch depths: "0" of the value x factor.
QString ConvertGridCell(const QString &cell, float factor);
// Ascent rates: the value is first made a whole 16-bit number, then multiplied and
// rounded to a whole number again (halves to even). A value beyond 16 bits stays.
QString ConvertAscentCell(const QString &cell, float factor);
