#pragma once
// The main window's icons, drawn by the program itself so they stay sharp at any size.
// Index from 1, as the toolbar numbers its images; a few have keys.

#include <QIcon>
#include <QPixmap>
#include <QString>

class ImageList {
public:
    enum Image {
        New = 1, Open, Save, Conservatism, Ascent, AscentInfo, Template, OpenCircuit, Rebreather,
        Report, Bailout, TableExpert, Multilevel, Mixer, Dive, SoundOn, SoundOff, Help, Repetitive,
        Count = Repetitive
    };

    // The image of index 1 to Count; a null icon for another index.
    QIcon image(int index) const;
    // "OpenCircuit" is image 8, "Rebreather" image 9.
    QIcon image(const QString &key) const;

    // One image drawn at `size` pixels (tests and the splash picture use it).
    static QPixmap draw(int index, int size);
    // The splash picture.
    static QPixmap splashPicture();
};
