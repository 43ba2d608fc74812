#include "platform/CRgn.h"

#include "platform/GdiConstants.h"

#include <algorithm>
#include <cmath>

bool CRgn::CreatePolygonRgn(const POINT* points, int count, int fillMode) {
    if (!points || count < 0)
        return false;
    points_.assign(points, points + count);
    fillMode_ = fillMode == WINDING ? WINDING : ALTERNATE;
    Rebuild();
    MarkCreated();
    return true;
}

bool CRgn::CreateRectRgn(int left, int top, int right, int bottom) {
    CRect r(left, top, right, bottom);
    r.NormalizeRect();
    const POINT corners[] = {
        {r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}};
    return CreatePolygonRgn(corners, 4, ALTERNATE);
}

bool CRgn::CreateRectRgnIndirect(const RECT* rect) {
    return rect && CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

bool CRgn::CreateEllipticRgn(int left, int top, int right, int bottom) {
    CRect r(left, top, right, bottom);
    r.NormalizeRect();
    // An outline fine enough that each step is under a pixel for ordinary sizes.
    const double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0;
    const double rx = r.Width() / 2.0, ry = r.Height() / 2.0;
    const int steps = std::clamp(static_cast<int>((rx + ry) * 2), 16, 4096);
    std::vector<POINT> pts;
    for (int i = 0; i < steps; ++i) {
        const double t = 2 * M_PI * i / steps;
        pts.push_back({static_cast<LONG>(std::lround(cx + rx * std::cos(t))),
                       static_cast<LONG>(std::lround(cy + ry * std::sin(t)))});
    }
    return CreatePolygonRgn(pts.data(), static_cast<int>(pts.size()), ALTERNATE);
}

bool CRgn::PtInRegion(int x, int y) const {
    return GetSafeHandle() && scanner_.Contains({x, y});
}

int CRgn::GetRgnBox(RECT* box) const {
    if (!GetSafeHandle())
        return ERROR;
    const CRect b = scanner_.IsEmpty() ? CRect() : scanner_.Bounds();
    if (box)
        *box = b;
    if (scanner_.IsEmpty())
        return NULLREGION;
    // A rectangle is simple; anything else has more than one span shape.
    const bool rect = points_.size() == 4 && points_[0].y == points_[1].y &&
                      points_[1].x == points_[2].x && points_[2].y == points_[3].y &&
                      points_[3].x == points_[0].x;
    return rect ? SIMPLEREGION : COMPLEXREGION;
}

int CRgn::OffsetRgn(int dx, int dy) {
    for (CPoint& p : points_)
        p.Offset(dx, dy);
    Rebuild();
    return GetRgnBox(nullptr);
}

void CRgn::Reset() {
    points_.clear();
    scanner_ = PolygonScanner();
}

void CRgn::Rebuild() {
    scanner_ = PolygonScanner(points_, fillMode_);
}
