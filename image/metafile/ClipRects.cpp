#include "image/metafile/ClipRects.h"

ClipRects::ClipRects(const CRect& r) {
    if (!r.IsRectEmpty())
        rects_.push_back(r);
}

void ClipRects::Intersect(const CRect& r) {
    std::vector<CRect> kept;
    for (const CRect& a : rects_) {
        CRect both;
        if (both.IntersectRect(a, r))
            kept.push_back(both);
    }
    rects_.swap(kept);
}

void ClipRects::Intersect(const ClipRects& other) {
    std::vector<CRect> kept;
    for (const CRect& a : rects_) {
        for (const CRect& b : other.rects_) {
            CRect both;
            if (both.IntersectRect(a, b))
                kept.push_back(both);
        }
    }
    rects_.swap(kept);
    Bound();
}

// Each rectangle loses the overlap: what lies above it, below it, and left and right of it.
void ClipRects::Subtract(const CRect& r) {
    std::vector<CRect> kept;
    for (const CRect& a : rects_) {
        CRect both;
        if (!both.IntersectRect(a, r)) {
            kept.push_back(a);
            continue;
        }
        const CRect pieces[] = {{a.left, a.top, a.right, both.top},
                                {a.left, both.bottom, a.right, a.bottom},
                                {a.left, both.top, both.left, both.bottom},
                                {both.right, both.top, a.right, both.bottom}};
        for (const CRect& p : pieces) {
            if (!p.IsRectEmpty())
                kept.push_back(p);
        }
    }
    rects_.swap(kept);
    Bound();
}

void ClipRects::Subtract(const ClipRects& other) {
    for (const CRect& r : other.rects_)
        Subtract(r);
}

void ClipRects::Unite(const ClipRects& other) {
    ClipRects added = other;
    added.Subtract(*this);
    rects_.insert(rects_.end(), added.rects_.begin(), added.rects_.end());
    Bound();
}

CRect ClipRects::Box() const {
    if (rects_.empty())
        return CRect();
    CRect box = rects_[0];
    for (const CRect& r : rects_)
        box.UnionRect(box, r);
    return box;
}

void ClipRects::Bound() {
    if (rects_.size() > kMost)
        rects_.assign(1, Box());
}
