#pragma once
#include "platform/CRect.h"

#include <vector>

// A clip region as rectangles apart from one another. Past kMost rectangles it stands for its
// bounding box, so that drawing through it stays cheap whatever a file combines.
class ClipRects {
public:
    static constexpr std::size_t kMost = 64;

    ClipRects() = default;
    explicit ClipRects(const CRect& r);

    void Intersect(const CRect& r);
    void Intersect(const ClipRects& other);
    void Subtract(const CRect& r);
    void Subtract(const ClipRects& other);
    void Unite(const ClipRects& other);

    const std::vector<CRect>& Rects() const { return rects_; }
    // Smallest rectangle holding the region (empty when it is).
    CRect Box() const;

private:
    void Bound();

    std::vector<CRect> rects_;
};
