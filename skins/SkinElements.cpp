#include "SkinElements.h"

#include <algorithm>
#include <cmath>

int GuageAreaInfoRec::fill() const {
    if (Max == Min)
        return 0;
    const int size = std::max(Horizontal ? Width : Height, 0);
    const double exact = (static_cast<double>(Position) - Min) * size / (static_cast<double>(Max) - Min);
    return static_cast<int>(std::clamp(std::trunc(exact), 0.0, static_cast<double>(size)));
}

PixelRect GuageAreaInfoRec::fillRect() const {
    const int filled = fill();
    if (Horizontal)
        return PixelRect::fromSize(Left, Top, filled, Height);
    return PixelRect::fromSize(Left, int64_t{Top} + Height - filled, Width, filled);
}

QColor SkinFontInfo::color() const {
    return QColor(static_cast<int>(Color & 0xFF), static_cast<int>((Color >> 8) & 0xFF),
                  static_cast<int>((Color >> 16) & 0xFF));
}

QFont SkinFontInfo::font() const {
    // The face name goes through the font system's substitution, so
    // "Arial" finds its metric-compatible stand-in.
    QFont result(Face);
    // Sizes beyond any screen are not worth a font; they draw at the default.
    if (SizePoints > 0 && SizePoints <= 1000)
        result.setPointSize(SizePoints);
    result.setBold(Bold);
    result.setItalic(Italic);
    return result;
}

int64_t TrackBarInfoRec::travel() const {
    return Horizontal ? int64_t{Length} - ThumbWidth : int64_t{Length} - ThumbHeight;
}

PixelRect TrackBarInfoRec::thumbRect() const {
    return PixelRect::fromSize(thumbLeft(), thumbTop(), ThumbWidth, ThumbHeight);
}

PixelRect TrackBarInfoRec::trackRect() const {
    if (Horizontal)
        return PixelRect::fromSize(Left, Top, Length, ThumbHeight);
    return PixelRect::fromSize(Left, Top, ThumbWidth, int64_t{Length} - ThumbHeight);
}

PixelRect TrackBarInfoRec::hintRect() const {
    if (Horizontal)
        return PixelRect::fromSize(Left, Top, Length, ThumbHeight);
    return PixelRect::fromSize(Left, Top, ThumbWidth, Length);
}

void TrackBarInfoRec::setOffsetWithinTravel(int64_t value) {
    Offset = static_cast<int32_t>(std::clamp<int64_t>(value, 0, std::max<int64_t>(travel(), 0)));
}

bool TrackBarInfoRec::updatePositionFromOffset() {
    const int64_t range = travel();
    if (range <= 0)
        return false;
    const int64_t position = std::clamp<int64_t>(int64_t{Offset} * 100 / range, 0, 100);
    Position = static_cast<uint8_t>(position);
    Offset = static_cast<int32_t>(range * position / 100);
    return true;
}

void TrackBarInfoRec::setPosition(int value) {
    Position = static_cast<uint8_t>(value < 0 ? 0 : value % 101);
    const int64_t range = travel();
    Offset = range > 0 ? static_cast<int32_t>(range * Position / 100) : 0;
}
