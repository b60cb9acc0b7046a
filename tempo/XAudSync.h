#pragma once

#include "platform/SharedLibrary.h"
#include "xaudio.h"

#include <atomic>
#include <mutex>
#include <string>

namespace tempo {

// The engine's decoder entry points this library calls. Measurements take
// the table by reference, so tests can hand in a table of their own.
struct XAudioEntryPoints {
    int (*decoder_new)(XA_DecoderInfo** decoder) = nullptr;
    int (*file_input_module_register)(XA_InputModule* module) = nullptr;
    int (*decoder_input_new)(XA_DecoderInfo* decoder, const char* name, int module_id) = nullptr;
    int (*decoder_input_open)(XA_DecoderInfo* decoder) = nullptr;
    int (*decoder_input_module_register)(XA_DecoderInfo* decoder, const XA_InputModule* module) = nullptr;
    int (*decoder_decode)(XA_DecoderInfo* decoder, void* buffer) = nullptr;
    int (*decoder_input_delete)(XA_DecoderInfo* decoder) = nullptr;
    int (*decoder_input_seek_to_offset)(XA_DecoderInfo* decoder, uint32_t offset) = nullptr;
    // Optional: an engine without it keeps every decoder until the process ends.
    int (*decoder_delete)(XA_DecoderInfo* decoder) = nullptr;
};

// The binding of the engine library: its handle and its decoder entry
// points. Binding is all or nothing: when one required name is missing the
// library is unloaded again. Once bound, the binding stays for the life of
// the object, so entry points handed out remain valid.
class XAudioBinding {
public:
    // The names looked up, in order; all must be present.
    static constexpr const char* kRequiredNames[] = {
        "decoder_new",
        "file_input_module_register",
        "decoder_input_new",
        "decoder_input_open",
        "decoder_input_module_register",
        "decoder_decode",
        "decoder_output_set_control",
        "decoder_input_delete",
        "decoder_input_close",
        "decoder_input_seek_to_offset",
        "decoder_input_seek_to_position",
        "decoder_codec_set_equalizer",
        "decoder_version",
    };

    explicit XAudioBinding(std::string libraryName = "xaudio.dll") : m_libraryName(std::move(libraryName)) {}
    XAudioBinding(const XAudioBinding&) = delete;
    XAudioBinding& operator=(const XAudioBinding&) = delete;

    // Binds the engine unless it is bound already; returns whether it is
    // bound. A failed attempt is made again on the next call. Any thread;
    // blocks while another thread binds.
    bool bind();
    // Any thread, never blocks.
    bool isBound() const { return m_bound.load(std::memory_order_acquire); }
    // Valid once isBound() returned true.
    const XAudioEntryPoints& entryPoints() const { return m_entryPoints; }

private:
    std::string m_libraryName;
    std::mutex m_bindMutex;
    std::atomic<bool> m_bound{false};
    platform::SharedLibrary m_library;
    XAudioEntryPoints m_entryPoints;
};

// The library's process-wide binding of "xaudio.dll".
XAudioBinding& engineBinding();

} // namespace tempo
