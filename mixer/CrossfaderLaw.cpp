#include "CrossfaderLaw.h"

#include <cstdlib>

namespace mixer {

namespace {
// Integer division truncates toward zero, which is the halving the law needs.
int half(int value) {
    return value / 2;
}
} // namespace

int crossfaderCutA(int crossFader, int faderA) {
    if (crossFader < kCrossFaderCentre)
        return 2 * std::abs(crossFader - half(faderA));
    return 0;
}

int crossfaderCutB(int crossFader, int faderB) {
    if (crossFader > kCrossFaderCentre)
        return 2 * std::abs((100 - crossFader) - half(faderB));
    return 0;
}

} // namespace mixer
