#include "WindowMessages.h"

#include <QCoreApplication>
#include <QThread>

namespace platform {

QEvent::Type WindowMessageEvent::eventType() {
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

bool dispatchWindowMessage(QEvent* event, MessageReceiver& receiver) {
    if (event->type() != WindowMessageEvent::eventType())
        return false;
    auto* messageEvent = static_cast<WindowMessageEvent*>(event);
    intptr_t result = 0;
    receiver.handleMessage(messageEvent->message(), result);
    messageEvent->result = result;
    return true;
}

void PostMessage(QObject* target, uint32_t number, uintptr_t wParam, intptr_t lParam, QByteArray payload) {
    if (target == nullptr)
        return;
    QCoreApplication::postEvent(target,
                                new WindowMessageEvent(WindowMessage{number, wParam, lParam, std::move(payload)}));
}

intptr_t SendMessage(QObject* target, uint32_t number, uintptr_t wParam, intptr_t lParam, QByteArray payload) {
    if (target == nullptr)
        return 0;
    WindowMessageEvent event(WindowMessage{number, wParam, lParam, std::move(payload)});
    if (target->thread() == QThread::currentThread()) {
        QCoreApplication::sendEvent(target, &event);
    } else {
        QMetaObject::invokeMethod(
            target, [target, &event] { QCoreApplication::sendEvent(target, &event); }, Qt::BlockingQueuedConnection);
    }
    return event.result;
}

} // namespace platform
