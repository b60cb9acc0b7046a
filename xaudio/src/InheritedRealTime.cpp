#include "InheritedRealTime.h"

namespace xaudio {

InheritedRealTime::InheritedRealTime(int priority) : m_thread(pthread_self()) {
    if (pthread_getschedparam(m_thread, &m_policy, &m_parameters) != 0 || m_policy == SCHED_FIFO ||
        m_policy == SCHED_RR)
        return;
    sched_param raised{};
    raised.sched_priority = priority;
    m_raised = pthread_setschedparam(m_thread, SCHED_FIFO, &raised) == 0;
}

InheritedRealTime::~InheritedRealTime() {
    if (m_raised)
        pthread_setschedparam(m_thread, m_policy, &m_parameters);
}

} // namespace xaudio
