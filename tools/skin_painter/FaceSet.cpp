#include "FaceSet.h"

#include <QPainter>

namespace skin_painter {

FaceSet::FaceSet(const QSize& size, const QPainterPath& outline)
    : m_outline(outline), m_mask(size, QImage::Format_RGB32) {
    // The mask is painted without anti-aliasing: every pixel is either pure
    // white (cut away) or black (window); grey edge pixels would belong to
    // the window anyway and only blur the outline.
    m_mask.fill(Qt::white);
    QPainter painter(&m_mask);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillPath(outline, Qt::black);
    for (QImage& face : m_faces) {
        face = QImage(size, QImage::Format_RGB32);
        face.fill(Qt::black);
    }
}

void FaceSet::paint(const std::function<void(QPainter&, FaceState)>& painting) {
    for (auto state : {FaceState::Normal, FaceState::Pressed, FaceState::Hover}) {
        QPainter painter(&m_faces[static_cast<size_t>(state)]);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        painting(painter, state);
    }
}

void FaceSet::paintAll(const std::function<void(QPainter&)>& painting) {
    paint([&](QPainter& painter, FaceState) { painting(painter); });
}

QPainterPath roundedOutline(const QSize& size, double radius) {
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, size.width(), size.height()), radius, radius);
    return path;
}

} // namespace skin_painter
