#include "image/IcoDirectory.h"

#include "image/LittleEndian.h"

IcoEntry IcoEntry::Load(const BYTE* p) {
    IcoEntry e;
    e.width = p[0] == 0 ? 256 : p[0];
    e.height = p[1] == 0 ? 256 : p[1];
    e.colorCount = p[2];
    e.planes = GetLE16(p + 4);
    e.bitCount = GetLE16(p + 6);
    e.bytes = GetLE32(p + 8);
    e.offset = GetLE32(p + 12);
    return e;
}

void IcoEntry::Store(BYTE* p) const {
    p[0] = width >= 256 ? 0 : static_cast<BYTE>(width);
    p[1] = height >= 256 ? 0 : static_cast<BYTE>(height);
    p[2] = colorCount;
    p[3] = 0;
    PutLE16(p + 4, planes);
    PutLE16(p + 6, bitCount);
    PutLE32(p + 8, bytes);
    PutLE32(p + 12, offset);
}

int IcoDirectory::ParseHeader(std::span<const BYTE, kHeaderSize> b) {
    const WORD reserved = GetLE16(&b[0]);
    const WORD type = GetLE16(&b[2]);
    const WORD count = GetLE16(&b[4]);
    if (reserved != 0 || (type != kIcon && type != kCursor) || count == 0)
        return -1;
    return count;
}

void IcoDirectory::StoreHeader(BYTE* p, WORD count) {
    PutLE16(p, 0);
    PutLE16(p + 2, kIcon);
    PutLE16(p + 4, count);
}
