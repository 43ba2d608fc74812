// Drawing CRaster into device contexts. Raster targets are written in place: only the visible
// part is sampled, row by row, and blended into the target's pixels. Targets without pixels of
// their own (printer pages) receive the picture with alpha and scale and blend it themselves.
#include "image/core/CRaster.h"

#include "image/core/RasterDrawSampler.h"
#include "platform/CDC.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace {

// Far-off device positions are kept where every sum below stays exact.
constexpr std::int64_t kDeviceRange = std::int64_t{1} << 40;

LONG ClampToLong(std::int64_t v) {
    return static_cast<LONG>(std::clamp<std::int64_t>(v, std::numeric_limits<LONG>::min(),
                                                      std::numeric_limits<LONG>::max()));
}

// Per channel (sample x a + background x (255 - a)) >> 8.
std::uint32_t Blend(std::uint32_t sample, std::uint32_t background, std::uint32_t a) {
    std::uint32_t out = 0xFF000000u;
    for (int shift = 0; shift <= 16; shift += 8) {
        const std::uint32_t s = (sample >> shift) & 0xFF;
        const std::uint32_t d = (background >> shift) & 0xFF;
        out |= ((s * a + d * (255 - a)) >> 8) << shift;
    }
    return out;
}

void ComposeRow(const std::uint32_t* samples, std::uint32_t* target, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint32_t a = samples[i] >> 24;
        if (a == 255)
            target[i] = samples[i];
        else if (a != 0)
            target[i] = Blend(samples[i], target[i], a);
    }
}

// Every weight is 0 or 255: a selection without jumps.
void CoverRow(const std::uint32_t* samples, std::uint32_t* target, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint32_t shown = 0u - (samples[i] >> 31);
        target[i] = (samples[i] & shown) | (target[i] & ~shown);
    }
}

// The sample with its colour scaled by its weight, as Cairo keeps pixels with alpha.
std::uint32_t Premultiply(std::uint32_t sample) {
    const std::uint32_t a = sample >> 24;
    std::uint32_t out = a << 24;
    for (int shift = 0; shift <= 16; shift += 8)
        out |= (((sample >> shift) & 0xFF) * a + 127) / 255 << shift;
    return out;
}

// The whole picture as a surface, with alpha when any weight may be below 255.
std::shared_ptr<RasterSurface> WholePicture(const CRaster& image) {
    const LONG width = static_cast<LONG>(image.GetWidth());
    const LONG height = static_cast<LONG>(image.GetHeight());
    const CRect all(0, 0, width, height);
    const RasterDrawSampler sampler(image, 0, 0, width, height, all, false);
    auto surface = sampler.Composed() ? RasterSurface::CreateWithAlpha(width, height)
                                      : RasterSurface::Create(width, height);
    if (!surface)
        return nullptr;
    std::uint32_t* pixels = surface->Pixels();
    const std::size_t step = static_cast<std::size_t>(surface->Stride() / 4);
    for (LONG y = 0; y < height; ++y) {
        std::uint32_t* row = pixels + step * std::size_t(y);
        sampler.SampleRow(y, row);
        if (sampler.Composed())
            std::transform(row, row + width, row, Premultiply);
    }
    surface->MarkDirty();
    return surface;
}

} // namespace

int CRaster::Draw(CDC& dc, LONG x, LONG y, LONG cx, LONG cy, const RECT* clip, bool smooth) const {
    if (!IsValid() || !dc.GetSafeHdc() || cx == 0 || cy == 0 || !info_.enabled)
        return 0;
    POINT at{x, y};
    dc.LPtoDP(&at);
    return DrawDevice(dc, at.x, at.y, cx < 0 ? head_.biWidth : cx, cy < 0 ? head_.biHeight : cy,
                      clip, smooth);
}

int CRaster::DrawInRect(CDC& dc, const RECT& rect, const RECT* clip, bool smooth) const {
    const std::int64_t width = std::int64_t{rect.right} - rect.left;
    const std::int64_t height = std::int64_t{rect.bottom} - rect.top;
    return Draw(dc, rect.left, rect.top, ClampToLong(width), ClampToLong(height), clip, smooth);
}

// The mapped rectangle is put upright, so a y-up mapping draws the picture the right way up.
int CRaster::DrawLogical(CDC& dc, LONG x, LONG y, LONG cx, LONG cy) const {
    if (!IsValid() || !dc.GetSafeHdc() || !info_.enabled)
        return 0;
    POINT corners[2] = {{x, y},
                        {ClampToLong(std::int64_t{x} + cx), ClampToLong(std::int64_t{y} + cy)}};
    dc.LPtoDP(corners, 2);
    CRect r(corners[0].x, corners[0].y, corners[1].x, corners[1].y);
    r.NormalizeRect();
    if (r.IsRectEmpty())
        return 0;
    return DrawDevice(dc, r.left, r.top, r.Width(), r.Height(), nullptr, false);
}

int CRaster::DrawLogicalRect(CDC& dc, const RECT& rect) const {
    return DrawLogical(dc, rect.left, rect.top, ClampToLong(std::int64_t{rect.right} - rect.left),
                       ClampToLong(std::int64_t{rect.bottom} - rect.top));
}

int CRaster::DrawDevice(CDC& dc, std::int64_t x, std::int64_t y, std::int64_t cx, std::int64_t cy,
                        const RECT* clip, bool smooth) const {
    x = std::clamp(x, -kDeviceRange, kDeviceRange);
    y = std::clamp(y, -kDeviceRange, kDeviceRange);
    CRect box = dc.GetDeviceClipBox();
    if (clip && !box.IntersectRect(box, CRect(*clip)))
        return 1;
    const CRect area(ClampToLong(std::clamp<std::int64_t>(x, box.left, box.right)),
                     ClampToLong(std::clamp<std::int64_t>(y, box.top, box.bottom)),
                     ClampToLong(std::clamp<std::int64_t>(x + cx, box.left, box.right)),
                     ClampToLong(std::clamp<std::int64_t>(y + cy, box.top, box.bottom)));
    if (area.IsRectEmpty())
        return 1;
    IDcBackEnd* backEnd = dc.BackEnd();
    RasterSurface* surface = backEnd->Raster();
    if (!surface) {
        auto whole = WholePicture(*this);
        if (!whole)
            return 0;
        const int saved = dc.SaveDC();
        if (clip) {
            dc.SetMapMode(MM_TEXT);
            dc.SetWindowOrg(0, 0);
            dc.SetViewportOrg(0, 0);
            dc.IntersectClipRect(clip);
        }
        backEnd->DrawSurface(
            *whole, whole->Rect(),
            CRect(ClampToLong(x), ClampToLong(y), ClampToLong(x + cx), ClampToLong(y + cy)));
        dc.RestoreDC(saved);
        return 1;
    }
    const RasterDrawSampler sampler(*this, x, y, cx, cy, area, smooth);
    std::vector<std::uint32_t> samples(static_cast<std::size_t>(area.Width()));
    std::uint32_t* pixels = surface->Pixels();
    const std::size_t step = static_cast<std::size_t>(surface->Stride() / 4);
    for (LONG row = area.top; row < area.bottom; ++row) {
        std::uint32_t* target = pixels + step * std::size_t(row) + std::size_t(area.left);
        if (sampler.Composed()) {
            sampler.SampleRow(row, samples.data());
            if (sampler.Blends())
                ComposeRow(samples.data(), target, samples.size());
            else
                CoverRow(samples.data(), target, samples.size());
        } else {
            sampler.SampleRow(row, target);
        }
    }
    surface->MarkDirty();
    return 1;
}
