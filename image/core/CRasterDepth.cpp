// Depth conversion of CRaster: reduction to a palette (optionally with error diffusion) and
// expansion to a larger palette or to 24 bits. Both build the result in a new image and move it
// in only when every row is done, so a cancelled conversion leaves the picture as it was.
#include "image/core/CRaster.h"

#include <algorithm>
#include <vector>

namespace {

// Colours of one row widened to ints so diffused errors can be added before clamping.
using RowColors = std::vector<int>;

void LoadRow(const CRaster& image, LONG y, RowColors& row) {
    const LONG width = static_cast<LONG>(image.GetWidth());
    if (!image.IsIndexed()) {
        const BYTE* bgr = image.GetBits(static_cast<DWORD>(y));
        std::copy(bgr, bgr + std::size_t(width) * 3, row.begin());
        return;
    }
    for (LONG x = 0; x < width; ++x) {
        const RGBQUAD c = image.BlindGetPixelColor(x, y, false);
        row[x * 3] = c.rgbBlue;
        row[x * 3 + 1] = c.rgbGreen;
        row[x * 3 + 2] = c.rgbRed;
    }
}

// Adds error x weight / 16 (truncated toward zero) to each channel of pixel x, clamping.
inline void AddError(int* pixel, const int error[3], int weight) {
    for (int ch = 0; ch < 3; ++ch)
        pixel[ch] = std::clamp(pixel[ch] + error[ch] * weight / 16, 0, 255);
}

} // namespace

bool CRaster::RowLoopStopped(DWORD y) {
    if (info_.escape != 0)
        return true;
    info_.progress = static_cast<LONG>(std::uint64_t{y} * 100 / GetHeight());
    return false;
}

bool CRaster::ReduceRows(CRaster& target, bool errorDiffusion) {
    if (errorDiffusion)
        return DiffuseRows(target);
    for (LONG y = 0; y < head_.biHeight; ++y) {
        if (RowLoopStopped(static_cast<DWORD>(y)))
            return false;
        for (LONG x = 0; x < head_.biWidth; ++x)
            target.BlindSetPixelColor(x, y, BlindGetPixelColor(x, y, false));
    }
    return true;
}

// Floyd-Steinberg-like diffusion with weights 7 (right), 2 (below left), 4 (below) and
// 1 (below right) sixteenths. The errors go into working copies of the current and next rows,
// never into the source picture.
bool CRaster::DiffuseRows(CRaster& target) {
    const LONG width = head_.biWidth;
    RowColors current(std::size_t(width) * 3), next(std::size_t(width) * 3);
    LoadRow(*this, 0, current);
    for (LONG y = 0; y < head_.biHeight; ++y) {
        if (RowLoopStopped(static_cast<DWORD>(y)))
            return false;
        const bool hasNext = y + 1 < head_.biHeight;
        if (hasNext)
            LoadRow(*this, y + 1, next);
        for (LONG x = 0; x < width; ++x) {
            const int* v = &current[x * 3];
            const RGBQUAD c = {static_cast<BYTE>(v[0]), static_cast<BYTE>(v[1]),
                               static_cast<BYTE>(v[2]), 0};
            const RGBQUAD got = target.StoreNearest(x, y, c);
            const int error[3] = {v[0] - got.rgbBlue, v[1] - got.rgbGreen, v[2] - got.rgbRed};
            const bool hasRight = x + 1 < width;
            if (hasRight)
                AddError(&current[(x + 1) * 3], error, 7);
            if (!hasNext)
                continue;
            if (x > 0)
                AddError(&next[(x - 1) * 3], error, 2);
            AddError(&next[x * 3], error, 4);
            if (hasRight)
                AddError(&next[(x + 1) * 3], error, 1);
        }
        std::swap(current, next);
    }
    return true;
}

// Stores c as near as the picture allows and answers the colour actually stored.
RGBQUAD CRaster::StoreNearest(LONG x, LONG y, RGBQUAD c) {
    if (head_.biClrUsed == 0) {
        BlindSetPixelColor(x, y, c);
        return c;
    }
    const BYTE index = GetNearestIndex(c);
    BlindSetPixelIndex(x, y, index);
    return RGBQUAD::Load(dib_.get() + BITMAPINFOHEADER::kSize + index * RGBQUAD::kSize);
}

bool CRaster::DecreaseBpp(DWORD bpp, bool errorDiffusion, const RGBQUAD* palette,
                          DWORD importantColors) {
    if (!IsValid())
        return false;
    if (bpp > head_.biBitCount) {
        SetLastError("DecreaseBpp: target BPP greater than source BPP");
        return false;
    }
    if (RaiseDepth(bpp) == head_.biBitCount &&
        (importantColors == 0 ||
         (head_.biClrImportant != 0 && head_.biClrImportant < importantColors)))
        return true;
    CRaster target;
    target.info_ = info_;
    if (!target.Create(GetWidth(), GetHeight(), bpp, info_.type)) {
        SetLastError(target.GetLastError());
        return false;
    }
    if (importantColors != 0)
        target.SetClrImportant(importantColors);
    target.CopyPlanesFrom(*this, true, true);
    if (palette)
        target.SetPalette(palette,
                          importantColors != 0 ? importantColors : (DWORD{1} << target.GetBpp()));
    else
        target.SetStdPalette();
    if (!ReduceRows(target, errorDiffusion)) {
        SetLastError("Cancelled");
        return false;
    }
    info_.progress = 100;
    target.info_.progress = 100;
    return TakeOver(target, false);
}

bool CRaster::ExpandRows(CRaster& target) {
    for (LONG y = 0; y < head_.biHeight; ++y) {
        if (RowLoopStopped(static_cast<DWORD>(y)))
            return false;
        for (LONG x = 0; x < head_.biWidth; ++x) {
            if (target.IsIndexed())
                target.BlindSetPixelIndex(x, y, BlindGetPixelIndex(x, y));
            else
                target.BlindSetPixelColor(x, y, BlindGetPixelColor(x, y, true), true);
        }
    }
    return true;
}

// At 24 bits a transparent index would turn into a colour key, hiding every opaque pixel of
// the same colour; the pixels that held the index get alpha 0 instead, and the index goes.
void CRaster::MoveIndexToAlpha(CRaster& target) const {
    const bool paletteAlpha = HasPaletteAlpha();
    for (LONG y = 0; y < head_.biHeight; ++y) {
        for (LONG x = 0; x < head_.biWidth; ++x) {
            const BYTE index = BlindGetPixelIndex(x, y);
            BYTE a = 255;
            if (index == info_.transparentIndex)
                a = 0;
            else if (alpha_)
                a = BlindGetAlpha(x, y);
            else if (paletteAlpha)
                a = GetPaletteColor(index).rgbReserved;
            target.SetAlpha(x, y, a);
        }
    }
    target.info_.transparentIndex = -1;
}

bool CRaster::IncreaseBpp(DWORD bpp) {
    if ((bpp != 4 && bpp != 8 && bpp != 24) || !IsValid())
        return false;
    if (bpp == head_.biBitCount)
        return true;
    if (bpp < head_.biBitCount)
        return false;
    CRaster target;
    target.info_ = info_;
    if (!target.Create(GetWidth(), GetHeight(), bpp, info_.type)) {
        SetLastError(target.GetLastError());
        return false;
    }
    target.CopyPlanesFrom(*this, true, true);
    if (target.IsIndexed()) {
        std::copy_n(GetPalette(), GetPaletteSize(), target.GetPalette());
    } else {
        if (IsTransparent())
            target.SetTransparentColor(GetPaletteColor(static_cast<DWORD>(info_.transparentIndex)));
        if (((!alpha_ && HasPaletteAlpha()) || IsTransparent()) && !target.CreateAlpha()) {
            SetLastError("CRaster::Create can't allocate memory");
            return false;
        }
    }
    if (!ExpandRows(target)) {
        SetLastError("Cancelled");
        return false;
    }
    if (!target.IsIndexed() && IsTransparent())
        MoveIndexToAlpha(target);
    info_.progress = 100;
    target.info_.progress = 100;
    return TakeOver(target, false);
}
