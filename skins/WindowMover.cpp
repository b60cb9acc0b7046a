#include "WindowMover.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace skins {

void WindowMover::start(QWidget* widget, const QMouseEvent& event) {
    m_following = nullptr;
    QWidget* window = widget->window();
    if (QWindow* handle = window->windowHandle(); handle != nullptr && handle->startSystemMove())
        return;
    m_following = window;
    m_pressGlobal = event.globalPosition().toPoint();
    m_windowStart = window->pos();
}

bool WindowMover::follow(const QMouseEvent& event) {
    if (m_following == nullptr)
        return false;
    m_following->move(m_windowStart + (event.globalPosition().toPoint() - m_pressGlobal));
    return true;
}

bool WindowMover::finish(const QMouseEvent& event) {
    if (m_following == nullptr)
        return false;
    follow(event);
    m_following = nullptr;
    return true;
}

} // namespace skins
