#include "WindowArt.h"

namespace skin_painter {

WindowArt::WindowArt(const SkinStyle& style, QString baseName, const QSize& size, const QPainterPath& outline)
    : m_style(style), m_baseName(std::move(baseName)), m_faces(size, outline), m_painter(style.palette) {
    m_faces.paintAll([&](QPainter& painter) { m_painter.windowBody(painter, m_faces); });
}

void WindowArt::button(const QString& name, const QRect& area, const QString& hint, const Glyph& glyph,
                       bool accentGlyph) {
    m_faces.paint(
        [&](QPainter& painter, FaceState state) { m_painter.button(painter, area, state, glyph, accentGlyph); });
    m_definition.addButton(name, area, hint);
}

void WindowArt::ledSwitch(const QString& name, const QRect& area, const QString& hint, const QString& caption) {
    m_faces.paint([&](QPainter& painter, FaceState state) { m_painter.ledSwitch(painter, area, state, caption); });
    m_definition.addSwitch(name, area, hint, false);
}

void WindowArt::meter(const QString& name, const QRect& area, Orientation orientation) {
    m_faces.paint([&](QPainter& painter, FaceState state) {
        m_painter.meter(painter, area, orientation, state == FaceState::Pressed);
    });
    m_definition.addGauge(name, area, orientation);
}

void WindowArt::bar(const QString& name, const QRect& area) {
    m_faces.paint(
        [&](QPainter& painter, FaceState state) { m_painter.bar(painter, area, state == FaceState::Pressed); });
    m_definition.addGauge(name, area, Orientation::Horizontal);
}

void WindowArt::finish(SkinFolder& folder, const QString& definitionFile, const QString& numbersFile,
                       const QString& textFile) {
    const QString mask = m_baseName + QStringLiteral("Mask.") + m_style.maskType;
    const QString up = m_baseName + QStringLiteral("Up.") + m_style.faceType;
    const QString down = m_baseName + QStringLiteral("Down.") + m_style.faceType;
    const QString over = m_baseName + QStringLiteral("Over.") + m_style.faceType;
    folder.addImage(mask, m_faces.mask());
    folder.addImage(up, m_faces.face(FaceState::Normal));
    folder.addImage(down, m_faces.face(FaceState::Pressed));
    folder.addImage(over, m_faces.face(FaceState::Hover));
    m_definition.setBitmaps({mask, up, down, over, {}, numbersFile, textFile});
    folder.addDefinition(definitionFile, m_definition);
}

} // namespace skin_painter
