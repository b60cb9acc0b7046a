#pragma once

#include "SkinFolder.h"
#include "SkinStyle.h"

namespace skin_painter {

class AboutPainter {
public:
    explicit AboutPainter(const SkinStyle& style) : m_style(style) {}
    void paint(SkinFolder& folder) const;

private:
    SkinStyle m_style;
};

} // namespace skin_painter
