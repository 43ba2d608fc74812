// Hostile JPEG input for the picture decoder (libjpeg behind our stream adapter, and the
// section and EXIF reader in front of it).
#include "DecodeFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return FuzzDecode(data, size, CRaster::kTypeJpg);
}
