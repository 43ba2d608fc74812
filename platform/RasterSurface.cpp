#include "platform/RasterSurface.h"

#include <cairo.h>

#include <algorithm>

namespace {
// Cairo's own side limit, and a ceiling on one picture's memory: callers that can do with less
// (print pages) halve their size until a surface is granted.
constexpr int kMaxSide = 32767;
constexpr long long kMaxBytes = 1LL << 30;

bool SizeAccepted(int width, int height) {
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide &&
           4LL * width * height <= kMaxBytes;
}
} // namespace

std::shared_ptr<RasterSurface> RasterSurface::Create(int width, int height) {
    if (!SizeAccepted(width, height))
        return nullptr;
    std::shared_ptr<RasterSurface> r =
        Adopt(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height), width, height);
    if (!r)
        return nullptr;
    std::uint32_t* px = r->Pixels();
    const size_t count = static_cast<size_t>(r->stride_ / 4) * static_cast<size_t>(height);
    std::fill(px, px + count, 0xFFFFFFFFu);
    r->MarkDirty();
    return r;
}

std::shared_ptr<RasterSurface> RasterSurface::CreateWithAlpha(int width, int height) {
    if (!SizeAccepted(width, height))
        return nullptr;
    // Cairo clears new image surfaces, so every pixel starts fully transparent.
    return Adopt(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height), width, height);
}

std::shared_ptr<RasterSurface> RasterSurface::Wrap(std::uint8_t* bits, int width, int height,
                                                   int stride) {
    if (!bits || width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide ||
        stride < width * 4 || stride % 4 != 0)
        return nullptr;
    return Adopt(
        cairo_image_surface_create_for_data(bits, CAIRO_FORMAT_RGB24, width, height, stride), width,
        height);
}

std::shared_ptr<RasterSurface> RasterSurface::Adopt(cairo_surface_t* s, int width, int height) {
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        return nullptr;
    }
    return std::shared_ptr<RasterSurface>(
        new RasterSurface(s, width, height, cairo_image_surface_get_stride(s)));
}

RasterSurface::RasterSurface(cairo_surface_t* surface, int width, int height, int stride)
    : surface_(surface), cr_(cairo_create(surface)), width_(width), height_(height),
      stride_(stride) {
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
}

RasterSurface::~RasterSurface() {
    cairo_destroy(cr_);
    cairo_surface_finish(surface_);
    cairo_surface_destroy(surface_);
}

std::uint32_t* RasterSurface::Pixels() {
    cairo_surface_flush(surface_);
    return reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface_));
}

void RasterSurface::MarkDirty() {
    cairo_surface_mark_dirty(surface_);
}
