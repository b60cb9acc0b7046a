#include "NotificationWindow.h"

#include <QCoreApplication>

#include <stdexcept>

namespace engine {

NotificationWindow::NotificationWindow(Handler handler) : m_handler(std::move(handler)) {
    if (QCoreApplication::instance() == nullptr)
        throw std::logic_error("no application object to deliver notifications");
    m_target.post = &NotificationWindow::postNotification;
    m_target.context = this;
}

NotificationWindow::~NotificationWindow() = default;

bool NotificationWindow::handleMessage(const platform::WindowMessage& message, intptr_t& result) {
    result = 0;
    return m_handler ? m_handler(message) : false;
}

bool NotificationWindow::event(QEvent* event) {
    if (platform::dispatchWindowMessage(event, *this))
        return true;
    return QObject::event(event);
}

void NotificationWindow::postNotification(void* context, uint32_t message, uintptr_t wparam, const void* payload,
                                          size_t payloadSize) noexcept {
    // The payload is valid only during this call, so it is copied here on
    // the engine's thread; PostMessage itself is thread-safe.
    try {
        auto* window = static_cast<NotificationWindow*>(context);
        QByteArray copy;
        if (payload != nullptr && payloadSize > 0)
            copy = QByteArray(static_cast<const char*>(payload), static_cast<qsizetype>(payloadSize));
        platform::PostMessage(window, message, wparam, 0, std::move(copy));
    } catch (...) {
        // Out of memory on an engine thread: the notification is lost, which
        // is better than letting an exception into the engine.
    }
}

} // namespace engine
