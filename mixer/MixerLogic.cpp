#include "MixerLogic.h"

#include "CrossfaderLaw.h"
#include "MixerElements.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace mixer {

namespace {

constexpr int kSliderTop = 100;
constexpr int kNudgeStep = 5;
constexpr int kMainMeterMin = 0;
constexpr int kMainMeterMax = 50;

// Trackbars count from the top or left; the mixer stores the other way round.
int sliderPosition(int storedValue) {
    return kSliderTop - storedValue;
}

struct FadeButton {
    std::string_view name;
    Fade fade;
};

constexpr std::array<FadeButton, kFadeCount> kFadeButtons = {{
    {element::kLinearToA, {Curve::Linear, Deck::A}},
    {element::kLinearToB, {Curve::Linear, Deck::B}},
    {element::kEqualToA, {Curve::Equal, Deck::A}},
    {element::kEqualToB, {Curve::Equal, Deck::B}},
    {element::kSlowSlowToA, {Curve::SlowSlow, Deck::A}},
    {element::kSlowSlowToB, {Curve::SlowSlow, Deck::B}},
    {element::kFastSlowToA, {Curve::FastSlow, Deck::A}},
    {element::kFastSlowToB, {Curve::FastSlow, Deck::B}},
    {element::kSlowFastToA, {Curve::SlowFast, Deck::A}},
    {element::kSlowFastToB, {Curve::SlowFast, Deck::B}},
}};

} // namespace

bool MixerState::anyFadeRunning() const {
    return std::any_of(fadeFlags.begin(), fadeFlags.end(), [](bool running) { return running; });
}

MixerLogic::MixerLogic(MixerEffects& effects) : m_effects(effects) {}

int& MixerLogic::fader(Deck deck) {
    return deck == Deck::A ? m_state.FaderA : m_state.FaderB;
}

void MixerLogic::send(Deck deck) {
    // The gain display shows the channel fader, not the level after the cut.
    if (deck == Deck::A) {
        m_effects.postLevel(Deck::A, m_state.FaderA - m_state.CutA);
        m_effects.setDisplayText(element::kGainA, std::to_string(m_state.FaderA));
    } else {
        m_effects.postLevel(Deck::B, m_state.FaderB - m_state.CutB);
        m_effects.setDisplayText(element::kGainB, std::to_string(m_state.FaderB));
    }
}

void MixerLogic::showFaderSliders() {
    m_effects.setTrackBarPosition(element::kFaderA, sliderPosition(m_state.FaderA));
    m_effects.setTrackBarPosition(element::kFaderB, sliderPosition(m_state.FaderB));
}

void MixerLogic::showCutSliders() {
    // Cuts, flashes and fades show the crossfader at the centre but keep the
    // stored value, so the next crossfader nudge starts from where it was.
    m_effects.setTrackBarPosition(element::kCrossFader, kCrossFaderCentre);
    showFaderSliders();
}

void MixerLogic::applyCrossfaderLaw() {
    m_state.CutA = crossfaderCutA(m_state.CrossFader, m_state.FaderA);
    m_state.CutB = crossfaderCutB(m_state.CrossFader, m_state.FaderB);
    send(Deck::A);
    send(Deck::B);
}

void MixerLogic::clearCuts() {
    m_state.CutA = 0;
    m_state.CutB = 0;
}

void MixerLogic::trackBarMoved(std::string_view name, int position) {
    const int value = std::abs(position - kSliderTop);
    // A channel fader keeps the cut of the last crossfader move.
    if (name == element::kFaderA) {
        m_state.FaderA = value;
        send(Deck::A);
    } else if (name == element::kFaderB) {
        m_state.FaderB = value;
        send(Deck::B);
    } else if (name == element::kCrossFader) {
        m_state.CrossFader = value;
        applyCrossfaderLaw();
    }
}

void MixerLogic::stepFader(int& value, std::string_view direction) {
    // Nudges reach 100, above the automatic transitions' FadeTop.
    if (direction == nudge::kIncrease) {
        value += kNudgeStep;
        if (value >= kSliderTop)
            value = kSliderTop;
    } else {
        value -= kNudgeStep;
        if (value <= 0)
            value = 0;
    }
}

void MixerLogic::Nudge(std::string_view channel, std::string_view direction) {
    if (direction != nudge::kIncrease && direction != nudge::kDecrease)
        return;
    if (channel == nudge::kChannelA) {
        stepFader(m_state.FaderA, direction);
        m_effects.setTrackBarPosition(element::kFaderA, sliderPosition(m_state.FaderA));
        send(Deck::A);
    } else if (channel == nudge::kChannelB) {
        stepFader(m_state.FaderB, direction);
        m_effects.setTrackBarPosition(element::kFaderB, sliderPosition(m_state.FaderB));
        send(Deck::B);
    } else if (channel == nudge::kChannelCrossFader) {
        stepFader(m_state.CrossFader, direction);
        m_effects.setTrackBarPosition(element::kCrossFader, sliderPosition(m_state.CrossFader));
        applyCrossfaderLaw();
    }
}

void MixerLogic::cutTo(Deck deck) {
    fader(deck) = FadeTop;
    fader(otherDeck(deck)) = 0;
    clearCuts();
    send(Deck::B);
    send(Deck::A);
    showCutSliders();
}

void MixerLogic::startFade(Fade fade) {
    if (fade.curve == Curve::Equal)
        m_state.EqualCount = 0;
    fader(fade.target) = 0;
    clearCuts();
    send(fade.target);
    m_effects.setTrackBarPosition(element::kCrossFader, kCrossFaderCentre);
    m_state.fadeFlags[fadeIndex(fade)] = true;
}

void MixerLogic::startAutomaticFade(Deck deck) {
    // Two fades in opposite directions can pull the faders back and forth
    // so that neither ever ends; the newer one wins.
    for (std::size_t index = 0; index < kFadeCount; ++index)
        if (kTickOrder[index].target != deck)
            m_state.fadeFlags[index] = false;
    startFade({Curve::Linear, deck});
}

void MixerLogic::pressFlash(Deck deck) {
    bool& held = deck == Deck::A ? m_state.FlashHeldA : m_state.FlashHeldB;
    if (held)
        return;
    held = true;
    // The saved value is the fader of the deck that the flash silences.
    if (deck == Deck::A)
        m_state.FlashSavedB = m_state.FaderB;
    else
        m_state.FlashSavedA = m_state.FaderA;
    cutTo(deck);
}

void MixerLogic::releaseFlash(Deck deck) {
    if (deck == Deck::A) {
        m_state.FlashHeldA = false;
        m_state.FaderA = 0;
        m_state.FaderB = m_state.FlashSavedB;
    } else {
        m_state.FlashHeldB = false;
        m_state.FaderB = 0;
        m_state.FaderA = m_state.FlashSavedA;
    }
    clearCuts();
    send(Deck::B);
    send(Deck::A);
    showCutSliders();
}

void MixerLogic::Start(std::string_view name) {
    // A held flash does not block; only a running fade does.
    if (m_state.anyFadeRunning())
        return;
    if (name == element::kHardCutToB) {
        cutTo(Deck::B);
    } else if (name == element::kHardCutToA) {
        cutTo(Deck::A);
    } else if (name == element::kFlashToB) {
        pressFlash(Deck::B);
    } else if (name == element::kFlashToA) {
        pressFlash(Deck::A);
    } else {
        for (const FadeButton& button : kFadeButtons)
            if (name == button.name) {
                startFade(button.fade);
                return;
            }
    }
}

void MixerLogic::Release(std::string_view name) {
    if (m_state.anyFadeRunning())
        return;
    if (name == element::kFlashToB)
        releaseFlash(Deck::B);
    else if (name == element::kFlashToA)
        releaseFlash(Deck::A);
}

void MixerLogic::fadeTick() {
    for (std::size_t index = 0; index < kFadeCount; ++index) {
        if (!m_state.fadeFlags[index])
            continue;
        const Fade fade = kTickOrder[index];
        if (stepFade(fade.curve, fader(fade.target), fader(otherDeck(fade.target)), m_state.EqualCount) ==
            FadeProgress::Finished)
            m_state.fadeFlags[index] = false;
        // Both decks hear every step, whatever the direction.
        send(Deck::A);
        send(Deck::B);
        showFaderSliders();
    }
}

void MixerLogic::meterTick(const DeckMeterValues& meters) {
    // The skin engine clamps each value into its meter's range.
    m_effects.setGaugePosition(element::kMeterLeftA, meters.LevelLeftA);
    m_effects.setGaugePosition(element::kMeterRightA, meters.LevelRightA);
    m_effects.setGaugePosition(element::kMeterLeftB, meters.LevelLeftB);
    m_effects.setGaugePosition(element::kMeterRightB, meters.LevelRightB);
}

void MixerLogic::skinChanged(const DeckMeterValues& meters) {
    showFaderSliders();
    m_effects.setTrackBarPosition(element::kCrossFader, sliderPosition(m_state.CrossFader));
    m_effects.setDisplayText(element::kGainA, std::to_string(m_state.FaderA));
    m_effects.setDisplayText(element::kGainB, std::to_string(m_state.FaderB));
    m_effects.setGaugeRange(element::kMeterLeft, kMainMeterMin, kMainMeterMax);
    m_effects.setGaugeRange(element::kMeterRight, kMainMeterMin, kMainMeterMax);
    meterTick(meters);
}

} // namespace mixer
