#include "DeckHandOver.h"

#include "DeckTexts.h"
#include "DeckTimeTexts.h"

namespace app {

PlayerStateOutcome playerStateOutcome(int engineState, const QString& stateText, bool volumeApplied) {
    PlayerStateOutcome outcome;
    outcome.stateText = stateText;
    switch (engineState) {
    case kEngineStopped:
        outcome.stateText = QLatin1String(deck_states::kStopped);
        outcome.clearMixerLevels = true;
        break;
    case kEnginePlaying:
        outcome.stateText = QLatin1String(deck_states::kPlaying);
        outcome.applyVolume = !volumeApplied;
        break;
    case kEnginePaused:
        outcome.stateText = QLatin1String(deck_states::kPaused);
        break;
    case kEngineEndOfStream:
        outcome.stateText = QLatin1String(deck_states::kStopped);
        outcome.clearMixerLevels = true;
        outcome.rearmAutoLoad = true;
        outcome.loadNextTrack = true;
        break;
    default:
        break;
    }
    return outcome;
}

HandOverActions handOverActions(const HandOverInput& input) {
    HandOverActions actions;
    if (timeTextAtOrBelow(input.remainingText, input.flashThreshold) && input.flashEnabled)
        actions.startFlashing = true;
    if (timeTextAtOrBelow(input.remainingText, input.loadNextThreshold) && input.autoPlay && input.autoLoadArmed)
        actions.requestLoadNext = true;
    const bool otherWaits = input.otherStateText == QLatin1String(deck_states::kLoaded) ||
                            input.otherStateText == QLatin1String(deck_states::kPaused);
    if (timeTextAtOrBelow(input.remainingText, input.startOtherThreshold) && input.autoPlay && otherWaits) {
        actions.startOther = true;
        actions.startFade = input.autoCrossfade;
    }
    return actions;
}

} // namespace app
