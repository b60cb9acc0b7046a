#include "FileProbe.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace xaudio {
namespace {

// Several tags may follow each other; a longer chain is not a tag chain.
constexpr int kMaximumTags = 8;
constexpr size_t kTagHeaderBytes = 10;
// An Ogg page header is 27 bytes and a segment table of up to 255; the
// codec's identification packet starts right after them.
constexpr size_t kOggPageHeaderBytes = 27;
constexpr size_t kProbeBytes = kOggPageHeaderBytes + 255 + 16;

Container oggContents(const std::string& head) {
    if (head.size() < kOggPageHeaderBytes)
        return Container::Other;
    const size_t segments = static_cast<unsigned char>(head[kOggPageHeaderBytes - 1]);
    const size_t packet = kOggPageHeaderBytes + segments;
    if (packet >= head.size())
        return Container::Other;
    if (head.compare(packet, 7, "\x01vorbis") == 0)
        return Container::OggVorbis;
    if (head.compare(packet, 8, "OpusHead") == 0)
        return Container::OggOpus;
    return Container::Other;
}

} // namespace

std::string readAt(int descriptor, off_t offset, size_t bytes) {
    std::string data(bytes, '\0');
    size_t received = 0;
    while (received < bytes) {
        const ssize_t result =
            ::pread(descriptor, data.data() + received, bytes - received, offset + static_cast<off_t>(received));
        if (result < 0 && errno == EINTR)
            continue;
        if (result <= 0)
            break;
        received += static_cast<size_t>(result);
    }
    data.resize(received);
    return data;
}

int64_t readableFileSize(const std::string& path) {
    // Without O_NONBLOCK opening a FIFO would wait for a writer forever.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0)
        return -1;
    struct stat status {};
    const bool regular = ::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode);
    ::close(descriptor);
    return regular ? static_cast<int64_t>(status.st_size) : -1;
}

off_t skipId3v2Tags(int descriptor) {
    off_t offset = 0;
    for (int tag = 0; tag < kMaximumTags; ++tag) {
        const std::string head = readAt(descriptor, offset, kTagHeaderBytes);
        if (head.size() < kTagHeaderBytes || head.compare(0, 3, "ID3") != 0)
            break;
        const auto* bytes = reinterpret_cast<const unsigned char*>(head.data());
        if ((bytes[6] | bytes[7] | bytes[8] | bytes[9]) & 0x80)
            break;
        const off_t size = (off_t{bytes[6]} << 21) | (off_t{bytes[7]} << 14) | (off_t{bytes[8]} << 7) | bytes[9];
        offset += static_cast<off_t>(kTagHeaderBytes) + size + ((bytes[5] & 0x10) != 0 ? 10 : 0);
    }
    return offset;
}

Container detectContainer(const std::string& path) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return Container::Other;
    const std::string head = readAt(descriptor, 0, kProbeBytes);
    // FLAC files sometimes carry an ID3v2 tag in front, which libFLAC skips.
    const off_t afterTags = skipId3v2Tags(descriptor);
    const std::string flacHead = afterTags == 0 ? head.substr(0, 4) : readAt(descriptor, afterTags, 4);
    ::close(descriptor);
    if (flacHead == "fLaC")
        return Container::Flac;
    if (head.size() >= 12 && head.compare(0, 4, "RIFF") == 0 && head.compare(8, 4, "WAVE") == 0)
        return Container::Wave;
    if (head.compare(0, 4, "OggS") == 0)
        return oggContents(head);
    return Container::Other;
}

} // namespace xaudio
