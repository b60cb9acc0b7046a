#include "OnDemandTimer.h"

#include <QTimer>

#include <utility>

namespace platform {

OnDemandTimer::OnDemandTimer(QTimer& timer, std::function<bool()> busy, int settleTicks)
    : QObject(&timer), m_timer(timer), m_busy(std::move(busy)), m_settleTicks(settleTicks) {
    connect(&m_timer, &QTimer::timeout, this, &OnDemandTimer::afterTick);
}

void OnDemandTimer::wake() {
    m_ticksLeft = m_settleTicks;
    if (!m_timer.isActive())
        m_timer.start();
}

void OnDemandTimer::afterTick() {
    if (m_busy()) {
        m_ticksLeft = m_settleTicks;
        return;
    }
    if (--m_ticksLeft <= 0)
        m_timer.stop();
}

} // namespace platform
