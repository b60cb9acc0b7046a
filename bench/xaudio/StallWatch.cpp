#include "StallWatch.h"

#include <pthread.h>
#include <sched.h>
#include <time.h>

namespace {

using namespace std::chrono_literals;

constexpr auto kTick = 1ms;
// Half the sound server's buffer for a stream: a shorter stall leaves the
// stream enough to play, so an underrun after it is the engine's own.
constexpr auto kStallThreshold = 10ms;

bool makeRealTimeOn(int processor) {
    cpu_set_t set;
    CPU_ZERO(&set);
    CPU_SET(processor, &set);
    sched_param parameter{};
    parameter.sched_priority = sched_get_priority_max(SCHED_FIFO);
    return pthread_setaffinity_np(pthread_self(), sizeof set, &set) == 0 &&
           pthread_setschedparam(pthread_self(), SCHED_FIFO, &parameter) == 0;
}

} // namespace

StallWatch::StallWatch() {
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    sched_getaffinity(0, sizeof allowed, &allowed);
    std::atomic<int> started{0};
    std::atomic<bool> allRealTime{true};
    int watchers = 0;
    for (int processor = 0; processor < CPU_SETSIZE; ++processor) {
        if (!CPU_ISSET(processor, &allowed))
            continue;
        ++watchers;
        m_threads.emplace_back([this, processor, &started, &allRealTime] {
            if (!makeRealTimeOn(processor))
                allRealTime = false;
            ++started;
            watch();
        });
    }
    while (started < watchers)
        std::this_thread::sleep_for(kTick);
    m_active = allRealTime;
}

StallWatch::~StallWatch() {
    m_running = false;
    for (std::thread& thread : m_threads)
        thread.join();
}

void StallWatch::watch() {
    const timespec tick{0, std::chrono::nanoseconds(kTick).count()};
    while (m_running) {
        const auto before = Clock::now();
        clock_nanosleep(CLOCK_MONOTONIC, 0, &tick, nullptr);
        const auto after = Clock::now();
        if (after - before - kTick >= kStallThreshold) {
            std::lock_guard lock(m_mutex);
            m_stalls.push_back({before + kTick, after});
        }
    }
}

bool StallWatch::explains(Clock::time_point from, Clock::time_point to) const {
    if (!m_active)
        return false;
    std::lock_guard lock(m_mutex);
    for (const Stall& stall : m_stalls) {
        if (stall.start <= to && stall.end + kAftermath >= from)
            return true;
    }
    return false;
}

std::vector<StallWatch::Stall> StallWatch::stalls() const {
    if (!m_active)
        return {};
    std::lock_guard lock(m_mutex);
    return m_stalls;
}
