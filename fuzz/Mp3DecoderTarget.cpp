// Audio files through the engine's decoder (MPEG audio, and WAV, FLAC, Ogg
// Vorbis and Opus by their content): any file is refused at opening or
// decodes block by block to its end without a fault.
#include "FuzzTarget.h"

#include "MemoryFile.h"

#include "xaudio.h"

#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fuzzing::MemoryFile file(data, size);
    XA_DecoderInfo* raw = nullptr;
    if (decoder_new(&raw) != XA_SUCCESS)
        return 0;
    std::unique_ptr<XA_DecoderInfo, int (*)(XA_DecoderInfo*)> decoder(raw, decoder_delete);
    XA_InputModule module{};
    file_input_module_register(&module);
    decoder_input_module_register(decoder.get(), &module);
    if (decoder_input_new(decoder.get(), file.path().c_str(), -1) != XA_SUCCESS ||
        decoder_input_open(decoder.get()) != XA_SUCCESS)
        return 0;
    std::vector<uint8_t> buffer(XA_DECODER_MAX_FRAME_BYTES);
    // Bounded: a frame needs at least a few bytes of input.
    for (size_t frame = 0; frame < size + 16; ++frame)
        if (decoder_decode(decoder.get(), buffer.data()) != XA_SUCCESS)
            break;
    return 0;
}
