#pragma once
#include "image/codecs/CRasterCodec.h"

#include <vector>

struct BmpInfoHeader;
struct IcoEntry;

// Windows icons and cursors: one page (the info record's frame) of a multi-image file, held
// either as a bitmap with its AND mask or as an embedded PNG stream. Writes one page; pictures
// above 255 pixels are written as PNG inside the icon.
class CRasterICO : public CRasterCodec {
public:
    CRasterICO() : CRasterCodec(kTypeIco) {}

    bool Decode(CRasterFile& file, const DecodeOptions& options) override;
    bool Encode(CRasterFile& file) override;
    // The dispatch always writes a single page.
    bool Encode(CRasterFile& file, bool append, int pageCount);

private:
    struct MaskScan;

    bool DecodePng(CRasterFile& file, LONG offset);
    bool DecodeBitmap(CRasterFile& file, const DecodeOptions& options);
    bool ReadIconPixels(CRasterFile& file, const BmpInfoHeader& h);
    void ApplyMask(const std::vector<BYTE>& mask);
    void InvertColors();
    bool EncodeBitmap(CRasterFile& file, IcoEntry& entry);
    bool EncodePng(CRasterFile& file, IcoEntry& entry);
    // Whether the pixel is hidden by the alpha plane, palette alpha or the transparent colour.
    bool HiddenPixel(LONG x, LONG y, const RGBQUAD& key, bool paletteAlpha);

    DWORD imageOffset_ = 0; // where the next image goes in the file being written
};
