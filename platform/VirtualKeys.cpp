#include "VirtualKeys.h"

namespace platform {

int virtualKeyFromQt(int qtKey) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return '0' + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return 'A' + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return 112 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Space:
        return vk::kSpace;
    case Qt::Key_PageUp:
        return vk::kPageUp;
    case Qt::Key_PageDown:
        return vk::kPageDown;
    case Qt::Key_End:
        return vk::kEnd;
    case Qt::Key_Home:
        return vk::kHome;
    case Qt::Key_Left:
        return vk::kLeft;
    case Qt::Key_Up:
        return vk::kUp;
    case Qt::Key_Right:
        return vk::kRight;
    case Qt::Key_Down:
        return vk::kDown;
    case Qt::Key_Insert:
        return vk::kInsert;
    case Qt::Key_Delete:
        return vk::kDelete;
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
        return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    // The plus/equals key is one key; shifted it reports "+".
    case Qt::Key_Equal:
    case Qt::Key_Plus:
        return vk::kEquals;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
        return vk::kMinus;
    // Shifted digits still name the digit key.
    case Qt::Key_Exclam:
        return '1';
    case Qt::Key_At:
        return '2';
    case Qt::Key_NumberSign:
        return '3';
    case Qt::Key_Dollar:
        return '4';
    case Qt::Key_Percent:
        return '5';
    case Qt::Key_AsciiCircum:
        return '6';
    case Qt::Key_Ampersand:
        return '7';
    default:
        return 0;
    }
}

ShiftState shiftStateFrom(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
    uint8_t bits = 0;
    if (modifiers & Qt::ShiftModifier)
        bits |= static_cast<uint8_t>(ShiftFlag::Shift);
    if (modifiers & Qt::AltModifier)
        bits |= static_cast<uint8_t>(ShiftFlag::Alt);
    if (modifiers & Qt::ControlModifier)
        bits |= static_cast<uint8_t>(ShiftFlag::Ctrl);
    if (buttons & Qt::LeftButton)
        bits |= static_cast<uint8_t>(ShiftFlag::Left);
    if (buttons & Qt::RightButton)
        bits |= static_cast<uint8_t>(ShiftFlag::Right);
    if (buttons & Qt::MiddleButton)
        bits |= static_cast<uint8_t>(ShiftFlag::Middle);
    return ShiftState::fromBits(bits);
}

} // namespace platform
