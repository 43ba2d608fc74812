#include "platform/VectorBackEnd.h"

#include "platform/CairoBrush.h"
#include "platform/PenDashes.h"
#include "platform/RasterSurface.h"
#include "platform/TextLayout.h"

#include <cairo.h>

#include <cmath>

bool VectorBackEnd::PenKey::Same(const DevicePen& p, const Background& b) const {
    return pen.style == p.style && pen.width == p.width && pen.color == p.color &&
           (pen.style == PS_SOLID || (bk.mode == b.mode && bk.color == b.color));
}

VectorBackEnd::VectorBackEnd(IPrintPageService& pages) : pages_(pages), clip_(Bounds()) {}

VectorBackEnd::~VectorBackEnd() {
    Flush();
}

DeviceCaps VectorBackEnd::Caps() const {
    const PrintPageSetup s = pages_.Setup();
    DeviceCaps caps;
    caps.technology = DT_RASPRINTER;
    caps.dpiX = caps.dpiY = s.dpi;
    caps.physicalWidth = static_cast<int>(static_cast<long long>(s.paperWidth) * s.dpi / 1000);
    caps.physicalHeight = static_cast<int>(static_cast<long long>(s.paperHeight) * s.dpi / 1000);
    caps.physicalOffsetX = s.offsetX;
    caps.physicalOffsetY = s.offsetY;
    caps.horzRes = caps.physicalWidth - 2 * s.offsetX;
    caps.vertRes = caps.physicalHeight - 2 * s.offsetY;
    caps.bitsPixel = 24;
    return caps;
}

CRect VectorBackEnd::Bounds() const {
    const DeviceCaps c = Caps();
    return {0, 0, c.horzRes, c.vertRes};
}

void VectorBackEnd::SetClip(const CRect& clip) {
    // Pending strokes stay batched while the clip does not change: one stroke per run of
    // walls keeps print files small.
    if (clip == clip_)
        return;
    Flush();
    clip_ = clip;
}

cairo_t* VectorBackEnd::Begin() {
    cairo_t* cr = pages_.PageContext();
    if (!cr)
        return nullptr;
    const PrintPageSetup s = pages_.Setup();
    cairo_save(cr);
    cairo_scale(cr, 72.0 / s.dpi, 72.0 / s.dpi);
    cairo_translate(cr, s.offsetX, s.offsetY);
    cairo_rectangle(cr, clip_.left, clip_.top, clip_.Width(), clip_.Height());
    cairo_clip(cr);
    cairo_new_path(cr);
    return cr;
}

void VectorBackEnd::End(cairo_t* cr) {
    cairo_new_path(cr);
    cairo_restore(cr);
}

void VectorBackEnd::ApplyPen(cairo_t* cr, const DevicePen& pen) const {
    cairo_set_line_width(cr, pen.width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    SetCairoColor(cr, pen.color);
}

void VectorBackEnd::Flush() {
    if (!pending_)
        return;
    pending_ = false;
    cairo_t* cr = pages_.PageContext();
    if (!cr)
        return;
    // The path was built inside Begin's transform and is kept across calls until now.
    const std::vector<int> dashes = PenDashes(pendingPen_.pen.style);
    if (!dashes.empty()) {
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
        if (pendingPen_.bk.IsOpaque()) {
            SetCairoColor(cr, pendingPen_.bk.color);
            cairo_stroke_preserve(cr);
            SetCairoColor(cr, pendingPen_.pen.color);
        }
        std::vector<double> d(dashes.begin(), dashes.end());
        cairo_set_dash(cr, d.data(), static_cast<int>(d.size()), 0);
    }
    cairo_stroke(cr);
    End(cr);
}

void VectorBackEnd::Stroke(const std::vector<CPoint>& points, bool closed, const DevicePen& pen,
                           const Background& bk) {
    if (pen.IsNull() || points.empty())
        return;
    if (pending_ && !pendingPen_.Same(pen, bk))
        Flush();
    cairo_t* cr = pending_ ? pages_.PageContext() : Begin();
    if (!cr)
        return;
    if (!pending_) {
        ApplyPen(cr, pen);
        pending_ = true;
        pendingPen_ = {pen, bk};
    }
    // Device point (x, y) is the centre of pixel (x, y).
    cairo_move_to(cr, points[0].x + 0.5, points[0].y + 0.5);
    for (size_t i = 1; i < points.size(); ++i)
        cairo_line_to(cr, points[i].x + 0.5, points[i].y + 0.5);
    if (points.size() == 1)
        cairo_line_to(cr, points[0].x + 0.5, points[0].y + 0.5);
    if (closed)
        cairo_close_path(cr);
}

void VectorBackEnd::FillPolygon(const std::vector<CPoint>& points, int fillMode,
                                const DeviceBrush& brush, const Background& bk) {
    // Nothing drawn keeps the pending strokes batched.
    if (brush.IsNull() || points.size() < 3)
        return;
    Flush();
    cairo_t* cr = Begin();
    if (!cr)
        return;
    SetCairoBrush(cr, brush, bk);
    cairo_move_to(cr, points[0].x, points[0].y);
    for (size_t i = 1; i < points.size(); ++i)
        cairo_line_to(cr, points[i].x, points[i].y);
    cairo_close_path(cr);
    cairo_set_fill_rule(cr,
                        fillMode == WINDING ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
    cairo_fill(cr);
    End(cr);
}

void VectorBackEnd::FillRect(const CRect& rect, const DeviceBrush& brush, const Background& bk) {
    if (brush.IsNull() || rect.IsRectEmpty())
        return;
    Flush();
    cairo_t* cr = Begin();
    if (!cr)
        return;
    SetCairoBrush(cr, brush, bk);
    cairo_rectangle(cr, rect.left, rect.top, rect.Width(), rect.Height());
    cairo_fill(cr);
    End(cr);
}

void VectorBackEnd::Ellipse(const CRect& box, const DevicePen& pen, const DeviceBrush& brush,
                            const Background& bk) {
    Flush();
    const double rx = (box.right - box.left) / 2.0, ry = (box.bottom - box.top) / 2.0;
    cairo_t* cr = Begin();
    if (!cr)
        return;
    if (rx > 0 && ry > 0) {
        if (!brush.IsNull())
            SetCairoBrush(cr, brush, bk);
        cairo_save(cr);
        cairo_translate(cr, box.left + rx + 0.5, box.top + ry + 0.5);
        cairo_scale(cr, rx, ry);
        cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
        cairo_restore(cr);
        if (!brush.IsNull())
            cairo_fill_preserve(cr);
        if (!pen.IsNull()) {
            ApplyPen(cr, pen);
            cairo_stroke(cr);
        }
    }
    End(cr);
}

void VectorBackEnd::InvertRect(const CRect& rect) {
    Flush();
    cairo_t* cr = Begin();
    if (!cr)
        return;
    // Paper has no pixels to flip; the difference blend shows the same result on white.
    cairo_set_operator(cr, CAIRO_OPERATOR_DIFFERENCE);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_rectangle(cr, rect.left, rect.top, rect.Width(), rect.Height());
    cairo_fill(cr);
    End(cr);
}

void VectorBackEnd::FocusRect(const CRect& rect) {
    if (rect.IsRectEmpty())
        return;
    Flush();
    cairo_t* cr = Begin();
    if (!cr)
        return;
    cairo_set_operator(cr, CAIRO_OPERATOR_DIFFERENCE);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_set_line_width(cr, 1);
    const double dash = 1;
    cairo_set_dash(cr, &dash, 1, 0);
    cairo_rectangle(cr, rect.left + 0.5, rect.top + 0.5, rect.Width() - 1, rect.Height() - 1);
    cairo_stroke(cr);
    End(cr);
}

void VectorBackEnd::DrawText(const TextLayout& layout, const TextPlacement& where) {
    Flush();
    cairo_t* cr = Begin();
    if (!cr)
        return;
    layout.Show(cr, where);
    End(cr);
}

COLORREF VectorBackEnd::GetPixel(CPoint) {
    return CLR_INVALID; // paper cannot be read back
}

void VectorBackEnd::SetPixel(CPoint p, COLORREF color) {
    DeviceBrush solid;
    solid.color = color;
    FillRect({p.x, p.y, p.x + 1, p.y + 1}, solid, Background{});
}

void VectorBackEnd::DrawSurface(RasterSurface& source, const CRect& from, const CRect& to) {
    if (from.Width() == 0 || from.Height() == 0 || to.Width() == 0 || to.Height() == 0)
        return;
    Flush();
    cairo_t* cr = Begin();
    if (!cr)
        return;
    source.Pixels(); // completes drawing still queued on the source
    cairo_translate(cr, to.left, to.top);
    cairo_scale(cr, static_cast<double>(to.Width()) / from.Width(),
                static_cast<double>(to.Height()) / from.Height());
    cairo_rectangle(cr, 0, 0, from.Width(), from.Height());
    cairo_clip(cr);
    cairo_set_source_surface(cr, source.CairoSurface(), -from.left, -from.top);
    // Keep maze walls crisp when the page image is enlarged.
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    End(cr);
}
