#pragma once
#include "image/codecs/CRasterCodec.h"

#include <vector>

struct TgaHeader;
class StreamByteReader;

// Truevision TGA: colour-mapped, true-colour and grey pictures, plain or run-length packed.
// Writes 8-bit palette pictures and 24-bit pictures (32 bits with an alpha plane).
class CRasterTGA : public CRasterCodec {
public:
    CRasterTGA() : CRasterCodec(kTypeTga) {}

    bool Decode(CRasterFile& file, const DecodeOptions& options) override;
    bool Encode(CRasterFile& file) override;

private:
    // The run-length packet in progress; packets go on across rows.
    struct Packet {
        unsigned left = 0;
        bool repeat = false;
        BYTE pixel[4] = {};
    };

    bool ReadColorMap(CRasterFile& file, const TgaHeader& h);
    bool ReadPixels(CRasterFile& file, const TgaHeader& h);
    bool ReadPackedRow(StreamByteReader& in, Packet& packet, BYTE* row, DWORD width,
                       unsigned pixelBytes);
    void PlaceRow(const TgaHeader& h, const BYTE* row, DWORD fileRow, bool& anyAlpha);
};
