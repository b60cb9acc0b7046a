#pragma once

#include <QWidget>

#include <functional>

// An invisible mouse region laid over a skin element: it draws nothing, so
// the face below shows through, and it reports presses and clicks (a left
// press released inside the region). GUI thread only.
class MouseRegion : public QWidget {
    Q_OBJECT
public:
    explicit MouseRegion(QWidget* parent);

    // Any button; the position is in region coordinates.
    std::function<void(Qt::MouseButton button, QPoint position)> onPress;
    std::function<void()> onClick;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};
