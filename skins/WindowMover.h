#pragma once

#include <QPoint>

class QWidget;
class QMouseEvent;

namespace skins {

// Moves a top-level window with the pointer after a press, the way a drag
// on a title bar does. The window system's own move is asked for first;
// where it refuses (the offscreen platform, an X server without a window
// manager), the window follows the pointer's global position until the
// button is released. GUI thread only.
class WindowMover {
public:
    // Starts a move of the window that holds `widget`, for the press
    // `event`.
    void start(QWidget* widget, const QMouseEvent& event);
    // Feeds pointer moves and the release while the fallback is running.
    // Returns true when the event belonged to the move.
    bool follow(const QMouseEvent& event);
    bool finish(const QMouseEvent& event);
    void cancel() { m_following = nullptr; }
    bool isFollowing() const { return m_following != nullptr; }

private:
    QWidget* m_following = nullptr;
    QPoint m_pressGlobal;
    QPoint m_windowStart;
};

} // namespace skins
