// Windows bitmap files as image editors write them: the core and info
// headers and the V4/V5 headers; 1, 4, 8, 16, 24 and 32 bits per pixel;
// uncompressed, bit fields, RLE8 and RLE4; bottom-up and top-down rows.
#include "ImageDecoders.h"
#include "SkinError.h"

#include "platform/LittleEndian.h"

#include <array>
#include <cstdint>
#include <vector>

namespace skins {
namespace {

constexpr uint32_t kCompressionNone = 0;
constexpr uint32_t kCompressionRle8 = 1;
constexpr uint32_t kCompressionRle4 = 2;
constexpr uint32_t kCompressionBitFields = 3;
constexpr size_t kFileHeaderSize = 14;

class ByteReader {
public:
    ByteReader(std::string_view bytes, const std::string& name) : m_bytes(bytes), m_name(name) {}
    uint32_t u32(size_t offset) const {
        require(offset, 4);
        return platform::littleEndian(at(offset), 4);
    }
    int32_t i32(size_t offset) const { return static_cast<int32_t>(u32(offset)); }
    uint16_t u16(size_t offset) const {
        require(offset, 2);
        return static_cast<uint16_t>(platform::littleEndian(at(offset), 2));
    }
    uint8_t u8(size_t offset) const {
        require(offset, 1);
        return byte(offset);
    }
    void require(size_t offset, size_t count) const {
        if (offset > m_bytes.size() || count > m_bytes.size() - offset)
            throwDamaged(m_name, "the file ends early");
    }
    size_t size() const { return m_bytes.size(); }

private:
    uint32_t byte(size_t offset) const { return static_cast<unsigned char>(m_bytes[offset]); }
    const unsigned char* at(size_t offset) const {
        return reinterpret_cast<const unsigned char*>(m_bytes.data()) + offset;
    }
    std::string_view m_bytes;
    const std::string& m_name;
};

// Position and width of one colour channel in a bit-field pixel.
struct Channel {
    int shift = 0;
    int bits = 0;
    static Channel fromMask(uint32_t mask) {
        Channel channel;
        if (mask == 0)
            return channel;
        while ((mask & 1) == 0) {
            mask >>= 1;
            ++channel.shift;
        }
        while ((mask & 1) != 0 && channel.bits < 32) {
            mask >>= 1;
            ++channel.bits;
        }
        return channel;
    }
    int extract(uint32_t pixel) const {
        if (bits == 0)
            return 0;
        uint32_t value = (pixel >> shift) & ((bits >= 32) ? 0xFFFFFFFFu : ((1u << bits) - 1));
        if (bits >= 8)
            return static_cast<int>(value >> (bits - 8));
        // Spread a narrow channel over 0..255 (5 bits: 31 -> 255).
        uint32_t maximum = (1u << bits) - 1;
        return static_cast<int>((value * 255 + maximum / 2) / maximum);
    }
};

struct Header {
    int width = 0;
    int height = 0;
    bool topDown = false;
    int bitsPerPixel = 0;
    uint32_t compression = kCompressionNone;
    std::vector<QRgb> palette;
    Channel red, green, blue;
    size_t pixelOffset = 0;
};

Header readHeader(const ByteReader& reader, const std::string& name) {
    if (reader.size() < kFileHeaderSize || reader.u8(0) != 'B' || reader.u8(1) != 'M')
        throwDamaged(name, "not a bitmap file");
    Header header;
    header.pixelOffset = reader.u32(10);
    const uint32_t infoSize = reader.u32(kFileHeaderSize);
    const size_t info = kFileHeaderSize;
    int paletteEntrySize = 4;
    uint32_t colorsUsed = 0;
    long long height = 0;
    if (infoSize == 12) {
        header.width = reader.u16(info + 4);
        height = reader.u16(info + 6);
        if (reader.u16(info + 8) != 1)
            throwDamaged(name, "bad plane count");
        header.bitsPerPixel = reader.u16(info + 10);
        paletteEntrySize = 3;
    } else if (infoSize == 40 || infoSize == 52 || infoSize == 56 || infoSize == 64 || infoSize == 108 ||
               infoSize == 124) {
        reader.require(info, infoSize);
        const int32_t width = reader.i32(info + 4);
        height = reader.i32(info + 8);
        if (width <= 0)
            throwDamaged(name, "bad width");
        header.width = width;
        if (reader.u16(info + 12) != 1)
            throwDamaged(name, "bad plane count");
        header.bitsPerPixel = reader.u16(info + 14);
        header.compression = reader.u32(info + 16);
        colorsUsed = reader.u32(info + 32);
    } else {
        throwDamaged(name, "unsupported header size " + std::to_string(infoSize));
    }
    if (height < 0) {
        header.topDown = true;
        height = -height;
    }
    checkImageSize(header.width, height, name);
    header.height = static_cast<int>(height);

    const int bits = header.bitsPerPixel;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        throwDamaged(name, "unsupported bit count " + std::to_string(bits));
    switch (header.compression) {
    case kCompressionNone:
        break;
    case kCompressionRle8:
        if (bits != 8 || header.topDown)
            throwDamaged(name, "bad RLE8 bitmap");
        break;
    case kCompressionRle4:
        if (bits != 4 || header.topDown)
            throwDamaged(name, "bad RLE4 bitmap");
        break;
    case kCompressionBitFields:
        if (bits != 16 && bits != 32)
            throwDamaged(name, "bit fields need 16 or 32 bits per pixel");
        break;
    default:
        throwDamaged(name, "unsupported compression " + std::to_string(header.compression));
    }

    if (bits <= 8) {
        const uint32_t maximumColors = 1u << bits;
        if (colorsUsed == 0 || colorsUsed > maximumColors)
            colorsUsed = maximumColors;
        const size_t paletteStart = info + infoSize;
        // Some writers give a full colour count but store fewer entries
        // before the pixels; read only what lies before the pixels.
        size_t available =
            header.pixelOffset > paletteStart ? (header.pixelOffset - paletteStart) / paletteEntrySize : 0;
        if (available == 0 || header.pixelOffset < paletteStart)
            available = colorsUsed;
        const size_t count = std::min<size_t>(colorsUsed, available);
        reader.require(paletteStart, count * paletteEntrySize);
        header.palette.resize(maximumColors, qRgb(0, 0, 0));
        for (size_t i = 0; i < count; ++i) {
            const size_t entry = paletteStart + i * paletteEntrySize;
            header.palette[i] = qRgb(reader.u8(entry + 2), reader.u8(entry + 1), reader.u8(entry));
        }
    } else if (header.compression == kCompressionBitFields) {
        // The masks follow a 40-byte header; the larger headers hold them.
        const uint32_t redMask = reader.u32(info + 40);
        const uint32_t greenMask = reader.u32(info + 44);
        const uint32_t blueMask = reader.u32(info + 48);
        header.red = Channel::fromMask(redMask);
        header.green = Channel::fromMask(greenMask);
        header.blue = Channel::fromMask(blueMask);
    } else if (bits == 16) {
        header.red = Channel::fromMask(0x7C00);
        header.green = Channel::fromMask(0x03E0);
        header.blue = Channel::fromMask(0x001F);
    }
    if (header.pixelOffset > reader.size())
        throwDamaged(name, "pixel data lies past the end of the file");
    return header;
}

void decodeUncompressed(const ByteReader& reader, const Header& header, QImage& image) {
    const size_t rowBytes = ((static_cast<size_t>(header.width) * header.bitsPerPixel + 31) / 32) * 4;
    const size_t rows = static_cast<size_t>(header.height);
    // The last row need not be padded; some writers drop that padding.
    const size_t lastRowBytes = (static_cast<size_t>(header.width) * header.bitsPerPixel + 7) / 8;
    reader.require(header.pixelOffset, rowBytes * (rows - 1) + lastRowBytes);
    for (size_t row = 0; row < rows; ++row) {
        const size_t y = header.topDown ? row : rows - 1 - row;
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(y)));
        const size_t start = header.pixelOffset + row * rowBytes;
        for (int x = 0; x < header.width; ++x) {
            switch (header.bitsPerPixel) {
            case 1:
                line[x] = header.palette[(reader.u8(start + x / 8) >> (7 - x % 8)) & 1];
                break;
            case 4:
                line[x] = header.palette[(reader.u8(start + x / 2) >> (x % 2 == 0 ? 4 : 0)) & 0x0F];
                break;
            case 8:
                line[x] = header.palette[reader.u8(start + x)];
                break;
            case 16: {
                const uint32_t pixel = reader.u16(start + x * 2u);
                line[x] = qRgb(header.red.extract(pixel), header.green.extract(pixel), header.blue.extract(pixel));
                break;
            }
            case 24: {
                const size_t at = start + x * 3u;
                line[x] = qRgb(reader.u8(at + 2), reader.u8(at + 1), reader.u8(at));
                break;
            }
            case 32: {
                const uint32_t pixel = reader.u32(start + x * 4u);
                if (header.compression == kCompressionBitFields)
                    line[x] = qRgb(header.red.extract(pixel), header.green.extract(pixel), header.blue.extract(pixel));
                else
                    line[x] = qRgb((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
                break;
            }
            }
        }
    }
}

// Run-length coded rows, bottom-up. Pixels the codes skip keep palette
// colour 0; pixels a run would put past the end of its row are dropped.
// Every code consumes input, so a damaged stream ends with the data.
void decodeRunLength(const ByteReader& reader, const Header& header, QImage& image) {
    image.fill(header.palette[0]);
    const bool fourBits = header.compression == kCompressionRle4;
    size_t at = header.pixelOffset;
    long long x = 0;
    long long row = 0; // counted from the bottom
    auto put = [&](int index) {
        if (x < header.width && row < header.height) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(header.height - 1 - row)));
            line[x] = header.palette[static_cast<size_t>(index)];
        }
        ++x;
    };
    while (row < header.height) {
        if (at + 2 > reader.size())
            return; // a truncated run leaves the rest at colour 0
        const int count = reader.u8(at);
        const int value = reader.u8(at + 1);
        at += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i)
                put(fourBits ? ((i % 2 == 0) ? value >> 4 : value & 0x0F) : value);
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++row;
        } else if (value == 1) { // end of bitmap
            return;
        } else if (value == 2) { // delta
            x += reader.u8(at);
            row += reader.u8(at + 1);
            at += 2;
        } else { // absolute run of `value` pixels, padded to a word
            const int pixels = value;
            const size_t bytes = fourBits ? (static_cast<size_t>(pixels) + 1) / 2 : static_cast<size_t>(pixels);
            reader.require(at, bytes);
            for (int i = 0; i < pixels; ++i) {
                const int byte = reader.u8(at + (fourBits ? i / 2 : i));
                put(fourBits ? ((i % 2 == 0) ? byte >> 4 : byte & 0x0F) : byte);
            }
            at += bytes + (bytes % 2);
        }
    }
}

} // namespace

QImage decodeBmp(std::string_view bytes, const std::string& name) {
    const ByteReader reader(bytes, name);
    const Header header = readHeader(reader, name);
    QImage image(header.width, header.height, QImage::Format_RGB32);
    if (image.isNull())
        throwDamaged(name, "not enough memory for the picture");
    if (header.compression == kCompressionRle8 || header.compression == kCompressionRle4)
        decodeRunLength(reader, header, image);
    else
        decodeUncompressed(reader, header, image);
    return image;
}

} // namespace skins
