#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>

#include <utility>
#include <vector>

namespace skin_painter {

enum class Orientation { Horizontal, Vertical };

// Kind of a display: drawn with its font, with the digit strip or with the
// letter strip.
enum class DisplayKind { Font, Number, Text };

// Collects the elements of one skin definition file and writes it in the
// version 150 layout (hot areas carry hints).
class SkinDefinition {
public:
    struct Bitmaps {
        QString mask;
        QString mouseUp;
        QString mouseDown;
        QString mouseOn;
        QString wallPaper; // empty: key left out (the reader chains it to MouseOnBitmap)
        QString numbers;   // empty: key left out
        QString text;      // empty: key left out
    };

    void setBitmaps(const Bitmaps& bitmaps) { m_bitmaps = bitmaps; }

    void addButton(const QString& name, const QRect& area, const QString& hint);
    void addSwitch(const QString& name, const QRect& area, const QString& hint, bool down);
    void addGauge(const QString& name, const QRect& area, Orientation orientation);
    // A rectangle the window lays something of its own over.
    void addArea(const QString& name, const QRect& area);
    void addFontDisplay(const QString& name, const QString& face, bool bold, int sizePoints, const QColor& colour,
                        const QPoint& topLeft, const QString& text = {});
    void addStripDisplay(const QString& name, DisplayKind kind, const QPoint& topLeft, const QString& text = {});
    void addTrackBar(const QString& name, const QString& thumb, const QString& activeThumb, const QPoint& start,
                     int lengthPixels, Orientation orientation, int position, const QString& hint);
    // A section of its own, written after the element sections.
    void addSection(const QString& name, std::vector<std::pair<QString, QString>> keys);

    QString text() const;

    // "$BBGGRR": red in the lowest byte.
    static QString displayColour(const QColor& colour);

private:
    Bitmaps m_bitmaps;
    std::vector<QString> m_hotAreas;
    std::vector<QString> m_gauges;
    std::vector<QString> m_displays;
    std::vector<QString> m_trackBars;
    std::vector<QString> m_areas;
    std::vector<std::pair<QString, std::vector<std::pair<QString, QString>>>> m_sections;
};

} // namespace skin_painter
