// Lines and shapes of the device context: lines, polylines, polygons, batches of runs,
// rectangles, ellipses, arcs and single pixels.
#include "platform/CDC.h"

#include "platform/PolylineBatch.h"

#include <algorithm>
#include <cmath>

CPoint CDC::MoveTo(int x, int y) {
    const CPoint old = state_.position;
    state_.position = {x, y};
    return old;
}

bool CDC::LineTo(int x, int y) {
    if (!backEnd_)
        return false;
    backEnd_->Stroke({Dev(state_.position.x, state_.position.y), Dev(x, y)}, false, Pen(), Bk());
    state_.position = {x, y};
    return true;
}

bool CDC::Polyline(const POINT* points, int count) {
    if (!backEnd_ || !points || count < 2)
        return false;
    backEnd_->Stroke(DevPoints(points, count), false, Pen(), Bk());
    return true;
}

bool CDC::Polygon(const POINT* points, int count) {
    if (!backEnd_ || !points || count < 2)
        return false;
    const std::vector<CPoint> pts = DevPoints(points, count);
    backEnd_->FillPolygon(pts, state_.polyFillMode, Brush(state_.brushLog), Bk());
    backEnd_->Stroke(pts, true, Pen(), Bk());
    return true;
}

bool CDC::DrawBatch(const PolylineBatch& batch) {
    if (!backEnd_)
        return false;
    const DeviceAxis x = state_.mapping.XAxis(), y = state_.mapping.YAxis();
    const auto mapX = [&x](LONG v) { return std::clamp(x(v), -kDeviceLimit, kDeviceLimit); };
    const auto mapY = [&y](LONG v) { return std::clamp(y(v), -kDeviceLimit, kDeviceLimit); };
    batchX_.Reset();
    batchY_.Reset();
    const std::vector<CPoint>& points = batch.Points();
    batchPoints_.resize(points.size());
    DeviceAxisCache::MapPoints(batchX_, batchY_, points.data(), points.size(), batchPoints_.data(),
                               mapX, mapY);
    backEnd_->StrokeRuns(batchPoints_, batch.Counts(), batch.Closed(), Pen(),
                         Brush(state_.brushLog), state_.polyFillMode, Bk());
    return true;
}

bool CDC::PolyPolygon(const POINT* points, const int* counts, int polygons) {
    if (!backEnd_ || !points || !counts || polygons < 1)
        return false;
    // One outline for the fill: every polygon starts and ends at the first polygon's first
    // point. Each connecting line is crossed once each way, so it adds nothing to the fill
    // under either rule.
    std::vector<std::vector<CPoint>> rings;
    std::vector<CPoint> joined;
    const POINT* p = points;
    for (int i = 0; i < polygons; ++i) {
        if (counts[i] < 0)
            return false;
        rings.push_back(DevPoints(p, counts[i]));
        p += counts[i];
        if (rings.back().size() < 2)
            continue;
        joined.insert(joined.end(), rings.back().begin(), rings.back().end());
        joined.push_back(rings.back().front());
        if (!joined.empty() && joined.front() != rings.back().front())
            joined.push_back(joined.front());
    }
    backEnd_->FillPolygon(joined, state_.polyFillMode, Brush(state_.brushLog), Bk());
    for (const std::vector<CPoint>& ring : rings) {
        if (ring.size() >= 2)
            backEnd_->Stroke(ring, true, Pen(), Bk());
    }
    return true;
}

bool CDC::Rectangle(int left, int top, int right, int bottom) {
    if (!backEnd_)
        return false;
    // The outline runs through the last pixel inside the right and bottom edges, so the shape
    // covers left..right-1 by top..bottom-1; without a pen only the inside is filled.
    const CRect r = DevRect(left, top, right, bottom);
    if (r.IsRectEmpty())
        return true;
    const std::vector<CPoint> pts{
        {r.left, r.top}, {r.right - 1, r.top}, {r.right - 1, r.bottom - 1}, {r.left, r.bottom - 1}};
    backEnd_->FillPolygon(pts, ALTERNATE, Brush(state_.brushLog), Bk());
    backEnd_->Stroke(pts, true, Pen(), Bk());
    return true;
}

bool CDC::Rectangle(const RECT* rect) {
    return rect && Rectangle(rect->left, rect->top, rect->right, rect->bottom);
}

bool CDC::Ellipse(int left, int top, int right, int bottom) {
    if (!backEnd_)
        return false;
    const CRect r = DevRect(left, top, right, bottom);
    if (r.IsRectEmpty())
        return true;
    backEnd_->Ellipse(CRect(r.left, r.top, r.right - 1, r.bottom - 1), Pen(),
                      Brush(state_.brushLog), Bk());
    return true;
}

bool CDC::Ellipse(const RECT* rect) {
    return rect && Ellipse(rect->left, rect->top, rect->right, rect->bottom);
}

bool CDC::Arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) {
    if (!backEnd_)
        return false;
    const CRect r = DevRect(left, top, right, bottom);
    const CPoint s = Dev(x3, y3), e = Dev(x4, y4);
    const double cx = (r.left + r.right - 1) / 2.0, cy = (r.top + r.bottom - 1) / 2.0;
    const double rx = (r.Width() - 1) / 2.0, ry = (r.Height() - 1) / 2.0;
    if (rx <= 0 || ry <= 0)
        return true;
    // Angles as seen on the device: counter-clockwise is toward smaller y.
    const double a0 = std::atan2(-(s.y - cy), s.x - cx);
    double a1 = std::atan2(-(e.y - cy), e.x - cx);
    if (a1 <= a0)
        a1 += 2 * M_PI;
    const int steps = std::clamp(static_cast<int>((a1 - a0) * std::max(rx, ry) / 2), 8, 2048);
    std::vector<CPoint> pts;
    for (int i = 0; i <= steps; ++i) {
        const double a = a0 + (a1 - a0) * i / steps;
        pts.push_back({static_cast<LONG>(std::lround(cx + rx * std::cos(a))),
                       static_cast<LONG>(std::lround(cy - ry * std::sin(a)))});
    }
    backEnd_->Stroke(pts, false, Pen(), Bk());
    return true;
}

COLORREF CDC::SetPixel(int x, int y, COLORREF color) {
    if (!backEnd_)
        return CLR_INVALID;
    const CPoint d = Dev(x, y);
    if (!EffectiveClip().PtInRect(d))
        return CLR_INVALID;
    backEnd_->SetPixel(d, color & 0x00FFFFFF);
    return color & 0x00FFFFFF;
}

COLORREF CDC::GetPixel(int x, int y) const {
    return backEnd_ ? backEnd_->GetPixel(Dev(x, y)) : CLR_INVALID;
}
