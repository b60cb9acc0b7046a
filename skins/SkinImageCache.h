#pragma once

#include <QImage>

#include <functional>
#include <string>
#include <unordered_map>

namespace skins {

// The images of one skin load. A file named several times (a thumb shared
// by all trackbars) is decoded once. Every use counts against a budget of
// image bytes, because every use is also drawn into the face: a skin that
// asks for ten thousand trackbars with large thumbs ends in an error, not
// in gigabytes of memory or minutes of drawing. GUI thread only.
class SkinImageCache {
public:
    // More than every image of the largest real skin many times over.
    static constexpr qsizetype kMaximumImageBytes = 256LL * 1024 * 1024;

    // Decodes a file (a path or a bare name, as the loader likes); throws
    // ESkinError.
    using Decoder = std::function<QImage(const std::string& file)>;
    explicit SkinImageCache(Decoder decoder, qsizetype maximumBytes = kMaximumImageBytes);

    // The image of `file`; throws ESkinError when it cannot be decoded or
    // when this use takes the load over its budget.
    QImage image(const std::string& file);
    qsizetype usedBytes() const { return m_usedBytes; }

private:
    Decoder m_decoder;
    qsizetype m_maximumBytes;
    qsizetype m_usedBytes = 0;
    std::unordered_map<std::string, QImage> m_images;
};

} // namespace skins
