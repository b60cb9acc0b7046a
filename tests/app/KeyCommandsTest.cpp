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
using Texts = std::vector<std::string>;

Texts described(const KeyCommands& commands) {
    Texts texts;
    for (const KeyCommand& command : commands)
        texts.push_back(describe(command));
    return texts;
}

struct Row {
    int key;
    const char* withAlt; // nullptr: nothing fires
    const char* withCtrl;
};

Texts expected(const char* text) {
    return text != nullptr ? Texts{text} : Texts{};
}

} // namespace

TEST(KeyCommands, KeyDownsFireTheirDeckEntryWithAltOrCtrlAloneAndNothingWithoutEither) {
    const std::vector<Row> rows = {
        {vk::kSpace, "deck A PlayPause", "deck B PlayPause"},
        {vk::kPageUp, "deck A PitchSlower", "deck B PitchSlower"},
        {vk::kPageDown, "deck A PitchFaster", "deck B PitchFaster"},
        {vk::kHome, "deck A PitchReset", "deck B PitchReset"},
        {vk::kEquals, "deck A BendUp", "deck B BendUp"},
        {vk::kMinus, "deck A BendDown", "deck B BendDown"},
        {'S', "deck A StopTrack", "deck B StopTrack"},
        {vk::kUp, "mixer Nudge A INC", "mixer Nudge B INC"},
        {vk::kDown, "mixer Nudge A DEC", "mixer Nudge B DEC"},
        // Both decks move the crossfader the same way.
        {vk::kLeft, "mixer Nudge F INC", "mixer Nudge F INC"},
        {vk::kRight, "mixer Nudge F DEC", "mixer Nudge F DEC"},
        {'1', "mixer start HardCutToA", "mixer start HardCutToB"},
        {'2', "mixer start LinearToA", "mixer start LinearToB"},
        {'3', "mixer start EqualToA", "mixer start EqualToB"},
        {'4', "mixer start SlowSlowToA", "mixer start SlowSlowToB"},
        {'5', "mixer start FastSlowToA", "mixer start FastSlowToB"},
        {'6', "mixer start SlowFastToA", "mixer start SlowFastToB"},
        {'7', "mixer start FlashToA", "mixer start FlashToB"},
        {'A', nullptr, "play list SelectAll"},
        {vk::kDelete, nullptr, "play list ListMinus"},
        {'W', nullptr, "play list WaitListPlus"},
        {'8', nullptr, nullptr},
        {'Z', nullptr, nullptr},
        {0, nullptr, nullptr},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(described(keyDownCommands(row.key, kAlt)), expected(row.withAlt)) << row.key;
        EXPECT_EQ(described(keyDownCommands(row.key, kCtrl)), expected(row.withCtrl)) << row.key;
        EXPECT_EQ(described(keyDownCommands(row.key, kNone)), Texts{}) << row.key;
    }
}

TEST(KeyCommands, OnlyBendsAndTheFlashActOnKeyUp) {
    const std::vector<Row> rows = {
        {vk::kEquals, "deck A BendRelease", "deck B BendRelease"},
        {vk::kMinus, "deck A BendRelease", "deck B BendRelease"},
        {'7', "mixer release FlashToA", "mixer release FlashToB"},
        {vk::kSpace, nullptr, nullptr},
        {'2', nullptr, nullptr},
        {'P', nullptr, nullptr},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(described(keyUpCommands(row.key, kAlt)), expected(row.withAlt)) << row.key;
        EXPECT_EQ(described(keyUpCommands(row.key, kCtrl)), expected(row.withCtrl)) << row.key;
        EXPECT_EQ(described(keyUpCommands(row.key, kNone)), Texts{}) << row.key;
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
    const std::vector<std::pair<int, const char*>> toggles = {
        {'P', "toggle play list"}, {'M', "toggle mixer"}, {'E', "toggle equalizer"}};
    for (const auto& [key, text] : toggles) {
        // Every combination of the six flags.
        for (unsigned bits = 0; bits < 64; ++bits) {
            EXPECT_EQ(described(keyDownCommands(key, ShiftState::fromBits(static_cast<uint8_t>(bits)))), Texts{text})
                << char(key) << " with " << bits;
        }
    }
}

namespace {

class KeyHandlerTest : public ::testing::Test {
protected:
    std::vector<std::string> performed;
    KeyHandler handler{[this](const KeyCommand& command) { performed.push_back(describe(command)); }};
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
