#include "SplitFields.h"

namespace skins {
namespace {

bool isSkippable(char c) {
    auto code = static_cast<unsigned char>(c);
    return code >= 1 && code <= 32;
}

size_t skipBlanks(const std::string& text, size_t position) {
    while (position < text.size() && isSkippable(text[position]))
        ++position;
    return position;
}

} // namespace

void SplitFields(const std::string& text, std::vector<std::string>& fields) {
    fields.clear();
    size_t position = skipBlanks(text, 0);
    while (position < text.size()) {
        std::string field;
        if (text[position] == '"') {
            ++position;
            while (position < text.size()) {
                if (text[position] == '"') {
                    if (position + 1 < text.size() && text[position + 1] == '"') {
                        field += '"';
                        position += 2;
                        continue;
                    }
                    ++position;
                    break;
                }
                field += text[position++];
            }
            // An unclosed quotation takes the rest of the entry as its text.
        } else {
            while (position < text.size() && text[position] != ',' && static_cast<unsigned char>(text[position]) >= 32)
                field += text[position++];
        }
        fields.push_back(std::move(field));
        position = skipBlanks(text, position);
        if (position < text.size() && text[position] == ',')
            position = skipBlanks(text, position + 1);
        else if (position < text.size() && static_cast<unsigned char>(text[position]) == 0)
            break;
    }
}

std::vector<std::string> SplitFields(const std::string& text) {
    std::vector<std::string> fields;
    SplitFields(text, fields);
    return fields;
}

} // namespace skins
