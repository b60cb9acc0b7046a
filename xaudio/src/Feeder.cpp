#include "Feeder.h"

#include "AudioStream.h"
#include "OutputRenderer.h"
#include "xaudio.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace xaudio {
namespace {

// Also the most the resampler can hold back when it hands over to the copy
// path: never more than one decoded frame and its filter's reach.
constexpr size_t kBlockFrames = 2048;
constexpr size_t kMaxDecodedFrames = AudioStream::kMaxBlockFrames;
// Decoded frames the resampler is given past the hand-over point, so its
// last frames before that point see real audio ahead of them.
constexpr size_t kRejoinLookaheadFrames = 64;
constexpr size_t kGlideFrames = 128;
// Input frames the resampler is given beyond what a block's output needs,
// for its filter's reach.
constexpr long kResamplerReachFrames = 64;
// How long the feeder steps aside when the command thread wants its lock.
constexpr auto kPollInterval = std::chrono::milliseconds(3);
constexpr auto kConsumerTimeout = std::chrono::milliseconds(50);
constexpr int kMinimumPitch = 100;
constexpr int kMaximumPitch = 4000;

// Above ordinary threads, below the sound system's callback threads, which
// must be able to interrupt the feeder.
constexpr int kRealTimePriority = 10;

// The ring is kept short so that a bend is heard at once, and an ordinary
// thread on a busy machine can be held back for longer than the ring lasts.
// At normal priority or above the feeder therefore asks for real-time
// scheduling; it sleeps whenever the ring is full, so it takes only its
// share. Where the system refuses (no privilege), or at a lower priority,
// it is an ordinary thread at the given nice level.
void applyScheduling(int thread, int niceLevel) {
    sched_param parameters{};
    if (niceLevel <= 0) {
        parameters.sched_priority = kRealTimePriority;
        if (sched_setscheduler(thread, SCHED_FIFO, &parameters) == 0)
            return;
    }
    parameters.sched_priority = 0;
    sched_setscheduler(thread, SCHED_OTHER, &parameters);
    setpriority(PRIO_PROCESS, static_cast<id_t>(thread), niceLevel);
}

} // namespace

Feeder::Feeder(OutputRenderer& renderer) : m_renderer(renderer) {
    m_renderer.setRefillLevel(kFillTargetFrames - kMinimumRoomFrames);
    m_renderer.setProducer(this);
    // Room for what the resampler hands back ahead of a decoded frame.
    m_pending.assign((kMaxDecodedFrames + kBlockFrames) * 2, 0.0f);
    m_block.assign(kBlockFrames * 2, 0.0f);
    m_copied.assign(Resampler::kMostHalfTaps * 2, 0.0f);
    m_thread = std::thread([this] { run(); });
}

Feeder::~Feeder() {
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_quit = true;
    }
    m_wake.notify_all();
    m_renderer.wakeProducer();
    m_thread.join();
}

void Feeder::setStream(AudioStream* stream) {
    m_stream = stream;
    reset(0);
}

void Feeder::reset(int64_t mediaFrame) {
    m_resampler.reset();
    m_pendingOffset = 0;
    m_pendingFrames = 0;
    m_inputDone = false;
    m_bypassing = true;
    m_copiedFrames = 0;
    m_lastRatio = 1.0;
    m_ratioReached = true;
    m_ended = false;
    m_renderer.setInputEnded(false);
    m_mediaFrame = mediaFrame;
    m_firstMarker.store(m_markerCount.load(std::memory_order_relaxed), std::memory_order_release);
    pushMarker();
    m_wake.notify_all();
    m_renderer.wakeProducer();
}

void Feeder::setRunning(bool running) {
    m_running = running;
    m_wake.notify_all();
    m_renderer.wakeProducer();
}

void Feeder::redecodePending() {
    if (m_stream == nullptr || m_pendingFrames == 0 || m_inputDone)
        return;
    // The resampler has taken everything before m_mediaFrame; the rest is
    // decoded afresh with the new equalizer.
    if (m_stream->seekToFrame(m_mediaFrame) == XA_SUCCESS) {
        m_pendingOffset = 0;
        m_pendingFrames = 0;
    }
}

void Feeder::setOutputRate(int sampleRateHz) {
    m_outputRateHz = sampleRateHz > 0 ? sampleRateHz : 44100;
}

void Feeder::pushMarker() {
    const uint64_t count = m_markerCount.load(std::memory_order_relaxed);
    Marker& marker = m_markers[count % kMarkerSlots];
    marker.ringFrame.store(m_renderer.ring().writeTotal(), std::memory_order_relaxed);
    marker.mediaFrame.store(m_mediaFrame, std::memory_order_relaxed);
    m_markerCount.store(count + 1, std::memory_order_release);
}

int64_t Feeder::heardMediaFrame(uint64_t readTotal) const {
    // The newest markers are read from the end back to the last one the
    // renderer has passed; the read is repeated in the rare case that the
    // feeder went round the slots meanwhile.
    for (;;) {
        const uint64_t count = m_markerCount.load(std::memory_order_acquire);
        const uint64_t first = m_firstMarker.load(std::memory_order_acquire);
        if (count <= first)
            return m_markers[(count + kMarkerSlots - 1) % kMarkerSlots].mediaFrame.load(std::memory_order_acquire);
        const uint64_t oldest = count - first > kMarkerSlots / 2 ? count - kMarkerSlots / 2 : first;
        uint64_t index = count - 1;
        while (index > oldest && m_markers[index % kMarkerSlots].ringFrame.load(std::memory_order_acquire) > readTotal)
            --index;
        const Marker& base = m_markers[index % kMarkerSlots];
        const uint64_t baseRing = base.ringFrame.load(std::memory_order_acquire);
        int64_t result = base.mediaFrame.load(std::memory_order_acquire);
        if (index + 1 < count && readTotal > baseRing) {
            const Marker& next = m_markers[(index + 1) % kMarkerSlots];
            const uint64_t nextRing = next.ringFrame.load(std::memory_order_acquire);
            const int64_t nextMedia = next.mediaFrame.load(std::memory_order_acquire);
            if (nextRing > baseRing) {
                const double share = static_cast<double>(std::min(readTotal, nextRing) - baseRing) /
                                     static_cast<double>(nextRing - baseRing);
                result += static_cast<int64_t>(share * static_cast<double>(nextMedia - result));
            }
        }
        // Every load above is an acquire, so this one cannot move before
        // them (a fence would say the same, but ThreadSanitizer cannot
        // follow fences).
        if (m_markerCount.load(std::memory_order_acquire) - oldest < kMarkerSlots)
            return result;
    }
}

void Feeder::setNiceLevel(int niceLevel) {
    m_niceLevel.store(niceLevel, std::memory_order_release);
    if (const int thread = m_threadId.load(std::memory_order_acquire); thread != 0)
        applyScheduling(thread, niceLevel);
}

void Feeder::run() {
    pthread_setname_np(pthread_self(), "xaudio feeder");
    const auto thread = static_cast<int>(::syscall(SYS_gettid));
    m_threadId.store(thread, std::memory_order_release);
    // A level set before the thread ran applies now.
    const int niceLevel = m_niceLevel.load(std::memory_order_acquire);
    applyScheduling(thread, niceLevel == kNiceUnset ? 0 : niceLevel);
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_quit) {
        if (!producing()) {
            // Nothing to do until the command thread changes that, and it
            // wakes the feeder when it does: no polling while nothing plays.
            m_wake.wait(lock);
            continue;
        }
        if (room() < kMinimumRoomFrames && !m_renderer.playing()) {
            // Full, and nobody takes from the ring until Play, which wakes
            // the feeder.
            m_wake.wait(lock);
            continue;
        }
        if (m_waiters.load(std::memory_order_acquire) > 0) {
            m_wake.wait_for(lock, kPollInterval);
        } else if (room() < kMinimumRoomFrames) {
            // Woken as soon as the output has taken the ring down to the
            // refill level, or by the command thread; the timeout is only a
            // safety net.
            lock.unlock();
            m_renderer.waitForConsumer(kConsumerTimeout);
            lock.lock();
        } else if (!produceBlock()) {
            m_wake.wait_for(lock, kPollInterval);
        }
    }
}

void Feeder::refillWithoutWaiting() {
    // The command thread holds the lock while it opens or seeks, and may
    // itself wait for the output's thread meanwhile.
    std::unique_lock<std::mutex> lock(m_mutex, std::try_to_lock);
    if (lock.owns_lock()) {
        while (m_waiters.load(std::memory_order_acquire) == 0 && producing() && room() >= kMinimumRoomFrames &&
               produceBlock()) {
        }
        if (!producing() || room() < kMinimumRoomFrames)
            return;
    }
    m_renderer.wakeProducer();
}

bool Feeder::copyBlock() {
    const size_t frames = std::min(m_pendingFrames, room());
    const float* copied = m_pending.data() + m_pendingOffset * 2;
    m_renderer.ring().write(copied, frames);
    rememberCopied(copied, frames);
    m_pendingOffset += frames;
    m_pendingFrames -= frames;
    m_mediaFrame += static_cast<int64_t>(frames);
    if (frames > 0)
        pushMarker();
    if (m_inputDone && m_pendingFrames == 0) {
        m_ended = true;
        m_renderer.setInputEnded(true);
        return false;
    }
    return true;
}

void Feeder::rememberCopied(const float* frames, size_t count) {
    const size_t capacity = m_copied.size() / 2;
    if (count >= capacity) {
        std::memcpy(m_copied.data(), frames + (count - capacity) * 2, capacity * 2 * sizeof(float));
        m_copiedFrames = capacity;
        return;
    }
    const size_t kept = std::min(m_copiedFrames, capacity - count);
    std::memmove(m_copied.data(), m_copied.data() + (m_copiedFrames - kept) * 2, kept * 2 * sizeof(float));
    std::memcpy(m_copied.data() + kept * 2, frames, count * 2 * sizeof(float));
    m_copiedFrames = kept + count;
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
    const bool normalSpeed = pitch == 1000 && streamRate == m_outputRateHz;
    if (!m_bypassing && normalSpeed && m_lastRatio == 1.0 && m_ratioReached && rejoinBypass())
        m_bypassing = true;
    if (m_bypassing) {
        if (normalSpeed)
            return copyBlock();
        m_bypassing = false;
        // The resampler starts afresh at the next input frame, looking back
        // into the audio just heard; the change of speed glides from normal
        // speed as it would have without the bypass.
        if (m_copiedFrames > 0) {
            m_resampler.setRatio(1.0);
            m_resampler.prime(m_copied.data(), static_cast<long>(m_copiedFrames));
        }
    }
    Resampler::Block data;
    data.input = m_pending.data() + m_pendingOffset * 2;
    data.inputFrames = static_cast<long>(m_pendingFrames);
    data.output = m_block.data();
    data.outputFrames = static_cast<long>(std::min(kBlockFrames, room()));
    data.ratio = static_cast<double>(m_outputRateHz) / streamRate * 1000.0 / pitch;
    // The resampler glides to a new speed across the frames of one call: a
    // short call keeps the glide free of clicks and still brings the new
    // speed to the ear at once.
    const bool gliding = data.ratio != m_lastRatio || !m_ratioReached;
    if (gliding)
        data.outputFrames = std::min(data.outputFrames, static_cast<long>(kGlideFrames));
    // Given a whole decoded frame, the resampler would take it all in, out of
    // reach of an equalizer change (only pending audio is decoded again):
    // it is given about what this call's output needs.
    const auto needed = static_cast<long>(std::ceil(static_cast<double>(data.outputFrames) / data.ratio));
    data.inputFrames = std::min(data.inputFrames, needed + kResamplerReachFrames);
    data.endOfInput = m_inputDone && static_cast<size_t>(data.inputFrames) == m_pendingFrames;
    m_lastRatio = data.ratio;
    m_resampler.process(data);
    // A call that ran out of input ends its glide part of the way, and the
    // resampler goes on from there: a glide is over once a call filled its
    // output.
    m_ratioReached = !gliding || data.outputGenerated == data.outputFrames;
    const auto used = static_cast<size_t>(data.inputUsed);
    m_pendingOffset += used;
    m_pendingFrames -= used;
    m_mediaFrame += static_cast<int64_t>(used);
    const auto generated = static_cast<size_t>(data.outputGenerated);
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

bool Feeder::rejoinBypass() {
    if (m_pendingFrames < kRejoinLookaheadFrames || m_pendingFrames > kMaxDecodedFrames || m_inputDone)
        return false;
    // The last call ran at exactly normal speed, so the resampler's glide is
    // over and its output lines up frame for frame with its input. Ending its
    // input just after the hand-over point makes it give out everything it
    // holds; its frames for the look-ahead itself are dropped, as they are
    // computed against silence, and the copy path takes those frames as they
    // were decoded.
    Resampler::Block data;
    data.input = m_pending.data() + m_pendingOffset * 2;
    data.inputFrames = static_cast<long>(kRejoinLookaheadFrames);
    data.output = m_block.data();
    data.outputFrames = static_cast<long>(kBlockFrames);
    data.ratio = 1.0;
    data.endOfInput = true;
    m_resampler.process(data);
    const auto generated = static_cast<size_t>(data.outputGenerated);
    const auto used = static_cast<size_t>(data.inputUsed);
    const size_t held = generated > used ? generated - used : 0;
    std::memmove(m_pending.data() + held * 2, m_pending.data() + m_pendingOffset * 2,
                 m_pendingFrames * 2 * sizeof(float));
    std::memcpy(m_pending.data(), m_block.data(), held * 2 * sizeof(float));
    m_pendingOffset = 0;
    m_pendingFrames += held;
    // Those frames were counted as taken when the resampler took them; the
    // copy path counts them again as it writes them.
    m_mediaFrame -= static_cast<int64_t>(held);
    const uint64_t count = m_markerCount.load(std::memory_order_relaxed);
    if (count > m_firstMarker.load(std::memory_order_relaxed))
        m_markers[(count - 1) % kMarkerSlots].mediaFrame.store(m_mediaFrame, std::memory_order_relaxed);
    m_resampler.reset();
    // The copy path writes the held frames next, and so remembers them.
    m_copiedFrames = 0;
    return true;
}

} // namespace xaudio
