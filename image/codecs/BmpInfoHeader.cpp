#include "image/codecs/BmpInfoHeader.h"

#include "platform/LittleEndian.h"

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
    h.size = GetLittleEndian<DWORD>(bytes.data());
    if (!SizeAccepted(h.size) || bytes.size() != h.size)
        return false;
    const BYTE* p = bytes.data();
    if (h.IsCore()) {
        h.width = GetLittleEndian<WORD>(p + 4);
        h.height = GetLittleEndian<WORD>(p + 6);
        h.planes = GetLittleEndian<WORD>(p + 8);
        h.bitCount = GetLittleEndian<WORD>(p + 10);
    } else {
        h.width = static_cast<LONG>(GetLittleEndian<DWORD>(p + 4));
        h.height = static_cast<LONG>(GetLittleEndian<DWORD>(p + 8));
        h.planes = GetLittleEndian<WORD>(p + 12);
        h.bitCount = GetLittleEndian<WORD>(p + 14);
        h.compression = GetLittleEndian<DWORD>(p + 16);
        h.sizeImage = GetLittleEndian<DWORD>(p + 20);
        h.xPelsPerMeter = static_cast<LONG>(GetLittleEndian<DWORD>(p + 24));
        h.yPelsPerMeter = static_cast<LONG>(GetLittleEndian<DWORD>(p + 28));
        h.clrUsed = GetLittleEndian<DWORD>(p + 32);
        h.clrImportant = GetLittleEndian<DWORD>(p + 36);
        if (h.MasksInHeader()) {
            h.redMask = GetLittleEndian<DWORD>(p + 40);
            h.greenMask = GetLittleEndian<DWORD>(p + 44);
            h.blueMask = GetLittleEndian<DWORD>(p + 48);
        }
        if (h.size >= 56 && h.size != 64)
            h.alphaMask = GetLittleEndian<DWORD>(p + 52);
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
