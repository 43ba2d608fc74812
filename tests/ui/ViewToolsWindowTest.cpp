#include "tests/ui/MazeViewWindowFixture.h"

#include "maze/MazeCell.h"
#include "view/GeometryCache.h"
#include "view/PolygonCellGeometry.h"

#include <string>
#include <vector>

namespace {

std::string At(wxPoint p) {
    return std::to_string(p.x) + " " + std::to_string(p.y);
}

bool IsBlack(const wxImage& image, wxPoint p) {
    return image.GetRed(p.x, p.y) < 40 && image.GetGreen(p.x, p.y) < 40 &&
           image.GetBlue(p.x, p.y) < 40;
}

// The program's window as it starts, with a fresh 20 x 20 Box template (no maze made).
class ViewToolsWindowTest : public MazeViewWindowFixture {
protected:
    void WireBeforeShow() override {
        window_->SetInfoPaneCollapser([this] { frame_->SetInfoPaneHeight(0, 0); });
    }

    // The centre of a cell on the screen.
    wxPoint CellOnScreen(int column, int row) {
        const PolygonCellGeometry polygons(GeometryCache::ShapesOf(KIND_BOX), doc_->GetCellWidth(),
                                           doc_->GetCellHeight());
        double x = 0, y = 0;
        polygons.Centre(column, row, 0, x, y);
        CPoint p(static_cast<LONG>(x), static_cast<LONG>(y));
        view_->Buffer().Dc().LPtoDP(&p);
        const CPoint scroll = window_->ScrollPosition();
        return window_->ClientToScreen(wxPoint(p.x - scroll.x, p.y - scroll.y));
    }
    wxPoint CellOnClient(int column, int row) {
        return window_->ScreenToClient(CellOnScreen(column, row));
    }
};

} // namespace

TEST_F(ViewToolsWindowTest, BlackenDragEndsWithTheReleaseOutsideTheWindow) {
    Xdo("mousemove --sync " + At(CellOnScreen(10, 10)) + " key alt+b");
    ASSERT_EQ(view_->CurrentTool(), static_cast<int>(ID_TOOL_BLACKEN));
    EXPECT_TRUE(frame_->IsButtonPressed(ID_TOOL_BLACKEN));

    // Across row 3 in long strides, each handled before the next (the toolkit merges queued
    // moves), out past the frame, and up there the button goes.
    const wxPoint outside = frame_->GetScreenRect().GetBottomRight() + wxPoint(40, 40);
    Xdo("mousemove --sync " + At(CellOnScreen(2, 3)) + " mousedown 1");
    Xdo("mousemove --sync " + At(CellOnScreen(2, 3) + wxPoint(1, 0)));
    Xdo("mousemove --sync " + At(CellOnScreen(7, 3)));
    Xdo("mousemove --sync " + At(CellOnScreen(12, 3)));
    Xdo("mousemove --sync " + At(outside) + " mouseup 1");
    // Back over the maze with no button: nothing is painted.
    Xdo("mousemove --sync " + At(CellOnScreen(13, 8)) + " mousemove --sync " +
        At(CellOnScreen(5, 8)) + " mousemove --sync " + At(CellOnScreen(5, 14)));

    for (int c = 2; c <= 12; ++c)
        EXPECT_EQ(doc_->GetGrid(0)->GetCell(c, 3).flags, CELL_BLACKENED) << c;
    EXPECT_EQ(view_->Mouse().Drag().state, MouseDrag::kNone);
    EXPECT_TRUE(doc_->IsModified());
    const wxImage shot = ClientScreenshot(*window_, "view-blacken-drag");
    for (int c = 2; c <= 12; ++c)
        EXPECT_TRUE(IsBlack(shot, CellOnClient(c, 3))) << c;
    for (int c = 5; c <= 13; ++c) {
        EXPECT_EQ(doc_->GetGrid(0)->GetCell(c, 8).flags, 0) << c;
        EXPECT_FALSE(IsBlack(shot, CellOnClient(c, 8))) << c;
    }
    EXPECT_FALSE(IsBlack(shot, CellOnClient(5, 12)));
}

TEST_F(ViewToolsWindowTest, ActiveLayerKeysShowTheirButtons) {
    const UINT cellTools[] = {ID_TOOL_BLACKEN, ID_TOOL_WHITEN, ID_TOOL_RESET,
                              ID_TOOL_START,   ID_TOOL_STOP,   ID_TOOL_GROW};
    const UINT objectTools[] = {ID_DELETE_ITEM, ID_BRING_TO_TOP, ID_MOVE_TO_BOTTOM};
    Xdo("mousemove --sync " + At(CellOnScreen(10, 10)));
    for (const char* key : {"ctrl+1", "ctrl+2", "ctrl+3", "ctrl+4", "ctrl+2"}) {
        Xdo(std::string("key ") + key);
        const int layer = key[5] - '0';
        EXPECT_EQ(view_->ActiveLayer(), layer) << key;
        for (UINT id : cellTools)
            EXPECT_EQ(frame_->IsButtonShown(id), layer == 2) << key << " " << id;
        for (UINT id : objectTools)
            EXPECT_EQ(frame_->IsButtonShown(id), layer != 2) << key << " " << id;
        EXPECT_FALSE(frame_->IsButtonShown(ID_TOOL_DRAW_SOLUTION)) << key;
    }
}

TEST_F(ViewToolsWindowTest, AWheelNotchScrollsOneLineFurtherThanTheToolkit) {
    // The window's own step is three lines a notch (what the desktop asks for under Xvfb).
    const int line = window_->LineStep().cy;
    ASSERT_GT(line, 1);
    const int before = window_->ScrollPosition().y;
    Xdo("mousemove --sync " + At(CellOnScreen(10, 10)) + " click 5");
    EXPECT_EQ(window_->ScrollPosition().y - before, 4 * line);
    Xdo("click 4");
    EXPECT_EQ(window_->ScrollPosition().y, before);
}

TEST_F(ViewToolsWindowTest, ADoubleClickIsTwoPressesEachWithItsSnapshot) {
    struct Count : IUndoSnapshot {
        void SaveBeforePress(int layer) override { layers.push_back(layer); }
        std::vector<int> layers;
    } snapshots;
    view_->Mouse().SetUndoSnapshot(&snapshots);
    Xdo("mousemove --sync " + At(CellOnScreen(4, 4)) + " click --repeat 2 --delay 80 1");
    view_->Mouse().SetUndoSnapshot(nullptr);
    EXPECT_EQ(snapshots.layers, (std::vector<int>{2, 2}));
    EXPECT_EQ(wxWindow::FindFocus(), window_);
    EXPECT_EQ(view_->Mouse().Drag().state, MouseDrag::kNone);
}
