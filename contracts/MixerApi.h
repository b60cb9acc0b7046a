#pragma once

#include <QString>

// What the decks use of the mixer window. GUI thread only.
class MixerApi {
public:
    virtual ~MixerApi() = default;

    // Ungated linear fades toward deck A / deck B, started by the decks'
    // automatic hand-over.
    virtual void AutoFadeToA() = 0;
    virtual void AutoFadeToB() = 0;

    // The keyboard's mixer commands: a step of channel "A", "B" or the
    // crossfader "F" ("INC" or "DEC"), and the press / the release of a fade
    // button by its element name. A window without them ignores them.
    virtual void Nudge(const QString& /*channel*/, const QString& /*direction*/) {}
    virtual void Start(const QString& /*name*/) {}
    virtual void Release(const QString& /*name*/) {}

    // The four deck meter values the mixer shows; a deck sets its own pair
    // to 0 when its player stops, and then calls MetersChanged so that the
    // mixer shows the change.
    virtual void MetersChanged() {}
    int LevelLeftA = 0;
    int LevelRightA = 0;
    int LevelLeftB = 0;
    int LevelRightB = 0;
};
