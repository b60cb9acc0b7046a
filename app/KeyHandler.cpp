#include "KeyHandler.h"

#include <algorithm>
#include <utility>

namespace app {

KeyHandler::KeyHandler(Perform perform) : m_perform(std::move(perform)) {}

std::vector<KeyHandler::HeldKey>::iterator KeyHandler::findHeld(int virtualKey) {
    return std::find_if(m_held.begin(), m_held.end(),
                        [virtualKey](const HeldKey& key) { return key.virtualKey == virtualKey; });
}

bool KeyHandler::isHeld(int virtualKey) const {
    return std::any_of(m_held.begin(), m_held.end(),
                       [virtualKey](const HeldKey& key) { return key.virtualKey == virtualKey; });
}

void KeyHandler::keyDown(int virtualKey, platform::ShiftState held) {
    // Modifier keys and keys without a code of their own fire nothing.
    if (virtualKey == 0)
        return;
    const auto heldKey = findHeld(virtualKey);
    if (heldKey == m_held.end()) {
        m_held.push_back({virtualKey, held});
        for (const KeyCommand& command : keyDownCommands(virtualKey, held))
            m_perform(command);
        return;
    }
    const platform::ShiftState pressedWith = heldKey->pressedWith;
    for (const KeyCommand& command : keyDownCommands(virtualKey, pressedWith))
        if (repeatsWhileHeld(command))
            m_perform(command);
}

void KeyHandler::keyUp(int virtualKey, platform::ShiftState held) {
    if (virtualKey == 0)
        return;
    const auto heldKey = findHeld(virtualKey);
    if (heldKey != m_held.end()) {
        held = heldKey->pressedWith;
        m_held.erase(heldKey);
    }
    for (const KeyCommand& command : keyUpCommands(virtualKey, held))
        m_perform(command);
}

void KeyHandler::releaseAll() {
    // Swapped out first: a command may reach this handler again.
    std::vector<HeldKey> held;
    held.swap(m_held);
    for (const HeldKey& key : held)
        for (const KeyCommand& command : keyUpCommands(key.virtualKey, key.pressedWith))
            m_perform(command);
}

} // namespace app
