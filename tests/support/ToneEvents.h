#pragma once

// Finding where a rendered tone changes, shared by the engine's response
// tests and its latency benchmark so that both time the same events.
#include <cmath>
#include <cstddef>
#include <vector>

namespace test_support {

// The first frame from `from` on whose magnitude exceeds `threshold`.
inline size_t firstSound(const std::vector<float>& samples, size_t from, float threshold) {
    for (size_t i = from; i < samples.size(); ++i)
        if (std::fabs(samples[i]) > threshold)
            return i;
    return samples.size();
}

// The first rising zero crossing from `from` on that ends a period shorter
// than `periodFrames`.
inline size_t periodBelow(const std::vector<float>& samples, size_t from, double periodFrames) {
    size_t previous = 0;
    for (size_t i = from + 1; i < samples.size(); ++i) {
        if (samples[i - 1] < 0 && samples[i] >= 0) {
            if (previous != 0 && static_cast<double>(i - previous) < periodFrames)
                return i;
            previous = i;
        }
    }
    return samples.size();
}

} // namespace test_support
