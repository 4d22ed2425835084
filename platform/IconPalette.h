#pragma once
// The colours and pen of DOLV's own icon set (main window and settings pages): a
// deep-water blue outline, a light fill and signal colours. Icons are drawn on a 24 x 24
// grid and the painter is scaled to the wanted size.

#include <QColor>
#include <QPen>

namespace IconPalette {

inline const QColor kInk(22, 58, 102);
inline const QColor kPaper(250, 250, 246);
inline const QColor kWater(52, 130, 196);
inline const QColor kGreen(40, 150, 70);
inline const QColor kOrange(230, 120, 20);
inline const QColor kRed(200, 40, 40);
inline const QColor kYellow(240, 196, 40);
inline const QColor kGrey(150, 160, 170);

inline QPen ink(double width = 1.6)
{
    return QPen(kInk, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

} // namespace IconPalette
