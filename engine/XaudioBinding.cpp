#include "XaudioBinding.h"

#include "platform/SharedLibrary.h"

namespace engine {
std::string XaudioBinding::bind(const platform::SharedLibrary& library) {
    // The order is part of the contract: the name reported for an
    // incomplete library is the first one missing in this order.
#define DROVAN_BIND(name)                                                                                              \
    if (!library.bind(#name, name)) {                                                                                  \
        clear();                                                                                                       \
        return #name;                                                                                                  \
    }
    DROVAN_BIND(player_new)
    DROVAN_BIND(player_delete)
    DROVAN_BIND(player_set_priority)
    DROVAN_BIND(player_get_priority)
    DROVAN_BIND(xaudio_error_string)
    DROVAN_BIND(xaudio_get_version)
    DROVAN_BIND(control_message_send_N)
    DROVAN_BIND(control_message_send_P)
    DROVAN_BIND(control_message_send_S)
    DROVAN_BIND(control_message_send_SS)
    DROVAN_BIND(control_message_send_SI)
    DROVAN_BIND(control_message_send_IPI)
    DROVAN_BIND(control_message_send_I)
    DROVAN_BIND(control_message_send_II)
    DROVAN_BIND(control_message_send_III)
    DROVAN_BIND(control_message_send_IIII)
    DROVAN_BIND(control_win32_params_to_message)
#undef DROVAN_BIND
    return {};
}

void XaudioBinding::clear() {
    *this = XaudioBinding{};
}

int XaudioBinding::boundCount() const {
    const void* slots[] = {
        reinterpret_cast<const void*>(player_new),
        reinterpret_cast<const void*>(player_delete),
        reinterpret_cast<const void*>(player_set_priority),
        reinterpret_cast<const void*>(player_get_priority),
        reinterpret_cast<const void*>(xaudio_error_string),
        reinterpret_cast<const void*>(xaudio_get_version),
        reinterpret_cast<const void*>(control_message_send_N),
        reinterpret_cast<const void*>(control_message_send_P),
        reinterpret_cast<const void*>(control_message_send_S),
        reinterpret_cast<const void*>(control_message_send_SS),
        reinterpret_cast<const void*>(control_message_send_SI),
        reinterpret_cast<const void*>(control_message_send_IPI),
        reinterpret_cast<const void*>(control_message_send_I),
        reinterpret_cast<const void*>(control_message_send_II),
        reinterpret_cast<const void*>(control_message_send_III),
        reinterpret_cast<const void*>(control_message_send_IIII),
        reinterpret_cast<const void*>(control_win32_params_to_message),
    };
    static_assert(sizeof(slots) / sizeof(slots[0]) == kEntryPointCount);
    int count = 0;
    for (const void* slot : slots)
        count += slot != nullptr ? 1 : 0;
    return count;
}

} // namespace engine
