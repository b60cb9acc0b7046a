#include "Palette.h"

namespace skin_painter {

Palette Palette::dark(const QColor& accent) {
    Palette palette;
    palette.frame = QColor(0x07, 0x08, 0x0a);
    palette.bodyTop = QColor(0x2b, 0x2f, 0x36);
    palette.bodyBottom = QColor(0x17, 0x19, 0x1d);
    palette.bevelLight = QColor(0x4a, 0x50, 0x5a);
    palette.bevelDark = QColor(0x05, 0x06, 0x08);
    palette.panel = QColor(0x0e, 0x10, 0x13);
    palette.lcd = QColor(0x06, 0x0d, 0x12);
    palette.lcdText = accent;
    palette.lcdDim = QColor(0x7f, 0x93, 0xa0);
    palette.label = QColor(0xc4, 0xcb, 0xd3);
    palette.labelDim = QColor(0x6d, 0x76, 0x81);
    palette.buttonTop = QColor(0x46, 0x4c, 0x55);
    palette.buttonBottom = QColor(0x2a, 0x2e, 0x34);
    palette.glyph = QColor(0xd8, 0xdd, 0xe3);
    palette.accent = accent;
    palette.meterGreen = QColor(0x2e, 0xd5, 0x73);
    palette.meterYellow = QColor(0xf5, 0xd0, 0x2a);
    palette.meterRed = QColor(0xf0, 0x3a, 0x2e);
    palette.capTop = QColor(0x9a, 0xa1, 0xab);
    palette.capBottom = QColor(0x4b, 0x51, 0x59);
    return palette;
}

Palette Palette::light(const QColor& accent) {
    Palette palette;
    palette.frame = QColor(0x5a, 0x5f, 0x66);
    palette.bodyTop = QColor(0xf1, 0xf2, 0xf4);
    palette.bodyBottom = QColor(0xcf, 0xd3, 0xd8);
    palette.bevelLight = QColor(0xfe, 0xfe, 0xfe);
    palette.bevelDark = QColor(0x8c, 0x92, 0x9a);
    palette.panel = QColor(0xe4, 0xe7, 0xea);
    palette.lcd = QColor(0xbf, 0xcc, 0xa8);
    palette.lcdText = QColor(0x1d, 0x2a, 0x12);
    palette.lcdDim = QColor(0x4f, 0x5e, 0x3e);
    palette.label = QColor(0x25, 0x29, 0x2f);
    palette.labelDim = QColor(0x6a, 0x71, 0x7a);
    palette.buttonTop = QColor(0xfb, 0xfb, 0xfc);
    palette.buttonBottom = QColor(0xd6, 0xda, 0xdf);
    palette.glyph = QColor(0x2c, 0x31, 0x38);
    palette.accent = accent;
    palette.meterGreen = QColor(0x1f, 0xa8, 0x55);
    palette.meterYellow = QColor(0xe0, 0xa8, 0x00);
    palette.meterRed = QColor(0xd7, 0x26, 0x1e);
    palette.capTop = QColor(0x6b, 0x71, 0x7a);
    palette.capBottom = QColor(0x33, 0x37, 0x3d);
    return palette;
}

QColor Palette::unlit(const QColor& colour) const {
    // Mostly the panel colour, so an unlit segment still reads as a segment
    // of its colour without glowing.
    return blend(colour, panel, 0.78);
}

QColor blend(const QColor& a, const QColor& b, double shareOfB) {
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * shareOfB,
                            a.greenF() + (b.greenF() - a.greenF()) * shareOfB,
                            a.blueF() + (b.blueF() - a.blueF()) * shareOfB);
}

} // namespace skin_painter
