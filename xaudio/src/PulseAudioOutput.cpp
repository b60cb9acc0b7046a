#include "PulseAudioOutput.h"

#include "Feeder.h"
#include "OutputRenderer.h"

#include <pulse/stream.h>
#include <pulse/thread-mainloop.h>

#include <algorithm>

namespace xaudio {
namespace {

constexpr int kRateHz = 44100;
constexpr size_t kFrameBytes = 2 * sizeof(float);
// The whole way to the speaker, the server's own part included, and the
// step in which the server asks for more. Waking for a request (the server
// protocol's messages and polls) costs the connection's thread more than
// decoding the audio it asks for, so the step is long: 10 ms, 100 wake-ups a
// second per deck. The server keeps two steps queued as its safety and gives
// the sink half of the rest, 3.5 ms; the way is chosen for that share (less
// wakes the server more often and leaves a sound card less room). The trade:
// a 6.7 ms step on a 20 ms way would be heard 7 ms sooner, and would take a
// fifth more of the connection's CPU.
constexpr pa_usec_t kLatencyUsec = 27000;
constexpr pa_usec_t kRequestUsec = 10000;
// A request for more than the feeder keeps ready (the server asks for a lot
// after it was held back) is answered in part; the server asks for the rest
// again a few milliseconds later.
constexpr size_t kMostFramesPerRequest = Feeder::kFillTargetFrames - Feeder::kMinimumRoomFrames;

void forget(pa_operation* operation) {
    if (operation != nullptr)
        pa_operation_unref(operation);
}

} // namespace

PulseAudioOutput::PulseAudioOutput(OutputRenderer& renderer, std::unique_ptr<PulseConnection> connection)
    : m_renderer(renderer), m_connection(std::move(connection)) {
    m_renderer.setOutputRefills(true);
}

std::unique_ptr<PulseAudioOutput> PulseAudioOutput::open(OutputRenderer& renderer) {
    std::unique_ptr<PulseConnection> connection = PulseConnection::open();
    if (!connection)
        return nullptr;
    std::unique_ptr<PulseAudioOutput> output(new PulseAudioOutput(renderer, std::move(connection)));
    if (!output->startStream())
        return nullptr;
    renderer.setSampleRate(kRateHz);
    return output;
}

bool PulseAudioOutput::startStream() {
    PulseLoopLock lock(loop());
    const pa_sample_spec spec{PA_SAMPLE_FLOAT32LE, kRateHz, 2};
    m_stream = pa_stream_new(m_connection->context(), "playback", &spec, nullptr);
    if (m_stream == nullptr)
        return false;
    pa_stream_set_state_callback(m_stream, &PulseAudioOutput::onStreamState, this);
    pa_stream_set_write_callback(m_stream, &PulseAudioOutput::onWrite, this);
    pa_stream_set_underflow_callback(m_stream, &PulseAudioOutput::onUnderflow, this);
    pa_buffer_attr attributes{};
    attributes.maxlength = static_cast<uint32_t>(-1);
    attributes.tlength = static_cast<uint32_t>(pa_usec_to_bytes(kLatencyUsec, &spec));
    attributes.minreq = static_cast<uint32_t>(pa_usec_to_bytes(kRequestUsec, &spec));
    // The server starts, and starts again after an underrun, as soon as one
    // request's worth is there, not a whole buffer: the first request is
    // answered only in part (see kMostFramesPerRequest).
    attributes.prebuf = attributes.minreq;
    attributes.fragsize = static_cast<uint32_t>(-1);
    if (pa_stream_connect_playback(m_stream, nullptr, &attributes, PA_STREAM_ADJUST_LATENCY, nullptr, nullptr) < 0)
        return false;
    return waitUntilReady(loop(), [this] {
        const pa_stream_state_t state = pa_stream_get_state(m_stream);
        return state == PA_STREAM_READY ? PulseProgress::Ready
                                        : (PA_STREAM_IS_GOOD(state) ? PulseProgress::Waiting : PulseProgress::Failed);
    });
}

PulseAudioOutput::~PulseAudioOutput() {
    if (m_stream != nullptr) {
        // With the loop's lock held and the stream's callbacks taken away,
        // nothing calls back into this output once the lock is let go.
        PulseLoopLock lock(loop());
        pa_stream_set_state_callback(m_stream, nullptr, nullptr);
        pa_stream_set_write_callback(m_stream, nullptr, nullptr);
        pa_stream_set_underflow_callback(m_stream, nullptr, nullptr);
        pa_stream_disconnect(m_stream);
        pa_stream_unref(m_stream);
    }
    // The next output may be one whose thread must not do the feeder's work.
    m_renderer.setOutputRefills(false);
}

int PulseAudioOutput::sampleRateHz() const {
    return kRateHz;
}

void PulseAudioOutput::suspend() {
    if (m_suspended)
        return;
    PulseLoopLock lock(loop());
    forget(pa_stream_cork(m_stream, 1, nullptr, nullptr));
    m_suspended = true;
}

bool PulseAudioOutput::resume() {
    if (!m_suspended)
        return true;
    if (m_failed.load(std::memory_order_acquire))
        return false;
    PulseLoopLock lock(loop());
    // The silence queued before the pause would only delay the music.
    forget(pa_stream_flush(m_stream, nullptr, nullptr));
    forget(pa_stream_cork(m_stream, 0, nullptr, nullptr));
    m_suspended = false;
    return true;
}

void PulseAudioOutput::write(size_t bytes) {
    // This is real-time code: no locks of ours, no allocation, no blocking.
    size_t frames = std::min(bytes / kFrameBytes, kMostFramesPerRequest);
    // Each write is a message to the server: one per request, unless the
    // server's memory block is smaller than the request.
    while (frames > 0) {
        size_t chunkBytes = frames * kFrameBytes;
        void* data = nullptr;
        if (pa_stream_begin_write(m_stream, &data, &chunkBytes) < 0 || data == nullptr)
            break;
        const size_t chunk = std::min(chunkBytes / kFrameBytes, frames);
        m_renderer.render(static_cast<float*>(data), chunk);
        if (pa_stream_write(m_stream, data, chunk * kFrameBytes, nullptr, 0, PA_SEEK_RELATIVE) < 0)
            break;
        frames -= chunk;
    }
    // The server has its audio; the next request is milliseconds away, time
    // enough to refill the ring here instead of waking the feeder for it.
    m_renderer.refillAfterRender();
}

void PulseAudioOutput::onStreamState(pa_stream* stream, void* self) {
    auto* output = static_cast<PulseAudioOutput*>(self);
    if (!PA_STREAM_IS_GOOD(pa_stream_get_state(stream)))
        output->m_failed.store(true, std::memory_order_release);
    pa_threaded_mainloop_signal(output->loop(), 0);
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
