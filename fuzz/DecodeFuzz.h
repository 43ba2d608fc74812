#pragma once
// Shared body of the picture decoder fuzz targets: decode the bytes (header only, then whole)
// as one format and, when that works, write the picture back and read it again.
#include "image/core/CRaster.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

inline int FuzzDecode(const std::uint8_t* data, std::size_t size, DWORD type) {
    const std::span<const BYTE> bytes(data, size);
    CRaster header;
    header.SetEscape(-1);
    header.DecodeFromMemory(bytes, type);
    // No size guard: every decoder refuses a picture larger than its data before making it.

    CRaster image;
    if (!image.DecodeFromMemory(bytes, type))
        return 0;
    // Large pictures are legal, but writing them back would only slow the run down.
    if (std::uint64_t(image.GetWidth()) * image.GetHeight() > (1u << 20))
        return 0;
    std::vector<BYTE> out;
    if (image.EncodeToMemory(out, image.GetType())) {
        CRaster again;
        again.DecodeFromMemory(out, image.GetType());
    }
    return 0;
}
