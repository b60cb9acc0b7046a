#include "app/KeyCommands.h"
#include "app/KeyHandler.h"

#include <gtest/gtest.h>

using namespace app;
using platform::ShiftFlag;
using platform::ShiftState;
namespace vk = platform::vk;

namespace {

const ShiftState kNone{};
const ShiftState kAlt{ShiftFlag::Alt};
const ShiftState kCtrl{ShiftFlag::Ctrl};

// Every combination of the six flags, for the keys that act whatever is held.
std::vector<ShiftState> everyShiftState() {
    std::vector<ShiftState> states;
    for (unsigned bits = 0; bits < 64; ++bits)
        states.push_back(ShiftState::fromBits(static_cast<uint8_t>(bits)));
    return states;
}

KeyCommand deck(KeyDeck side, DeckOperation operation) {
    return KeyCommand::onDeck(side, operation);
}

} // namespace

TEST(KeyCommands, DeckKeysAddressDeckAWithAltAndDeckBWithCtrl) {
    const std::vector<std::pair<int, DeckOperation>> rows = {
        {vk::kSpace, DeckOperation::PlayPause},
        {vk::kPageUp, DeckOperation::PitchSlower},
        {vk::kPageDown, DeckOperation::PitchFaster},
        {vk::kHome, DeckOperation::PitchReset},
        {vk::kEquals, DeckOperation::BendUp},
        {vk::kMinus, DeckOperation::BendDown},
        {'S', DeckOperation::StopTrack},
    };
    for (const auto& [key, operation] : rows) {
        EXPECT_EQ(keyDownCommands(key, kAlt), KeyCommands{deck(KeyDeck::A, operation)}) << key;
        EXPECT_EQ(keyDownCommands(key, kCtrl), KeyCommands{deck(KeyDeck::B, operation)}) << key;
        EXPECT_TRUE(keyDownCommands(key, kNone).empty()) << key;
        if (operation != DeckOperation::BendUp && operation != DeckOperation::BendDown) {
            EXPECT_TRUE(keyUpCommands(key, kAlt).empty()) << key;
        }
    }
}

TEST(KeyCommands, TheModifierTestIsExact) {
    const std::vector<ShiftState> notExactlyOne = {
        {ShiftFlag::Shift, ShiftFlag::Alt},  {ShiftFlag::Alt, ShiftFlag::Ctrl},    {ShiftFlag::Alt, ShiftFlag::Left},
        {ShiftFlag::Ctrl, ShiftFlag::Right}, {ShiftFlag::Ctrl, ShiftFlag::Middle}, {ShiftFlag::Shift},
    };
    for (ShiftState held : notExactlyOne) {
        for (int key : {vk::kSpace, vk::kEquals, vk::kUp, int('2'), int('A'), vk::kDelete, int('W')}) {
            EXPECT_TRUE(keyDownCommands(key, held).empty()) << key << " with " << int(held.bits());
        }
        EXPECT_TRUE(keyUpCommands(vk::kEquals, held).empty()) << int(held.bits());
        EXPECT_TRUE(keyUpCommands('7', held).empty()) << int(held.bits());
    }
}

TEST(KeyCommands, WindowTogglesFireWhateverIsHeldAndOnlyOnce) {
    const std::vector<std::pair<int, ToggledWindow>> toggles = {
        {'P', ToggledWindow::PlayList}, {'M', ToggledWindow::Mixer}, {'E', ToggledWindow::Equalizer}};
    for (const auto& [key, window] : toggles) {
        for (ShiftState held : everyShiftState()) {
            EXPECT_EQ(keyDownCommands(key, held), KeyCommands{KeyCommand::toggle(window)})
                << char(key) << " with " << int(held.bits());
        }
        EXPECT_TRUE(keyUpCommands(key, kNone).empty());
    }
}

TEST(KeyCommands, ArrowsNudgeTheFadersAndBothDecksMoveTheCrossfaderAlike) {
    EXPECT_EQ(keyDownCommands(vk::kUp, kAlt), KeyCommands{KeyCommand::nudge("A", "INC")});
    EXPECT_EQ(keyDownCommands(vk::kUp, kCtrl), KeyCommands{KeyCommand::nudge("B", "INC")});
    EXPECT_EQ(keyDownCommands(vk::kDown, kAlt), KeyCommands{KeyCommand::nudge("A", "DEC")});
    EXPECT_EQ(keyDownCommands(vk::kDown, kCtrl), KeyCommands{KeyCommand::nudge("B", "DEC")});
    for (ShiftState held : {kAlt, kCtrl}) {
        EXPECT_EQ(keyDownCommands(vk::kLeft, held), KeyCommands{KeyCommand::nudge("F", "INC")});
        EXPECT_EQ(keyDownCommands(vk::kRight, held), KeyCommands{KeyCommand::nudge("F", "DEC")});
    }
    EXPECT_TRUE(keyDownCommands(vk::kLeft, kNone).empty());
}

TEST(KeyCommands, DigitsStartTheTransitionsTowardTheAddressedDeck) {
    const std::vector<std::pair<const char*, const char*>> names = {
        {"HardCutToA", "HardCutToB"},   {"LinearToA", "LinearToB"},     {"EqualToA", "EqualToB"},
        {"SlowSlowToA", "SlowSlowToB"}, {"FastSlowToA", "FastSlowToB"}, {"SlowFastToA", "SlowFastToB"},
        {"FlashToA", "FlashToB"}};
    for (int digit = 1; digit <= 7; ++digit) {
        const auto& [toA, toB] = names[digit - 1];
        EXPECT_EQ(keyDownCommands('0' + digit, kAlt), KeyCommands{KeyCommand::start(toA)});
        EXPECT_EQ(keyDownCommands('0' + digit, kCtrl), KeyCommands{KeyCommand::start(toB)});
    }
    EXPECT_TRUE(keyDownCommands('8', kAlt).empty());
    // Only the flash is let go with its key.
    EXPECT_EQ(keyUpCommands('7', kAlt), KeyCommands{KeyCommand::release("FlashToA")});
    EXPECT_EQ(keyUpCommands('7', kCtrl), KeyCommands{KeyCommand::release("FlashToB")});
    EXPECT_TRUE(keyUpCommands('2', kCtrl).empty());
}

TEST(KeyCommands, PlayListCommandsTakeCtrlAndNothingElse) {
    const std::vector<std::pair<int, PlayListOperation>> rows = {{'A', PlayListOperation::SelectAll},
                                                                 {vk::kDelete, PlayListOperation::ListMinus},
                                                                 {'W', PlayListOperation::WaitListPlus}};
    for (const auto& [key, operation] : rows) {
        EXPECT_EQ(keyDownCommands(key, kCtrl), KeyCommands{KeyCommand::onPlayList(operation)}) << key;
        EXPECT_TRUE(keyDownCommands(key, kAlt).empty()) << key;
        EXPECT_TRUE(keyDownCommands(key, kNone).empty()) << key;
    }
}

TEST(KeyCommands, BendsAreReleasedByTheirKeyUpAndOtherKeysFireNothing) {
    for (int key : {vk::kEquals, vk::kMinus}) {
        EXPECT_EQ(keyUpCommands(key, kAlt), KeyCommands{deck(KeyDeck::A, DeckOperation::BendRelease)});
        EXPECT_EQ(keyUpCommands(key, kCtrl), KeyCommands{deck(KeyDeck::B, DeckOperation::BendRelease)});
    }
    for (int key : {0, int('Z'), 112, vk::kEnd, vk::kInsert}) {
        for (ShiftState held : {kNone, kAlt, kCtrl}) {
            EXPECT_TRUE(keyDownCommands(key, held).empty()) << key;
            EXPECT_TRUE(keyUpCommands(key, held).empty()) << key;
        }
    }
}

namespace {

class KeyHandlerTest : public ::testing::Test {
protected:
    std::vector<std::string> performed;
    KeyHandler handler{[this](const KeyCommand& command) { performed.push_back(describe(command)); }};
    using Texts = std::vector<std::string>;
};

} // namespace

TEST_F(KeyHandlerTest, AHeldBendIsSentAgainOnEveryRepeatAndReleasedOnce) {
    handler.keyDown(vk::kEquals, kAlt);
    handler.keyDown(vk::kEquals, kAlt);
    handler.keyDown(vk::kEquals, kAlt);
    EXPECT_TRUE(handler.isHeld(vk::kEquals));
    handler.keyUp(vk::kEquals, kAlt);
    EXPECT_FALSE(handler.isHeld(vk::kEquals));
    EXPECT_EQ(performed, (Texts{"deck A BendUp", "deck A BendUp", "deck A BendUp", "deck A BendRelease"}));
}

TEST_F(KeyHandlerTest, RepeatsOfToggleKeysAndTransitionsFireOnlyOnce) {
    for (int repeat = 0; repeat < 3; ++repeat) {
        handler.keyDown(vk::kSpace, kCtrl);
        handler.keyDown('P', kNone);
        handler.keyDown('7', kCtrl);
        handler.keyDown(vk::kPageDown, kAlt);
        handler.keyDown(vk::kLeft, kCtrl);
    }
    EXPECT_EQ(performed, (Texts{"deck B PlayPause", "toggle play list", "mixer start FlashToB", "deck A PitchFaster",
                                "mixer Nudge F INC", "deck A PitchFaster", "mixer Nudge F INC", "deck A PitchFaster",
                                "mixer Nudge F INC"}));
    performed.clear();
    handler.keyUp('7', kCtrl);
    handler.keyDown('7', kCtrl);
    EXPECT_EQ(performed, (Texts{"mixer release FlashToB", "mixer start FlashToB"})) << "a new press fires again";
}

TEST_F(KeyHandlerTest, AHeldKeyKeepsTheDeckOfItsFirstPress) {
    // Alt let go before "+": the repeats still bend deck A, and the release
    // still ends the bend.
    handler.keyDown(vk::kEquals, kAlt);
    handler.keyDown(vk::kEquals, kNone);
    handler.keyUp(vk::kEquals, kNone);
    // Ctrl pressed while "-" is held does not hand the bend to deck B.
    handler.keyDown(vk::kMinus, kAlt);
    handler.keyUp(vk::kMinus, kCtrl);
    EXPECT_EQ(performed,
              (Texts{"deck A BendUp", "deck A BendUp", "deck A BendRelease", "deck A BendDown", "deck A BendRelease"}));
}

TEST_F(KeyHandlerTest, ReleaseAllLetsGoOfEveryHeldKeyOnce) {
    handler.keyDown(vk::kEquals, kAlt);
    handler.keyDown('7', kCtrl);
    handler.keyDown(0, kCtrl); // the Ctrl key itself
    performed.clear();
    handler.releaseAll();
    handler.releaseAll();
    EXPECT_EQ(performed, (Texts{"deck A BendRelease", "mixer release FlashToB"}));
    EXPECT_FALSE(handler.isHeld(vk::kEquals));
    // A release seen later for a key never seen pressed acts on what is held.
    performed.clear();
    handler.keyUp('7', kAlt);
    EXPECT_EQ(performed, (Texts{"mixer release FlashToA"}));
}
