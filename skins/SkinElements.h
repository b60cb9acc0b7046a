#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <vector>

// The element records of a skin, in the order of their definition file.

// A rectangle in face pixels that includes its left and top edges and
// excludes the right and bottom ones. Coordinates come from skin files and
// may be anything a 32-bit integer holds, so the sums are kept in 64 bits.
struct PixelRect {
    int64_t left = 0;
    int64_t top = 0;
    int64_t right = 0;
    int64_t bottom = 0;
    static PixelRect fromSize(int64_t left, int64_t top, int64_t width, int64_t height) {
        return {left, top, left + width, top + height};
    }
    bool contains(int64_t x, int64_t y) const { return left <= x && x < right && top <= y && y < bottom; }
    bool isEmpty() const { return right <= left || bottom <= top; }
    PixelRect intersected(const PixelRect& other) const {
        return {std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
                std::min(bottom, other.bottom)};
    }
    // The smallest rectangle holding both; an empty one adds nothing.
    PixelRect united(const PixelRect& other) const {
        if (isEmpty())
            return other;
        if (other.isEmpty())
            return *this;
        return {std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
                std::max(bottom, other.bottom)};
    }
    // Only for rectangles within an image, whose edges fit an int.
    QRect toQRect() const {
        return isEmpty() ? QRect()
                         : QRect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                                 static_cast<int>(bottom - top));
    }
    bool operator==(const PixelRect&) const = default;
};

struct HotAreaInfoRec {
    QString Name;
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    bool IsSwitch = false;
    bool Down = false;
    QString Group;
    QString Hint;
    // From a press on the area until it is released or left.
    bool Pressed = false;

    PixelRect rect() const { return PixelRect::fromSize(Left, Top, Width, Height); }
    bool contains(int64_t x, int64_t y) const { return rect().contains(x, y); }
};
using THotAreaInfoArray = std::vector<HotAreaInfoRec>;

struct GuageAreaInfoRec {
    QString Name;
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    bool Horizontal = true;
    int32_t Position = 0;
    int32_t Min = 0;
    int32_t Max = 100;

    PixelRect rect() const { return PixelRect::fromSize(Left, Top, Width, Height); }
    // Pixels filled: (Position - Min) x size / (Max - Min), truncated toward
    // zero and kept within 0..size. An empty range fills nothing.
    int fill() const;
    // The part of the gauge shown filled: from the left edge rightward, or
    // from the bottom edge upward.
    PixelRect fillRect() const;
};
using TGuageAreaInfoArray = std::vector<GuageAreaInfoRec>;

// A named rectangle the skin engine neither draws nor hit-tests: a window
// lays something of its own there (a deck its spectrum display).
struct AreaInfoRec {
    QString Name;
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;
};
using TAreaInfoArray = std::vector<AreaInfoRec>;

// A display font as the definition file gives it.
struct SkinFontInfo {
    QString Face;
    bool Bold = false;
    bool Italic = false;
    int SizePoints = 0;
    // Red in the lowest byte, green in the next, blue in the third ($BBGGRR).
    uint32_t Color = 0;
    int Charset = 1;

    QColor color() const;
    QFont font() const;
};

struct DisplayInfoRec {
    QString Name;
    int32_t Left = 0;
    int32_t Top = 0;
    SkinFontInfo Font;
    // "Number" (digit strip), "Text" (letter strip) or anything else (Font).
    QString Kind;
    QString Text;
};
using TDisplayInfoArray = std::vector<DisplayInfoRec>;

struct TrackBarInfoRec {
    QString Name;
    QImage Thumb;
    QImage ActiveThumb;
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Length = 0;
    bool Horizontal = true;
    uint8_t Position = 0;
    int32_t Offset = 0;
    int32_t ThumbWidth = 0;
    int32_t ThumbHeight = 0;
    QString Hint;
    uint8_t MinPosition = 0;
    uint8_t MaxPosition = 100;

    // How far the thumb can move: the track length less the thumb's size
    // along the axis. A trackbar without travel takes no presses or drags.
    int64_t travel() const;
    PixelRect thumbRect() const;
    // The part of the track that takes presses; the last ThumbHeight pixels
    // of a vertical track do not.
    PixelRect trackRect() const;
    PixelRect hintRect() const;
    // Where the thumb's top-left corner is drawn.
    int64_t thumbLeft() const { return Horizontal ? int64_t{Left} + Offset : Left; }
    int64_t thumbTop() const { return Horizontal ? Top : int64_t{Top} + Offset; }
    // Offset := value limited to 0..travel.
    void setOffsetWithinTravel(int64_t value);

    // Position := Offset x 100 div travel within 0..100, then the thumb
    // snaps to the pixel of that position. Returns false without travel.
    bool updatePositionFromOffset();
    // Position := value mod 101 (negative values give 0); Offset follows.
    void setPosition(int value);
};
using TTrackBarInfoArray = std::vector<TrackBarInfoRec>;
