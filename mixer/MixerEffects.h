#pragma once

#include "contracts/DeckSide.h"

#include <string_view>

namespace mixer {

// What the mixer logic does to the world, in the order it does it: levels
// posted to the decks and changes to the skin's elements. The window
// implements it with posted messages and the skin engine; tests record it.
// Called on the GUI thread only.
class MixerEffects {
public:
    virtual ~MixerEffects() = default;
    // Posts the output level (fader minus cut, not clamped) to a deck.
    virtual void postLevel(DeckSide deck, int level) = 0;
    virtual void setTrackBarPosition(std::string_view name, int position) = 0;
    virtual void setDisplayText(std::string_view name, std::string_view text) = 0;
    virtual void setGaugeRange(std::string_view name, int min, int max) = 0;
    virtual void setGaugePosition(std::string_view name, int value) = 0;
};

} // namespace mixer
