#pragma once
// The colours of the profile plot and the compartment chart.

#include <QColor>

namespace PlotColors {

inline const QColor White(255, 255, 255);
inline const QColor Black(0, 0, 0);
inline const QColor Grey(128, 128, 128);
inline const QColor Red(255, 0, 0);
inline const QColor Green(0, 255, 0);
inline const QColor Blue(0, 0, 255);
inline const QColor Yellow(255, 255, 0);
inline const QColor Magenta(255, 0, 255);
inline const QColor Orange(255, 128, 64);
// Background of the plot and its container.
inline const QColor PlotBack(128, 120, 128);

} // namespace PlotColors
