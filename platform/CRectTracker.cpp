#include "platform/CRectTracker.h"

#include "platform/CDC.h"

#include <cstdlib>

namespace {

CRect Normalized(CRect r) {
    r.NormalizeRect();
    return r;
}

bool MovesLeft(int hit) {
    return hit == CRectTracker::hitTopLeft || hit == CRectTracker::hitBottomLeft ||
           hit == CRectTracker::hitLeft || hit == CRectTracker::hitMiddle;
}
bool MovesRight(int hit) {
    return hit == CRectTracker::hitTopRight || hit == CRectTracker::hitBottomRight ||
           hit == CRectTracker::hitRight || hit == CRectTracker::hitMiddle;
}
bool MovesTop(int hit) {
    return hit == CRectTracker::hitTopLeft || hit == CRectTracker::hitTopRight ||
           hit == CRectTracker::hitTop || hit == CRectTracker::hitMiddle;
}
bool MovesBottom(int hit) {
    return hit == CRectTracker::hitBottomLeft || hit == CRectTracker::hitBottomRight ||
           hit == CRectTracker::hitBottom || hit == CRectTracker::hitMiddle;
}

// Keeps the distance between a fixed and a moving edge at least `minimum`, on the side where
// the moving edge lies (or must lie, when inverting is not allowed).
void KeepApart(LONG fixed, LONG& moving, LONG minimum, bool movingIsFar, bool allowInvert) {
    const LONG span = moving - fixed;
    if (!allowInvert) {
        if (movingIsFar && span < minimum)
            moving = fixed + minimum;
        if (!movingIsFar && -span < minimum)
            moving = fixed - minimum;
        return;
    }
    if (std::abs(span) >= minimum)
        return;
    const bool far = span != 0 ? span > 0 : movingIsFar;
    moving = far ? fixed + minimum : fixed - minimum;
}

} // namespace

CRect CRectTracker::GetTrueRect() const {
    CRect r = Normalized(m_rect);
    if (m_nStyle & (resizeOutside | hatchedBorder))
        r.InflateRect(m_nHandleSize, m_nHandleSize);
    return r;
}

UINT CRectTracker::GetHandleMask() const {
    if (!(m_nStyle & (resizeInside | resizeOutside)))
        return 0;
    UINT mask = 0x0F;
    const CRect r = Normalized(m_rect);
    if (r.Width() >= 3 * m_nHandleSize)
        mask |= (1u << hitTop) | (1u << hitBottom);
    if (r.Height() >= 3 * m_nHandleSize)
        mask |= (1u << hitLeft) | (1u << hitRight);
    return mask;
}

CRect CRectTracker::GetHandleRect(int hit) const {
    if (hit < hitTopLeft || hit > hitLeft)
        return CRect();
    const CRect r = Normalized(m_rect);
    const LONG h = m_nHandleSize;
    const bool outside = (m_nStyle & resizeOutside) != 0;
    const LONG leftX = outside ? r.left - h : r.left;
    const LONG rightX = outside ? r.right : r.right - h;
    const LONG topY = outside ? r.top - h : r.top;
    const LONG bottomY = outside ? r.bottom : r.bottom - h;
    const LONG midX = r.left + (r.Width() - h) / 2;
    const LONG midY = r.top + (r.Height() - h) / 2;
    LONG x = 0;
    LONG y = 0;
    switch (hit) {
    case hitTopLeft:
        x = leftX, y = topY;
        break;
    case hitTopRight:
        x = rightX, y = topY;
        break;
    case hitBottomRight:
        x = rightX, y = bottomY;
        break;
    case hitBottomLeft:
        x = leftX, y = bottomY;
        break;
    case hitTop:
        x = midX, y = topY;
        break;
    case hitRight:
        x = rightX, y = midY;
        break;
    case hitBottom:
        x = midX, y = bottomY;
        break;
    default:
        x = leftX, y = midY;
        break;
    }
    return CRect(x, y, x + h, y + h);
}

int CRectTracker::HitTest(CPoint point) const {
    const UINT mask = GetHandleMask();
    for (int hit = hitTopLeft; hit <= hitLeft; ++hit)
        if ((mask & (1u << hit)) && GetHandleRect(hit).PtInRect(point))
            return hit;
    const CRect area = (m_nStyle & hatchedBorder) ? GetTrueRect() : Normalized(m_rect);
    return area.PtInRect(point) ? hitMiddle : hitNothing;
}

int CRectTracker::NormalizeHit(int hit) const {
    if (hit < hitTopLeft || hit > hitLeft)
        return hit;
    static constexpr int kMirrorX[8] = {hitTopRight, hitTopLeft, hitBottomLeft, hitBottomRight,
                                        hitTop,      hitLeft,    hitBottom,     hitRight};
    static constexpr int kMirrorY[8] = {hitBottomLeft, hitBottomRight, hitTopRight, hitTopLeft,
                                        hitBottom,     hitRight,       hitTop,      hitLeft};
    if (m_rect.Width() < 0)
        hit = kMirrorX[hit];
    if (m_rect.Height() < 0)
        hit = kMirrorY[hit];
    return hit;
}

CRectTracker::Cursor CRectTracker::GetCursor(int hit) const {
    switch (hit) {
    case hitTopLeft:
    case hitBottomRight:
        return Cursor::sizeNWSE;
    case hitTopRight:
    case hitBottomLeft:
        return Cursor::sizeNESW;
    case hitTop:
    case hitBottom:
        return Cursor::sizeNS;
    case hitLeft:
    case hitRight:
        return Cursor::sizeWE;
    case hitMiddle:
        return Cursor::sizeAll;
    default:
        return Cursor::arrow;
    }
}

bool CRectTracker::BeginTrack(CPoint point, int hit, bool allowInvert) {
    if (hit < hitTopLeft || hit > hitMiddle)
        return false;
    trackHit_ = NormalizeHit(hit);
    allowInvert_ = allowInvert;
    rubberBand_ = false;
    trackStart_ = point;
    trackOriginal_ = m_rect;
    return true;
}

void CRectTracker::BeginRubberBand(CPoint point, bool allowInvert) {
    m_rect = CRect(point.x, point.y, point.x, point.y);
    trackHit_ = hitBottomRight;
    allowInvert_ = allowInvert;
    rubberBand_ = true;
    trackStart_ = point;
    trackOriginal_ = m_rect;
}

void CRectTracker::TrackTo(CPoint point) {
    if (!IsTracking())
        return;
    const LONG dx = point.x - trackStart_.x;
    const LONG dy = point.y - trackStart_.y;
    CRect r = trackOriginal_;
    if (MovesLeft(trackHit_))
        r.left += dx;
    if (MovesRight(trackHit_))
        r.right += dx;
    if (MovesTop(trackHit_))
        r.top += dy;
    if (MovesBottom(trackHit_))
        r.bottom += dy;
    m_rect = r;
    if (trackHit_ != hitMiddle && !rubberBand_)
        ApplyMinimumSize();
    if (!allowInvert_ && rubberBand_)
        m_rect.NormalizeRect();
}

void CRectTracker::ApplyMinimumSize() {
    const bool left = MovesLeft(trackHit_);
    const bool right = MovesRight(trackHit_);
    const bool top = MovesTop(trackHit_);
    const bool bottom = MovesBottom(trackHit_);
    // The original rectangle's orientation tells which edge is the far one.
    const bool xForward = trackOriginal_.right >= trackOriginal_.left;
    const bool yForward = trackOriginal_.bottom >= trackOriginal_.top;
    if (right)
        KeepApart(m_rect.left, m_rect.right, m_sizeMin.cx, xForward, allowInvert_);
    else if (left)
        KeepApart(m_rect.right, m_rect.left, m_sizeMin.cx, !xForward, allowInvert_);
    if (bottom)
        KeepApart(m_rect.top, m_rect.bottom, m_sizeMin.cy, yForward, allowInvert_);
    else if (top)
        KeepApart(m_rect.bottom, m_rect.top, m_sizeMin.cy, !yForward, allowInvert_);
}

bool CRectTracker::EndTrack(bool accept) {
    if (!IsTracking())
        return false;
    trackHit_ = hitNothing;
    if (!accept) {
        m_rect = trackOriginal_;
        return false;
    }
    return !(m_rect == trackOriginal_);
}

void CRectTracker::Draw(CDC& dc) const {
    const int saved = dc.SaveDC();
    dc.SetMapMode(MM_TEXT);
    dc.SetViewportOrg(0, 0);
    dc.SetWindowOrg(0, 0);
    const CRect r = Normalized(m_rect);
    DrawHatching(dc, r);
    DrawBorder(dc, r);
    DrawHandles(dc);
    dc.RestoreDC(saved);
}

void CRectTracker::DrawBorder(CDC& dc, const CRect& r) const {
    if (!(m_nStyle & (solidLine | dottedLine)))
        return;
    CPen pen((m_nStyle & dottedLine) ? PS_DOT : PS_SOLID, 0, RGB(0, 0, 0));
    CPen* oldPen = dc.SelectObject(&pen);
    CGdiObject* oldBrush = dc.SelectStockObject(NULL_BRUSH);
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    dc.Rectangle(&r);
    dc.SetBkMode(oldMode);
    dc.SelectObject(oldBrush);
    dc.SelectObject(oldPen);
}

void CRectTracker::DrawHatching(CDC& dc, const CRect& r) const {
    if (!(m_nStyle & (hatchInside | hatchedBorder)))
        return;
    CBrush hatch(HS_BDIAGONAL, RGB(0, 0, 0));
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    if (m_nStyle & hatchInside)
        dc.FillRect(&r, &hatch);
    if (m_nStyle & hatchedBorder) {
        const CRect o = GetTrueRect();
        const CRect bands[4] = {{o.left, o.top, o.right, r.top},
                                {o.left, r.bottom, o.right, o.bottom},
                                {o.left, r.top, r.left, r.bottom},
                                {r.right, r.top, o.right, r.bottom}};
        for (const CRect& band : bands)
            if (!band.IsRectEmpty())
                dc.FillRect(&band, &hatch);
    }
    dc.SetBkMode(oldMode);
}

void CRectTracker::DrawHandles(CDC& dc) const {
    const UINT mask = GetHandleMask();
    for (int hit = hitTopLeft; hit <= hitLeft; ++hit)
        if (mask & (1u << hit)) {
            const CRect h = GetHandleRect(hit);
            dc.FillSolidRect(&h, RGB(0, 0, 0));
        }
}
