#include "image/BitmapFileHeader.h"

#include "image/LittleEndian.h"

BITMAPFILEHEADER BITMAPFILEHEADER::Load(const BYTE* p) {
    BITMAPFILEHEADER h;
    h.bfType = GetLE16(p);
    h.bfSize = GetLE32(p + 2);
    h.bfReserved1 = GetLE16(p + 6);
    h.bfReserved2 = GetLE16(p + 8);
    h.bfOffBits = GetLE32(p + 10);
    return h;
}

void BITMAPFILEHEADER::Store(BYTE* p) const {
    PutLE16(p, bfType);
    PutLE32(p + 2, bfSize);
    PutLE16(p + 6, bfReserved1);
    PutLE16(p + 8, bfReserved2);
    PutLE32(p + 10, bfOffBits);
}
