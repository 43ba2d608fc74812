#include "view/ScreenBuffer.h"

#include <cstdint>

namespace {

// No picture larger than this many pixels is made (a 64-bit count, checked before allocating).
constexpr std::int64_t kMaxPixels = 400'000'000;

} // namespace

void ScreenBuffer::Measure(int pageWidth, int pageHeight, int dpiX, int dpiY, CSize& logical,
                           CSize& pixels) {
    CDC probe;
    probe.CreateCompatibleDC(nullptr);
    probe.SetDeviceResolution(dpiX, dpiY);
    probe.SetMapMode(MM_HIENGLISH);
    SIZE device{pageWidth, -pageHeight};
    probe.LPtoDP(&device);
    device.cx += 1;
    SIZE back = device;
    probe.DPtoLP(&back);
    logical = back;
    pixels = CSize(device.cx, 1 - device.cy);
}

bool ScreenBuffer::Rebuild(int pageWidth, int pageHeight, int dpiX, int dpiY) {
    dc_.reset();
    bitmap_.reset();
    dpiX_ = dpiX;
    dpiY_ = dpiY;
    Measure(pageWidth, pageHeight, dpiX, dpiY, logicalSize_, pixelSize_);
    if (pixelSize_.cx <= 0 || pixelSize_.cy <= 0 ||
        std::int64_t{pixelSize_.cx} * pixelSize_.cy > kMaxPixels)
        return false;
    auto bitmap = std::make_unique<CBitmap>();
    if (!bitmap->CreateBitmap32(pixelSize_.cx, pixelSize_.cy))
        return false;
    auto dc = std::make_unique<CDC>();
    dc->CreateCompatibleDC(nullptr);
    dc->SetDeviceResolution(dpiX, dpiY);
    dc->SelectObject(bitmap.get());
    dc->SetMapMode(MM_HIENGLISH);
    bitmap_ = std::move(bitmap);
    dc_ = std::move(dc);
    return true;
}

void ScreenBuffer::Clear() {
    if (!dc_)
        return;
    const int saved = dc_->SaveDC();
    dc_->SetMapMode(MM_TEXT);
    dc_->PatBlt(0, 0, pixelSize_.cx, pixelSize_.cy, WHITENESS);
    dc_->RestoreDC(saved);
}

RasterSurface* ScreenBuffer::Surface() {
    if (!bitmap_)
        return nullptr;
    dc_->Flush();
    return bitmap_->Surface().get();
}
