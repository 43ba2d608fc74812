#pragma once
#include "platform/CBitmap.h"
#include "platform/CDC.h"

#include <memory>

// The view's off-screen page: a 32-bit bitmap of the whole page at screen resolution (one
// pixel wider than the page) and the memory context that draws into it in MM_HIENGLISH, with
// the page's top-left corner at pixel (0, 0).
class ScreenBuffer {
public:
    // Replaces the picture with a white one for a page `pageWidth` by `pageHeight` units at
    // the given resolution. False (and no picture) when the size is not drawable.
    bool Rebuild(int pageWidth, int pageHeight, int dpiX, int dpiY);
    bool Exists() const { return dc_ != nullptr; }
    CDC& Dc() { return *dc_; }
    CSize PixelSize() const { return pixelSize_; }
    // The logical size the picture covers: (width, negative height).
    CSize LogicalSize() const { return logicalSize_; }
    int DpiX() const { return dpiX_; }
    int DpiY() const { return dpiY_; }
    // Whites the whole picture.
    void Clear();
    // The pixels, every queued drawing done.
    RasterSurface* Surface();

    // What a buffer for that page would cover, in logical units and pixels.
    static void Measure(int pageWidth, int pageHeight, int dpiX, int dpiY, CSize& logical,
                        CSize& pixels);

private:
    std::unique_ptr<CDC> dc_;
    std::unique_ptr<CBitmap> bitmap_;
    CSize pixelSize_;
    CSize logicalSize_;
    int dpiX_ = 96;
    int dpiY_ = 96;
};
