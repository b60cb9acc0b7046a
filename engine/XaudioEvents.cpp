#include "XaudioEvents.h"

#include <QFile>

#include <cstring>

namespace engine {
namespace {

// Engine texts are NUL-terminated inside fixed arrays; a missing terminator
// must not make us read past the array.
template <size_t N> QString textOf(const char (&text)[N]) {
    return QFile::decodeName(QByteArray(text, static_cast<qsizetype>(strnlen(text, N))));
}

// A handler may reassign or clear its own slot while it runs, so the slot is
// copied before the call.
template <typename Event, typename... Arguments> void raiseEvent(const Event& event, Arguments&&... arguments) {
    if (!event)
        return;
    Event handler = event;
    handler(std::forward<Arguments>(arguments)...);
}

} // namespace

void XaudioEvents::raise(TXaudioPlayer* sender, XA_Message& message) const {
    raiseEvent(OnNotifyMessage, sender, message);
    auto& data = message.data;
    switch (message.code) {
    case XA_MSG_NOTIFY_READY:
        raiseEvent(OnNotifyReady, sender);
        break;
    case XA_MSG_NOTIFY_ACK:
        raiseEvent(OnNotifyAck, sender, data.ack.command);
        break;
    case XA_MSG_NOTIFY_NACK:
        raiseEvent(OnNotifyNack, sender, data.nack.command, data.nack.code);
        break;
    case XA_MSG_NOTIFY_PONG:
        raiseEvent(OnNotifyPong, sender, data.pong.tag);
        break;
    case XA_MSG_NOTIFY_EXITED:
        raiseEvent(OnNotifyExited, sender);
        break;
    case XA_MSG_NOTIFY_PLAYER_STATE:
        raiseEvent(OnNotifyPlayerState, sender, static_cast<int>(data.state));
        break;
    case XA_MSG_NOTIFY_PLAYER_MODE:
        raiseEvent(OnNotifyPlayerMode, sender, static_cast<int>(data.mode));
        break;
    case XA_MSG_NOTIFY_PLAYER_ENVIRONMENT_INTEGER:
        raiseEvent(OnNotifyPlayerEnvironmentInteger, sender, textOf(data.environment_integer.name),
                   static_cast<int>(data.environment_integer.value));
        break;
    case XA_MSG_NOTIFY_PLAYER_ENVIRONMENT_STRING:
        raiseEvent(OnNotifyPlayerEnvironmentString, sender, textOf(data.environment_string.name),
                   textOf(data.environment_string.value));
        break;
    case XA_MSG_NOTIFY_INPUT_STATE:
        raiseEvent(OnNotifyInputState, sender, static_cast<int>(data.state));
        break;
    case XA_MSG_NOTIFY_INPUT_NAME:
        raiseEvent(OnNotifyInputName, sender, textOf(data.name));
        break;
    case XA_MSG_NOTIFY_INPUT_CAPS:
        raiseEvent(OnNotifyInputCaps, sender, data.caps);
        break;
    case XA_MSG_NOTIFY_INPUT_POSITION:
        raiseEvent(OnNotifyInputPosition, sender, data.position.offset, data.position.range);
        break;
    case XA_MSG_NOTIFY_INPUT_POSITION_RANGE:
        raiseEvent(OnNotifyInputPositionRange, sender, static_cast<int>(data.range));
        break;
    case XA_MSG_NOTIFY_INPUT_TIMECODE:
        raiseEvent(OnNotifyInputTimecode, sender, data.timecode.h, data.timecode.m, data.timecode.s, data.timecode.f);
        break;
    case XA_MSG_NOTIFY_INPUT_TIMECODE_GRANULARITY:
        raiseEvent(OnNotifyInputTimecodeGranularity, sender, data.granularity);
        break;
    case XA_MSG_NOTIFY_INPUT_MODULE:
        raiseEvent(OnNotifyInputModule, sender, data.module_id);
        break;
    case XA_MSG_NOTIFY_INPUT_MODULE_INFO:
        raiseEvent(OnNotifyInputModuleInfo, sender, data.module_info.id, data.module_info.nb_devices,
                   textOf(data.module_info.name), textOf(data.module_info.description));
        break;
    case XA_MSG_NOTIFY_INPUT_DEVICE_INFO:
        raiseEvent(OnNotifyInputDeviceInfo, sender, data.device_info.module_id, data.device_info.index,
                   data.device_info.flags, textOf(data.device_info.name), textOf(data.device_info.description));
        break;
    case XA_MSG_NOTIFY_INPUT_FILTER_INFO:
        raiseEvent(OnNotifyInputFilterInfo, sender, data.filter_info.id, textOf(data.filter_info.name));
        break;
    case XA_MSG_NOTIFY_OUTPUT_STATE:
        raiseEvent(OnNotifyOutputState, sender, static_cast<int>(data.state));
        break;
    case XA_MSG_NOTIFY_OUTPUT_NAME:
        raiseEvent(OnNotifyOutputName, sender, textOf(data.name));
        break;
    case XA_MSG_NOTIFY_OUTPUT_CAPS:
        raiseEvent(OnNotifyOutputCaps, sender, data.caps);
        break;
    case XA_MSG_NOTIFY_OUTPUT_VOLUME:
        raiseEvent(OnNotifyOutputVolume, sender, data.volume.master_level, data.volume.pcm_level, data.volume.balance);
        break;
    case XA_MSG_NOTIFY_OUTPUT_BALANCE:
        raiseEvent(OnNotifyOutputBalance, sender, data.balance);
        break;
    case XA_MSG_NOTIFY_OUTPUT_PCM_LEVEL:
        raiseEvent(OnNotifyOutputPcmLevel, sender, data.pcm_level);
        break;
    case XA_MSG_NOTIFY_OUTPUT_MASTER_LEVEL:
        raiseEvent(OnNotifyOutputMasterLevel, sender, data.master_level);
        break;
    case XA_MSG_NOTIFY_OUTPUT_CHANNELS:
        raiseEvent(OnNotifyOutputChannels, sender, data.channels);
        break;
    case XA_MSG_NOTIFY_OUTPUT_PORTS:
        raiseEvent(OnNotifyOutputPorts, sender, data.ports);
        break;
    case XA_MSG_NOTIFY_OUTPUT_MODULE:
        raiseEvent(OnNotifyOutputModule, sender, data.module_id);
        break;
    case XA_MSG_NOTIFY_OUTPUT_MODULE_INFO:
        raiseEvent(OnNotifyOutputModuleInfo, sender, data.module_info.id, data.module_info.nb_devices,
                   textOf(data.module_info.name), textOf(data.module_info.description));
        break;
    case XA_MSG_NOTIFY_OUTPUT_DEVICE_INFO:
        raiseEvent(OnNotifyOutputDeviceInfo, sender, data.device_info.module_id, data.device_info.index,
                   data.device_info.flags, textOf(data.device_info.name), textOf(data.device_info.description));
        break;
    case XA_MSG_NOTIFY_OUTPUT_FILTER_INFO:
        raiseEvent(OnNotifyOutputFilterInfo, sender, data.filter_info.id, textOf(data.filter_info.name));
        break;
    case XA_MSG_NOTIFY_STREAM_MIME_TYPE:
        raiseEvent(OnNotifyStreamMimeType, sender, textOf(data.name));
        break;
    case XA_MSG_NOTIFY_STREAM_DURATION:
        raiseEvent(OnNotifyStreamDuration, sender, data.duration);
        break;
    case XA_MSG_NOTIFY_STREAM_PARAMETERS:
        raiseEvent(OnNotifyStreamParameters, sender, data.stream_parameters.frequency, data.stream_parameters.bitrate,
                   data.stream_parameters.nb_channels);
        break;
    case XA_MSG_NOTIFY_STREAM_PROPERTIES:
        raiseEvent(OnNotifyStreamProperties, sender, data.stream_properties.nb_properties,
                   data.stream_properties.properties);
        break;
    case XA_MSG_NOTIFY_CODEC_QUALITY:
        raiseEvent(OnNotifyCodecQuality, sender, data.quality);
        break;
    case XA_MSG_NOTIFY_CODEC_EQUALIZER:
        raiseEvent(OnNotifyCodecEqualizer, sender, data.equalizer);
        break;
    case XA_MSG_NOTIFY_CODEC_MODULE:
        raiseEvent(OnNotifyCodecModule, sender, data.module_id);
        break;
    case XA_MSG_NOTIFY_CODEC_MODULE_INFO:
        raiseEvent(OnNotifyCodecModuleInfo, sender, data.module_info.id, data.module_info.nb_devices,
                   textOf(data.module_info.name), textOf(data.module_info.description));
        break;
    case XA_MSG_NOTIFY_CODEC_DEVICE_INFO:
        raiseEvent(OnNotifyCodecDeviceInfo, sender, data.device_info.module_id, data.device_info.index,
                   data.device_info.flags, textOf(data.device_info.name), textOf(data.device_info.description));
        break;
    case XA_MSG_NOTIFY_NOTIFICATION_MASK:
        raiseEvent(OnNotifyNotificationMask, sender, data.mask);
        break;
    case XA_MSG_NOTIFY_DEBUG_LEVEL:
        raiseEvent(OnNotifyDebugLevel, sender, data.debug_level);
        break;
    case XA_MSG_NOTIFY_PROGRESS:
        raiseEvent(OnNotifyProgress, sender, data.progress.source, data.progress.code, data.progress.value,
                   textOf(data.progress.message));
        break;
    case XA_MSG_NOTIFY_DEBUG:
        raiseEvent(OnNotifyDebug, sender, data.debug.source, data.debug.level, textOf(data.debug.message));
        break;
    case XA_MSG_NOTIFY_ERROR:
        raiseEvent(OnNotifyError, sender, data.error.source, data.error.code, textOf(data.error.message));
        break;
    default:
        // Reserved codes (96 to 99) and unknown ones: only the generic event.
        break;
    }
}

} // namespace engine
