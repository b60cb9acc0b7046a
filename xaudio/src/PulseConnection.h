#pragma once

#include <functional>
#include <memory>

struct pa_threaded_mainloop;
struct pa_context;

namespace xaudio {

// The process's one connection to the desktop's sound server, shared by
// every player's stream to it. Both decks' streams then go to the server
// over one socket and are served by one thread: where the server asks both
// for more at the same time, that thread wakes once for both decks (with a
// null sink up to a quarter of the wake-ups of a thread per deck go).
class PulseConnection {
public:
    // The live connection, made when none is; nullptr when no sound server
    // answers. A connection the server has dropped is not handed out again:
    // the next caller gets a new one.
    static std::shared_ptr<PulseConnection> shared();
    ~PulseConnection();
    PulseConnection(const PulseConnection&) = delete;
    PulseConnection& operator=(const PulseConnection&) = delete;

    pa_threaded_mainloop* loop() const { return m_loop; }
    // Only with the loop's lock held.
    pa_context* context() const { return m_context; }

private:
    PulseConnection() = default;
    bool connect();
    bool alive() const;
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
