#pragma once

#include "xaudio.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>

namespace xaudio {

// One player's feedback handler: the module registered as
// "function@<address>", its environment, and the running instance that is
// fed blocks of the output at the configured event rate. Used on the
// player's command thread only.
class FeedbackHandler {
public:
    static constexpr uint32_t kSamplesPerEvent = 512;

    FeedbackHandler() = default;
    ~FeedbackHandler();
    FeedbackHandler(const FeedbackHandler&) = delete;
    FeedbackHandler& operator=(const FeedbackHandler&) = delete;

    // Calls the initialiser at the address in name and checks its table.
    int registerModule(const std::string& name);
    int query(XA_ModuleInfo* info, uint32_t flags) const;

    void setEnvironmentInteger(const std::string& name, int32_t value) { m_integers[name] = value; }
    void setEnvironmentString(const std::string& name, const std::string& value) { m_strings[name] = value; }
    bool environmentInteger(const std::string& name, int32_t* value) const;
    bool environmentString(const std::string& name, std::string* value) const;
    bool unsetEnvironment(const std::string& name);

    void setName(const std::string& name) { m_name = name; }
    const std::string& name() const { return m_name; }
    int setEventRate(int eventsPerSecond);
    int eventRate() const { return m_eventRate; }
    void setModuleId(int id) { m_moduleId = id; }
    int moduleId() const { return m_moduleId; }

    // Creates and starts the instance; stop() ends and deletes it.
    int start();
    int stop();
    bool active() const { return m_instance != nullptr; }
    int command(uint32_t code, const void* data, uint32_t size);

    // Takes frames x 2 interleaved float samples of output audio and raises
    // an audio event whenever one is due.
    void feed(const float* frames, size_t count, int sampleRateHz);
    // Frames still to be fed before the next event; 0 when none will come.
    size_t framesUntilNextEvent(int sampleRateHz) const;

private:
    static int lookup(void* context, const char* name, int32_t* value);
    void emitEvent();
    bool raisesEvents() const;
    size_t framesPerEvent(int sampleRateHz) const;

    bool m_registered = false;
    XA_FeedbackHandlerModule m_module{};
    void* m_instance = nullptr;
    std::map<std::string, int32_t> m_integers;
    std::map<std::string, std::string> m_strings;
    std::string m_name;
    int m_eventRate = 20;
    int m_moduleId = 0;
    std::array<float, 2 * kSamplesPerEvent> m_history{};
    size_t m_historyNext = 0;
    size_t m_framesSinceEvent = 0;
};

} // namespace xaudio
