#include "TXASDecoder.h"

TXASDecoder::TXASDecoder(const tempo::XAudioEntryPoints& engine) : m_engine(engine) {
    m_status = m_engine.decoder_new(&m_decoder);
    if (m_status != XA_SUCCESS)
        m_decoder = nullptr;
}

TXASDecoder::~TXASDecoder() {
    if (m_decoder != nullptr && m_engine.decoder_delete != nullptr)
        m_engine.decoder_delete(m_decoder);
}

void TXASDecoder::RegisterFileInput() {
    if (m_decoder == nullptr)
        return;
    m_status = m_engine.file_input_module_register(&m_fileInputModule);
    if (m_status == XA_SUCCESS)
        m_status = m_engine.decoder_input_module_register(m_decoder, &m_fileInputModule);
}

void TXASDecoder::OpenInput(const std::string& path) {
    if (m_decoder == nullptr)
        return;
    if (m_decoder->input != nullptr && m_decoder->input->state == XA_DECODER_INPUT_STATE_OPEN) {
        m_status = m_engine.decoder_input_delete(m_decoder);
        if (m_status != XA_SUCCESS)
            return;
    }
    m_status = m_engine.decoder_input_new(m_decoder, path.c_str(), -1);
    if (m_status == XA_SUCCESS)
        m_status = m_engine.decoder_input_open(m_decoder);
}

void TXASDecoder::Decode(void* buffer) {
    if (m_decoder != nullptr)
        m_status = m_engine.decoder_decode(m_decoder, buffer);
}

void TXASDecoder::Seek(uint32_t offset) {
    if (m_decoder != nullptr)
        m_status = m_engine.decoder_input_seek_to_offset(m_decoder, offset);
}

uint32_t TXASDecoder::DurationSeconds() const {
    return m_decoder != nullptr && m_decoder->input != nullptr ? m_decoder->input->duration : 0;
}

const XA_OutputBufferInfo* TXASDecoder::Output() const {
    return m_decoder != nullptr ? m_decoder->output_buffer : nullptr;
}
