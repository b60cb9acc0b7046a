#pragma once

#include <stdexcept>
#include <string>

namespace skins {

// Every failure of skin loading and of the skin components: a missing or
// undecodable image, a malformed definition entry, a misplaced component.
// The texts are the ones users see in the general error report.
class ESkinError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The fixed texts, with their printf-style placeholders filled in.
std::string cannotOpenFileText(const std::string& path);
std::string unknownExtensionText(const std::string& extension);
std::string invalidIntegerText(const std::string& field);
std::string listIndexText(int index);
std::string skinImagesTooLargeText(const std::string& file, long long maximumBytes);
inline constexpr const char* kRangeCheckErrorText = "Range check error";
inline constexpr const char* kPleaseDropOnAFormText = "Please Drop on a Form";

} // namespace skins
