#pragma once
// The eight page icons of the dive-settings dialog's page list, drawn by the program
// itself: 1 rates, 2 decompression, 3 units, 4 gases, 5 altitude, 6 rebreather,
// 7 gas limits, 8 warnings.

#include <QIcon>
#include <QPixmap>

class PropertiesImageList {
public:
    static constexpr int Count = 8;
    // The icon of index 1 to Count; a null icon for another index.
    static QIcon image(int index);
    // One icon drawn at `size` pixels.
    static QPixmap draw(int index, int size);
};
