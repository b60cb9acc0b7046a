#include "DeckEqualizers.h"

#include "Deck.h"

void DeckEqualizers::setCodecEqualizer(mixer::Deck deck, const XA_EqualizerInfo* table) {
    deckOf(deck).XaudioPlayer1->SetCodecEqualizer(table);
}

void DeckEqualizers::getCodecEqualizer(mixer::Deck deck) {
    deckOf(deck).XaudioPlayer1->GetCodecEqualizer();
}
