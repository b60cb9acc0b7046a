#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzzing {

// Bytes as a file the code under test can open by name, without touching
// the disk: an anonymous memory file reached through /proc/self/fd.
class MemoryFile {
public:
    MemoryFile(const uint8_t* data, size_t size);
    ~MemoryFile();
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    const std::string& path() const { return m_path; }

private:
    int m_descriptor;
    std::string m_path;
};

} // namespace fuzzing
