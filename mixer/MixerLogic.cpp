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
    {element::kLinearToA, {Curve::Linear, DeckSide::A}},
    {element::kLinearToB, {Curve::Linear, DeckSide::B}},
    {element::kEqualToA, {Curve::Equal, DeckSide::A}},
    {element::kEqualToB, {Curve::Equal, DeckSide::B}},
    {element::kSlowSlowToA, {Curve::SlowSlow, DeckSide::A}},
    {element::kSlowSlowToB, {Curve::SlowSlow, DeckSide::B}},
    {element::kFastSlowToA, {Curve::FastSlow, DeckSide::A}},
    {element::kFastSlowToB, {Curve::FastSlow, DeckSide::B}},
    {element::kSlowFastToA, {Curve::SlowFast, DeckSide::A}},
    {element::kSlowFastToB, {Curve::SlowFast, DeckSide::B}},
}};

} // namespace

bool MixerState::anyFadeRunning() const {
    return std::any_of(fadeFlags.begin(), fadeFlags.end(), [](bool running) { return running; });
}

MixerLogic::MixerLogic(MixerEffects& effects) : m_effects(effects) {}

int& MixerLogic::fader(DeckSide deck) {
    return deck == DeckSide::A ? m_state.FaderA : m_state.FaderB;
}

void MixerLogic::send(DeckSide deck) {
    // The gain display shows the channel fader, not the level after the cut.
    if (deck == DeckSide::A) {
        m_effects.postLevel(DeckSide::A, m_state.FaderA - m_state.CutA);
        m_effects.setDisplayText(element::kGainA, std::to_string(m_state.FaderA));
    } else {
        m_effects.postLevel(DeckSide::B, m_state.FaderB - m_state.CutB);
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
    send(DeckSide::A);
    send(DeckSide::B);
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
        send(DeckSide::A);
    } else if (name == element::kFaderB) {
        m_state.FaderB = value;
        send(DeckSide::B);
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
        send(DeckSide::A);
    } else if (channel == nudge::kChannelB) {
        stepFader(m_state.FaderB, direction);
        m_effects.setTrackBarPosition(element::kFaderB, sliderPosition(m_state.FaderB));
        send(DeckSide::B);
    } else if (channel == nudge::kChannelCrossFader) {
        stepFader(m_state.CrossFader, direction);
        m_effects.setTrackBarPosition(element::kCrossFader, sliderPosition(m_state.CrossFader));
        applyCrossfaderLaw();
    }
}

void MixerLogic::cutTo(DeckSide deck) {
    fader(deck) = FadeTop;
    fader(otherSide(deck)) = 0;
    clearCuts();
    send(DeckSide::B);
    send(DeckSide::A);
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

void MixerLogic::startAutomaticFade(DeckSide deck) {
    // Two fades in opposite directions can pull the faders back and forth
    // so that neither ever ends; the newer one wins.
    for (std::size_t index = 0; index < kFadeCount; ++index)
        if (kTickOrder[index].target != deck)
            m_state.fadeFlags[index] = false;
    startFade({Curve::Linear, deck});
}

void MixerLogic::pressFlash(DeckSide deck) {
    bool& held = deck == DeckSide::A ? m_state.FlashHeldA : m_state.FlashHeldB;
    if (held)
        return;
    held = true;
    // The saved value is the fader of the deck that the flash silences.
    if (deck == DeckSide::A)
        m_state.FlashSavedB = m_state.FaderB;
    else
        m_state.FlashSavedA = m_state.FaderA;
    cutTo(deck);
}

void MixerLogic::releaseFlash(DeckSide deck) {
    if (deck == DeckSide::A) {
        m_state.FlashHeldA = false;
        m_state.FaderA = 0;
        m_state.FaderB = m_state.FlashSavedB;
    } else {
        m_state.FlashHeldB = false;
        m_state.FaderB = 0;
        m_state.FaderA = m_state.FlashSavedA;
    }
    clearCuts();
    send(DeckSide::B);
    send(DeckSide::A);
    showCutSliders();
}

void MixerLogic::Start(std::string_view name) {
    // A held flash does not block; only a running fade does.
    if (m_state.anyFadeRunning())
        return;
    if (name == element::kHardCutToB) {
        cutTo(DeckSide::B);
    } else if (name == element::kHardCutToA) {
        cutTo(DeckSide::A);
    } else if (name == element::kFlashToB) {
        pressFlash(DeckSide::B);
    } else if (name == element::kFlashToA) {
        pressFlash(DeckSide::A);
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
        releaseFlash(DeckSide::B);
    else if (name == element::kFlashToA)
        releaseFlash(DeckSide::A);
}

void MixerLogic::fadeTick() {
    for (std::size_t index = 0; index < kFadeCount; ++index) {
        if (!m_state.fadeFlags[index])
            continue;
        const Fade fade = kTickOrder[index];
        if (stepFade(fade.curve, fader(fade.target), fader(otherSide(fade.target)), m_state.EqualCount) ==
            FadeProgress::Finished)
            m_state.fadeFlags[index] = false;
        // Both decks hear every step, whatever the direction.
        send(DeckSide::A);
        send(DeckSide::B);
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
