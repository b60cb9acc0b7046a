#include "ThumbPainter.h"

#include <QLinearGradient>
#include <QPainter>

namespace skin_painter {

QImage ThumbPainter::cap(const QSize& size, Orientation travel, bool active) const {
    QImage image(size, QImage::Format_RGB32);
    image.fill(m_palette.bevelDark);
    QPainter painter(&image);
    const bool vertical = travel == Orientation::Vertical;
    const QRectF body(1, 1, size.width() - 2, size.height() - 2);

    // Light falls from above: the cap is a ridge across the travel.
    QLinearGradient shading =
        vertical ? QLinearGradient(0, body.top(), 0, body.bottom()) : QLinearGradient(body.left(), 0, body.right(), 0);
    shading.setColorAt(0, m_palette.capTop);
    shading.setColorAt(0.45, m_palette.capTop.darker(112));
    shading.setColorAt(0.55, m_palette.capBottom.lighter(115));
    shading.setColorAt(1, m_palette.capBottom);
    painter.fillRect(body, shading);

    // Grip grooves on both halves.
    const QColor groove = m_palette.capBottom.darker(150);
    const QColor ridge = m_palette.capTop.lighter(115);
    const int along = vertical ? size.height() : size.width();
    for (int step = 3; step < along / 2 - 2; step += 3) {
        for (int position : {step, along - 1 - step}) {
            if (vertical) {
                painter.fillRect(QRect(3, position, size.width() - 6, 1), groove);
                painter.fillRect(QRect(3, position + 1, size.width() - 6, 1), ridge);
            } else {
                painter.fillRect(QRect(position, 3, 1, size.height() - 6), groove);
                painter.fillRect(QRect(position + 1, 3, 1, size.height() - 6), ridge);
            }
        }
    }

    // The index line in the middle tells the position.
    const QColor index = active ? m_palette.accent.lighter(120) : QColor(0xf4, 0xf6, 0xf8);
    if (vertical) {
        const int middle = size.height() / 2;
        painter.fillRect(QRect(1, middle - 1, size.width() - 2, 2), index);
    } else {
        const int middle = size.width() / 2;
        painter.fillRect(QRect(middle - 1, 1, 2, size.height() - 2), index);
    }
    if (active) {
        painter.setPen(QPen(m_palette.accent, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1));
    }
    return image;
}

} // namespace skin_painter
