#pragma once

#include <cmath>

namespace tempo {

// Rounds to the nearest integer, halves to the even neighbour, whatever the
// thread's floating-point rounding mode is.
inline double roundHalfEven(double value) {
    const double nearest = std::round(value); // halves away from zero
    if (std::fabs(value - std::trunc(value)) == 0.5)
        return 2.0 * std::round(value / 2.0);
    return nearest;
}

} // namespace tempo
