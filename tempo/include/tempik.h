/*
 * tempik.h — public C interface of the tempo library (libtempik.so).
 *
 * The library estimates the tempo of a piece of audio in beats per minute.
 * Its two file functions decode a whole file (through the audio engine, or
 * directly for canonical PCM WAV files) and run the beat analyser over it;
 * the object functions expose the transform and the analyser themselves.
 *
 * Rules for every function below:
 *  - No function lets an exception or a signal out; a file function that
 *    cannot measure returns 0 and writes a quality of 0.
 *  - Every object is used by one thread at a time; different objects and
 *    different file measurements may run on different threads at once.
 *  - The file functions block on file I/O and decoding for as long as the
 *    measurement takes (seconds for a whole song) and allocate; call them on
 *    a worker thread. Object creation allocates; the block step and the
 *    transform do not.
 *  - Pointer arguments may be NULL: a NULL object is ignored, a NULL result
 *    pointer is not written.
 */
#ifndef TEMPIK_H
#define TEMPIK_H

#include <stddef.h>
#include <stdint.h>

#ifndef __cplusplus
#include <stdbool.h>
#endif

#if !defined(__BYTE_ORDER__) || __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
#error "TBeatAnalyserParams is laid out for little-endian targets only"
#endif

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define TEMPIK_EXPORT __attribute__((visibility("default")))
#else
#define TEMPIK_EXPORT
#endif

#ifdef __cplusplus
class TFFT;
class TBeatAnalyser;
#else
typedef struct TFFT TFFT;
typedef struct TBeatAnalyser TBeatAnalyser;
#endif

/* Fills destination with 2^BlockBits frames of interleaved samples
   (Channels x BytesPerSample bytes each). Called on the thread that runs the
   block step; userData is TBeatAnalyserParams.UserData, unchanged. */
typedef void (*TBeatReadBlock)(void* destination, void* userData);

/* The analyser's creation record: packed, little-endian, passed by value.
   ReadBlock and UserData are pointer-sized, so on 64-bit targets every later
   field sits 8 bytes further on than on 32-bit ones. */
#pragma pack(push, 1)
typedef struct TBeatAnalyserParams {
    TBeatReadBlock ReadBlock;
    void* UserData;
    int32_t SampleRate;        /* frames per second of the source */
    int32_t Channels;          /* interleaved channels per frame */
    int32_t BytesPerSample;    /* 1 (signed), 2 or 4 */
    int32_t BlockBits;         /* log2 of the frames per block */
    int32_t DecimationBits;    /* log2 of the frame stride inside a block */
    int32_t HistoryBits;       /* log2 of the number of blocks the analyser holds */
    int32_t EnvelopeBits;      /* log2 of the stride applied to band envelopes */
    uint8_t Enabled;           /* 0 makes every block step a no-op */
    double SmoothThreshold;    /* mean change per value, as a fraction of full scale */
    int32_t MaxSmoothPasses;   /* upper bound on smoothing passes */
    double ConsensusTolerance; /* largest accepted distance from the mean, in BPM */
    double MinBpm;             /* lower end of the tempo search range */
    double MaxBpm;             /* upper end of the tempo search range */
} TBeatAnalyserParams;
#pragma pack(pop)

#ifdef __cplusplus
#define TEMPIK_STATIC_ASSERT(condition, text) static_assert(condition, text)
#else
#define TEMPIK_STATIC_ASSERT(condition, text) _Static_assert(condition, text)
#endif
#define TEMPIK_POINTER_SHIFT (2 * sizeof(void*) - 8)
TEMPIK_STATIC_ASSERT(offsetof(TBeatAnalyserParams, ReadBlock) == 0, "ReadBlock offset");
TEMPIK_STATIC_ASSERT(offsetof(TBeatAnalyserParams, UserData) == sizeof(void*), "UserData offset");
TEMPIK_STATIC_ASSERT(offsetof(TBeatAnalyserParams, SampleRate) == 8 + TEMPIK_POINTER_SHIFT, "SampleRate offset");
TEMPIK_STATIC_ASSERT(offsetof(TBeatAnalyserParams, Channels) == 12 + TEMPIK_POINTER_SHIFT, "Channels offset");
TEMPIK_STATIC_ASSERT(offsetof(TBeatAnalyserParams, BytesPerSample) == 16 + TEMPIK_POINTER_SHIFT, "BytesPerSample");
TEMPIK_STATIC_ASSERT(offsetof(TBeatAnalyserParams, BlockBits) == 20 + TEMPIK_POINTER_SHIFT, "BlockBits offset");
TEMPIK_STATIC_ASSERT(offsetof(TBeatAnalyserParams, DecimationBits) == 24 + TEMPIK_POINTER_SHIFT, "DecimationBits");
TEMPIK_STATIC_ASSERT(offsetof(TBeatAnalyserParams, HistoryBits) == 28 + TEMPIK_POINTER_SHIFT, "HistoryBits offset");
TEMPIK_STATIC_ASSERT(offsetof(TBeatAnalyserParams, EnvelopeBits) == 32 + TEMPIK_POINTER_SHIFT, "EnvelopeBits");
TEMPIK_STATIC_ASSERT(offsetof(TBeatAnalyserParams, Enabled) == 36 + TEMPIK_POINTER_SHIFT, "Enabled offset");
TEMPIK_STATIC_ASSERT(offsetof(TBeatAnalyserParams, SmoothThreshold) == 37 + TEMPIK_POINTER_SHIFT, "SmoothThreshold");
TEMPIK_STATIC_ASSERT(offsetof(TBeatAnalyserParams, MaxSmoothPasses) == 45 + TEMPIK_POINTER_SHIFT, "MaxSmoothPasses");
TEMPIK_STATIC_ASSERT(offsetof(TBeatAnalyserParams, ConsensusTolerance) == 49 + TEMPIK_POINTER_SHIFT, "Tolerance");
TEMPIK_STATIC_ASSERT(offsetof(TBeatAnalyserParams, MinBpm) == 57 + TEMPIK_POINTER_SHIFT, "MinBpm offset");
TEMPIK_STATIC_ASSERT(offsetof(TBeatAnalyserParams, MaxBpm) == 65 + TEMPIK_POINTER_SHIFT, "MaxBpm offset");
TEMPIK_STATIC_ASSERT(sizeof(TBeatAnalyserParams) == 73 + TEMPIK_POINTER_SHIFT, "TBeatAnalyserParams size");

/* ------------------------------------------------------------ transform */

/* A radix-2 transform of 2^Bits points (0 <= Bits <= 24); NULL for other
   sizes or when memory runs out. */
TEMPIK_EXPORT TFFT* FFTObjectCreate(int32_t Bits);
/* Transforms 2^Bits signed 16-bit values in place: value k becomes the real
   part of bin k divided by 2^Bits, truncated toward zero. */
TEMPIK_EXPORT void FFTObjectFFT(TFFT* object, int16_t* values);
TEMPIK_EXPORT void FFTObjectFree(TFFT* object);

/* ------------------------------------------------------------- analyser */

/* NULL when the record is outside what the analyser handles (BlockBits
   outside 1..16, DecimationBits outside 0..BlockBits-1, HistoryBits outside
   0..24, EnvelopeBits outside 0..8, BytesPerSample not 1, 2 or 4, Channels
   outside 1..65535, HistoryBits + EnvelopeBits above 26, a block of more
   than 256 MiB, band histories of more than 1 GiB) or when memory runs out.
   A NULL ReadBlock makes every block step a no-op. */
TEMPIK_EXPORT TBeatAnalyser* BeatAnalyserObjectCreate(TBeatAnalyserParams params);
/* One block step: reads one block through ReadBlock and appends its band
   levels. Steps past 2^HistoryBits blocks are ignored. */
TEMPIK_EXPORT void BeatAnalyserObjectGetNextSample(TBeatAnalyser* object);
/* The tempo estimate over the blocks taken so far; writes the share of
   agreeing bands (0 to 1) through quality. Returns 0 with quality 0 when
   the search range does not fit the history. May be repeated. */
TEMPIK_EXPORT double BeatAnalyserObjectCalcBpm(TBeatAnalyser* object, double* quality);
TEMPIK_EXPORT void BeatAnalyserObjectFree(TBeatAnalyser* object);

/* ---------------------------------------------------------------- files */

/* Measures the tempo of a file the audio engine decodes, searching
   MinBpm..MaxBpm. progress receives the share of blocks done (0 to exactly
   1) after every block, as a relaxed atomic store that another thread may
   read meanwhile; quality receives the share of agreeing bands. Returns 0
   with quality 0 when the engine is unavailable or the file cannot be
   measured. */
TEMPIK_EXPORT double BeatGetBpmFromFileXAudio(const char* fileName, double MinBpm, double MaxBpm, double* progress,
                                              double* quality);
/* The same for canonical PCM WAV files, read directly; any other file goes
   to BeatGetBpmFromFileXAudio. */
TEMPIK_EXPORT double BeatGetBpmFromFile(const char* fileName, double MinBpm, double MaxBpm, double* progress,
                                        double* quality);
/* True when the audio engine is bound; retries a binding that failed. */
TEMPIK_EXPORT bool IsXAudioAvailable(void);

#ifdef __cplusplus
}
#endif

#endif /* TEMPIK_H */
