#pragma once

#include <functional>
#include <memory>

struct pa_threaded_mainloop;
struct pa_context;

namespace xaudio {

// A connection to the desktop's sound server and the thread that serves it,
// one per player's stream. That thread answers the server's requests and
// then refills the player's ring (decoding, so reading the track's file):
// a deck whose file reads stall must not hold up the other deck's stream.
class PulseConnection {
public:
    // nullptr when no sound server answers.
    static std::unique_ptr<PulseConnection> open();
    ~PulseConnection();
    PulseConnection(const PulseConnection&) = delete;
    PulseConnection& operator=(const PulseConnection&) = delete;

    pa_threaded_mainloop* loop() const { return m_loop; }
    // Only with the loop's lock held.
    pa_context* context() const { return m_context; }

private:
    PulseConnection() = default;
    bool connect();
    static void onContextState(pa_context* context, void* self);

    pa_threaded_mainloop* m_loop = nullptr;
    pa_context* m_context = nullptr;
};

// Holds the connection thread's lock for a scope.
class PulseLoopLock {
public:
    explicit PulseLoopLock(pa_threaded_mainloop* loop);
    ~PulseLoopLock();
    PulseLoopLock(const PulseLoopLock&) = delete;
    PulseLoopLock& operator=(const PulseLoopLock&) = delete;

private:
    pa_threaded_mainloop* m_loop;
};

enum class PulseProgress { Waiting, Ready, Failed };

// Waits with the loop's lock held until `progress` tells ready or failed;
// the state callbacks signal the loop at every change.
bool waitUntilReady(pa_threaded_mainloop* loop, const std::function<PulseProgress()>& progress);

} // namespace xaudio
