#pragma once

#include "TFFT.h"
#include "tempik.h"

#include <cstdint>
#include <memory>
#include <vector>

// The tempo estimator. Fed the audio block by block through the read
// procedure of its creation record, it keeps one envelope per frequency band
// (the magnitudes of a small transform of every decimated block) and finally
// estimates one tempo from the spectra of those envelopes, together with the
// share of bands whose own estimates agree.
//
// One thread at a time. The block step does not allocate; the estimate
// allocates one transform.
class TBeatAnalyser {
public:
    static constexpr int kMaxHistoryBits = 24;
    static constexpr int kMaxBlockBits = 16;
    // Input whose samples all stay below this 16-bit level (about -60 dBFS)
    // counts as silence and is not measured.
    static constexpr int kSilenceLevel = 33;

    // A rate below 44100 Hz is doubled, giving up one decimation step each
    // time, until it reaches 44100 or no step is left; time is then counted
    // as if the result were 44100 Hz.
    struct WorkingRate {
        int64_t rateHz;
        int decimationBits;
    };
    static WorkingRate workingRate(int32_t sampleRate, int32_t decimationBits);

    // Throws std::invalid_argument for a record outside what the analyser
    // handles (see BeatAnalyserObjectCreate), std::bad_alloc when memory runs out.
    explicit TBeatAnalyser(const TBeatAnalyserParams& params);

    // One block step; a no-op when Enabled is 0, ReadBlock is unset or the
    // history is full.
    void GetNextSample();
    // The estimate over the blocks taken so far; also stored in Bpm. Returns
    // 0 with quality 0 when the search range's neighbour bins fall outside
    // the transformed envelope, when no sample reached kSilenceLevel, and
    // after Abandon.
    double CalcBpm(double& quality);
    // Gives up on the measurement (the read procedure failed): later block
    // steps do nothing and the estimate is 0.
    void Abandon() { m_abandoned = true; }
    // The largest sample level seen so far.
    int PeakLevel() const { return m_peakLevel; }

    const TBeatAnalyserParams& Params() const { return m_params; }
    int Count() const { return m_count; }
    double Bpm() const { return m_bpm; }
    // B: the number of bands that are stored and estimated.
    int BandCount() const { return m_bandCount; }
    // Points of the transform applied to every block.
    int BlockTransformPoints() const { return m_blockTransform.N(); }
    // Rows allocated for band histories (follows the reduced decimation for
    // sources below 44100 Hz; only the first BandCount() are used).
    int BandRowCount() const { return static_cast<int>(m_histories.size()); }
    const std::vector<int16_t>& History(int band) const { return m_histories[static_cast<size_t>(band)]; }
    // BPM per bin of an envelope spectrum.
    double BinWidthBpm() const;
    // The bins searched for MinBpm..MaxBpm: Round(MinBpm / W), Round(MaxBpm / W).
    bool SearchRange(int& kmin, int& kmax) const;
    // The per-band estimates of the last CalcBpm, before consensus.
    const std::vector<double>& BandEstimates() const { return m_bandEstimates; }

    // The consensus over band estimates: drops the estimate farthest from
    // the mean while it lies more than tolerance away. Returns the mean of
    // what remains and sets remaining to their number.
    static double Consensus(std::vector<double> estimates, double tolerance, int& remaining);

private:
    // Smooths band history `band` and returns the row holding the result.
    int16_t* smoothBand(int band);
    double bandTempo(int16_t* row, TFFT& transform, int kmin, int kmax) const;

    TBeatAnalyserParams m_params;
    int m_bandCount;
    int m_decimatedPoints;
    int m_blockFrames;
    std::vector<int16_t> m_readBuffer;
    TFFT m_blockTransform;
    std::vector<std::vector<int16_t>> m_histories;
    std::vector<int16_t> m_workRows[2];
    int m_count = 0;
    int m_peakLevel = 0;
    bool m_abandoned = false;
    double m_bpm = 0;
    std::vector<double> m_bandEstimates;
};
