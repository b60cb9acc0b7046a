// A stand-in for the engine library with the same C ABI. It plays nothing:
// it records every command, answers with configurable statuses, and posts
// the notifications a test hands it through the player's target, so that
// the application's side of the engine can be tested without sound.
//
// Built in variants by compile definitions:
//   FAKE_XAUDIO_MINOR=n                    the minor version it reports (8)
//   FAKE_XAUDIO_WITHOUT_PARAMS_TO_MESSAGE  control_win32_params_to_message missing
#include "FakeXaudioControl.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#ifndef FAKE_XAUDIO_MINOR
#define FAKE_XAUDIO_MINOR 8
#endif

struct XA_Player {
    XA_NotificationTarget* target = nullptr;
    int priority = 4;
};

namespace {

struct State {
    std::mutex mutex;
    std::vector<FakeXaudioCommand> commands;
    std::vector<std::unique_ptr<XA_Player>> players;
    XA_Player* lastPlayer = nullptr;
    int commandStatus = XA_SUCCESS;
    int playerNewStatus = XA_SUCCESS;
    int setPriorityCalls = 0;
    bool autoReply = false;
    std::map<int, std::string> errorTexts;
};

State& state() {
    static State instance;
    return instance;
}

bool isLive(State& s, XA_Player* player) {
    return std::any_of(s.players.begin(), s.players.end(), [player](const auto& p) { return p.get() == player; });
}

int postThrough(XA_Player* player, uint32_t number, uintptr_t wparam, const void* payload, size_t size);

// The answer the real engine gives every command: an ack, or a nack with the
// command and the status.
void postReply(XA_Player* player, int command, int status) {
    XA_Message message;
    std::memset(&message, 0, sizeof(message));
    if (status == XA_SUCCESS) {
        message.code = XA_MSG_NOTIFY_ACK;
        message.data.ack.command = static_cast<uint8_t>(command);
    } else {
        message.code = XA_MSG_NOTIFY_NACK;
        message.data.nack.command = static_cast<uint8_t>(command);
        message.data.nack.code = static_cast<int16_t>(status);
    }
    postThrough(player, XA_NOTIFICATION_MESSAGE_BASE + static_cast<uint32_t>(message.code), 0, &message,
                sizeof(message));
}

// Collects one command's arguments in call order.
class Recorder {
public:
    Recorder(XA_Player* player, int code, const char* kinds) {
        m_command.player = player;
        m_command.code = code;
        std::strncpy(m_command.kinds, kinds, sizeof(m_command.kinds) - 1);
    }
    Recorder& integer(int value) {
        m_command.integers[m_command.integer_count++] = value;
        return *this;
    }
    Recorder& text(const char* value) {
        if (value != nullptr)
            std::strncpy(m_command.texts[m_command.text_count], value, FAKE_XAUDIO_TEXT_SIZE - 1);
        ++m_command.text_count;
        return *this;
    }
    Recorder& pointer(const void* value, size_t size) {
        m_command.has_pointer = 1;
        m_command.pointer_is_null = value == nullptr ? 1 : 0;
        if (value != nullptr) {
            m_command.pointer_size = static_cast<uint32_t>(std::min<size_t>(size, FAKE_XAUDIO_POINTER_BYTES));
            std::memcpy(m_command.pointer_bytes, value, m_command.pointer_size);
        }
        return *this;
    }
    int finish() {
        State& s = state();
        int status = XA_SUCCESS;
        bool reply = false;
        {
            std::lock_guard lock(s.mutex);
            s.commands.push_back(m_command);
            status = s.commandStatus;
            reply = s.autoReply;
        }
        if (reply)
            postReply(m_command.player, m_command.code, status);
        return status;
    }

private:
    FakeXaudioCommand m_command{};
};

int postThrough(XA_Player* player, uint32_t number, uintptr_t wparam, const void* payload, size_t size) {
    State& s = state();
    // Holding the lock while posting means that after player_delete has
    // returned nothing more is posted, as the real engine promises.
    std::lock_guard lock(s.mutex);
    if (!isLive(s, player) || player->target == nullptr || player->target->post == nullptr)
        return XA_ERROR_INVALID_PARAMETERS;
    player->target->post(player->target->context, number, wparam, payload, size);
    return XA_SUCCESS;
}

} // namespace

extern "C" {

XA_EXPORT uint32_t xaudio_get_version(int selector) {
    if (selector != XA_API_ID_ASYNC && selector != XA_API_ID_SYNC)
        return 0;
    return XA_VERSION_WORD(3, FAKE_XAUDIO_MINOR, selector);
}

XA_EXPORT const char* xaudio_error_string(int status) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    auto found = s.errorTexts.find(status);
    if (found == s.errorTexts.end())
        found = s.errorTexts.emplace(status, status == 0 ? "success" : "fake error " + std::to_string(status)).first;
    return found->second.c_str();
}

XA_EXPORT int player_new(XA_Player** player, void* target) {
    if (player == nullptr)
        return XA_ERROR_INVALID_PARAMETERS;
    State& s = state();
    std::lock_guard lock(s.mutex);
    if (s.playerNewStatus != XA_SUCCESS)
        return s.playerNewStatus;
    auto created = std::make_unique<XA_Player>();
    created->target = static_cast<XA_NotificationTarget*>(target);
    *player = created.get();
    s.lastPlayer = created.get();
    s.players.push_back(std::move(created));
    return XA_SUCCESS;
}

XA_EXPORT int player_delete(XA_Player* player) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    auto found =
        std::find_if(s.players.begin(), s.players.end(), [player](const auto& p) { return p.get() == player; });
    if (found == s.players.end())
        return XA_ERROR_INVALID_PARAMETERS;
    s.players.erase(found);
    if (s.lastPlayer == player)
        s.lastPlayer = nullptr;
    return XA_SUCCESS;
}

XA_EXPORT int player_set_priority(XA_Player* player, int priority) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    ++s.setPriorityCalls;
    if (!isLive(s, player))
        return XA_ERROR_INVALID_PARAMETERS;
    player->priority = priority;
    return XA_SUCCESS;
}

XA_EXPORT int player_get_priority(XA_Player* player) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    return isLive(s, player) ? player->priority : XA_ERROR_INVALID_PARAMETERS;
}

XA_EXPORT int control_message_send_N(XA_Player* player, int code) {
    return Recorder(player, code, "N").finish();
}

XA_EXPORT int control_message_send_P(XA_Player* player, int code, const void* pointer) {
    return Recorder(player, code, "P").pointer(pointer, sizeof(XA_EqualizerInfo)).finish();
}

XA_EXPORT int control_message_send_S(XA_Player* player, int code, const char* text) {
    return Recorder(player, code, "S").text(text).finish();
}

XA_EXPORT int control_message_send_SS(XA_Player* player, int code, const char* text1, const char* text2) {
    return Recorder(player, code, "SS").text(text1).text(text2).finish();
}

XA_EXPORT int control_message_send_SI(XA_Player* player, int code, const char* text, int integer) {
    return Recorder(player, code, "SI").text(text).integer(integer).finish();
}

XA_EXPORT int control_message_send_IPI(XA_Player* player, int code, int integer1, const void* pointer, int integer2) {
    return Recorder(player, code, "IPI")
        .integer(integer1)
        .pointer(pointer, integer2 > 0 ? static_cast<size_t>(integer2) : 0)
        .integer(integer2)
        .finish();
}

XA_EXPORT int control_message_send_I(XA_Player* player, int code, int integer) {
    return Recorder(player, code, "I").integer(integer).finish();
}

XA_EXPORT int control_message_send_II(XA_Player* player, int code, int integer1, int integer2) {
    return Recorder(player, code, "II").integer(integer1).integer(integer2).finish();
}

XA_EXPORT int control_message_send_III(XA_Player* player, int code, int integer1, int integer2, int integer3) {
    return Recorder(player, code, "III").integer(integer1).integer(integer2).integer(integer3).finish();
}

XA_EXPORT int control_message_send_IIII(XA_Player* player, int code, int integer1, int integer2, int integer3,
                                        int integer4) {
    return Recorder(player, code, "IIII")
        .integer(integer1)
        .integer(integer2)
        .integer(integer3)
        .integer(integer4)
        .finish();
}

#ifndef FAKE_XAUDIO_WITHOUT_PARAMS_TO_MESSAGE
XA_EXPORT int control_win32_params_to_message(XA_Player*, XA_Message* message, uint32_t message_number, uintptr_t,
                                              intptr_t lparam) {
    if (message == nullptr || lparam == 0 || message_number < XA_NOTIFICATION_MESSAGE_BASE)
        return XA_FAILURE;
    std::memcpy(message, reinterpret_cast<const void*>(lparam), sizeof(XA_Message));
    message->code = static_cast<int32_t>(message_number - XA_NOTIFICATION_MESSAGE_BASE);
    return XA_SUCCESS;
}
#endif

XA_EXPORT int fake_xaudio_command_count(void) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    return static_cast<int>(s.commands.size());
}

XA_EXPORT int fake_xaudio_command_at(int index, FakeXaudioCommand* command) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    if (command == nullptr || index < 0 || index >= static_cast<int>(s.commands.size()))
        return 0;
    *command = s.commands[static_cast<size_t>(index)];
    return 1;
}

XA_EXPORT void fake_xaudio_reset(void) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.commands.clear();
    s.commandStatus = XA_SUCCESS;
    s.playerNewStatus = XA_SUCCESS;
    s.setPriorityCalls = 0;
    s.autoReply = false;
}

XA_EXPORT void fake_xaudio_set_auto_reply(int enabled) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.autoReply = enabled != 0;
}

XA_EXPORT void fake_xaudio_set_command_status(int status) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.commandStatus = status;
}

XA_EXPORT void fake_xaudio_set_player_new_status(int status) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.playerNewStatus = status;
}

XA_EXPORT int fake_xaudio_live_players(void) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    return static_cast<int>(s.players.size());
}

XA_EXPORT XA_Player* fake_xaudio_last_player(void) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    return s.lastPlayer;
}

XA_EXPORT int fake_xaudio_priority(XA_Player* player) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    return isLive(s, player) ? player->priority : -1;
}

XA_EXPORT int fake_xaudio_set_priority_calls(void) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    return s.setPriorityCalls;
}

XA_EXPORT int fake_xaudio_post(XA_Player* player, const XA_Message* message) {
    if (message == nullptr)
        return XA_ERROR_INVALID_PARAMETERS;
    return postThrough(player, XA_NOTIFICATION_MESSAGE_BASE + static_cast<uint32_t>(message->code), 0, message,
                       sizeof(XA_Message));
}

XA_EXPORT int fake_xaudio_post_raw(XA_Player* player, uint32_t number, uintptr_t wparam, const void* payload,
                                   size_t payload_size) {
    return postThrough(player, number, wparam, payload, payload_size);
}

} // extern "C"
