#pragma once

#include "contracts/DeckSide.h"
#include "platform/VirtualKeys.h"

#include <string>
#include <string_view>
#include <vector>

// The application's keyboard commands: which actions a key-down or key-up
// fires, given the virtual key code and the keys and mouse buttons held.
// A held Alt key alone addresses deck A, a held Ctrl key alone deck B; some
// keys act whatever is held. Plain logic, any thread.
namespace app {

enum class DeckOperation { PlayPause, PitchSlower, PitchFaster, PitchReset, BendUp, BendDown, BendRelease, StopTrack };

enum class ToggledWindow { PlayList, Mixer, Equalizer };

enum class PlayListOperation {
    // Show the window, focus the wait list when it is visible, else the
    // play list, and select all entries of the focused list.
    SelectAll,
    ListMinus,
    WaitListPlus,
};

// One action a key fires.
struct KeyCommand {
    enum class Kind { Deck, MixerNudge, MixerStart, MixerRelease, ToggleWindow, PlayList };

    Kind kind = Kind::Deck;
    DeckSide deck = DeckSide::A;
    DeckOperation deckOperation = DeckOperation::PlayPause;
    // The mixer's channel ("A", "B", "F") and direction ("INC", "DEC") for a
    // nudge; the transition's name for a start or release.
    std::string_view name;
    std::string_view direction;
    ToggledWindow window = ToggledWindow::PlayList;
    PlayListOperation playListOperation = PlayListOperation::SelectAll;

    static constexpr KeyCommand onDeck(DeckSide deck, DeckOperation operation) {
        KeyCommand command;
        command.kind = Kind::Deck;
        command.deck = deck;
        command.deckOperation = operation;
        return command;
    }
    static constexpr KeyCommand nudge(std::string_view channel, std::string_view direction) {
        KeyCommand command;
        command.kind = Kind::MixerNudge;
        command.name = channel;
        command.direction = direction;
        return command;
    }
    static constexpr KeyCommand start(std::string_view transition) {
        KeyCommand command;
        command.kind = Kind::MixerStart;
        command.name = transition;
        return command;
    }
    static constexpr KeyCommand release(std::string_view transition) {
        KeyCommand command;
        command.kind = Kind::MixerRelease;
        command.name = transition;
        return command;
    }
    static constexpr KeyCommand toggle(ToggledWindow window) {
        KeyCommand command;
        command.kind = Kind::ToggleWindow;
        command.window = window;
        return command;
    }
    static constexpr KeyCommand onPlayList(PlayListOperation operation) {
        KeyCommand command;
        command.kind = Kind::PlayList;
        command.playListOperation = operation;
        return command;
    }
};

using KeyCommands = std::vector<KeyCommand>;

// The actions of a key-down / key-up, in the order they are to be carried
// out: at most one deck entry (exactly {Alt} or exactly {Ctrl} held) and the
// key's entry that fires whatever is held.
KeyCommands keyDownCommands(int virtualKey, platform::ShiftState held);
KeyCommands keyUpCommands(int virtualKey, platform::ShiftState held);

// Whether a held key's repeated key-downs fire the command again. Bending,
// pitch steps and fader nudges keep acting while their key is held (a
// repeated bend sends the same bent pitch again); a held Space must not
// toggle play and pause at the keyboard's repeat rate, nor a held P flash
// the play list, so the other commands fire on the first key-down only.
bool repeatsWhileHeld(const KeyCommand& command);

// A readable form, such as "deck A BendUp" or "mixer Nudge F INC".
std::string describe(const KeyCommand& command);

} // namespace app
