/*
 * The extra C interface of the fake engine library (libfakexaudio*.so). The
 * fake exports the 17 player entry points of xaudio.h plus the functions
 * below, which tests reach through test_support::FakeEngine (FakeEngine.h).
 * All functions are thread-safe.
 */
#ifndef DROVAN_FAKE_XAUDIO_CONTROL_H
#define DROVAN_FAKE_XAUDIO_CONTROL_H

#include "xaudio.h"

#ifdef __cplusplus
extern "C" {
#endif

#define FAKE_XAUDIO_TEXT_SIZE 4096
#define FAKE_XAUDIO_POINTER_BYTES 256

/* One recorded control_message_send_* call. */
typedef struct FakeXaudioCommand {
    XA_Player* player;
    int32_t code;
    char kinds[8];       /* the suffix: "N", "I", "SI", "IPI", ... */
    int32_t integers[4]; /* the I arguments in order */
    int32_t integer_count;
    char texts[2][FAKE_XAUDIO_TEXT_SIZE]; /* the S arguments in order */
    int32_t text_count;
    int32_t has_pointer; /* the call had a P argument */
    int32_t pointer_is_null;
    uint32_t pointer_size; /* bytes copied into pointer_bytes */
    uint8_t pointer_bytes[FAKE_XAUDIO_POINTER_BYTES];
} FakeXaudioCommand;

/* Number of recorded commands, and a copy of one (0 when index is out of range). */
XA_EXPORT int fake_xaudio_command_count(void);
XA_EXPORT int fake_xaudio_command_at(int index, FakeXaudioCommand* command);
/* Forgets the record and restores every status to XA_SUCCESS. */
XA_EXPORT void fake_xaudio_reset(void);

/* Status returned by the next control_message_send_* calls / player_new. */
XA_EXPORT void fake_xaudio_set_command_status(int status);
XA_EXPORT void fake_xaudio_set_player_new_status(int status);

/* When enabled, every command is answered like the real engine does: an
   XA_MSG_NOTIFY_ACK, or an XA_MSG_NOTIFY_NACK with the command status when
   that is not XA_SUCCESS, posted on the calling thread. Off after reset. */
XA_EXPORT void fake_xaudio_set_auto_reply(int enabled);

/* Players created and not deleted, and the most recent one (or NULL). */
XA_EXPORT int fake_xaudio_live_players(void);
XA_EXPORT XA_Player* fake_xaudio_last_player(void);
/* The priority a player was last given (4 when never set); -1 for an unknown player. */
XA_EXPORT int fake_xaudio_priority(XA_Player* player);
/* How often player_set_priority was called, over all players. */
XA_EXPORT int fake_xaudio_set_priority_calls(void);

/* Posts a notification through the player's target, on the calling thread,
   exactly as the engine's own threads do: message number
   XA_NOTIFICATION_MESSAGE_BASE + message->code, the record as payload.
   Returns XA_SUCCESS, or XA_ERROR_INVALID_PARAMETERS for an unknown player. */
XA_EXPORT int fake_xaudio_post(XA_Player* player, const XA_Message* message);
/* Posts any message number and payload through the player's target. */
XA_EXPORT int fake_xaudio_post_raw(XA_Player* player, uint32_t number, uintptr_t wparam, const void* payload,
                                   size_t payload_size);

#ifdef __cplusplus
}
#endif

#endif
