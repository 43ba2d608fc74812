#include "image/core/BitmapInfoHeader.h"

#include "platform/LittleEndian.h"

BITMAPINFOHEADER BITMAPINFOHEADER::Load(const BYTE* p) {
    BITMAPINFOHEADER h;
    h.biSize = GetLittleEndian<DWORD>(p);
    h.biWidth = static_cast<LONG>(GetLittleEndian<DWORD>(p + 4));
    h.biHeight = static_cast<LONG>(GetLittleEndian<DWORD>(p + 8));
    h.biPlanes = GetLittleEndian<WORD>(p + 12);
    h.biBitCount = GetLittleEndian<WORD>(p + 14);
    h.biCompression = GetLittleEndian<DWORD>(p + 16);
    h.biSizeImage = GetLittleEndian<DWORD>(p + 20);
    h.biXPelsPerMeter = static_cast<LONG>(GetLittleEndian<DWORD>(p + 24));
    h.biYPelsPerMeter = static_cast<LONG>(GetLittleEndian<DWORD>(p + 28));
    h.biClrUsed = GetLittleEndian<DWORD>(p + 32);
    h.biClrImportant = GetLittleEndian<DWORD>(p + 36);
    return h;
}

void BITMAPINFOHEADER::Store(BYTE* p) const {
    PutLittleEndian<DWORD>(p, biSize);
    PutLittleEndian<DWORD>(p + 4, static_cast<DWORD>(biWidth));
    PutLittleEndian<DWORD>(p + 8, static_cast<DWORD>(biHeight));
    PutLittleEndian<WORD>(p + 12, biPlanes);
    PutLittleEndian<WORD>(p + 14, biBitCount);
    PutLittleEndian<DWORD>(p + 16, biCompression);
    PutLittleEndian<DWORD>(p + 20, biSizeImage);
    PutLittleEndian<DWORD>(p + 24, static_cast<DWORD>(biXPelsPerMeter));
    PutLittleEndian<DWORD>(p + 28, static_cast<DWORD>(biYPelsPerMeter));
    PutLittleEndian<DWORD>(p + 32, biClrUsed);
    PutLittleEndian<DWORD>(p + 36, biClrImportant);
}
