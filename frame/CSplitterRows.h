#pragma once

#include <vector>

// The rows of a one-column splitter: each has a wanted (ideal) height and a minimum; the rows
// are laid out top to bottom with a bar between neighbours, the last row taking what is left.
class CSplitterRows {
public:
    CSplitterRows(int rows, int barHeight);

    int Rows() const { return static_cast<int>(rows_.size()); }
    int BarHeight() const { return barHeight_; }

    void SetRowInfo(int row, int ideal, int minimum);
    int Ideal(int row) const { return rows_.at(row).ideal; }
    int Minimum(int row) const { return rows_.at(row).minimum; }
    int Current(int row) const { return rows_.at(row).current; }
    int Top(int row) const;

    // Computes the current heights for a client area `height` pixels high.
    void RecalcLayout(int height);

    // The bar below `row` dragged to `y` (the top of the bar): the row's ideal follows within
    // the minimums of the two rows beside the bar. Call RecalcLayout afterwards.
    void TrackBar(int row, int y);
    // The bar below `row` containing `y`, or -1.
    int HitBar(int y) const;

private:
    struct Row {
        int ideal = 0;
        int minimum = 0;
        int current = 0;
    };
    std::vector<Row> rows_;
    int barHeight_;
    int height_ = 0;
};
