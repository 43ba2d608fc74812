#include "image/core/CRasterFloatRect.h"

#include <algorithm>

CRasterFloatPoint CRasterFloatRect::Center() const {
    return {(bottomLeft_.x + topRight_.x) / 2.0f, (bottomLeft_.y + topRight_.y) / 2.0f};
}

CRasterFloatRect CRasterFloatRect::Intersection(const CRasterFloatRect& other) const {
    const float left = std::max(bottomLeft_.x, other.bottomLeft_.x);
    const float bottom = std::max(bottomLeft_.y, other.bottomLeft_.y);
    const float right = std::min(topRight_.x, other.topRight_.x);
    const float top = std::min(topRight_.y, other.topRight_.y);
    if (left >= right || bottom >= top)
        return {};
    return {left, bottom, right, top};
}
