#include "image/codecs/PcxHeader.h"

#include "platform/LittleEndian.h"

#include <cstring>

DWORD PcxHeader::TargetBpp() const {
    if (bitsPerPixel == 8)
        return planes >= 3 ? 24 : 8;
    if (bitsPerPixel == 1 && planes > 1)
        return 4;
    return bitsPerPixel;
}

namespace {

// Plane and bit combinations this reader turns into pixels.
bool SupportedLayout(BYTE bits, BYTE planes) {
    switch (bits) {
    case 1:
        return planes >= 1 && planes <= 4;
    case 2:
    case 4:
        return planes == 1;
    case 8:
        return planes == 1 || planes == 3 || planes == 4;
    default:
        return false;
    }
}

} // namespace

bool PcxHeader::Parse(std::span<const BYTE, kSize> b, PcxHeader& h, std::string& error) {
    h.manufacturer = b[0];
    h.version = b[1];
    h.encoding = b[2];
    h.bitsPerPixel = b[3];
    h.xMin = GetLittleEndian<WORD>(&b[4]);
    h.yMin = GetLittleEndian<WORD>(&b[6]);
    h.xMax = GetLittleEndian<WORD>(&b[8]);
    h.yMax = GetLittleEndian<WORD>(&b[10]);
    h.hDpi = GetLittleEndian<WORD>(&b[12]);
    h.vDpi = GetLittleEndian<WORD>(&b[14]);
    std::memcpy(h.palette, &b[16], sizeof h.palette);
    h.planes = b[65];
    h.bytesPerLine = GetLittleEndian<WORD>(&b[66]);
    h.paletteInfo = GetLittleEndian<WORD>(&b[68]);
    if (h.manufacturer != 10) {
        error = "Error: Not a PCX file";
        return false;
    }
    if (h.encoding != 1) {
        error = "PCX file has unknown encoding scheme";
        return false;
    }
    if (h.planes > 4) {
        error = "Can't handle image with more than 4 planes";
        return false;
    }
    error = "bad PCX header";
    if (h.xMax < h.xMin || h.yMax < h.yMin || !SupportedLayout(h.bitsPerPixel, h.planes))
        return false;
    if (std::uint64_t(h.bytesPerLine) * 8 < std::uint64_t(h.Width()) * h.bitsPerPixel)
        return false;
    error.clear();
    return true;
}

void PcxHeader::Write(BYTE* out) const {
    std::memset(out, 0, kSize);
    out[0] = manufacturer;
    out[1] = version;
    out[2] = encoding;
    out[3] = bitsPerPixel;
    PutLittleEndian<WORD>(out + 4, xMin);
    PutLittleEndian<WORD>(out + 6, yMin);
    PutLittleEndian<WORD>(out + 8, xMax);
    PutLittleEndian<WORD>(out + 10, yMax);
    PutLittleEndian<WORD>(out + 12, hDpi);
    PutLittleEndian<WORD>(out + 14, vDpi);
    std::memcpy(out + 16, palette, sizeof palette);
    out[65] = planes;
    PutLittleEndian<WORD>(out + 66, bytesPerLine);
    PutLittleEndian<WORD>(out + 68, paletteInfo);
}
