#include "image/codecs/TgaHeader.h"

#include "platform/LittleEndian.h"

namespace {

bool KnownType(BYTE t) {
    return (t >= 1 && t <= 3) || (t >= 9 && t <= 11);
}

bool ValidMapEntry(BYTE bits) {
    return bits == 15 || bits == 16 || bits == 24 || bits == 32;
}

} // namespace

bool TgaHeader::Parse(std::span<const BYTE, kSize> b, TgaHeader& h, std::string& error) {
    h.idLength = b[0];
    h.colorMapType = b[1];
    h.imageType = b[2];
    h.mapFirst = GetLittleEndian<WORD>(&b[3]);
    h.mapLength = GetLittleEndian<WORD>(&b[5]);
    h.mapEntryBits = b[7];
    h.xOrigin = GetLittleEndian<WORD>(&b[8]);
    h.yOrigin = GetLittleEndian<WORD>(&b[10]);
    h.width = GetLittleEndian<WORD>(&b[12]);
    h.height = GetLittleEndian<WORD>(&b[14]);
    h.pixelBits = b[16];
    h.descriptor = b[17];
    if (!KnownType(h.imageType)) {
        error = "Unknown TGA image type";
        return false;
    }
    error = "bad TGA header";
    if (h.width == 0 || h.height == 0 || h.colorMapType > 1)
        return false;
    const BYTE bits = h.pixelBits;
    if (bits != 8 && bits != 15 && bits != 16 && bits != 24 && bits != 32)
        return false;
    if (h.colorMapType == 1 && !ValidMapEntry(h.mapEntryBits))
        return false;
    // Indices are 8 bits, greys 8 or 16 (grey and alpha); a map for indices must fit the
    // 256-entry palette.
    if (h.ColorMapped() && bits != 8)
        return false;
    if (h.Grey() && bits != 8 && bits != 16)
        return false;
    if (!h.ColorMapped() && !h.Grey() && bits == 8)
        return false;
    if (h.ColorMapped() && (h.colorMapType != 1 || h.mapFirst + h.mapLength > 256))
        return false;
    error.clear();
    return true;
}

void TgaHeader::Write(BYTE* out) const {
    out[0] = idLength;
    out[1] = colorMapType;
    out[2] = imageType;
    PutLittleEndian<WORD>(out + 3, mapFirst);
    PutLittleEndian<WORD>(out + 5, mapLength);
    out[7] = mapEntryBits;
    PutLittleEndian<WORD>(out + 8, xOrigin);
    PutLittleEndian<WORD>(out + 10, yOrigin);
    PutLittleEndian<WORD>(out + 12, width);
    PutLittleEndian<WORD>(out + 14, height);
    out[16] = pixelBits;
    out[17] = descriptor;
}
