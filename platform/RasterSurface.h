#pragma once
#include "platform/CRect.h"
#include "platform/WinTypes.h"

#include <cstdint>
#include <functional>
#include <memory>

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

// A 32-bit pixel buffer (rows top-down, each pixel 0xXXRRGGBB in native byte order, i.e. the
// bytes blue, green, red, unused) that Cairo draws into and the program reads and writes
// directly. Cairo's work is queued: Pixels() finishes it first, so direct access always sees
// every earlier drawing call.
class RasterSurface {
public:
    // A blank white surface of the given size; nullptr when the size is not positive or the
    // memory cannot be had.
    static std::shared_ptr<RasterSurface> Create(int width, int height);
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

    // Direct access: flushes pending strokes and Cairo's work; after writing through the
    // pointer call MarkDirty.
    std::uint32_t* Pixels();
    std::uint32_t* Row(int y) { return Pixels() + static_cast<std::ptrdiff_t>(y) * (stride_ / 4); }
    void MarkDirty();

    // The Cairo context of the surface (identity transform, no antialiasing); pending strokes
    // are flushed first unless the caller is adding to them.
    cairo_t* Cairo();
    cairo_surface_t* CairoSurface() { return surface_; }

    // Batched strokes: segments added under an equal key are stroked together, which is far
    // faster than one stroke each. `setup` configures the context (colour, width, clip) when a
    // new batch starts; the caller then adds its segment to the path. Anything else that
    // touches the surface draws the batch first.
    struct StrokeKey {
        COLORREF color = 0;
        int width = 0;
        CRect clip;
        friend bool operator==(const StrokeKey&, const StrokeKey&) = default;
    };
    cairo_t* AddToStrokeBatch(const StrokeKey& key, const std::function<void(cairo_t*)>& setup);
    void FlushStrokes();

    static std::uint32_t ToPixel(COLORREF c) {
        return 0xFF000000u | (static_cast<std::uint32_t>(GetRValue(c)) << 16) |
               (static_cast<std::uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
    }
    static COLORREF ToColor(std::uint32_t px) {
        return RGB((px >> 16) & 0xFF, (px >> 8) & 0xFF, px & 0xFF);
    }

private:
    RasterSurface(cairo_surface_t* surface, int width, int height, int stride);

    cairo_surface_t* surface_;
    cairo_t* cr_;
    int width_;
    int height_;
    int stride_;
    bool batching_ = false;
    StrokeKey batchKey_;
    int batchCount_ = 0;
};
