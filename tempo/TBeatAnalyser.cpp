#include "TBeatAnalyser.h"

#include "RoundHalfEven.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace {

constexpr double kReferenceRateHz = 44100.0;
// Histories and work rows are zero-filled, so every byte asked for is
// touched at once; a record asking for more than this in all (buffers,
// histories, work rows and both transforms) is refused instead.
constexpr int64_t kMaxTotalBytes = int64_t{1} << 28;
constexpr int kMaxWorkRowBits = 26;
// Bytes a transform of 2^bits points holds: two tables and two work rows of
// doubles, one table of 32-bit indices.
int64_t transformBytes(int bits) {
    return (int64_t{1} << bits) * (4 * 8 + 4);
}

// |value| as a 16-bit level; the one value without a positive counterpart
// saturates instead of wrapping back to a negative level.
int16_t magnitude(int16_t value) {
    return value == INT16_MIN ? INT16_MAX : static_cast<int16_t>(value < 0 ? -value : value);
}

void check(bool condition, const char* text) {
    if (!condition)
        throw std::invalid_argument(text);
}

} // namespace

TBeatAnalyser::WorkingRate TBeatAnalyser::workingRate(int32_t sampleRate, int32_t decimationBits) {
    WorkingRate working{sampleRate, decimationBits};
    while (working.rateHz < static_cast<int64_t>(kReferenceRateHz) && working.decimationBits > 0) {
        working.rateHz *= 2;
        --working.decimationBits;
    }
    return working;
}

TBeatAnalyser::TBeatAnalyser(const TBeatAnalyserParams& params)
    : m_params(params), m_bandCount(0), m_decimatedPoints(0), m_blockFrames(0), m_blockTransform([&params] {
          check(params.BlockBits >= 1 && params.BlockBits <= kMaxBlockBits, "BlockBits out of range");
          check(params.DecimationBits >= 0 && params.DecimationBits < params.BlockBits, "DecimationBits out of range");
          // Sources below 44100 Hz get a larger block transform; everything
          // else keeps the unreduced decimation.
          return TFFT(params.BlockBits - workingRate(params.SampleRate, params.DecimationBits).decimationBits);
      }()) {
    const TBeatAnalyserParams& p = m_params;
    check(p.Channels >= 1 && p.Channels <= 65535, "Channels out of range");
    check(p.BytesPerSample == 1 || p.BytesPerSample == 2 || p.BytesPerSample == 4, "BytesPerSample not 1, 2 or 4");
    check(p.HistoryBits >= 0 && p.HistoryBits <= kMaxHistoryBits, "HistoryBits out of range");
    check(p.EnvelopeBits >= 0 && p.EnvelopeBits <= 8, "EnvelopeBits out of range");
    check(p.HistoryBits + p.EnvelopeBits <= kMaxWorkRowBits, "work rows too large");
    const int64_t bandRows = m_blockTransform.N() / 2;

    m_blockFrames = 1 << p.BlockBits;
    m_decimatedPoints = 1 << (p.BlockBits - p.DecimationBits);
    m_bandCount = m_decimatedPoints / 2;

    // The read buffer doubles as 16-bit working storage, so it must also hold
    // every sample of the block once widened, and the block transform's input.
    const int64_t frames = m_blockFrames;
    const int64_t readBytes = frames * std::max(2, p.Channels) * p.BytesPerSample;
    const int64_t widenedBytes = frames * p.Channels * 2;
    const int64_t bufferBytes = std::max({readBytes, widenedBytes, int64_t{2} * m_blockTransform.N()});
    const int64_t historyBytes = bandRows << (p.HistoryBits + 1);
    const int64_t workBytes = int64_t{2} << (p.HistoryBits + p.EnvelopeBits + 1);
    int transformBits = 0;
    while ((1 << transformBits) < m_blockTransform.N())
        ++transformBits;
    const int64_t totalBytes = bufferBytes + historyBytes + workBytes + transformBytes(transformBits) +
                               transformBytes(std::max(0, p.HistoryBits - p.EnvelopeBits));
    check(totalBytes <= kMaxTotalBytes, "the record asks for more than 256 MiB");
    m_readBuffer.assign(static_cast<size_t>((bufferBytes + 1) / 2), 0);

    const size_t historyLength = size_t{1} << p.HistoryBits;
    m_histories.assign(static_cast<size_t>(bandRows), std::vector<int16_t>(historyLength, 0));
    const size_t workLength = size_t{1} << (p.HistoryBits + p.EnvelopeBits);
    m_workRows[0].assign(workLength, 0);
    m_workRows[1].assign(workLength, 0);
}

double TBeatAnalyser::BinWidthBpm() const {
    return kReferenceRateHz / std::ldexp(1.0, m_params.BlockBits) /
           std::ldexp(1.0, m_params.HistoryBits + m_params.EnvelopeBits - 1) * 60;
}

void TBeatAnalyser::GetNextSample() {
    if (m_params.Enabled == 0 || m_params.ReadBlock == nullptr || m_abandoned)
        return;
    if (static_cast<size_t>(m_count) >= m_histories.front().size())
        return;
    int16_t* values = m_readBuffer.data();
    auto* bytes = reinterpret_cast<unsigned char*>(values);
    m_params.ReadBlock(values, m_params.UserData);

    // Every sample of the block is widened, not only the first channel's
    // share, because the decimation below reads across the whole block.
    const int samples = m_blockFrames * m_params.Channels;
    if (m_params.BytesPerSample == 1) {
        // Backwards: value i lands on bytes 2i and 2i+1, which are already read.
        for (int i = samples - 1; i >= 0; --i)
            values[i] = static_cast<int16_t>(static_cast<signed char>(bytes[i]) * 256);
    } else if (m_params.BytesPerSample == 4) {
        // Forwards: value i lands on bytes 2i and 2i+1, which are already read.
        for (int i = 0; i < samples; ++i) {
            int32_t sample;
            std::memcpy(&sample, bytes + 4 * static_cast<size_t>(i), sizeof sample);
            values[i] = static_cast<int16_t>(sample >> 16);
        }
    }

    for (int i = 0; i < samples; ++i)
        m_peakLevel = std::max(m_peakLevel, static_cast<int>(magnitude(values[i])));

    const int stride = m_params.Channels << m_params.DecimationBits;
    if (stride > 1)
        for (int i = 0; i < m_decimatedPoints; ++i)
            values[i] = values[i * stride];

    m_blockTransform.FFT(values);
    for (int band = 0; band < m_bandCount; ++band)
        m_histories[static_cast<size_t>(band)][static_cast<size_t>(m_count)] = magnitude(values[band]);
    ++m_count;
}

int16_t* TBeatAnalyser::smoothBand(int band) {
    const int16_t* source = m_histories[static_cast<size_t>(band)].data();
    int16_t* target = nullptr;
    int next = 0;
    for (int pass = 1; pass <= m_params.MaxSmoothPasses; ++pass) {
        target = m_workRows[next].data();
        // Positions from `length` on keep what earlier passes or bands left.
        const int length = m_count - static_cast<int>(tempo::roundHalfEven(0.37 * pass));
        double level = 0;
        double changeSum = 0;
        for (int i = 0; i < length; ++i) {
            const int x = source[i];
            const double change = (x - level) * 0.63;
            target[i] = static_cast<int16_t>(x - static_cast<int32_t>(tempo::roundHalfEven(change)));
            level += change;
            changeSum += std::fabs(change);
        }
        const double meanChange = length > 0 ? changeSum / length / 32768 : 0;
        source = target;
        next ^= 1;
        // Once nothing is left to smooth, further passes cannot change anything.
        if (meanChange < m_params.SmoothThreshold || length <= 0)
            break;
    }
    // Without a pass, the band tempo works on the history itself.
    return target != nullptr ? target : m_histories[static_cast<size_t>(band)].data();
}

double TBeatAnalyser::bandTempo(int16_t* row, TFFT& transform, int kmin, int kmax) const {
    const int envelopeStride = 1 << m_params.EnvelopeBits;
    const int points = transform.N();
    for (int i = 0; i < points; ++i)
        row[i] = row[i * envelopeStride];
    transform.FFT(row);
    for (int i = 0; i < points / 2; ++i)
        row[i] = magnitude(row[i]);

    int peak = (kmin + kmax) / 2;
    int best = 0;
    for (int k = kmin; k <= kmax; ++k) {
        if (row[k] > best) {
            best = row[k];
            peak = k;
        }
    }
    const double below = row[peak - 1];
    const double at = row[peak];
    const double above = row[peak + 1];
    const double divisor = below + at + above;
    // Three silent bins have no centroid; the peak bin stands for itself.
    const double bin = divisor != 0 ? ((peak - 1) * below + peak * at + (peak + 1) * above) / divisor : peak;
    return bin * BinWidthBpm();
}

double TBeatAnalyser::Consensus(std::vector<double> estimates, double tolerance, int& remaining) {
    size_t n = estimates.size();
    if (n == 0) {
        remaining = 0;
        return 0;
    }
    auto mean = [&] {
        double sum = 0;
        for (size_t i = 0; i < n; ++i)
            sum += estimates[i];
        return sum / static_cast<double>(n);
    };
    for (;;) {
        const double average = mean();
        size_t farthest = n - 1;
        double distance = 0;
        for (size_t i = 0; i < n; ++i) {
            const double d = std::fabs(estimates[i] - average);
            if (d > distance) {
                distance = d;
                farthest = i;
            }
        }
        if (!(distance > tolerance))
            break;
        estimates.erase(estimates.begin() + static_cast<std::ptrdiff_t>(farthest));
        --n;
        if (n == 1)
            break;
    }
    remaining = static_cast<int>(n);
    return mean();
}

bool TBeatAnalyser::SearchRange(int& kmin, int& kmax) const {
    const int envelopeBits = m_params.HistoryBits - m_params.EnvelopeBits;
    const double width = BinWidthBpm();
    const double lowBin = tempo::roundHalfEven(m_params.MinBpm / width);
    const double highBin = tempo::roundHalfEven(m_params.MaxBpm / width);
    const double halfRow = envelopeBits >= 1 ? std::ldexp(1.0, envelopeBits - 1) : 0;
    // The centroid reads one bin on either side of every bin searched, and
    // only the first half of the transformed row holds magnitudes.
    if (!std::isfinite(lowBin) || !std::isfinite(highBin) || std::min(lowBin, highBin) < 1 ||
        std::max(lowBin, highBin) + 1 >= halfRow)
        return false;
    kmin = static_cast<int>(lowBin);
    kmax = static_cast<int>(highBin);
    return true;
}

double TBeatAnalyser::CalcBpm(double& quality) {
    quality = 0;
    m_bpm = 0;
    m_bandEstimates.clear();
    int kmin = 0;
    int kmax = 0;
    // Silence (or no audio at all) has no beat: its flat envelopes used to
    // give a confident tempo from the filters' own response.
    if (m_abandoned || m_peakLevel < kSilenceLevel || !SearchRange(kmin, kmax))
        return 0;

    TFFT transform(m_params.HistoryBits - m_params.EnvelopeBits);
    m_bandEstimates.reserve(static_cast<size_t>(m_bandCount));
    for (int band = 0; band < m_bandCount; ++band)
        m_bandEstimates.push_back(bandTempo(smoothBand(band), transform, kmin, kmax));

    int remaining = 0;
    m_bpm = Consensus(m_bandEstimates, m_params.ConsensusTolerance, remaining);
    quality = static_cast<double>(remaining) / m_bandCount;
    return m_bpm;
}
