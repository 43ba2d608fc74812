#pragma once
#include "image/codecs/CRasterCodec.h"

#include <vector>

struct PcxHeader;

// ZSoft PCX, version 5: one plane of 1, 2, 4 or 8 bits, up to four planes of one bit (read
// as 4-bit pictures) and three or four planes of 8 bits (24 bits, the fourth plane alpha).
class CRasterPCX : public CRasterCodec {
public:
    CRasterPCX() : CRasterCodec(kTypePcx) {}

    bool Decode(CRasterFile& file, const DecodeOptions& options) override;
    bool Encode(CRasterFile& file) override;

private:
    bool ReadLines(CRasterFile& file, const PcxHeader& h);
    void PlaceLine(const PcxHeader& h, const BYTE* line, DWORD y);
    bool ReadPalette(CRasterFile& file, const PcxHeader& h);
    // The picture's planes of storage row y as PCX lines, `bytesPerLine` bytes each.
    void BuildLines(DWORD y, std::size_t bytesPerLine, bool invert, std::vector<BYTE>& out);
    int PlaneCount() const;
};
