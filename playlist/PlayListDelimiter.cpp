#include "PlayListDelimiter.h"

#include <algorithm>

namespace playlist {

void PlayListDelimiter::detect(std::string_view firstLine, std::string_view secondLine) {
    if (isSet())
        return;
    std::ptrdiff_t bestCount = 0;
    for (const char candidate : kCandidates) {
        const auto first = std::count(firstLine.begin(), firstLine.end(), candidate);
        const auto second = std::count(secondLine.begin(), secondLine.end(), candidate);
        if (first == second && first > bestCount) {
            bestCount = first;
            m_detected = candidate;
        }
    }
}

} // namespace playlist
