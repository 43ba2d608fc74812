#include "frame/CInfoPaneHeight.h"

#include <algorithm>

bool CInfoPaneHeight::IsCollapsed(int lowerRow) const {
    return height_ == 0 && minimum_ == 0 && lowerRow == 0;
}

SplitterRowHeights CInfoPaneHeight::Apply(int height, int minimum, int upperRow, int lowerRow) {
    if (height >= 0)
        height_ = height;
    if (minimum >= 0)
        minimum_ = minimum;
    height_ = std::max(height_, minimum_);

    // The bar between the rows stays when a row is empty, so the rows always share the same
    // total: the pane gets exactly the height asked, and asking again moves nothing.
    const int total = upperRow + lowerRow;
    int upper = total - height_;
    if (upper < 0) {
        upper = 0;
        height_ = total;
    }
    minimum_ = std::min(minimum_, height_);
    return {std::max(upper, 0), height_, minimum_};
}
