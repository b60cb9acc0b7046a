#include "TFFT.h"

#include <cmath>
#include <numbers>
#include <stdexcept>

TFFT::TFFT(int bits) : m_bits(bits), m_n(0) {
    if (bits < 0 || bits > kMaxBits)
        throw std::invalid_argument("TFFT: unsupported transform size");
    m_n = 1 << bits;
    m_table.resize(2 * static_cast<size_t>(m_n));
    m_reversed.resize(static_cast<size_t>(m_n));
    m_real.resize(static_cast<size_t>(m_n));
    m_imaginary.resize(static_cast<size_t>(m_n));
    for (int j = 0; j < m_n; ++j) {
        const double angle = 2 * std::numbers::pi * j / m_n;
        m_table[static_cast<size_t>(j)] = std::cos(angle);
        m_table[static_cast<size_t>(m_n + j)] = std::sin(angle);
        uint32_t reversed = 0;
        for (int bit = 0; bit < bits; ++bit)
            if ((j >> bit) & 1)
                reversed |= 1u << (bits - 1 - bit);
        m_reversed[static_cast<size_t>(j)] = reversed;
    }
}

void TFFT::FFT(int16_t* values) {
    double* re = m_real.data();
    double* im = m_imaginary.data();
    for (int i = 0; i < m_n; ++i) {
        re[m_reversed[static_cast<size_t>(i)]] = values[i];
        im[i] = 0;
    }
    for (int stage = 1; stage <= m_bits; ++stage) {
        const int half = 1 << (stage - 1);
        const int span = half << 1;
        const int tableStride = 1 << (m_bits - stage);
        for (int offset = 0; offset < half; ++offset) {
            const double wRe = m_table[static_cast<size_t>(offset * tableStride)];
            const double wIm = m_table[static_cast<size_t>(m_n + offset * tableStride)];
            for (int top = offset; top < m_n; top += span) {
                const int bottom = top + half;
                const double tRe = wRe * re[bottom] - wIm * im[bottom];
                const double tIm = wRe * im[bottom] + wIm * re[bottom];
                re[bottom] = re[top] - tRe;
                im[bottom] = im[top] - tIm;
                re[top] += tRe;
                im[top] += tIm;
            }
        }
    }
    for (int k = 0; k < m_n; ++k) {
        // |Re X[k]| / N never exceeds 32768, so the truncated value always
        // fits 32 bits; the 16-bit store wraps like the original storage did.
        const double scaled = std::trunc(re[k] / m_n);
        values[k] = static_cast<int16_t>(static_cast<int32_t>(scaled));
    }
}
