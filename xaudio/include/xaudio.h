/*
 * xaudio.h — public C interface of the Drovan audio engine (libxaudio.so).
 *
 * The engine decodes MPEG audio, WAV, FLAC, Ogg Vorbis and Ogg Opus (told
 * apart by their content, not by the file name), plays it through the system's
 * sound output (or a clock-paced null output when there is none), changes
 * playback speed, applies output volume and a 32-band equalizer, feeds
 * in-process feedback handler modules with the audio it outputs, and offers
 * a synchronous decoder and a small spectrum analyser.
 *
 * Thread rules, for every function below:
 *  - Player functions (player_*, control_message_send_*) may be called from any
 *    one thread that owns the player; they queue work and return without
 *    blocking on audio I/O. They allocate.
 *  - Notifications are posted from the engine's own threads through the
 *    XA_NotificationTarget given to player_new (see there).
 *  - Decoder functions (decoder_*) are synchronous and block on file I/O; one
 *    decoder must be used by one thread at a time. Different decoders are
 *    independent.
 *  - fft_analyzer_* functions are synchronous, do not block, and do not
 *    allocate except in fft_analyzer_new.
 *  - No function lets a C++ exception escape; failures are status codes.
 */
#ifndef XAUDIO_H
#define XAUDIO_H

/* Laid out by hand: one line per message layout reads as a table. */
/* clang-format off */

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define XA_EXPORT __attribute__((visibility("default")))
#else
#define XA_EXPORT
#endif

/* ---------------------------------------------------------------- version */

/* Selector for xaudio_get_version: the version of the player API. */
#define XA_API_ID_SYNC 1
#define XA_API_ID_ASYNC 2
#define XA_VERSION_MAJOR 3
#define XA_VERSION_MINOR 8
#define XA_VERSION_BUILD 0
/* Version word: bits 16-23 major, bits 8-15 minor, bits 0-7 build. */
#define XA_VERSION_WORD(major, minor, build) \
    ((((uint32_t)(major) & 0xff) << 16) | (((uint32_t)(minor) & 0xff) << 8) | ((uint32_t)(build) & 0xff))

/* --------------------------------------------------------------- statuses */

#define XA_SUCCESS 0
#define XA_FAILURE (-1)
#define XA_ERROR_OUT_OF_MEMORY (-2)
#define XA_ERROR_INVALID_PARAMETERS (-3)
#define XA_ERROR_NO_INPUT (-4)
#define XA_ERROR_OPEN_FAILED (-5)
#define XA_ERROR_INVALID_FORMAT (-6)
#define XA_ERROR_NO_SUCH_DEVICE (-7)
#define XA_ERROR_NO_SUCH_MODULE (-8)
#define XA_ERROR_UNKNOWN_COMMAND (-9)
#define XA_ERROR_OUTPUT_FAILED (-10)
#define XA_ERROR_SEEK_FAILED (-11)
#define XA_ERROR_INVALID_STATE (-12)
#define XA_ERROR_NO_SUCH_ENVIRONMENT (-13)
#define XA_ERROR_END_OF_STREAM (-14)
#define XA_ERROR_DECODE_FAILED (-15)

/* ------------------------------------------------------- player commands */

enum XA_CommandCode {
    XA_MSG_COMMAND_SYNC = 2,
    XA_MSG_COMMAND_PING = 3,
    XA_MSG_COMMAND_PLAY = 4,
    XA_MSG_COMMAND_PAUSE = 5,
    XA_MSG_COMMAND_STOP = 6,
    XA_MSG_COMMAND_INPUT_SEEK = 7,
    XA_MSG_COMMAND_INPUT_OPEN = 8,
    XA_MSG_COMMAND_INPUT_CLOSE = 9,
    XA_MSG_COMMAND_INPUT_SEND_MESSAGE = 10,
    XA_MSG_COMMAND_INPUT_ADD_FILTER = 11,
    XA_MSG_COMMAND_INPUT_REMOVE_FILTER = 12,
    XA_MSG_COMMAND_INPUT_FILTERS_LIST = 13,
    XA_MSG_COMMAND_INPUT_MODULE_REGISTER = 14,
    XA_MSG_COMMAND_INPUT_MODULE_QUERY = 15,
    XA_MSG_COMMAND_INPUT_MODULES_LIST = 16,
    XA_MSG_COMMAND_OUTPUT_OPEN = 17,
    XA_MSG_COMMAND_OUTPUT_CLOSE = 18,
    XA_MSG_COMMAND_OUTPUT_SEND_MESSAGE = 19,
    XA_MSG_COMMAND_OUTPUT_MUTE = 20,
    XA_MSG_COMMAND_OUTPUT_UNMUTE = 21,
    XA_MSG_COMMAND_OUTPUT_RESET = 22,
    XA_MSG_COMMAND_OUTPUT_DRAIN = 23,
    XA_MSG_COMMAND_OUTPUT_ADD_FILTER = 24,
    XA_MSG_COMMAND_OUTPUT_REMOVE_FILTER = 25,
    XA_MSG_COMMAND_OUTPUT_FILTERS_LIST = 26,
    XA_MSG_COMMAND_OUTPUT_MODULE_REGISTER = 27,
    XA_MSG_COMMAND_OUTPUT_MODULE_QUERY = 28,
    XA_MSG_COMMAND_OUTPUT_MODULES_LIST = 29,
    XA_MSG_COMMAND_CODEC_SEND_MESSAGE = 30,
    XA_MSG_COMMAND_CODEC_MODULE_REGISTER = 31,
    XA_MSG_COMMAND_CODEC_MODULE_QUERY = 32,
    XA_MSG_COMMAND_CODEC_MODULES_LIST = 33,
    XA_MSG_SET_PLAYER_MODE = 34,
    XA_MSG_GET_PLAYER_MODE = 35,
    XA_MSG_SET_PLAYER_ENVIRONMENT_INTEGER = 36,
    XA_MSG_GET_PLAYER_ENVIRONMENT_INTEGER = 37,
    XA_MSG_SET_PLAYER_ENVIRONMENT_STRING = 38,
    XA_MSG_GET_PLAYER_ENVIRONMENT_STRING = 39,
    XA_MSG_UNSET_PLAYER_ENVIRONMENT = 40,
    XA_MSG_SET_INPUT_NAME = 41,
    XA_MSG_GET_INPUT_NAME = 42,
    XA_MSG_SET_INPUT_MODULE = 43,
    XA_MSG_GET_INPUT_MODULE = 44,
    XA_MSG_SET_INPUT_POSITION_RANGE = 45,
    XA_MSG_GET_INPUT_POSITION_RANGE = 46,
    XA_MSG_SET_INPUT_TIMECODE_GRANULARITY = 47,
    XA_MSG_GET_INPUT_TIMECODE_GRANULARITY = 48,
    XA_MSG_SET_OUTPUT_NAME = 49,
    XA_MSG_GET_OUTPUT_NAME = 50,
    XA_MSG_SET_OUTPUT_MODULE = 51,
    XA_MSG_GET_OUTPUT_MODULE = 52,
    XA_MSG_SET_OUTPUT_VOLUME = 57,
    XA_MSG_GET_OUTPUT_VOLUME = 58,
    XA_MSG_SET_OUTPUT_CHANNELS = 59,
    XA_MSG_GET_OUTPUT_CHANNELS = 60,
    XA_MSG_SET_OUTPUT_PORTS = 61,
    XA_MSG_GET_OUTPUT_PORTS = 62,
    XA_MSG_SET_CODEC_QUALITY = 63,
    XA_MSG_GET_CODEC_QUALITY = 64,
    XA_MSG_SET_CODEC_EQUALIZER = 65,
    XA_MSG_GET_CODEC_EQUALIZER = 66,
    XA_MSG_SET_NOTIFICATION_MASK = 69,
    XA_MSG_GET_NOTIFICATION_MASK = 70,
    XA_MSG_SET_DEBUG_LEVEL = 71,
    XA_MSG_GET_DEBUG_LEVEL = 72,
    XA_MSG_COMMAND_FEEDBACK_HANDLER_MODULE_REGISTER = 125,
    XA_MSG_COMMAND_FEEDBACK_HANDLER_MODULE_QUERY = 126,
    XA_MSG_COMMAND_FEEDBACK_HANDLER_MODULES_LIST = 127,
    XA_MSG_COMMAND_FEEDBACK_HANDLER_START = 129,
    XA_MSG_COMMAND_FEEDBACK_HANDLER_STOP = 130,
    XA_MSG_COMMAND_FEEDBACK_HANDLER_SEND_MESSAGE = 134,
    XA_MSG_SET_FEEDBACK_AUDIO_EVENT_RATE = 139,
    XA_MSG_GET_FEEDBACK_AUDIO_EVENT_RATE = 140,
    XA_MSG_SET_FEEDBACK_HANDLER_NAME = 141,
    XA_MSG_GET_FEEDBACK_HANDLER_NAME = 142,
    XA_MSG_SET_FEEDBACK_HANDLER_MODULE = 143,
    XA_MSG_GET_FEEDBACK_HANDLER_MODULE = 144,
    XA_MSG_SET_FEEDBACK_HANDLER_ENVIRONMENT_INTEGER = 145,
    XA_MSG_GET_FEEDBACK_HANDLER_ENVIRONMENT_INTEGER = 146,
    XA_MSG_SET_FEEDBACK_HANDLER_ENVIRONMENT_STRING = 147,
    XA_MSG_GET_FEEDBACK_HANDLER_ENVIRONMENT_STRING = 148,
    XA_MSG_UNSET_FEEDBACK_HANDLER_ENVIRONMENT = 149
};

/* -------------------------------------------------- player notifications */

enum XA_NotificationCode {
    XA_MSG_NOTIFY_READY = 73,
    XA_MSG_NOTIFY_ACK = 74,
    XA_MSG_NOTIFY_NACK = 75,
    XA_MSG_NOTIFY_PONG = 76,
    XA_MSG_NOTIFY_EXITED = 77,
    XA_MSG_NOTIFY_PLAYER_STATE = 78,
    XA_MSG_NOTIFY_PLAYER_MODE = 79,
    XA_MSG_NOTIFY_PLAYER_ENVIRONMENT_INTEGER = 80,
    XA_MSG_NOTIFY_PLAYER_ENVIRONMENT_STRING = 81,
    XA_MSG_NOTIFY_INPUT_STATE = 82,
    XA_MSG_NOTIFY_INPUT_NAME = 83,
    XA_MSG_NOTIFY_INPUT_CAPS = 84,
    XA_MSG_NOTIFY_INPUT_POSITION = 85,
    XA_MSG_NOTIFY_INPUT_POSITION_RANGE = 86,
    XA_MSG_NOTIFY_INPUT_TIMECODE = 87,
    XA_MSG_NOTIFY_INPUT_TIMECODE_GRANULARITY = 88,
    XA_MSG_NOTIFY_INPUT_MODULE = 89,
    XA_MSG_NOTIFY_INPUT_MODULE_INFO = 90,
    XA_MSG_NOTIFY_INPUT_DEVICE_INFO = 91,
    XA_MSG_NOTIFY_INPUT_FILTER_INFO = 92,
    XA_MSG_NOTIFY_OUTPUT_STATE = 93,
    XA_MSG_NOTIFY_OUTPUT_NAME = 94,
    XA_MSG_NOTIFY_OUTPUT_CAPS = 95,
    /* 96 to 99 are reserved: they raise only the generic message event. */
    XA_MSG_NOTIFY_OUTPUT_VOLUME = 100,
    XA_MSG_NOTIFY_OUTPUT_BALANCE = 101,
    XA_MSG_NOTIFY_OUTPUT_PCM_LEVEL = 102,
    XA_MSG_NOTIFY_OUTPUT_MASTER_LEVEL = 103,
    XA_MSG_NOTIFY_OUTPUT_CHANNELS = 104,
    XA_MSG_NOTIFY_OUTPUT_PORTS = 105,
    XA_MSG_NOTIFY_OUTPUT_MODULE = 106,
    XA_MSG_NOTIFY_OUTPUT_MODULE_INFO = 107,
    XA_MSG_NOTIFY_OUTPUT_DEVICE_INFO = 108,
    XA_MSG_NOTIFY_OUTPUT_FILTER_INFO = 109,
    XA_MSG_NOTIFY_STREAM_MIME_TYPE = 110,
    XA_MSG_NOTIFY_STREAM_DURATION = 111,
    XA_MSG_NOTIFY_STREAM_PARAMETERS = 112,
    XA_MSG_NOTIFY_STREAM_PROPERTIES = 113,
    XA_MSG_NOTIFY_CODEC_QUALITY = 114,
    XA_MSG_NOTIFY_CODEC_EQUALIZER = 115,
    XA_MSG_NOTIFY_CODEC_MODULE = 116,
    XA_MSG_NOTIFY_CODEC_MODULE_INFO = 117,
    XA_MSG_NOTIFY_CODEC_DEVICE_INFO = 118,
    XA_MSG_NOTIFY_NOTIFICATION_MASK = 119,
    XA_MSG_NOTIFY_DEBUG_LEVEL = 120,
    XA_MSG_NOTIFY_PROGRESS = 121,
    XA_MSG_NOTIFY_DEBUG = 122,
    XA_MSG_NOTIFY_ERROR = 123
};

/* Player states carried by XA_MSG_NOTIFY_PLAYER_STATE. */
enum XA_PlayerState {
    XA_PLAYER_STATE_STOPPED = 0,
    XA_PLAYER_STATE_PLAYING = 1,
    XA_PLAYER_STATE_PAUSED = 2,
    XA_PLAYER_STATE_EOS = 3
};

/* Progress codes carried by XA_MSG_NOTIFY_PROGRESS (source XA_PROGRESS_SOURCE_OUTPUT). */
#define XA_PROGRESS_SOURCE_OUTPUT 2
#define XA_PROGRESS_CODE_UNDERRUN 1

/* ----------------------------------------------------------------- records */

/* 32 band levels for the left channel, then 32 for the right. Positive
   values boost by 1/8 dB per unit (+80 is +10 dB); negative values cut by
   1/4 dB per unit (-80 is -20 dB, enough to take a band out of a mix). Band k is the
   k-th MPEG subband: k x f/64 to (k + 1) x f/64 for a stream at f Hz (at
   44.1 kHz band 1 spans 689 to 1378 Hz); streams of the other formats get
   the same bands. A null table switches the equalizer off. */
typedef struct XA_EqualizerInfo {
    int8_t left[32];
    int8_t right[32];
} XA_EqualizerInfo;

typedef struct XA_Property {
    char name[64];
    char value[256];
} XA_Property;
typedef XA_Property* PXA_Property;

#define XA_MESSAGE_TEXT_SIZE 4096
#define XA_MESSAGE_SHORT_TEXT_SIZE 256

/* One notification. Plain data: it holds no pointers to engine memory except
   stream_properties.properties, which stays valid until the next
   XA_MSG_NOTIFY_STREAM_PROPERTIES of the same player or its deletion. */
typedef struct XA_Message {
    int32_t code; /* an XA_NotificationCode */
    union {
        struct { uint8_t command; } ack;
        struct { uint8_t command; int16_t code; } nack;
        struct { uint32_t tag; } pong;
        int32_t state; /* player, input and output state */
        int32_t mode;
        struct { char name[XA_MESSAGE_SHORT_TEXT_SIZE]; int32_t value; } environment_integer;
        struct { char name[XA_MESSAGE_SHORT_TEXT_SIZE]; char value[XA_MESSAGE_TEXT_SIZE]; } environment_string;
        char name[XA_MESSAGE_TEXT_SIZE]; /* input name, output name, mime type */
        uint32_t caps;
        struct { uint32_t offset; uint32_t range; } position;
        int32_t range;
        struct { uint8_t h; uint8_t m; uint8_t s; uint8_t f; } timecode; /* f: hundredths */
        uint32_t granularity;
        int16_t module_id;
        struct {
            uint8_t id;
            uint8_t nb_devices;
            char name[XA_MESSAGE_SHORT_TEXT_SIZE];
            char description[XA_MESSAGE_SHORT_TEXT_SIZE];
        } module_info;
        struct {
            uint8_t module_id;
            uint8_t index;
            uint8_t flags;
            char name[XA_MESSAGE_SHORT_TEXT_SIZE];
            char description[XA_MESSAGE_SHORT_TEXT_SIZE];
        } device_info;
        struct { uint8_t id; char name[XA_MESSAGE_SHORT_TEXT_SIZE]; } filter_info;
        struct { uint8_t master_level; uint8_t pcm_level; uint8_t balance; } volume;
        uint8_t balance;
        uint8_t pcm_level;
        uint8_t master_level;
        uint8_t channels;
        uint32_t ports;
        uint32_t duration; /* seconds */
        struct { uint32_t frequency; int16_t bitrate; uint8_t nb_channels; } stream_parameters;
        struct { uint32_t nb_properties; XA_Property* properties; } stream_properties;
        uint8_t quality;
        XA_EqualizerInfo equalizer;
        uint32_t mask;
        uint8_t debug_level;
        struct { uint8_t source; uint8_t code; int16_t value; char message[XA_MESSAGE_SHORT_TEXT_SIZE]; } progress;
        struct { uint8_t source; uint8_t level; char message[XA_MESSAGE_SHORT_TEXT_SIZE]; } debug;
        struct { uint8_t source; int16_t code; char message[XA_MESSAGE_SHORT_TEXT_SIZE]; } error;
    } data;
} XA_Message;

/* ------------------------------------------------------ notification path */

/* Notifications travel as numbered "window messages": the number is
   XA_NOTIFICATION_MESSAGE_BASE + the notification code, the payload is one
   XA_Message. Numbers below the base are never notifications. */
#define XA_NOTIFICATION_MESSAGE_BASE 0x9000u

/* Where a player posts its notifications. The engine calls post() on its own
   threads, possibly concurrently with the owner's thread; post() must be
   thread-safe, must not block for long, and must copy the payload (it is
   valid only during the call). The receiver later hands the message number,
   wparam and its copy of the payload to control_win32_params_to_message on
   its own thread. The target must stay valid until player_delete returns. */
typedef struct XA_NotificationTarget {
    void (*post)(void* context, uint32_t message, uintptr_t wparam, const void* payload, size_t payload_size);
    void* context;
} XA_NotificationTarget;

typedef struct XA_Player XA_Player;

/* ---------------------------------------------------- player entry points */

/* Returns the version word for the selector; XA_API_ID_ASYNC (2) gives 3.8. */
XA_EXPORT uint32_t xaudio_get_version(int selector);
/* A static text for a status code; never NULL. */
XA_EXPORT const char* xaudio_error_string(int status);

/* Starts a player on its own threads. target is an XA_NotificationTarget*
   (the "window" the player posts to). Posts XA_MSG_NOTIFY_READY when ready. */
XA_EXPORT int player_new(XA_Player** player, void* target);
/* Stops the player's threads, waits for them and frees the player. After it
   returns no further post() call is made. */
XA_EXPORT int player_delete(XA_Player* player);
/* Priority 0..10 of the player's decoding thread (4 is normal): each step
   is two nice levels of that thread. A change the system refuses is ignored;
   values outside 0..10 give XA_ERROR_INVALID_PARAMETERS. Owner's thread. */
XA_EXPORT int player_set_priority(XA_Player* player, int priority);
XA_EXPORT int player_get_priority(XA_Player* player);

/* How the engine answers the commands (every command is answered with
   XA_MSG_NOTIFY_ACK or XA_MSG_NOTIFY_NACK carrying the command and status;
   value notifications are posted before the ack):
   - INPUT_OPEN (S path): a missing or unreadable file is nacked with
     XA_ERROR_OPEN_FAILED, a file holding none of the formats the engine
     decodes with XA_ERROR_INVALID_FORMAT, and the file opened before stays.
     On success the player stops silently (no player state is posted: the
     caller knows it loaded a file), then posts INPUT_NAME, STREAM_DURATION
     (seconds, rounded), STREAM_PARAMETERS (Hz, kbit/s, channels; the bit
     rate is the average for VBR MP3s and for FLAC and Ogg files, the PCM
     rate for WAV files) and INPUT_POSITION 0.
   - PLAY, PAUSE, STOP post PLAYER_STATE (PAUSE only when it pauses; in
     other states it is acked without effect). PAUSE keeps the position; STOP
     rewinds to the start and posts INPUT_POSITION and INPUT_TIMECODE 0; PLAY
     after the end of stream starts again from the beginning. PLAY without an
     input is nacked with XA_ERROR_NO_INPUT.
   - INPUT_SEEK (II offset, range): moves to offset/range of the stream
     (offset clamped to 0..range) in any state and posts the new position and
     timecode at once.
   - While playing, INPUT_TIMECODE and INPUT_POSITION follow what is being
     heard: a timecode at most every max(granularity, 5) hundredths and at
     every change of the whole second (granularity 0: only those), a position
     whenever offset changes. The position range is 100 until
     SET_INPUT_POSITION_RANGE; the granularity is 1 until
     SET_INPUT_TIMECODE_GRANULARITY. At the end PLAYER_STATE 3 follows the
     last timecode.
   - SET_OUTPUT_VOLUME (III master, pcm, balance): -1 keeps a value, other
     negative values act as 0, values above 100 as 100. A level 1..100 is
     0.5 dB per step below 100 (100 unity, 80 -10 dB, 50 -25 dB); 0 is
     silence; master and pcm multiply. Balance 50 is centred; towards 0 the
     right side falls linearly to silence, towards 100 the left. Changes are
     ramped over about 20 ms. Posts OUTPUT_VOLUME.
   - SET_PLAYER_ENVIRONMENT_INTEGER XA_ENV_OUTPUT_PITCH: per mille, clamped
     to 100..4000; the speed glides to the new value within one block (about
     50 ms). Other names are stored and read back by GET (nacked with
     XA_ERROR_NO_SUCH_ENVIRONMENT when unknown).
   - OUTPUT_MODULE_REGISTER: XA_DSOUND_OUTPUT_MODULE (any folder, any case) is
     acked, anything else nacked with XA_ERROR_NO_SUCH_MODULE.
   - SET_OUTPUT_NAME "/dev/dsound/N": nacked with XA_ERROR_NO_SUCH_DEVICE for
     other texts, and for N beyond the devices when there are any. A device
     that cannot be opened nacks PLAY, OUTPUT_OPEN and a SET_OUTPUT_NAME that
     moves a playing player with XA_ERROR_OUTPUT_FAILED, after an
     XA_MSG_NOTIFY_ERROR whose text names the device. A device that stops
     while playing is reported the same way, followed by PLAYER_STATE paused;
     the next PLAY opens it again. Only on a machine without any output
     device does the null output run unasked, and the first open says so
     once with XA_MSG_NOTIFY_ERROR.
   - OUTPUT_RESET drops what is queued for the output; OUTPUT_DRAIN is
     nacked with XA_ERROR_UNKNOWN_COMMAND.
   - Unknown codes are nacked with XA_ERROR_UNKNOWN_COMMAND.
   Underruns of the output are reported at most once a second as
   XA_MSG_NOTIFY_PROGRESS (source XA_PROGRESS_SOURCE_OUTPUT, code
   XA_PROGRESS_CODE_UNDERRUN, value = underruns since the last report). */

/* Queue one command; the suffix names the argument kinds (N none, P pointer,
   S NUL-terminated text, copied before return, I integer). P arguments are
   copied before return as well (an XA_EqualizerInfo for the equalizer; size
   bytes for the *_SEND_MESSAGE commands). Returns XA_SUCCESS when queued;
   the engine answers later with XA_MSG_NOTIFY_ACK or XA_MSG_NOTIFY_NACK. */
XA_EXPORT int control_message_send_N(XA_Player* player, int code);
XA_EXPORT int control_message_send_P(XA_Player* player, int code, const void* pointer);
XA_EXPORT int control_message_send_S(XA_Player* player, int code, const char* text);
XA_EXPORT int control_message_send_SS(XA_Player* player, int code, const char* text1, const char* text2);
XA_EXPORT int control_message_send_SI(XA_Player* player, int code, const char* text, int integer);
XA_EXPORT int control_message_send_IPI(XA_Player* player, int code, int integer1, const void* pointer,
                                       int integer2);
XA_EXPORT int control_message_send_I(XA_Player* player, int code, int integer);
XA_EXPORT int control_message_send_II(XA_Player* player, int code, int integer1, int integer2);
XA_EXPORT int control_message_send_III(XA_Player* player, int code, int integer1, int integer2, int integer3);
XA_EXPORT int control_message_send_IIII(XA_Player* player, int code, int integer1, int integer2, int integer3,
                                        int integer4);

/* Turns a received message into an XA_Message. Returns XA_SUCCESS and fills
   *message when (message_number, wparam, lparam) is a notification, where
   lparam is the address of the receiver's copy of the payload; returns
   XA_FAILURE and leaves *message alone otherwise. Any thread; player may be
   NULL (the translation needs only the message), so a receiver can handle
   the first notifications before player_new has returned. */
XA_EXPORT int control_win32_params_to_message(XA_Player* player, XA_Message* message, uint32_t message_number,
                                              uintptr_t wparam, intptr_t lparam);

/* Player environment keys understood by the engine. */
#define XA_ENV_OUTPUT_WINDOW "OUTPUT.DIRECTSOUND.WINDOW"
#define XA_ENV_OUTPUT_PITCH "OUTPUT.DIRECTSOUND.PITCH" /* per mille of normal speed */
/* String: a WAV file that receives a copy of everything the player outputs;
   empty stops the capture. The engine environment variable
   XAUDIO_CAPTURE_DIR does the same for every player ("player-N.wav"). */
#define XA_ENV_OUTPUT_CAPTURE_FILE "OUTPUT.CAPTURE.FILE"
/* Integer, read only: the output's clock, the frames the output has rendered
   so far, silence included (modulo 2^31). Together with the engine
   environment variable XAUDIO_CAPTURE_SILENCE=1, which makes the capture
   hold the silence rendered while nothing plays too, a frame's place in a
   capture started before the output opened is its place on that clock. */
#define XA_ENV_OUTPUT_RENDERED_FRAMES "OUTPUT.RENDERED_FRAMES"

/* The built-in output module and its device names ("/dev/dsound/N"). */
#define XA_DSOUND_OUTPUT_MODULE "xa_dsound_output.dll"
#define XA_DSOUND_DEVICE_PREFIX "/dev/dsound/"

/* Number of sound output devices the engine can open ("/dev/dsound/0" ...).
   "/dev/dsound/0" is the system's default output (ALSA's "default": the
   sound server on a desktop); the others follow in the sound system's order. */
XA_EXPORT int xaudio_output_device_count(void);
/* Copies the name of device `number` (NUL-terminated, cut to size) into
   buffer; returns XA_SUCCESS, or XA_ERROR_NO_SUCH_DEVICE. Any thread. */
XA_EXPORT int xaudio_output_device_name(int number, char* buffer, size_t size);

/* ------------------------------------------------- feedback handler modules */

#define XA_FEEDBACK_HANDLER_API_VERSION 0x30801u
#define XA_MODULE_TEXT_SIZE 252

typedef struct XA_ModuleInfo {
    int32_t id; /* the "first field": set to 1 by a query with flag bit 1 */
    char name[XA_MODULE_TEXT_SIZE];
    char description[XA_MODULE_TEXT_SIZE];
} XA_ModuleInfo;

/* Looks up an integer of the feedback handler environment; returns
   XA_SUCCESS and stores the value when the key is known. */
typedef int (*XA_EnvironmentIntegerLookup)(void* context, const char* name, int32_t* value);

/* One block of output audio: nb_channels blocks of nb_samples signed 8-bit
   samples each, one channel after the other. Valid during the call only. */
typedef struct XA_AudioEvent {
    uint32_t nb_channels;
    uint32_t nb_samples;
    const int8_t* samples;
} XA_AudioEvent;

/* The operations table a feedback handler module fills in, in this order.
   All operations are called on the player's command thread, except that an
   instance still running at player_delete is ended (handler_stop, then
   handler_delete) on the thread calling player_delete, after the engine's
   threads have stopped. player_delete waits for the command thread, so no
   operation may wait for the thread that calls player_delete (an audio
   event that hands its data to a window should post it, not wait).
   FEEDBACK_HANDLER_START calls handler_probe with the handler name (when
   one was set; non-zero refuses the start), handler_new with the handler
   environment, then handler_start; FEEDBACK_HANDLER_STOP calls handler_stop
   and handler_delete. FEEDBACK_HANDLER_SEND_MESSAGE (IPI type, data, size)
   calls handler_command. Audio events carry 2 channels of the last 512
   output frames (after volume), at the SET_FEEDBACK_AUDIO_EVENT_RATE rate
   (default 20 per second), while playing. */
typedef struct XA_FeedbackHandlerModule {
    uint32_t api_version_id; /* XA_FEEDBACK_HANDLER_API_VERSION */
    int (*handler_probe)(const char* name);
    int (*handler_query)(XA_ModuleInfo* info, uint32_t flags);
    int (*handler_new)(void** instance, const char* name, void* environment_context,
                       XA_EnvironmentIntegerLookup environment_lookup);
    int (*handler_delete)(void* instance);
    int (*handler_start)(void* instance);
    int (*handler_stop)(void* instance);
    int (*handler_command)(void* instance, uint32_t code, const void* data, uint32_t size);
    int (*handler_audio_event)(void* instance, const XA_AudioEvent* event);
} XA_FeedbackHandlerModule;

/* A module initialiser; registered as "function@<address in lower-case hex>". */
typedef int (*XA_FeedbackHandlerModuleInit)(XA_FeedbackHandlerModule* module);

/* --------------------------------------------------------------- decoder */

#define XA_DECODER_INPUT_STATE_CLOSED 0
#define XA_DECODER_INPUT_STATE_OPEN 1

typedef struct XA_InputInfo {
    uint8_t state; /* XA_DECODER_INPUT_STATE_* */
    uint32_t caps;
    uint32_t position; /* offset within range */
    uint32_t range;
    uint32_t duration; /* seconds; 0 until known */
    char name[XA_MESSAGE_TEXT_SIZE];
} XA_InputInfo;

typedef struct XA_OutputBufferInfo {
    uint32_t size;            /* bytes written by the last decoder_decode */
    int32_t bytes_per_sample; /* 2 */
    int32_t stereo;           /* 1 stereo, 0 mono */
    int32_t sample_rate;      /* Hz; 0 until the first frame was decoded */
} XA_OutputBufferInfo;

typedef struct XA_InputModule {
    int32_t id;
    char name[XA_MODULE_TEXT_SIZE];
    char description[XA_MODULE_TEXT_SIZE];
} XA_InputModule;

typedef struct XA_DecoderPrivate XA_DecoderPrivate;

typedef struct XA_DecoderInfo {
    XA_InputInfo* input;                /* NULL until decoder_input_new */
    XA_OutputBufferInfo* output_buffer; /* always set */
    int32_t status;                     /* status of the last call */
    XA_DecoderPrivate* hidden;
} XA_DecoderInfo;

/* The largest frame decoder_decode writes: 1152 stereo 16-bit samples. */
#define XA_DECODER_MAX_FRAME_BYTES 4608

XA_EXPORT int decoder_new(XA_DecoderInfo** decoder);
XA_EXPORT int decoder_delete(XA_DecoderInfo* decoder);
XA_EXPORT int file_input_module_register(XA_InputModule* module);
XA_EXPORT int decoder_input_module_register(XA_DecoderInfo* decoder, const XA_InputModule* module);
/* module_id -1 picks the module by the name. */
XA_EXPORT int decoder_input_new(XA_DecoderInfo* decoder, const char* name, int module_id);
XA_EXPORT int decoder_input_open(XA_DecoderInfo* decoder);
XA_EXPORT int decoder_input_close(XA_DecoderInfo* decoder);
XA_EXPORT int decoder_input_delete(XA_DecoderInfo* decoder);
/* Decodes the next frame (an MPEG frame, or a block of at most 1152 frames
   for the other formats; Opus at 48 kHz) into buffer (at least
   XA_DECODER_MAX_FRAME_BYTES bytes) and updates output_buffer;
   XA_ERROR_END_OF_STREAM at the end. */
XA_EXPORT int decoder_decode(XA_DecoderInfo* decoder, void* buffer);
XA_EXPORT int decoder_output_set_control(XA_DecoderInfo* decoder, const void* control, uint32_t flags);
XA_EXPORT int decoder_input_seek_to_offset(XA_DecoderInfo* decoder, uint32_t offset);
XA_EXPORT int decoder_input_seek_to_position(XA_DecoderInfo* decoder, float position);
XA_EXPORT int decoder_codec_set_equalizer(XA_DecoderInfo* decoder, const XA_EqualizerInfo* equalizer);
XA_EXPORT const char* decoder_version(const char** major, const char** minor, const char** state);

/* ------------------------------------------------------ spectrum analyser */

#define XA_FFT_MAX_SAMPLES 128
#define XA_FFT_BANDS 64

typedef struct XA_FftAnalyzer XA_FftAnalyzer;

XA_EXPORT int fft_analyzer_new(XA_FftAnalyzer** analyzer);
XA_EXPORT int fft_analyzer_delete(XA_FftAnalyzer* analyzer);
/* Takes at most XA_FFT_MAX_SAMPLES signed 8-bit samples. */
XA_EXPORT int fft_analyzer_set_samples(XA_FftAnalyzer* analyzer, const int8_t* samples, uint32_t count);
/* Writes XA_FFT_BANDS one-byte band levels (0..255). */
XA_EXPORT int fft_analyzer_get_spectrum(XA_FftAnalyzer* analyzer, uint8_t* spectrum);
/* Stretches or shrinks count samples to width samples (linear interpolation). */
XA_EXPORT int fft_analyzer_interpolate_samples_signed(const int8_t* samples, uint32_t count, int8_t* output,
                                                      uint32_t width);
XA_EXPORT int fft_analyzer_interpolate_samples_unsigned(const uint8_t* samples, uint32_t count, uint8_t* output,
                                                        uint32_t width);

#ifdef __cplusplus
}
#endif

/* clang-format on */

#endif /* XAUDIO_H */
