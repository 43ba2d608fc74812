// The alpha and selection planes of CRaster: width x height bytes, bottom-up, unpadded.
#include "image/core/CRaster.h"

#include <algorithm>
#include <cstring>

std::size_t CRaster::PlaneSize() const {
    return std::size_t{GetWidth()} * GetHeight();
}

// ---- alpha ------------------------------------------------------------------------------

bool CRaster::CreateAlpha() {
    if (!alpha_ && IsValid()) {
        alpha_ = AllocatePlane(PlaneSize());
        if (alpha_)
            std::memset(alpha_.get(), 255, PlaneSize());
    }
    return alpha_ != nullptr;
}

void CRaster::DeleteAlpha() {
    alpha_.reset();
}

void CRaster::SetAlphaLevel(BYTE level) {
    if (alpha_)
        std::memset(alpha_.get(), level, PlaneSize());
}

void CRaster::InvertAlpha() {
    if (!alpha_)
        return;
    BYTE* p = alpha_.get();
    for (std::size_t i = 0, n = PlaneSize(); i < n; ++i)
        p[i] = static_cast<BYTE>(255 - p[i]);
}

bool CRaster::HasPaletteAlpha() const {
    for (DWORD i = 0; i < GetNumColors(); ++i) {
        if (GetPaletteColor(i).rgbReserved != 0)
            return true;
    }
    return false;
}

bool CRaster::CopyAlpha(const CRaster& source) {
    if (!source.alpha_ || !IsValid() || source.GetWidth() != GetWidth() ||
        source.GetHeight() != GetHeight())
        return false;
    if (!CreateAlpha())
        return false;
    if (alpha_ != source.alpha_)
        std::memcpy(alpha_.get(), source.alpha_.get(), PlaneSize());
    info_.alphaMax = source.info_.alphaMax;
    return true;
}

// The grey level of a grey-ramp picture is its index, so the indexes become the alpha bytes;
// this also serves 1- and 4-bit ramps, whose rows are narrower than the width in bytes.
bool CRaster::SetAlphaFromImage(const CRaster& grey) {
    if (!IsValid() || !grey.IsValid() || !grey.IsIndexed() || !grey.IsGrayScale() ||
        grey.GetWidth() != GetWidth() || grey.GetHeight() != GetHeight())
        return false;
    if (!CreateAlpha())
        return false;
    BYTE* out = alpha_.get();
    for (LONG y = 0; y < head_.biHeight; ++y)
        for (LONG x = 0; x < head_.biWidth; ++x)
            *out++ = grey.BlindGetPixelIndex(x, y);
    return true;
}

void CRaster::SetAlpha(LONG x, LONG y, BYTE v) {
    if (alpha_ && IsInside(x, y))
        alpha_[std::size_t(y) * GetWidth() + std::size_t(x)] = v;
}

BYTE CRaster::GetAlpha(LONG x, LONG y) const {
    if (!alpha_ || !IsInside(x, y))
        return 0;
    return BlindGetAlpha(x, y);
}

BYTE CRaster::BlindGetAlpha(LONG x, LONG y) const {
    return alpha_[std::size_t(y) * GetWidth() + std::size_t(x)];
}

BYTE* CRaster::GetAlphaPointer(LONG x, LONG y) {
    if (!alpha_ || !IsInside(x, y))
        return nullptr;
    return alpha_.get() + std::size_t(y) * GetWidth() + std::size_t(x);
}

const BYTE* CRaster::GetAlphaPointer(LONG x, LONG y) const {
    if (!alpha_ || !IsInside(x, y))
        return nullptr;
    return alpha_.get() + std::size_t(y) * GetWidth() + std::size_t(x);
}

namespace {

void FlipRows(BYTE* plane, std::size_t width, std::size_t height) {
    for (std::size_t top = 0, bottom = height - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(plane + top * width, plane + (top + 1) * width, plane + bottom * width);
}

void MirrorRows(BYTE* plane, std::size_t width, std::size_t height) {
    for (std::size_t y = 0; y < height; ++y)
        std::reverse(plane + y * width, plane + (y + 1) * width);
}

} // namespace

bool CRaster::FlipAlpha() {
    if (!alpha_)
        return false;
    FlipRows(alpha_.get(), GetWidth(), GetHeight());
    return true;
}

bool CRaster::MirrorAlpha() {
    if (!alpha_)
        return false;
    MirrorRows(alpha_.get(), GetWidth(), GetHeight());
    return true;
}

// ---- selection --------------------------------------------------------------------------

void CRaster::SetEmptySelectionBox() {
    info_.selectionBox = {head_.biWidth, 0, 0, head_.biHeight};
}

bool CRaster::CreateSelection() {
    DeleteSelection();
    if (IsValid()) {
        selection_ = AllocatePlane(PlaneSize());
        if (selection_)
            std::memset(selection_.get(), 0, PlaneSize());
    }
    return selection_ != nullptr;
}

void CRaster::DeleteSelection() {
    selection_.reset();
    SetEmptySelectionBox();
}

bool CRaster::IsInsideSelection(LONG x, LONG y) const {
    return !selection_ || BlindGetSelectionByte(x, y) != 0;
}

void CRaster::SetSelectionByte(LONG x, LONG y, BYTE v) {
    if (!selection_ || !IsInside(x, y))
        return;
    selection_[std::size_t(y) * GetWidth() + std::size_t(x)] = v;
    if (v == 0)
        return;
    RECT& box = info_.selectionBox;
    box.left = std::min(box.left, x);
    box.right = std::max(box.right, x + 1);
    box.bottom = std::min(box.bottom, y);
    box.top = std::max(box.top, y + 1);
}

BYTE CRaster::BlindGetSelectionByte(LONG x, LONG y) const {
    return selection_[std::size_t(y) * GetWidth() + std::size_t(x)];
}

bool CRaster::CopySelection(const CRaster& source) {
    if (!source.selection_ || !IsValid() || source.GetWidth() != GetWidth() ||
        source.GetHeight() != GetHeight())
        return false;
    if (!selection_)
        selection_ = AllocatePlane(PlaneSize()); // filled from the source below
    if (!selection_)
        return false;
    if (selection_ != source.selection_)
        std::memcpy(selection_.get(), source.selection_.get(), PlaneSize());
    info_.selectionBox = source.info_.selectionBox;
    return true;
}

bool CRaster::FlipSelection() {
    if (!selection_)
        return false;
    FlipRows(selection_.get(), GetWidth(), GetHeight());
    RECT& box = info_.selectionBox;
    const LONG oldTop = box.top;
    box.top = head_.biHeight - box.bottom;
    box.bottom = head_.biHeight - oldTop;
    return true;
}

bool CRaster::MirrorSelection() {
    if (!selection_)
        return false;
    MirrorRows(selection_.get(), GetWidth(), GetHeight());
    RECT& box = info_.selectionBox;
    const LONG oldLeft = box.left;
    box.left = head_.biWidth - box.right;
    box.right = head_.biWidth - oldLeft;
    return true;
}
