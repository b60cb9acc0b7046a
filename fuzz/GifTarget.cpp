// The GIF decoder: any bytes give a picture within the limits or the
// damaged-picture error.
#include "FuzzTarget.h"

#include "skins/ImageDecoders.h"
#include "skins/SkinError.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        const QImage image = skins::decodeGif(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz");
        if (image.isNull() || image.width() > skins::kMaximumImageSide || image.height() > skins::kMaximumImageSide)
            std::abort();
    } catch (const skins::ESkinError&) {
    }
    return 0;
}
