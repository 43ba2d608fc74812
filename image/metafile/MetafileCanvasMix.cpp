// Raster operations of the metafile canvas: drawing through scratch bands and mixing them
// into the output pixel by pixel, for the modes a plain device context does not have, and
// pictures copied with those modes.
#include "image/metafile/MetafileCanvas.h"

#include "image/core/CRaster.h"
#include "image/core/PictureBudget.h"
#include "image/metafile/ClipRects.h"
#include "image/metafile/PolygonSpans.h"
#include "image/metafile/RasterMix.h"
#include "platform/CBitmap.h"
#include "platform/CBrush.h"
#include "platform/CDC.h"
#include "platform/CFont.h"
#include "platform/CPen.h"
#include "platform/RasterSurface.h"

#include "image/metafile/MetafileCanvasLimits.h"
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

using namespace metafile_canvas;

// One band of the output, drawn into through a context that maps output pixels onto it.
struct MetafileCanvas::Scratch {
    CBitmap bitmap;
    CDC dc;
    bool Make(LONG width, LONG height) {
        return bitmap.CreateBitmap32(width, height) && dc.CreateCompatibleDC(nullptr) &&
               dc.SelectObject(&bitmap) != nullptr;
    }
    void Place(const CRect& band, COLORREF fill) {
        dc.SetViewportOrg(-band.left, -band.top);
        dc.SelectClipRgn(nullptr);
        dc.IntersectClipRect(band.left, band.top, band.right, band.bottom);
        dc.FillSolidRect(&band, fill);
    }
    // Row y of the band.
    const std::uint32_t* Row(LONG y) { return bitmap.Surface()->Row(y); }
};

std::shared_ptr<const MetafileCanvas::Pattern>
MetafileCanvas::Pattern::From(const CRaster& picture) {
    const LONG w = LONG(picture.GetWidth()), h = LONG(picture.GetHeight());
    if (w < 1 || h < 1 || w > kMaxPatternSide || h > kMaxPatternSide)
        return nullptr;
    auto p = std::make_shared<Pattern>();
    p->width = w;
    p->height = h;
    for (LONG y = 0; y < h; ++y) {
        for (LONG x = 0; x < w; ++x) {
            const RGBQUAD c = picture.GetPixelColor(x, h - 1 - y, false);
            p->pixels.push_back(RasterSurface::ToPixel(RGB(c.rgbRed, c.rgbGreen, c.rgbBlue)));
        }
    }
    return p;
}

// ---- raster operations ----------------------------------------------------------------------

// For each band of the area, `draw` paints the two scratch pictures and `mix` sets each output
// pixel from theirs. Bands start on the 8-pixel grid, so that hatches keep their phase.
template <class Draw, class Mix>
void MetafileCanvas::ForEachBand(const CRect& area, RasterSurface& out, Draw draw, Mix mix) {
    const LONG left = area.left & ~7, width = area.right - left;
    const LONG rows = std::max<LONG>(8, (kBandPixels / width) & ~7);
    std::array<Scratch, kLayers> scratch;
    for (Scratch& layer : scratch) {
        if (!layer.Make(width, rows))
            return;
    }
    CDC* const output = dc_;
    for (LONG top = area.top & ~7; top < area.bottom; top += rows) {
        const CRect band(left, top, area.right, std::min(top + rows, area.bottom));
        draw(band, scratch);
        dc_ = output;
        for (LONG y = std::max(band.top, area.top); y < band.bottom; ++y) {
            std::array<const std::uint32_t*, kLayers> row;
            for (std::size_t i = 0; i < kLayers; ++i)
                row[i] = scratch[i].Row(y - band.top) - band.left;
            std::uint32_t* d = out.Row(y);
            for (LONG x = std::max(band.left, area.left); x < band.right; ++x)
                d[x] = mix({row[0][x], row[1][x], row[2][x]}, x, y, d[x]);
        }
    }
    out.MarkDirty();
}

// Under a mix mode other than copy, or with a pattern brush, `draw` runs into scratch pictures
// for each band: cleared black with a black brush, cleared white with a white brush, and
// cleared black with a white brush. Where the first two agree the pen drew that colour; where
// the first and last differ the brush painted, in the pattern. What was drawn is then mixed
// into the output by the mode.
void MetafileCanvas::Mixed(const CRect& box, const std::function<void()>& draw, Ink ink) {
    RasterSurface* out = dc_->BackEnd() ? dc_->BackEnd()->Raster() : nullptr;
    const bool patterned = ink == Ink::Shape || ink == Ink::Brush;
    const Pattern* pattern = patterned ? state_.pattern.get() : nullptr;
    const bool mixes = ink == Ink::Shape || ink == Ink::Line;
    const int mode = mixes ? state_.rop2 : RasterMix::kCopyPen;
    CRect area;
    if ((mode == RasterMix::kCopyPen && !pattern) || mixing_ || !out) {
        draw();
        return;
    }
    if (!area.IntersectRect(box, ClipBox()) || !Spend(3 * AreaCost(area)))
        return;
    mixing_ = true;
    constexpr COLORREF kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255);
    ForEachBand(
        area, *out,
        [&](const CRect& band, std::array<Scratch, kLayers>& ink) {
            const COLORREF clear[kLayers] = {kBlack, kWhite, kBlack};
            const COLORREF paint[kLayers] = {kBlack, kWhite, kWhite};
            for (std::size_t i = 0; i < (pattern ? kLayers : 2); ++i) {
                ink[i].Place(band, clear[i]);
                dc_ = &ink[i].dc;
                if (pattern)
                    brushOverride_ = paint[i];
                draw();
            }
            brushOverride_.reset();
        },
        [mode, pattern](const std::array<std::uint32_t, kLayers>& px, LONG x, LONG y,
                        std::uint32_t d) {
            if (pattern && ((px[0] ^ px[2]) & 0xFFFFFF) != 0)
                return RasterMix::Binary(mode, pattern->At(x, y), d);
            return ((px[0] ^ px[1]) & 0xFFFFFF) == 0 ? RasterMix::Binary(mode, px[0], d) : d;
        });
    mixing_ = false;
}

// Pattern (the brush), source (what `source` draws, when the operation reads it) and the
// output combined by the operation's table over the box.
void MetafileCanvas::Ternary(const CRect& box, DWORD rop, const std::function<void()>& source) {
    const unsigned table = RasterMix::TernaryTable(rop);
    const std::function<void()> brush = [&] {
        SelectBrush();
        dc_->SetBkMode(state_.bkMode);
        dc_->SetBkColor(state_.bkColor);
        dc_->FillRect(&bounds_, &brush_);
    };
    const bool brushed = RasterMix::UsesPattern(table) && !state_.pattern;
    Combine(box, brushed ? &brush : nullptr, RasterMix::UsesSource(table) ? &source : nullptr,
            [table, pattern = state_.pattern.get()](std::uint32_t pat, std::uint32_t src, LONG x,
                                                    LONG y, std::uint32_t d) {
                return RasterMix::Ternary(table, pattern ? pattern->At(x, y) : pat, src, d);
            });
}

// What `first` draws on black in the first layer and `second` on white in the second (each
// when given), then `mix` (first, second, x, y, output) for each pixel of the box.
template <class Mix>
void MetafileCanvas::Combine(const CRect& box, const std::function<void()>* first,
                             const std::function<void()>* second, Mix mix) {
    RasterSurface* out = dc_->BackEnd() ? dc_->BackEnd()->Raster() : nullptr;
    CRect area;
    if (!out || !area.IntersectRect(box, ClipBox()) || !Spend(2 * AreaCost(area)))
        return;
    ForEachBand(
        area, *out,
        [&](const CRect& band, std::array<Scratch, kLayers>& layer) {
            if (first) {
                layer[0].Place(band, RGB(0, 0, 0));
                dc_ = &layer[0].dc;
                (*first)();
            }
            if (second) {
                layer[1].Place(band, RGB(255, 255, 255));
                dc_ = &layer[1].dc;
                (*second)();
            }
        },
        [&mix](const std::array<std::uint32_t, kLayers>& px, LONG x, LONG y, std::uint32_t d) {
            return mix(px[0], px[1], x, y, d);
        });
}

void MetafileCanvas::Blit(const CRaster& picture, double x, double y, double cx, double cy,
                          BlitMix how) {
    const MetafileMatrix m = Full();
    const Point a = m.Apply(x, y), b = m.Apply(x + cx, y + cy);
    const LONG x0 = ToDevice(a.x), y0 = ToDevice(a.y), x1 = ToDevice(b.x), y1 = ToDevice(b.y);
    if (x0 == x1 || y0 == y1)
        return;
    const CRect to(std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1));
    if (!Spend(AreaCost(to) + std::uint64_t(picture.GetWidth()) * picture.GetHeight()))
        return;
    // Copies only when mirrored, so that a large picture is held once.
    const bool turned = x1 < x0 || y1 < y0;
    CRaster turnedPicture, opacity;
    if (turned)
        turnedPicture = picture;
    const CRaster& placed = turned ? turnedPicture : picture;
    if (how.opacity)
        opacity = *how.opacity;
    for (CRaster* p : {&turnedPicture, &opacity}) {
        if (x1 < x0)
            p->Mirror();
        if (y1 < y0)
            p->Flip();
    }
    Paint(
        to,
        [&] {
            const CRect clip = ClipBox();
            const std::function<void()> draw = [&] {
                placed.Draw(*dc_, to.left, to.top, to.Width(), to.Height(), &clip);
            };
            const DWORD value = how.value;
            switch (how.kind) {
            case BlitMix::Kind::Rop:
                if (value == SRCCOPY)
                    draw();
                else
                    Ternary(to, value, draw);
                break;
            case BlitMix::Kind::Alpha: {
                // The picture's colours come premultiplied by its own opacity, when it has one.
                const bool own = how.opacity != nullptr;
                const std::function<void()> alpha = [&] {
                    opacity.Draw(*dc_, to.left, to.top, to.Width(), to.Height(), &clip);
                };
                Combine(
                    to, own ? &alpha : nullptr, &draw,
                    [value, own](std::uint32_t a, std::uint32_t src, LONG, LONG, std::uint32_t d) {
                        const std::uint32_t cover = own ? (a & 0xFF) * value / 255 : value;
                        std::uint32_t r = 0xFF000000u;
                        for (int shift = 0; shift < 24; shift += 8) {
                            const std::uint32_t s = (src >> shift) & 0xFF, b = (d >> shift) & 0xFF;
                            r |= std::min<std::uint32_t>(
                                     255, (s * value + b * (255 - cover) + 127) / 255)
                                 << shift;
                        }
                        return r;
                    });
                break;
            }
            case BlitMix::Kind::Transparent:
                Combine(to, nullptr, &draw,
                        [value](std::uint32_t, std::uint32_t src, LONG, LONG, std::uint32_t d) {
                            return RasterSurface::ToColor(src) == (value & 0xFFFFFF) ? d : src;
                        });
                break;
            }
        },
        Ink::Plain);
}
