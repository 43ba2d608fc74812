#pragma once
#include "platform/CPoint.h"
#include "platform/CRect.h"
#include "platform/CSize.h"
#include "platform/WinTypes.h"

// A rectangle the user moves and resizes with the mouse: a selection frame with up to eight
// handles, in device pixels. The window layer feeds it the pointer while it tracks (the press,
// every move, the release), so nothing here blocks or talks to a window.
class CDC;

class CRectTracker {
public:
    enum StyleFlags : UINT {
        solidLine = 1,
        dottedLine = 2,
        hatchedBorder = 4,
        resizeInside = 8,
        resizeOutside = 16,
        hatchInside = 32,
    };
    enum TrackerHit : int {
        hitNothing = -1,
        hitTopLeft = 0,
        hitTopRight = 1,
        hitBottomRight = 2,
        hitBottomLeft = 3,
        hitTop = 4,
        hitRight = 5,
        hitBottom = 6,
        hitLeft = 7,
        hitMiddle = 8,
    };
    // The pointer shape a hit asks for; the window layer maps it to a real cursor.
    enum class Cursor { arrow, sizeNWSE, sizeNESW, sizeNS, sizeWE, sizeAll };

    static constexpr int kDefaultHandleSize = 6;

    CRectTracker() = default;
    CRectTracker(const RECT& rect, UINT style) : m_rect(rect), m_nStyle(style) {}
    virtual ~CRectTracker() = default;
    CRectTracker(const CRectTracker&) = default;
    CRectTracker& operator=(const CRectTracker&) = default;

    CRect m_rect;
    CSize m_sizeMin{kDefaultHandleSize * 2, kDefaultHandleSize * 2};
    UINT m_nStyle = 0;
    int m_nHandleSize = kDefaultHandleSize;

    // The rectangle with its outside handles and border: what drawing the tracker touches.
    CRect GetTrueRect() const;
    // Which part of the tracker lies under `point`; handles win over the middle.
    int HitTest(CPoint point) const;
    // The hit as it acts on a rectangle whose sides are swapped (an inverted rectangle).
    int NormalizeHit(int hit) const;
    // Handle rectangle of hit codes 0..7; empty for other codes.
    CRect GetHandleRect(int hit) const;
    // Bit h set when handle h is shown: none without a resize style; the side handles only
    // when the side is long enough to hold them apart from the corners.
    UINT GetHandleMask() const;
    Cursor GetCursor(int hit) const;
    // Draws the frame, hatching and handles in device pixels, whatever mapping `dc` has.
    void Draw(CDC& dc) const;

    // Dragging. BeginTrack starts from a hit of HitTest (a handle or the middle) and returns
    // false for anything else; TrackTo follows the pointer; EndTrack keeps the new rectangle
    // (true when it changed) or, when cancelled, restores the old one and returns false.
    bool BeginTrack(CPoint point, int hit, bool allowInvert = false);
    // A fresh rectangle from `point`, its bottom-right corner following the pointer.
    void BeginRubberBand(CPoint point, bool allowInvert = true);
    void TrackTo(CPoint point);
    bool EndTrack(bool accept = true);
    bool IsTracking() const { return trackHit_ != hitNothing; }

private:
    void ApplyMinimumSize();
    void DrawBorder(CDC& dc, const CRect& r) const;
    void DrawHatching(CDC& dc, const CRect& r) const;
    void DrawHandles(CDC& dc) const;

    int trackHit_ = hitNothing;
    bool allowInvert_ = false;
    bool rubberBand_ = false;
    CPoint trackStart_;
    CRect trackOriginal_;
};
