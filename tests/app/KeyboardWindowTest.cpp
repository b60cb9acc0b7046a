#include "Players.h"
#include "WindowSet.h"
#include "mixer/Equalizer.h"
#include "mixer/Mixer.h"
#include "playlist/PlayListForm.h"

#include "support/EventLoop.h"
#include "support/FakeEngine.h"
#include "support/TemporaryFolder.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QListWidget>

#include <gtest/gtest.h>

using namespace test_support;

namespace {

enum class Repeat { No, Yes };

void press(QObject* target, Qt::Key key, Qt::KeyboardModifiers modifiers, Repeat repeat = Repeat::No) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers, QString(), repeat == Repeat::Yes);
    QApplication::sendEvent(target, &event);
}

void release(QObject* target, Qt::Key key, Qt::KeyboardModifiers modifiers, Repeat repeat = Repeat::No) {
    QKeyEvent event(QEvent::KeyRelease, key, modifiers, QString(), repeat == Repeat::Yes);
    QApplication::sendEvent(target, &event);
}

void click(QObject* target, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    press(target, key, modifiers);
    release(target, key, modifiers);
}

// The whole window set on the fake engine, as the application builds it.
class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        TDeck::setEngineLibrary(QString::fromStdString(fake.path()));
        set.create();
        // Deck A's player is created first, so the first command is its own.
        playerA = fake.commands().front().player;
        playerB = fake.lastPlayer();
        writeFile(folder.file("track.mp3"), std::string(4096, 'x'));
        track = QString::fromStdString(folder.file("track.mp3"));
    }
    void TearDown() override {
        set.destroy();
        TDeck::setEngineLibrary(QString());
    }

    size_t commandCount(XA_Player* player, int code) const {
        size_t count = 0;
        for (const FakeCommand& command : fake.commandsWithCode(code))
            count += command.player == player ? 1 : 0;
        return count;
    }
    std::vector<int> pitchesSent(XA_Player* player) const {
        std::vector<int> pitches;
        for (const FakeCommand& command : fake.commandsWithCode(XA_MSG_SET_PLAYER_ENVIRONMENT_INTEGER))
            if (command.player == player && command.texts.at(0) == "OUTPUT.DIRECTSOUND.PITCH")
                pitches.push_back(command.integers.at(0));
        return pitches;
    }
    std::vector<QWidget*> forwardingWindows() const { return {set.PlayerA, set.Mixer, set.PlayList, set.Equalizer}; }

    TemporaryFolder folder;
    WorkingDirectory workingDirectory{folder.path()};
    FakeEngine fake;
    WindowSet set;
    XA_Player* playerA = nullptr;
    XA_Player* playerB = nullptr;
    QString track;
};

} // namespace

TEST_F(KeyboardTest, EveryWindowHandsItsKeysToDeckBsHandler) {
    set.PlayerA->LoadTrack(track);
    set.PlayerB->LoadTrack(track);
    int expectedFaderB = set.Mixer->state().FaderB;
    for (QWidget* window : forwardingWindows()) {
        const char* name = window->metaObject()->className();
        const size_t playsA = commandCount(playerA, XA_MSG_COMMAND_PLAY);
        const size_t playsB = commandCount(playerB, XA_MSG_COMMAND_PLAY);
        click(window, Qt::Key_Space, Qt::AltModifier);
        EXPECT_EQ(commandCount(playerA, XA_MSG_COMMAND_PLAY), playsA + 1) << name;
        click(window, Qt::Key_Space, Qt::ControlModifier);
        EXPECT_EQ(commandCount(playerB, XA_MSG_COMMAND_PLAY), playsB + 1) << name;
        click(window, Qt::Key_Space, Qt::AltModifier | Qt::ShiftModifier);
        EXPECT_EQ(commandCount(playerA, XA_MSG_COMMAND_PLAY), playsA + 1) << name;

        click(window, Qt::Key_Down, Qt::ControlModifier);
        expectedFaderB -= 5;
        EXPECT_EQ(set.Mixer->state().FaderB, expectedFaderB) << name;
    }
    // Deck B's own keys go to the same handler.
    click(set.PlayerB, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(set.Mixer->state().FaderB, expectedFaderB + 5);
    click(set.PlayerB, Qt::Key_2, Qt::AltModifier);
    EXPECT_TRUE(set.Mixer->state().fadeRunning({mixer::Curve::Linear, DeckSide::A}));
}

TEST_F(KeyboardTest, LettersToggleTheirWindowsFromAnyWindowWhateverIsHeld) {
    ASSERT_TRUE(set.Mixer->isVisible());
    ASSERT_FALSE(set.Equalizer->isVisible());
    click(set.PlayList, Qt::Key_M, Qt::NoModifier);
    EXPECT_FALSE(set.Mixer->isVisible());
    click(set.PlayerA, Qt::Key_M, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(set.Mixer->isVisible());
    click(set.Mixer, Qt::Key_E, Qt::ControlModifier);
    EXPECT_TRUE(set.Equalizer->isVisible());
    click(set.Equalizer, Qt::Key_P, Qt::AltModifier);
    EXPECT_FALSE(set.PlayList->isVisible());
    click(set.Equalizer, Qt::Key_E, Qt::NoModifier);
    EXPECT_FALSE(set.Equalizer->isVisible());
}

TEST_F(KeyboardTest, AKeyOnAChildOfAWindowIsForwardedOnceAndTheChildStillGetsIt) {
    // The play list's lists are children of its window; a plain child that
    // ignores keys passes them up to the window, which must not forward
    // them a second time.
    auto* list = new QListWidget(set.PlayList);
    list->addItems({QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")});
    list->setCurrentRow(0);
    auto* plain = new QWidget(set.PlayList);
    const int faderB = set.Mixer->state().FaderB;

    click(list, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_EQ(set.Mixer->state().FaderB, faderB - 5);
    click(plain, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(set.Mixer->state().FaderB, faderB);

    // A dialog owned by a deck is a window of its own: typing in it toggles
    // nothing.
    auto* dialog = new QDialog(set.PlayerA);
    auto* field = new QWidget(dialog);
    click(field, Qt::Key_M, Qt::NoModifier);
    click(dialog, Qt::Key_E, Qt::NoModifier);
    EXPECT_TRUE(set.Mixer->isVisible());
    EXPECT_FALSE(set.Equalizer->isVisible());
    delete dialog;
}

TEST_F(KeyboardTest, AHeldBendStaysBentThroughAutoRepeatUntilTheRealRelease) {
    const size_t before = pitchesSent(playerA).size();
    press(set.Mixer, Qt::Key_Equal, Qt::AltModifier);
    for (int repeat = 0; repeat < 3; ++repeat) {
        release(set.Mixer, Qt::Key_Equal, Qt::AltModifier, Repeat::Yes);
        press(set.Mixer, Qt::Key_Equal, Qt::AltModifier, Repeat::Yes);
    }
    // Alt is let go first; the release still ends the bend of deck A.
    release(set.Mixer, Qt::Key_Equal, Qt::NoModifier);
    const std::vector<int> pitches = pitchesSent(playerA);
    EXPECT_EQ(std::vector<int>(pitches.begin() + static_cast<long>(before), pitches.end()),
              (std::vector<int>{1050, 1050, 1050, 1050, 1000}));

    // A held flash stays held through the repeats of its key.
    press(set.PlayList, Qt::Key_7, Qt::ControlModifier);
    release(set.PlayList, Qt::Key_7, Qt::ControlModifier, Repeat::Yes);
    press(set.PlayList, Qt::Key_7, Qt::ControlModifier, Repeat::Yes);
    EXPECT_TRUE(set.Mixer->state().FlashHeldB);
    release(set.PlayList, Qt::Key_7, Qt::ControlModifier);
    EXPECT_FALSE(set.Mixer->state().FlashHeldB);
}

TEST_F(KeyboardTest, PlayListKeysActOnThePlayListsOwnListsOnce) {
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3"}) {
        writeFile(folder.file(name), std::string(4096, 'x'));
        set.PlayList->AddTrack(QString::fromStdString(folder.file(name)));
    }
    ASSERT_EQ(set.PlayList->playListModel().count(), 3);
    set.PlayList->hide();
    click(set.PlayerA, Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(set.PlayList->isVisible());
    EXPECT_EQ(set.PlayList->PL->selectedRowIndexes().size(), 3u);
    // The list has the keyboard now; it forwards to the handler as its
    // window does, and the same keys with Alt do nothing.
    click(set.PlayList->PL, Qt::Key_W, Qt::AltModifier);
    click(set.PlayList->PL, Qt::Key_Delete, Qt::AltModifier);
    EXPECT_EQ(set.PlayList->waitListModel().count(), 0);
    EXPECT_EQ(set.PlayList->playListModel().count(), 3);
    click(set.PlayList->PL, Qt::Key_W, Qt::ControlModifier);
    EXPECT_EQ(set.PlayList->waitListModel().count(), 3);
    click(set.PlayList->PL, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(set.PlayList->playListModel().count(), 0);
}
