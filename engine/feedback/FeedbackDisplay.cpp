#include "FeedbackDisplay.h"

#include "DisplayModes.h"
#include "DisplayState.h"
#include "GuiThreadCall.h"
#include "SpectrumFunctions.h"
#include "TXADisplay.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstring>
#include <memory>
#include <new>
#include <string>

namespace engine {
namespace {

constexpr int kOutOfMemoryStatus = -100;

// Creating and destroying the window waits for the GUI thread this long at
// most; an audio event gives up its frame sooner.
constexpr std::chrono::milliseconds kWindowTimeout{5000};

struct DisplaySettings {
    bool hasMainWindow = false;
    uint32_t mainWindow = 0;
    int left = 100;
    int top = 100;
    int width = 251;
    int height = 0;
};

// A window that falls behind loses frames rather than collecting them.
constexpr int kMostFramesInFlight = 2;

// Frames on their way to the window. Audio events write into the frames in
// turn and the window takes them in the order they were posted, so while
// fewer than all are in flight the next one is free. Shared with the
// posted calls, which may run after the instance is gone.
struct FrameMailbox {
    std::array<DisplayFrame, kMostFramesInFlight> frames;
    std::atomic<int> inFlight{0};
    // Engine thread only.
    size_t next = 0;
};

struct Instance {
    SpectrumFunctions functions;
    QPointer<TXADisplay> window;
    XA_FftAnalyzer* leftAnalyzer = nullptr;
    XA_FftAnalyzer* rightAnalyzer = nullptr;
    int width = 0;
    std::shared_ptr<FrameMailbox> mailbox;
};

DisplaySettings readSettings(void* context, XA_EnvironmentIntegerLookup lookup) {
    DisplaySettings settings;
    auto read = [&](const char* key, int& target) {
        int32_t value = 0;
        if (lookup != nullptr && lookup(context, key, &value) == XA_SUCCESS) {
            target = value;
            return true;
        }
        return false;
    };
    int mainWindow = 0;
    settings.hasMainWindow = read(kEnvironmentMainWindow, mainWindow);
    settings.mainWindow = static_cast<uint32_t>(mainWindow);
    read(kEnvironmentLeft, settings.left);
    read(kEnvironmentTop, settings.top);
    read(kEnvironmentWidth, settings.width);
    read(kEnvironmentHeight, settings.height);
    settings.width = std::clamp(settings.width, 0, kWaveformCapacity);
    settings.height = std::max(settings.height, 0);
    return settings;
}

// Window ids travel through the engine as 32-bit integers; a platform whose
// ids are wider is matched on the low 32 bits. Only widgets that already
// have a native window are considered, so no native window gets created here.
QWidget* findMainWindow(uint32_t id) {
    if (QWidget* exact = QWidget::find(static_cast<WId>(id)))
        return exact;
    const auto widgets = QApplication::allWidgets();
    for (QWidget* widget : widgets) {
        const WId candidate = widget->internalWinId();
        if (candidate != 0 && static_cast<uint32_t>(candidate) == id)
            return widget;
    }
    return nullptr;
}

// GUI thread.
TXADisplay* createWindow(const DisplaySettings& settings) {
    QWidget* parent = settings.hasMainWindow ? findMainWindow(settings.mainWindow) : nullptr;
    auto* window = new TXADisplay(settings.width, settings.height, parent);
    window->move(settings.left, settings.top);
    window->show();
    return window;
}

void destroyWindow(const QPointer<TXADisplay>& window) {
    postToGuiThread([window] { delete window.data(); });
}

// Runs action on the window on the GUI thread, unless the window is gone.
void onWindow(const QPointer<TXADisplay>& window, void (*action)(TXADisplay&)) {
    postToGuiThread([window, action] {
        if (window)
            action(*window);
    });
}

int handlerProbe(const char* name) {
    return name != nullptr && std::strcmp(name, kFeedbackHandlerName) == 0 ? XA_SUCCESS : XA_FAILURE;
}

void copyText(char (&target)[XA_MODULE_TEXT_SIZE], const char* text) {
    std::strncpy(target, text, XA_MODULE_TEXT_SIZE - 1);
    target[XA_MODULE_TEXT_SIZE - 1] = '\0';
}

int handlerQuery(XA_ModuleInfo* info, uint32_t flags) {
    if (info == nullptr)
        return XA_ERROR_INVALID_PARAMETERS;
    if (flags & 1) {
        copyText(info->name, "Feedback Display Module");
        copyText(info->description, "Version 1");
    }
    if (flags & 2)
        info->id = 1;
    if ((flags & 4) && !(flags & 1)) {
        copyText(info->name, "Feedback-Display");
        copyText(info->description, "Feedback display module");
    }
    return XA_SUCCESS;
}

int handlerNew(void** instanceSlot, const char* /*name*/, void* environmentContext,
               XA_EnvironmentIntegerLookup environmentLookup) noexcept {
    if (instanceSlot == nullptr)
        return XA_ERROR_INVALID_PARAMETERS;
    try {
        SpectrumFunctions functions;
        if (!bindSpectrumFunctions(functions))
            return XA_FAILURE;
        const DisplaySettings settings = readSettings(environmentContext, environmentLookup);

        QPointer<TXADisplay> window;
        if (!callOnGuiThread([&] { window = createWindow(settings); }, kWindowTimeout) || !window)
            return XA_FAILURE;

        std::unique_ptr<Instance> instance(new (std::nothrow) Instance);
        if (instance) {
            try {
                instance->mailbox = std::make_shared<FrameMailbox>();
            } catch (const std::bad_alloc&) {
            }
        }
        if (!instance || !instance->mailbox) {
            destroyWindow(window);
            return kOutOfMemoryStatus;
        }
        instance->functions = functions;
        instance->window = window;
        instance->width = settings.width;

        int status = functions.analyzerNew(&instance->leftAnalyzer);
        if (status == XA_SUCCESS)
            status = functions.analyzerNew(&instance->rightAnalyzer);
        if (status != XA_SUCCESS) {
            if (instance->leftAnalyzer != nullptr)
                functions.analyzerDelete(instance->leftAnalyzer);
            destroyWindow(window);
            return status;
        }

        displayModeFlags().store(kDisplaySpectrum);
        *instanceSlot = instance.release();
        return XA_SUCCESS;
    } catch (...) {
        return kOutOfMemoryStatus;
    }
}

// The engine ends the instance here; its analysers and window go with it.
int handlerDelete(void* opaque) noexcept {
    auto* instance = static_cast<Instance*>(opaque);
    if (instance == nullptr)
        return XA_FAILURE;
    instance->functions.analyzerDelete(instance->leftAnalyzer);
    instance->functions.analyzerDelete(instance->rightAnalyzer);
    destroyWindow(instance->window);
    delete instance;
    return XA_SUCCESS;
}

int handlerNothing(void* /*instance*/) noexcept {
    return XA_SUCCESS;
}

int handlerCommand(void* opaque, uint32_t code, const void* data, uint32_t size) noexcept {
    auto* instance = static_cast<Instance*>(opaque);
    if (instance == nullptr)
        return XA_FAILURE;
    try {
        switch (code) {
        case kFeedbackShowWindow:
            onWindow(instance->window, [](TXADisplay& window) { window.show(); });
            return XA_SUCCESS;
        case kFeedbackHideWindow:
            onWindow(instance->window, [](TXADisplay& window) { window.hide(); });
            return XA_SUCCESS;
        case kFeedbackShowInformation:
            onWindow(instance->window, [](TXADisplay& window) { window.showInformation(); });
            return XA_SUCCESS;
        case kFeedbackSetModes:
            if (data == nullptr || size < 1)
                return XA_ERROR_INVALID_PARAMETERS;
            displayModeFlags().store(*static_cast<const uint8_t*>(data));
            return XA_SUCCESS;
        case kFeedbackStartClearing:
            onWindow(instance->window, [](TXADisplay& window) { window.startClearingTimer(); });
            return XA_SUCCESS;
        case kFeedbackStopClearing:
            onWindow(instance->window, [](TXADisplay& window) { window.stopClearingTimer(); });
            return XA_SUCCESS;
        default:
            return XA_FAILURE;
        }
    } catch (...) {
        return XA_FAILURE;
    }
}

// Engine thread. The call it posts is allocated, so this is not real-time
// code, but it never waits for the GUI thread.
void analyseBlock(const Instance& instance, XA_FftAnalyzer* analyzer, const int8_t* samples, uint32_t count,
                  ChannelFrame& channel) {
    const SpectrumFunctions& functions = instance.functions;
    if (instance.width > 0)
        functions.interpolateSigned(samples, count, channel.waveform.data(), static_cast<uint32_t>(instance.width));
    channel.waveformLength = instance.width;
    functions.setSamples(analyzer, samples, std::min<uint32_t>(count, XA_FFT_MAX_SAMPLES));
    channel.spectrum.fill(0);
    functions.getSpectrum(analyzer, channel.spectrum.data());
}

int handlerAudioEvent(void* opaque, const XA_AudioEvent* event) noexcept {
    auto* instance = static_cast<Instance*>(opaque);
    if (instance == nullptr)
        return XA_FAILURE;
    if (event == nullptr || event->samples == nullptr || event->nb_channels == 0 || event->nb_samples == 0)
        return XA_ERROR_INVALID_PARAMETERS;
    try {
        // Posted, not waited for: the engine's thread goes on with the audio
        // whatever the GUI thread is doing, and a frame the window would
        // not take in time is not even worked out.
        FrameMailbox& mailbox = *instance->mailbox;
        if (mailbox.inFlight.load(std::memory_order_acquire) >= kMostFramesInFlight)
            return XA_SUCCESS;
        DisplayFrame& frame = mailbox.frames[mailbox.next % kMostFramesInFlight];
        analyseBlock(*instance, instance->leftAnalyzer, event->samples, event->nb_samples, frame.left);
        if (event->nb_channels >= 2) {
            analyseBlock(*instance, instance->rightAnalyzer, event->samples + event->nb_samples, event->nb_samples,
                         frame.right);
        } else {
            frame.right.waveformLength = frame.left.waveformLength;
            std::copy_n(frame.left.waveform.begin(), std::max(frame.left.waveformLength, 0),
                        frame.right.waveform.begin());
            frame.right.spectrum = frame.left.spectrum;
        }
        mailbox.inFlight.fetch_add(1, std::memory_order_acq_rel);
        const bool posted = postToGuiThread([window = instance->window, shared = instance->mailbox, taken = &frame] {
            if (window) {
                intptr_t result = 0;
                window->handleMessage({messages::kDisplayData, 0, reinterpret_cast<intptr_t>(taken), {}}, result);
            }
            shared->inFlight.fetch_sub(1, std::memory_order_acq_rel);
        });
        if (posted)
            ++mailbox.next;
        else
            mailbox.inFlight.fetch_sub(1, std::memory_order_acq_rel);
        return XA_SUCCESS;
    } catch (...) {
        return XA_FAILURE;
    }
}

} // namespace

int feedbackDisplayModuleInit(XA_FeedbackHandlerModule* module) {
    if (module == nullptr)
        return XA_FAILURE;
    module->api_version_id = XA_FEEDBACK_HANDLER_API_VERSION;
    module->handler_probe = handlerProbe;
    module->handler_query = handlerQuery;
    module->handler_new = handlerNew;
    module->handler_delete = handlerDelete;
    module->handler_start = handlerNothing;
    module->handler_stop = handlerNothing;
    module->handler_command = handlerCommand;
    module->handler_audio_event = handlerAudioEvent;
    return XA_SUCCESS;
}

QString feedbackModuleRegistrationName() {
    const auto address = reinterpret_cast<quintptr>(&feedbackDisplayModuleInit);
    return QStringLiteral("function@") + QString::number(address, 16);
}

} // namespace engine
