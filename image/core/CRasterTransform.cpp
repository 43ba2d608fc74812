// Cropping, flipping, mirroring and colour inversion of CRaster.
#include "image/core/CRaster.h"

#include <algorithm>
#include <cstring>
#include <vector>

// A new picture with this one's options, depth and palette, without planes or selection.
bool CRaster::CreateLike(CRaster& target, DWORD width, DWORD height) {
    target.info_ = info_;
    target.info_.lastError.clear();
    if (!target.Create(width, height, GetBpp(), info_.type)) {
        // Create may refuse a shared target without a text of its own.
        SetLastError(target.GetLastError());
        return false;
    }
    target.head_.biClrImportant = head_.biClrImportant;
    target.StoreHeader();
    if (GetPaletteSize() != 0)
        std::memcpy(target.GetPalette(), GetPalette(), GetPaletteSize());
    target.SetEmptySelectionBox();
    return true;
}

bool CRaster::PlaceResult(CRaster& result, CRaster* destination) {
    return destination ? destination->TakeOver(result, true) : TakeOver(result, true);
}

bool CRaster::Crop(LONG left, LONG top, LONG right, LONG bottom, CRaster* destination) {
    if (!IsValid())
        return false;
    const LONG width = head_.biWidth;
    const LONG height = head_.biHeight;
    left = std::clamp(left, 0, width);
    right = std::clamp(right, 0, width);
    // Top and bottom become storage rows, which count from the bottom line.
    const LONG rowA = height - std::clamp(top, 0, height);
    const LONG rowB = height - std::clamp(bottom, 0, height);
    if (left == right || rowA == rowB)
        return false;
    if (left > right)
        std::swap(left, right);
    const LONG firstRow = std::min(rowA, rowB);
    const LONG newHeight = std::max(rowA, rowB) - firstRow;
    const LONG newWidth = right - left;

    CRaster result;
    if (!CreateLike(result, static_cast<DWORD>(newWidth), static_cast<DWORD>(newHeight)))
        return false;
    const WORD bpp = GetBpp();
    for (LONG y = 0; y < newHeight; ++y) {
        if (RowLoopStopped(static_cast<DWORD>(y)))
            return false;
        if (bpp >= 8) {
            const std::size_t bytes = std::size_t(newWidth) * bpp / 8;
            std::memcpy(result.GetBits(DWORD(y)), PixelAddress(left, firstRow + y), bytes);
        } else {
            for (LONG x = 0; x < newWidth; ++x)
                result.BlindSetPixelIndex(x, y, BlindGetPixelIndex(left + x, firstRow + y));
        }
    }
    if (alpha_) {
        if (!result.CreateAlpha())
            return false;
        for (LONG y = 0; y < newHeight; ++y)
            std::memcpy(result.GetAlphaPointer(0, y), &alpha_[PlaneOffset(left, firstRow + y)],
                        std::size_t(newWidth));
    }
    return PlaceResult(result, destination);
}

bool CRaster::CropRect(const RECT& rect, CRaster* destination) {
    return Crop(rect.left, rect.top, rect.right, rect.bottom, destination);
}

bool CRaster::Flip(bool selection, bool alpha) {
    if (!IsValid())
        return false;
    std::vector<BYTE> row(stride_);
    for (DWORD top = 0, bottom = GetHeight() - 1; top < bottom; ++top, --bottom) {
        BYTE* a = GetBits(top);
        BYTE* b = GetBits(bottom);
        std::memcpy(row.data(), a, stride_);
        std::memcpy(a, b, stride_);
        std::memcpy(b, row.data(), stride_);
    }
    if (selection)
        FlipSelection();
    if (alpha)
        FlipAlpha();
    return true;
}

bool CRaster::Mirror(bool selection, bool alpha) {
    if (!IsValid())
        return false;
    const LONG width = head_.biWidth;
    const WORD bpp = GetBpp();
    std::vector<BYTE> row(stride_);
    for (DWORD y = 0; y < GetHeight(); ++y) {
        BYTE* bits = GetBits(y);
        std::memcpy(row.data(), bits, stride_);
        if (bpp == 24) {
            for (LONG x = 0; x < width; ++x)
                std::memcpy(bits + std::size_t(x) * 3, &row[std::size_t(width - 1 - x) * 3], 3);
        } else if (bpp == 8) {
            std::reverse_copy(row.begin(), row.begin() + width, bits);
        } else {
            // Through the indexes, so each nibble or bit lands in its own place.
            for (LONG x = 0; x < width; ++x)
                BlindSetPixelIndex(width - 1 - x, LONG(y),
                                   RowIndex(row.data(), x, static_cast<BYTE>(bpp)));
        }
    }
    if (selection)
        MirrorSelection();
    if (alpha)
        MirrorAlpha();
    return true;
}

BYTE CRaster::RowIndex(const BYTE* row, LONG x, BYTE bpp) {
    if (bpp == 4)
        return (x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4);
    if (bpp == 1)
        return (row[x >> 3] >> (7 - (x & 7))) & 1;
    return row[x];
}

bool CRaster::InvertColors() {
    if (!IsValid())
        return false;
    if (GetBpp() > 8) {
        InvertTrueColor();
    } else if (GetBpp() == 8 && IsGrayScale()) {
        InvertIndexes();
    } else {
        // A 1- or 4-bit grey ramp holds only the darkest levels; its negative is not among
        // them, so like any other palette it is inverted entry by entry.
        BYTE* palette = GetPalette();
        for (DWORD i = 0; i < GetNumColors(); ++i)
            for (int c = 0; c < 3; ++c)
                palette[i * RGBQUAD::kSize + c] =
                    static_cast<BYTE>(255 - palette[i * RGBQUAD::kSize + c]);
    }
    return true;
}

void CRaster::InvertTrueColor() {
    RGBQUAD& t = info_.transparentColor;
    t = {BYTE(255 - t.rgbBlue), BYTE(255 - t.rgbGreen), BYTE(255 - t.rgbRed), t.rgbReserved};
    if (!selection_) {
        for (DWORD y = 0; y < GetHeight(); ++y) {
            BYTE* row = GetBits(y);
            for (std::size_t i = 0, n = std::size_t(GetWidth()) * 3; i < n; ++i)
                row[i] = static_cast<BYTE>(255 - row[i]);
        }
        return;
    }
    const RECT box = SelectionBoxInside();
    for (LONG y = box.bottom; y < box.top; ++y)
        for (LONG x = box.left; x < box.right; ++x) {
            if (!IsInsideSelection(x, y))
                continue;
            BYTE* p = PixelAddress(x, y);
            p[0] = static_cast<BYTE>(255 - p[0]);
            p[1] = static_cast<BYTE>(255 - p[1]);
            p[2] = static_cast<BYTE>(255 - p[2]);
        }
}

void CRaster::InvertIndexes() {
    const RECT box = selection_ ? SelectionBoxInside() : RECT{0, head_.biHeight, head_.biWidth, 0};
    for (LONG y = box.bottom; y < box.top; ++y)
        for (LONG x = box.left; x < box.right; ++x)
            if (IsInsideSelection(x, y))
                BlindSetPixelIndex(x, y, static_cast<BYTE>(255 - BlindGetPixelIndex(x, y)));
}

// The selection box cut to the picture, so that a box from elsewhere never leads outside.
RECT CRaster::SelectionBoxInside() const {
    const RECT& b = info_.selectionBox;
    return {std::clamp(b.left, 0, head_.biWidth), std::clamp(b.top, 0, head_.biHeight),
            std::clamp(b.right, 0, head_.biWidth), std::clamp(b.bottom, 0, head_.biHeight)};
}
