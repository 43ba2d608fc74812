// Quarter turns of CRaster. Pixels are moved in square tiles so that both pictures are walked
// in small blocks whatever the turn does to the row order.
#include "image/core/CRaster.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr LONG kTile = 64;

} // namespace

bool CRaster::RotateLeft(CRaster* destination) {
    return Rotate(true, destination);
}

bool CRaster::RotateRight(CRaster* destination) {
    return Rotate(false, destination);
}

bool CRaster::Rotate(bool left, CRaster* destination) {
    if (!IsValid())
        return false;
    const LONG oldWidth = head_.biWidth;
    const LONG oldHeight = head_.biHeight;
    CRaster result;
    if (!CreateLike(result, static_cast<DWORD>(oldHeight), static_cast<DWORD>(oldWidth)))
        return false;
    // The horizontal resolution of the turned picture is the old vertical one.
    result.SetXDpi(info_.yDpi);
    result.SetYDpi(info_.xDpi);
    if ((alpha_ && !result.CreateAlpha()) || (selection_ && !result.CreateSelection()))
        return false;
    // Source position of target pixel (x, y).
    auto source = [&](LONG x, LONG y) {
        return left ? POINT{y, oldHeight - 1 - x} : POINT{oldWidth - 1 - y, x};
    };
    const LONG newWidth = oldHeight;
    const LONG newHeight = oldWidth;
    for (LONG x0 = 0; x0 < newWidth; x0 += kTile) {
        if (info_.escape != 0)
            return false;
        info_.progress = static_cast<LONG>(std::int64_t{x0} * 100 / newWidth);
        for (LONG y0 = 0; y0 < newHeight; y0 += kTile) {
            const LONG x1 = std::min(x0 + kTile, newWidth);
            const LONG y1 = std::min(y0 + kTile, newHeight);
            for (LONG y = y0; y < y1; ++y)
                for (LONG x = x0; x < x1; ++x) {
                    const POINT s = source(x, y);
                    result.CopyPixelFrom(*this, s.x, s.y, x, y);
                }
        }
    }
    RotateSelectionBox(result, left);
    return PlaceResult(result, destination);
}

// One pixel and its plane bytes from `from` at (sx, sy) to (x, y) of this same-depth picture.
void CRaster::CopyPixelFrom(const CRaster& from, LONG sx, LONG sy, LONG x, LONG y) {
    if (GetBpp() == 24)
        std::memcpy(PixelAddress(x, y), from.PixelAddress(sx, sy), 3);
    else
        BlindSetPixelIndex(x, y, from.BlindGetPixelIndex(sx, sy));
    if (alpha_)
        alpha_[PlaneOffset(x, y)] = from.alpha_[from.PlaneOffset(sx, sy)];
    if (selection_)
        selection_[PlaneOffset(x, y)] = from.selection_[from.PlaneOffset(sx, sy)];
}

void CRaster::RotateSelectionBox(CRaster& result, bool left) const {
    const RECT& old = info_.selectionBox;
    RECT& box = result.info_.selectionBox;
    if (left) {
        box = {head_.biHeight - old.top, old.right, head_.biHeight - old.bottom, old.left};
    } else {
        box = {old.bottom, head_.biWidth - old.left, old.top, head_.biWidth - old.right};
    }
}
