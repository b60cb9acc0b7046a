#pragma once

#include "contracts/DeckSide.h"

#include "xaudio.h"

namespace mixer {

// Where the equalizer's tables go: the engine player of each deck. The
// application implements it with the decks' player components; tests
// record the calls. GUI thread only.
class EqualizerOutput {
public:
    virtual ~EqualizerOutput() = default;
    // A null table switches the deck's engine equalizer off; a table is
    // copied before the call returns.
    virtual void setCodecEqualizer(DeckSide deck, const XA_EqualizerInfo* table) = 0;
    // Asks the deck's engine for its current table (the reply is not used).
    virtual void getCodecEqualizer(DeckSide deck) = 0;
};

} // namespace mixer
