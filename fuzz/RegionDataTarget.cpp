// Stored window shapes: any bytes give a shape or the region data error,
// and a shape written back reads as the same shape.
#include "FuzzTarget.h"

#include "skins/RegionData.h"
#include "skins/SkinError.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        const auto region =
            skins::readRegionData(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
        if (region && skins::readRegionData(skins::writeRegionData(region)) != region)
            std::abort();
    } catch (const skins::ESkinError&) {
    }
    return 0;
}
