#include "PortAudioOutput.h"

#include "NullOutput.h"
#include "OutputRenderer.h"
#include "xaudio.h"

#include <cmath>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <mutex>
#include <portaudio.h>
#include <vector>

namespace xaudio {
namespace {

constexpr int kFallbackRateHz = 44100;

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

// The devices with outputs, in PortAudio's order. Built once per process;
// PortAudio stays initialised until the process ends.
struct DeviceList {
    bool initialised = false;
    std::vector<int> outputDevices;
};

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
        const int count = Pa_GetDeviceCount();
        for (int index = 0; index < count; ++index) {
            const PaDeviceInfo* info = Pa_GetDeviceInfo(index);
            if (info != nullptr && info->maxOutputChannels >= 2)
                list.outputDevices.push_back(index);
        }
    });
    return list;
}

int renderCallback(const void*, void* output, unsigned long frames, const PaStreamCallbackTimeInfo*,
                   PaStreamCallbackFlags, void* userData) {
    // This is real-time code: no locks, no allocation, no blocking, no logging.
    static_cast<OutputRenderer*>(userData)->render(static_cast<float*>(output), frames);
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
    PaStreamParameters parameters{};
    parameters.device = deviceIndex;
    parameters.channelCount = 2;
    parameters.sampleFormat = paFloat32;
    parameters.suggestedLatency = info->defaultHighOutputLatency;
    for (double rate : {info->defaultSampleRate, 44100.0, 48000.0}) {
        if (rate <= 0)
            continue;
        const int rateHz = static_cast<int>(std::lround(rate));
        renderer.setSampleRate(rateHz);
        PaStream* stream = nullptr;
        if (Pa_OpenStream(&stream, nullptr, &parameters, rate, paFramesPerBufferUnspecified, paNoFlag, &renderCallback,
                          &renderer) != paNoError)
            continue;
        if (Pa_StartStream(stream) != paNoError) {
            Pa_CloseStream(stream);
            continue;
        }
        return std::unique_ptr<PortAudioOutput>(new PortAudioOutput(stream, rateHz));
    }
    return nullptr;
}

PortAudioOutput::~PortAudioOutput() {
    std::lock_guard<std::mutex> guard(g_portAudioMutex);
    auto* stream = static_cast<PaStream*>(m_stream);
    Pa_StopStream(stream);
    Pa_CloseStream(stream);
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
    if (nullMode == NullOutputMode::Off) {
        const int device = portAudioOutputDevice(deviceNumber);
        if (device >= 0) {
            if (std::unique_ptr<PortAudioOutput> output = PortAudioOutput::open(device, renderer))
                return output;
        }
    }
    renderer.setSampleRate(kFallbackRateHz);
    return std::make_unique<NullOutput>(kFallbackRateHz, renderer,
                                        nullMode == NullOutputMode::Waiting ? NullOutput::Pacing::WaitForFeeder
                                                                            : NullOutput::Pacing::Clock);
}

} // namespace xaudio
