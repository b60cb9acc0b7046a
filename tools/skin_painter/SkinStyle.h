#pragma once

#include "Palette.h"

#include <QString>

namespace skin_painter {

// Everything that varies between the skins the painter makes.
struct SkinStyle {
    Palette palette;
    // The compact deck: a shorter window with a horizontal pitch slider.
    bool compactDeck = false;
    // File types: "bmp" or "jpg" for faces, "bmp" or "gif" for masks.
    QString faceType = QStringLiteral("bmp");
    QString maskType = QStringLiteral("bmp");
    // Words written on the about page.
    QString skinName = QStringLiteral("Default");
};

} // namespace skin_painter
