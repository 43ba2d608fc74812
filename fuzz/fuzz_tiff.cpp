// Hostile TIFF input for the picture decoder; the last byte picks the page asked for, so
// page selection and multi-page files are searched too.
#include "image/core/CRaster.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const BYTE> bytes(data, size);
    const LONG page = size > 0 ? data[size - 1] % 3 : 0;
    CRaster header;
    header.SetEscape(-1);
    header.Info().frame = page;
    header.DecodeFromMemory(bytes, CRaster::kTypeTif);
    // Huge pictures are legal and checked by the tests; here they would only slow the search.
    if (std::uint64_t(header.GetWidth()) * header.GetHeight() > (1u << 20))
        return 0;
    CRaster image;
    image.Info().frame = page;
    if (!image.DecodeFromMemory(bytes, CRaster::kTypeTif))
        return 0;
    std::vector<BYTE> out;
    if (image.EncodeToMemory(out, CRaster::kTypeTif)) {
        CRaster again;
        again.DecodeFromMemory(out, CRaster::kTypeTif);
    }
    return 0;
}
