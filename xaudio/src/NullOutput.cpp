#include "NullOutput.h"

#include "Feeder.h"
#include "OutputRenderer.h"

#include <algorithm>
#include <chrono>
#include <pthread.h>

namespace xaudio {
namespace {

// A whole tick (220 frames at 44.1 kHz) in one call.
constexpr size_t kChunkFrames = 256;
// Waiting for the feeder must never wait for more than the feeder keeps in
// the ring, or both would wait for ever.
static_assert(kChunkFrames + OutputRenderer::kEndFadeFrames <= Feeder::kFillTargetFrames - Feeder::kMinimumRoomFrames);
constexpr auto kTick = std::chrono::milliseconds(5);
constexpr auto kWaitTick = std::chrono::milliseconds(1);
// After a stall longer than this the pacer starts afresh rather than racing
// to catch up.
constexpr double kMaxLagSeconds = 0.5;

} // namespace

NullOutput::NullOutput(int sampleRateHz, OutputRenderer& renderer, Pacing pacing)
    : m_sampleRateHz(sampleRateHz), m_renderer(renderer), m_pacing(pacing), m_buffer(kChunkFrames * 2) {
    m_thread = std::thread([this] { run(); });
}

NullOutput::~NullOutput() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_quit = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void NullOutput::suspend() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_suspended = true;
}

bool NullOutput::resume() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_suspended = false;
    }
    m_wake.notify_all();
    return true;
}

bool NullOutput::feederBehind() const {
    if (!m_renderer.playing() || m_renderer.flushPending())
        return false;
    // Until the feeder has marked the end, the last frames in the ring may
    // be the stream's last: reading into them early would cut the fade the
    // renderer gives the end.
    if (!m_renderer.inputEnded() && m_renderer.ring().readableFrames() < kChunkFrames + OutputRenderer::kEndFadeFrames)
        return true;
    return m_renderer.tapping() && m_renderer.tap().writableFrames() < kChunkFrames;
}

void NullOutput::run() {
    pthread_setname_np(pthread_self(), "xaudio output");
    using Clock = std::chrono::steady_clock;
    Clock::time_point origin = Clock::now();
    int64_t framesDone = 0;
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            if (m_suspended) {
                m_wake.wait(lock, [this] { return !m_suspended || m_quit; });
                // The clock starts again where it stood.
                origin = Clock::now();
                framesDone = 0;
            }
            if (m_quit)
                return;
        }
        const double elapsed = std::chrono::duration<double>(Clock::now() - origin).count();
        int64_t due = static_cast<int64_t>(elapsed * m_sampleRateHz) - framesDone;
        if (due > static_cast<int64_t>(kMaxLagSeconds * m_sampleRateHz)) {
            origin = Clock::now();
            framesDone = 0;
            due = 0;
        }
        bool waiting = false;
        while (due > 0 && !waiting) {
            if (m_pacing == Pacing::WaitForFeeder && feederBehind()) {
                // The clock stops while the feeder catches up.
                waiting = true;
                break;
            }
            const auto frames = static_cast<size_t>(std::min<int64_t>(due, kChunkFrames));
            m_renderer.render(m_buffer.data(), frames);
            framesDone += static_cast<int64_t>(frames);
            due -= static_cast<int64_t>(frames);
        }
        if (waiting) {
            std::this_thread::sleep_for(kWaitTick);
            origin = Clock::now();
            framesDone = 0;
        } else {
            std::this_thread::sleep_for(kTick);
        }
    }
}

} // namespace xaudio
