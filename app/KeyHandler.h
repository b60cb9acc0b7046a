#pragma once

#include "app/KeyCommands.h"

#include <functional>
#include <vector>

namespace app {

// The application's one key handler: it turns key-downs and key-ups into
// keyboard commands and hands them to `perform`. It remembers the keys held
// down, so that a held key keeps the meaning of its first press: its
// repeated key-downs fire only the commands that repeat (a bend sends the
// same bent pitch again; Space does not toggle at the repeat rate), and its
// release fires the key-up commands of the shift state it was pressed with,
// so letting go of Alt before "+" still ends the bend. GUI thread only.
class KeyHandler {
public:
    using Perform = std::function<void(const KeyCommand&)>;
    explicit KeyHandler(Perform perform);

    void keyDown(int virtualKey, platform::ShiftState held);
    void keyUp(int virtualKey, platform::ShiftState held);
    // Lets go of every held key as if it had been released, for when the
    // application loses the keyboard and would never see the releases.
    void releaseAll();

    bool isHeld(int virtualKey) const;

private:
    struct HeldKey {
        int virtualKey;
        platform::ShiftState pressedWith;
    };
    std::vector<HeldKey>::iterator findHeld(int virtualKey);

    Perform m_perform;
    std::vector<HeldKey> m_held;
};

} // namespace app
