#include "gesture/GestureThumbnail.h"

#include "gesture/GestureFeatures.h"
#include "gesture/GestureNames.h"
#include "image/core/CRaster.h"
#include "platform/CBitmap.h"
#include "platform/CDC.h"
#include "platform/CFont.h"
#include "platform/CPen.h"
#include "platform/GdiConstants.h"
#include "platform/TextFormat.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr int kSegmentPens = 8;

// A memory context over a fresh picture-sized bitmap.
class PictureCanvas {
public:
    PictureCanvas() {
        ok_ = bitmap_.CreateBitmap32(GestureThumbnail::kSize, GestureThumbnail::kSize) &&
              dc_.CreateCompatibleDC(nullptr);
        if (ok_)
            old_ = dc_.SelectObject(&bitmap_);
    }
    ~PictureCanvas() {
        if (ok_)
            dc_.SelectObject(old_);
    }
    PictureCanvas(const PictureCanvas&) = delete;
    PictureCanvas& operator=(const PictureCanvas&) = delete;

    bool Ok() const { return ok_; }
    CDC& Dc() { return dc_; }
    bool CopyTo(CRaster& image) {
        dc_.Flush();
        return image.CreateFromBitmap(bitmap_);
    }

private:
    CBitmap bitmap_;
    CDC dc_;
    CBitmap* old_ = nullptr;
    bool ok_ = false;
};

struct Extent {
    LONG minX = 0, maxX = 0, minY = 0, maxY = 0;
    void Add(const CPoint& p) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
};

// Steps from `origin` along the angles; every third step also drifts one pixel right and
// down, which gives the shapes their slant.
void Walk(std::span<const float> angles, CPoint origin, double step, Extent& extent,
          std::vector<CPoint>* out) {
    CPoint p = origin;
    for (std::size_t k = 0; k < angles.size(); ++k) {
        const LONG bump = k % 3 == 2 ? 1 : 0;
        const double radians = angles[k] * kGestureDegreesToRadians;
        p.x += static_cast<LONG>(std::trunc(std::sin(radians) * step)) + bump;
        p.y += static_cast<LONG>(std::trunc(std::cos(radians) * step)) + bump;
        extent.Add(p);
        if (out)
            out->push_back(p);
    }
}

} // namespace

void GestureThumbnail::DrawStrokePoints(CDC& dc, const std::vector<CPoint>& raw,
                                        const std::vector<CPoint>& resampled) {
    for (const CPoint& p : raw)
        dc.SetPixel(p, RGB(255, 0, 0));
    static constexpr CPoint kPlus[] = {{0, 0}, {-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    for (const CPoint& p : resampled)
        for (const CPoint& d : kPlus)
            dc.SetPixel(p + d, RGB(0, 0, 255));
}

COLORREF GestureThumbnail::SegmentPenColour(int pen) {
    return RGB(255 - 31 * pen, 0, 31 * pen);
}

std::vector<CPoint> GestureThumbnail::AnglesToPoints(std::span<const float> angles,
                                                     const CRect& rect) {
    if (angles.size() < 2)
        return {};
    const int w = rect.Width(), h = rect.Height();
    const int mx = static_cast<int>(w * 0.1), my = static_cast<int>(h * 0.1);
    const int innerW = w - 2 * mx, innerH = h - 2 * my;
    const double steps = static_cast<double>(angles.size() - 1);
    double step = std::min(w / steps, h / steps);

    Extent extent;
    Walk(angles, CPoint(0, 0), step, extent, nullptr);
    const double spanX = std::max<LONG>(extent.maxX - extent.minX, 1);
    const double spanY = std::max<LONG>(extent.maxY - extent.minY, 1);
    step = std::min(innerW * step / spanX, innerH * step / spanY);
    // Truncating each step makes the first walk a poor measure of the second, so shrink the
    // step until the walk fits, and centre the walk that is drawn: otherwise some shapes sit
    // off centre and run out of the picture.
    for (int tries = 0;; ++tries) {
        extent = Extent{};
        Walk(angles, CPoint(0, 0), step, extent, nullptr);
        const LONG wide = extent.maxX - extent.minX, high = extent.maxY - extent.minY;
        if ((wide <= innerW && high <= innerH) || tries == 16)
            break;
        step *= std::min(std::min(1.0, innerW / std::max(1.0, double(wide))),
                         std::min(1.0, innerH / std::max(1.0, double(high)))) *
                0.98;
    }
    const CPoint origin(rect.left + (innerW + extent.minX - extent.maxX) / 2 + mx - extent.minX,
                        rect.top + (innerH + extent.minY - extent.maxY) / 2 + my - extent.minY);
    std::vector<CPoint> points{origin};
    Walk(angles, origin, step, extent, &points);
    return points;
}

void GestureThumbnail::DrawPoints(CDC& dc, const std::vector<CPoint>& points, const CRect& rect) {
    if (points.empty())
        return;
    std::array<CPen, kSegmentPens> pens;
    for (int i = 0; i < kSegmentPens; ++i)
        pens[static_cast<std::size_t>(i)].CreatePen(PS_SOLID, 0, SegmentPenColour(i));
    auto dot = [&](const CPoint& p, unsigned r) {
        const int ri = static_cast<int>(r);
        dc.Ellipse(p.x - ri, p.y - ri, p.x + ri, p.y + ri);
    };

    // The dots shrink toward the end of the stroke, never below one pixel.
    unsigned radius = static_cast<unsigned>(std::max(1, static_cast<int>(rect.Width() * 0.03)));
    const auto n = static_cast<unsigned>(points.size());
    dc.MoveTo(points[0]);
    dot(points[0], radius);
    CPen* old = dc.GetCurrentPen();
    for (unsigned k = 0; k + 1 < n; ++k) {
        radius -= (radius - 1) * k / n;
        dc.SelectObject(&pens[std::min<std::size_t>(k / 2, kSegmentPens - 1)]);
        dc.LineTo(points[k + 1]);
        dot(points[k + 1], radius);
    }
    dc.SelectObject(old);
}

bool GestureThumbnail::RenderTopList(const CGesturePad::TopList& top, CRaster& image) {
    PictureCanvas canvas;
    if (!canvas.Ok())
        return false;
    CDC& dc = canvas.Dc();
    dc.FillSolidRect(0, 0, kSize, kSize, RGB(0, 0, 0));
    dc.FillSolidRect(1, 1, kSize - 2, kSize - 2, RGB(255, 255, 255));
    CFont font;
    font.CreatePointFont(80, "Arial", &dc);
    CFont* oldFont = dc.SelectObject(&font);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(191, 191, 191));
    int y = 3;
    for (const CGesturePad::Match& m : top) {
        const char* name = m.cls >= 0 && m.cls < kGestureClassCount
                               ? GestureNames[static_cast<std::size_t>(m.cls)]
                               : "?";
        const std::string line = Format("%s - %f", name, static_cast<double>(m.share));
        dc.TextOut(3, y, line);
        y += dc.GetTextExtent(line).cy;
    }
    dc.SelectObject(oldFont);
    return canvas.CopyTo(image);
}

bool GestureThumbnail::RenderPrototype(int cls, CRaster& image) {
    if (cls < 0 || cls >= kGestureClassCount)
        return false;
    PictureCanvas canvas;
    if (!canvas.Ok())
        return false;
    CDC& dc = canvas.Dc();
    dc.FillSolidRect(0, 0, kSize, kSize, RGB(0, 0, 0));
    dc.FillSolidRect(2, 2, kSize - 4, kSize - 4, RGB(200, 200, 200));
    const CRect rect(kShapeRect);
    DrawPoints(dc, AnglesToPoints(GesturePrototypes[static_cast<std::size_t>(cls)], rect), rect);
    return canvas.CopyTo(image);
}
