#pragma once

#include "Deck.h"
#include "KeyHandler.h"

// Deck A, the main window: closing it ends the application.
class TPlayerA : public TDeck {
    Q_OBJECT
public:
    TPlayerA();
};

// Deck B. It owns the application's one key handler: its own key events go
// there, and the window set points the other windows' key hooks at
// FormKeyDown and FormKeyUp. The handler drives both decks (deck A as the
// other deck), the play list and, inside the window set, the mixer and the
// window toggles.
class TPlayerB : public TDeck {
    Q_OBJECT
public:
    TPlayerB();

    void FormKeyDown(int Key, platform::ShiftState Shift);
    void FormKeyUp(int Key, platform::ShiftState Shift);

private:
    void perform(const app::KeyCommand& command);

    app::KeyHandler m_keyHandler;
};
