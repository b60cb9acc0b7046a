#pragma once

#include <QString>

// The deck's decisions that follow engine notifications: the state a player
// state notification leads to, and the hand-over checks run at every
// timecode. Plain logic, any thread; the deck window carries them out.
namespace app {

// Engine player states.
enum EnginePlayerState { kEngineStopped = 0, kEnginePlaying = 1, kEnginePaused = 2, kEngineEndOfStream = 3 };

struct PlayerStateOutcome {
    // The deck's new state text (unchanged for an unknown engine state).
    QString stateText;
    // This deck's mixer level values go to 0.
    bool clearMixerLevels = false;
    // The stored volume goes to the engine now (first playback only).
    bool applyVolume = false;
    // End of stream: the deck may ask again for the next track and takes the
    // play list's next track itself.
    bool rearmAutoLoad = false;
    bool loadNextTrack = false;
};

PlayerStateOutcome playerStateOutcome(int engineState, const QString& stateText, bool volumeApplied);

struct HandOverInput {
    QString remainingText;
    QString flashThreshold;
    QString loadNextThreshold;
    QString startOtherThreshold;
    bool flashEnabled = true;
    // The play list's automatic play switch.
    bool autoPlay = true;
    bool autoLoadArmed = true;
    bool autoCrossfade = true;
    QString otherStateText;
};

struct HandOverActions {
    // The remaining time flashes from now on.
    bool startFlashing = false;
    // Ask the other deck to load the next track (and disarm).
    bool requestLoadNext = false;
    // Start the other deck, and with it the mixer's fade toward it.
    bool startOther = false;
    bool startFade = false;
};

// The three checks of one timecode. The start check repeats at every
// timecode while it holds: it stops once the other deck reports playing.
HandOverActions handOverActions(const HandOverInput& input);

} // namespace app
