#ifndef TEMPIK_H
#define TEMPIK_H

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define TEMPIK_EXPORT __attribute__((visibility("default")))
#else
#define TEMPIK_EXPORT
#endif

TEMPIK_EXPORT double BeatGetBpmFromFileXAudio(const char* fileName, double minBpm, double maxBpm, double* progress,
                                              double* quality);

#ifdef __cplusplus
}
#endif

#endif
