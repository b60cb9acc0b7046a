#pragma once

#include "AudioOutput.h"

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

private:
    PortAudioOutput(void* stream, int sampleRateHz) : m_stream(stream), m_sampleRateHz(sampleRateHz) {}

    void* m_stream;
    int m_sampleRateHz;
};

// PortAudio's device index of the n-th output device, or -1.
int portAudioOutputDevice(int deviceNumber);

} // namespace xaudio
