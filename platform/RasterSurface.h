#pragma once
#include "platform/CRect.h"
#include "platform/WinTypes.h"

#include <cstdint>
#include <memory>

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

// A 32-bit pixel buffer (rows top-down, each pixel 0xXXRRGGBB in native byte order, i.e. the
// bytes blue, green, red, unused) that Cairo draws into and the program reads and writes
// directly. Cairo may queue its work: Pixels() finishes it first, so direct access always sees
// every earlier drawing call.
class RasterSurface {
public:
    // A blank white surface of the given size; nullptr when the size is not positive, a side
    // exceeds 32767 pixels, the pixels would take more than 1 GiB, or memory cannot be had.
    static std::shared_ptr<RasterSurface> Create(int width, int height);
    // A surface whose fourth byte is alpha (premultiplied, as Cairo keeps it), transparent at
    // first: a picture with transparency for back ends that blend through Cairo. The raster
    // back end's plain copies ignore the fourth byte. Sizes are bounded as for Create.
    static std::shared_ptr<RasterSurface> CreateWithAlpha(int width, int height);
    // A surface over the caller's memory, which must outlive it; the stride is in bytes and at
    // least width * 4 and a multiple of 4.
    static std::shared_ptr<RasterSurface> Wrap(std::uint8_t* bits, int width, int height,
                                               int stride);
    ~RasterSurface();
    RasterSurface(const RasterSurface&) = delete;
    RasterSurface& operator=(const RasterSurface&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Stride() const { return stride_; }
    CRect Rect() const { return {0, 0, width_, height_}; }

    // Direct access: completes Cairo's work first; after writing through the pointer call
    // MarkDirty.
    std::uint32_t* Pixels();
    std::uint32_t* Row(int y) { return Pixels() + static_cast<std::ptrdiff_t>(y) * (stride_ / 4); }
    void MarkDirty();

    // The Cairo context of the surface (identity transform, no antialiasing).
    cairo_t* Cairo() { return cr_; }
    cairo_surface_t* CairoSurface() { return surface_; }

    static std::uint32_t ToPixel(COLORREF c) {
        return 0xFF000000u | (static_cast<std::uint32_t>(GetRValue(c)) << 16) |
               (static_cast<std::uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
    }
    static COLORREF ToColor(std::uint32_t px) {
        return RGB((px >> 16) & 0xFF, (px >> 8) & 0xFF, px & 0xFF);
    }

private:
    RasterSurface(cairo_surface_t* surface, int width, int height, int stride);
    // Takes a new image surface over, or destroys it and gives null when Cairo failed.
    static std::shared_ptr<RasterSurface> Adopt(cairo_surface_t* surface, int width, int height);

    cairo_surface_t* surface_;
    cairo_t* cr_;
    int width_;
    int height_;
    int stride_;
};
