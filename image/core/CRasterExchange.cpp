// CRaster to and from the device contexts' 32-bit bitmaps, and from packed bitmaps handed over
// by other programs (the clipboard) or built into the program.
#include "image/core/CRaster.h"

#include "platform/CBitmap.h"
#include "platform/LittleEndian.h"

#include <limits>

namespace {

bool KnownHeaderSize(DWORD size) {
    switch (size) {
    case 12:
    case 40:
    case 52:
    case 56:
    case 108:
    case 124:
        return true;
    default:
        return false;
    }
}

} // namespace

std::unique_ptr<CBitmap> CRaster::MakeDibSection() const {
    if (!IsValid())
        return nullptr;
    auto bitmap = std::make_unique<CBitmap>();
    if (!bitmap->CreateBitmap32(head_.biWidth, head_.biHeight))
        return nullptr;
    std::uint8_t* bits = bitmap->Bits();
    for (LONG y = 0; y < head_.biHeight; ++y) {
        // Bitmap rows run top-down, storage rows bottom-up.
        auto* row = reinterpret_cast<std::uint32_t*>(
            bits + std::size_t(bitmap->Stride()) * std::size_t(head_.biHeight - 1 - y));
        for (LONG x = 0; x < head_.biWidth; ++x)
            row[x] = RasterSurface::ToPixel(BlindGetPixelColor(x, y, false).ToColorRef());
    }
    bitmap->MarkDirty();
    return bitmap;
}

bool CRaster::CreateFromBitmap(const CBitmap& bitmap) {
    if (shared_)
        return false;
    const std::uint8_t* bits = bitmap.Bits(); // completes drawing still queued on it
    if (bits == nullptr)
        return false;
    const int width = bitmap.Width();
    const int height = bitmap.Height();
    if (!Create(static_cast<DWORD>(width), static_cast<DWORD>(height), 24, kTypeUnknown))
        return false;
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(
            bits + std::size_t(bitmap.Stride()) * std::size_t(height - 1 - y));
        BYTE* out = GetBits(static_cast<DWORD>(y));
        for (int x = 0; x < width; ++x, out += 3) {
            out[0] = static_cast<BYTE>(row[x]);
            out[1] = static_cast<BYTE>(row[x] >> 8);
            out[2] = static_cast<BYTE>(row[x] >> 16);
        }
    }
    return true;
}

// The bitmap reader takes a packed bitmap as it takes a file without its file header; only
// the header sizes other programs write are let through to it.
bool CRaster::CreateFromGlobalDib(std::span<const BYTE> dib) {
    if (shared_)
        return false;
    if (dib.data() == nullptr || dib.size() < 4 ||
        !KnownHeaderSize(GetLittleEndian<DWORD>(dib.data())) ||
        dib.size() > static_cast<std::size_t>(std::numeric_limits<LONG>::max())) {
        SetLastError("unsupported packed bitmap");
        return false;
    }
    CRaster decoded;
    if (!decoded.DecodeFromMemory(dib, kTypeBmp)) {
        SetLastError(decoded.GetLastError());
        return false;
    }
    decoded.SetType(kTypeUnknown);
    return TakeOver(decoded, true);
}
