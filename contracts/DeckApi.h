#pragma once

#include <QString>

// What the play list uses of a deck window. GUI thread only.
class DeckApi {
public:
    virtual ~DeckApi() = default;

    // Opens a track in the deck; the deck reads the play list's LoadedBpm
    // while loading, so callers set it first.
    virtual void LoadTrack(const QString& fileName) = 0;
    // The deck's state text: "CLOSED", "LOADED", "PLAYING", "PAUSED" or "STOPPED".
    virtual QString deckStateText() const = 0;
};
