#pragma once

// Row heights for the splitter: the maze view above, the information pane below.
struct SplitterRowHeights {
    int upper = 0;
    int lower = 0;
    int lowerMinimum = 0;
};

// The main frame's wanted height and minimum of the information pane, and how they share the
// splitter's height with the view.
class CInfoPaneHeight {
public:
    // height and minimum of -1 keep the stored values; upperRow and lowerRow are the rows'
    // current heights. Returns the rows to set.
    SplitterRowHeights Apply(int height, int minimum, int upperRow, int lowerRow);

    // True when the pane is already collapsed, given the lower row's current height.
    bool IsCollapsed(int lowerRow) const;

    int Height() const { return height_; }
    int Minimum() const { return minimum_; }

private:
    int height_ = 0;
    int minimum_ = 0;
};
