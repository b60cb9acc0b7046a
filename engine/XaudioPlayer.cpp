#include "XaudioPlayer.h"

#include "NotificationWindow.h"

#include <QFile>

namespace {

constexpr uint32_t kRequiredMajorVersion = 3;
constexpr uint32_t kRequiredMinorVersion = 8;
constexpr int kDefaultPriority = 3;

// Engine texts are bytes; file names must reach the file system exactly as
// the rest of the application encodes them.
QByteArray engineText(const QString& text) {
    return QFile::encodeName(text);
}

} // namespace

TXaudioPlayer::TXaudioPlayer(QObject* Owner) : QObject(Owner) {
    try {
        m_window = std::make_unique<engine::NotificationWindow>(
            [this](const platform::WindowMessage& message) { return handleNotification(message); });
    } catch (const std::exception&) {
        throw EXaudioException("Cannot Create Hidden Window");
    }
}

TXaudioPlayer::~TXaudioPlayer() {
    if (m_player != nullptr) {
        // After player_delete returns the engine posts nothing more, so the
        // hidden window can go; notifications still queued go with it.
        m_binding.player_delete(m_player);
        m_player = nullptr;
    }
    m_library.unload();
    m_binding.clear();
    m_window.reset();
}

int TXaudioPlayer::Priority() const {
    return m_player != nullptr ? m_binding.player_get_priority(m_player) : m_heldPriority;
}

void TXaudioPlayer::SetPriority(int Value) {
    if (m_player != nullptr)
        m_binding.player_set_priority(m_player, Value);
    else
        m_heldPriority = Value;
}

bool TXaudioPlayer::Init() {
    return runStartSequence();
}

QString TXaudioPlayer::ErrorString(int Status) {
    if (!runStartSequence())
        return {};
    const char* text = m_binding.xaudio_error_string(Status);
    return text != nullptr ? QString::fromLocal8Bit(text) : QString();
}

int TXaudioPlayer::GetVersion(uint8_t Selector) {
    if (m_player == nullptr)
        return 0;
    return static_cast<int>(m_binding.xaudio_get_version(Selector));
}

void TXaudioPlayer::loadLibrary() {
    const std::string path = engineText(XaudioPath).toStdString();
    if (!m_library.load(path))
        throw EXaudioException("Cannot Load Xaudio DLL (" + path + ")");
    const std::string missing = m_binding.bind(m_library);
    if (!missing.empty()) {
        m_library.unload();
        m_binding.clear();
        throw EXaudioException("Cannot Find Symbol " + missing + " in Xaudio DLL");
    }
}

bool TXaudioPlayer::runStartSequence() {
    if (m_player != nullptr)
        return true;
    if (!m_library.isLoaded())
        loadLibrary();

    // A library of another version stays loaded; the next call checks again.
    const uint32_t version = m_binding.xaudio_get_version(XA_API_ID_ASYNC);
    const uint32_t major = (version >> 16) & 0xff;
    const uint32_t minor = (version >> 8) & 0xff;
    if (major != kRequiredMajorVersion || minor != kRequiredMinorVersion) {
        throw EXaudioException("Xaudio DLL API Mismatch\rExpected " + std::to_string(kRequiredMajorVersion) + "." +
                               std::to_string(kRequiredMinorVersion) + ", Got " + std::to_string(major) + "." +
                               std::to_string(minor));
    }

    XA_Player* player = nullptr;
    if (m_binding.player_new(&player, m_window->notificationTarget()) != XA_SUCCESS)
        throw EXaudioException("Cannot Start Xaudio Player");
    m_player = player;
    if (m_player != nullptr && m_heldPriority != kDefaultPriority)
        m_binding.player_set_priority(m_player, m_heldPriority);
    return m_player != nullptr;
}

bool TXaudioPlayer::handleNotification(const platform::WindowMessage& message) {
    if (message.number < XA_NOTIFICATION_MESSAGE_BASE)
        return false;
    if (m_player == nullptr)
        return true;
    // The engine reads a whole XA_Message from the copy; a short payload is
    // padded so that it never reads past our buffer.
    QByteArray payload = message.payload;
    const auto minimumSize = static_cast<qsizetype>(sizeof(XA_Message));
    if (payload.size() < minimumSize)
        payload.append(QByteArray(minimumSize - payload.size(), '\0'));
    XA_Message notification{};
    if (m_binding.control_win32_params_to_message(m_player, &notification, message.number, message.wParam,
                                                  reinterpret_cast<intptr_t>(payload.constData())) != XA_SUCCESS)
        return true;
    raise(this, notification);
    return true;
}

template <typename Function, typename... Arguments>
int TXaudioPlayer::send(Start start, Function engine::XaudioBinding::*entryPoint, int code, Arguments... arguments) {
    if (start == Start::Yes) {
        if (!runStartSequence())
            return 0;
    } else if (m_player == nullptr) {
        // Feedback-handler commands have no player to address before an
        // ordinary command has started the engine; refuse instead of sending
        // to nothing.
        return XA_ERROR_INVALID_STATE;
    }
    return (m_binding.*entryPoint)(m_player, code, arguments...);
}

using B = engine::XaudioBinding;

int TXaudioPlayer::Synchronize() {
    return send(Start::Yes, &B::control_message_send_N, XA_MSG_COMMAND_SYNC);
}
int TXaudioPlayer::Ping(int Tag) {
    return send(Start::Yes, &B::control_message_send_I, XA_MSG_COMMAND_PING, Tag);
}
int TXaudioPlayer::Play() {
    return send(Start::Yes, &B::control_message_send_N, XA_MSG_COMMAND_PLAY);
}
int TXaudioPlayer::Pause() {
    return send(Start::Yes, &B::control_message_send_N, XA_MSG_COMMAND_PAUSE);
}
int TXaudioPlayer::Stop() {
    return send(Start::Yes, &B::control_message_send_N, XA_MSG_COMMAND_STOP);
}

int TXaudioPlayer::InputSeek(int Offset, int Range) {
    return send(Start::Yes, &B::control_message_send_II, XA_MSG_COMMAND_INPUT_SEEK, Offset, Range);
}

int TXaudioPlayer::InputOpen(const QString& Name) {
    const QByteArray name = engineText(Name);
    return send(Start::Yes, &B::control_message_send_S, XA_MSG_COMMAND_INPUT_OPEN, name.constData());
}

int TXaudioPlayer::InputClose() {
    return send(Start::Yes, &B::control_message_send_N, XA_MSG_COMMAND_INPUT_CLOSE);
}

int TXaudioPlayer::InputSendMessage(uint16_t Type, const void* Data, int Size) {
    return send(Start::Yes, &B::control_message_send_IPI, XA_MSG_COMMAND_INPUT_SEND_MESSAGE, static_cast<int>(Type),
                Data, Size);
}

int TXaudioPlayer::InputAddFilter(const QString& Name, int Value) {
    const QByteArray name = engineText(Name);
    return send(Start::Yes, &B::control_message_send_SI, XA_MSG_COMMAND_INPUT_ADD_FILTER, name.constData(), Value);
}

int TXaudioPlayer::InputRemoveFilter(const QString& Name, int Value) {
    const QByteArray name = engineText(Name);
    return send(Start::Yes, &B::control_message_send_SI, XA_MSG_COMMAND_INPUT_REMOVE_FILTER, name.constData(), Value);
}

int TXaudioPlayer::InputFilterList() {
    return send(Start::Yes, &B::control_message_send_N, XA_MSG_COMMAND_INPUT_FILTERS_LIST);
}

int TXaudioPlayer::InputModuleRegister(const QString& Name) {
    const QByteArray name = engineText(Name);
    return send(Start::Yes, &B::control_message_send_S, XA_MSG_COMMAND_INPUT_MODULE_REGISTER, name.constData());
}

int TXaudioPlayer::InputModuleQuery(int Module) {
    return send(Start::Yes, &B::control_message_send_I, XA_MSG_COMMAND_INPUT_MODULE_QUERY, Module);
}

int TXaudioPlayer::InputModulesList() {
    return send(Start::Yes, &B::control_message_send_N, XA_MSG_COMMAND_INPUT_MODULES_LIST);
}

int TXaudioPlayer::OutputOpen(const QString& Name) {
    const QByteArray name = engineText(Name);
    return send(Start::Yes, &B::control_message_send_S, XA_MSG_COMMAND_OUTPUT_OPEN, name.constData());
}

int TXaudioPlayer::OutputClose() {
    return send(Start::Yes, &B::control_message_send_N, XA_MSG_COMMAND_OUTPUT_CLOSE);
}

int TXaudioPlayer::OutputSendMessage(uint16_t Type, const void* Data, int Size) {
    return send(Start::Yes, &B::control_message_send_IPI, XA_MSG_COMMAND_OUTPUT_SEND_MESSAGE, static_cast<int>(Type),
                Data, Size);
}

int TXaudioPlayer::OutputMute() {
    return send(Start::Yes, &B::control_message_send_N, XA_MSG_COMMAND_OUTPUT_MUTE);
}

int TXaudioPlayer::OutputUnmute() {
    return send(Start::Yes, &B::control_message_send_N, XA_MSG_COMMAND_OUTPUT_UNMUTE);
}

int TXaudioPlayer::OutputReset() {
    return send(Start::Yes, &B::control_message_send_N, XA_MSG_COMMAND_OUTPUT_RESET);
}
int TXaudioPlayer::OutputDrain() {
    return send(Start::Yes, &B::control_message_send_N, XA_MSG_COMMAND_OUTPUT_DRAIN);
}

int TXaudioPlayer::OutputAddFilter(const QString& Name, int Value) {
    const QByteArray name = engineText(Name);
    return send(Start::Yes, &B::control_message_send_SI, XA_MSG_COMMAND_OUTPUT_ADD_FILTER, name.constData(), Value);
}

int TXaudioPlayer::OutputRemoveFilter(const QString& Name, int Value) {
    const QByteArray name = engineText(Name);
    return send(Start::Yes, &B::control_message_send_SI, XA_MSG_COMMAND_OUTPUT_REMOVE_FILTER, name.constData(), Value);
}

int TXaudioPlayer::OutputFilterList() {
    return send(Start::Yes, &B::control_message_send_N, XA_MSG_COMMAND_OUTPUT_FILTERS_LIST);
}

int TXaudioPlayer::OutputModuleRegister(const QString& Name) {
    const QByteArray name = engineText(Name);
    return send(Start::Yes, &B::control_message_send_S, XA_MSG_COMMAND_OUTPUT_MODULE_REGISTER, name.constData());
}

int TXaudioPlayer::OutputModuleQuery(int Module) {
    return send(Start::Yes, &B::control_message_send_I, XA_MSG_COMMAND_OUTPUT_MODULE_QUERY, Module);
}

int TXaudioPlayer::OutputModulesList() {
    return send(Start::Yes, &B::control_message_send_N, XA_MSG_COMMAND_OUTPUT_MODULES_LIST);
}

int TXaudioPlayer::CodecSendMessage(uint16_t Type, const void* Data, int Size) {
    return send(Start::Yes, &B::control_message_send_IPI, XA_MSG_COMMAND_CODEC_SEND_MESSAGE, static_cast<int>(Type),
                Data, Size);
}

int TXaudioPlayer::CodecModuleRegister(const QString& Name) {
    const QByteArray name = engineText(Name);
    return send(Start::Yes, &B::control_message_send_S, XA_MSG_COMMAND_CODEC_MODULE_REGISTER, name.constData());
}

int TXaudioPlayer::CodecModuleQuery(int Module) {
    return send(Start::Yes, &B::control_message_send_I, XA_MSG_COMMAND_CODEC_MODULE_QUERY, Module);
}

int TXaudioPlayer::CodecModulesList() {
    return send(Start::Yes, &B::control_message_send_N, XA_MSG_COMMAND_CODEC_MODULES_LIST);
}

int TXaudioPlayer::SetPlayerMode(int Mode) {
    return send(Start::Yes, &B::control_message_send_I, XA_MSG_SET_PLAYER_MODE, Mode);
}

int TXaudioPlayer::GetPlayerMode() {
    return send(Start::Yes, &B::control_message_send_N, XA_MSG_GET_PLAYER_MODE);
}

int TXaudioPlayer::SetPlayerEnvironmentInteger(const QString& Name, int Value) {
    const QByteArray name = engineText(Name);
    return send(Start::Yes, &B::control_message_send_SI, XA_MSG_SET_PLAYER_ENVIRONMENT_INTEGER, name.constData(),
                Value);
}

int TXaudioPlayer::GetPlayerEnvironmentInteger(const QString& Name) {
    const QByteArray name = engineText(Name);
    return send(Start::Yes, &B::control_message_send_S, XA_MSG_GET_PLAYER_ENVIRONMENT_INTEGER, name.constData());
}

int TXaudioPlayer::SetPlayerEnvironmentString(const QString& Name, const QString& Value) {
    const QByteArray name = engineText(Name);
    const QByteArray value = engineText(Value);
    return send(Start::Yes, &B::control_message_send_SS, XA_MSG_SET_PLAYER_ENVIRONMENT_STRING, name.constData(),
                value.constData());
}

int TXaudioPlayer::GetPlayerEnvironmentString(const QString& Name) {
    const QByteArray name = engineText(Name);
    return send(Start::Yes, &B::control_message_send_S, XA_MSG_GET_PLAYER_ENVIRONMENT_STRING, name.constData());
}

int TXaudioPlayer::UnsetPlayerEnvironment(const QString& Name) {
    const QByteArray name = engineText(Name);
    return send(Start::Yes, &B::control_message_send_S, XA_MSG_UNSET_PLAYER_ENVIRONMENT, name.constData());
}

int TXaudioPlayer::SetInputName(const QString& Name) {
    const QByteArray name = engineText(Name);
    return send(Start::Yes, &B::control_message_send_S, XA_MSG_SET_INPUT_NAME, name.constData());
}

int TXaudioPlayer::GetInputName() {
    return send(Start::Yes, &B::control_message_send_N, XA_MSG_GET_INPUT_NAME);
}

int TXaudioPlayer::SetInputModule(int Module) {
    return send(Start::Yes, &B::control_message_send_I, XA_MSG_SET_INPUT_MODULE, Module);
}

int TXaudioPlayer::GetInputModule() {
    return send(Start::Yes, &B::control_message_send_N, XA_MSG_GET_INPUT_MODULE);
}

int TXaudioPlayer::SetInputPositionRange(int Range) {
    return send(Start::Yes, &B::control_message_send_I, XA_MSG_SET_INPUT_POSITION_RANGE, Range);
}

int TXaudioPlayer::GetInputPositionRange() {
    return send(Start::Yes, &B::control_message_send_N, XA_MSG_GET_INPUT_POSITION_RANGE);
}

int TXaudioPlayer::SetInputTimecodeGranularity(int Granularity) {
    return send(Start::Yes, &B::control_message_send_I, XA_MSG_SET_INPUT_TIMECODE_GRANULARITY, Granularity);
}

int TXaudioPlayer::GetInputTimecodeGranularity() {
    return send(Start::Yes, &B::control_message_send_N, XA_MSG_GET_INPUT_TIMECODE_GRANULARITY);
}

int TXaudioPlayer::SetOutputName(const QString& Name) {
    const QByteArray name = engineText(Name);
    return send(Start::Yes, &B::control_message_send_S, XA_MSG_SET_OUTPUT_NAME, name.constData());
}

int TXaudioPlayer::GetOutputName() {
    return send(Start::Yes, &B::control_message_send_N, XA_MSG_GET_OUTPUT_NAME);
}

int TXaudioPlayer::SetOutputModule(int Module) {
    return send(Start::Yes, &B::control_message_send_I, XA_MSG_SET_OUTPUT_MODULE, Module);
}

int TXaudioPlayer::GetOutputModule() {
    return send(Start::Yes, &B::control_message_send_N, XA_MSG_GET_OUTPUT_MODULE);
}

int TXaudioPlayer::SetOutputVolume(int MasterLevel, int PcmLevel, int Balance) {
    return send(Start::Yes, &B::control_message_send_III, XA_MSG_SET_OUTPUT_VOLUME, MasterLevel, PcmLevel, Balance);
}

int TXaudioPlayer::GetOutputVolume() {
    return send(Start::Yes, &B::control_message_send_N, XA_MSG_GET_OUTPUT_VOLUME);
}

int TXaudioPlayer::SetOutputChannels(int Channels) {
    return send(Start::Yes, &B::control_message_send_I, XA_MSG_SET_OUTPUT_CHANNELS, Channels);
}

int TXaudioPlayer::GetOutputChannels() {
    return send(Start::Yes, &B::control_message_send_N, XA_MSG_GET_OUTPUT_CHANNELS);
}

int TXaudioPlayer::SetOutputPorts(uint32_t Ports) {
    return send(Start::Yes, &B::control_message_send_I, XA_MSG_SET_OUTPUT_PORTS, static_cast<int>(Ports));
}

int TXaudioPlayer::GetOutputPorts() {
    return send(Start::Yes, &B::control_message_send_N, XA_MSG_GET_OUTPUT_PORTS);
}

int TXaudioPlayer::SetCodecQuality(uint8_t Quality) {
    return send(Start::Yes, &B::control_message_send_I, XA_MSG_SET_CODEC_QUALITY, static_cast<int>(Quality));
}

int TXaudioPlayer::GetCodecQuality() {
    return send(Start::Yes, &B::control_message_send_N, XA_MSG_GET_CODEC_QUALITY);
}

int TXaudioPlayer::SetCodecEqualizer(const XA_EqualizerInfo* Equalizer) {
    return send(Start::Yes, &B::control_message_send_P, XA_MSG_SET_CODEC_EQUALIZER,
                static_cast<const void*>(Equalizer));
}

int TXaudioPlayer::GetCodecEqualizer() {
    return send(Start::Yes, &B::control_message_send_N, XA_MSG_GET_CODEC_EQUALIZER);
}

int TXaudioPlayer::SetNotificationMask(uint32_t Mask) {
    return send(Start::Yes, &B::control_message_send_I, XA_MSG_SET_NOTIFICATION_MASK, static_cast<int>(Mask));
}

int TXaudioPlayer::GetNotificationMask() {
    return send(Start::Yes, &B::control_message_send_N, XA_MSG_GET_NOTIFICATION_MASK);
}

int TXaudioPlayer::SetDebugLevel(int Level) {
    return send(Start::Yes, &B::control_message_send_I, XA_MSG_SET_DEBUG_LEVEL, Level);
}

int TXaudioPlayer::GetDebugLevel() {
    return send(Start::Yes, &B::control_message_send_N, XA_MSG_GET_DEBUG_LEVEL);
}

int TXaudioPlayer::FeedbackHandlerModuleRegister(const QString& Name) {
    const QByteArray name = engineText(Name);
    return send(Start::No, &B::control_message_send_S, XA_MSG_COMMAND_FEEDBACK_HANDLER_MODULE_REGISTER,
                name.constData());
}

int TXaudioPlayer::FeedbackHandlerModuleQuery(int Module) {
    return send(Start::No, &B::control_message_send_I, XA_MSG_COMMAND_FEEDBACK_HANDLER_MODULE_QUERY, Module);
}

int TXaudioPlayer::FeedbackHandlerModulesList() {
    return send(Start::No, &B::control_message_send_N, XA_MSG_COMMAND_FEEDBACK_HANDLER_MODULES_LIST);
}

int TXaudioPlayer::FeedbackHandlerStart() {
    return send(Start::No, &B::control_message_send_N, XA_MSG_COMMAND_FEEDBACK_HANDLER_START);
}

int TXaudioPlayer::FeedbackHandlerStop() {
    return send(Start::No, &B::control_message_send_N, XA_MSG_COMMAND_FEEDBACK_HANDLER_STOP);
}

int TXaudioPlayer::FeedbackHandlerSendMessage(uint16_t Type, const void* Data, int Size) {
    return send(Start::No, &B::control_message_send_IPI, XA_MSG_COMMAND_FEEDBACK_HANDLER_SEND_MESSAGE,
                static_cast<int>(Type), Data, Size);
}

int TXaudioPlayer::SetFeedbackAudioEventRate(int EventsPerSecond) {
    return send(Start::No, &B::control_message_send_I, XA_MSG_SET_FEEDBACK_AUDIO_EVENT_RATE, EventsPerSecond);
}

int TXaudioPlayer::GetFeedbackAudioEventRate() {
    return send(Start::No, &B::control_message_send_N, XA_MSG_GET_FEEDBACK_AUDIO_EVENT_RATE);
}

int TXaudioPlayer::SetFeedbackHandlerName(const QString& Name) {
    const QByteArray name = engineText(Name);
    return send(Start::No, &B::control_message_send_S, XA_MSG_SET_FEEDBACK_HANDLER_NAME, name.constData());
}

int TXaudioPlayer::GetFeedbackHandlerName() {
    return send(Start::No, &B::control_message_send_N, XA_MSG_GET_FEEDBACK_HANDLER_NAME);
}

int TXaudioPlayer::SetFeedbackHandlerModule(int Module) {
    return send(Start::No, &B::control_message_send_I, XA_MSG_SET_FEEDBACK_HANDLER_MODULE, Module);
}

int TXaudioPlayer::GetFeedbackHandlerModule() {
    return send(Start::No, &B::control_message_send_N, XA_MSG_GET_FEEDBACK_HANDLER_MODULE);
}

int TXaudioPlayer::SetFeedbackHandlerEnvironmentInteger(const QString& Name, int Value) {
    const QByteArray name = engineText(Name);
    return send(Start::No, &B::control_message_send_SI, XA_MSG_SET_FEEDBACK_HANDLER_ENVIRONMENT_INTEGER,
                name.constData(), Value);
}

int TXaudioPlayer::GetFeedbackHandlerEnvironmentInteger(const QString& Name) {
    const QByteArray name = engineText(Name);
    return send(Start::No, &B::control_message_send_S, XA_MSG_GET_FEEDBACK_HANDLER_ENVIRONMENT_INTEGER,
                name.constData());
}

int TXaudioPlayer::SetFeedbackHandlerEnvironmentString(const QString& Name, const QString& Value) {
    const QByteArray name = engineText(Name);
    const QByteArray value = engineText(Value);
    return send(Start::No, &B::control_message_send_SS, XA_MSG_SET_FEEDBACK_HANDLER_ENVIRONMENT_STRING,
                name.constData(), value.constData());
}

int TXaudioPlayer::GetFeedbackHandlerEnvironmentString(const QString& Name) {
    const QByteArray name = engineText(Name);
    return send(Start::No, &B::control_message_send_S, XA_MSG_GET_FEEDBACK_HANDLER_ENVIRONMENT_STRING,
                name.constData());
}

int TXaudioPlayer::UnsetFeedbackHandlerEnvironment(const QString& Name) {
    const QByteArray name = engineText(Name);
    return send(Start::No, &B::control_message_send_S, XA_MSG_UNSET_FEEDBACK_HANDLER_ENVIRONMENT, name.constData());
}
