#include "image/core/RowPack.h"

#include "image/core/CRaster.h"

#include <array>

void PackGreyRow(const CRaster& image, DWORD storageRow, BYTE* out) {
    std::array<BYTE, 256> level{};
    for (DWORD i = 0; i < image.GetNumColors() && i < level.size(); ++i)
        level[i] = image.GetPaletteColor(i).rgbRed;
    const BYTE* row = image.GetBits(storageRow);
    const DWORD width = image.GetWidth();
    if (image.GetBpp() == 8) {
        for (DWORD x = 0; x < width; ++x)
            out[x] = level[row[x]];
        return;
    }
    for (DWORD x = 0; x < width; ++x)
        out[x] = level[image.BlindGetPixelIndex(LONG(x), LONG(storageRow))];
}

void PackRgbRow(const CRaster& image, DWORD storageRow, BYTE* out) {
    const BYTE* row = image.GetBits(storageRow);
    const DWORD width = image.GetWidth();
    for (DWORD x = 0; x < width; ++x, row += 3, out += 3) {
        out[0] = row[2];
        out[1] = row[1];
        out[2] = row[0];
    }
}
