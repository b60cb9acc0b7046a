#pragma once

#include "EXaudioException.h"
#include "XaudioBinding.h"
#include "XaudioEvents.h"

#include "platform/SharedLibrary.h"
#include "platform/WindowMessages.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>

namespace engine {
class NotificationWindow;
}

// The player control component: owns one asynchronous engine player, turns
// method calls into engine commands and the engine's notifications into the
// events of engine::XaudioEvents.
//
// Threads: create, use and destroy it on the GUI thread. Commands return as
// soon as the engine has queued them (they do not wait for audio I/O). The
// engine posts notifications from its own threads to the component's hidden
// window; the events run later on the GUI thread, in message dispatch.
//
// The engine is started lazily: Init, ErrorString and every command of codes
// 2 to 72 run the start sequence (load XaudioPath, bind the entry points,
// check the version, create the player) as far as it gets, and throw
// EXaudioException where it stops; the next call retries from there.
// Text arguments are handed to the engine as bytes in the file-name encoding
// (QFile::encodeName), so non-ASCII paths reach the file system unchanged.
class TXaudioPlayer : public QObject, public engine::XaudioEvents {
    Q_OBJECT

public:
    // Throws EXaudioException("Cannot Create Hidden Window") when there is
    // no application object to deliver notifications.
    explicit TXaudioPlayer(QObject* Owner = nullptr);
    ~TXaudioPlayer() override;

    // The engine library's file name, handed to platform::SharedLibrary
    // ("xaudio.dll" is libxaudio.so in the application folder). Read when the
    // library is loaded, so changing it later has no effect.
    QString XaudioPath = QStringLiteral("xaudio.dll");

    // The engine's priority of the player thread if a player exists, else
    // the value held for the next start (3 at first).
    int Priority() const;
    // With a player, changes the engine at once and leaves the held value;
    // without one, holds the value for the next start.
    void SetPriority(int Value);

    // Runs the start sequence; true when a player exists afterwards.
    bool Init();
    // The engine's text for a status; runs the start sequence first.
    QString ErrorString(int Status);
    // The engine's version word for the selector when a player exists, else
    // 0. Never starts the engine.
    int GetVersion(uint8_t Selector);

    // Commands. Each returns the engine's status (0: queued) or 0 when the
    // start sequence did not produce a player. Get commands return only the
    // status; the value arrives later through the matching event.
    int Synchronize();
    int Ping(int Tag);
    int Play();
    int Pause();
    int Stop();
    int InputSeek(int Offset, int Range);
    int InputOpen(const QString& Name);
    int InputClose();
    int InputSendMessage(uint16_t Type, const void* Data, int Size);
    int InputAddFilter(const QString& Name, int Value);
    int InputRemoveFilter(const QString& Name, int Value);
    int InputFilterList();
    int InputModuleRegister(const QString& Name);
    int InputModuleQuery(int Module);
    int InputModulesList();
    int OutputOpen(const QString& Name);
    int OutputClose();
    int OutputSendMessage(uint16_t Type, const void* Data, int Size);
    int OutputMute();
    int OutputUnmute();
    int OutputReset();
    int OutputDrain();
    int OutputAddFilter(const QString& Name, int Value);
    int OutputRemoveFilter(const QString& Name, int Value);
    int OutputFilterList();
    int OutputModuleRegister(const QString& Name);
    int OutputModuleQuery(int Module);
    int OutputModulesList();
    int CodecSendMessage(uint16_t Type, const void* Data, int Size);
    int CodecModuleRegister(const QString& Name);
    int CodecModuleQuery(int Module);
    int CodecModulesList();
    int SetPlayerMode(int Mode);
    int GetPlayerMode();
    int SetPlayerEnvironmentInteger(const QString& Name, int Value);
    int GetPlayerEnvironmentInteger(const QString& Name);
    int SetPlayerEnvironmentString(const QString& Name, const QString& Value);
    int GetPlayerEnvironmentString(const QString& Name);
    int UnsetPlayerEnvironment(const QString& Name);
    int SetInputName(const QString& Name);
    int GetInputName();
    int SetInputModule(int Module);
    int GetInputModule();
    int SetInputPositionRange(int Range);
    int GetInputPositionRange();
    int SetInputTimecodeGranularity(int Granularity);
    int GetInputTimecodeGranularity();
    int SetOutputName(const QString& Name);
    int GetOutputName();
    int SetOutputModule(int Module);
    int GetOutputModule();
    // -1 leaves a level unchanged; the three are sent in the caller's order.
    int SetOutputVolume(int MasterLevel, int PcmLevel, int Balance);
    int GetOutputVolume();
    int SetOutputChannels(int Channels);
    int GetOutputChannels();
    int SetOutputPorts(uint32_t Ports);
    int GetOutputPorts();
    int SetCodecQuality(uint8_t Quality);
    int GetCodecQuality();
    // Null switches the equalizer off. The table is copied before return.
    int SetCodecEqualizer(const XA_EqualizerInfo* Equalizer);
    int GetCodecEqualizer();
    int SetNotificationMask(uint32_t Mask);
    int GetNotificationMask();
    int SetDebugLevel(int Level);
    int GetDebugLevel();

    // Feedback-handler commands: they never start the engine. Without a
    // player nothing is sent and XA_ERROR_INVALID_STATE is returned.
    int FeedbackHandlerModuleRegister(const QString& Name);
    int FeedbackHandlerModuleQuery(int Module);
    int FeedbackHandlerModulesList();
    int FeedbackHandlerStart();
    int FeedbackHandlerStop();
    int FeedbackHandlerSendMessage(uint16_t Type, const void* Data, int Size);
    int SetFeedbackAudioEventRate(int EventsPerSecond);
    int GetFeedbackAudioEventRate();
    int SetFeedbackHandlerName(const QString& Name);
    int GetFeedbackHandlerName();
    int SetFeedbackHandlerModule(int Module);
    int GetFeedbackHandlerModule();
    int SetFeedbackHandlerEnvironmentInteger(const QString& Name, int Value);
    int GetFeedbackHandlerEnvironmentInteger(const QString& Name);
    int SetFeedbackHandlerEnvironmentString(const QString& Name, const QString& Value);
    int GetFeedbackHandlerEnvironmentString(const QString& Name);
    int UnsetFeedbackHandlerEnvironment(const QString& Name);

    // State, for callers that must not start the engine and for tests.
    bool isLibraryLoaded() const { return m_library.isLoaded(); }
    bool hasPlayer() const { return m_player != nullptr; }
    int heldPriority() const { return m_heldPriority; }
    const engine::XaudioBinding& binding() const { return m_binding; }

private:
    enum class Start { Yes, No };

    bool runStartSequence();
    void loadLibrary();
    bool handleNotification(const platform::WindowMessage& message);

    template <typename Function, typename... Arguments>
    int send(Start start, Function engine::XaudioBinding::*entryPoint, int code, Arguments... arguments);

    std::unique_ptr<engine::NotificationWindow> m_window;
    platform::SharedLibrary m_library;
    engine::XaudioBinding m_binding;
    XA_Player* m_player = nullptr;
    int m_heldPriority = 3;
};
