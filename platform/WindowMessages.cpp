#include "WindowMessages.h"

#include <QCoreApplication>
#include <QThread>

// Qt's own libraries are not built with ThreadSanitizer, so it cannot see
// that posting an event happens before its delivery. These annotations state
// exactly that hand-off (and, for SendMessage, the way back), so the
// sanitizer checks our code without Qt's internals being suppressed
// wholesale. They compile to nothing in other builds.
#if defined(__SANITIZE_THREAD__)
#define DROVAN_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define DROVAN_TSAN 1
#endif
#endif

#ifdef DROVAN_TSAN
extern "C" void __tsan_acquire(void* address);
extern "C" void __tsan_release(void* address);
#endif

namespace platform {
namespace {

inline void handOff([[maybe_unused]] void* event) {
#ifdef DROVAN_TSAN
    __tsan_release(event);
#endif
}

inline void takeOver([[maybe_unused]] void* event) {
#ifdef DROVAN_TSAN
    __tsan_acquire(event);
#endif
}

} // namespace

WindowMessageEvent::~WindowMessageEvent() {
    takeOver(this);
}

QEvent::Type WindowMessageEvent::eventType() {
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

bool dispatchWindowMessage(QEvent* event, MessageReceiver& receiver) {
    takeOver(event);
    if (event->type() != WindowMessageEvent::eventType())
        return false;
    auto* messageEvent = static_cast<WindowMessageEvent*>(event);
    intptr_t result = 0;
    receiver.handleMessage(messageEvent->message(), result);
    messageEvent->result = result;
    handOff(messageEvent);
    return true;
}

void PostMessage(QObject* target, uint32_t number, uintptr_t wParam, intptr_t lParam, QByteArray payload) {
    if (target == nullptr)
        return;
    auto* event = new WindowMessageEvent(WindowMessage{number, wParam, lParam, std::move(payload)});
    handOff(event);
    QCoreApplication::postEvent(target, event);
}

intptr_t SendMessage(QObject* target, uint32_t number, uintptr_t wParam, intptr_t lParam, QByteArray payload) {
    if (target == nullptr)
        return 0;
    WindowMessageEvent event(WindowMessage{number, wParam, lParam, std::move(payload)});
    if (target->thread() == QThread::currentThread()) {
        QCoreApplication::sendEvent(target, &event);
    } else {
        handOff(&event);
        QMetaObject::invokeMethod(
            target, [target, &event] { QCoreApplication::sendEvent(target, &event); }, Qt::BlockingQueuedConnection);
        takeOver(&event);
    }
    return event.result;
}

} // namespace platform
