#pragma once
#include "tests/view/ViewTestSupport.h"

#include "frame/IEditToolbar.h"
#include "maze/TemplateKind.h"
#include "tests/support/FakeClipboard.h"
#include "view/GeometryCache.h"
#include "view/ITextBox.h"
#include "view/PolygonCellGeometry.h"

#include <set>

// The edit toolbar as the view leaves it: pressed and hidden buttons.
class RecordingToolbar : public IEditToolbar {
public:
    void PressButton(UINT command, bool pressed) override {
        if (pressed)
            pressed_.insert(command);
        else
            pressed_.erase(command);
    }
    bool IsButtonPressed(UINT command) const override { return pressed_.count(command) != 0; }
    void ShowButton(UINT command, bool shown) override {
        if (shown)
            hidden_.erase(command);
        else
            hidden_.insert(command);
    }
    bool IsButtonShown(UINT command) const override { return hidden_.count(command) == 0; }

    std::set<UINT> pressed_;
    std::set<UINT> hidden_;
};

// A view with a toolbar, and the pixel at the centre of each cell of a polygon template.
class ViewToolTest : public ViewTest {
protected:
    CGridloomView& ToolView(CGridloomDoc& doc) {
        view_ = std::make_unique<CGridloomView>();
        view_->SetWindow(&window_);
        view_->SetEditToolbar(&toolbar_);
        view_->SetDocument(&doc);
        view_->OnInitialUpdate();
        return *view_;
    }

    // Client pixel of the cell's centre (the headless window is not scrolled).
    CPoint CellPixel(CGridloomDoc& doc, int column, int row, int grid = 0) {
        const PolygonCellGeometry polygons(GeometryCache::ShapesOf(doc.Settings().kind),
                                           doc.GetCellWidth(), doc.GetCellHeight());
        double x = 0, y = 0;
        polygons.Centre(column, row, grid, x, y);
        CPoint p(static_cast<LONG>(x), static_cast<LONG>(y));
        view_->Buffer().Dc().LPtoDP(&p);
        return p;
    }

    static int Flags(CGridloomDoc& doc, int column, int row, int grid = 0) {
        return doc.GetGrid(grid)->GetCell(column, row).flags;
    }

    RecordingToolbar toolbar_;
};

// A fresh 8 x 8 Box template on a tool view with a fake clipboard and a text box that
// remembers what it was told.
class TextClipViewTest : public ViewToolTest {
protected:
    void SetUp() override {
        ViewToolTest::SetUp();
        NewDoc(KIND_BOX, 8, 8);
        ToolView(*doc_);
        view_->SetClipboard(&clipboard_);
        view_->SetTextBox(&box_);
    }

    FakeClipboard clipboard_;
    HeadlessTextBox box_;
};
