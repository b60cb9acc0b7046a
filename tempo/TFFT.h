#pragma once

#include <cstdint>
#include <vector>

// The radix-2 decimation-in-time transform the beat analyser runs on every
// block and on every band envelope. It keeps only the real parts of the
// result, scaled by 1/N and truncated to 16 bits, which is all the analyser
// needs: magnitudes of real input, where the sign of the exponent is moot.
class TFFT {
public:
    static constexpr int kMaxBits = 24;

    // 0 <= bits <= kMaxBits; throws std::invalid_argument otherwise.
    explicit TFFT(int bits);

    int Bits() const { return m_bits; }
    int N() const { return m_n; }

    // Replaces values[0 .. N-1] by Re(X[k]) / N, truncated toward zero and
    // wrapped to 16 bits. Does not allocate.
    void FFT(int16_t* values);

    // cos(2 pi j / N) at j, sin(2 pi j / N) at N + j.
    const std::vector<double>& table() const { return m_table; }
    // Index i with its low Bits bits reversed.
    const std::vector<uint32_t>& reversed() const { return m_reversed; }

private:
    int m_bits;
    int m_n;
    std::vector<double> m_table;
    std::vector<uint32_t> m_reversed;
    std::vector<double> m_real;
    std::vector<double> m_imaginary;
};
