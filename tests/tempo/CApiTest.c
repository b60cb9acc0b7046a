/* The object functions of libtempik.so from plain C, linking nothing but
   the library: the header must compile as C, the record must cross the
   boundary by value, and misuse must be harmless. */
#include "tempik.h"

#include <stdio.h>
#include <string.h>

static int failures = 0;

#define CHECK(condition)                                                                                               \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #condition);                                    \
            ++failures;                                                                                                \
        }                                                                                                              \
    } while (0)

/* Noise bursts on every beat, fading out linearly over 60 ms, as 16-bit
   stereo; integer arithmetic only. */
struct BeatSource {
    long long frame;
    long long beatTimesTen; /* BPM x 10 */
    unsigned int noise;
    int blocksRead;
};

static void readBeats(void* destination, void* userData) {
    struct BeatSource* source = (struct BeatSource*)userData;
    short* out = (short*)destination;
    const long long period = 44100LL * 600; /* frames per beat x BPM x 10 */
    const long long fade = 2646;            /* 60 ms in frames */
    int i;
    for (i = 0; i < 512; ++i, ++source->frame) {
        const long long intoBeat = (source->frame * source->beatTimesTen % period) / source->beatTimesTen;
        int value = 0;
        source->noise = source->noise * 1664525u + 1013904223u;
        if (intoBeat < fade)
            value = (int)((long long)((int)(source->noise >> 17) - 16384) * 2 * (fade - intoBeat) / fade);
        out[2 * i] = (short)value;
        out[2 * i + 1] = (short)value;
    }
    ++source->blocksRead;
}

static TBeatAnalyserParams standardParams(struct BeatSource* source) {
    TBeatAnalyserParams params;
    memset(&params, 0, sizeof params);
    params.ReadBlock = readBeats;
    params.UserData = source;
    params.SampleRate = 44100;
    params.Channels = 2;
    params.BytesPerSample = 2;
    params.BlockBits = 9;
    params.DecimationBits = 4;
    params.HistoryBits = 14;
    params.EnvelopeBits = 2;
    params.Enabled = 1;
    params.SmoothThreshold = 0.015;
    params.MaxSmoothPasses = 30;
    params.ConsensusTolerance = 0.2;
    params.MinBpm = 110;
    params.MaxBpm = 150;
    return params;
}

static void transformObjects(void) {
    TFFT* fft = FFTObjectCreate(5);
    short values[32];
    int k;
    CHECK(fft != NULL);
    memset(values, 0, sizeof values);
    values[0] = 3200; /* an impulse has a flat spectrum */
    FFTObjectFFT(fft, values);
    for (k = 0; k < 32; ++k)
        CHECK(values[k] == 100);
    FFTObjectFFT(fft, NULL);
    FFTObjectFFT(NULL, values);
    FFTObjectFree(fft);
    FFTObjectFree(NULL);
    CHECK(FFTObjectCreate(-3) == NULL);
    CHECK(FFTObjectCreate(31) == NULL);
}

static void analyserObjects(void) {
    struct BeatSource source = {0, 1285, 1u, 0};
    TBeatAnalyserParams params = standardParams(&source);
    TBeatAnalyser* analyser = BeatAnalyserObjectCreate(params);
    double quality = -1;
    double bpm;
    int i;
    CHECK(analyser != NULL);
    if (analyser == NULL)
        return;
    for (i = 0; i < (1 << 14); ++i)
        BeatAnalyserObjectGetNextSample(analyser);
    /* Steps past the history are ignored. */
    BeatAnalyserObjectGetNextSample(analyser);
    CHECK(source.blocksRead == 1 << 14);
    bpm = BeatAnalyserObjectCalcBpm(analyser, &quality);
    printf("measured %.3f BPM with quality %.4f (128.5 BPM expected)\n", bpm, quality);
    CHECK(bpm > 128.0 && bpm < 129.0);
    CHECK(quality > 0.5 && quality <= 1.0);
    CHECK(BeatAnalyserObjectCalcBpm(analyser, NULL) == bpm);
    BeatAnalyserObjectFree(analyser);
}

static void disabledAnalyser(void) {
    struct BeatSource source = {0, 1200, 1u, 0};
    TBeatAnalyserParams params = standardParams(&source);
    TBeatAnalyser* analyser;
    int i;
    params.Enabled = 0;
    analyser = BeatAnalyserObjectCreate(params);
    CHECK(analyser != NULL);
    for (i = 0; i < 100; ++i)
        BeatAnalyserObjectGetNextSample(analyser);
    CHECK(source.blocksRead == 0);
    BeatAnalyserObjectFree(analyser);
}

static void misuse(void) {
    struct BeatSource source = {0, 1200, 1u, 0};
    TBeatAnalyserParams params = standardParams(&source);
    double quality = -1;
    params.Channels = 0;
    CHECK(BeatAnalyserObjectCreate(params) == NULL);
    params = standardParams(&source);
    params.DecimationBits = 12;
    CHECK(BeatAnalyserObjectCreate(params) == NULL);
    BeatAnalyserObjectGetNextSample(NULL);
    CHECK(BeatAnalyserObjectCalcBpm(NULL, &quality) == 0 && quality == 0);
    BeatAnalyserObjectFree(NULL);
    quality = -1;
    CHECK(BeatGetBpmFromFile("/nonexistent/file.wav", 110, 150, NULL, &quality) == 0 && quality == 0);
    quality = -1;
    CHECK(BeatGetBpmFromFileXAudio(NULL, 110, 150, NULL, &quality) == 0 && quality == 0);
}

int main(void) {
    CHECK(sizeof(TBeatAnalyserParams) == 73 + 2 * sizeof(void*) - 8);
    CHECK(offsetof(TBeatAnalyserParams, MaxBpm) == 65 + 2 * sizeof(void*) - 8);
    transformObjects();
    analyserObjects();
    disabledAnalyser();
    misuse();
    if (failures == 0)
        printf("C interface: all checks passed\n");
    return failures == 0 ? 0 : 1;
}
