#pragma once

#include <memory>
#include <string>

namespace xaudio {

class OutputRenderer;

// Where a player's rendered audio goes: a sound device, or the null output
// that consumes audio at the pace of the clock. Both pull through
// OutputRenderer::render() from their own thread.
class AudioOutput {
public:
    virtual ~AudioOutput() = default;
    virtual int sampleRateHz() const = 0;
    virtual bool isNull() const = 0;
};

// What XAUDIO_NULL_OUTPUT asks for. "1": no sound device is touched, and
// the null output consumes audio at the pace of the clock. "wait": the same,
// except that the null output waits for the feeder instead of underrunning,
// so that what it renders depends on the engine alone and not on how busy
// the machine is (the engine's own tests use it).
enum class NullOutputMode { Off, Paced, Waiting };

// The n-th sound output device ("/dev/dsound/n"), or the null output when
// there is none, the device cannot be opened, or a null output mode is set.
// Called on the command thread; may block while the device opens.
std::unique_ptr<AudioOutput> openAudioOutput(int deviceNumber, NullOutputMode nullMode, OutputRenderer& renderer);

// Parses "/dev/dsound/N"; returns N, or -1 for any other text.
int parseDeviceName(const std::string& name);

// One enumeration of the sound system's output devices, shared by the
// players and xaudio_output_device_count. Thread-safe.
int outputDeviceCount();
// Reads the environment, so callers read it once on their owner's thread.
NullOutputMode nullOutputMode();

} // namespace xaudio
