#include "XAudSync.h"

namespace tempo {

bool XAudioBinding::bind() {
    if (isBound())
        return true;
    std::lock_guard<std::mutex> lock(m_bindMutex);
    if (isBound())
        return true;
    if (!m_library.load(m_libraryName))
        return false;
    for (const char* name : kRequiredNames) {
        if (m_library.symbol(name) == nullptr) {
            m_library.unload();
            return false;
        }
    }
    auto lookup = [this](auto& slot, const char* name) {
        slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(m_library.symbol(name));
    };
    XAudioEntryPoints points;
    lookup(points.decoder_new, "decoder_new");
    lookup(points.file_input_module_register, "file_input_module_register");
    lookup(points.decoder_input_new, "decoder_input_new");
    lookup(points.decoder_input_open, "decoder_input_open");
    lookup(points.decoder_input_module_register, "decoder_input_module_register");
    lookup(points.decoder_decode, "decoder_decode");
    lookup(points.decoder_input_delete, "decoder_input_delete");
    lookup(points.decoder_input_seek_to_offset, "decoder_input_seek_to_offset");
    lookup(points.decoder_delete, "decoder_delete");
    m_entryPoints = points;
    m_bound.store(true, std::memory_order_release);
    return true;
}

XAudioBinding& engineBinding() {
    // Never destroyed: the engine stays loaded until the process ends, so a
    // measurement still running on another thread at exit keeps its code.
    static XAudioBinding* const binding = new XAudioBinding;
    return *binding;
}

} // namespace tempo
