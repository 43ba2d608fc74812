#include "frame/CInfoPaneHeight.h"

#include <algorithm>

namespace {
// An empty row still owns the splitter's border, so it counts as less than nothing.
constexpr int kEmptyRow = -2;
int CountedHeight(int row) {
    return row == 0 ? kEmptyRow : row;
}
} // namespace

bool CInfoPaneHeight::IsCollapsed(int lowerRow) const {
    return height_ == 0 && minimum_ == 0 && lowerRow <= -kEmptyRow;
}

SplitterRowHeights CInfoPaneHeight::Apply(int height, int minimum, int upperRow, int lowerRow) {
    if (height >= 0)
        height_ = height;
    if (minimum >= 0)
        minimum_ = minimum;
    height_ = std::max(height_, minimum_);

    const int total = CountedHeight(upperRow) + CountedHeight(lowerRow);
    int upper = total - height_;
    if (upper < 0) {
        upper = 0;
        height_ = total < 0 ? 1 : total;
    }
    minimum_ = std::min(minimum_, height_);
    return {std::max(upper, 0), height_, minimum_};
}
