#include "platform/RasterBackEnd.h"

#include "platform/CairoBrush.h"
#include "platform/GeometricStroke.h"
#include "platform/HatchPattern.h"
#include "platform/PenDashes.h"
#include "platform/PixelLine.h"
#include "platform/PolygonScanner.h"
#include "platform/TextLayout.h"
#include "platform/ThickLine.h"

#include <cairo.h>

#include <algorithm>
#include <cstring>

RasterBackEnd::RasterBackEnd(std::shared_ptr<RasterSurface> surface, DeviceCaps caps)
    : surface_(std::move(surface)), caps_(caps), clip_(surface_->Rect()) {}

void RasterBackEnd::SetSurface(std::shared_ptr<RasterSurface> surface) {
    surface_ = std::move(surface);
}

void RasterBackEnd::SetResolution(int dpiX, int dpiY) {
    caps_.dpiX = dpiX;
    caps_.dpiY = dpiY;
}

DeviceCaps RasterBackEnd::Caps() const {
    DeviceCaps c = caps_;
    if (c.technology != DT_RASPRINTER) {
        c.horzRes = surface_->Width();
        c.vertRes = surface_->Height();
    }
    return c;
}

CRect RasterBackEnd::Clip() const {
    CRect c;
    c.IntersectRect(clip_, surface_->Rect());
    return c;
}

void RasterBackEnd::Stroke(const std::vector<CPoint>& points, bool closed, const DevicePen& pen,
                           const Background& bk) {
    if (pen.IsNull() || points.empty())
        return;
    if (pen.geometric && pen.width > 1) {
        DeviceBrush ink;
        ink.color = pen.color;
        for (const std::vector<CPoint>& part :
             GeometricStrokePolygons(points, closed, pen.style, pen.width))
            FillPolygon(part, WINDING, ink, bk);
    } else if (pen.width <= 1)
        StrokeThin(points, closed, pen, bk);
    else
        StrokeWide(points, closed, pen);
}

namespace {

// One run as a single Stroke call draws it with a one-pixel pen.
void ThinRun(PixelLine& line, const CPoint* points, std::size_t count, bool closed) {
    if (closed && count == 2 && line.IsSolid() &&
        (points[0].x == points[1].x) != (points[0].y == points[1].y)) {
        line.Straight(points[0], points[1]); // a wall along the lattice, there and back
        return;
    }
    bool moved = false;
    for (std::size_t i = 1; i < count; ++i) {
        line.Segment(points[i - 1], points[i]);
        moved = moved || !(points[i] == points[0]);
    }
    if (closed) {
        if (moved)
            line.Segment(points[count - 1], points[0]);
        else
            line.Dot(points[0]); // a closed figure always shows its vertex
    }
}

void WideRun(ThickLine& line, const CPoint* points, std::size_t count, bool closed) {
    if (count == 1)
        line.Segment(points[0], points[0]);
    for (std::size_t i = 1; i < count; ++i)
        line.Segment(points[i - 1], points[i]);
    if (closed && count > 2)
        line.Segment(points[count - 1], points[0]);
}

} // namespace

PixelLine RasterBackEnd::ThinLine(const DevicePen& pen, const Background& bk,
                                  const std::vector<int>& dashes) {
    return PixelLine(surface_->Pixels(), surface_->Stride() / 4, Clip(),
                     RasterSurface::ToPixel(pen.color), dashes, bk.IsOpaque() && !dashes.empty(),
                     RasterSurface::ToPixel(bk.color));
}

ThickLine RasterBackEnd::WideLine(const DevicePen& pen) {
    return ThickLine(surface_->Pixels(), surface_->Stride() / 4, Clip(),
                     RasterSurface::ToPixel(pen.color), pen.width);
}

void RasterBackEnd::StrokeThin(const std::vector<CPoint>& points, bool closed, const DevicePen& pen,
                               const Background& bk) {
    PixelLine line = ThinLine(pen, bk, PenDashes(pen.style));
    ThinRun(line, points.data(), points.size(), closed);
    surface_->MarkDirty();
}

void RasterBackEnd::StrokeWide(const std::vector<CPoint>& points, bool closed,
                               const DevicePen& pen) {
    ThickLine line = WideLine(pen);
    WideRun(line, points.data(), points.size(), closed);
    surface_->MarkDirty();
}

void RasterBackEnd::StrokeRuns(const std::vector<CPoint>& points, const std::vector<int>& counts,
                               bool closed, const DevicePen& pen, const DeviceBrush& brush,
                               int fillMode, const Background& bk) {
    if (closed && std::any_of(counts.begin(), counts.end(), [](int n) { return n > 2; })) {
        IDcBackEnd::StrokeRuns(points, counts, closed, pen, brush, fillMode, bk);
        return;
    }
    if (pen.IsNull() || points.empty())
        return;
    std::size_t first = 0;
    if (pen.geometric && pen.width > 1) {
        for (const int n : counts) {
            Stroke({points.begin() + static_cast<std::ptrdiff_t>(first),
                    points.begin() + static_cast<std::ptrdiff_t>(first + n)},
                   closed, pen, bk);
            first += static_cast<std::size_t>(n);
        }
        return;
    }
    if (pen.width > 1) {
        ThickLine line = WideLine(pen);
        for (const int n : counts) {
            WideRun(line, points.data() + first, static_cast<std::size_t>(n), closed);
            first += static_cast<std::size_t>(n);
        }
    } else {
        const std::vector<int> dashes = PenDashes(pen.style);
        PixelLine solid = ThinLine(pen, bk, dashes);
        for (const int n : counts) {
            if (dashes.empty()) {
                ThinRun(solid, points.data() + first, static_cast<std::size_t>(n), closed);
            } else {
                // Each run starts its dash pattern afresh, as a call of its own would.
                PixelLine line = ThinLine(pen, bk, dashes);
                ThinRun(line, points.data() + first, static_cast<std::size_t>(n), closed);
            }
            first += static_cast<std::size_t>(n);
        }
    }
    surface_->MarkDirty();
}

void RasterBackEnd::PaintSpan(std::uint32_t* row, int y, int x0, int x1, const DeviceBrush& brush,
                              const Background& bk) {
    if (brush.style == BS_SOLID) {
        std::fill(row + x0, row + x1, RasterSurface::ToPixel(brush.color));
        return;
    }
    const std::uint32_t ink = RasterSurface::ToPixel(brush.color);
    const std::uint32_t paper = RasterSurface::ToPixel(bk.color);
    for (int x = x0; x < x1; ++x) {
        if (HatchCovers(brush.hatch, x, y))
            row[x] = ink;
        else if (bk.IsOpaque())
            row[x] = paper;
    }
}

void RasterBackEnd::FillPolygon(const std::vector<CPoint>& points, int fillMode,
                                const DeviceBrush& brush, const Background& bk) {
    if (brush.IsNull())
        return;
    const PolygonScanner scanner(points, fillMode);
    CRect area;
    if (scanner.IsEmpty() || !area.IntersectRect(scanner.Bounds(), Clip()))
        return;
    std::vector<PolygonScanner::Span> spans;
    for (int y = area.top; y < area.bottom; ++y) {
        scanner.Row(y, spans);
        std::uint32_t* row = surface_->Row(y);
        for (const auto& s : spans) {
            const int x0 = std::max<int>(s.x0, area.left), x1 = std::min<int>(s.x1, area.right);
            if (x0 < x1)
                PaintSpan(row, y, x0, x1, brush, bk);
        }
    }
    surface_->MarkDirty();
}

void RasterBackEnd::FillRect(const CRect& rect, const DeviceBrush& brush, const Background& bk) {
    CRect area;
    if (brush.IsNull() || !area.IntersectRect(rect, Clip()))
        return;
    for (int y = area.top; y < area.bottom; ++y)
        PaintSpan(surface_->Row(y), y, area.left, area.right, brush, bk);
    surface_->MarkDirty();
}

cairo_t* RasterBackEnd::BeginClipped() {
    const CRect clip = Clip();
    if (clip.IsRectEmpty())
        return nullptr;
    cairo_t* cr = surface_->Cairo();
    cairo_save(cr);
    cairo_rectangle(cr, clip.left, clip.top, clip.Width(), clip.Height());
    cairo_clip(cr);
    return cr;
}

void RasterBackEnd::Ellipse(const CRect& box, const DevicePen& pen, const DeviceBrush& brush,
                            const Background& bk) {
    cairo_t* cr = BeginClipped();
    if (!cr)
        return;
    if (!brush.IsNull())
        SetCairoBrush(cr, brush, bk);
    cairo_translate(cr, 0.5, 0.5);
    const double rx = (box.right - box.left) / 2.0, ry = (box.bottom - box.top) / 2.0;
    if (rx > 0 && ry > 0) {
        cairo_save(cr);
        cairo_translate(cr, box.left + rx, box.top + ry);
        cairo_scale(cr, rx, ry);
        cairo_arc(cr, 0, 0, 1, 0, 2 * 3.14159265358979323846);
        cairo_restore(cr);
        if (!brush.IsNull())
            cairo_fill_preserve(cr);
        if (!pen.IsNull()) {
            SetCairoColor(cr, pen.color);
            cairo_set_line_width(cr, pen.width);
            cairo_stroke(cr);
        }
    }
    cairo_new_path(cr);
    cairo_restore(cr);
}

void RasterBackEnd::InvertPixel(int x, int y) {
    const CRect clip = Clip();
    if (clip.PtInRect({x, y}))
        surface_->Row(y)[x] ^= 0x00FFFFFFu;
}

void RasterBackEnd::InvertRect(const CRect& rect) {
    CRect area;
    if (!area.IntersectRect(rect, Clip()))
        return;
    for (int y = area.top; y < area.bottom; ++y) {
        std::uint32_t* row = surface_->Row(y);
        for (int x = area.left; x < area.right; ++x)
            row[x] ^= 0x00FFFFFFu;
    }
    surface_->MarkDirty();
}

void RasterBackEnd::FocusRect(const CRect& rect) {
    if (rect.IsRectEmpty())
        return;
    const int l = rect.left, t = rect.top, r = rect.right - 1, b = rect.bottom - 1;
    for (int x = l; x <= r; x += 2) {
        InvertPixel(x, t);
        if (b != t)
            InvertPixel(x, b);
    }
    for (int y = t + 2; y < b; y += 2) {
        InvertPixel(l, y);
        if (r != l)
            InvertPixel(r, y);
    }
    surface_->MarkDirty();
}

void RasterBackEnd::DrawText(const TextLayout& layout, const TextPlacement& where) {
    cairo_t* cr = BeginClipped();
    if (!cr)
        return;
    layout.Show(cr, where);
    cairo_restore(cr);
}

COLORREF RasterBackEnd::GetPixel(CPoint p) {
    if (!Clip().PtInRect(p))
        return CLR_INVALID;
    return RasterSurface::ToColor(surface_->Row(p.y)[p.x]);
}

void RasterBackEnd::SetPixel(CPoint p, COLORREF color) {
    if (!Clip().PtInRect(p))
        return;
    surface_->Row(p.y)[p.x] = RasterSurface::ToPixel(color);
    surface_->MarkDirty();
}

void RasterBackEnd::DrawSurface(RasterSurface& source, const CRect& from, const CRect& to) {
    if (from.Width() != to.Width() || from.Height() != to.Height()) {
        CopyScaled(source, from, to);
        return;
    }
    // Same size: clip the destination, then the source, keeping them aligned.
    CRect dst;
    if (!dst.IntersectRect(to, Clip()))
        return;
    CRect src(dst);
    src.OffsetRect(from.left - to.left, from.top - to.top);
    CRect srcClipped;
    if (!srcClipped.IntersectRect(src, source.Rect()))
        return;
    dst.OffsetRect(srcClipped.left - src.left, srcClipped.top - src.top);
    const int w = srcClipped.Width(), h = srcClipped.Height();
    const bool same = &source == surface_.get();
    const bool upward = same && dst.top > srcClipped.top;
    source.Pixels();
    for (int j = 0; j < h; ++j) {
        const int k = upward ? h - 1 - j : j;
        const std::uint32_t* s = source.Row(srcClipped.top + k) + srcClipped.left;
        std::uint32_t* d = surface_->Row(dst.top + k) + dst.left;
        std::memmove(d, s, static_cast<size_t>(w) * 4);
    }
    surface_->MarkDirty();
}

void RasterBackEnd::CopyScaled(RasterSurface& source, const CRect& from, const CRect& to) {
    CRect fromN(from), toN(to);
    fromN.NormalizeRect();
    toN.NormalizeRect();
    CRect dst;
    if (fromN.IsRectEmpty() || !dst.IntersectRect(toN, Clip()))
        return;
    // Mirrored when exactly one of the two rectangles runs backwards.
    const bool flipX = (from.Width() < 0) != (to.Width() < 0);
    const bool flipY = (from.Height() < 0) != (to.Height() < 0);
    const double fx = static_cast<double>(fromN.Width()) / toN.Width();
    const double fy = static_cast<double>(fromN.Height()) / toN.Height();
    std::vector<std::uint32_t> copy; // the source may be this very surface
    const bool same = &source == surface_.get();
    const int sw = source.Width();
    if (same) {
        const std::uint32_t* all = source.Pixels();
        copy.assign(all, all + static_cast<size_t>(source.Stride() / 4) * source.Height());
    }
    const std::uint32_t* base = same ? copy.data() : source.Pixels();
    const int strideSrc = source.Stride() / 4;
    for (int y = dst.top; y < dst.bottom; ++y) {
        int v = static_cast<int>((y - toN.top) * fy);
        if (flipY)
            v = fromN.Height() - 1 - v;
        const int sy = fromN.top + v;
        if (sy < 0 || sy >= source.Height())
            continue;
        std::uint32_t* d = surface_->Row(y);
        for (int x = dst.left; x < dst.right; ++x) {
            int u = static_cast<int>((x - toN.left) * fx);
            if (flipX)
                u = fromN.Width() - 1 - u;
            const int sx = fromN.left + u;
            if (sx >= 0 && sx < sw)
                d[x] = base[static_cast<size_t>(sy) * strideSrc + sx];
        }
    }
    surface_->MarkDirty();
}
