// Arbitrary bytes through format detection: every decoder tries them in turn.
#include "DecodeFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return FuzzDecode(data, size, CRaster::kTypeUnknown);
}
