#include "controls/CFOColorCellObj.h"

#include "controls/CFOGlobalData.h"
#include "platform/CDC.h"

#include <algorithm>
#include <cmath>

namespace {

// Halves go away from zero.
LONG Round(float v) {
    return static_cast<LONG>(std::lround(v));
}

} // namespace

bool CFOColorCellObj::HitTest(int x, int y) const {
    if (hexagon_)
        return Hexagon().PtInRegion(x, y);
    // A rectangle region holds its left and top edges and not its right and bottom ones.
    return rect_.PtInRect({x, y});
}

void CFOColorCellObj::PrepareDC(CDC& dc) {
    dc.SaveDC();
    dc.SetBkMode(TRANSPARENT);
    dc.SelectObject(GetBrush());
    dc.SelectStockObject(NULL_PEN);
}

void CFOColorCellObj::Draw(CDC& dc) {
    PrepareDC(dc);
    dc.FillSolidRect(&rect_, CFOGlobalData::Get().clrBtnFace);
    CRect inner = rect_;
    inner.DeflateRect(inset_, inset_);
    if (hexagon_) {
        dc.Polygon(points_.data(), static_cast<int>(points_.size()));
    } else {
        dc.Rectangle(&inner);
        const COLORREF shadow = CFOGlobalData::Get().clr3DShadow;
        dc.Draw3dRect(&inner, shadow, shadow);
    }
    RestoreDC(dc);
}

void CFOColorCellObj::DrawSelection(CDC& dc) {
    CBrush* white = CBrush::Stock(WHITE_BRUSH);
    CBrush* black = CBrush::Stock(BLACK_BRUSH);
    if (hexagon_) {
        CRgn& region = const_cast<CRgn&>(Hexagon());
        dc.FrameRgn(&region, white, 3, 3);
        const int thick = color_ == RGB(255, 255, 255) ? 2 : 1;
        dc.FrameRgn(&region, black, thick, thick);
        return;
    }
    CRect inside = rect_;
    inside.DeflateRect(1, 1);
    CRgn inner;
    inner.CreateRectRgnIndirect(&inside);
    dc.FrameRgn(&inner, white, 2, 2);
    CRect outside = rect_;
    outside.InflateRect(1, 1);
    CRgn outer;
    outer.CreateRectRgnIndirect(&outside);
    dc.FrameRgn(&outer, black, 1, 1);
}

void CFOColorCellObj::RestoreDC(CDC& dc) {
    dc.RestoreDC(-1);
}

void CFOColorCellObj::SetHexagon(int x, int y, int size) {
    const float s = static_cast<float>(size) * 0.57735026f;
    const float h = s / 2;
    const int half = size / 2;
    const float fx = static_cast<float>(x), fy = static_cast<float>(y);
    points_ = {{{Round(fx - half), Round(fy - h)},
                {x, y - half},
                {Round(fx + half), Round(fy - h)},
                {Round(fx + half), Round(fy + h) + 1},
                {x, y + half + 1},
                {Round(fx - half), Round(fy + h) + 1}}};
    hexagon_ = true;
    regionStale_ = true;
}

void CFOColorCellObj::SetColor(COLORREF color) {
    brush_.reset();
    color_ = color;
}

CBrush* CFOColorCellObj::GetBrush() {
    if (!brush_)
        brush_ = std::make_unique<CBrush>(color_);
    return brush_.get();
}

CRect CFOColorCellObj::GetBoundRect() const {
    if (!hexagon_)
        return rect_;
    CRect box(points_[0].x, points_[0].y, points_[0].x, points_[0].y);
    for (const POINT& p : points_) {
        box.left = std::min(box.left, p.x);
        box.top = std::min(box.top, p.y);
        box.right = std::max(box.right, p.x);
        box.bottom = std::max(box.bottom, p.y);
    }
    return box;
}

const CRgn& CFOColorCellObj::Hexagon() const {
    if (regionStale_) {
        region_.CreatePolygonRgn(points_.data(), static_cast<int>(points_.size()), ALTERNATE);
        regionStale_ = false;
    }
    return region_;
}
