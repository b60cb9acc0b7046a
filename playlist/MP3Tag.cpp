#include "MP3Tag.h"

#include "ModernTags.h"
#include "platform/FileDescriptor.h"
#include "platform/FileNames.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kTagSize = 128;

struct FieldLayout {
    std::size_t offset;
    std::size_t length;
};
constexpr FieldLayout kIdentifier{0, 3};
constexpr FieldLayout kTitle{3, 30};
constexpr FieldLayout kArtist{33, 30};
constexpr FieldLayout kAlbum{63, 30};
constexpr FieldLayout kYear{93, 4};
constexpr FieldLayout kComment{97, 30};
constexpr std::size_t kGenreOffset = 127;

// Only spaces are trimmed: fields padded with zero bytes keep them, and the
// windows that show the text drop them with every other unprintable byte.
std::string field(const std::array<char, kTagSize>& tag, FieldLayout layout) {
    std::string text(tag.data() + layout.offset, layout.length);
    const auto last = text.find_last_not_of(' ');
    text.erase(last == std::string::npos ? 0 : last + 1);
    return text;
}

std::string systemError(const std::string& action, const std::string& path) {
    return "Cannot " + action + " file \"" + path + "\": " + std::strerror(errno);
}

bool existsAsFile(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && !S_ISDIR(status.st_mode);
}

} // namespace

TMP3Tag::TMP3Tag() {
    ClearFields();
}

void TMP3Tag::SetFilename(const std::string& filename) {
    m_filename = filename;
    ReadTag();
    if (onFileNameChange)
        onFileNameChange(this);
}

void TMP3Tag::ClearFields() {
    m_identifier.clear();
    m_title.clear();
    m_artist.clear();
    m_album.clear();
    m_year.clear();
    m_comment.clear();
    m_genreID = kClearedGenreID;
}

void TMP3Tag::ReadTag() {
    m_valid = false;
    m_error.clear();
    ClearFields();

    if (!existsAsFile(m_filename)) {
        m_error = kErrorFileDoesNotExist;
    } else {
        // O_NONBLOCK keeps a FIFO or device from blocking the caller; such a
        // name reports a size of zero and ends up "too small".
        platform::FileDescriptor file(::open(m_filename.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
        if (file.get() < 0)
            throw std::runtime_error(systemError("open", m_filename));
        struct stat status {};
        if (::fstat(file.get(), &status) != 0)
            throw std::runtime_error(systemError("read", m_filename));

        bool tooSmall = status.st_size <= static_cast<off_t>(kTagSize);
        if (tooSmall) {
            m_error = kErrorFileTooSmall;
        } else {
            std::array<char, kTagSize> tag{};
            const ssize_t count =
                ::pread(file.get(), tag.data(), tag.size(), status.st_size - static_cast<off_t>(kTagSize));
            if (count < 0)
                throw std::runtime_error(systemError("read", m_filename));
            if (static_cast<std::size_t>(count) != kTagSize) {
                // The file shrank between the size check and the read.
                tooSmall = true;
                m_error = kErrorFileTooSmall;
            } else {
                m_identifier.assign(tag.data() + kIdentifier.offset, kIdentifier.length);
                m_title = field(tag, kTitle);
                m_artist = field(tag, kArtist);
                m_album = field(tag, kAlbum);
                m_year = field(tag, kYear);
                m_comment = field(tag, kComment);
                m_genreID = static_cast<uint8_t>(tag[kGenreOffset]);
            }
        }

        if (m_identifier == "TAG") {
            m_valid = true;
        } else if (!tooSmall && ReadModernTags()) {
            m_valid = true;
        } else {
            // A file too small to hold a tag keeps that more precise reason.
            if (!tooSmall)
                m_error = kErrorNoTag;
            ClearFields();
            m_identifier = "TAG";
            m_title = platform::fileNameOf(m_filename).substr(0, kTextFieldLength);
        }
    }

    if (!m_valid && onError)
        onError(this, m_error);
}

// Most files without an ID3v1 trailer carry an ID3v2 tag, Vorbis comments or
// FLAC tags instead; their texts are longer than ID3v1's 30 bytes and kept
// whole (up to the reader's own bound).
bool TMP3Tag::ReadModernTags() {
    auto fields = playlist::readModernTags(m_filename);
    if (!fields)
        return false;
    ClearFields();
    m_identifier = "TAG";
    m_artist = std::move(fields->artist);
    m_title =
        fields->title.empty() ? platform::fileNameOf(m_filename).substr(0, kTextFieldLength) : std::move(fields->title);
    m_album = std::move(fields->album);
    m_year = fields->year.substr(0, kYearLength);
    m_comment = std::move(fields->comment);
    if (fields->genreID)
        m_genreID = *fields->genreID;
    return true;
}

void TMP3Tag::RaiseChange() {
    if (onChange)
        onChange(this);
}

void TMP3Tag::SetTitle(const std::string& title) {
    m_title = title.substr(0, kTextFieldLength);
    RaiseChange();
}

void TMP3Tag::SetArtist(const std::string& artist) {
    m_artist = artist.substr(0, kTextFieldLength);
    RaiseChange();
}

void TMP3Tag::SetAlbum(const std::string& album) {
    m_album = album.substr(0, kTextFieldLength);
    RaiseChange();
}

void TMP3Tag::SetYear(const std::string& year) {
    m_year = year.substr(0, kYearLength);
    RaiseChange();
}

void TMP3Tag::SetComment(const std::string& comment) {
    m_comment = comment.substr(0, kTextFieldLength);
    RaiseChange();
}

void TMP3Tag::SetGenreID(uint8_t genreID) {
    m_genreID = genreID;
    RaiseChange();
}
