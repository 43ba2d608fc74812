#include "platform/CBitmap.h"

bool CBitmap::CreateBitmap32(int width, int height) {
    return Attach(RasterSurface::Create(width, height));
}

bool CBitmap::CreateCompatibleBitmap(const CDC*, int width, int height) {
    // Every raster context here is 32-bit, so compatibility needs nothing more.
    return CreateBitmap32(width, height);
}

bool CBitmap::CreateOver(std::uint8_t* bits, int width, int height, int stride) {
    return Attach(RasterSurface::Wrap(bits, width, height, stride));
}

bool CBitmap::Attach(std::shared_ptr<RasterSurface> surface) {
    if (!surface)
        return false;
    surface_ = std::move(surface);
    MarkCreated();
    return true;
}

int CBitmap::GetBitmap(BITMAP* bm) const {
    if (!bm || !surface_)
        return 0;
    bm->bmType = 0;
    bm->bmWidth = surface_->Width();
    bm->bmHeight = surface_->Height();
    bm->bmWidthBytes = surface_->Stride();
    bm->bmPlanes = 1;
    bm->bmBitsPixel = 32;
    bm->bmBits = Bits();
    return static_cast<int>(sizeof(BITMAP));
}

std::uint8_t* CBitmap::Bits() const {
    return surface_ ? reinterpret_cast<std::uint8_t*>(surface_->Pixels()) : nullptr;
}

void CBitmap::MarkDirty() const {
    if (surface_)
        surface_->MarkDirty();
}
