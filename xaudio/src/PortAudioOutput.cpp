#include "PortAudioOutput.h"

#include "Feeder.h"
#include "InheritedRealTime.h"
#include "NullOutput.h"
#include "OutputRenderer.h"
#include "PulseAudioOutput.h"
#include "xaudio.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <mutex>
#include <pa_linux_alsa.h>
#include <portaudio.h>
#include <vector>

namespace xaudio {
namespace {

constexpr int kFallbackRateHz = 44100;
constexpr double kDeviceLatencySeconds = 0.01;
// The renderer is asked for this many frames at a time (6 ms at 44.1 kHz):
// a request must stay well below what the feeder keeps in the ring, or every
// callback would find it short.
constexpr unsigned long kFramesPerCallback = 256;
static_assert(kFramesPerCallback < Feeder::kFillTargetFrames - Feeder::kMinimumRoomFrames);
// A stream whose callback has not run for this long, while the command
// thread itself ran normally, has lost its device. PortAudio ends a stream
// whose device fails, so this only catches a server that stops answering
// without an error; it is long because a machine under heavy load can hold
// any thread back for a second.
constexpr auto kStallTimeout = std::chrono::seconds(5);
// A command thread that was itself held back this long cannot tell whether
// the callbacks were.
constexpr auto kWatchGap = std::chrono::milliseconds(500);

// The ALSA plug-in of a sound server (PulseAudio's) passes the audio on from
// a thread of its own, started as the stream opens, with the opener's
// scheduling. An ordinary thread there is held back on a busy machine for
// longer than the device buffer lasts: the server finds the stream empty, the
// plug-in reports an underrun, and PortAudio recovers by having the plug-in
// create a new server stream, which is heard only after a gap (a null sink
// with rewinds held it back for about two seconds). The stream is therefore
// opened from a real-time thread, at the lowest real-time priority: above
// every ordinary thread, like PortAudio's callback thread.
constexpr int kSoundSystemThreadPriority = 1;

// PortAudio's API is not meant for concurrent calls; two players may open or
// close their streams at the same time. The callbacks do not take it.
std::mutex g_portAudioMutex;

// ALSA and JACK report every probe that fails on a machine without a sound
// card on stderr; the engine has its own way of reporting output failures.
void silentAlsaHandler(const char*, int, const char*, int, const char*, ...) {}
void silentJackHandler(const char*) {}

void silenceSoundSystemChatter() {
    using AlsaHandler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetAlsaHandler = int (*)(AlsaHandler);
    using JackHandler = void (*)(const char*);
    using SetJackHandler = void (*)(JackHandler);
    if (void* alsa = dlopen("libasound.so.2", RTLD_LAZY | RTLD_NOLOAD)) {
        if (auto set = reinterpret_cast<SetAlsaHandler>(dlsym(alsa, "snd_lib_error_set_handler")))
            set(&silentAlsaHandler);
        dlclose(alsa);
    }
    if (void* jack = dlopen("libjack.so.0", RTLD_LAZY | RTLD_NOLOAD)) {
        if (auto set = reinterpret_cast<SetJackHandler>(dlsym(jack, "jack_set_error_function")))
            set(&silentJackHandler);
        if (auto set = reinterpret_cast<SetJackHandler>(dlsym(jack, "jack_set_info_function")))
            set(&silentJackHandler);
        dlclose(jack);
    }
}

// The devices with outputs: the default first, then the others in
// PortAudio's order. Built once per process; PortAudio stays initialised
// until the process ends.
struct DeviceList {
    bool initialised = false;
    std::vector<int> outputDevices;
};

bool isOutput(const PaDeviceInfo* info) {
    return info != nullptr && info->maxOutputChannels >= 2;
}

// On Linux PortAudio's own default is often the first ALSA card, a raw
// device the sound server already holds; ALSA's "default" PCM is what the
// desktop routes to its server (PipeWire, PulseAudio or JACK).
int defaultOutputDevice() {
    const int count = Pa_GetDeviceCount();
    for (int index = 0; index < count; ++index) {
        const PaDeviceInfo* info = Pa_GetDeviceInfo(index);
        const PaHostApiInfo* host = info != nullptr ? Pa_GetHostApiInfo(info->hostApi) : nullptr;
        if (isOutput(info) && host != nullptr && host->type == paALSA && std::strcmp(info->name, "default") == 0)
            return index;
    }
    const int fallback = Pa_GetDefaultOutputDevice();
    return isOutput(Pa_GetDeviceInfo(fallback)) ? fallback : -1;
}

DeviceList& deviceList() {
    static DeviceList list;
    static std::once_flag once;
    std::call_once(once, [] {
        if (nullOutputMode() != NullOutputMode::Off)
            return;
        // Starting a JACK server as a side effect of probing would be rude.
        setenv("JACK_NO_START_SERVER", "1", 0);
        silenceSoundSystemChatter();
        if (Pa_Initialize() != paNoError)
            return;
        list.initialised = true;
        const int first = defaultOutputDevice();
        if (first >= 0)
            list.outputDevices.push_back(first);
        const int count = Pa_GetDeviceCount();
        for (int index = 0; index < count; ++index) {
            if (index != first && isOutput(Pa_GetDeviceInfo(index)))
                list.outputDevices.push_back(index);
        }
    });
    return list;
}

int renderCallback(const void*, void* output, unsigned long frames, const PaStreamCallbackTimeInfo*,
                   PaStreamCallbackFlags flags, void* userData) {
    // This is real-time code: no locks, no allocation, no blocking, no logging.
    static_cast<PortAudioOutput*>(userData)->pull(static_cast<float*>(output), frames,
                                                  (flags & paOutputUnderflow) != 0);
    return paContinue;
}

} // namespace

NullOutputMode nullOutputMode() {
    const char* value = std::getenv("XAUDIO_NULL_OUTPUT");
    if (value == nullptr)
        return NullOutputMode::Off;
    if (std::strcmp(value, "1") == 0)
        return NullOutputMode::Paced;
    if (std::strcmp(value, "wait") == 0)
        return NullOutputMode::Waiting;
    return NullOutputMode::Off;
}

int outputDeviceCount() {
    return static_cast<int>(deviceList().outputDevices.size());
}

std::string outputDeviceName(int deviceNumber) {
    const int device = portAudioOutputDevice(deviceNumber);
    if (device < 0)
        return {};
    std::lock_guard<std::mutex> guard(g_portAudioMutex);
    const PaDeviceInfo* info = Pa_GetDeviceInfo(device);
    return info != nullptr && info->name != nullptr ? info->name : "";
}

int portAudioOutputDevice(int deviceNumber) {
    const DeviceList& list = deviceList();
    if (deviceNumber < 0 || deviceNumber >= static_cast<int>(list.outputDevices.size()))
        return -1;
    return list.outputDevices[static_cast<size_t>(deviceNumber)];
}

std::unique_ptr<PortAudioOutput> PortAudioOutput::open(int deviceIndex, OutputRenderer& renderer) {
    std::lock_guard<std::mutex> guard(g_portAudioMutex);
    const PaDeviceInfo* info = Pa_GetDeviceInfo(deviceIndex);
    if (info == nullptr)
        return nullptr;
    std::unique_ptr<PortAudioOutput> output(new PortAudioOutput(renderer));
    PaStreamParameters parameters{};
    parameters.device = deviceIndex;
    parameters.channelCount = 2;
    parameters.sampleFormat = paFloat32;
    // PortAudio's "high" latency is a fifth of a second or more on ALSA,
    // which puts every change that far behind the hand. The device's buffer
    // and the feeder's ring add up (see Feeder::kFillTargetFrames): the sound
    // server takes up to a whole buffer at once after it was held back, and
    // the ring must then have it ready. 10 ms keeps the sum within 30 ms; a
    // server on a machine too busy to serve 10 ms fails there, not here.
    parameters.suggestedLatency = std::max(info->defaultLowOutputLatency, kDeviceLatencySeconds);
    for (double rate : {info->defaultSampleRate, 44100.0, 48000.0}) {
        if (rate <= 0)
            continue;
        const int rateHz = static_cast<int>(std::lround(rate));
        renderer.setSampleRate(rateHz);
        PaStream* stream = nullptr;
        const InheritedRealTime realTime(kSoundSystemThreadPriority);
        if (Pa_OpenStream(&stream, nullptr, &parameters, rate, kFramesPerCallback, paNoFlag, &renderCallback,
                          output.get()) != paNoError)
            continue;
        // The callback thread asks for real-time scheduling where the
        // system grants it: held back, it would take several blocks at once
        // from the feeder's short ring.
        if (const PaHostApiInfo* host = Pa_GetHostApiInfo(info->hostApi); host != nullptr && host->type == paALSA)
            PaAlsa_EnableRealtimeScheduling(stream, 1);
        if (Pa_StartStream(stream) != paNoError) {
            Pa_CloseStream(stream);
            continue;
        }
        output->m_stream = stream;
        output->m_sampleRateHz = rateHz;
        output->m_lastProgress = std::chrono::steady_clock::now();
        output->m_lastWatch = output->m_lastProgress;
        return output;
    }
    return nullptr;
}

PortAudioOutput::~PortAudioOutput() {
    if (m_stream == nullptr)
        return;
    std::lock_guard<std::mutex> guard(g_portAudioMutex);
    auto* stream = static_cast<PaStream*>(m_stream);
    Pa_AbortStream(stream);
    Pa_CloseStream(stream);
}

void PortAudioOutput::pull(float* output, size_t frames, bool deviceRanDry) {
    // This is real-time code: no locks, no allocation, no blocking, no logging.
    if (deviceRanDry && m_renderer.playing())
        m_renderer.countDeviceUnderrun();
    m_renderer.render(output, frames);
    m_callbacks.fetch_add(1, std::memory_order_relaxed);
}

void PortAudioOutput::suspend() {
    if (m_suspended)
        return;
    std::lock_guard<std::mutex> guard(g_portAudioMutex);
    // Only silence is left in the device's buffer; nothing to wait for.
    Pa_AbortStream(static_cast<PaStream*>(m_stream));
    m_suspended = true;
}

bool PortAudioOutput::resume() {
    if (!m_suspended)
        return true;
    std::lock_guard<std::mutex> guard(g_portAudioMutex);
    if (Pa_StartStream(static_cast<PaStream*>(m_stream)) != paNoError)
        return false;
    m_suspended = false;
    m_lastProgress = std::chrono::steady_clock::now();
    m_lastWatch = m_lastProgress;
    return true;
}

bool PortAudioOutput::failed() {
    if (m_suspended)
        return false;
    {
        std::lock_guard<std::mutex> guard(g_portAudioMutex);
        if (Pa_IsStreamActive(static_cast<PaStream*>(m_stream)) != 1)
            return true;
    }
    const auto now = std::chrono::steady_clock::now();
    const bool watched = now - m_lastWatch < kWatchGap;
    m_lastWatch = now;
    const uint64_t callbacks = m_callbacks.load(std::memory_order_relaxed);
    if (callbacks != m_seenCallbacks || !watched) {
        m_seenCallbacks = callbacks;
        m_lastProgress = now;
        return false;
    }
    return now - m_lastProgress > kStallTimeout;
}

int parseDeviceName(const std::string& name) {
    const std::string prefix = XA_DSOUND_DEVICE_PREFIX;
    if (name.compare(0, prefix.size(), prefix) != 0 || name.size() == prefix.size() || name.size() > prefix.size() + 4)
        return -1;
    int number = 0;
    for (size_t i = prefix.size(); i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9')
            return -1;
        number = number * 10 + (name[i] - '0');
    }
    return number;
}

std::unique_ptr<AudioOutput> openAudioOutput(int deviceNumber, NullOutputMode nullMode, OutputRenderer& renderer) {
    if (nullMode == NullOutputMode::Off && outputDeviceCount() > 0) {
        const int device = portAudioOutputDevice(deviceNumber);
        if (device < 0)
            return nullptr;
        // The default output is the desktop's sound server where one runs:
        // reached directly, not through ALSA's plug-in for it.
        if (deviceNumber == 0) {
            if (std::unique_ptr<PulseAudioOutput> output = PulseAudioOutput::open(renderer))
                return output;
        }
        return PortAudioOutput::open(device, renderer);
    }
    renderer.setSampleRate(kFallbackRateHz);
    return std::make_unique<NullOutput>(kFallbackRateHz, renderer,
                                        nullMode == NullOutputMode::Waiting ? NullOutput::Pacing::WaitForFeeder
                                                                            : NullOutput::Pacing::Clock);
}

} // namespace xaudio
