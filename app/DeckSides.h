#pragma once

#include "PreferenceValues.h"
#include "contracts/DeckSide.h"
#include "contracts/MixerApi.h"

#include <QPoint>
#include <QSize>

#include <cstdint>

// Everything in which deck B differs from deck A, said once; the rest of a
// deck's behaviour is the same for both.
struct DeckSideTraits {
    DeckSide side;
    const char* windowClass;
    // The deck's file in a skin folder.
    const char* definitionFile;
    // Deck A is the main window: closing it ends the application.
    bool mainWindow;
    // What "InfoButton" opens.
    enum class InfoWindow { About, Preferences } infoWindow;
    // The messages the deck accepts, and the load-next request it posts to
    // the other deck.
    uint32_t loadNextMessage;
    uint32_t volumeMessage;
    uint32_t otherLoadNextMessage;
    // The mixer's automatic fade toward the other deck, and this deck's
    // meter values, cleared when its player stops.
    void (MixerApi::*autoFadeToOther)();
    int MixerApi::*levelLeft;
    int MixerApi::*levelRight;
    const char* playListMenuCaption;
    // The window before a skin sizes it.
    QSize designClientSize;
    QPoint designPosition;
    // Until the preferences apply, deck B starts the other deck 0.02 s later.
    const char* initialStartOtherThreshold;
    // This deck's share of the preferences.
    int PreferenceValues::*soundCard;
    int PreferenceValues::*pitchPercent;
};

const DeckSideTraits& deckSideTraits(DeckSide side);
