#pragma once

#include <pthread.h>
#include <sched.h>

namespace xaudio {

// Makes the calling thread real-time for its own lifetime, so that the
// threads a library starts meanwhile inherit real-time scheduling, then puts
// the calling thread back as it was. Where the system refuses real-time
// scheduling (no privilege) nothing changes. Not for real-time code: it
// makes system calls.
class InheritedRealTime {
public:
    explicit InheritedRealTime(int priority);
    ~InheritedRealTime();
    InheritedRealTime(const InheritedRealTime&) = delete;
    InheritedRealTime& operator=(const InheritedRealTime&) = delete;

private:
    pthread_t m_thread;
    int m_policy = SCHED_OTHER;
    sched_param m_parameters{};
    bool m_raised = false;
};

} // namespace xaudio
