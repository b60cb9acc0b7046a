#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

// Watches for spells in which a processor of this machine runs nothing at
// all: one thread per processor, at the top real-time priority and bound to
// it, sleeps a millisecond at a time and notes every wake-up that came
// 10 ms or more late. Nothing the audio engine does can hold such a thread
// back; a virtual machine whose processor the host took away can. An
// underrun just after such a stall says nothing about the engine.
class StallWatch {
public:
    using Clock = std::chrono::steady_clock;
    // How long after a stall its underruns may still show: the stream that
    // went short in it runs dry within a device buffer (20 ms) plus the
    // catch-up.
    static constexpr Clock::duration kAftermath = std::chrono::milliseconds(50);
    struct Stall {
        Clock::time_point start;
        Clock::time_point end;
    };

    StallWatch();
    ~StallWatch();
    StallWatch(const StallWatch&) = delete;
    StallWatch& operator=(const StallWatch&) = delete;

    // False when a watcher could not get real-time priority: its late
    // wake-ups would then be mere competition for the processor, so none
    // are noted and nothing is explained by them.
    bool active() const { return m_active; }
    // Whether a stall could have caused an underrun seen between from and to.
    bool explains(Clock::time_point from, Clock::time_point to) const;
    std::vector<Stall> stalls() const;

private:
    void watch();

    std::atomic<bool> m_running{true};
    bool m_active = true;
    mutable std::mutex m_mutex;
    std::vector<Stall> m_stalls;
    std::vector<std::thread> m_threads;
};
