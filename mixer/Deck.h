#pragma once

namespace mixer {

// The two decks the mixer feeds.
enum class Deck { A, B };

constexpr Deck otherDeck(Deck deck) {
    return deck == Deck::A ? Deck::B : Deck::A;
}

} // namespace mixer
