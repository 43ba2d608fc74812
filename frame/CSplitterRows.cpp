#include "frame/CSplitterRows.h"

#include <algorithm>

CSplitterRows::CSplitterRows(int rows, int barHeight)
    : rows_(static_cast<size_t>(std::max(rows, 1))), barHeight_(std::max(barHeight, 0)) {}

void CSplitterRows::SetRowInfo(int row, int ideal, int minimum) {
    Row& r = rows_.at(row);
    r.ideal = std::max(ideal, 0);
    r.minimum = std::max(minimum, 0);
}

int CSplitterRows::Top(int row) const {
    int y = 0;
    for (int i = 0; i < row; ++i)
        y += rows_.at(i).current + barHeight_;
    return y;
}

void CSplitterRows::RecalcLayout(int height) {
    height_ = std::max(height, 0);
    int left = std::max(height_ - barHeight_ * (Rows() - 1), 0);
    for (int i = 0; i + 1 < Rows(); ++i) {
        rows_[i].current = std::min(rows_[i].ideal, left);
        left -= rows_[i].current;
    }
    rows_.back().current = left;
}

void CSplitterRows::TrackBar(int row, int y) {
    if (row < 0 || row + 1 >= Rows())
        return;
    const int top = Top(row);
    const int span = rows_[row].current + rows_[row + 1].current;
    const int lowest = rows_[row].minimum;
    const int highest = span - rows_[row + 1].minimum;
    int wanted = y - top;
    if (highest >= lowest)
        wanted = std::clamp(wanted, lowest, highest);
    else
        wanted = std::clamp(wanted, 0, span);
    rows_[row].ideal = wanted;
    // The row below keeps what the bar gave it when it is not the last one.
    if (row + 2 < Rows())
        rows_[row + 1].ideal = span - wanted;
}

int CSplitterRows::HitBar(int y) const {
    for (int i = 0; i + 1 < Rows(); ++i) {
        const int barTop = Top(i) + rows_[i].current;
        if (y >= barTop && y < barTop + barHeight_)
            return i;
    }
    return -1;
}
