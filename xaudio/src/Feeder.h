#pragma once

#include "OutputRenderer.h"
#include "Resampler.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace xaudio {

class AudioStream;
class OutputRenderer;

// The feeder thread: decodes the player's stream, changes its speed and
// sample rate with its resampler, and keeps the renderer's ring filled. It is
// not real-time code, but it never waits for the command thread while the
// ring has room. An output that refills the ring itself (the sound server's
// connection thread, after each request) does the same work through
// refillWithoutWaiting(), and leaves it to the feeder's thread whenever the
// lock is taken.
//
// The stream and the feeder's state belong to whoever holds lock(): the
// feeder holds it while it produces one block; the command thread holds it to
// open, seek or reset. Pitch is an atomic and may change at any time; the
// resampler glides to a new ratio across one block.
class Feeder final : public RingProducer {
public:
    // Pitch and equalizer changes are heard after the audio queued ahead of
    // them, so the ring is kept only this full: 768 frames are 17 ms at
    // 44.1 kHz, before the output's own buffer (10 ms asked of an ALSA
    // device; 27 ms to the speaker through the desktop's sound server). Less
    // is not safe: a sound server that was held back takes a whole buffer at
    // once, and the ring must still hold it while the feeder wakes up. The ring
    // is refilled as soon as it has room, by the output's thread or the
    // feeder's, both real-time where the system grants it; on a two-core machine
    // with both decks playing, a tempo measured and compilers running beside
    // them it keeps up. A larger ring buys safety only with a later bend.
    static constexpr size_t kFillTargetFrames = 768;
    // The feeder waits until this much of the fill target is free, so
    // blocks do not become tiny; the ring never holds less than the
    // difference while the feeder keeps up.
    static constexpr size_t kMinimumRoomFrames = 128;

    explicit Feeder(OutputRenderer& renderer);
    ~Feeder();
    Feeder(const Feeder&) = delete;
    Feeder& operator=(const Feeder&) = delete;

    // Takes the feeder's lock; the feeder steps aside between two blocks.
    std::unique_lock<std::mutex> lock() {
        m_waiters.fetch_add(1, std::memory_order_acq_rel);
        std::unique_lock<std::mutex> lock(m_mutex);
        m_waiters.fetch_sub(1, std::memory_order_acq_rel);
        return lock;
    }

    // The following need lock() held.
    void setStream(AudioStream* stream);
    // Forgets all pending audio and continues from mediaFrame; the ring must
    // have been flushed already (its write total becomes the new origin).
    void reset(int64_t mediaFrame);
    // A running feeder keeps the ring filled, also while the renderer is not
    // playing (so that Play is heard at once); it sleeps while the ring is
    // full and nothing consumes it, until wakeUp().
    void setRunning(bool running);
    // Called after the renderer starts playing.
    void wakeUp() {
        m_wake.notify_all();
        m_renderer.wakeProducer();
    }
    // The stream's equalizer changed: what is decoded but not yet in the
    // ring is decoded again, so that the change is heard after the ring
    // alone.
    void redecodePending();
    void setOutputRate(int sampleRateHz);
    // These two need no lock: the command thread follows playback with them
    // and must never make the feeder wait, as it may itself be held back
    // for long on a busy machine.
    bool ended() const { return m_ended.load(std::memory_order_acquire); }
    // The stream frame being heard when the renderer has read readTotal
    // frames of the ring. Command thread.
    int64_t heardMediaFrame(uint64_t readTotal) const;

    // On the output's thread; never waits for the lock.
    void refillWithoutWaiting() override;

    // Per mille of normal speed; any thread.
    void setPitch(int perMille) { m_pitch.store(perMille, std::memory_order_relaxed); }
    int pitch() const { return m_pitch.load(std::memory_order_relaxed); }
    // The feeder thread's nice level; applied as soon as the thread runs.
    // A level the system refuses is ignored. Any thread.
    void setNiceLevel(int niceLevel);

private:
    // Where a stream frame went into the ring. Written by whoever holds the
    // lock, read by the command thread without it.
    struct Marker {
        std::atomic<uint64_t> ringFrame{0};
        std::atomic<int64_t> mediaFrame{0};
    };
    static constexpr size_t kMarkerSlots = 256;

    void run();
    // There is a stream to decode and the player wants it decoded.
    bool producing() const { return m_running && m_stream != nullptr && !m_ended; }
    bool produceBlock();
    // Frames the feeder may write now without passing the fill target.
    size_t room() const;
    // At exactly normal speed and the output's rate the decoded audio goes
    // to the ring as it is; returns false at the end of the stream.
    bool copyBlock();
    // Back at exactly normal speed with the resampler settled: hands what
    // the resampler holds to the copy path and leaves the resampler out
    // from there on. False when it cannot be done yet.
    bool rejoinBypass();
    // Keeps the last frames the copy path wrote, for the resampler to look
    // back into when it takes over.
    void rememberCopied(const float* frames, size_t count);
    void pushMarker();

    OutputRenderer& m_renderer;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_quit = false;
    bool m_running = false;
    std::atomic<bool> m_ended{false};
    bool m_inputDone = false;
    // At exactly normal speed and the output's rate the resampler is left
    // out; it takes over, gliding from normal speed, at a change of speed,
    // and hands back once the speed is normal again and its glide is over.
    bool m_bypassing = true;
    // The last frames the copy path wrote, oldest first.
    std::vector<float> m_copied;
    size_t m_copiedFrames = 0;
    double m_lastRatio = 1.0;
    // Whether the resampler's glide to m_lastRatio is over.
    bool m_ratioReached = true;
    AudioStream* m_stream = nullptr;
    Resampler m_resampler;
    int m_outputRateHz = 44100;
    int64_t m_mediaFrame = 0;
    std::vector<float> m_pending;
    size_t m_pendingOffset = 0;
    size_t m_pendingFrames = 0;
    std::vector<float> m_block;
    std::array<Marker, kMarkerSlots> m_markers;
    // Markers pushed in all; the ones from m_firstMarker on are valid.
    std::atomic<uint64_t> m_markerCount{0};
    std::atomic<uint64_t> m_firstMarker{0};
    std::atomic<int> m_pitch{1000};
    std::atomic<int> m_threadId{0};
    static constexpr int kNiceUnset = -1000;
    std::atomic<int> m_niceLevel{kNiceUnset};
    std::atomic<int> m_waiters{0};
    std::thread m_thread;
};

} // namespace xaudio
