#pragma once

#include <QByteArray>
#include <QEvent>
#include <QObject>

#include <cstdint>

namespace platform {

// A numbered message with two parameters, the way windows and threads talk
// to each other ("PostMessage"/"SendMessage"). The numbers are the contract
// between the parts of the system (see MessageNumbers.h). A message may carry
// a payload that the sender copies in (notifications of the engine use it).
struct WindowMessage {
    uint32_t number = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
    QByteArray payload;
};

class WindowMessageEvent : public QEvent {
public:
    explicit WindowMessageEvent(WindowMessage message) : QEvent(eventType()), m_message(std::move(message)) {}
    ~WindowMessageEvent() override;
    static QEvent::Type eventType();
    const WindowMessage& message() const { return m_message; }
    intptr_t result = 0;

private:
    WindowMessage m_message;
};

// A QObject that answers numbered messages. Subclasses implement
// handleMessage; it runs on the thread the receiver lives on.
class MessageReceiver {
public:
    virtual ~MessageReceiver() = default;
    // Returns true when the message was handled; result is what SendMessage gives back.
    virtual bool handleMessage(const WindowMessage& message, intptr_t& result) = 0;
};

// Helper for QObject::event overrides: dispatches a WindowMessageEvent to the
// receiver. Returns true when the event was a message.
bool dispatchWindowMessage(QEvent* event, MessageReceiver& receiver);

// Queues the message for the target's thread and returns at once. Safe to
// call from any thread; the target must outlive the delivery.
void PostMessage(QObject* target, uint32_t number, uintptr_t wParam = 0, intptr_t lParam = 0, QByteArray payload = {});

// Delivers the message and waits for its result: a direct call on the
// target's thread, a blocking queued call from any other thread.
intptr_t SendMessage(QObject* target, uint32_t number, uintptr_t wParam = 0, intptr_t lParam = 0,
                     QByteArray payload = {});

} // namespace platform
