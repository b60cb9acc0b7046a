#pragma once

#include "AudioOutput.h"
#include "PulseConnection.h"

#include <atomic>
#include <memory>

struct pa_stream;

namespace xaudio {

// A stream straight to the desktop's sound server (PulseAudio, or PipeWire
// through its PulseAudio service), for the system's default output. The
// same server is reachable through ALSA's "default" device, but only
// through two more threads and a copy per block; here the server's own
// request thread renders, and then refills the ring. Two float channels at
// 44.1 kHz; the server converts to its sink. Each player's stream has a
// connection of its own.
class PulseAudioOutput : public AudioOutput {
public:
    // Returns nullptr when no sound server answers or the stream fails.
    static std::unique_ptr<PulseAudioOutput> open(OutputRenderer& renderer);
    ~PulseAudioOutput() override;
    PulseAudioOutput(const PulseAudioOutput&) = delete;
    PulseAudioOutput& operator=(const PulseAudioOutput&) = delete;

    int sampleRateHz() const override;
    bool isNull() const override { return false; }
    // A server lost while the output rests is found at the next Play.
    bool failed() override { return !m_suspended && m_failed.load(std::memory_order_acquire); }
    void suspend() override;
    bool resume() override;
    bool suspended() const override { return m_suspended; }

private:
    PulseAudioOutput(OutputRenderer& renderer, std::unique_ptr<PulseConnection> connection);
    bool startStream();
    pa_threaded_mainloop* loop() const { return m_connection->loop(); }
    // The server asks for `bytes` more; runs on the server connection's
    // thread. Real-time until the audio is on its way: no locks of ours, no
    // allocation, no blocking.
    void write(size_t bytes);

    static void onStreamState(pa_stream* stream, void* self);
    static void onWrite(pa_stream* stream, size_t bytes, void* self);
    static void onUnderflow(pa_stream* stream, void* self);

    OutputRenderer& m_renderer;
    std::unique_ptr<PulseConnection> m_connection;
    pa_stream* m_stream = nullptr;
    std::atomic<bool> m_failed{false};
    // Corked while nothing plays. Command thread.
    bool m_suspended = false;
};

} // namespace xaudio
