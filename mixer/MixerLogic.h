#pragma once

#include "FadeCurves.h"
#include "MeterLevels.h"
#include "MixerEffects.h"
#include "contracts/DeckSide.h"

#include <array>
#include <string_view>

namespace mixer {

// Everything the mixer remembers. Faders and the crossfader run 0..100
// (100 loudest; a crossfader of 100 is deck A only).
struct MixerState {
    int FaderA = 80;
    int FaderB = 80;
    int CrossFader = 50;
    int CutA = 0;
    int CutB = 0;
    int EqualCount = 0;
    // One running flag per fade, in kTickOrder.
    std::array<bool, kFadeCount> fadeFlags{};
    bool FlashHeldA = false;
    bool FlashHeldB = false;
    // The fader of the other deck, saved when a flash to A / to B began.
    int FlashSavedB = 0;
    int FlashSavedA = 0;

    bool fadeRunning(Fade fade) const { return fadeFlags[fadeIndex(fade)]; }
    bool anyFadeRunning() const;
};

// The mixer's state machine without a window: it takes skin events by
// element name, the operations other windows call and the two timer ticks,
// and tells its MixerEffects what to post and show, in order. Trackbars
// show 100 minus the stored value, so a fader at the top stores 100. The
// meter values are kept by the caller and handed in. GUI thread only.
class MixerLogic {
public:
    explicit MixerLogic(MixerEffects& effects);

    const MixerState& state() const { return m_state; }

    // A trackbar of the skin moved to `position` (0..100 from the top or
    // left). Accepted while a fade runs.
    void trackBarMoved(std::string_view name, int position);
    // A press on a skin element: the same as Start.
    void mouseDown(std::string_view name) { Start(name); }
    // A release over a skin element: the same as Release.
    void mouseUp(std::string_view name) { Release(name); }
    // Pushes the whole state and the meter values into a newly loaded skin.
    void skinChanged(const DeckMeterValues& meters);
    // The 300 ms fade tick: steps every running fade in kTickOrder.
    void fadeTick();
    // The 50 ms meter refresh.
    void meterTick(const DeckMeterValues& meters);

    // Steps a fader ("A", "B") or the crossfader ("F") up ("INC") or down
    // ("DEC") by 5 within 0..100. Other arguments are ignored.
    void Nudge(std::string_view channel, std::string_view direction);
    // Starts a cut, a fade or a flash by its button name; ignored while any
    // fade runs, and for names that are none of these.
    void Start(std::string_view name);
    // Ends a flash by its button name, whether or not it was held; ignored
    // while any fade runs, and for other names.
    void Release(std::string_view name);
    // Linear fades started by the decks' automatic mixing. They start even
    // while a fade runs; a running fade toward the other deck is dropped so
    // the two cannot hold each other back forever.
    void AutoFadeToA() { startAutomaticFade(DeckSide::A); }
    void AutoFadeToB() { startAutomaticFade(DeckSide::B); }

private:
    int& fader(DeckSide deck);
    void send(DeckSide deck);
    void showFaderSliders();
    void applyCrossfaderLaw();
    void clearCuts();
    void stepFader(int& value, std::string_view direction);
    void cutTo(DeckSide deck);
    void startFade(Fade fade);
    void startAutomaticFade(DeckSide deck);
    void pressFlash(DeckSide deck);
    void releaseFlash(DeckSide deck);
    void showCutSliders();

    MixerEffects& m_effects;
    MixerState m_state;
};

} // namespace mixer
