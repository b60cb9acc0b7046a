#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

struct SRC_STATE_tag;

namespace xaudio {

class AudioStream;
class OutputRenderer;

// The feeder thread: decodes the player's stream, changes its speed and
// sample rate with libsamplerate, and keeps the renderer's ring filled. It is
// not real-time code, but it never waits for the command thread while the
// ring has room.
//
// The stream and the feeder's state belong to whoever holds lock(): the
// feeder holds it while it produces one block; the command thread holds it to
// open, seek or reset. Pitch is an atomic and may change at any time; the
// resampler glides to a new ratio across one block.
class Feeder {
public:
    // Pitch and equalizer changes are heard after the audio queued ahead of
    // them, so the ring is kept only this full: 2048 frames are 46 ms at
    // 44.1 kHz, on top of the device's own buffer. Less would bring a bend
    // closer to the hand, but the feeder is ordinary (not real-time) code
    // that polls every few milliseconds, and on a busy two-core machine it
    // can be kept from running for tens of milliseconds: an emptier ring
    // would then underrun, and a gap is worse than a late bend.
    static constexpr size_t kFillTargetFrames = 2048;

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
    void setRunning(bool running);
    void setOutputRate(int sampleRateHz);
    bool ended() const { return m_ended; }
    // The stream frame being heard when the renderer has read readTotal
    // frames of the ring.
    int64_t heardMediaFrame(uint64_t readTotal);

    // Per mille of normal speed; any thread.
    void setPitch(int perMille) { m_pitch.store(perMille, std::memory_order_relaxed); }
    int pitch() const { return m_pitch.load(std::memory_order_relaxed); }
    // The feeder thread's nice level; applied as soon as the thread runs.
    // A level the system refuses is ignored. Any thread.
    void setNiceLevel(int niceLevel);

private:
    struct Marker {
        uint64_t ringFrame;
        int64_t mediaFrame;
    };

    void run();
    bool produceBlock();
    // Frames the feeder may write now without passing the fill target.
    size_t room() const;
    // At exactly normal speed and the output's rate the decoded audio goes
    // to the ring as it is; returns false at the end of the stream.
    bool copyBlock();
    void pushMarker();

    OutputRenderer& m_renderer;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_quit = false;
    bool m_running = false;
    bool m_ended = false;
    bool m_inputDone = false;
    // From a reset until the first change of speed the resampler is not
    // needed; it takes over, gliding from normal speed, at that change.
    bool m_bypassing = true;
    bool m_bypassedAny = false;
    AudioStream* m_stream = nullptr;
    SRC_STATE_tag* m_resampler = nullptr;
    int m_outputRateHz = 44100;
    int64_t m_mediaFrame = 0;
    std::vector<float> m_pending;
    size_t m_pendingOffset = 0;
    size_t m_pendingFrames = 0;
    std::vector<float> m_block;
    std::deque<Marker> m_markers;
    std::atomic<int> m_pitch{1000};
    std::atomic<int> m_threadId{0};
    static constexpr int kNiceUnset = -1000;
    std::atomic<int> m_niceLevel{kNiceUnset};
    std::atomic<int> m_waiters{0};
    std::thread m_thread;
};

} // namespace xaudio
