#pragma once

#include "AtomicFile.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace platform {

// An ini file held in memory with the profile semantics the rest of the
// system relies on: section and key names match regardless of letter case,
// blanks around a value are dropped, a value is read up to 2047 characters,
// writing a key keeps every other line of the file as it was. Bytes are kept
// as they are (no character set conversion).
class IniDocument {
public:
    static constexpr size_t kMaximumValueLength = 2047;

    IniDocument() = default;
    explicit IniDocument(const std::string& text);

    // Files larger than this are refused: no settings, skin or list file
    // comes near it, and a hostile one must not exhaust memory.
    static constexpr size_t kMaximumFileBytes = 4 * 1024 * 1024;

    // Reads a file; a missing file gives an empty document. A file that
    // exists but cannot be read (permissions, an I/O error, not a regular
    // file, larger than kMaximumFileBytes) throws IniReadError, so that no
    // caller mistakes it for an empty one and overwrites it. May block on
    // disk I/O; never waits on a FIFO or device.
    static IniDocument load(const std::string& path);
    // Replaces the file atomically (temporary file in the same folder, then
    // rename), so a crash never leaves half a file. A symbolic link is
    // followed and its target replaced; the file keeps its permissions.
    // Throws IniWriteError.
    void save(const std::string& path) const;

    std::optional<std::string> value(const std::string& section, const std::string& key) const;
    std::string readString(const std::string& section, const std::string& key, const std::string& defaultValue) const;
    // The whole value must be an integer (decimal with optional sign, or
    // hexadecimal after "$" or "0x"); anything else gives the default.
    int readInteger(const std::string& section, const std::string& key, int defaultValue) const;
    bool sectionExists(const std::string& section) const;
    std::vector<std::string> keys(const std::string& section) const;
    // Every key of the section with its value as value() reads it, in file
    // order; lets a caller with many keys look each up in one pass.
    std::vector<std::pair<std::string, std::string>> entries(const std::string& section) const;

    void writeString(const std::string& section, const std::string& key, const std::string& value);
    void eraseSection(const std::string& section);
    void eraseKey(const std::string& section, const std::string& key);

    std::string text() const;

private:
    struct Line {
        std::string raw;
        std::string section; // for section headers: the name
        std::string key;     // for key lines: the trimmed key
        std::string value;   // for key lines: the trimmed value
        enum class Kind { Other, Section, Key } kind = Kind::Other;
    };
    // Index of the header of the first section of that name, or npos.
    size_t findSection(const std::string& section) const;
    size_t sectionEnd(size_t header) const;
    static Line parseLine(const std::string& raw);
    // Rebuilds m_index after the lines changed.
    void reindex();
    // Index of the key line of a section's first header, or npos.
    size_t findKey(const std::string& section, const std::string& key) const;

    std::vector<Line> m_lines;
    // Lookups go through these so that a skin with thousands of entries is
    // not rescanned once per entry. Keys are folded to lower case; the
    // section index holds the first header of each name, the key index the
    // first key of that name below it.
    std::unordered_map<std::string, size_t> m_sectionIndex;
    std::unordered_map<std::string, size_t> m_keyIndex;
    std::string m_newline = "\n";
};

using IniWriteError = FileWriteError;

class IniReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The file is there and readable but larger than the reader's cap.
class FileTooLargeError : public IniReadError {
public:
    using IniReadError::IniReadError;
};

// Reads a whole regular file of at most maximumBytes. A missing file gives
// nothing; anything else that keeps the file from being read whole throws
// IniReadError (FileTooLargeError for the cap) with the path and the reason.
// Never blocks on a FIFO.
std::optional<std::string> readRegularFile(const std::string& path, size_t maximumBytes);

// Parses an integer the way the settings and skin files write them. Returns
// nothing when the text is not a whole valid integer.
std::optional<int> parseInteger(const std::string& text);

// Convenience for callers that touch a file only now and then: each call
// reads the file afresh; each write replaces it atomically, creating it on
// the first write. A file that cannot be read makes reads throw and writes
// throw without touching it.
class IniFile {
public:
    explicit IniFile(std::string path) : m_path(std::move(path)) {}
    const std::string& path() const { return m_path; }

    std::string readString(const std::string& section, const std::string& key, const std::string& defaultValue) const;
    int readInteger(const std::string& section, const std::string& key, int defaultValue) const;
    void writeString(const std::string& section, const std::string& key, const std::string& value);
    void writeInteger(const std::string& section, const std::string& key, int value);
    // Writes several keys of one section with a single replacement of the file.
    void writeStrings(const std::string& section, const std::vector<std::pair<std::string, std::string>>& values);
    void eraseSection(const std::string& section);

private:
    std::string m_path;
};

} // namespace platform
