#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <functional>

namespace test_support {

// Runs the GUI thread's event loop until the condition holds or the time is
// up; returns the condition's last value. The limit is generous because the
// CI machine is slow and busy; a passing test never waits for it.
inline bool processEventsUntil(const std::function<bool()>& condition, int timeoutMs = 10000) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return condition();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

// Delivers every event already posted to this thread.
inline void processPostedEvents() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

} // namespace test_support
