#pragma once
#include "image/codecs/CRasterCodec.h"

class StreamByteReader;

// Sun raster files: reads types 0 to 3 (old, standard, run-length encoded, RGB order) at 1,
// 8, 24 and 32 bits with or without an RGB colour map; writes standard (type 1) files, 8-bit
// grey or 24-bit.
class CRasterRAS : public CRasterCodec {
public:
    CRasterRAS() : CRasterCodec(kTypeRas) {}

    bool Decode(CRasterFile& file, const DecodeOptions& options) override;
    bool Encode(CRasterFile& file) override;

    struct Header {
        DWORD width = 0, height = 0, depth = 0, length = 0, type = 0, mapType = 0, mapLength = 0;
        std::uint64_t RowBytes() const { return (std::uint64_t{width} * depth + 15) / 16 * 2; }
    };

private:
    bool CheckHeader(const Header& h, std::uint64_t left);
    bool ReadColourMap(CRasterFile& file, const Header& h);
    bool ReadRows(CRasterFile& file, const Header& h);
    void PlaceRow(const Header& h, const BYTE* raw, DWORD storageRow);
};
