#include "FadeCurves.h"

#include <cassert>

namespace mixer {

namespace {
constexpr int kStep = 5;
constexpr int kFastStep = 10;
} // namespace

std::size_t fadeIndex(Fade fade) {
    for (std::size_t index = 0; index < kTickOrder.size(); ++index)
        if (kTickOrder[index] == fade)
            return index;
    assert(false && "every curve and deck is in the tick order");
    return 0;
}

FadeProgress stepFade(Curve curve, int& target, int& other, int& equalCount) {
    switch (curve) {
    case Curve::Linear:
        target += kStep;
        other -= kStep;
        break;
    case Curve::FastSlow:
        target += kStep;
        other -= kFastStep;
        break;
    case Curve::SlowFast:
        target += kFastStep;
        other -= kStep;
        break;
    case Curve::Equal:
        target += kStep;
        if (target >= FadeTop)
            ++equalCount;
        if (equalCount >= EqualHoldTicks)
            other -= kStep;
        break;
    case Curve::SlowSlow:
        // The incoming deck waits until the outgoing one was already silent
        // before this tick.
        if (other <= 0)
            target += kStep;
        other -= kStep;
        break;
    }
    if (other < 0)
        other = 0;
    if (target >= FadeTop)
        target = FadeTop;
    return target == FadeTop && other == 0 ? FadeProgress::Finished : FadeProgress::Running;
}

} // namespace mixer
