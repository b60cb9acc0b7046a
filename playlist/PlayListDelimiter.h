#pragma once

#include <optional>
#include <string_view>

namespace playlist {

// The field delimiter of the play list's own file format. It starts unset,
// and while unset "," is used. The first file read while it is unset decides
// it from its first two lines; from then on it stays for every later read
// and write of the run. GUI thread, like the play list it belongs to.
class PlayListDelimiter {
public:
    static constexpr char kDefault = ',';
    // Candidates in order of preference: on a tie the earlier one wins.
    static constexpr std::string_view kCandidates = ",;#\t|";

    bool isSet() const { return m_detected.has_value(); }
    // The delimiter to read and write with.
    char character() const { return m_detected.value_or(kDefault); }

    // Does nothing once set. Otherwise picks the candidate that occurs equally
    // often, and most often, in both lines; when none occurs equally often
    // (and at least once) in both, it stays unset.
    void detect(std::string_view firstLine, std::string_view secondLine);

private:
    std::optional<char> m_detected;
};

} // namespace playlist
