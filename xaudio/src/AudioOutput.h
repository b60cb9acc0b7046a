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
    // True once the output has stopped pulling for good (the device vanished
    // or its server went away). Command thread; may take the sound system's
    // lock but never blocks for long.
    virtual bool failed() { return false; }
    // While nothing plays the player rests the output, so that no device
    // thread wakes up for silence; nothing is rendered meanwhile. Resuming
    // may fail like opening. Command thread.
    virtual void suspend() {}
    virtual bool resume() { return true; }
    virtual bool suspended() const { return false; }
};

// What XAUDIO_NULL_OUTPUT asks for. "1": no sound device is touched, and
// the null output consumes audio at the pace of the clock. "wait": the same,
// except that the null output waits for the feeder instead of underrunning,
// so that what it renders depends on the engine alone and not on how busy
// the machine is (the engine's own tests use it).
enum class NullOutputMode { Off, Paced, Waiting };

// The n-th sound output device ("/dev/dsound/n"), or the null output when a
// null output mode is set or the machine has no output device at all.
// Returns nullptr when the device cannot be opened: the engine never plays
// silently in place of a device that was asked for. Called on the command
// thread; may block while the device opens.
std::unique_ptr<AudioOutput> openAudioOutput(int deviceNumber, NullOutputMode nullMode, OutputRenderer& renderer);

// Parses "/dev/dsound/N"; returns N, or -1 for any other text.
int parseDeviceName(const std::string& name);

// One enumeration of the sound system's output devices, shared by the
// players and xaudio_output_device_count. Thread-safe.
// Number 0 is the system's default output (ALSA's "default", which is the
// sound server on a desktop); the others follow in the sound system's order.
int outputDeviceCount();
// The device's name as the sound system gives it; empty for no such device.
std::string outputDeviceName(int deviceNumber);
// Reads the environment, so callers read it once on their owner's thread.
NullOutputMode nullOutputMode();

} // namespace xaudio
