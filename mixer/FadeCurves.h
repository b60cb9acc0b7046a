#pragma once

#include "contracts/DeckSide.h"

#include <array>
#include <cstddef>

namespace mixer {

// The level to which cuts, flashes and automatic fades bring the incoming
// deck; deliberately below the channel faders' top of 100.
inline constexpr int FadeTop = 80;
// How many ticks the Equal curve holds the incoming deck at FadeTop before
// it lowers the outgoing deck.
inline constexpr int EqualHoldTicks = 9;

// The shapes of an automatic transition. T is the fader of the deck faded
// to, O the fader of the other deck; each tick moves them by:
//   Linear    T += 5, O -= 5
//   FastSlow  T += 5, O -= 10
//   SlowFast  T += 10, O -= 5
//   Equal     T += 5; O -= 5 once T has been at FadeTop for EqualHoldTicks ticks
//   SlowSlow  O -= 5 until it is silent, then T += 5
enum class Curve { Linear, FastSlow, SlowFast, Equal, SlowSlow };

// One running automatic transition: its curve and the deck it fades to.
struct Fade {
    Curve curve;
    DeckSide target;
    constexpr bool operator==(const Fade&) const = default;
};

inline constexpr std::size_t kFadeCount = 10;

// The order in which a tick visits the running fades. It matters when more
// than one runs: each steps and sends in turn.
inline constexpr std::array<Fade, kFadeCount> kTickOrder = {{
    {Curve::Linear, DeckSide::B},
    {Curve::Linear, DeckSide::A},
    {Curve::FastSlow, DeckSide::B},
    {Curve::FastSlow, DeckSide::A},
    {Curve::SlowFast, DeckSide::B},
    {Curve::SlowFast, DeckSide::A},
    {Curve::Equal, DeckSide::B},
    {Curve::Equal, DeckSide::A},
    {Curve::SlowSlow, DeckSide::B},
    {Curve::SlowSlow, DeckSide::A},
}};

// The index of a fade in kTickOrder, for flag tables kept in that order.
std::size_t fadeIndex(Fade fade);

enum class FadeProgress { Running, Finished };

// Moves the faders by one tick of `curve`, then brings them back into
// range: O not below 0, T not above FadeTop. `equalCount` is the Equal
// curve's hold counter. Finished when T is at FadeTop and O is silent.
FadeProgress stepFade(Curve curve, int& target, int& other, int& equalCount);

} // namespace mixer
