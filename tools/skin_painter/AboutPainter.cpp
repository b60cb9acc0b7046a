#include "AboutPainter.h"

#include "FaceSet.h"
#include "Glyphs.h"
#include "SkinDefinition.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <cmath>

namespace skin_painter {

void AboutPainter::paint(SkinFolder& folder) const {
    const Palette& palette = m_style.palette;
    const QSize size(300, 200);
    // A ticket-like outline: rounded corners and a notch at each side.
    QPainterPath outline = roundedOutline(size, 18);
    QPainterPath notches;
    notches.addEllipse(QPointF(0, 120), 9, 9);
    notches.addEllipse(QPointF(size.width(), 120), 9, 9);
    outline = outline.subtracted(notches);
    FaceSet faces(size, outline);

    faces.paintAll([&](QPainter& painter) {
        painter.fillRect(QRect(QPoint(0, 0), size), palette.frame);
        QLinearGradient body(0, 0, 0, size.height());
        body.setColorAt(0, palette.bodyTop);
        body.setColorAt(1, palette.bodyBottom);
        painter.save();
        painter.translate(1, 1);
        painter.scale((size.width() - 2.0) / size.width(), (size.height() - 2.0) / size.height());
        painter.fillPath(outline, body);
        painter.restore();

        // A spectrum of bars behind the mark.
        QRadialGradient glow(QPointF(size.width() / 2.0, 70), 150);
        QColor accent = palette.accent;
        accent.setAlpha(70);
        glow.setColorAt(0, accent);
        accent.setAlpha(0);
        glow.setColorAt(1, accent);
        painter.fillRect(QRect(0, 0, size.width(), 120), glow);
        for (int bar = 0; bar < 32; ++bar) {
            const double height = 10 + 34 * std::fabs(std::sin(bar * 0.55) * std::cos(bar * 0.17));
            QColor colour = palette.accent;
            colour.setAlpha(90);
            painter.fillRect(QRectF(22 + bar * 8, 100 - height, 6, height), colour);
        }
        QFont mark(captionFamily());
        mark.setPixelSize(40);
        mark.setBold(true);
        mark.setLetterSpacing(QFont::AbsoluteSpacing, 4);
        painter.setFont(mark);
        painter.setPen(palette.glyph);
        painter.drawText(QRect(0, 36, size.width(), 50), Qt::AlignCenter, QStringLiteral("DROVAN"));
        painter.setPen(QPen(palette.bevelDark, 1));
        painter.drawLine(QPointF(20, 120.5), QPointF(size.width() - 20, 120.5));
        painter.setPen(QPen(palette.bevelLight, 1, Qt::DashLine));
        painter.drawLine(QPointF(20, 121.5), QPointF(size.width() - 20, 121.5));
    });

    SkinDefinition definition;
    const QString arial = QStringLiteral("Arial");
    definition.addFontDisplay(QStringLiteral("SkinName"), arial, true, 11, palette.accent, {24, 130},
                              m_style.skinName + QStringLiteral(" skin"));
    definition.addFontDisplay(QStringLiteral("Painter"), arial, false, 8, palette.label, {24, 150},
                              QStringLiteral("Painted with QPainter by skin_painter"));
    definition.addFontDisplay(QStringLiteral("Fonts"), arial, false, 8, palette.labelDim, {24, 165},
                              QStringLiteral("Faces: Liberation Sans and DejaVu Sans Mono"));
    definition.addFontDisplay(QStringLiteral("Close"), arial, false, 7, palette.labelDim, {24, 180},
                              QStringLiteral("Click anywhere to close"));

    // The about page has no controls: one face serves for all roles (hover
    // highlighting is off because the pressed and hover names are equal).
    const QString mask = QStringLiteral("AboutMask.") + m_style.maskType;
    const QString face = QStringLiteral("About.jpg");
    folder.addImage(mask, faces.mask());
    folder.addImage(face, faces.face(FaceState::Normal));
    definition.setBitmaps({mask, face, face, face, {}, {}, {}});
    folder.addDefinition(QStringLiteral("About.ini"), definition);
}

} // namespace skin_painter
