#include "DeckTimeTexts.h"

#include <cstdlib>

namespace app {

DurationParts splitDuration(uint32_t seconds) {
    DurationParts parts;
    parts.hours = static_cast<int>(seconds / 3600);
    parts.minutes = static_cast<int>((seconds % 3600) / 60);
    parts.seconds = static_cast<int>(seconds % 60);
    return parts;
}

QString timeText(int minutes, int seconds, int hundredths) {
    return QString::asprintf("%.2d:%.2d:%.2d", minutes, seconds, hundredths);
}

QString durationText(const DurationParts& duration) {
    return QString::asprintf("%.2d:%.2d", duration.minutes, duration.seconds) + QStringLiteral(":00");
}

RemainingTime remainingTime(const DurationParts& duration, int minutes, int seconds, int hundredths) {
    RemainingTime remaining;
    remaining.seconds = std::abs(duration.seconds - seconds);
    if (seconds > duration.seconds)
        remaining.seconds = 60 - remaining.seconds;
    remaining.minutes = std::abs(duration.minutes - minutes);
    if (duration.seconds < remaining.seconds)
        remaining.minutes -= 1;
    remaining.hundredths = 99 - hundredths;
    return remaining;
}

QString remainingText(const DurationParts& duration, int minutes, int seconds, int hundredths) {
    const RemainingTime remaining = remainingTime(duration, minutes, seconds, hundredths);
    return timeText(remaining.minutes, remaining.seconds, remaining.hundredths);
}

bool timeTextAtOrBelow(const QString& text, const QString& threshold) {
    return text.toLatin1() <= threshold.toLatin1();
}

int seekOffsetForClick(int x, int range, int width) {
    if (width <= 0)
        return 0;
    // 64 bits: a long stream's range times a wide region must not overflow.
    return static_cast<int>(static_cast<int64_t>(x) * range / width);
}

} // namespace app
