#include "image/codecs/BitmapFileHeader.h"

#include "platform/LittleEndian.h"

BITMAPFILEHEADER BITMAPFILEHEADER::Load(const BYTE* p) {
    BITMAPFILEHEADER h;
    h.bfType = GetLittleEndian<WORD>(p);
    h.bfSize = GetLittleEndian<DWORD>(p + 2);
    h.bfReserved1 = GetLittleEndian<WORD>(p + 6);
    h.bfReserved2 = GetLittleEndian<WORD>(p + 8);
    h.bfOffBits = GetLittleEndian<DWORD>(p + 10);
    return h;
}

void BITMAPFILEHEADER::Store(BYTE* p) const {
    PutLittleEndian<WORD>(p, bfType);
    PutLittleEndian<DWORD>(p + 2, bfSize);
    PutLittleEndian<WORD>(p + 6, bfReserved1);
    PutLittleEndian<WORD>(p + 8, bfReserved2);
    PutLittleEndian<DWORD>(p + 10, bfOffBits);
}
