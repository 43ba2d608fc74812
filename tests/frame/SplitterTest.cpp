#include "frame/CInfoPaneHeight.h"
#include "frame/CSplitterRows.h"

#include <gtest/gtest.h>

TEST(CInfoPaneHeight, SharesTheRowsBetweenViewAndPane) {
    CInfoPaneHeight pane;
    // A frame of ordinary size: the view has 400, the pane 100.
    SplitterRowHeights rows = pane.Apply(150, 40, 400, 100);
    EXPECT_EQ(rows.upper, 350);
    EXPECT_EQ(rows.lower, 150);
    EXPECT_EQ(rows.lowerMinimum, 40);
    // -1 keeps what was stored; a new total keeps the pane's height.
    rows = pane.Apply(-1, -1, 600, 150);
    EXPECT_EQ(rows.upper, 600);
    EXPECT_EQ(rows.lower, 150);
    // A height below the minimum is raised to it.
    rows = pane.Apply(10, -1, 600, 150);
    EXPECT_EQ(rows.lower, 40);
    EXPECT_EQ(rows.upper, 710);
}

TEST(CInfoPaneHeight, TooTallAPaneTakesTheWholeHeight) {
    CInfoPaneHeight pane;
    const SplitterRowHeights rows = pane.Apply(10000, 1, 400, 100);
    EXPECT_EQ(rows.upper, 0);
    EXPECT_EQ(rows.lower, 500);
    EXPECT_EQ(pane.Height(), 500);
    EXPECT_EQ(rows.lowerMinimum, 1);
    // A minimum larger than the pane is lowered to it.
    const SplitterRowHeights again = pane.Apply(10000, 800, 0, 500);
    EXPECT_EQ(again.lower, 500);
    EXPECT_EQ(again.lowerMinimum, 500);
}

TEST(CInfoPaneHeight, AnEmptyRowKeepsTheTotalSoThePaneGetsWhatItAsks) {
    CInfoPaneHeight pane;
    // Collapsed, then asked again and again as the frame re-lays out: nothing moves.
    SplitterRowHeights rows = pane.Apply(0, 0, 400, 100);
    EXPECT_EQ(rows.upper, 500);
    EXPECT_EQ(rows.lower, 0);
    EXPECT_TRUE(pane.IsCollapsed(rows.lower));
    rows = pane.Apply(-1, -1, rows.upper, rows.lower);
    EXPECT_EQ(rows.upper, 500);
    EXPECT_EQ(rows.lower, 0);
    // After a collapse every height asked is the height given, down to one pixel.
    for (int height : {54, 11, 9, 1}) {
        rows = pane.Apply(height, 0, rows.upper, rows.lower);
        EXPECT_EQ(rows.lower, height);
        EXPECT_EQ(rows.upper + rows.lower, 500);
        EXPECT_FALSE(pane.IsCollapsed(rows.lower));
    }
    // Before the window has a size there is nothing to share.
    CInfoPaneHeight unsized;
    rows = unsized.Apply(120, 120, 0, 0);
    EXPECT_EQ(rows.upper, 0);
    EXPECT_EQ(rows.lower, 0);
}

TEST(CSplitterRows, LaysOutRowsAroundTheBar) {
    CSplitterRows rows(2, 6);
    rows.SetRowInfo(0, 300, 0);
    rows.SetRowInfo(1, 100, 20);
    rows.RecalcLayout(506);
    EXPECT_EQ(rows.Current(0), 300);
    EXPECT_EQ(rows.Current(1), 200); // the last row takes the rest
    EXPECT_EQ(rows.Top(1), 306);
    EXPECT_EQ(rows.HitBar(300), 0);
    EXPECT_EQ(rows.HitBar(305), 0);
    EXPECT_EQ(rows.HitBar(306), -1);
    EXPECT_EQ(rows.HitBar(10), -1);
    // Too small a window: the upper row gives way.
    rows.RecalcLayout(200);
    EXPECT_EQ(rows.Current(0), 194);
    EXPECT_EQ(rows.Current(1), 0);
    rows.RecalcLayout(3);
    EXPECT_EQ(rows.Current(0), 0);
    EXPECT_EQ(rows.Current(1), 0);
}

TEST(CSplitterRows, DraggingTheBarKeepsTheMinimums) {
    CSplitterRows rows(2, 6);
    rows.SetRowInfo(0, 300, 0);
    rows.SetRowInfo(1, 0, 50);
    rows.RecalcLayout(506);
    rows.TrackBar(0, 480); // would leave the lower row 20
    rows.RecalcLayout(506);
    EXPECT_EQ(rows.Current(1), 50);
    EXPECT_EQ(rows.Current(0), 450);
    rows.TrackBar(0, -30);
    rows.RecalcLayout(506);
    EXPECT_EQ(rows.Current(0), 0);
    EXPECT_EQ(rows.Current(1), 500);
    rows.TrackBar(1, 10); // there is no bar below the last row
    rows.RecalcLayout(506);
    EXPECT_EQ(rows.Current(0), 0);
}
