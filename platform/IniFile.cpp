#include "IniFile.h"

#include "AtomicFile.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace platform {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string trim(const std::string& text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

bool equalsIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (std::tolower(x) != std::tolower(y))
            return false;
    }
    return true;
}

} // namespace

std::optional<int> parseInteger(const std::string& text) {
    if (text.empty())
        return std::nullopt;
    size_t position = 0;
    bool negative = false;
    if (text[position] == '-' || text[position] == '+') {
        negative = text[position] == '-';
        ++position;
    }
    int base = 10;
    if (position < text.size() && text[position] == '$') {
        base = 16;
        ++position;
    } else if (position + 1 < text.size() && text[position] == '0' &&
               (text[position + 1] == 'x' || text[position + 1] == 'X')) {
        base = 16;
        position += 2;
    }
    if (position >= text.size())
        return std::nullopt;
    long long value = 0;
    for (; position < text.size(); ++position) {
        char c = text[position];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        value = value * base + digit;
        // Hexadecimal may spell the full 32-bit pattern ($FFFFFFFF is -1).
        if (value > (base == 16 ? 0xFFFFFFFFLL : 0x80000000LL))
            return std::nullopt;
    }
    if (base == 16 && value > 0x7FFFFFFFLL)
        value -= 0x100000000LL;
    if (negative)
        value = -value;
    if (value > 0x7FFFFFFFLL || value < -0x80000000LL)
        return std::nullopt;
    return static_cast<int>(value);
}

IniDocument::IniDocument(const std::string& text) {
    if (text.find("\r\n") != std::string::npos)
        m_newline = "\r\n";
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        std::string raw = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!raw.empty() && raw.back() == '\r')
            raw.pop_back();
        m_lines.push_back(parseLine(raw));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
}

IniDocument::Line IniDocument::parseLine(const std::string& raw) {
    Line line;
    line.raw = raw;
    std::string trimmed = trim(raw);
    if (trimmed.size() >= 2 && trimmed.front() == '[') {
        auto close = trimmed.find(']');
        if (close != std::string::npos) {
            line.kind = Line::Kind::Section;
            line.section = trim(trimmed.substr(1, close - 1));
            return line;
        }
    }
    auto equals = raw.find('=');
    if (equals != std::string::npos && !trimmed.empty() && trimmed.front() != ';') {
        line.kind = Line::Kind::Key;
        line.key = trim(raw.substr(0, equals));
        line.value = trim(raw.substr(equals + 1));
    }
    return line;
}

IniDocument IniDocument::load(const std::string& path) {
    std::ifstream stream(path, std::ios::binary);
    if (!stream)
        return IniDocument();
    std::ostringstream content;
    content << stream.rdbuf();
    return IniDocument(content.str());
}

std::string IniDocument::text() const {
    std::string result;
    for (const Line& line : m_lines) {
        result += line.raw;
        result += m_newline;
    }
    return result;
}

void IniDocument::save(const std::string& path) const {
    writeFileAtomically(path, text());
}

size_t IniDocument::findSection(const std::string& section) const {
    for (size_t i = 0; i < m_lines.size(); ++i)
        if (m_lines[i].kind == Line::Kind::Section && equalsIgnoringCase(m_lines[i].section, section))
            return i;
    return std::string::npos;
}

size_t IniDocument::sectionEnd(size_t header) const {
    size_t i = header + 1;
    while (i < m_lines.size() && m_lines[i].kind != Line::Kind::Section)
        ++i;
    return i;
}

std::optional<std::string> IniDocument::value(const std::string& section, const std::string& key) const {
    size_t header = findSection(section);
    if (header == std::string::npos)
        return std::nullopt;
    size_t end = sectionEnd(header);
    for (size_t i = header + 1; i < end; ++i)
        if (m_lines[i].kind == Line::Kind::Key && equalsIgnoringCase(m_lines[i].key, key))
            return m_lines[i].value.substr(0, kMaximumValueLength);
    return std::nullopt;
}

std::string IniDocument::readString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue) const {
    return value(section, key).value_or(defaultValue);
}

int IniDocument::readInteger(const std::string& section, const std::string& key, int defaultValue) const {
    auto text = value(section, key);
    if (!text)
        return defaultValue;
    return parseInteger(*text).value_or(defaultValue);
}

bool IniDocument::sectionExists(const std::string& section) const {
    return findSection(section) != std::string::npos;
}

std::vector<std::string> IniDocument::keys(const std::string& section) const {
    std::vector<std::string> result;
    size_t header = findSection(section);
    if (header == std::string::npos)
        return result;
    size_t end = sectionEnd(header);
    for (size_t i = header + 1; i < end; ++i)
        if (m_lines[i].kind == Line::Kind::Key)
            result.push_back(m_lines[i].key);
    return result;
}

std::vector<std::pair<std::string, std::string>> IniDocument::entries(const std::string& section) const {
    std::vector<std::pair<std::string, std::string>> result;
    const size_t header = findSection(section);
    if (header == std::string::npos)
        return result;
    const size_t end = sectionEnd(header);
    for (size_t i = header + 1; i < end; ++i)
        if (m_lines[i].kind == Line::Kind::Key)
            result.emplace_back(m_lines[i].key, m_lines[i].value.substr(0, kMaximumValueLength));
    return result;
}

void IniDocument::writeString(const std::string& section, const std::string& key, const std::string& value) {
    Line line = parseLine(key + "=" + value);
    size_t header = findSection(section);
    if (header == std::string::npos) {
        if (!m_lines.empty() && !trim(m_lines.back().raw).empty())
            m_lines.push_back(parseLine(""));
        m_lines.push_back(parseLine("[" + section + "]"));
        m_lines.push_back(line);
        return;
    }
    size_t end = sectionEnd(header);
    size_t lastKey = header;
    for (size_t i = header + 1; i < end; ++i) {
        if (m_lines[i].kind != Line::Kind::Key)
            continue;
        if (equalsIgnoringCase(m_lines[i].key, key)) {
            m_lines[i] = line;
            return;
        }
        lastKey = i;
    }
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(lastKey + 1), line);
}

void IniDocument::eraseSection(const std::string& section) {
    size_t header;
    while ((header = findSection(section)) != std::string::npos)
        m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(header),
                      m_lines.begin() + static_cast<std::ptrdiff_t>(sectionEnd(header)));
}

void IniDocument::eraseKey(const std::string& section, const std::string& key) {
    size_t header = findSection(section);
    if (header == std::string::npos)
        return;
    size_t end = sectionEnd(header);
    for (size_t i = header + 1; i < end; ++i)
        if (m_lines[i].kind == Line::Kind::Key && equalsIgnoringCase(m_lines[i].key, key)) {
            m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
}

std::string IniFile::readString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) const {
    return IniDocument::load(m_path).readString(section, key, defaultValue);
}

int IniFile::readInteger(const std::string& section, const std::string& key, int defaultValue) const {
    return IniDocument::load(m_path).readInteger(section, key, defaultValue);
}

void IniFile::writeString(const std::string& section, const std::string& key, const std::string& value) {
    writeStrings(section, {{key, value}});
}

void IniFile::writeInteger(const std::string& section, const std::string& key, int value) {
    writeString(section, key, std::to_string(value));
}

void IniFile::writeStrings(const std::string& section, const std::vector<std::pair<std::string, std::string>>& values) {
    IniDocument document = IniDocument::load(m_path);
    for (const auto& [key, value] : values)
        document.writeString(section, key, value);
    document.save(m_path);
}

void IniFile::eraseSection(const std::string& section) {
    IniDocument document = IniDocument::load(m_path);
    document.eraseSection(section);
    document.save(m_path);
}

} // namespace platform
