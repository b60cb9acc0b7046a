#pragma once

#include <QObject>

#include <functional>

class QTimer;

namespace platform {

// Runs a window's periodic display timer only while there is something to
// show, so that an idle application never wakes up. The owner says what
// "busy" means (a deck playing, a meter above zero) and wakes the timer when
// something the tick shows changes; once the owner is no longer busy the
// timer ticks `settleTicks` more times, so the last state is shown exactly
// as the free-running timer would have shown it, and then stops.
//
// The owner's own handler must be connected to the timer before this object
// is made: the check after each tick has to see what that tick did.
// GUI thread only.
class OnDemandTimer : public QObject {
public:
    OnDemandTimer(QTimer& timer, std::function<bool()> busy, int settleTicks);

    // Starts the timer unless it runs; it then ticks at least settleTicks
    // times.
    void wake();

private:
    void afterTick();

    QTimer& m_timer;
    std::function<bool()> m_busy;
    int m_settleTicks;
    int m_ticksLeft = 0;
};

} // namespace platform
