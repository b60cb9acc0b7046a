// The synchronous decoder: one block of 16-bit PCM per call (an MPEG frame
// for MP3s), at the stream's own rate and channel count, for callers that
// analyse audio.
#include "OpenAudioStream.h"
#include "xaudio.h"

#include <cstring>
#include <memory>
#include <new>
#include <optional>

struct XA_DecoderPrivate {
    std::unique_ptr<xaudio::AudioStream> stream;
    // Kept across inputs, as a player keeps its table.
    std::optional<XA_EqualizerInfo> equalizer;
    XA_OutputBufferInfo outputBuffer{};
    std::unique_ptr<XA_InputInfo> input;
    XA_InputModule module{};
    bool moduleRegistered = false;
};

namespace {

constexpr uint32_t kDefaultRange = 100;
constexpr int kFileInputModuleId = 0;
constexpr const char* kFileInputModuleName = "file_input";
constexpr const char* kFileInputModuleDescription = "Local file input";

void copyText(char* destination, size_t size, const char* source) {
    std::strncpy(destination, source, size - 1);
    destination[size - 1] = '\0';
}

int finish(XA_DecoderInfo* decoder, int status) {
    decoder->status = status;
    return status;
}

void updatePosition(XA_DecoderInfo* decoder) {
    XA_InputInfo* input = decoder->input;
    const xaudio::AudioStream* stream = decoder->hidden->stream.get();
    if (input == nullptr || stream == nullptr || input->range == 0 || stream->lengthFrames() <= 0)
        return;
    input->position =
        static_cast<uint32_t>(stream->positionFrames() * static_cast<int64_t>(input->range) / stream->lengthFrames());
}

} // namespace

extern "C" XA_EXPORT int decoder_new(XA_DecoderInfo** decoder) {
    if (decoder == nullptr)
        return XA_ERROR_INVALID_PARAMETERS;
    *decoder = nullptr;
    try {
        auto info = std::make_unique<XA_DecoderInfo>();
        auto hidden = std::make_unique<XA_DecoderPrivate>();
        hidden->outputBuffer.bytes_per_sample = 2;
        info->output_buffer = &hidden->outputBuffer;
        info->input = nullptr;
        info->status = XA_SUCCESS;
        info->hidden = hidden.release();
        *decoder = info.release();
        return XA_SUCCESS;
    } catch (const std::bad_alloc&) {
        return XA_ERROR_OUT_OF_MEMORY;
    }
}

extern "C" XA_EXPORT int decoder_delete(XA_DecoderInfo* decoder) {
    if (decoder == nullptr)
        return XA_ERROR_INVALID_PARAMETERS;
    std::unique_ptr<XA_DecoderPrivate> hidden(decoder->hidden);
    std::unique_ptr<XA_DecoderInfo> info(decoder);
    return XA_SUCCESS;
}

extern "C" XA_EXPORT int file_input_module_register(XA_InputModule* module) {
    if (module == nullptr)
        return XA_ERROR_INVALID_PARAMETERS;
    module->id = kFileInputModuleId;
    copyText(module->name, sizeof module->name, kFileInputModuleName);
    copyText(module->description, sizeof module->description, kFileInputModuleDescription);
    return XA_SUCCESS;
}

extern "C" XA_EXPORT int decoder_input_module_register(XA_DecoderInfo* decoder, const XA_InputModule* module) {
    if (decoder == nullptr)
        return XA_ERROR_INVALID_PARAMETERS;
    if (module == nullptr)
        return finish(decoder, XA_ERROR_INVALID_PARAMETERS);
    decoder->hidden->module = *module;
    decoder->hidden->moduleRegistered = true;
    return finish(decoder, XA_SUCCESS);
}

extern "C" XA_EXPORT int decoder_input_new(XA_DecoderInfo* decoder, const char* name, int module_id) {
    if (decoder == nullptr)
        return XA_ERROR_INVALID_PARAMETERS;
    if (name == nullptr)
        return finish(decoder, XA_ERROR_INVALID_PARAMETERS);
    if (module_id != -1 && module_id != kFileInputModuleId)
        return finish(decoder, XA_ERROR_NO_SUCH_MODULE);
    XA_DecoderPrivate* hidden = decoder->hidden;
    hidden->stream.reset();
    try {
        auto input = std::make_unique<XA_InputInfo>();
        input->state = XA_DECODER_INPUT_STATE_CLOSED;
        input->range = kDefaultRange;
        copyText(input->name, sizeof input->name, name);
        hidden->input = std::move(input);
    } catch (const std::bad_alloc&) {
        return finish(decoder, XA_ERROR_OUT_OF_MEMORY);
    }
    decoder->input = hidden->input.get();
    hidden->outputBuffer.size = 0;
    hidden->outputBuffer.sample_rate = 0;
    return finish(decoder, XA_SUCCESS);
}

extern "C" XA_EXPORT int decoder_input_open(XA_DecoderInfo* decoder) {
    if (decoder == nullptr)
        return XA_ERROR_INVALID_PARAMETERS;
    XA_InputInfo* input = decoder->input;
    if (input == nullptr)
        return finish(decoder, XA_ERROR_NO_INPUT);
    XA_DecoderPrivate* hidden = decoder->hidden;
    xaudio::EqualizerLevels equalizer;
    if (hidden->equalizer)
        equalizer = {hidden->equalizer->left, hidden->equalizer->right};
    int status = XA_FAILURE;
    try {
        hidden->stream = xaudio::openAudioStream(input->name, xaudio::SampleFormat::Int16Native, equalizer, &status);
    } catch (const std::bad_alloc&) {
        status = XA_ERROR_OUT_OF_MEMORY;
    }
    if (!hidden->stream) {
        input->state = XA_DECODER_INPUT_STATE_CLOSED;
        return finish(decoder, status);
    }
    input->state = XA_DECODER_INPUT_STATE_OPEN;
    input->duration = hidden->stream->durationSeconds();
    input->position = 0;
    hidden->outputBuffer.stereo = hidden->stream->channels() == 2 ? 1 : 0;
    hidden->outputBuffer.size = 0;
    return finish(decoder, XA_SUCCESS);
}

extern "C" XA_EXPORT int decoder_input_close(XA_DecoderInfo* decoder) {
    if (decoder == nullptr)
        return XA_ERROR_INVALID_PARAMETERS;
    decoder->hidden->stream.reset();
    if (decoder->input != nullptr)
        decoder->input->state = XA_DECODER_INPUT_STATE_CLOSED;
    return finish(decoder, XA_SUCCESS);
}

extern "C" XA_EXPORT int decoder_input_delete(XA_DecoderInfo* decoder) {
    if (decoder == nullptr)
        return XA_ERROR_INVALID_PARAMETERS;
    decoder->hidden->stream.reset();
    decoder->input = nullptr;
    decoder->hidden->input.reset();
    return finish(decoder, XA_SUCCESS);
}

extern "C" XA_EXPORT int decoder_decode(XA_DecoderInfo* decoder, void* buffer) {
    if (decoder == nullptr)
        return XA_ERROR_INVALID_PARAMETERS;
    if (buffer == nullptr)
        return finish(decoder, XA_ERROR_INVALID_PARAMETERS);
    XA_DecoderPrivate* hidden = decoder->hidden;
    hidden->outputBuffer.size = 0;
    xaudio::AudioStream* stream = hidden->stream.get();
    if (stream == nullptr)
        return finish(decoder, XA_ERROR_NO_INPUT);
    for (;;) {
        const void* pcm = nullptr;
        size_t frames = 0;
        const int status = stream->decodeFrame(&pcm, &frames);
        if (status != XA_SUCCESS)
            return finish(decoder, status);
        if (frames == 0)
            continue;
        size_t bytes = frames * stream->bytesPerFrame();
        // No stream hands out more than 1152 frames at a time; the clamp
        // only guards the caller's buffer against a decoder surprise.
        if (bytes > XA_DECODER_MAX_FRAME_BYTES)
            bytes = XA_DECODER_MAX_FRAME_BYTES - XA_DECODER_MAX_FRAME_BYTES % stream->bytesPerFrame();
        std::memcpy(buffer, pcm, bytes);
        hidden->outputBuffer.size = static_cast<uint32_t>(bytes);
        hidden->outputBuffer.bytes_per_sample = 2;
        hidden->outputBuffer.stereo = stream->channels() == 2 ? 1 : 0;
        hidden->outputBuffer.sample_rate = stream->sampleRateHz();
        updatePosition(decoder);
        return finish(decoder, XA_SUCCESS);
    }
}

extern "C" XA_EXPORT int decoder_output_set_control(XA_DecoderInfo* decoder, const void* control, uint32_t flags) {
    (void)control;
    (void)flags;
    if (decoder == nullptr)
        return XA_ERROR_INVALID_PARAMETERS;
    // The output is always the stream's own format; there is nothing to control.
    return finish(decoder, XA_SUCCESS);
}

extern "C" XA_EXPORT int decoder_input_seek_to_offset(XA_DecoderInfo* decoder, uint32_t offset) {
    if (decoder == nullptr)
        return XA_ERROR_INVALID_PARAMETERS;
    XA_InputInfo* input = decoder->input;
    XA_DecoderPrivate* hidden = decoder->hidden;
    if (input == nullptr || !hidden->stream)
        return finish(decoder, XA_ERROR_NO_INPUT);
    if (input->range == 0 || offset > input->range)
        return finish(decoder, XA_ERROR_INVALID_PARAMETERS);
    const int64_t frame = hidden->stream->lengthFrames() * static_cast<int64_t>(offset) / input->range;
    const int status = hidden->stream->seekToFrame(frame);
    if (status == XA_SUCCESS)
        input->position = offset;
    return finish(decoder, status);
}

extern "C" XA_EXPORT int decoder_input_seek_to_position(XA_DecoderInfo* decoder, float position) {
    if (decoder == nullptr)
        return XA_ERROR_INVALID_PARAMETERS;
    XA_DecoderPrivate* hidden = decoder->hidden;
    if (decoder->input == nullptr || !hidden->stream)
        return finish(decoder, XA_ERROR_NO_INPUT);
    if (!(position >= 0.0f && position <= 1.0f))
        return finish(decoder, XA_ERROR_INVALID_PARAMETERS);
    const auto frame = static_cast<int64_t>(static_cast<double>(position) * hidden->stream->lengthFrames());
    const int status = hidden->stream->seekToFrame(frame);
    if (status == XA_SUCCESS)
        updatePosition(decoder);
    return finish(decoder, status);
}

extern "C" XA_EXPORT int decoder_codec_set_equalizer(XA_DecoderInfo* decoder, const XA_EqualizerInfo* equalizer) {
    if (decoder == nullptr)
        return XA_ERROR_INVALID_PARAMETERS;
    XA_DecoderPrivate* hidden = decoder->hidden;
    if (equalizer == nullptr)
        hidden->equalizer.reset();
    else
        hidden->equalizer = *equalizer;
    if (hidden->stream) {
        if (hidden->equalizer)
            hidden->stream->setEqualizer(hidden->equalizer->left, hidden->equalizer->right);
        else
            hidden->stream->setEqualizer(nullptr, nullptr);
    }
    return finish(decoder, XA_SUCCESS);
}

extern "C" XA_EXPORT const char* decoder_version(const char** major, const char** minor, const char** state) {
    if (major != nullptr)
        *major = "3";
    if (minor != nullptr)
        *minor = "8";
    if (state != nullptr)
        *state = "stable";
    return "3.8.0";
}
