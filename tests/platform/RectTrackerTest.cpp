#include "platform/CRectTracker.h"

#include <gtest/gtest.h>

namespace {
CRectTracker Tracker(UINT style) {
    CRectTracker t(CRect(100, 100, 200, 160), style);
    t.m_nHandleSize = 6;
    t.m_sizeMin = CSize(10, 10);
    return t;
}
} // namespace

TEST(CRectTracker, HandlesLieInsideOrOutsideByStyle) {
    CRectTracker inside = Tracker(CRectTracker::resizeInside);
    EXPECT_EQ(inside.HitTest({101, 101}), CRectTracker::hitTopLeft);
    EXPECT_EQ(inside.HitTest({198, 158}), CRectTracker::hitBottomRight);
    EXPECT_EQ(inside.HitTest({150, 101}), CRectTracker::hitTop);
    EXPECT_EQ(inside.HitTest({101, 130}), CRectTracker::hitLeft);
    EXPECT_EQ(inside.HitTest({150, 130}), CRectTracker::hitMiddle);
    EXPECT_EQ(inside.HitTest({97, 97}), CRectTracker::hitNothing);
    EXPECT_EQ(inside.GetTrueRect(), CRect(100, 100, 200, 160));

    CRectTracker outside = Tracker(CRectTracker::resizeOutside);
    EXPECT_EQ(outside.HitTest({97, 97}), CRectTracker::hitTopLeft);
    EXPECT_EQ(outside.HitTest({202, 162}), CRectTracker::hitBottomRight);
    EXPECT_EQ(outside.HitTest({101, 101}), CRectTracker::hitMiddle);
    EXPECT_EQ(outside.GetTrueRect(), CRect(94, 94, 206, 166));

    // Without a resize style the tracker only moves.
    CRectTracker plain = Tracker(CRectTracker::solidLine);
    EXPECT_EQ(plain.GetHandleMask(), 0u);
    EXPECT_EQ(plain.HitTest({101, 101}), CRectTracker::hitMiddle);

    // Side handles drop out when the side is too short to keep them apart from the corners.
    CRectTracker small(CRect(0, 0, 12, 100), CRectTracker::resizeInside);
    small.m_nHandleSize = 6;
    EXPECT_EQ(small.GetHandleMask(),
              0x0Fu | (1u << CRectTracker::hitLeft) | (1u << CRectTracker::hitRight));
}

TEST(CRectTracker, InvertedRectanglesHitAndDragTheEdgeUnderThePointer) {
    CRectTracker t = Tracker(CRectTracker::resizeInside);
    t.m_rect = CRect(200, 160, 100, 100); // left and right, top and bottom swapped
    const int hit = t.HitTest({101, 101});
    EXPECT_EQ(hit, CRectTracker::hitTopLeft);
    EXPECT_EQ(t.NormalizeHit(hit), CRectTracker::hitBottomRight);
    ASSERT_TRUE(t.BeginTrack({101, 101}, hit, true));
    t.TrackTo({91, 96});
    EXPECT_TRUE(t.EndTrack());
    EXPECT_EQ(t.m_rect, CRect(200, 160, 90, 95));
}

TEST(CRectTracker, DragsMoveResizeKeepTheMinimumAndCancel) {
    CRectTracker t = Tracker(CRectTracker::resizeInside);
    ASSERT_TRUE(t.BeginTrack({150, 130}, CRectTracker::hitMiddle));
    t.TrackTo({160, 120});
    t.TrackTo({155, 125}); // every move starts from the press, not the last move
    EXPECT_TRUE(t.EndTrack());
    EXPECT_EQ(t.m_rect, CRect(105, 95, 205, 155));

    // Pulling the right edge past the left stops at the minimum width.
    ASSERT_TRUE(t.BeginTrack({203, 125}, CRectTracker::hitRight));
    t.TrackTo({0, 125});
    EXPECT_EQ(t.m_rect, CRect(105, 95, 115, 155));
    EXPECT_FALSE(t.EndTrack(false));
    EXPECT_EQ(t.m_rect, CRect(105, 95, 205, 155));

    // With inverting allowed the edge crosses over and keeps the minimum on the other side.
    ASSERT_TRUE(t.BeginTrack({203, 125}, CRectTracker::hitRight, true));
    t.TrackTo({0, 125});
    EXPECT_EQ(t.m_rect.right, 2);
    t.TrackTo({100, 125}); // 3 left of the left edge: pushed out to the minimum
    EXPECT_EQ(t.m_rect.right, 95);
    EXPECT_TRUE(t.EndTrack());

    EXPECT_FALSE(t.BeginTrack({0, 0}, CRectTracker::hitNothing));
    EXPECT_FALSE(t.IsTracking());
}

TEST(CRectTracker, RubberBandFollowsThePointerAndNormalizes) {
    CRectTracker t;
    t.BeginRubberBand({50, 60}, false);
    t.TrackTo({40, 90});
    EXPECT_TRUE(t.EndTrack());
    EXPECT_EQ(t.m_rect, CRect(40, 60, 50, 90));

    t.BeginRubberBand({50, 60}, false);
    t.TrackTo({50, 60});
    EXPECT_FALSE(t.EndTrack()); // a click without a drag makes an empty rectangle
    EXPECT_TRUE(t.m_rect.IsRectEmpty());
}
