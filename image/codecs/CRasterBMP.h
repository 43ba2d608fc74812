#pragma once
#include "image/codecs/CRasterCodec.h"

#include <cstdint>

struct BmpInfoHeader;
class StreamByteReader;

// Windows bitmap files and bare packed bitmaps (resources, the clipboard's layout): 1, 4 and 8
// bits with or without run-length packing, 16 and 32 bits with colour masks, and 24 bits.
// Writes palette and 24-bit pictures as they are held; a 24-bit picture with an alpha plane is
// written as a 32-bit file.
class CRasterBMP : public CRasterCodec {
public:
    CRasterBMP() : CRasterCodec(kTypeBmp) {}

    bool Decode(CRasterFile& file, const DecodeOptions& options) override;
    bool Encode(CRasterFile& file) override;

private:
    bool ReadInfoHeader(CRasterFile& file, BmpInfoHeader& header);
    static std::uint64_t PixelBytesAvailable(CRasterFile& file, std::uint64_t palette, LONG start,
                                             DWORD dataOffset);
    static bool FitsData(const BmpInfoHeader& header, std::uint64_t available);
    bool ReadPalette(CRasterFile& file, const BmpInfoHeader& header);
    bool ReadPixels(CRasterFile& file, const BmpInfoHeader& header);
    bool ReadRows(CRasterFile& file, bool topDown);
    bool ReadRunLength(CRasterFile& file, const BmpInfoHeader& header);
    bool ReadMasked(CRasterFile& file, const BmpInfoHeader& header);
    // Storage row of the n-th row in file order.
    DWORD StorageRow(DWORD n, bool topDown) const;
    bool EncodeAsHeld(CRasterFile& file);
    bool EncodeWithAlpha(CRasterFile& file);
};
