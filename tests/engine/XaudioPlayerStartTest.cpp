#include "engine/XaudioPlayer.h"

#include "support/FakeEngine.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

using test_support::FakeEngine;
using test_support::fakeEnginePath;
using test_support::FakeEngineVariant;

namespace {

std::string exceptionText(const std::function<void()>& action) {
    try {
        action();
    } catch (const EXaudioException& error) {
        return error.what();
    }
    return "(no EXaudioException)";
}

bool isLoadedInProcess(const std::string& path) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle == nullptr)
        return false;
    dlclose(handle);
    return true;
}

} // namespace

TEST(XaudioPlayerStart, LibraryWithoutParamsToMessageIsUnloadedWithEverySlotEmpty) {
    const std::string path = fakeEnginePath(FakeEngineVariant::WithoutParamsToMessage);
    TXaudioPlayer player;
    player.XaudioPath = QString::fromStdString(path);

    EXPECT_EQ(exceptionText([&] { player.Init(); }),
              "Cannot Find Symbol control_win32_params_to_message in Xaudio DLL");
    EXPECT_FALSE(player.isLibraryLoaded());
    EXPECT_EQ(player.binding().boundCount(), 0);
    EXPECT_FALSE(player.hasPlayer());
    EXPECT_FALSE(isLoadedInProcess(path));

    // The next command starts over from loading and fails the same way.
    EXPECT_EQ(exceptionText([&] { player.Play(); }),
              "Cannot Find Symbol control_win32_params_to_message in Xaudio DLL");
    EXPECT_FALSE(isLoadedInProcess(path));
}

TEST(XaudioPlayerStart, EngineOfVersionThreeSixIsRefusedAgainOnTheNextCommand) {
    FakeEngine fake(FakeEngineVariant::Version36);
    TXaudioPlayer player;
    player.XaudioPath = QString::fromStdString(fake.path());

    const std::string expected = "Xaudio DLL API Mismatch\rExpected 3.8, Got 3.6";
    EXPECT_EQ(exceptionText([&] { player.Init(); }), expected);
    EXPECT_TRUE(player.isLibraryLoaded());
    EXPECT_EQ(player.binding().boundCount(), engine::XaudioBinding::kEntryPointCount);

    EXPECT_EQ(exceptionText([&] { player.Play(); }), expected);
    EXPECT_EQ(exceptionText([&] { player.ErrorString(-1); }), expected);
    EXPECT_FALSE(player.hasPlayer());
    EXPECT_EQ(fake.livePlayers(), 0);
    EXPECT_TRUE(fake.commands().empty());
}

TEST(XaudioPlayerStart, MissingLibraryIsReportedWithItsPath) {
    TXaudioPlayer player;
    player.XaudioPath = "no-such-engine.dll";
    EXPECT_EQ(exceptionText([&] { player.Init(); }), "Cannot Load Xaudio DLL (no-such-engine.dll)");
    EXPECT_EQ(exceptionText([&] { player.InputOpen("x.mp3"); }), "Cannot Load Xaudio DLL (no-such-engine.dll)");
    EXPECT_FALSE(player.isLibraryLoaded());
}

TEST(XaudioPlayerStart, RefusedPlayerIsReportedAndTheNextCallRetries) {
    FakeEngine fake;
    TXaudioPlayer player;
    player.XaudioPath = QString::fromStdString(fake.path());

    fake.setPlayerNewStatus(XA_ERROR_OUT_OF_MEMORY);
    EXPECT_EQ(exceptionText([&] { player.Play(); }), "Cannot Start Xaudio Player");
    EXPECT_TRUE(player.isLibraryLoaded());
    EXPECT_TRUE(fake.commands().empty());

    fake.setPlayerNewStatus(XA_SUCCESS);
    EXPECT_EQ(player.Play(), XA_SUCCESS);
    EXPECT_EQ(fake.livePlayers(), 1);
    ASSERT_EQ(fake.commands().size(), 1u);
}

TEST(XaudioPlayerStart, GetVersionOfAComponentNeverStartedIsZeroAndLoadsNothing) {
    FakeEngine fake;
    TXaudioPlayer player;
    player.XaudioPath = QString::fromStdString(fake.path());

    EXPECT_EQ(player.GetVersion(XA_API_ID_ASYNC), 0);
    EXPECT_FALSE(player.isLibraryLoaded());
    EXPECT_EQ(fake.livePlayers(), 0);

    ASSERT_TRUE(player.Init());
    // The fake reports the selector as its build number.
    EXPECT_EQ(player.GetVersion(XA_API_ID_ASYNC), 0x030802);
    EXPECT_EQ(player.GetVersion(XA_API_ID_SYNC), 0x030801);
}

TEST(XaudioPlayerStart, HeldPriorityAppliesAtStartAndIsLeftAloneWhileRunning) {
    FakeEngine fake;
    {
        TXaudioPlayer player;
        player.XaudioPath = QString::fromStdString(fake.path());
        EXPECT_EQ(player.Priority(), 3);
        player.SetPriority(4);
        EXPECT_EQ(player.Priority(), 4);
        EXPECT_EQ(fake.setPriorityCalls(), 0);

        ASSERT_TRUE(player.Init());
        EXPECT_EQ(fake.priority(fake.lastPlayer()), 4);

        player.SetPriority(7);
        EXPECT_EQ(fake.priority(fake.lastPlayer()), 7);
        EXPECT_EQ(player.Priority(), 7);
        EXPECT_EQ(player.heldPriority(), 4);
    }
    EXPECT_EQ(fake.livePlayers(), 0);
}

TEST(XaudioPlayerStart, DefaultPriorityIsNotSentToTheEngine) {
    FakeEngine fake;
    TXaudioPlayer player;
    player.XaudioPath = QString::fromStdString(fake.path());
    ASSERT_TRUE(player.Init());
    EXPECT_EQ(fake.setPriorityCalls(), 0);
    EXPECT_EQ(player.Priority(), 4); // the fake's own default
}

TEST(XaudioPlayerStart, InitIsIdempotentAndDestructionDeletesThePlayer) {
    FakeEngine fake;
    {
        TXaudioPlayer player;
        player.XaudioPath = QString::fromStdString(fake.path());
        ASSERT_TRUE(player.Init());
        ASSERT_TRUE(player.Init());
        EXPECT_EQ(fake.livePlayers(), 1);
    }
    EXPECT_EQ(fake.livePlayers(), 0);
}

TEST(XaudioPlayerStart, ErrorStringStartsTheEngineAndPassesTheTextThrough) {
    FakeEngine fake;
    TXaudioPlayer player;
    player.XaudioPath = QString::fromStdString(fake.path());
    EXPECT_EQ(player.ErrorString(XA_ERROR_OPEN_FAILED), "fake error -5");
    EXPECT_TRUE(player.hasPlayer());
}

TEST(XaudioPlayerStart, OwnerDestroysTheComponent) {
    FakeEngine fake;
    auto owner = std::make_unique<QObject>();
    auto* player = new TXaudioPlayer(owner.get());
    player->XaudioPath = QString::fromStdString(fake.path());
    ASSERT_TRUE(player->Init());
    EXPECT_STREQ(player->metaObject()->className(), "TXaudioPlayer");
    owner.reset();
    EXPECT_EQ(fake.livePlayers(), 0);
}
