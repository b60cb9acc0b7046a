#pragma once

#include "AudioOutput.h"

#include <atomic>
#include <chrono>
#include <cstdint>

namespace xaudio {

// A PortAudio output stream on one device, two float channels at the
// device's default rate, pulling from the renderer in PortAudio's callback.
class PortAudioOutput : public AudioOutput {
public:
    // Returns nullptr when the device cannot be opened or started.
    static std::unique_ptr<PortAudioOutput> open(int deviceIndex, OutputRenderer& renderer);
    ~PortAudioOutput() override;

    int sampleRateHz() const override { return m_sampleRateHz; }
    bool isNull() const override { return false; }
    bool failed() override;
    void suspend() override;
    bool resume() override;
    bool suspended() const override { return m_suspended; }

    // PortAudio's callback. Real-time: no locks, allocation, blocking or
    // logging. `deviceRanDry`: the device played silence before this call.
    void pull(float* output, size_t frames, bool deviceRanDry);

private:
    explicit PortAudioOutput(OutputRenderer& renderer) : m_renderer(renderer) {}

    OutputRenderer& m_renderer;
    void* m_stream = nullptr;
    int m_sampleRateHz = 0;
    bool m_suspended = false;
    // Counted by the callback; the command thread watches it move.
    std::atomic<uint64_t> m_callbacks{0};
    uint64_t m_seenCallbacks = 0;
    std::chrono::steady_clock::time_point m_lastProgress = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point m_lastWatch = m_lastProgress;
};

// PortAudio's device index of the n-th output device, or -1.
int portAudioOutputDevice(int deviceNumber);

} // namespace xaudio
