#pragma once

#include "mixer/EqualizerOutput.h"

class TDeck;

// Hands the equalizer's tables to the decks' player components. Both decks
// must outlive it.
class DeckEqualizers : public mixer::EqualizerOutput {
public:
    DeckEqualizers(TDeck& deckA, TDeck& deckB) : m_deckA(deckA), m_deckB(deckB) {}

    void setCodecEqualizer(DeckSide deck, const XA_EqualizerInfo* table) override;
    void getCodecEqualizer(DeckSide deck) override;

private:
    TDeck& deckOf(DeckSide deck) const { return deck == DeckSide::A ? m_deckA : m_deckB; }

    TDeck& m_deckA;
    TDeck& m_deckB;
};
