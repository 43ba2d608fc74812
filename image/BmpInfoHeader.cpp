#include "image/BmpInfoHeader.h"

#include "image/LittleEndian.h"

#include <climits>

std::uint64_t BmpInfoHeader::FileColors() const {
    if (clrUsed != 0)
        return clrUsed;
    return bitCount <= 8 ? (std::uint64_t(1) << bitCount) : 0;
}

bool BmpInfoHeader::SizeAccepted(DWORD size) {
    return size == kCoreSize || (size >= kInfoSize && size <= kMaxSize);
}

namespace {

bool ValidBitCount(WORD bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Sizes that programs are known to write; others are accepted only when they look sound.
bool KnownSize(DWORD size) {
    return size == 40 || size == 52 || size == 56 || size == 64 || size == 108 || size == 124;
}

} // namespace

bool BmpInfoHeader::Parse(std::span<const BYTE> bytes, BmpInfoHeader& h, std::string& error) {
    error = "Error reading BMP info";
    if (bytes.size() < 4)
        return false;
    h = BmpInfoHeader{};
    h.size = GetLE32(bytes.data());
    if (!SizeAccepted(h.size) || bytes.size() != h.size)
        return false;
    const BYTE* p = bytes.data();
    if (h.IsCore()) {
        h.width = GetLE16(p + 4);
        h.height = GetLE16(p + 6);
        h.planes = GetLE16(p + 8);
        h.bitCount = GetLE16(p + 10);
    } else {
        h.width = static_cast<LONG>(GetLE32(p + 4));
        h.height = static_cast<LONG>(GetLE32(p + 8));
        h.planes = GetLE16(p + 12);
        h.bitCount = GetLE16(p + 14);
        h.compression = GetLE32(p + 16);
        h.sizeImage = GetLE32(p + 20);
        h.xPelsPerMeter = static_cast<LONG>(GetLE32(p + 24));
        h.yPelsPerMeter = static_cast<LONG>(GetLE32(p + 28));
        h.clrUsed = GetLE32(p + 32);
        h.clrImportant = GetLE32(p + 36);
        if (h.MasksInHeader()) {
            h.redMask = GetLE32(p + 40);
            h.greenMask = GetLE32(p + 44);
            h.blueMask = GetLE32(p + 48);
        }
        if (h.size >= 56 && h.size != 64)
            h.alphaMask = GetLE32(p + 52);
    }
    if (h.width <= 0 || h.height == 0 || h.height == INT_MIN)
        return false;
    if (!ValidBitCount(h.bitCount)) {
        error = "unsupported BMP bit count";
        return false;
    }
    const std::uint64_t needed = h.RowBytes() * h.Height();
    if (!h.IsCore() && !KnownSize(h.size) &&
        (h.sizeImage < needed || h.planes != 1 || h.clrUsed != 0))
        return false;
    if (h.sizeImage == 0 && needed <= UINT32_MAX)
        h.sizeImage = static_cast<DWORD>(needed);
    error.clear();
    return true;
}
