#include "Resampler.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace xaudio {
namespace {

constexpr double kPi = 3.14159265358979323846;
// The filter passes 90 % of the band it keeps; with a Kaiser window of this
// beta, what lies beyond it (and would fold back) is about 90 dB down.
constexpr double kCutoff = 0.90;
constexpr double kKaiserBeta = 9.0;
// Bands in steps of 1/64 of the input's: a bend rebuilds the bank only when
// it crosses a step, and a band a little narrower than the ratio allows
// only cuts a little more of the top.
constexpr int kBandSteps = 64;
// Points of the filter's shape per input frame, between which it is
// interpolated when a bank is made.
constexpr int kShapeResolution = 512;

// Four floats that the compiler keeps in one vector register where the
// machine has them, and handles as four floats where it does not.
typedef float Floats4 __attribute__((vector_size(16)));

double besselI0(double x) {
    double sum = 1.0;
    double term = 1.0;
    for (int k = 1; k < 64; ++k) {
        const double factor = x / (2.0 * k);
        term *= factor * factor;
        sum += term;
        if (term < 1e-12 * sum)
            break;
    }
    return sum;
}

float sumOf(Floats4 v) {
    return v[0] + v[1] + v[2] + v[3];
}

} // namespace

Resampler::Resampler()
    : m_shape(static_cast<size_t>(kHalfTapsAtNormalSpeed * kShapeResolution + 2), 0.0f),
      m_bank(static_cast<size_t>((kPhases + 1) * kMostTaps), 0.0f),
      m_left(static_cast<size_t>(kHistoryFrames + 2 * kMostTaps), 0.0f), m_right(m_left.size(), 0.0f) {
    // The windowed sinc at normal speed; at a faster speed the same shape,
    // stretched, keeps the narrower band.
    const double windowScale = besselI0(kKaiserBeta);
    for (size_t i = 0; i + 1 < m_shape.size(); ++i) {
        const double x = static_cast<double>(i) / kShapeResolution;
        const double edge = x / kHalfTapsAtNormalSpeed;
        if (edge >= 1.0)
            break;
        const double y = kPi * kCutoff * x;
        const double sinc = x == 0.0 ? 1.0 : std::sin(y) / y;
        m_shape[i] =
            static_cast<float>(kCutoff * sinc * besselI0(kKaiserBeta * std::sqrt(1.0 - edge * edge)) / windowScale);
    }
    reset();
}

void Resampler::reset() {
    // The filter looks back into silence at first.
    std::fill(m_left.begin(), m_left.end(), 0.0f);
    std::fill(m_right.begin(), m_right.end(), 0.0f);
    m_count = kMostHalfTaps;
    m_time = kMostHalfTaps;
    m_end = -1;
    m_ratio = 0;
}

void Resampler::prime(const float* frames, long count) {
    const long taken = std::min(count, static_cast<long>(kMostHalfTaps));
    // reset() leaves exactly kMostHalfTaps frames of silence behind the
    // next output; the primed frames take their place.
    const long first = m_count - taken;
    frames += (count - taken) * 2;
    for (long i = 0; i < taken; ++i) {
        m_left[static_cast<size_t>(first + i)] = frames[2 * i];
        m_right[static_cast<size_t>(first + i)] = frames[2 * i + 1];
    }
}

void Resampler::useBand(double ratio) {
    const int band = ratio >= 1.0 ? kBandSteps
                                  : std::max(static_cast<int>(std::floor(ratio * kBandSteps)),
                                             static_cast<int>(kMinimumRatio * kBandSteps));
    if (band == m_band)
        return;
    m_band = band;
    const double share = static_cast<double>(band) / kBandSteps;
    m_halfTaps = static_cast<int>(std::ceil(kHalfTapsAtNormalSpeed / share));
    m_taps = (2 * m_halfTaps + 3) / 4 * 4;
    for (int phase = 0; phase <= kPhases; ++phase) {
        float* row = m_bank.data() + static_cast<size_t>(phase) * m_taps;
        const double fraction = static_cast<double>(phase) / kPhases;
        for (int tap = 0; tap < m_taps; ++tap) {
            const double x = share * std::fabs(fraction + m_halfTaps - 1 - tap) * kShapeResolution;
            const auto index = static_cast<size_t>(x);
            if (index + 1 >= m_shape.size()) {
                row[tap] = 0.0f;
                continue;
            }
            const auto between = static_cast<float>(x - static_cast<double>(index));
            row[tap] = static_cast<float>(share) * (m_shape[index] + between * (m_shape[index + 1] - m_shape[index]));
        }
    }
}

void Resampler::compact() {
    // Kept behind the next output: the widest filter's reach.
    const long drop = static_cast<long>(std::floor(m_time)) - kMostHalfTaps;
    if (drop <= 0)
        return;
    std::memmove(m_left.data(), m_left.data() + drop, static_cast<size_t>(m_count - drop) * sizeof(float));
    std::memmove(m_right.data(), m_right.data() + drop, static_cast<size_t>(m_count - drop) * sizeof(float));
    m_count -= drop;
    m_time -= static_cast<double>(drop);
    if (m_end >= 0)
        m_end -= drop;
}

void Resampler::produce(long first, double phase, float* frame) const {
    const auto row = static_cast<int>(phase);
    const auto between = static_cast<float>(phase - row);
    const float* lower = m_bank.data() + static_cast<size_t>(row) * m_taps;
    const float* upper = lower + m_taps;
    const float* left = m_left.data() + first;
    const float* right = m_right.data() + first;
    Floats4 leftLower{};
    Floats4 leftUpper{};
    Floats4 rightLower{};
    Floats4 rightUpper{};
    for (int tap = 0; tap < m_taps; tap += 4) {
        Floats4 a;
        Floats4 b;
        Floats4 l;
        Floats4 r;
        std::memcpy(&a, lower + tap, sizeof a);
        std::memcpy(&b, upper + tap, sizeof b);
        std::memcpy(&l, left + tap, sizeof l);
        std::memcpy(&r, right + tap, sizeof r);
        leftLower += a * l;
        leftUpper += b * l;
        rightLower += a * r;
        rightUpper += b * r;
    }
    const float l0 = sumOf(leftLower);
    const float r0 = sumOf(rightLower);
    frame[0] = l0 + between * (sumOf(leftUpper) - l0);
    frame[1] = r0 + between * (sumOf(rightUpper) - r0);
}

void Resampler::process(Block& block) {
    const double target = std::clamp(block.ratio, kMinimumRatio, kMaximumRatio);
    if (m_ratio <= 0)
        m_ratio = target;
    const double start = m_ratio;
    const long capacity = static_cast<long>(m_left.size());
    long used = 0;
    long generated = 0;
    double ratio = start;
    while (generated < block.outputFrames) {
        ratio = start + (target - start) * static_cast<double>(generated) / static_cast<double>(block.outputFrames);
        useBand(ratio);
        if (m_end >= 0 && m_time >= static_cast<double>(m_end))
            break;
        long first = static_cast<long>(std::floor(m_time)) - m_halfTaps + 1;
        bool starved = false;
        while (first + m_taps > m_count) {
            if (m_count + 1 > capacity) {
                compact();
                first = static_cast<long>(std::floor(m_time)) - m_halfTaps + 1;
            }
            const long room = capacity - m_count;
            if (room <= 0) {
                starved = true;
                break;
            }
            if (used < block.inputFrames) {
                const long take = std::min(room, block.inputFrames - used);
                const float* in = block.input + used * 2;
                for (long i = 0; i < take; ++i) {
                    m_left[static_cast<size_t>(m_count + i)] = in[2 * i];
                    m_right[static_cast<size_t>(m_count + i)] = in[2 * i + 1];
                }
                m_count += take;
                used += take;
            } else if (block.endOfInput) {
                // The tail: the input's last frames are filtered against
                // silence after them.
                if (m_end < 0)
                    m_end = m_count;
                const long zeros = std::min(room, first + m_taps - m_count);
                std::fill_n(m_left.begin() + m_count, zeros, 0.0f);
                std::fill_n(m_right.begin() + m_count, zeros, 0.0f);
                m_count += zeros;
            } else {
                starved = true;
                break;
            }
        }
        if (starved)
            break;
        const double whole = std::floor(m_time);
        produce(first, (m_time - whole) * kPhases, block.output + generated * 2);
        ++generated;
        m_time += 1.0 / ratio;
    }
    m_ratio = generated == block.outputFrames ? target : ratio;
    block.inputUsed = used;
    block.outputGenerated = generated;
}

} // namespace xaudio
