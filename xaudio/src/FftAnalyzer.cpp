#include "FftAnalyzer.h"

#include "Rounding.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

namespace xaudio {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr float kFullScale = 127.0f;
constexpr float kRangeDb = 60.0f;

unsigned reverseBits(unsigned value, unsigned bits) {
    unsigned result = 0;
    for (unsigned i = 0; i < bits; ++i) {
        result = (result << 1) | (value & 1u);
        value >>= 1;
    }
    return result;
}

float hannWindow(size_t index, size_t count) {
    return static_cast<float>(0.5 - 0.5 * std::cos(2.0 * kPi * static_cast<double>(index) / (count - 1)));
}

} // namespace

FftAnalyzer::FftAnalyzer() {
    for (size_t i = 0; i < kSize / 2; ++i) {
        const double angle = -2.0 * kPi * static_cast<double>(i) / kSize;
        m_twiddles[i] = {static_cast<float>(std::cos(angle)), static_cast<float>(std::sin(angle))};
    }
    for (size_t i = 0; i < kSize; ++i)
        m_window[i] = hannWindow(i, kSize);
}

void FftAnalyzer::setSamples(const int8_t* samples, size_t count) {
    count = std::min(count, kSize);
    std::array<std::complex<float>, kSize> data{};
    if (samples == nullptr || count < 2) {
        m_levels.fill(0);
        return;
    }
    // The mean goes first so a DC offset does not leak into the low bands.
    float mean = 0;
    for (size_t i = 0; i < count; ++i)
        mean += samples[i];
    mean /= static_cast<float>(count);
    float windowSum = 0;
    for (size_t i = 0; i < count; ++i) {
        // The window of a full block is made once; a shorter one gets its own.
        const float window = count == kSize ? m_window[i] : hannWindow(i, count);
        windowSum += window;
        data[reverseBits(static_cast<unsigned>(i), 7)] = {(samples[i] - mean) * window, 0.0f};
    }
    for (size_t length = 2; length <= kSize; length *= 2) {
        const size_t half = length / 2;
        const size_t step = kSize / length;
        for (size_t start = 0; start < kSize; start += length) {
            for (size_t k = 0; k < half; ++k) {
                const std::complex<float> odd = m_twiddles[k * step] * data[start + k + half];
                const std::complex<float> even = data[start + k];
                data[start + k] = even + odd;
                data[start + k + half] = even - odd;
            }
        }
    }
    // A full-scale sine peaks at kFullScale x windowSum / 2 in its bin. The
    // squared magnitude spares a square root per band (std::abs, and so
    // std::norm, take the slow, overflow-safe hypot).
    const float reference = kFullScale * windowSum / 2.0f;
    const float squaredReference = reference * reference;
    for (size_t band = 0; band < kBands; ++band) {
        const float squaredMagnitude = data[band].real() * data[band].real() + data[band].imag() * data[band].imag();
        if (squaredMagnitude <= 0.0f) {
            m_levels[band] = 0;
            continue;
        }
        const float decibels = 10.0f * std::log10(squaredMagnitude / squaredReference);
        const float level = 255.0f * (1.0f + decibels / kRangeDb);
        m_levels[band] = static_cast<uint8_t>(std::clamp(roundHalfAwayFromZero(level), 0L, 255L));
    }
}

void FftAnalyzer::spectrum(uint8_t* levels) const {
    std::copy(m_levels.begin(), m_levels.end(), levels);
}

template <typename Sample> void interpolateSamples(const Sample* samples, size_t count, Sample* output, size_t width) {
    if (width == 0)
        return;
    if (count == 0) {
        std::fill(output, output + width, static_cast<Sample>(std::is_signed_v<Sample> ? 0 : 128));
        return;
    }
    if (count == 1 || width == 1) {
        std::fill(output, output + width, samples[0]);
        return;
    }
    const double scale = static_cast<double>(count - 1) / static_cast<double>(width - 1);
    for (size_t i = 0; i < width; ++i) {
        const double position = static_cast<double>(i) * scale;
        const auto index = std::min(static_cast<size_t>(position), count - 2);
        const double fraction = position - static_cast<double>(index);
        const double value = samples[index] + (samples[index + 1] - samples[index]) * fraction;
        output[i] = static_cast<Sample>(roundHalfAwayFromZero(value));
    }
}

template void interpolateSamples<int8_t>(const int8_t*, size_t, int8_t*, size_t);
template void interpolateSamples<uint8_t>(const uint8_t*, size_t, uint8_t*, size_t);

} // namespace xaudio
