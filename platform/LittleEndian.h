#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

// The unsigned number stored in `count` bytes (at most 4), least significant
// first, as file formats of the platform the skins and play lists come from
// write them. The caller makes sure the bytes are there. Any thread.
inline uint32_t littleEndian(const unsigned char* bytes, size_t count) {
    uint32_t value = 0;
    for (size_t i = count; i > 0; --i)
        value = (value << 8) | bytes[i - 1];
    return value;
}

} // namespace platform
