#include "image/codecs/IcoDirectory.h"

#include "platform/LittleEndian.h"

IcoEntry IcoEntry::Load(const BYTE* p) {
    IcoEntry e;
    e.width = p[0] == 0 ? 256 : p[0];
    e.height = p[1] == 0 ? 256 : p[1];
    e.colorCount = p[2];
    e.planes = GetLittleEndian<WORD>(p + 4);
    e.bitCount = GetLittleEndian<WORD>(p + 6);
    e.bytes = GetLittleEndian<DWORD>(p + 8);
    e.offset = GetLittleEndian<DWORD>(p + 12);
    return e;
}

void IcoEntry::Store(BYTE* p) const {
    p[0] = width >= 256 ? 0 : static_cast<BYTE>(width);
    p[1] = height >= 256 ? 0 : static_cast<BYTE>(height);
    p[2] = colorCount;
    p[3] = 0;
    PutLittleEndian<WORD>(p + 4, planes);
    PutLittleEndian<WORD>(p + 6, bitCount);
    PutLittleEndian<DWORD>(p + 8, bytes);
    PutLittleEndian<DWORD>(p + 12, offset);
}

int IcoDirectory::ParseHeader(std::span<const BYTE, kHeaderSize> b) {
    const WORD reserved = GetLittleEndian<WORD>(&b[0]);
    const WORD type = GetLittleEndian<WORD>(&b[2]);
    const WORD count = GetLittleEndian<WORD>(&b[4]);
    if (reserved != 0 || (type != kIcon && type != kCursor) || count == 0)
        return -1;
    return count;
}

void IcoDirectory::StoreHeader(BYTE* p, WORD count) {
    PutLittleEndian<WORD>(p, 0);
    PutLittleEndian<WORD>(p + 2, kIcon);
    PutLittleEndian<WORD>(p + 4, count);
}
