#include "PulseAudioOutput.h"

#include "Feeder.h"
#include "InheritedRealTime.h"
#include "OutputRenderer.h"

#include <pulse/context.h>
#include <pulse/stream.h>
#include <pulse/thread-mainloop.h>

#include <algorithm>

namespace xaudio {
namespace {

constexpr int kRateHz = 44100;
constexpr size_t kFrameBytes = 2 * sizeof(float);
// The whole way to the speaker, the server's own part included. The server
// asks for more whenever a third of it has played: the shorter the step,
// the more often this process and the server wake (at a half, a null sink
// keeps only half a millisecond for itself).
constexpr pa_usec_t kLatencyUsec = 20000;
// The renderer is asked for at most this many frames at a time, and a
// request for more than the feeder keeps ready (the server asks for a lot
// after it was held back) is answered in part; the server asks for the rest
// again a few milliseconds later.
constexpr size_t kMostFramesPerRender = 256;
constexpr size_t kMostFramesPerRequest = Feeder::kFillTargetFrames - Feeder::kMinimumRoomFrames;
// Above the feeder, which must be interruptible by the thread it feeds.
constexpr int kRealTimePriority = 15;

// Holds the connection thread's lock for a scope.
class LoopLock {
public:
    explicit LoopLock(pa_threaded_mainloop* loop) : m_loop(loop) { pa_threaded_mainloop_lock(m_loop); }
    ~LoopLock() { pa_threaded_mainloop_unlock(m_loop); }
    LoopLock(const LoopLock&) = delete;
    LoopLock& operator=(const LoopLock&) = delete;

private:
    pa_threaded_mainloop* m_loop;
};

enum class Progress { Waiting, Ready, Failed };

// Waits with the loop's lock held until `progress` tells ready or failed;
// the state callbacks signal the loop at every change.
template <typename ProgressFunction> bool waitUntilReady(pa_threaded_mainloop* loop, ProgressFunction progress) {
    for (;;) {
        switch (progress()) {
        case Progress::Ready:
            return true;
        case Progress::Failed:
            return false;
        case Progress::Waiting:
            pa_threaded_mainloop_wait(loop);
        }
    }
}

void forget(pa_operation* operation) {
    if (operation != nullptr)
        pa_operation_unref(operation);
}

} // namespace

std::unique_ptr<PulseAudioOutput> PulseAudioOutput::open(OutputRenderer& renderer) {
    std::unique_ptr<PulseAudioOutput> output(new PulseAudioOutput(renderer));
    if (!output->connect() || !output->startStream())
        return nullptr;
    renderer.setSampleRate(kRateHz);
    return output;
}

bool PulseAudioOutput::connect() {
    m_loop = pa_threaded_mainloop_new();
    if (m_loop == nullptr)
        return false;
    m_context = pa_context_new(pa_threaded_mainloop_get_api(m_loop), "xaudio");
    if (m_context == nullptr)
        return false;
    pa_context_set_state_callback(m_context, &PulseAudioOutput::onContextState, this);
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
    LoopLock lock(m_loop);
    return waitUntilReady(m_loop, [this] {
        const pa_context_state_t state = pa_context_get_state(m_context);
        return state == PA_CONTEXT_READY ? Progress::Ready
                                         : (PA_CONTEXT_IS_GOOD(state) ? Progress::Waiting : Progress::Failed);
    });
}

bool PulseAudioOutput::startStream() {
    LoopLock lock(m_loop);
    const pa_sample_spec spec{PA_SAMPLE_FLOAT32LE, kRateHz, 2};
    m_stream = pa_stream_new(m_context, "playback", &spec, nullptr);
    if (m_stream == nullptr)
        return false;
    pa_stream_set_state_callback(m_stream, &PulseAudioOutput::onStreamState, this);
    pa_stream_set_write_callback(m_stream, &PulseAudioOutput::onWrite, this);
    pa_stream_set_underflow_callback(m_stream, &PulseAudioOutput::onUnderflow, this);
    pa_buffer_attr attributes{};
    attributes.maxlength = static_cast<uint32_t>(-1);
    attributes.tlength = static_cast<uint32_t>(pa_usec_to_bytes(kLatencyUsec, &spec));
    attributes.minreq = static_cast<uint32_t>(pa_usec_to_bytes(kLatencyUsec / 3, &spec));
    // The server starts, and starts again after an underrun, as soon as one
    // request's worth is there, not a whole buffer: the first request is
    // answered only in part (see kMostFramesPerRequest).
    attributes.prebuf = attributes.minreq;
    attributes.fragsize = static_cast<uint32_t>(-1);
    if (pa_stream_connect_playback(m_stream, nullptr, &attributes, PA_STREAM_ADJUST_LATENCY, nullptr, nullptr) < 0)
        return false;
    return waitUntilReady(m_loop, [this] {
        const pa_stream_state_t state = pa_stream_get_state(m_stream);
        return state == PA_STREAM_READY ? Progress::Ready
                                        : (PA_STREAM_IS_GOOD(state) ? Progress::Waiting : Progress::Failed);
    });
}

PulseAudioOutput::~PulseAudioOutput() {
    if (m_loop != nullptr)
        pa_threaded_mainloop_stop(m_loop);
    // The connection's thread has ended: nothing calls back any more.
    if (m_stream != nullptr) {
        pa_stream_disconnect(m_stream);
        pa_stream_unref(m_stream);
    }
    if (m_context != nullptr) {
        pa_context_disconnect(m_context);
        pa_context_unref(m_context);
    }
    if (m_loop != nullptr)
        pa_threaded_mainloop_free(m_loop);
}

int PulseAudioOutput::sampleRateHz() const {
    return kRateHz;
}

void PulseAudioOutput::suspend() {
    if (m_suspended)
        return;
    LoopLock lock(m_loop);
    forget(pa_stream_cork(m_stream, 1, nullptr, nullptr));
    m_suspended = true;
}

bool PulseAudioOutput::resume() {
    if (!m_suspended)
        return true;
    if (m_failed.load(std::memory_order_acquire))
        return false;
    LoopLock lock(m_loop);
    // The silence queued before the pause would only delay the music.
    forget(pa_stream_flush(m_stream, nullptr, nullptr));
    forget(pa_stream_cork(m_stream, 0, nullptr, nullptr));
    m_suspended = false;
    return true;
}

void PulseAudioOutput::write(size_t bytes) {
    // This is real-time code: no locks of ours, no allocation, no blocking.
    size_t frames = std::min(bytes / kFrameBytes, kMostFramesPerRequest);
    while (frames > 0) {
        size_t chunkBytes = std::min(frames, kMostFramesPerRender) * kFrameBytes;
        void* data = nullptr;
        if (pa_stream_begin_write(m_stream, &data, &chunkBytes) < 0 || data == nullptr)
            return;
        const size_t chunk = std::min(chunkBytes / kFrameBytes, frames);
        m_renderer.render(static_cast<float*>(data), chunk);
        if (pa_stream_write(m_stream, data, chunk * kFrameBytes, nullptr, 0, PA_SEEK_RELATIVE) < 0)
            return;
        frames -= chunk;
    }
}

void PulseAudioOutput::onContextState(pa_context* context, void* self) {
    auto* output = static_cast<PulseAudioOutput*>(self);
    if (!PA_CONTEXT_IS_GOOD(pa_context_get_state(context)))
        output->m_failed.store(true, std::memory_order_release);
    pa_threaded_mainloop_signal(output->m_loop, 0);
}

void PulseAudioOutput::onStreamState(pa_stream* stream, void* self) {
    auto* output = static_cast<PulseAudioOutput*>(self);
    if (!PA_STREAM_IS_GOOD(pa_stream_get_state(stream)))
        output->m_failed.store(true, std::memory_order_release);
    pa_threaded_mainloop_signal(output->m_loop, 0);
}

void PulseAudioOutput::onWrite(pa_stream*, size_t bytes, void* self) {
    static_cast<PulseAudioOutput*>(self)->write(bytes);
}

void PulseAudioOutput::onUnderflow(pa_stream*, void* self) {
    auto* output = static_cast<PulseAudioOutput*>(self);
    if (output->m_renderer.playing())
        output->m_renderer.countDeviceUnderrun();
}

} // namespace xaudio
