#include "xaudio.h"

extern "C" XA_EXPORT uint32_t xaudio_get_version(int selector) {
    (void)selector;
    return XA_VERSION_WORD(XA_VERSION_MAJOR, XA_VERSION_MINOR, XA_VERSION_BUILD);
}
