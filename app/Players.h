#pragma once

#include "Deck.h"

// Deck A, the main window: closing it ends the application.
class TPlayerA : public TDeck {
    Q_OBJECT
public:
    TPlayerA();
};

// Deck B.
class TPlayerB : public TDeck {
    Q_OBJECT
public:
    TPlayerB();
};
