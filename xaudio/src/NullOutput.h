#pragma once

#include "AudioOutput.h"

#include <atomic>
#include <thread>
#include <vector>

namespace xaudio {

// Consumes the player's audio at the pace of the clock, so playback, time
// codes and the end of stream behave the same without a sound device.
class NullOutput : public AudioOutput {
public:
    NullOutput(int sampleRateHz, OutputRenderer& renderer);
    ~NullOutput() override;

    int sampleRateHz() const override { return m_sampleRateHz; }
    bool isNull() const override { return true; }

private:
    void run();

    const int m_sampleRateHz;
    OutputRenderer& m_renderer;
    std::atomic<bool> m_quit{false};
    std::vector<float> m_buffer;
    std::thread m_thread;
};

} // namespace xaudio
