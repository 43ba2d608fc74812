#include "image/BitmapInfoHeader.h"

#include "image/LittleEndian.h"

BITMAPINFOHEADER BITMAPINFOHEADER::Load(const BYTE* p) {
    BITMAPINFOHEADER h;
    h.biSize = GetLE32(p);
    h.biWidth = static_cast<LONG>(GetLE32(p + 4));
    h.biHeight = static_cast<LONG>(GetLE32(p + 8));
    h.biPlanes = GetLE16(p + 12);
    h.biBitCount = GetLE16(p + 14);
    h.biCompression = GetLE32(p + 16);
    h.biSizeImage = GetLE32(p + 20);
    h.biXPelsPerMeter = static_cast<LONG>(GetLE32(p + 24));
    h.biYPelsPerMeter = static_cast<LONG>(GetLE32(p + 28));
    h.biClrUsed = GetLE32(p + 32);
    h.biClrImportant = GetLE32(p + 36);
    return h;
}

void BITMAPINFOHEADER::Store(BYTE* p) const {
    PutLE32(p, biSize);
    PutLE32(p + 4, static_cast<DWORD>(biWidth));
    PutLE32(p + 8, static_cast<DWORD>(biHeight));
    PutLE16(p + 12, biPlanes);
    PutLE16(p + 14, biBitCount);
    PutLE32(p + 16, biCompression);
    PutLE32(p + 20, biSizeImage);
    PutLE32(p + 24, static_cast<DWORD>(biXPelsPerMeter));
    PutLE32(p + 28, static_cast<DWORD>(biYPelsPerMeter));
    PutLE32(p + 32, biClrUsed);
    PutLE32(p + 36, biClrImportant);
}
