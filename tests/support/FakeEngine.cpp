#include "FakeEngine.h"

#include "FakeXaudioControl.h"

#include <cstring>
#include <dlfcn.h>
#include <stdexcept>

namespace test_support {

std::string fakeEnginePath(FakeEngineVariant variant) {
    const std::string folder = DROVAN_FAKE_XAUDIO_FOLDER;
    switch (variant) {
    case FakeEngineVariant::Version36:
        return folder + "/libfakexaudio36.so";
    case FakeEngineVariant::WithoutParamsToMessage:
        return folder + "/libfakexaudionoparams.so";
    case FakeEngineVariant::Normal:
        break;
    }
    return folder + "/libfakexaudio.so";
}

FakeEngine::FakeEngine(FakeEngineVariant variant) : m_path(fakeEnginePath(variant)) {
    m_handle = dlopen(m_path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (m_handle == nullptr)
        throw std::runtime_error("cannot load the fake engine " + m_path);
    reset();
}

FakeEngine::~FakeEngine() {
    dlclose(m_handle);
}

template <typename Function> Function FakeEngine::function(const char* name) const {
    void* address = dlsym(m_handle, name);
    if (address == nullptr)
        throw std::runtime_error(std::string("the fake engine lacks ") + name);
    return reinterpret_cast<Function>(address);
}

std::vector<FakeCommand> FakeEngine::commands() const {
    const auto count = function<decltype(&fake_xaudio_command_count)>("fake_xaudio_command_count")();
    const auto at = function<decltype(&fake_xaudio_command_at)>("fake_xaudio_command_at");
    std::vector<FakeCommand> result;
    for (int index = 0; index < count; ++index) {
        FakeXaudioCommand raw{};
        if (at(index, &raw) == 0)
            break;
        FakeCommand command;
        command.player = raw.player;
        command.code = raw.code;
        command.kinds = raw.kinds;
        command.integers.assign(raw.integers, raw.integers + raw.integer_count);
        for (int text = 0; text < raw.text_count; ++text)
            command.texts.emplace_back(raw.texts[text]);
        command.hasPointer = raw.has_pointer != 0;
        command.pointerIsNull = raw.pointer_is_null != 0;
        command.pointerBytes.assign(raw.pointer_bytes, raw.pointer_bytes + raw.pointer_size);
        result.push_back(std::move(command));
    }
    return result;
}

std::vector<FakeCommand> FakeEngine::commandsWithCode(int code) const {
    std::vector<FakeCommand> result;
    for (auto& command : commands())
        if (command.code == code)
            result.push_back(std::move(command));
    return result;
}

std::optional<FakeCommand> FakeEngine::lastCommand() const {
    auto all = commands();
    if (all.empty())
        return std::nullopt;
    return all.back();
}

void FakeEngine::reset() {
    function<decltype(&fake_xaudio_reset)>("fake_xaudio_reset")();
}

void FakeEngine::setCommandStatus(int status) {
    function<decltype(&fake_xaudio_set_command_status)>("fake_xaudio_set_command_status")(status);
}

void FakeEngine::setPlayerNewStatus(int status) {
    function<decltype(&fake_xaudio_set_player_new_status)>("fake_xaudio_set_player_new_status")(status);
}

void FakeEngine::setAutoReply(bool enabled) {
    function<decltype(&fake_xaudio_set_auto_reply)>("fake_xaudio_set_auto_reply")(enabled ? 1 : 0);
}

int FakeEngine::livePlayers() const {
    return function<decltype(&fake_xaudio_live_players)>("fake_xaudio_live_players")();
}

XA_Player* FakeEngine::lastPlayer() const {
    return function<decltype(&fake_xaudio_last_player)>("fake_xaudio_last_player")();
}

int FakeEngine::priority(XA_Player* player) const {
    return function<decltype(&fake_xaudio_priority)>("fake_xaudio_priority")(player);
}

int FakeEngine::setPriorityCalls() const {
    return function<decltype(&fake_xaudio_set_priority_calls)>("fake_xaudio_set_priority_calls")();
}

int FakeEngine::post(XA_Player* player, const XA_Message& message) const {
    return function<decltype(&fake_xaudio_post)>("fake_xaudio_post")(player, &message);
}

int FakeEngine::postRaw(XA_Player* player, uint32_t number, uintptr_t wparam, const void* payload, size_t size) const {
    return function<decltype(&fake_xaudio_post_raw)>("fake_xaudio_post_raw")(player, number, wparam, payload, size);
}

XA_Message notification(int code) {
    XA_Message message;
    std::memset(&message, 0, sizeof(message));
    message.code = code;
    return message;
}

XA_Message playerStateNotification(int state) {
    XA_Message message = notification(XA_MSG_NOTIFY_PLAYER_STATE);
    message.data.state = state;
    return message;
}

XA_Message inputNameNotification(const std::string& name) {
    XA_Message message = notification(XA_MSG_NOTIFY_INPUT_NAME);
    std::strncpy(message.data.name, name.c_str(), sizeof(message.data.name) - 1);
    return message;
}

XA_Message inputPositionNotification(uint32_t offset, uint32_t range) {
    XA_Message message = notification(XA_MSG_NOTIFY_INPUT_POSITION);
    message.data.position.offset = offset;
    message.data.position.range = range;
    return message;
}

XA_Message inputTimecodeNotification(uint8_t hours, uint8_t minutes, uint8_t seconds, uint8_t hundredths) {
    XA_Message message = notification(XA_MSG_NOTIFY_INPUT_TIMECODE);
    message.data.timecode.h = hours;
    message.data.timecode.m = minutes;
    message.data.timecode.s = seconds;
    message.data.timecode.f = hundredths;
    return message;
}

XA_Message streamDurationNotification(uint32_t seconds) {
    XA_Message message = notification(XA_MSG_NOTIFY_STREAM_DURATION);
    message.data.duration = seconds;
    return message;
}

XA_Message streamParametersNotification(uint32_t frequencyHz, int16_t bitrateKbps, uint8_t channels) {
    XA_Message message = notification(XA_MSG_NOTIFY_STREAM_PARAMETERS);
    message.data.stream_parameters.frequency = frequencyHz;
    message.data.stream_parameters.bitrate = bitrateKbps;
    message.data.stream_parameters.nb_channels = channels;
    return message;
}

XA_Message nackNotification(uint8_t command, int16_t status) {
    XA_Message message = notification(XA_MSG_NOTIFY_NACK);
    message.data.nack.command = command;
    message.data.nack.code = status;
    return message;
}

} // namespace test_support
