// Hostile JPEG 2000 files and code streams for OpenJPEG behind our stream glue.
#include "DecodeFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return FuzzDecode(data, size, CRaster::kTypeJp2);
}
