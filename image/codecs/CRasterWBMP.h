#pragma once
#include "image/codecs/CRasterCodec.h"

#include <optional>

// Wireless bitmaps of type 0: one bit per pixel, rows from the top, 1 = white.
class CRasterWBMP : public CRasterCodec {
public:
    CRasterWBMP() : CRasterCodec(kTypeWbmp) {}

    bool Decode(CRasterFile& file, const DecodeOptions& options) override;
    bool Encode(CRasterFile& file) override;

    // A multi-byte integer: 7 bits a byte, most significant first, bit 7 set on all but the
    // last byte. Longer than 5 bytes, or cut short, it is not a number.
    static std::optional<DWORD> ReadInteger(CRasterFile& file);
    static void WriteInteger(DWORD value, BYTE* out, std::size_t& length);
};
