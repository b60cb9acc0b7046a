#pragma once

#include <QString>

#include <cstdint>

// The deck's time arithmetic: the texts of its time displays, the remaining
// time, and the position a click on the seek region stands for. Plain logic,
// any thread.
namespace app {

// A stream duration split the way the deck keeps it. Hours are kept but
// never shown.
struct DurationParts {
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
};

DurationParts splitDuration(uint32_t seconds);

// A time text "MM:SS:FF" (minutes, seconds, hundredths, each at least two
// digits).
QString timeText(int minutes, int seconds, int hundredths);

// The duration as shown before and after playback: minutes and seconds,
// followed by ":00".
QString durationText(const DurationParts& duration);

struct RemainingTime {
    int minutes = 0;
    int seconds = 0;
    int hundredths = 0;
};

// The time left at elapsed minutes:seconds:hundredths of a track of the given
// duration. The seconds borrow from the minutes; the hundredths do not (the
// duration has none), so at the very start the remaining time reads the
// duration plus 0.99 s. Hours of the elapsed time are not used.
RemainingTime remainingTime(const DurationParts& duration, int minutes, int seconds, int hundredths);
QString remainingText(const DurationParts& duration, int minutes, int seconds, int hundredths);

// Time texts all have the form MM:SS:FF, so comparing them byte by byte is
// comparing the times.
bool timeTextAtOrBelow(const QString& text, const QString& threshold);

// The position offset a click at x (in region pixels) stands for on a seek
// region of the given width, for a stream position range: x * range div width
// in integer arithmetic. 0 for a region without width.
int seekOffsetForClick(int x, int range, int width);

} // namespace app
