#include "ModernTags.h"

#include <QString>

#include <taglib/fileref.h>
#include <taglib/id3v1genres.h>
#include <taglib/tag.h>
#include <taglib/tstring.h>

#include <sys/stat.h>

namespace playlist {

namespace {

constexpr char kUnshowable = '?';
constexpr char16_t kLastLatin1 = 0xFF;
constexpr uint8_t kNoGenre = 255;

// The character without its accents, when the rest is one Latin-1 character.
std::optional<char> folded(QChar character) {
    const QString parts = QString(character).normalized(QString::NormalizationForm_KD);
    QString base;
    for (const QChar part : parts) {
        if (part.category() != QChar::Mark_NonSpacing)
            base += part;
    }
    if (base.size() != 1 || base.at(0).unicode() > kLastLatin1)
        return std::nullopt;
    return static_cast<char>(base.at(0).unicode());
}

std::string text(const TagLib::String& value) {
    return toTagBytes(value.to8Bit(true));
}

bool isRegularFile(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

} // namespace

std::string toTagBytes(const std::string& utf8) {
    const QString unicode = QString::fromUtf8(utf8);
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(unicode.size()));
    for (qsizetype index = 0; index < unicode.size() && bytes.size() < kModernFieldLength; ++index) {
        const QChar character = unicode.at(index);
        if (character.isHighSurrogate() && index + 1 < unicode.size() && unicode.at(index + 1).isLowSurrogate())
            ++index; // one character beyond the basic plane: one "?"
        if (character.unicode() < 32 || character.unicode() == 127) {
            bytes += ' ';
        } else if (character.unicode() < 128) {
            bytes += static_cast<char>(character.unicode());
        } else if (const auto latin = folded(character)) {
            bytes += *latin;
        } else if (character.unicode() <= kLastLatin1 && character.category() != QChar::Other_Control) {
            bytes += static_cast<char>(character.unicode());
        } else {
            bytes += kUnshowable;
        }
    }
    const auto first = bytes.find_first_not_of(' ');
    const auto last = bytes.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : bytes.substr(first, last - first + 1);
}

std::optional<ModernTagFields> readModernTags(const std::string& path) {
    // TagLib would block on a FIFO and read devices to no end.
    if (!isRegularFile(path))
        return std::nullopt;
    const TagLib::FileRef file(path.c_str(), false);
    if (file.isNull() || file.tag() == nullptr)
        return std::nullopt;
    const TagLib::Tag& tag = *file.tag();
    ModernTagFields fields;
    fields.artist = text(tag.artist());
    fields.title = text(tag.title());
    if (fields.artist.empty() && fields.title.empty())
        return std::nullopt;
    fields.album = text(tag.album());
    fields.comment = text(tag.comment());
    if (tag.year() != 0)
        fields.year = std::to_string(tag.year());
    const int genre = TagLib::ID3v1::genreIndex(tag.genre());
    if (genre >= 0 && genre < kNoGenre)
        fields.genreID = static_cast<uint8_t>(genre);
    return fields;
}

} // namespace playlist
