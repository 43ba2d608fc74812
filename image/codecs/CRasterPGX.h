#pragma once
#include "image/codecs/CRasterCodec.h"

// The JPEG 2000 test format PGX: a text line "PG", byte order (ML big-endian, LM little), an
// optional sign, the depth, width and height, then one sample of 1, 2 or 4 bytes a pixel.
// Read as 8-bit grey; written as 8-bit unsigned samples.
class CRasterPGX : public CRasterCodec {
public:
    CRasterPGX() : CRasterCodec(kTypePgx) {}

    bool Decode(CRasterFile& file, const DecodeOptions& options) override;
    bool Encode(CRasterFile& file) override;

    struct Header {
        bool bigEndian = true;
        bool isSigned = false;
        DWORD depth = 0;
        DWORD width = 0;
        DWORD height = 0;
        std::size_t SampleBytes() const { return depth <= 8 ? 1 : depth <= 16 ? 2 : 4; }
    };
};
