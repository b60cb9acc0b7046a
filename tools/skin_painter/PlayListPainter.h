#pragma once

#include "SkinFolder.h"
#include "SkinStyle.h"

#include <QColor>
#include <QString>

namespace skin_painter {

// The play list window: sort headers, the list well and the list buttons.
class PlayListPainter {
public:
    explicit PlayListPainter(const SkinStyle& style) : m_style(style) {}
    void paint(SkinFolder& folder) const;

    // The colour form of the "PLAYLISTINFO" geometry values: "$" and six
    // digits d1..d6 read as red = d1d2, blue = d3d4, green = d5d6.
    static QString listColour(const QColor& colour);

private:
    SkinStyle m_style;
};

} // namespace skin_painter
