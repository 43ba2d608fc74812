#pragma once
#include "image/core/CRasterFloatPoint.h"

// An axis-aligned rectangle with real coordinates, given by its lower-left and upper-right
// corners; area sampling weighs each pixel by how much of it lies inside the sampled area.
class CRasterFloatRect {
public:
    CRasterFloatRect() = default;
    CRasterFloatRect(float left, float bottom, float right, float top)
        : bottomLeft_{left, bottom}, topRight_{right, top} {}

    const CRasterFloatPoint& BottomLeft() const { return bottomLeft_; }
    const CRasterFloatPoint& TopRight() const { return topRight_; }
    float Width() const { return topRight_.x - bottomLeft_.x; }
    float Height() const { return topRight_.y - bottomLeft_.y; }
    float Surface() const { return Width() * Height(); }
    CRasterFloatPoint Center() const;
    // The common part; the zero rectangle when the two do not overlap.
    CRasterFloatRect Intersection(const CRasterFloatRect& other) const;

private:
    CRasterFloatPoint bottomLeft_;
    CRasterFloatPoint topRight_;
};
