#include "MemoryFile.h"

#include <stdexcept>
#include <sys/mman.h>
#include <unistd.h>

namespace fuzzing {

MemoryFile::MemoryFile(const uint8_t* data, size_t size) : m_descriptor(memfd_create("fuzz-input", MFD_CLOEXEC)) {
    if (m_descriptor < 0)
        throw std::runtime_error("memfd_create failed");
    size_t written = 0;
    while (written < size) {
        const ssize_t result = ::write(m_descriptor, data + written, size - written);
        if (result <= 0) {
            ::close(m_descriptor);
            throw std::runtime_error("writing the memory file failed");
        }
        written += static_cast<size_t>(result);
    }
    m_path = "/proc/self/fd/" + std::to_string(m_descriptor);
}

MemoryFile::~MemoryFile() {
    ::close(m_descriptor);
}

} // namespace fuzzing
