// Hostile Sun raster input for the picture decoder.
#include "DecodeFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return FuzzDecode(data, size, CRaster::kTypeRas);
}
