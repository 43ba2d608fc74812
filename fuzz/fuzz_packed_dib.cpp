// Packed bitmaps as the clipboard hands them over: parsing must never read past the bytes
// given, and whatever it accepts must draw and convert cleanly.
#include "image/core/CRaster.h"
#include "platform/CDC.h"
#include "platform/LittleEndian.h"

#include <cstdint>

namespace {

// Pictures of many megapixels decode correctly but slowly; the fuzzer skips them to keep its
// pace on the header and row handling.
bool Huge(const std::uint8_t* data, std::size_t size) {
    if (size < 12)
        return false;
    const bool core = GetLittleEndian<DWORD>(data) == 12;
    const std::int64_t width = core ? GetLittleEndian<WORD>(data + 4)
                                    : static_cast<LONG>(GetLittleEndian<DWORD>(data + 4));
    const std::int64_t height = core ? GetLittleEndian<WORD>(data + 6)
                                     : static_cast<LONG>(GetLittleEndian<DWORD>(data + 8));
    return width * height > (std::int64_t{1} << 22) || width * height < -(std::int64_t{1} << 22);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (Huge(data, size))
        return 0;
    CRaster img;
    if (!img.CreateFromGlobalDib(std::span<const BYTE>(data, size)))
        return 0;
    if (img.GetWidth() <= 256 && img.GetHeight() <= 256) {
        CBitmap bitmap;
        bitmap.CreateBitmap32(16, 16);
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        dc.SelectObject(&bitmap);
        img.Draw(dc, -1, -1, 18, 9, nullptr, true);
        const auto copy = img.MakeDibSection();
        if (copy) {
            CRaster back;
            back.CreateFromBitmap(*copy);
        }
    }
    return 0;
}
