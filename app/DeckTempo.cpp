#include "DeckTempo.h"

#include <algorithm>
#include <cmath>

namespace app {
namespace {
constexpr double kWholeNumberTolerance = 1e-9;
}

std::optional<PitchRange> pitchRangeForPercent(int percent) {
    switch (percent) {
    case 4:
    case 8:
    case 12:
    case 16:
    case 32:
    case 64:
        return PitchRange{kNormalPitch - 10 * percent, percent / 5.0};
    default:
        return std::nullopt;
    }
}

int truncateTowardZero(double value) {
    const double nudged = value < 0 ? value - kWholeNumberTolerance : value + kWholeNumberTolerance;
    return static_cast<int>(std::trunc(nudged));
}

int pitchFromSlider(int position, const PitchRange& range) {
    return range.minimum + truncateTowardZero(position * range.step);
}

int sliderFromPitch(int pitch, const PitchRange& range) {
    if (range.step == 0)
        return 0;
    return truncateTowardZero((pitch - range.minimum) / range.step);
}

int pitchFaster(int pitch, const PitchRange& range) {
    return std::min(pitch + 1, range.maximum());
}

int pitchSlower(int pitch, const PitchRange& range) {
    return std::max(pitch - 1, range.minimum);
}

std::optional<double> measuredTempo(const QString& tempoText) {
    if (tempoText == QLatin1String(kTempoNotMeasured))
        return std::nullopt;
    bool ok = false;
    const double tempo = tempoText.trimmed().toDouble(&ok);
    if (!ok || !(tempo > 0) || !std::isfinite(tempo))
        return std::nullopt;
    return tempo;
}

std::optional<QString> currentTempoText(const QString& baseTempo, int pitch) {
    const std::optional<double> base = measuredTempo(baseTempo);
    if (!base)
        return std::nullopt;
    const double tempo = *base + *base * ((pitch - kNormalPitch) / 1000.0);
    // nearbyint rounds ties to even under the default rounding mode.
    const double tenths = std::nearbyint(tempo * 10);
    return QString::number(tenths / 10, 'g', 15);
}

std::optional<int> matchingPitch(const QString& targetTempo, const QString& baseTempo, const PitchRange& range) {
    const std::optional<double> target = measuredTempo(targetTempo);
    const std::optional<double> base = measuredTempo(baseTempo);
    if (!target || !base)
        return std::nullopt;
    const double exact = (*target - *base) / *base * 1000 + kNormalPitch;
    // Clamped before the conversion, so that no tempo pair can overflow it.
    const double limited = std::clamp(exact, double(range.minimum) - 1, double(range.maximum()) + 1);
    int pitch = truncateTowardZero(limited);
    if (pitch < range.minimum)
        pitch = range.minimum;
    if (pitch > range.maximum())
        pitch = range.maximum();
    return pitch;
}

QString tempoDisplayText(const QString& tempoText) {
    return QStringLiteral("BPM ") + tempoText;
}

} // namespace app
