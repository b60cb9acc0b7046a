#pragma once

#include "mixer/MixerEffects.h"

#include <string>
#include <vector>

// Records what the mixer logic does as short lines, in order:
// "post A 80", "slider PitchSliderF 50", "text GainA 80",
// "range Left 0 50", "gauge LeftA 0".
class RecordingEffects : public mixer::MixerEffects {
public:
    void postLevel(DeckSide deck, int level) override;
    void setTrackBarPosition(std::string_view name, int position) override;
    void setDisplayText(std::string_view name, std::string_view text) override;
    void setGaugeRange(std::string_view name, int min, int max) override;
    void setGaugePosition(std::string_view name, int value) override;

    // The lines recorded since the last call, which forgets them.
    std::vector<std::string> take();
    // The levels posted to one deck since the last take.
    std::vector<int> postedTo(DeckSide deck) const;
    // The last level posted to a deck; -1000 when none was.
    int lastPosted(DeckSide deck) const;

    std::vector<std::string> lines;

private:
    std::vector<std::pair<DeckSide, int>> m_posts;
    int m_lastA = -1000;
    int m_lastB = -1000;
};
