#pragma once

#include "XAudSync.h"

#include <string>

// One engine decoder. Every operation stores the engine's status in
// Status(); the decoder is released with the object when the engine offers
// decoder_delete.
class TXASDecoder {
public:
    explicit TXASDecoder(const tempo::XAudioEntryPoints& engine);
    ~TXASDecoder();
    TXASDecoder(const TXASDecoder&) = delete;
    TXASDecoder& operator=(const TXASDecoder&) = delete;

    // Registers the file input module with the decoder.
    void RegisterFileInput();
    // Opens a file, deleting an input that is still open first.
    void OpenInput(const std::string& path);
    // Decodes one frame of PCM into buffer (XA_DECODER_MAX_FRAME_BYTES bytes).
    void Decode(void* buffer);
    void Seek(uint32_t offset);

    int Status() const { return m_status; }
    // Null when the engine could not create a decoder.
    XA_DecoderInfo* Decoder() const { return m_decoder; }
    // The input's duration in seconds, 0 while there is no input.
    uint32_t DurationSeconds() const;
    // The output description, or null.
    const XA_OutputBufferInfo* Output() const;

private:
    const tempo::XAudioEntryPoints& m_engine;
    XA_InputModule m_fileInputModule{};
    XA_DecoderInfo* m_decoder = nullptr;
    int m_status = XA_SUCCESS;
};
