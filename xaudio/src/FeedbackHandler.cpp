#include "FeedbackHandler.h"

#include "Rounding.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace xaudio {
namespace {

constexpr const char* kFunctionPrefix = "function@";
constexpr int kMaximumEventRate = 1000;

// The address in "function@<hex>", or 0 when the text is anything else.
uintptr_t parseFunctionAddress(const std::string& name) {
    const std::string prefix = kFunctionPrefix;
    if (name.compare(0, prefix.size(), prefix) != 0)
        return 0;
    std::string digits = name.substr(prefix.size());
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X'))
        digits = digits.substr(2);
    if (digits.empty() || digits.size() > 2 * sizeof(uintptr_t))
        return 0;
    uintptr_t address = 0;
    for (char c : digits) {
        int digit = 0;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return 0;
        address = address * 16 + static_cast<uintptr_t>(digit);
    }
    return address;
}

} // namespace

FeedbackHandler::~FeedbackHandler() {
    stop();
}

int FeedbackHandler::registerModule(const std::string& name) {
    const uintptr_t address = parseFunctionAddress(name);
    if (address == 0)
        return XA_ERROR_NO_SUCH_MODULE;
    if (active())
        return XA_ERROR_INVALID_STATE;
    // The module lives in this process: the address is its initialiser.
    const auto initialise = reinterpret_cast<XA_FeedbackHandlerModuleInit>(address);
    XA_FeedbackHandlerModule module{};
    if (initialise(&module) != XA_SUCCESS || module.api_version_id != XA_FEEDBACK_HANDLER_API_VERSION ||
        module.handler_new == nullptr)
        return XA_ERROR_NO_SUCH_MODULE;
    m_module = module;
    m_registered = true;
    return XA_SUCCESS;
}

int FeedbackHandler::query(XA_ModuleInfo* info, uint32_t flags) const {
    if (!m_registered || m_module.handler_query == nullptr)
        return XA_ERROR_NO_SUCH_MODULE;
    return m_module.handler_query(info, flags);
}

bool FeedbackHandler::environmentInteger(const std::string& name, int32_t* value) const {
    const auto found = m_integers.find(name);
    if (found == m_integers.end())
        return false;
    *value = found->second;
    return true;
}

bool FeedbackHandler::environmentString(const std::string& name, std::string* value) const {
    const auto found = m_strings.find(name);
    if (found == m_strings.end())
        return false;
    *value = found->second;
    return true;
}

bool FeedbackHandler::unsetEnvironment(const std::string& name) {
    const bool erased = m_integers.erase(name) + m_strings.erase(name) > 0;
    return erased;
}

int FeedbackHandler::setEventRate(int eventsPerSecond) {
    if (eventsPerSecond < 0 || eventsPerSecond > kMaximumEventRate)
        return XA_ERROR_INVALID_PARAMETERS;
    m_eventRate = eventsPerSecond;
    return XA_SUCCESS;
}

int FeedbackHandler::lookup(void* context, const char* name, int32_t* value) {
    const auto* handler = static_cast<const FeedbackHandler*>(context);
    if (name == nullptr || value == nullptr)
        return XA_ERROR_INVALID_PARAMETERS;
    return handler->environmentInteger(name, value) ? XA_SUCCESS : XA_ERROR_NO_SUCH_ENVIRONMENT;
}

int FeedbackHandler::start() {
    if (!m_registered)
        return XA_ERROR_NO_SUCH_MODULE;
    if (active())
        return XA_SUCCESS;
    if (!m_name.empty() && m_module.handler_probe != nullptr && m_module.handler_probe(m_name.c_str()) != 0)
        return XA_ERROR_NO_SUCH_MODULE;
    void* instance = nullptr;
    const int status = m_module.handler_new(&instance, m_name.c_str(), this, &FeedbackHandler::lookup);
    if (status != XA_SUCCESS)
        return status;
    if (instance == nullptr)
        return XA_FAILURE;
    m_instance = instance;
    if (m_module.handler_start != nullptr)
        m_module.handler_start(m_instance);
    m_history.fill(0.0f);
    m_framesSinceEvent = 0;
    return XA_SUCCESS;
}

int FeedbackHandler::stop() {
    if (!active())
        return XA_SUCCESS;
    if (m_module.handler_stop != nullptr)
        m_module.handler_stop(m_instance);
    if (m_module.handler_delete != nullptr)
        m_module.handler_delete(m_instance);
    m_instance = nullptr;
    return XA_SUCCESS;
}

int FeedbackHandler::command(uint32_t code, const void* data, uint32_t size) {
    if (!active())
        return XA_ERROR_INVALID_STATE;
    if (m_module.handler_command == nullptr)
        return XA_FAILURE;
    return m_module.handler_command(m_instance, code, data, size);
}

void FeedbackHandler::feed(const float* frames, size_t count, int sampleRateHz) {
    if (!raisesEvents())
        return;
    const size_t framesPerEvent = this->framesPerEvent(sampleRateHz);
    for (size_t i = 0; i < count; ++i) {
        m_history[2 * m_historyNext] = frames[2 * i];
        m_history[2 * m_historyNext + 1] = frames[2 * i + 1];
        m_historyNext = (m_historyNext + 1) % kSamplesPerEvent;
        if (++m_framesSinceEvent >= framesPerEvent) {
            m_framesSinceEvent = 0;
            emitEvent();
        }
    }
}

bool FeedbackHandler::raisesEvents() const {
    return active() && m_eventRate > 0 && m_module.handler_audio_event != nullptr;
}

size_t FeedbackHandler::framesPerEvent(int sampleRateHz) const {
    return static_cast<size_t>(std::max(1, sampleRateHz / m_eventRate));
}

size_t FeedbackHandler::framesUntilNextEvent(int sampleRateHz) const {
    if (!raisesEvents())
        return 0;
    const size_t perEvent = framesPerEvent(sampleRateHz);
    return perEvent - std::min(m_framesSinceEvent, perEvent - 1);
}

void FeedbackHandler::emitEvent() {
    std::array<int8_t, 2 * kSamplesPerEvent> samples{};
    for (size_t i = 0; i < kSamplesPerEvent; ++i) {
        const size_t frame = (m_historyNext + i) % kSamplesPerEvent;
        for (size_t channel = 0; channel < 2; ++channel) {
            const float value = std::clamp(m_history[2 * frame + channel], -1.0f, 1.0f) * 127.0f;
            samples[channel * kSamplesPerEvent + i] = static_cast<int8_t>(roundHalfAwayFromZero(value));
        }
    }
    const XA_AudioEvent event{2, kSamplesPerEvent, samples.data()};
    m_module.handler_audio_event(m_instance, &event);
}

} // namespace xaudio
