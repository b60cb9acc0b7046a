#pragma once

#include "Palette.h"

#include <QImage>
#include <QPainterPath>

#include <array>
#include <functional>

class QPainter;

namespace skin_painter {

// Which of the three faces is being painted: the face at rest, the face with
// every control pressed or lit (also the source of gauge fills), and the face
// with every control highlighted under the pointer.
enum class FaceState { Normal, Pressed, Hover };

// The mask and the three faces of one window, painted together so that
// everything outside the controls is identical on all three.
class FaceSet {
public:
    // The window outline: pixels outside it become pure white on the mask.
    FaceSet(const QSize& size, const QPainterPath& outline);

    QSize size() const { return m_mask.size(); }
    const QPainterPath& outline() const { return m_outline; }
    const QImage& mask() const { return m_mask; }
    const QImage& face(FaceState state) const { return m_faces[static_cast<size_t>(state)]; }

    // Runs the painting once for every face, clipped to nothing, with
    // anti-aliasing on. The callback decides what differs between the states.
    void paint(const std::function<void(QPainter&, FaceState)>& painting);
    // The same picture on all three faces.
    void paintAll(const std::function<void(QPainter&)>& painting);

private:
    QPainterPath m_outline;
    QImage m_mask;
    std::array<QImage, 3> m_faces; // indexed by FaceState
};

// A rounded rectangle outline whose corners the mask cuts away.
QPainterPath roundedOutline(const QSize& size, double radius);

} // namespace skin_painter
