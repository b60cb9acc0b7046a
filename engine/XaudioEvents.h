#pragma once

#include "xaudio.h"

#include <QString>

#include <cstdint>
#include <functional>

class TXaudioPlayer;

// The event types of the player control component, named after the
// notification they carry. Every event gets the component as Sender first.
// Text parameters are copies made for the duration of the call.
using TNotifyEvent = std::function<void(TXaudioPlayer* Sender)>;
using TNotifyMessageEvent = std::function<void(TXaudioPlayer* Sender, XA_Message& Msg)>;
using TNotifyAckEvent = std::function<void(TXaudioPlayer* Sender, uint8_t Command)>;
using TNotifyNackEvent = std::function<void(TXaudioPlayer* Sender, uint8_t Command, int16_t Code)>;
using TNotifyPongEvent = std::function<void(TXaudioPlayer* Sender, uint32_t Tag)>;
using TNotifyPlayerStateEvent = std::function<void(TXaudioPlayer* Sender, int State)>;
using TNotifyPlayerModeEvent = std::function<void(TXaudioPlayer* Sender, int Mode)>;
using TNotifyEnvironmentIntegerEvent = std::function<void(TXaudioPlayer* Sender, const QString& Name, int Value)>;
using TNotifyEnvironmentStringEvent =
    std::function<void(TXaudioPlayer* Sender, const QString& Name, const QString& Value)>;

using TNotifyStateEvent = std::function<void(TXaudioPlayer* Sender, int State)>;
using TNotifyNameEvent = std::function<void(TXaudioPlayer* Sender, const QString& Name)>;
using TNotifyCapsEvent = std::function<void(TXaudioPlayer* Sender, uint32_t Caps)>;
using TNotifyModuleEvent = std::function<void(TXaudioPlayer* Sender, int16_t ID)>;
using TNotifyModuleInfoEvent = std::function<void(TXaudioPlayer* Sender, uint8_t ID, uint8_t NbDevices,
                                                  const QString& Name, const QString& Description)>;
using TNotifyDeviceInfoEvent = std::function<void(TXaudioPlayer* Sender, uint8_t ModuleID, uint8_t Index, uint8_t Flags,
                                                  const QString& Name, const QString& Description)>;
using TNotifyFilterInfoEvent = std::function<void(TXaudioPlayer* Sender, uint8_t ID, const QString& Name)>;

using TNotifyInputStateEvent = TNotifyStateEvent;
using TNotifyInputNameEvent = TNotifyNameEvent;
using TNotifyInputCapsEvent = TNotifyCapsEvent;
using TNotifyInputPositionEvent = std::function<void(TXaudioPlayer* Sender, uint32_t Offset, uint32_t Range)>;
using TNotifyInputPositionRangeEvent = std::function<void(TXaudioPlayer* Sender, int Range)>;
using TNotifyInputTimecodeEvent =
    std::function<void(TXaudioPlayer* Sender, uint8_t Hours, uint8_t Minutes, uint8_t Seconds, uint8_t Fractions)>;
using TNotifyInputTimecodeGranularityEvent = std::function<void(TXaudioPlayer* Sender, uint32_t Granularity)>;
using TNotifyInputModuleEvent = TNotifyModuleEvent;
using TNotifyInputModuleInfoEvent = TNotifyModuleInfoEvent;
using TNotifyInputDeviceInfoEvent = TNotifyDeviceInfoEvent;
using TNotifyInputFilterInfoEvent = TNotifyFilterInfoEvent;

using TNotifyOutputStateEvent = TNotifyStateEvent;
using TNotifyOutputNameEvent = TNotifyNameEvent;
using TNotifyOutputCapsEvent = TNotifyCapsEvent;
using TNotifyOutputVolumeEvent =
    std::function<void(TXaudioPlayer* Sender, uint8_t MasterLevel, uint8_t PcmLevel, uint8_t Balance)>;
using TNotifyOutputBalanceEvent = std::function<void(TXaudioPlayer* Sender, uint8_t Balance)>;
using TNotifyOutputPcmLevelEvent = std::function<void(TXaudioPlayer* Sender, uint8_t PcmLevel)>;
using TNotifyOutputMasterLevelEvent = std::function<void(TXaudioPlayer* Sender, uint8_t MasterLevel)>;
using TNotifyOutputChannelsEvent = std::function<void(TXaudioPlayer* Sender, uint8_t Channels)>;
using TNotifyOutputPortsEvent = std::function<void(TXaudioPlayer* Sender, uint32_t Ports)>;
using TNotifyOutputModuleEvent = TNotifyModuleEvent;
using TNotifyOutputModuleInfoEvent = TNotifyModuleInfoEvent;
using TNotifyOutputDeviceInfoEvent = TNotifyDeviceInfoEvent;
using TNotifyOutputFilterInfoEvent = TNotifyFilterInfoEvent;

using TNotifyStreamMimeTypeEvent = std::function<void(TXaudioPlayer* Sender, const QString& MimeType)>;
using TNotifyStreamDurationEvent = std::function<void(TXaudioPlayer* Sender, uint32_t Duration)>;
using TNotifyStreamParametersEvent =
    std::function<void(TXaudioPlayer* Sender, uint32_t Frequency, int16_t Bitrate, uint8_t NbChannels)>;
using TNotifyStreamPropertiesEvent =
    std::function<void(TXaudioPlayer* Sender, uint32_t NbProperties, PXA_Property Properties)>;

using TNotifyCodecQualityEvent = std::function<void(TXaudioPlayer* Sender, uint8_t Quality)>;
using TNotifyCodecEqualizerEvent = std::function<void(TXaudioPlayer* Sender, XA_EqualizerInfo& Equalizer)>;
using TNotifyCodecModuleEvent = TNotifyModuleEvent;
using TNotifyCodecModuleInfoEvent = TNotifyModuleInfoEvent;
using TNotifyCodecDeviceInfoEvent = TNotifyDeviceInfoEvent;

using TNotifyNotificationMaskEvent = std::function<void(TXaudioPlayer* Sender, uint32_t Mask)>;
using TNotifyDebugLevelEvent = std::function<void(TXaudioPlayer* Sender, uint8_t Level)>;
using TNotifyProgressEvent =
    std::function<void(TXaudioPlayer* Sender, uint8_t Source, uint8_t Code, int16_t Value, const QString& Msg)>;
using TNotifyDebugEvent = std::function<void(TXaudioPlayer* Sender, uint8_t Source, uint8_t Level, const QString& Msg)>;
using TNotifyErrorEvent = std::function<void(TXaudioPlayer* Sender, uint8_t Source, int16_t Code, const QString& Msg)>;

namespace engine {

// The event slots of the player control component. An unassigned slot is
// skipped. GUI thread only.
struct XaudioEvents {
    TNotifyMessageEvent OnNotifyMessage;
    TNotifyEvent OnNotifyReady;
    TNotifyAckEvent OnNotifyAck;
    TNotifyNackEvent OnNotifyNack;
    TNotifyPongEvent OnNotifyPong;
    TNotifyEvent OnNotifyExited;
    TNotifyPlayerStateEvent OnNotifyPlayerState;
    TNotifyPlayerModeEvent OnNotifyPlayerMode;
    TNotifyEnvironmentIntegerEvent OnNotifyPlayerEnvironmentInteger;
    TNotifyEnvironmentStringEvent OnNotifyPlayerEnvironmentString;
    TNotifyInputStateEvent OnNotifyInputState;
    TNotifyInputNameEvent OnNotifyInputName;
    TNotifyInputCapsEvent OnNotifyInputCaps;
    TNotifyInputPositionEvent OnNotifyInputPosition;
    TNotifyInputPositionRangeEvent OnNotifyInputPositionRange;
    TNotifyInputTimecodeEvent OnNotifyInputTimecode;
    TNotifyInputTimecodeGranularityEvent OnNotifyInputTimecodeGranularity;
    TNotifyInputModuleEvent OnNotifyInputModule;
    TNotifyInputModuleInfoEvent OnNotifyInputModuleInfo;
    TNotifyInputDeviceInfoEvent OnNotifyInputDeviceInfo;
    TNotifyInputFilterInfoEvent OnNotifyInputFilterInfo;
    TNotifyOutputStateEvent OnNotifyOutputState;
    TNotifyOutputNameEvent OnNotifyOutputName;
    TNotifyOutputCapsEvent OnNotifyOutputCaps;
    TNotifyOutputVolumeEvent OnNotifyOutputVolume;
    TNotifyOutputBalanceEvent OnNotifyOutputBalance;
    TNotifyOutputPcmLevelEvent OnNotifyOutputPcmLevel;
    TNotifyOutputMasterLevelEvent OnNotifyOutputMasterLevel;
    TNotifyOutputChannelsEvent OnNotifyOutputChannels;
    TNotifyOutputPortsEvent OnNotifyOutputPorts;
    TNotifyOutputModuleEvent OnNotifyOutputModule;
    TNotifyOutputModuleInfoEvent OnNotifyOutputModuleInfo;
    TNotifyOutputDeviceInfoEvent OnNotifyOutputDeviceInfo;
    TNotifyOutputFilterInfoEvent OnNotifyOutputFilterInfo;
    TNotifyStreamMimeTypeEvent OnNotifyStreamMimeType;
    TNotifyStreamDurationEvent OnNotifyStreamDuration;
    TNotifyStreamParametersEvent OnNotifyStreamParameters;
    TNotifyStreamPropertiesEvent OnNotifyStreamProperties;
    TNotifyCodecQualityEvent OnNotifyCodecQuality;
    TNotifyCodecEqualizerEvent OnNotifyCodecEqualizer;
    TNotifyCodecModuleEvent OnNotifyCodecModule;
    TNotifyCodecModuleInfoEvent OnNotifyCodecModuleInfo;
    TNotifyCodecDeviceInfoEvent OnNotifyCodecDeviceInfo;
    TNotifyNotificationMaskEvent OnNotifyNotificationMask;
    TNotifyDebugLevelEvent OnNotifyDebugLevel;
    TNotifyProgressEvent OnNotifyProgress;
    TNotifyDebugEvent OnNotifyDebug;
    TNotifyErrorEvent OnNotifyError;

protected:
    // Raises OnNotifyMessage with the record, then the event its code
    // selects (codes 96 to 99 and any code outside 73 to 123 select none).
    void raise(TXaudioPlayer* sender, XA_Message& message) const;
};

} // namespace engine
