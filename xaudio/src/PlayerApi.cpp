// The player's C entry points: thin wrappers that copy the arguments into a
// command and queue it.
#include "AudioOutput.h"
#include "Player.h"
#include "xaudio.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

struct XA_Player {
    explicit XA_Player(const XA_NotificationTarget* target) : player(target) {}
    xaudio::Player player;
};

namespace {

// The largest block a *_SEND_MESSAGE command copies.
constexpr int kMaximumMessageBytes = 1 << 20;

int queue(XA_Player* player, xaudio::Command command) {
    if (player == nullptr)
        return XA_ERROR_INVALID_PARAMETERS;
    try {
        player->player.send(std::move(command));
        return XA_SUCCESS;
    } catch (const std::bad_alloc&) {
        return XA_ERROR_OUT_OF_MEMORY;
    } catch (...) {
        return XA_FAILURE;
    }
}

xaudio::Command makeCommand(int code) {
    xaudio::Command command;
    command.code = code;
    return command;
}

} // namespace

extern "C" XA_EXPORT int player_new(XA_Player** player, void* target) {
    if (player == nullptr)
        return XA_ERROR_INVALID_PARAMETERS;
    *player = nullptr;
    try {
        *player = new XA_Player(static_cast<const XA_NotificationTarget*>(target));
        return XA_SUCCESS;
    } catch (const std::bad_alloc&) {
        return XA_ERROR_OUT_OF_MEMORY;
    } catch (...) {
        return XA_FAILURE;
    }
}

extern "C" XA_EXPORT int player_delete(XA_Player* player) {
    if (player == nullptr)
        return XA_ERROR_INVALID_PARAMETERS;
    std::unique_ptr<XA_Player> owner(player);
    return XA_SUCCESS;
}

extern "C" XA_EXPORT int player_set_priority(XA_Player* player, int priority) {
    if (player == nullptr)
        return XA_ERROR_INVALID_PARAMETERS;
    return player->player.setPriority(priority);
}

extern "C" XA_EXPORT int player_get_priority(XA_Player* player) {
    if (player == nullptr)
        return XA_ERROR_INVALID_PARAMETERS;
    return player->player.priority();
}

extern "C" XA_EXPORT int control_message_send_N(XA_Player* player, int code) {
    return queue(player, makeCommand(code));
}

extern "C" XA_EXPORT int control_message_send_P(XA_Player* player, int code, const void* pointer) {
    xaudio::Command command = makeCommand(code);
    if (pointer != nullptr) {
        command.hasPointer = true;
        // The only pointer command the engine reads is the equalizer table.
        if (code == XA_MSG_SET_CODEC_EQUALIZER) {
            const auto* bytes = static_cast<const uint8_t*>(pointer);
            command.data.assign(bytes, bytes + sizeof(XA_EqualizerInfo));
        }
    }
    return queue(player, std::move(command));
}

extern "C" XA_EXPORT int control_message_send_S(XA_Player* player, int code, const char* text) {
    if (text == nullptr)
        return XA_ERROR_INVALID_PARAMETERS;
    xaudio::Command command = makeCommand(code);
    command.text1 = text;
    return queue(player, std::move(command));
}

extern "C" XA_EXPORT int control_message_send_SS(XA_Player* player, int code, const char* text1, const char* text2) {
    if (text1 == nullptr || text2 == nullptr)
        return XA_ERROR_INVALID_PARAMETERS;
    xaudio::Command command = makeCommand(code);
    command.text1 = text1;
    command.text2 = text2;
    return queue(player, std::move(command));
}

extern "C" XA_EXPORT int control_message_send_SI(XA_Player* player, int code, const char* text, int integer) {
    if (text == nullptr)
        return XA_ERROR_INVALID_PARAMETERS;
    xaudio::Command command = makeCommand(code);
    command.text1 = text;
    command.integer1 = integer;
    return queue(player, std::move(command));
}

extern "C" XA_EXPORT int control_message_send_IPI(XA_Player* player, int code, int integer1, const void* pointer,
                                                  int integer2) {
    if (integer2 < 0 || integer2 > kMaximumMessageBytes || (pointer == nullptr && integer2 > 0))
        return XA_ERROR_INVALID_PARAMETERS;
    xaudio::Command command = makeCommand(code);
    command.integer1 = integer1;
    command.integer2 = integer2;
    if (pointer != nullptr) {
        command.hasPointer = true;
        const auto* bytes = static_cast<const uint8_t*>(pointer);
        command.data.assign(bytes, bytes + integer2);
    }
    return queue(player, std::move(command));
}

extern "C" XA_EXPORT int control_message_send_I(XA_Player* player, int code, int integer) {
    xaudio::Command command = makeCommand(code);
    command.integer1 = integer;
    return queue(player, std::move(command));
}

extern "C" XA_EXPORT int control_message_send_II(XA_Player* player, int code, int integer1, int integer2) {
    xaudio::Command command = makeCommand(code);
    command.integer1 = integer1;
    command.integer2 = integer2;
    return queue(player, std::move(command));
}

extern "C" XA_EXPORT int control_message_send_III(XA_Player* player, int code, int integer1, int integer2,
                                                  int integer3) {
    xaudio::Command command = makeCommand(code);
    command.integer1 = integer1;
    command.integer2 = integer2;
    command.integer3 = integer3;
    return queue(player, std::move(command));
}

extern "C" XA_EXPORT int control_message_send_IIII(XA_Player* player, int code, int integer1, int integer2,
                                                   int integer3, int integer4) {
    xaudio::Command command = makeCommand(code);
    command.integer1 = integer1;
    command.integer2 = integer2;
    command.integer3 = integer3;
    command.integer4 = integer4;
    return queue(player, std::move(command));
}

extern "C" XA_EXPORT int control_win32_params_to_message(XA_Player* player, XA_Message* message,
                                                         uint32_t message_number, uintptr_t wparam, intptr_t lparam) {
    (void)player;
    (void)wparam;
    if (message == nullptr || lparam == 0)
        return XA_FAILURE;
    if (message_number < XA_NOTIFICATION_MESSAGE_BASE || message_number > XA_NOTIFICATION_MESSAGE_BASE + 0xff)
        return XA_FAILURE;
    XA_Message copy{};
    std::memcpy(&copy, reinterpret_cast<const void*>(lparam), sizeof copy);
    if (copy.code != static_cast<int32_t>(message_number - XA_NOTIFICATION_MESSAGE_BASE))
        return XA_FAILURE;
    *message = copy;
    return XA_SUCCESS;
}

extern "C" XA_EXPORT int xaudio_output_device_name(int number, char* buffer, size_t size) {
    if (buffer == nullptr || size == 0)
        return XA_ERROR_INVALID_PARAMETERS;
    try {
        const std::string name = xaudio::outputDeviceName(number);
        if (name.empty())
            return XA_ERROR_NO_SUCH_DEVICE;
        const size_t length = std::min(name.size(), size - 1);
        std::memcpy(buffer, name.data(), length);
        buffer[length] = '\0';
        return XA_SUCCESS;
    } catch (...) {
        return XA_FAILURE;
    }
}

extern "C" XA_EXPORT int xaudio_output_device_count(void) {
    try {
        return xaudio::outputDeviceCount();
    } catch (...) {
        return 0;
    }
}
