#include "image/codecs/CRasterCodec.h"

#include "image/core/CRasterFile.h"

#include <cstdint>

bool CRasterCodec::Fail(const std::string& text) {
    SetLastError(text.c_str());
    return false;
}

bool CRasterCodec::FailTooLarge(const char* format, std::uint64_t width, std::uint64_t height,
                                std::uint64_t estimate, const DecodeOptions& options) {
    return Fail(PictureTooLargeMessage(format, width, height, estimate, options.budget));
}

std::uint64_t CRasterCodec::PictureBytes(std::uint64_t width, std::uint64_t height, unsigned bpp,
                                         bool alpha) {
    // Sides come from hostile headers; a size past 2^48 is as refused as any.
    constexpr std::uint64_t kSide = 1ull << 24;
    if (width > kSide || height > kSide)
        return UINT64_MAX;
    // Depths are raised as the picture raises them.
    bpp = bpp <= 1 ? 1 : bpp <= 4 ? 4 : bpp <= 8 ? 8 : 24;
    const std::uint64_t stride = (width * bpp + 31) / 32 * 4;
    return stride * height + (alpha ? width * height : 0) + 40 + 256 * 4;
}

bool CRasterCodec::Cancelled() {
    if (Info().escape == 0 && !StopRequested())
        return false;
    SetLastError(kCancelled);
    return true;
}

void CRasterCodec::SetProgress(std::uint64_t done, std::uint64_t total) {
    Info().progress = total == 0 ? 100 : static_cast<LONG>(done * 100 / total);
}

std::uint64_t CRasterCodec::BytesLeft(CRasterFile& file) {
    const long long size = file.Size();
    const long long pos = file.Tell();
    return size > pos && pos >= 0 ? static_cast<std::uint64_t>(size - pos) : 0;
}

bool CRasterCodec::ReadExact(CRasterFile& file, void* buffer, std::size_t n) {
    return n == 0 || file.Read(buffer, 1, n) == n;
}

bool CRasterCodec::WriteExact(CRasterFile& file, const void* buffer, std::size_t n) {
    return n == 0 || file.Write(buffer, 1, n) == n;
}

bool CRasterCodec::Skip(CRasterFile& file, std::uint64_t n) {
    if (n == 0)
        return true;
    if (n > BytesLeft(file))
        return false;
    return file.Seek(static_cast<LONG>(n), 1);
}
