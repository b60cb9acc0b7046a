#include "IniFile.h"

#include "AtomicFile.h"
#include "FileDescriptor.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

std::string lowerCase(const std::string& text) {
    std::string result = text;
    for (char& c : result)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return result;
}

std::string keyIndexName(const std::string& lowerSection, const std::string& key) {
    return lowerSection + '\n' + lowerCase(key);
}

std::string reasonText(int error) {
    return std::strerror(error);
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

std::optional<std::string> readRegularFile(const std::string& path, size_t maximumBytes) {
    auto failure = [&path](const std::string& reason) {
        return IniReadError("Cannot read file " + path + " (" + reason + ")");
    };
    // O_NONBLOCK keeps the open from waiting for a writer when the path is
    // a FIFO; the type check below then refuses it.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.get() < 0) {
        if (errno == ENOENT)
            return std::nullopt;
        throw failure(reasonText(errno));
    }
    struct stat status {};
    if (::fstat(file.get(), &status) != 0)
        throw failure(reasonText(errno));
    if (!S_ISREG(status.st_mode))
        throw failure("not a regular file");
    const auto tooLarge = [&] {
        return FileTooLargeError(failure("larger than " + std::to_string(maximumBytes) + " bytes").what());
    };
    if (static_cast<unsigned long long>(status.st_size) > maximumBytes)
        throw tooLarge();
    std::string content(static_cast<size_t>(status.st_size), '\0');
    size_t received = 0;
    for (;;) {
        if (received == content.size()) {
            // The file may have grown since fstat: read on, within the cap.
            if (content.size() >= maximumBytes + 1)
                break;
            content.resize(std::min(maximumBytes + 1, content.size() + 4096));
        }
        const ssize_t result = ::read(file.get(), content.data() + received, content.size() - received);
        if (result < 0 && errno == EINTR)
            continue;
        if (result < 0)
            throw failure(reasonText(errno));
        if (result == 0)
            break;
        received += static_cast<size_t>(result);
    }
    if (received > maximumBytes)
        throw tooLarge();
    content.resize(received);
    return content;
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
    reindex();
}

void IniDocument::reindex() {
    m_sectionIndex.clear();
    m_keyIndex.clear();
    bool firstOfItsName = false;
    std::string currentSection;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const Line& line = m_lines[i];
        if (line.kind == Line::Kind::Section) {
            currentSection = lowerCase(line.section);
            firstOfItsName = m_sectionIndex.emplace(currentSection, i).second;
        } else if (line.kind == Line::Kind::Key && firstOfItsName) {
            m_keyIndex.emplace(keyIndexName(currentSection, line.key), i);
        }
    }
}

size_t IniDocument::findKey(const std::string& section, const std::string& key) const {
    auto found = m_keyIndex.find(keyIndexName(lowerCase(section), key));
    return found == m_keyIndex.end() ? std::string::npos : found->second;
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
    auto content = readRegularFile(path, kMaximumFileBytes);
    return content ? IniDocument(*content) : IniDocument();
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
    auto found = m_sectionIndex.find(lowerCase(section));
    return found == m_sectionIndex.end() ? std::string::npos : found->second;
}

size_t IniDocument::sectionEnd(size_t header) const {
    size_t i = header + 1;
    while (i < m_lines.size() && m_lines[i].kind != Line::Kind::Section)
        ++i;
    return i;
}

std::optional<std::string> IniDocument::value(const std::string& section, const std::string& key) const {
    const size_t line = findKey(section, key);
    if (line == std::string::npos)
        return std::nullopt;
    return m_lines[line].value.substr(0, kMaximumValueLength);
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
        reindex();
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
    reindex();
}

void IniDocument::eraseSection(const std::string& section) {
    size_t header;
    while ((header = findSection(section)) != std::string::npos) {
        m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(header),
                      m_lines.begin() + static_cast<std::ptrdiff_t>(sectionEnd(header)));
        reindex();
    }
}

void IniDocument::eraseKey(const std::string& section, const std::string& key) {
    size_t header = findSection(section);
    if (header == std::string::npos)
        return;
    size_t end = sectionEnd(header);
    for (size_t i = header + 1; i < end; ++i)
        if (m_lines[i].kind == Line::Kind::Key && equalsIgnoringCase(m_lines[i].key, key)) {
            m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(i));
            reindex();
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
