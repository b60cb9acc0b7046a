#pragma once

#include <QImage>

#include <string_view>

namespace skins {

// Decoders for the three picture formats skins use. Each takes the whole
// file as bytes and returns an opaque 32-bit RGB image, or throws
// ESkinError with a text naming the file and what is wrong with it. They
// check every size and offset against the data before they allocate or
// read, and refuse pictures larger than kMaximumImageSide pixels along
// either side or kMaximumImagePixels in total, so damaged files end in an
// error, never in a crash, a hang or a huge allocation. Any thread.
inline constexpr int kMaximumImageSide = 8192;
inline constexpr long long kMaximumImagePixels = 16LL * 1024 * 1024;

QImage decodeBmp(std::string_view bytes, const std::string& name);
QImage decodeJpeg(std::string_view bytes, const std::string& name);
// The first frame, drawn at its place on a white canvas of the picture's
// screen size; transparent pixels stay white.
QImage decodeGif(std::string_view bytes, const std::string& name);

// Throws the damaged-image error unless the size is within the limits.
void checkImageSize(long long width, long long height, const std::string& name);
[[noreturn]] void throwDamaged(const std::string& name, const std::string& detail);

} // namespace skins
