#pragma once

// The two decks. Every folder that tells deck A from deck B uses this one
// enumeration.
enum class DeckSide { A, B };

constexpr DeckSide otherSide(DeckSide side) {
    return side == DeckSide::A ? DeckSide::B : DeckSide::A;
}
