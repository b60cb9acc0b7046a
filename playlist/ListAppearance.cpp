#include "ListAppearance.h"

#include "platform/IniFile.h"

#include <cctype>

namespace playlist {
namespace {

void readInteger(const std::vector<std::string>& fields, std::size_t index, int& target) {
    if (index < fields.size())
        if (const auto value = platform::parseInteger(fields[index]))
            target = *value;
}

void readColour(const std::vector<std::string>& fields, std::size_t index, uint32_t& target) {
    if (index < fields.size())
        if (const auto value = parseListColour(fields[index]))
            target = *value;
}

} // namespace

std::optional<uint32_t> parseListColour(const std::string& item) {
    std::string text = item;
    const auto last = text.find_last_not_of(' ');
    text.erase(last == std::string::npos ? 0 : last + 1);
    if (text.size() != 7 || text[0] != '$')
        return std::nullopt;
    for (std::size_t i = 1; i < text.size(); ++i)
        if (!std::isxdigit(static_cast<unsigned char>(text[i])))
            return std::nullopt;
    const std::string reordered = text.substr(3, 4) + text.substr(1, 2);
    return static_cast<uint32_t>(std::stoul(reordered, nullptr, 16));
}

ListAppearance parseListAppearance(const std::vector<std::string>& fields) {
    ListAppearance appearance;
    readInteger(fields, 0, appearance.left);
    readInteger(fields, 1, appearance.top);
    readInteger(fields, 2, appearance.width);
    readInteger(fields, 3, appearance.height);
    readColour(fields, 4, appearance.backgroundColour);
    if (fields.size() > 5 && !fields[5].empty())
        appearance.fontName = fields[5];
    readColour(fields, 6, appearance.fontColour);
    readInteger(fields, 7, appearance.fontSize);
    return appearance;
}

} // namespace playlist
