#pragma once

// The fake engine, for tests of everything that drives the engine through
// the player control component (decks, mixer, equalizer, the component
// itself).
//
// The fake is a shared library with the engine's C ABI (libfakexaudio.so,
// built into a test folder, never into the application folder). It plays
// nothing: it records every control_message_send_* call with its code and
// arguments, returns configurable statuses, and posts the notifications a
// test hands it through the player's notification target, exactly as the
// real engine's threads do. It posts nothing on its own (not even READY)
// unless setAutoReply(true) makes it answer each command with an ack/nack.
//
// Typical use (link drovan_fake_engine):
//
//   test_support::FakeEngine fake;                // loads and resets the fake
//   TXaudioPlayer player;
//   player.XaudioPath = QString::fromStdString(fake.path());
//   player.Play();                                // starts the fake player
//   EXPECT_EQ(fake.lastCommand()->code, XA_MSG_COMMAND_PLAY);
//   fake.post(fake.lastPlayer(), test_support::playerStateNotification(1));
//   test_support::processEventsUntil([&] { return stateSeen; });
//
// Variants: FakeEngineVariant::Version36 reports version 3.6;
// WithoutParamsToMessage lacks control_win32_params_to_message.
// The record is process-wide per variant and survives components; the
// FakeEngine object keeps the library loaded while it lives. Any thread.

#include "xaudio.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace test_support {

enum class FakeEngineVariant { Normal, Version36, WithoutParamsToMessage };

// The absolute file name of a variant's library.
std::string fakeEnginePath(FakeEngineVariant variant = FakeEngineVariant::Normal);

// One recorded command.
struct FakeCommand {
    XA_Player* player = nullptr;
    int code = 0;
    std::string kinds; // "N", "P", "S", "SS", "SI", "IPI", "I", "II", "III", "IIII"
    std::vector<int> integers;
    std::vector<std::string> texts;
    bool hasPointer = false;
    bool pointerIsNull = false;
    std::vector<uint8_t> pointerBytes; // the pointed-to bytes (64 for P, size bytes for IPI, at most 256)
};

class FakeEngine {
public:
    // Loads the variant and resets its record and statuses. Throws
    // std::runtime_error when the library cannot be loaded.
    explicit FakeEngine(FakeEngineVariant variant = FakeEngineVariant::Normal);
    ~FakeEngine();
    FakeEngine(const FakeEngine&) = delete;
    FakeEngine& operator=(const FakeEngine&) = delete;

    const std::string& path() const { return m_path; }

    std::vector<FakeCommand> commands() const;
    std::vector<FakeCommand> commandsWithCode(int code) const;
    std::optional<FakeCommand> lastCommand() const;
    // Forgets the record; every status goes back to XA_SUCCESS.
    void reset();

    // Status returned by later commands, and by later player_new calls.
    void setCommandStatus(int status);
    void setPlayerNewStatus(int status);
    // Answer every later command with an ack (or a nack carrying the command
    // status), posted like the engine's notifications. Off by default.
    void setAutoReply(bool enabled);

    int livePlayers() const;
    XA_Player* lastPlayer() const;
    int priority(XA_Player* player) const;
    int setPriorityCalls() const;

    // Posts a notification on the calling thread through the player's
    // target (message number 0x9000 + code). Returns the fake's status.
    int post(XA_Player* player, const XA_Message& message) const;
    int postRaw(XA_Player* player, uint32_t number, uintptr_t wparam, const void* payload, size_t size) const;

private:
    template <typename Function> Function function(const char* name) const;

    std::string m_path;
    void* m_handle = nullptr;
};

// Notification records for post().
XA_Message notification(int code);
XA_Message playerStateNotification(int state);
XA_Message inputNameNotification(const std::string& name);
XA_Message inputPositionNotification(uint32_t offset, uint32_t range);
XA_Message inputTimecodeNotification(uint8_t hours, uint8_t minutes, uint8_t seconds, uint8_t hundredths);
XA_Message streamDurationNotification(uint32_t seconds);
XA_Message streamParametersNotification(uint32_t frequencyHz, int16_t bitrateKbps, uint8_t channels);
XA_Message nackNotification(uint8_t command, int16_t status);

} // namespace test_support
