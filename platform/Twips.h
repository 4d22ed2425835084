#pragma once
// Window geometry in twips, the unit the editor's layout and drawing are written in:
// a fixed 15 twips per screen pixel, whatever the screen.

#include <cmath>

constexpr int kTwipsPerPixel = 15;

// Nearest pixel of a twips value.
inline int TwipsToPixels(double twips)
{
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

inline float PixelsToTwips(double pixels)
{
    return static_cast<float>(pixels * kTwipsPerPixel);
}
