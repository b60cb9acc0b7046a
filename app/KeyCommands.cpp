#include "KeyCommands.h"

#include "mixer/MixerElements.h"

#include <array>
#include <optional>

namespace app {

namespace {

using platform::ShiftFlag;
using platform::ShiftState;
namespace vk = platform::vk;
namespace element = mixer::element;
namespace nudge = mixer::nudge;

// One row of the key table: what the key fires with exactly {Alt} held,
// with exactly {Ctrl} held, and whatever is held. Letter and digit keys have
// the codes of their upper-case characters.
struct KeyRow {
    int key;
    std::optional<KeyCommand> alt;
    std::optional<KeyCommand> ctrl;
    std::optional<KeyCommand> any;
};

constexpr KeyCommand deckA(DeckOperation operation) {
    return KeyCommand::onDeck(DeckSide::A, operation);
}

constexpr KeyCommand deckB(DeckOperation operation) {
    return KeyCommand::onDeck(DeckSide::B, operation);
}

constexpr KeyRow onBothDecks(int key, DeckOperation operation) {
    return {key, deckA(operation), deckB(operation), std::nullopt};
}

constexpr KeyRow transition(int key, std::string_view toA, std::string_view toB) {
    return {key, KeyCommand::start(toA), KeyCommand::start(toB), std::nullopt};
}

const std::array<KeyRow, 24>& keyDownTable() {
    static const std::array<KeyRow, 24> table = {{
        onBothDecks(vk::kSpace, DeckOperation::PlayPause),
        onBothDecks(vk::kPageUp, DeckOperation::PitchSlower),
        onBothDecks(vk::kPageDown, DeckOperation::PitchFaster),
        onBothDecks(vk::kHome, DeckOperation::PitchReset),
        onBothDecks(vk::kEquals, DeckOperation::BendUp),
        onBothDecks(vk::kMinus, DeckOperation::BendDown),
        onBothDecks('S', DeckOperation::StopTrack),
        {'P', std::nullopt, std::nullopt, KeyCommand::toggle(ToggledWindow::PlayList)},
        {'M', std::nullopt, std::nullopt, KeyCommand::toggle(ToggledWindow::Mixer)},
        {'E', std::nullopt, std::nullopt, KeyCommand::toggle(ToggledWindow::Equalizer)},
        {vk::kUp, KeyCommand::nudge(nudge::kChannelA, nudge::kIncrease),
         KeyCommand::nudge(nudge::kChannelB, nudge::kIncrease), std::nullopt},
        {vk::kDown, KeyCommand::nudge(nudge::kChannelA, nudge::kDecrease),
         KeyCommand::nudge(nudge::kChannelB, nudge::kDecrease), std::nullopt},
        // Both decks move the crossfader the same way.
        {vk::kLeft, KeyCommand::nudge(nudge::kChannelCrossFader, nudge::kIncrease),
         KeyCommand::nudge(nudge::kChannelCrossFader, nudge::kIncrease), std::nullopt},
        {vk::kRight, KeyCommand::nudge(nudge::kChannelCrossFader, nudge::kDecrease),
         KeyCommand::nudge(nudge::kChannelCrossFader, nudge::kDecrease), std::nullopt},
        transition('1', element::kHardCutToA, element::kHardCutToB),
        transition('2', element::kLinearToA, element::kLinearToB),
        transition('3', element::kEqualToA, element::kEqualToB),
        transition('4', element::kSlowSlowToA, element::kSlowSlowToB),
        transition('5', element::kFastSlowToA, element::kFastSlowToB),
        transition('6', element::kSlowFastToA, element::kSlowFastToB),
        transition('7', element::kFlashToA, element::kFlashToB),
        {'A', std::nullopt, KeyCommand::onPlayList(PlayListOperation::SelectAll), std::nullopt},
        {vk::kDelete, std::nullopt, KeyCommand::onPlayList(PlayListOperation::ListMinus), std::nullopt},
        {'W', std::nullopt, KeyCommand::onPlayList(PlayListOperation::WaitListPlus), std::nullopt},
    }};
    return table;
}

const std::array<KeyRow, 3>& keyUpTable() {
    static const std::array<KeyRow, 3> table = {{
        onBothDecks(vk::kEquals, DeckOperation::BendRelease),
        onBothDecks(vk::kMinus, DeckOperation::BendRelease),
        {'7', KeyCommand::release(element::kFlashToA), KeyCommand::release(element::kFlashToB), std::nullopt},
    }};
    return table;
}

// Every row is tested, in table order and independently of the others.
template <std::size_t Rows>
KeyCommands commandsOf(const std::array<KeyRow, Rows>& table, int virtualKey, ShiftState held) {
    // The test is exact: with Shift or a mouse button held as well, or with
    // both Alt and Ctrl, neither deck entry fires.
    const bool onlyAlt = held == ShiftState{ShiftFlag::Alt};
    const bool onlyCtrl = held == ShiftState{ShiftFlag::Ctrl};
    KeyCommands commands;
    for (const KeyRow& row : table) {
        if (row.key != virtualKey)
            continue;
        if (onlyAlt && row.alt)
            commands.push_back(*row.alt);
        if (onlyCtrl && row.ctrl)
            commands.push_back(*row.ctrl);
        if (row.any)
            commands.push_back(*row.any);
    }
    return commands;
}

// Names for describe, in the order of the enumerations.
constexpr std::array<const char*, 8> kDeckOperationNames = {"PlayPause", "PitchSlower", "PitchFaster", "PitchReset",
                                                            "BendUp",    "BendDown",    "BendRelease", "StopTrack"};
constexpr std::array<const char*, 3> kWindowNames = {"play list", "mixer", "equalizer"};
constexpr std::array<const char*, 3> kPlayListOperationNames = {"SelectAll", "ListMinus", "WaitListPlus"};

template <typename Enum, std::size_t Count>
const char* nameOf(const std::array<const char*, Count>& names, Enum value) {
    return names.at(static_cast<std::size_t>(value));
}

} // namespace

KeyCommands keyDownCommands(int virtualKey, ShiftState held) {
    return commandsOf(keyDownTable(), virtualKey, held);
}

KeyCommands keyUpCommands(int virtualKey, ShiftState held) {
    return commandsOf(keyUpTable(), virtualKey, held);
}

bool repeatsWhileHeld(const KeyCommand& command) {
    if (command.kind == KeyCommand::Kind::MixerNudge)
        return true;
    if (command.kind != KeyCommand::Kind::Deck)
        return false;
    switch (command.deckOperation) {
    case DeckOperation::PitchSlower:
    case DeckOperation::PitchFaster:
    case DeckOperation::BendUp:
    case DeckOperation::BendDown:
        return true;
    default:
        return false;
    }
}

std::string describe(const KeyCommand& command) {
    switch (command.kind) {
    case KeyCommand::Kind::Deck:
        return std::string("deck ") + (command.deck == DeckSide::A ? "A " : "B ") +
               nameOf(kDeckOperationNames, command.deckOperation);
    case KeyCommand::Kind::MixerNudge:
        return "mixer Nudge " + std::string(command.name) + " " + std::string(command.direction);
    case KeyCommand::Kind::MixerStart:
        return "mixer start " + std::string(command.name);
    case KeyCommand::Kind::MixerRelease:
        return "mixer release " + std::string(command.name);
    case KeyCommand::Kind::ToggleWindow:
        return std::string("toggle ") + nameOf(kWindowNames, command.window);
    case KeyCommand::Kind::PlayList:
        return std::string("play list ") + nameOf(kPlayListOperationNames, command.playListOperation);
    }
    return "?";
}

} // namespace app
