#include "EngineMeasurement.h"

#include "TXASDecoder.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace tempo {
namespace {

constexpr int kUnitBytes = 4;
constexpr int kPcmBufferUnits = XA_DECODER_MAX_FRAME_BYTES / kUnitBytes;

struct EngineContext {
    explicit EngineContext(const XAudioEntryPoints& engine) : decoder(engine) {}

    alignas(8) unsigned char pcm[XA_DECODER_MAX_FRAME_BYTES] = {};
    int readPosition = 0; // in units of 4 bytes
    int remaining = 0;    // in units of 4 bytes
    bool streamEnded = false;
    TXASDecoder decoder;
    TBeatAnalyserParams params{};
};

int64_t streamFrames(const TXASDecoder& decoder) {
    const XA_OutputBufferInfo* output = decoder.Output();
    const int64_t rate = output != nullptr ? output->sample_rate : 0;
    return (static_cast<int64_t>(decoder.DurationSeconds()) - 1) * rate;
}

// Hands the analyser one block from the decoded frames, decoding further
// frames as the PCM buffer runs out.
void engineReadBlock(void* destination, void* userData) {
    auto& context = *static_cast<EngineContext*>(userData);
    const TBeatAnalyserParams& params = context.params;
    auto* out = static_cast<unsigned char*>(destination);
    int64_t units = int64_t{params.Channels} * params.BytesPerSample * (int64_t{1} << params.BlockBits) / kUnitBytes;
    while (units > 0) {
        if (context.remaining > 0) {
            const int64_t count = std::min<int64_t>(units, context.remaining);
            std::memcpy(out, context.pcm + static_cast<size_t>(context.readPosition) * kUnitBytes,
                        static_cast<size_t>(count) * kUnitBytes);
            out += count * kUnitBytes;
            context.readPosition += static_cast<int>(count);
            context.remaining -= static_cast<int>(count);
            units -= count;
            continue;
        }
        const XA_OutputBufferInfo* output = nullptr;
        if (!context.streamEnded) {
            context.readPosition = 0;
            context.decoder.Decode(context.pcm);
            output = context.decoder.Output();
        }
        if (output == nullptr || context.decoder.Status() != XA_SUCCESS || output->size < kUnitBytes) {
            // Decoding has stopped for good; without this the loop would wait
            // forever for units that never come.
            context.streamEnded = true;
            std::memset(out, 0, static_cast<size_t>(units) * kUnitBytes);
            return;
        }
        context.remaining = static_cast<int>(std::min<uint32_t>(output->size / kUnitBytes, kPcmBufferUnits));
    }
}

} // namespace

Measurement measureWithEngine(const XAudioEntryPoints& engine, const char* fileName, double minBpm, double maxBpm,
                              double* progress) {
    if (fileName == nullptr)
        return {};
    auto context = std::make_unique<EngineContext>(engine);
    TXASDecoder& decoder = context->decoder;
    if (decoder.Decoder() == nullptr)
        return {};
    decoder.RegisterFileInput();
    decoder.OpenInput(fileName);

    int64_t frames = streamFrames(decoder);
    if (frames == 0) {
        // The engine learns the output format only from decoding.
        decoder.Decode(context->pcm);
        decoder.Seek(0);
        frames = streamFrames(decoder);
    }
    TBeatAnalyserParams& params = context->params;
    if (!standardParams(frames, minBpm, maxBpm, params))
        return {};
    const XA_OutputBufferInfo* output = decoder.Output();
    params.ReadBlock = engineReadBlock;
    params.UserData = context.get();
    params.SampleRate = output->sample_rate;
    params.Channels = output->stereo == 1 ? 2 : 1;
    params.BytesPerSample = output->bytes_per_sample;
    context->readPosition = 0;
    context->remaining = 0;
    try {
        return runAnalysis(params, progress, nullptr);
    } catch (const std::invalid_argument&) {
        return {}; // an output format the analyser does not take
    }
}

} // namespace tempo
