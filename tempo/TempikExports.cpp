#include "tempik.h"

extern "C" TEMPIK_EXPORT double BeatGetBpmFromFileXAudio(const char*, double, double, double*, double* quality) {
    if (quality != nullptr)
        *quality = 0;
    return 0;
}
