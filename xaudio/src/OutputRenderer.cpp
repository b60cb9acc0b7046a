#include "OutputRenderer.h"

#include <algorithm>
#include <cerrno>
#include <ctime>

namespace xaudio {
namespace {

// Room for a whole block beyond the feeder's fill target.
constexpr size_t kRingFrames = 8192;
// Four seconds for the tap, so a busy command thread loses nothing.
constexpr size_t kTapFrames = 4 * 48000;
constexpr float kGainRampSeconds = 0.02f;
constexpr float kFadeSeconds = 0.005f;
constexpr size_t kUnderrunFadeFrames = 64;

float approach(float value, float target, float step) {
    if (value < target)
        return std::min(value + step, target);
    return std::max(value - step, target);
}

} // namespace

OutputRenderer::OutputRenderer() : m_ring(kRingFrames), m_tap(kTapFrames) {
    sem_init(&m_consumed, 0, 0);
}

OutputRenderer::~OutputRenderer() {
    sem_destroy(&m_consumed);
}

void OutputRenderer::wakeProducer() {
    // Also called from render(): sem_post is async-signal-safe, so it takes
    // no lock and never blocks.
    if (!m_consumedPosted.exchange(true, std::memory_order_acq_rel))
        sem_post(&m_consumed);
}

void OutputRenderer::waitForConsumer(std::chrono::milliseconds timeout) {
    timespec deadline{};
    clock_gettime(CLOCK_MONOTONIC, &deadline);
    const auto nanoseconds = deadline.tv_nsec + std::chrono::nanoseconds(timeout).count();
    deadline.tv_sec += static_cast<time_t>(nanoseconds / 1000000000);
    deadline.tv_nsec = static_cast<long>(nanoseconds % 1000000000);
    while (sem_clockwait(&m_consumed, CLOCK_MONOTONIC, &deadline) != 0 && errno == EINTR) {
    }
    m_consumedPosted.store(false, std::memory_order_release);
}

void OutputRenderer::refillAfterRender() {
    if (!m_refillDue)
        return;
    m_refillDue = false;
    if (m_producer != nullptr)
        m_producer->refillWithoutWaiting();
    else
        wakeProducer();
}

void OutputRenderer::setSampleRate(int sampleRateHz) {
    m_sampleRateHz.store(sampleRateHz > 0 ? sampleRateHz : 44100, std::memory_order_release);
}

void OutputRenderer::setGains(float left, float right) {
    m_targetLeft.store(left, std::memory_order_release);
    m_targetRight.store(right, std::memory_order_release);
}

void OutputRenderer::render(float* output, size_t frames) {
    // This is real-time code: no locks, no allocation, no blocking, no logging.
    if (m_flushRequested.load(std::memory_order_acquire)) {
        m_ring.discardAll();
        m_flushRequested.store(false, std::memory_order_release);
    }
    const bool playing = m_playing.load(std::memory_order_acquire);
    if (!playing && m_fade <= 0.0f) {
        std::fill(output, output + frames * FrameRing::kChannels, 0.0f);
        m_silent.store(true, std::memory_order_release);
        if (m_tappingSilence.load(std::memory_order_acquire) && m_tapping.load(std::memory_order_acquire))
            m_tap.write(output, frames);
        m_renderedFrames.fetch_add(frames, std::memory_order_release);
        return;
    }
    m_silent.store(false, std::memory_order_release);

    // Read before the ring: once the end is marked, everything in the ring is
    // the stream's tail.
    const bool inputEnded = m_inputEnded.load(std::memory_order_acquire);
    const size_t remaining = m_ring.readableFrames();
    const size_t available = m_ring.read(output, frames);
    if (available > 0 && remaining - available <= m_refillLevel.load(std::memory_order_relaxed)) {
        if (m_outputRefills.load(std::memory_order_acquire))
            m_refillDue = true;
        else
            wakeProducer();
    }
    bool underrun = false;
    if (available < frames) {
        std::fill(output + available * FrameRing::kChannels, output + frames * FrameRing::kChannels, 0.0f);
        underrun = playing && !inputEnded;
        if (underrun)
            m_underruns.fetch_add(1, std::memory_order_relaxed);
    }

    const auto rate = static_cast<float>(m_sampleRateHz.load(std::memory_order_relaxed));
    const float gainStep = 1.0f / (kGainRampSeconds * rate);
    const float fadeStep = 1.0f / (kFadeSeconds * rate);
    const float targetLeft = m_targetLeft.load(std::memory_order_relaxed);
    const float targetRight = m_targetRight.load(std::memory_order_relaxed);
    const float targetFade = playing ? 1.0f : 0.0f;
    if (m_fade <= 0.0f) {
        // Nothing was audible: a level set before playback applies at once.
        m_gainLeft = targetLeft;
        m_gainRight = targetRight;
    }
    for (size_t i = 0; i < frames; ++i) {
        m_gainLeft = approach(m_gainLeft, targetLeft, gainStep);
        m_gainRight = approach(m_gainRight, targetRight, gainStep);
        m_fade = approach(m_fade, targetFade, fadeStep);
        output[2 * i] *= m_gainLeft * m_fade;
        output[2 * i + 1] *= m_gainRight * m_fade;
    }
    if (inputEnded && remaining < available + kEndFadeFrames) {
        for (size_t i = 0; i < available; ++i) {
            const size_t left = remaining - i;
            if (left <= kEndFadeFrames) {
                const float gain = static_cast<float>(left - 1) / static_cast<float>(kEndFadeFrames);
                output[2 * i] *= gain;
                output[2 * i + 1] *= gain;
            }
        }
    }
    if (underrun) {
        // The audio breaks off: let what there is die away instead of
        // stopping dead, and fade in again when the ring refills.
        const size_t tail = std::min(available, kUnderrunFadeFrames);
        for (size_t i = 0; i < tail; ++i) {
            const float gain = static_cast<float>(tail - i) / static_cast<float>(tail + 1);
            output[2 * (available - tail + i)] *= gain;
            output[2 * (available - tail + i) + 1] *= gain;
        }
        m_fade = 0.0f;
    }
    if (m_tapping.load(std::memory_order_acquire))
        m_tap.write(output, frames);
    m_renderedFrames.fetch_add(frames, std::memory_order_release);
}

} // namespace xaudio
