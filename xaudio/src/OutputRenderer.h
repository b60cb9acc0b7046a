#pragma once

#include "FrameRing.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <semaphore.h>

namespace xaudio {

// Whatever fills a renderer's ring (the feeder), as an output that refills the
// ring from its own thread sees it.
class RingProducer {
public:
    // Fills the ring up if that can be done without waiting for a lock, and
    // otherwise wakes the producer's own thread to do it.
    virtual void refillWithoutWaiting() = 0;

protected:
    ~RingProducer() = default;
};

// The real-time end of a player: the output (a sound device callback or the
// null output's pacer) pulls frames through render(). Everything render()
// touches is either its own or an atomic; the other threads steer it only
// through the setters below, which are wait-free.
//
// Gain changes are ramped (about 20 ms from silence to full), and starting or
// stopping playback fades in or out over about 5 ms, so neither clicks.
class OutputRenderer {
public:
    // The stream's last frames fade out over this many frames (5 ms at
    // 44.1 kHz): a track that ends mid-wave would otherwise click.
    static constexpr size_t kEndFadeFrames = 220;

    OutputRenderer();
    ~OutputRenderer();
    OutputRenderer(const OutputRenderer&) = delete;
    OutputRenderer& operator=(const OutputRenderer&) = delete;

    // The decoded, resampled audio from the feeder. Producer: the feeder.
    FrameRing& ring() { return m_ring; }
    // What was output, for the capture file and the feedback handler.
    // Consumer: the command thread. Filled only while tapping is on; frames
    // that do not fit are dropped.
    FrameRing& tap() { return m_tap; }

    // Set before the output starts pulling; the ramps depend on it.
    void setSampleRate(int sampleRateHz);
    int sampleRateHz() const { return m_sampleRateHz.load(std::memory_order_acquire); }

    void setPlaying(bool playing) { m_playing.store(playing, std::memory_order_release); }
    bool playing() const { return m_playing.load(std::memory_order_acquire); }
    // True once a stop has faded out completely and no frames are consumed.
    bool silent() const { return m_silent.load(std::memory_order_acquire); }
    void setGains(float left, float right);
    void setTapping(bool tapping) { m_tapping.store(tapping, std::memory_order_release); }
    bool tapping() const { return m_tapping.load(std::memory_order_acquire); }
    // Taps the silence rendered while nothing plays as well, so that a
    // frame's place in the tap is its place on the output's clock.
    void setTappingSilence(bool tapping) { m_tappingSilence.store(tapping, std::memory_order_release); }
    // The output's clock: every frame render() has written, silence included.
    uint64_t renderedFrames() const { return m_renderedFrames.load(std::memory_order_acquire); }
    // The feeder sets it when the stream's last frame is in the ring: running
    // dry after that is the end, not an underrun.
    void setInputEnded(bool ended) { m_inputEnded.store(ended, std::memory_order_release); }
    bool inputEnded() const { return m_inputEnded.load(std::memory_order_acquire); }

    // Asks render() to drop everything in the ring; flushPending() stays true
    // until it has. Used only while the feeder is held.
    void requestFlush() { m_flushRequested.store(true, std::memory_order_release); }
    bool flushPending() const { return m_flushRequested.load(std::memory_order_acquire); }

    uint64_t underruns() const { return m_underruns.load(std::memory_order_relaxed); }
    // The device itself ran dry before asking for more (its callback came
    // late): heard the same as the ring running dry. Real-time safe.
    void countDeviceUnderrun() { m_underruns.fetch_add(1, std::memory_order_relaxed); }

    // The ring's producer sleeps here until render() has taken the ring down
    // to the refill level, or the timeout has passed.
    void waitForConsumer(std::chrono::milliseconds timeout);
    void setRefillLevel(size_t frames) { m_refillLevel.store(frames, std::memory_order_relaxed); }
    // Ends the producer's wait at once. Any thread.
    void wakeProducer();
    // Set once by the producer, before there is an output.
    void setProducer(RingProducer* producer) { m_producer = producer; }
    // The sound server's connection thread has time to spare once a request
    // is answered: the next one is milliseconds away. Such an output refills
    // the ring itself after render(), and the producer's thread is not woken
    // for it: one wake-up per request instead of two. Set by the output for
    // as long as it renders.
    void setOutputRefills(bool refills) { m_outputRefills.store(refills, std::memory_order_release); }
    // Called by that output after render(), once the rendered audio is on its
    // way; on the output's thread.
    void refillAfterRender();

    // Writes frames x 2 interleaved float samples, always all of them.
    void render(float* output, size_t frames);

private:
    FrameRing m_ring;
    FrameRing m_tap;
    std::atomic<int> m_sampleRateHz{44100};
    std::atomic<bool> m_playing{false};
    std::atomic<bool> m_silent{true};
    std::atomic<bool> m_tapping{false};
    std::atomic<bool> m_tappingSilence{false};
    std::atomic<uint64_t> m_renderedFrames{0};
    std::atomic<bool> m_inputEnded{false};
    std::atomic<bool> m_flushRequested{false};
    std::atomic<float> m_targetLeft{1.0f};
    std::atomic<float> m_targetRight{1.0f};
    std::atomic<uint64_t> m_underruns{0};
    // Posted by render() after it took frames, at most once until the
    // producer has woken: sem_post is async-signal-safe, so it takes no lock
    // and never blocks.
    sem_t m_consumed{};
    std::atomic<bool> m_consumedPosted{false};
    std::atomic<size_t> m_refillLevel{0};
    RingProducer* m_producer = nullptr;
    std::atomic<bool> m_outputRefills{false};

    // Owned by render() alone.
    float m_gainLeft = 1.0f;
    float m_gainRight = 1.0f;
    float m_fade = 0.0f;
    bool m_refillDue = false;
};

} // namespace xaudio
