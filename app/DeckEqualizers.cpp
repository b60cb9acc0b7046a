#include "DeckEqualizers.h"

#include "Deck.h"

void DeckEqualizers::setCodecEqualizer(DeckSide deck, const XA_EqualizerInfo* table) {
    deckOf(deck).XaudioPlayer1->SetCodecEqualizer(table);
}

void DeckEqualizers::getCodecEqualizer(DeckSide deck) {
    deckOf(deck).XaudioPlayer1->GetCodecEqualizer();
}
