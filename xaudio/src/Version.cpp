#include "xaudio.h"

extern "C" XA_EXPORT uint32_t xaudio_get_version(int selector) {
    (void)selector;
    return XA_VERSION_WORD(XA_VERSION_MAJOR, XA_VERSION_MINOR, XA_VERSION_BUILD);
}

extern "C" XA_EXPORT const char* xaudio_error_string(int status) {
    switch (status) {
    case XA_SUCCESS:
        return "success";
    case XA_FAILURE:
        return "failure";
    case XA_ERROR_OUT_OF_MEMORY:
        return "out of memory";
    case XA_ERROR_INVALID_PARAMETERS:
        return "invalid parameters";
    case XA_ERROR_NO_INPUT:
        return "no input is open";
    case XA_ERROR_OPEN_FAILED:
        return "the input cannot be opened (missing or unreadable file)";
    case XA_ERROR_INVALID_FORMAT:
        return "the input is not an MPEG audio stream";
    case XA_ERROR_NO_SUCH_DEVICE:
        return "no such output device";
    case XA_ERROR_NO_SUCH_MODULE:
        return "no such module";
    case XA_ERROR_UNKNOWN_COMMAND:
        return "unknown command";
    case XA_ERROR_OUTPUT_FAILED:
        return "the output device failed";
    case XA_ERROR_SEEK_FAILED:
        return "seek failed";
    case XA_ERROR_INVALID_STATE:
        return "not possible in the player's current state";
    case XA_ERROR_NO_SUCH_ENVIRONMENT:
        return "no such environment variable";
    case XA_ERROR_END_OF_STREAM:
        return "end of stream";
    case XA_ERROR_DECODE_FAILED:
        return "decoding failed";
    default:
        return "unknown error";
    }
}
