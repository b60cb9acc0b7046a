#include "SkinImageCache.h"

#include "SkinError.h"

namespace skins {

SkinImageCache::SkinImageCache(Decoder decoder, qsizetype maximumBytes)
    : m_decoder(std::move(decoder)), m_maximumBytes(maximumBytes) {}

QImage SkinImageCache::image(const std::string& file) {
    auto found = m_images.find(file);
    if (found == m_images.end())
        found = m_images.emplace(file, m_decoder(file)).first;
    const qsizetype bytes = found->second.sizeInBytes();
    if (bytes > m_maximumBytes - m_usedBytes)
        throw ESkinError(skinImagesTooLargeText(file, m_maximumBytes));
    m_usedBytes += bytes;
    return found->second;
}

} // namespace skins
