#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace xaudio {

// A lock-free single-producer/single-consumer ring of interleaved stereo
// float frames. The constructor allocates; read, write and the counters
// never lock, allocate or block, so either side may be real-time code. The
// totals count frames since construction and never wrap in practice.
class FrameRing {
public:
    static constexpr size_t kChannels = 2;

    explicit FrameRing(size_t capacityFrames) : m_capacity(roundUpToPowerOfTwo(capacityFrames)) {
        m_samples.assign(m_capacity * kChannels, 0.0f);
    }

    size_t capacityFrames() const { return m_capacity; }

    // Producer side.
    size_t writableFrames() const {
        return m_capacity - static_cast<size_t>(m_writeTotal.load(std::memory_order_relaxed) -
                                                m_readTotal.load(std::memory_order_acquire));
    }
    // Writes as many frames as fit; returns the count written.
    size_t write(const float* frames, size_t count) {
        const uint64_t writeTotal = m_writeTotal.load(std::memory_order_relaxed);
        count = std::min(count, writableFrames());
        copyIn(writeTotal, frames, count);
        m_writeTotal.store(writeTotal + count, std::memory_order_release);
        return count;
    }

    // Consumer side.
    size_t readableFrames() const {
        return static_cast<size_t>(m_writeTotal.load(std::memory_order_acquire) -
                                   m_readTotal.load(std::memory_order_relaxed));
    }
    // Reads as many frames as are there, up to count; returns the count read.
    size_t read(float* frames, size_t count) {
        const uint64_t readTotal = m_readTotal.load(std::memory_order_relaxed);
        count = std::min(count, readableFrames());
        copyOut(readTotal, frames, count);
        m_readTotal.store(readTotal + count, std::memory_order_release);
        return count;
    }
    // Drops everything written so far.
    void discardAll() { m_readTotal.store(m_writeTotal.load(std::memory_order_acquire), std::memory_order_release); }

    // Either side.
    uint64_t readTotal() const { return m_readTotal.load(std::memory_order_acquire); }
    uint64_t writeTotal() const { return m_writeTotal.load(std::memory_order_acquire); }

private:
    static size_t roundUpToPowerOfTwo(size_t value) {
        size_t result = 1;
        while (result < value)
            result *= 2;
        return result;
    }

    void copyIn(uint64_t total, const float* frames, size_t count) {
        if (count == 0)
            return;
        const size_t start = static_cast<size_t>(total & (m_capacity - 1));
        const size_t first = std::min(count, m_capacity - start);
        std::memcpy(&m_samples[start * kChannels], frames, first * kChannels * sizeof(float));
        std::memcpy(&m_samples[0], frames + first * kChannels, (count - first) * kChannels * sizeof(float));
    }
    void copyOut(uint64_t total, float* frames, size_t count) const {
        if (count == 0)
            return;
        const size_t start = static_cast<size_t>(total & (m_capacity - 1));
        const size_t first = std::min(count, m_capacity - start);
        std::memcpy(frames, &m_samples[start * kChannels], first * kChannels * sizeof(float));
        std::memcpy(frames + first * kChannels, &m_samples[0], (count - first) * kChannels * sizeof(float));
    }

    const size_t m_capacity;
    std::vector<float> m_samples;
    alignas(64) std::atomic<uint64_t> m_writeTotal{0};
    alignas(64) std::atomic<uint64_t> m_readTotal{0};
};

} // namespace xaudio
