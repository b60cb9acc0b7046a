#include "PulseConnection.h"

#include "InheritedRealTime.h"

#include <pulse/context.h>
#include <pulse/thread-mainloop.h>

namespace xaudio {
namespace {

// Above the feeders, which must be interruptible by the thread they feed.
constexpr int kRealTimePriority = 15;

} // namespace

PulseLoopLock::PulseLoopLock(pa_threaded_mainloop* loop) : m_loop(loop) {
    pa_threaded_mainloop_lock(m_loop);
}

PulseLoopLock::~PulseLoopLock() {
    pa_threaded_mainloop_unlock(m_loop);
}

bool waitUntilReady(pa_threaded_mainloop* loop, const std::function<PulseProgress()>& progress) {
    for (;;) {
        switch (progress()) {
        case PulseProgress::Ready:
            return true;
        case PulseProgress::Failed:
            return false;
        case PulseProgress::Waiting:
            pa_threaded_mainloop_wait(loop);
        }
    }
}

std::unique_ptr<PulseConnection> PulseConnection::open() {
    std::unique_ptr<PulseConnection> connection(new PulseConnection);
    if (!connection->connect())
        return nullptr;
    return connection;
}

bool PulseConnection::connect() {
    m_loop = pa_threaded_mainloop_new();
    if (m_loop == nullptr)
        return false;
    m_context = pa_context_new(pa_threaded_mainloop_get_api(m_loop), "xaudio");
    if (m_context == nullptr)
        return false;
    pa_context_set_state_callback(m_context, &PulseConnection::onContextState, this);
    // No server is started for us: without one, ALSA's devices are next.
    if (pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
        return false;
    {
        // The connection's thread serves the server's requests from the
        // ring: it must be able to interrupt the feeder.
        const InheritedRealTime realTime(kRealTimePriority);
        if (pa_threaded_mainloop_start(m_loop) < 0)
            return false;
    }
    PulseLoopLock lock(m_loop);
    return waitUntilReady(m_loop, [this] {
        const pa_context_state_t state = pa_context_get_state(m_context);
        return state == PA_CONTEXT_READY ? PulseProgress::Ready
                                         : (PA_CONTEXT_IS_GOOD(state) ? PulseProgress::Waiting : PulseProgress::Failed);
    });
}

PulseConnection::~PulseConnection() {
    // The stream on the connection is gone; once the thread has ended
    // nothing calls back any more.
    if (m_loop != nullptr)
        pa_threaded_mainloop_stop(m_loop);
    if (m_context != nullptr) {
        pa_context_disconnect(m_context);
        pa_context_unref(m_context);
    }
    if (m_loop != nullptr)
        pa_threaded_mainloop_free(m_loop);
}

void PulseConnection::onContextState(pa_context*, void* self) {
    pa_threaded_mainloop_signal(static_cast<PulseConnection*>(self)->m_loop, 0);
}

} // namespace xaudio
