#pragma once

#include "ControlPainter.h"
#include "FaceSet.h"
#include "SkinDefinition.h"
#include "SkinFolder.h"
#include "SkinStyle.h"

#include <QString>

namespace skin_painter {

// One window of a skin being painted: its faces and its definition, kept in
// step. Each control is painted on all faces and entered in the definition
// by one call, so picture and file cannot disagree about a rectangle.
class WindowArt {
public:
    // The images are named after baseName: baseName + "Mask", "Up", "Down",
    // "Over".
    WindowArt(const SkinStyle& style, QString baseName, const QSize& size, const QPainterPath& outline);

    const SkinStyle& style() const { return m_style; }
    const Palette& palette() const { return m_style.palette; }
    const ControlPainter& painter() const { return m_painter; }
    FaceSet& faces() { return m_faces; }
    SkinDefinition& definition() { return m_definition; }
    QSize size() const { return m_faces.size(); }

    void button(const QString& name, const QRect& area, const QString& hint, const Glyph& glyph,
                bool accentGlyph = false);
    void ledSwitch(const QString& name, const QRect& area, const QString& hint, const QString& caption);
    void meter(const QString& name, const QRect& area, Orientation orientation);
    void bar(const QString& name, const QRect& area);

    // Writes the four window images and the definition file into the folder,
    // together with the glyph strips when given.
    void finish(SkinFolder& folder, const QString& definitionFile, const QString& numbersFile = {},
                const QString& textFile = {});

private:
    SkinStyle m_style;
    QString m_baseName;
    FaceSet m_faces;
    ControlPainter m_painter;
    SkinDefinition m_definition;
};

} // namespace skin_painter
