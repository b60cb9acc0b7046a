// The command table of a player: what each command code does. Transport and
// output live in Player.cpp.
#include "Player.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

namespace xaudio {
namespace {

constexpr int kMinimumPitch = 100;
constexpr int kMaximumPitch = 4000;
constexpr const char* kFileInputModule = "file_input";
constexpr const char* kCodecModule = "mpeg_audio";

// The file part of a module name, so "C:/x/xa_dsound_output.dll" and
// "XA_DSOUND_OUTPUT.DLL" name the built-in module too.
bool isDsoundModule(const std::string& name) {
    const size_t slash = name.find_last_of("/\\");
    const std::string file = slash == std::string::npos ? name : name.substr(slash + 1);
    return strcasecmp(file.c_str(), XA_DSOUND_OUTPUT_MODULE) == 0;
}

} // namespace

int Player::dispatch(const Command& command) {
    switch (command.code) {
    case XA_MSG_COMMAND_SYNC:
        return XA_SUCCESS;
    case XA_MSG_COMMAND_PING: {
        XA_Message message{};
        message.code = XA_MSG_NOTIFY_PONG;
        message.data.pong.tag = static_cast<uint32_t>(command.integer1);
        post(message);
        return XA_SUCCESS;
    }
    case XA_MSG_COMMAND_PLAY:
        return play();
    case XA_MSG_COMMAND_PAUSE:
        return pause();
    case XA_MSG_COMMAND_STOP:
        return stop();
    case XA_MSG_COMMAND_INPUT_SEEK:
        return seek(command.integer1, command.integer2);
    case XA_MSG_COMMAND_INPUT_OPEN:
    case XA_MSG_SET_INPUT_NAME:
        return inputOpen(command.text1);
    case XA_MSG_COMMAND_INPUT_CLOSE:
        return inputClose();
    case XA_MSG_COMMAND_INPUT_SEND_MESSAGE:
    case XA_MSG_COMMAND_OUTPUT_SEND_MESSAGE:
    case XA_MSG_COMMAND_CODEC_SEND_MESSAGE:
    case XA_MSG_COMMAND_INPUT_FILTERS_LIST:
    case XA_MSG_COMMAND_OUTPUT_FILTERS_LIST:
        return XA_SUCCESS;
    case XA_MSG_COMMAND_OUTPUT_RESET:
        // Drops what is queued for the output and goes on from what is heard.
        if (m_stream)
            reposition(heardFrame());
        return XA_SUCCESS;
    case XA_MSG_COMMAND_OUTPUT_DRAIN:
        // The output streams continuously; there is no queue to play out and
        // close, and acking would claim otherwise.
        return XA_ERROR_UNKNOWN_COMMAND;
    case XA_MSG_COMMAND_INPUT_ADD_FILTER:
    case XA_MSG_COMMAND_INPUT_REMOVE_FILTER:
    case XA_MSG_COMMAND_OUTPUT_ADD_FILTER:
    case XA_MSG_COMMAND_OUTPUT_REMOVE_FILTER:
        return XA_ERROR_NO_SUCH_MODULE;
    case XA_MSG_COMMAND_INPUT_MODULE_REGISTER:
    case XA_MSG_COMMAND_CODEC_MODULE_REGISTER:
        return XA_SUCCESS;
    case XA_MSG_COMMAND_INPUT_MODULE_QUERY:
    case XA_MSG_COMMAND_INPUT_MODULES_LIST:
        postModuleInfo(XA_MSG_NOTIFY_INPUT_MODULE_INFO, 0, 0, kFileInputModule, "Local file input");
        return XA_SUCCESS;
    case XA_MSG_COMMAND_CODEC_MODULE_QUERY:
    case XA_MSG_COMMAND_CODEC_MODULES_LIST:
        postModuleInfo(XA_MSG_NOTIFY_CODEC_MODULE_INFO, 0, 0, kCodecModule, "MPEG audio layer I, II and III");
        return XA_SUCCESS;
    case XA_MSG_COMMAND_OUTPUT_OPEN:
        if (!command.text1.empty()) {
            if (const int status = setOutputName(command.text1); status != XA_SUCCESS)
                return status;
        }
        return ensureOutput(Report::Yes) ? XA_SUCCESS : XA_ERROR_OUTPUT_FAILED;
    case XA_MSG_COMMAND_OUTPUT_CLOSE:
        if (m_state == State::Playing)
            return XA_ERROR_INVALID_STATE;
        fadeOut();
        m_output.reset();
        return XA_SUCCESS;
    case XA_MSG_COMMAND_OUTPUT_MUTE:
    case XA_MSG_COMMAND_OUTPUT_UNMUTE:
        m_muted = command.code == XA_MSG_COMMAND_OUTPUT_MUTE;
        applyGains();
        return XA_SUCCESS;
    case XA_MSG_COMMAND_OUTPUT_MODULE_REGISTER:
        return isDsoundModule(command.text1) ? XA_SUCCESS : XA_ERROR_NO_SUCH_MODULE;
    case XA_MSG_COMMAND_OUTPUT_MODULE_QUERY:
    case XA_MSG_COMMAND_OUTPUT_MODULES_LIST:
        postModuleInfo(XA_MSG_NOTIFY_OUTPUT_MODULE_INFO, 0, m_nullMode != NullOutputMode::Off ? 0 : outputDeviceCount(),
                       XA_DSOUND_OUTPUT_MODULE, "Sound output through the system's sound devices");
        return XA_SUCCESS;
    default:
        break;
    }
    if (command.code >= XA_MSG_COMMAND_FEEDBACK_HANDLER_MODULE_REGISTER)
        return dispatchFeedback(command);
    return dispatchSetting(command);
}

int Player::dispatchSetting(const Command& command) {
    XA_Message message{};
    switch (command.code) {
    case XA_MSG_SET_PLAYER_MODE:
        m_playerMode = command.integer1;
        return XA_SUCCESS;
    case XA_MSG_GET_PLAYER_MODE:
        message.code = XA_MSG_NOTIFY_PLAYER_MODE;
        message.data.mode = m_playerMode;
        break;
    case XA_MSG_SET_PLAYER_ENVIRONMENT_INTEGER:
        return setEnvironmentInteger(command.text1, command.integer1);
    case XA_MSG_GET_PLAYER_ENVIRONMENT_INTEGER: {
        const auto found = m_integers.find(command.text1);
        const bool clock = command.text1 == XA_ENV_OUTPUT_RENDERED_FRAMES;
        if (found == m_integers.end() && !clock)
            return XA_ERROR_NO_SUCH_ENVIRONMENT;
        message.code = XA_MSG_NOTIFY_PLAYER_ENVIRONMENT_INTEGER;
        std::strncpy(message.data.environment_integer.name, command.text1.c_str(),
                     sizeof message.data.environment_integer.name - 1);
        message.data.environment_integer.value =
            clock ? static_cast<int32_t>(m_renderer.renderedFrames() & 0x7fffffffu) : found->second;
        break;
    }
    case XA_MSG_SET_PLAYER_ENVIRONMENT_STRING:
        return setEnvironmentString(command.text1, command.text2);
    case XA_MSG_GET_PLAYER_ENVIRONMENT_STRING: {
        const auto found = m_strings.find(command.text1);
        if (found == m_strings.end())
            return XA_ERROR_NO_SUCH_ENVIRONMENT;
        message.code = XA_MSG_NOTIFY_PLAYER_ENVIRONMENT_STRING;
        std::strncpy(message.data.environment_string.name, command.text1.c_str(),
                     sizeof message.data.environment_string.name - 1);
        std::strncpy(message.data.environment_string.value, found->second.c_str(),
                     sizeof message.data.environment_string.value - 1);
        break;
    }
    case XA_MSG_UNSET_PLAYER_ENVIRONMENT: {
        const bool erased = m_integers.erase(command.text1) + m_strings.erase(command.text1) > 0;
        if (command.text1 == XA_ENV_OUTPUT_PITCH)
            m_feeder.setPitch(1000);
        if (command.text1 == XA_ENV_OUTPUT_CAPTURE_FILE)
            setCapturePath("");
        return erased ? XA_SUCCESS : XA_ERROR_NO_SUCH_ENVIRONMENT;
    }
    case XA_MSG_GET_INPUT_NAME:
        postName(XA_MSG_NOTIFY_INPUT_NAME, m_inputName);
        return XA_SUCCESS;
    case XA_MSG_SET_INPUT_MODULE:
        m_inputModule = command.integer1;
        return XA_SUCCESS;
    case XA_MSG_GET_INPUT_MODULE:
        message.code = XA_MSG_NOTIFY_INPUT_MODULE;
        message.data.module_id = static_cast<int16_t>(m_inputModule);
        break;
    case XA_MSG_SET_INPUT_POSITION_RANGE:
        if (command.integer1 <= 0)
            return XA_ERROR_INVALID_PARAMETERS;
        m_positionRange = static_cast<uint32_t>(command.integer1);
        m_lastOffset = -1;
        return XA_SUCCESS;
    case XA_MSG_GET_INPUT_POSITION_RANGE:
        message.code = XA_MSG_NOTIFY_INPUT_POSITION_RANGE;
        message.data.range = static_cast<int32_t>(m_positionRange);
        break;
    case XA_MSG_SET_INPUT_TIMECODE_GRANULARITY:
        if (command.integer1 < 0)
            return XA_ERROR_INVALID_PARAMETERS;
        m_granularity = static_cast<uint32_t>(command.integer1);
        return XA_SUCCESS;
    case XA_MSG_GET_INPUT_TIMECODE_GRANULARITY:
        message.code = XA_MSG_NOTIFY_INPUT_TIMECODE_GRANULARITY;
        message.data.granularity = m_granularity;
        break;
    case XA_MSG_SET_OUTPUT_NAME:
        return setOutputName(command.text1);
    case XA_MSG_GET_OUTPUT_NAME:
        postName(XA_MSG_NOTIFY_OUTPUT_NAME, m_outputName);
        return XA_SUCCESS;
    case XA_MSG_SET_OUTPUT_MODULE:
        if (command.integer1 != 0)
            return XA_ERROR_NO_SUCH_MODULE;
        m_outputModule = command.integer1;
        return XA_SUCCESS;
    case XA_MSG_GET_OUTPUT_MODULE:
        message.code = XA_MSG_NOTIFY_OUTPUT_MODULE;
        message.data.module_id = static_cast<int16_t>(m_outputModule);
        break;
    case XA_MSG_SET_OUTPUT_VOLUME:
        return setOutputVolume(command.integer1, command.integer2, command.integer3);
    case XA_MSG_GET_OUTPUT_VOLUME:
        message.code = XA_MSG_NOTIFY_OUTPUT_VOLUME;
        message.data.volume.master_level = static_cast<uint8_t>(m_masterLevel);
        message.data.volume.pcm_level = static_cast<uint8_t>(m_pcmLevel);
        message.data.volume.balance = static_cast<uint8_t>(m_balance);
        break;
    case XA_MSG_SET_OUTPUT_CHANNELS:
        m_outputChannels = command.integer1;
        return XA_SUCCESS;
    case XA_MSG_GET_OUTPUT_CHANNELS:
        message.code = XA_MSG_NOTIFY_OUTPUT_CHANNELS;
        message.data.channels = static_cast<uint8_t>(m_outputChannels);
        break;
    case XA_MSG_SET_OUTPUT_PORTS:
        m_outputPorts = static_cast<uint32_t>(command.integer1);
        return XA_SUCCESS;
    case XA_MSG_GET_OUTPUT_PORTS:
        message.code = XA_MSG_NOTIFY_OUTPUT_PORTS;
        message.data.ports = m_outputPorts;
        break;
    case XA_MSG_SET_CODEC_QUALITY:
        m_codecQuality = command.integer1 & 0xff;
        return XA_SUCCESS;
    case XA_MSG_GET_CODEC_QUALITY:
        message.code = XA_MSG_NOTIFY_CODEC_QUALITY;
        message.data.quality = static_cast<uint8_t>(m_codecQuality);
        break;
    case XA_MSG_SET_CODEC_EQUALIZER:
        return setEqualizer(command);
    case XA_MSG_GET_CODEC_EQUALIZER:
        message.code = XA_MSG_NOTIFY_CODEC_EQUALIZER;
        if (m_equalizer)
            message.data.equalizer = *m_equalizer;
        break;
    case XA_MSG_SET_NOTIFICATION_MASK:
        m_notificationMask = static_cast<uint32_t>(command.integer1);
        return XA_SUCCESS;
    case XA_MSG_GET_NOTIFICATION_MASK:
        message.code = XA_MSG_NOTIFY_NOTIFICATION_MASK;
        message.data.mask = m_notificationMask;
        break;
    case XA_MSG_SET_DEBUG_LEVEL:
        m_debugLevel = command.integer1;
        return XA_SUCCESS;
    case XA_MSG_GET_DEBUG_LEVEL:
        message.code = XA_MSG_NOTIFY_DEBUG_LEVEL;
        message.data.debug_level = static_cast<uint8_t>(m_debugLevel);
        break;
    default:
        return XA_ERROR_UNKNOWN_COMMAND;
    }
    post(message);
    return XA_SUCCESS;
}

int Player::dispatchFeedback(const Command& command) {
    switch (command.code) {
    case XA_MSG_COMMAND_FEEDBACK_HANDLER_MODULE_REGISTER:
        return m_feedback.registerModule(command.text1);
    case XA_MSG_COMMAND_FEEDBACK_HANDLER_MODULE_QUERY: {
        XA_ModuleInfo info{};
        const int status = m_feedback.query(&info, 1);
        if (status == XA_SUCCESS)
            postModuleInfo(XA_MSG_NOTIFY_OUTPUT_MODULE_INFO, info.id, 0, info.name, info.description);
        return status;
    }
    case XA_MSG_COMMAND_FEEDBACK_HANDLER_MODULES_LIST:
        return XA_SUCCESS;
    case XA_MSG_COMMAND_FEEDBACK_HANDLER_START: {
        const int status = m_feedback.start();
        updateTapping();
        return status;
    }
    case XA_MSG_COMMAND_FEEDBACK_HANDLER_STOP: {
        const int status = m_feedback.stop();
        updateTapping();
        return status;
    }
    case XA_MSG_COMMAND_FEEDBACK_HANDLER_SEND_MESSAGE:
        return m_feedback.command(static_cast<uint32_t>(command.integer1),
                                  command.data.empty() ? nullptr : command.data.data(),
                                  static_cast<uint32_t>(command.data.size()));
    case XA_MSG_SET_FEEDBACK_AUDIO_EVENT_RATE:
        return m_feedback.setEventRate(command.integer1);
    case XA_MSG_GET_FEEDBACK_AUDIO_EVENT_RATE:
    case XA_MSG_GET_FEEDBACK_HANDLER_NAME:
    case XA_MSG_GET_FEEDBACK_HANDLER_MODULE:
        // There is no notification that carries these; the ack says the
        // value exists.
        return XA_SUCCESS;
    case XA_MSG_SET_FEEDBACK_HANDLER_NAME:
        m_feedback.setName(command.text1);
        return XA_SUCCESS;
    case XA_MSG_SET_FEEDBACK_HANDLER_MODULE:
        m_feedback.setModuleId(command.integer1);
        return XA_SUCCESS;
    case XA_MSG_SET_FEEDBACK_HANDLER_ENVIRONMENT_INTEGER:
        m_feedback.setEnvironmentInteger(command.text1, command.integer1);
        return XA_SUCCESS;
    case XA_MSG_GET_FEEDBACK_HANDLER_ENVIRONMENT_INTEGER: {
        int32_t value = 0;
        return m_feedback.environmentInteger(command.text1, &value) ? XA_SUCCESS : XA_ERROR_NO_SUCH_ENVIRONMENT;
    }
    case XA_MSG_SET_FEEDBACK_HANDLER_ENVIRONMENT_STRING:
        m_feedback.setEnvironmentString(command.text1, command.text2);
        return XA_SUCCESS;
    case XA_MSG_GET_FEEDBACK_HANDLER_ENVIRONMENT_STRING: {
        std::string value;
        return m_feedback.environmentString(command.text1, &value) ? XA_SUCCESS : XA_ERROR_NO_SUCH_ENVIRONMENT;
    }
    case XA_MSG_UNSET_FEEDBACK_HANDLER_ENVIRONMENT:
        return m_feedback.unsetEnvironment(command.text1) ? XA_SUCCESS : XA_ERROR_NO_SUCH_ENVIRONMENT;
    default:
        return XA_ERROR_UNKNOWN_COMMAND;
    }
}

int Player::setEnvironmentInteger(const std::string& name, int value) {
    if (name.empty())
        return XA_ERROR_INVALID_PARAMETERS;
    if (name == XA_ENV_OUTPUT_PITCH) {
        if (value <= 0)
            return XA_ERROR_INVALID_PARAMETERS;
        value = std::clamp(value, kMinimumPitch, kMaximumPitch);
        m_feeder.setPitch(value);
    }
    m_integers[name] = value;
    return XA_SUCCESS;
}

int Player::setEnvironmentString(const std::string& name, const std::string& value) {
    if (name.empty())
        return XA_ERROR_INVALID_PARAMETERS;
    if (name == XA_ENV_OUTPUT_CAPTURE_FILE)
        setCapturePath(value);
    m_strings[name] = value;
    return XA_SUCCESS;
}

int Player::setEqualizer(const Command& command) {
    if (command.hasPointer) {
        if (command.data.size() != sizeof(XA_EqualizerInfo))
            return XA_ERROR_INVALID_PARAMETERS;
        XA_EqualizerInfo equalizer{};
        std::memcpy(&equalizer, command.data.data(), sizeof equalizer);
        m_equalizer = equalizer;
    } else {
        m_equalizer.reset();
    }
    if (m_stream) {
        auto lock = m_feeder.lock();
        if (m_equalizer)
            m_stream->setEqualizer(m_equalizer->left, m_equalizer->right);
        else
            m_stream->setEqualizer(nullptr, nullptr);
        m_feeder.redecodePending();
    }
    return XA_SUCCESS;
}

} // namespace xaudio
