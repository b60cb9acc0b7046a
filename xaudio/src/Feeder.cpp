#include "Feeder.h"

#include "AudioStream.h"
#include "OutputRenderer.h"
#include "xaudio.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <samplerate.h>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace xaudio {
namespace {

constexpr size_t kBlockFrames = 2048;
// The feeder waits until this much of the fill target is free, so blocks do
// not become tiny.
constexpr size_t kMinimumRoomFrames = 512;
constexpr size_t kMaxDecodedFrames = AudioStream::kMaxBlockFrames;
// The consumer cannot wake the feeder (it is real-time), so while playing the
// feeder polls.
constexpr auto kPollInterval = std::chrono::milliseconds(3);
constexpr int kMinimumPitch = 100;
constexpr int kMaximumPitch = 4000;
constexpr size_t kMaxMarkers = 256;

} // namespace

Feeder::Feeder(OutputRenderer& renderer) : m_renderer(renderer) {
    int error = 0;
    // The medium converter keeps 90 % of the band (the fastest only 80 %,
    // audibly dull at normal speed) for about one per cent of a core more.
    m_resampler = src_new(SRC_SINC_MEDIUM_QUALITY, 2, &error);
    if (m_resampler == nullptr)
        throw std::runtime_error(src_strerror(error));
    m_pending.assign(kMaxDecodedFrames * 2, 0.0f);
    m_block.assign(kBlockFrames * 2, 0.0f);
    m_thread = std::thread([this] { run(); });
}

Feeder::~Feeder() {
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_quit = true;
    }
    m_wake.notify_all();
    m_thread.join();
    src_delete(m_resampler);
}

void Feeder::setStream(AudioStream* stream) {
    m_stream = stream;
    reset(0);
}

void Feeder::reset(int64_t mediaFrame) {
    src_reset(m_resampler);
    m_pendingOffset = 0;
    m_pendingFrames = 0;
    m_inputDone = false;
    m_bypassing = true;
    m_bypassedAny = false;
    m_ended = false;
    m_renderer.setInputEnded(false);
    m_mediaFrame = mediaFrame;
    m_markers.clear();
    pushMarker();
    m_wake.notify_all();
}

void Feeder::setRunning(bool running) {
    m_running = running;
    m_wake.notify_all();
}

void Feeder::setOutputRate(int sampleRateHz) {
    m_outputRateHz = sampleRateHz > 0 ? sampleRateHz : 44100;
}

void Feeder::pushMarker() {
    if (m_markers.size() >= kMaxMarkers)
        m_markers.pop_front();
    m_markers.push_back({m_renderer.ring().writeTotal(), m_mediaFrame});
}

int64_t Feeder::heardMediaFrame(uint64_t readTotal) {
    if (m_markers.empty())
        return m_mediaFrame;
    // Markers the renderer has passed are no longer needed, except the last.
    while (m_markers.size() > 1 && m_markers[1].ringFrame <= readTotal)
        m_markers.pop_front();
    const Marker& base = m_markers.front();
    if (readTotal <= base.ringFrame || m_markers.size() == 1)
        return base.mediaFrame;
    const Marker& next = m_markers[1];
    const double share =
        static_cast<double>(readTotal - base.ringFrame) / static_cast<double>(next.ringFrame - base.ringFrame);
    return base.mediaFrame + static_cast<int64_t>(share * static_cast<double>(next.mediaFrame - base.mediaFrame));
}

void Feeder::setNiceLevel(int niceLevel) {
    m_niceLevel.store(niceLevel, std::memory_order_release);
    if (const int thread = m_threadId.load(std::memory_order_acquire); thread != 0)
        setpriority(PRIO_PROCESS, static_cast<id_t>(thread), niceLevel);
}

void Feeder::run() {
    const auto thread = static_cast<int>(::syscall(SYS_gettid));
    m_threadId.store(thread, std::memory_order_release);
    // A level set before the thread ran applies now.
    if (const int niceLevel = m_niceLevel.load(std::memory_order_acquire); niceLevel != kNiceUnset)
        setpriority(PRIO_PROCESS, static_cast<id_t>(thread), niceLevel);
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_quit) {
        if (!m_running || m_stream == nullptr || m_ended) {
            // Nothing to do until the command thread changes that, and it
            // wakes the feeder when it does: no polling while nothing plays.
            m_wake.wait(lock);
            continue;
        }
        if (room() < kMinimumRoomFrames || !produceBlock() || m_waiters.load(std::memory_order_acquire) > 0)
            m_wake.wait_for(lock, kPollInterval);
    }
}

bool Feeder::copyBlock() {
    const size_t frames = std::min(m_pendingFrames, room());
    m_renderer.ring().write(m_pending.data() + m_pendingOffset * 2, frames);
    m_pendingOffset += frames;
    m_pendingFrames -= frames;
    m_mediaFrame += static_cast<int64_t>(frames);
    if (frames > 0) {
        m_bypassedAny = true;
        pushMarker();
    }
    if (m_inputDone && m_pendingFrames == 0) {
        m_ended = true;
        m_renderer.setInputEnded(true);
        return false;
    }
    return true;
}

size_t Feeder::room() const {
    const FrameRing& ring = m_renderer.ring();
    const size_t queued = ring.capacityFrames() - ring.writableFrames();
    return queued >= kFillTargetFrames ? 0 : std::min(kFillTargetFrames - queued, ring.writableFrames());
}

bool Feeder::produceBlock() {
    if (m_pendingFrames == 0 && !m_inputDone) {
        const void* pcm = nullptr;
        size_t frames = 0;
        const int status = m_stream->decodeFrame(&pcm, &frames);
        if (status != XA_SUCCESS) {
            m_inputDone = true;
        } else {
            frames = std::min(frames, kMaxDecodedFrames);
            if (frames > 0)
                std::memcpy(m_pending.data(), pcm, frames * 2 * sizeof(float));
            m_pendingOffset = 0;
            m_pendingFrames = frames;
            if (frames == 0)
                return true;
        }
    }
    const int pitch = std::clamp(m_pitch.load(std::memory_order_relaxed), kMinimumPitch, kMaximumPitch);
    const int streamRate = m_stream->sampleRateHz() > 0 ? m_stream->sampleRateHz() : m_outputRateHz;
    if (m_bypassing) {
        if (pitch == 1000 && streamRate == m_outputRateHz)
            return copyBlock();
        m_bypassing = false;
        // The resampler starts afresh at the next input frame; the change of
        // speed glides from normal speed as it would have without the bypass.
        if (m_bypassedAny)
            src_set_ratio(m_resampler, 1.0);
    }
    SRC_DATA data{};
    data.data_in = m_pending.data() + m_pendingOffset * 2;
    data.input_frames = static_cast<long>(m_pendingFrames);
    data.data_out = m_block.data();
    data.output_frames = static_cast<long>(std::min(kBlockFrames, room()));
    data.src_ratio = static_cast<double>(m_outputRateHz) / streamRate * 1000.0 / pitch;
    data.end_of_input = m_inputDone ? 1 : 0;
    if (src_process(m_resampler, &data) != 0) {
        // A resampler failure would repeat forever; end the stream instead.
        m_pendingFrames = 0;
        m_inputDone = true;
        data.output_frames_gen = 0;
    }
    const auto used = static_cast<size_t>(data.input_frames_used);
    m_pendingOffset += used;
    m_pendingFrames -= used;
    m_mediaFrame += static_cast<int64_t>(used);
    const auto generated = static_cast<size_t>(data.output_frames_gen);
    m_renderer.ring().write(m_block.data(), generated);
    if (generated > 0 || used > 0)
        pushMarker();
    if (m_inputDone && m_pendingFrames == 0 && generated == 0) {
        m_ended = true;
        m_renderer.setInputEnded(true);
        return false;
    }
    return true;
}

} // namespace xaudio
