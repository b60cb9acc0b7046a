#pragma once

#include "platform/WindowMessages.h"

#include "xaudio.h"

#include <QObject>

#include <functional>

namespace engine {

// The player component's hidden window: a QObject on the thread that
// created it (the GUI thread), which the engine posts its notifications to
// through notificationTarget(). Each notification is copied into a
// platform::WindowMessage and queued; the handler then runs on this
// object's thread, in message dispatch.
class NotificationWindow : public QObject, public platform::MessageReceiver {
    Q_OBJECT

public:
    // Returns true when the message was handled; false hands it to the
    // default processing, which ignores it.
    using Handler = std::function<bool(const platform::WindowMessage& message)>;

    // Throws std::logic_error when there is no application object: without
    // one, posted messages would never be delivered.
    explicit NotificationWindow(Handler handler);
    ~NotificationWindow() override;

    // What the engine is given as the "window" to post to. The address stays
    // valid for the lifetime of this object; the engine must stop posting
    // (player_delete) before it is destroyed.
    XA_NotificationTarget* notificationTarget() { return &m_target; }

    bool handleMessage(const platform::WindowMessage& message, intptr_t& result) override;

protected:
    bool event(QEvent* event) override;

private:
    // Called by the engine on its own threads; never throws.
    static void postNotification(void* context, uint32_t message, uintptr_t wparam, const void* payload,
                                 size_t payloadSize) noexcept;

    Handler m_handler;
    XA_NotificationTarget m_target;
};

} // namespace engine
