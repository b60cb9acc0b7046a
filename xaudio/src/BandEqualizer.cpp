#include "BandEqualizer.h"

#include <cmath>
#include <numbers>

namespace xaudio {

BandEqualizer::BandEqualizer() {
    // The square root of a periodic Hann window on both sides: two windows
    // half a window apart add up to exactly one, so flat levels give back the
    // input unchanged.
    for (size_t n = 0; n < kWindowFrames; ++n)
        m_window[n] = static_cast<float>(std::sin(std::numbers::pi * static_cast<double>(n) / kWindowFrames));
    for (size_t n = 0; n < kWindowFrames / 2; ++n)
        m_twiddles[n] =
            std::polar(1.0f, static_cast<float>(-2.0 * std::numbers::pi * static_cast<double>(n) / kWindowFrames));
    size_t bits = 0;
    while ((size_t{1} << bits) < kWindowFrames)
        ++bits;
    for (size_t n = 0; n < kWindowFrames; ++n) {
        size_t reversed = 0;
        for (size_t bit = 0; bit < bits; ++bit)
            reversed |= ((n >> bit) & 1) << (bits - 1 - bit);
        m_bitReversed[n] = static_cast<uint16_t>(reversed);
    }
    setLevels(nullptr, nullptr);
}

double equalizerFactor(int level) {
    // A cut of 1/4 dB per unit lets a full cut kill a band in a mix (-80 is
    // -20 dB); a boost of 1/8 dB per unit keeps a full boost (+10 dB) from
    // driving a loud track into clipping.
    const double decibelsPerUnit = level < 0 ? 0.25 : 0.125;
    return std::pow(10.0, level * decibelsPerUnit / 20.0);
}

void BandEqualizer::setLevels(const int8_t* left, const int8_t* right) {
    for (size_t bin = 0; bin <= kWindowFrames / 2; ++bin) {
        const size_t band = std::min<size_t>(bin * kBands * 2 / kWindowFrames, kBands - 1);
        m_gainLeft[bin] = left != nullptr ? static_cast<float>(equalizerFactor(left[band])) : 1.0f;
        m_gainRight[bin] = right != nullptr ? static_cast<float>(equalizerFactor(right[band])) : 1.0f;
    }
}

void BandEqualizer::reset() {
    m_history.fill({});
    m_overlap.fill({});
}

void BandEqualizer::transform(bool inverse) {
    for (size_t n = 0; n < kWindowFrames; ++n) {
        if (n < m_bitReversed[n])
            std::swap(m_spectrum[n], m_spectrum[m_bitReversed[n]]);
    }
    for (size_t length = 2; length <= kWindowFrames; length *= 2) {
        const size_t half = length / 2;
        const size_t step = kWindowFrames / length;
        for (size_t start = 0; start < kWindowFrames; start += length) {
            for (size_t k = 0; k < half; ++k) {
                const Complex twiddle = inverse ? std::conj(m_twiddles[k * step]) : m_twiddles[k * step];
                const Complex odd = m_spectrum[start + k + half] * twiddle;
                m_spectrum[start + k + half] = m_spectrum[start + k] - odd;
                m_spectrum[start + k] += odd;
            }
        }
    }
}

void BandEqualizer::process(float* frames, int channels) {
    // Both channels are real, so they travel together as the real and
    // imaginary parts of one transform and are told apart by symmetry.
    const bool stereo = channels == 2;
    for (size_t n = 0; n < kHopFrames; ++n) {
        m_spectrum[n] = m_history[n] * m_window[n];
        const Complex input(frames[n * channels], stereo ? frames[n * 2 + 1] : 0.0f);
        m_history[n] = input;
        m_spectrum[n + kHopFrames] = input * m_window[n + kHopFrames];
    }
    transform(false);
    const Complex half(0.5f, 0.0f);
    const Complex minusHalfI(0.0f, -0.5f);
    const Complex i(0.0f, 1.0f);
    for (size_t bin = 0; bin <= kWindowFrames / 2; ++bin) {
        const size_t mirror = (kWindowFrames - bin) % kWindowFrames;
        const Complex a = m_spectrum[bin];
        const Complex b = std::conj(m_spectrum[mirror]);
        const Complex left = (a + b) * half;
        const Complex right = (a - b) * minusHalfI;
        const float gainRight = stereo ? m_gainRight[bin] : m_gainLeft[bin];
        m_spectrum[bin] = left * m_gainLeft[bin] + i * right * gainRight;
        if (mirror != bin)
            m_spectrum[mirror] = std::conj(left) * m_gainLeft[bin] + i * std::conj(right) * gainRight;
    }
    transform(true);
    const float scale = 1.0f / kWindowFrames;
    for (size_t n = 0; n < kHopFrames; ++n) {
        const Complex output = m_overlap[n] + m_spectrum[n] * (m_window[n] * scale);
        m_overlap[n] = m_spectrum[n + kHopFrames] * (m_window[n + kHopFrames] * scale);
        frames[n * channels] = output.real();
        if (stereo)
            frames[n * 2 + 1] = output.imag();
    }
}

} // namespace xaudio
