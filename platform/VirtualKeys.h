#pragma once

#include <Qt>

#include <cstdint>

namespace platform {

// The virtual key codes the key handler works with.
namespace vk {
constexpr int kSpace = 32;
constexpr int kPageUp = 33;
constexpr int kPageDown = 34;
constexpr int kEnd = 35;
constexpr int kHome = 36;
constexpr int kLeft = 37;
constexpr int kUp = 38;
constexpr int kRight = 39;
constexpr int kDown = 40;
constexpr int kInsert = 45;
constexpr int kDelete = 46;
constexpr int kEquals = 187; // the plus/equals key
constexpr int kMinus = 189;
} // namespace vk

// The keys and mouse buttons held during an input event.
enum class ShiftFlag : uint8_t { Shift = 1, Alt = 2, Ctrl = 4, Left = 8, Right = 16, Middle = 32 };

class ShiftState {
public:
    constexpr ShiftState() = default;
    constexpr ShiftState(std::initializer_list<ShiftFlag> flags) {
        for (ShiftFlag flag : flags)
            m_bits |= static_cast<uint8_t>(flag);
    }
    constexpr bool has(ShiftFlag flag) const { return (m_bits & static_cast<uint8_t>(flag)) != 0; }
    constexpr bool operator==(const ShiftState&) const = default;
    constexpr uint8_t bits() const { return m_bits; }
    static constexpr ShiftState fromBits(uint8_t bits) {
        ShiftState state;
        state.m_bits = bits;
        return state;
    }

private:
    uint8_t m_bits = 0;
};

// Maps a Qt key to its virtual key code; 0 for keys without one.
int virtualKeyFromQt(int qtKey);
ShiftState shiftStateFrom(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons = Qt::NoButton);

} // namespace platform
