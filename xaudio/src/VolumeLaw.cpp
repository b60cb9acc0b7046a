#include "VolumeLaw.h"

#include <algorithm>
#include <cmath>

namespace xaudio {

float levelToGain(int level) {
    if (level <= 0)
        return 0.0f;
    level = std::min(level, 100);
    return static_cast<float>(std::pow(10.0, (level - 100) * 0.5 / 20.0));
}

void balanceToGains(int balance, float* left, float* right) {
    balance = std::clamp(balance, 0, 100);
    *left = balance <= 50 ? 1.0f : static_cast<float>(100 - balance) / 50.0f;
    *right = balance >= 50 ? 1.0f : static_cast<float>(balance) / 50.0f;
}

} // namespace xaudio
