#pragma once

#include "xaudio.h"

#include <string>

namespace platform {
class SharedLibrary;
}

namespace engine {

// The player entry points of the engine library, looked up by name. Either
// every slot is bound or every slot is empty: a library that lacks one of
// them is of no use to the player component. Not thread-safe; the owner's
// thread only.
struct XaudioBinding {
    decltype(&::player_new) player_new = nullptr;
    decltype(&::player_delete) player_delete = nullptr;
    decltype(&::player_set_priority) player_set_priority = nullptr;
    decltype(&::player_get_priority) player_get_priority = nullptr;
    decltype(&::xaudio_error_string) xaudio_error_string = nullptr;
    decltype(&::xaudio_get_version) xaudio_get_version = nullptr;
    decltype(&::control_message_send_N) control_message_send_N = nullptr;
    decltype(&::control_message_send_P) control_message_send_P = nullptr;
    decltype(&::control_message_send_S) control_message_send_S = nullptr;
    decltype(&::control_message_send_SS) control_message_send_SS = nullptr;
    decltype(&::control_message_send_SI) control_message_send_SI = nullptr;
    decltype(&::control_message_send_IPI) control_message_send_IPI = nullptr;
    decltype(&::control_message_send_I) control_message_send_I = nullptr;
    decltype(&::control_message_send_II) control_message_send_II = nullptr;
    decltype(&::control_message_send_III) control_message_send_III = nullptr;
    decltype(&::control_message_send_IIII) control_message_send_IIII = nullptr;
    decltype(&::control_win32_params_to_message) control_win32_params_to_message = nullptr;

    static constexpr int kEntryPointCount = 17;

    // Looks the entry points up in the order the engine documents them.
    // Returns the name of the first one that is missing (and leaves every
    // slot empty), or an empty text when all are bound.
    std::string bind(const platform::SharedLibrary& library);
    void clear();
    // How many slots hold an address: 0 or kEntryPointCount.
    int boundCount() const;
};

} // namespace engine
