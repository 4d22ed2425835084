#include "shell/CompartmentBar.h"

#include "engine/VBConversions.h"

CompartmentBar CompartmentBarGeometry(float SW, float SH, int16_t k, float value)
{
    CompartmentBar b;
    b.x = static_cast<float>(CLng((k - 1) * static_cast<double>(SW) / 16));
    b.right = static_cast<float>(b.x + static_cast<double>(SW) / 20);
    b.bottom = SH - 300;
    b.unit = static_cast<float>((static_cast<double>(SH) - 550) / 3);
    const double bottom = b.bottom;
    const double unit = b.unit;

    b.hasGreen = true;
    if (value < 1) {
        b.greenTop = static_cast<float>(bottom - unit * value);
        return b;
    }
    b.greenTop = static_cast<float>(bottom - unit);
    b.hasOrange = true;
    if (value < 2) {
        b.orangeTop = static_cast<float>(bottom - unit * value);
        return b;
    }
    b.orangeTop = static_cast<float>(bottom - 2 * unit);
    b.hasRed = true;
    const double v = value > 3 ? 3.0 : static_cast<double>(value);
    b.redTop = static_cast<float>(bottom - unit * v);
    return b;
}
