#pragma once
#include "tests/app/DocTestSupport.h"

#include "platform/CrtRandom.h"
#include "platform/RasterSurface.h"
#include "view/CGridloomView.h"

#include <cairo.h>

#include <string>
#include <vector>

// A document shown by a view without a window, and helpers to carve and look at mazes.
class ViewTest : public DocTest {
protected:
    CGridloomView& ViewOf(CGridloomDoc& doc) {
        view_ = std::make_unique<CGridloomView>();
        view_->SetWindow(&window_);
        view_->SetDocument(&doc);
        view_->OnInitialUpdate();
        return *view_;
    }

    // Carves a spanning tree through every free cell by a depth-first walk from the first
    // free cell, as a made maze looks to the painters.
    static void Carve(CGridloomDoc& doc, std::uint32_t seed = 7) {
        CrtRandom random;
        random.srand(seed);
        struct Cell {
            int c, r, g;
        };
        std::vector<Cell> stack;
        auto visited = [&](const Cell& x) {
            const MazeCell& m = doc.GetGrid(x.g)->GetCell(x.c, x.r);
            return m.passages != 0 || (m.flags & CELL_NOT_ELIGIBLE);
        };
        for (int g = 0; g < doc.GridCount() && stack.empty(); ++g) {
            const Object& grid = *doc.GetGrid(g);
            for (int r = 0; r < grid.Height() && stack.empty(); ++r)
                for (int c = 0; c < grid.Width() && stack.empty(); ++c)
                    if (doc.IsFreeCell(c, r, g))
                        stack.push_back({c, r, g});
        }
        bool first = true;
        while (!stack.empty()) {
            const Cell at = stack.back();
            std::vector<CGridloomDoc::Neighbour> open;
            for (int s = 1; s <= doc.GetGrid(at.g)->SideCount(); ++s) {
                const auto n = doc.FindNeighbour(at.c, at.r, at.g, s);
                if (n && !visited({n->column, n->row, n->grid}))
                    open.push_back(*n);
            }
            if (open.empty()) {
                stack.pop_back();
                continue;
            }
            const auto n = open[static_cast<std::size_t>(random.rand()) % open.size()];
            for (int s = 1; s <= doc.GetGrid(at.g)->SideCount(); ++s) {
                const auto back = doc.FindNeighbour(at.c, at.r, at.g, s);
                if (back && back->column == n.column && back->row == n.row &&
                    back->grid == n.grid && back->side == n.side) {
                    doc.GetGrid(at.g)->GetCell(at.c, at.r).OpenSide(s);
                    break;
                }
            }
            doc.GetGrid(n.grid)->GetCell(n.column, n.row).OpenSide(n.side);
            (void)first;
            first = false;
            stack.push_back({n.column, n.row, n.grid});
        }
        doc.cleared = 0;
        doc.mazeMade = 1;
        doc.reRender = 1;
    }

    static bool SavePng(RasterSurface& surface, const std::string& path) {
        surface.Pixels();
        return cairo_surface_write_to_png(surface.CairoSurface(), path.c_str()) ==
               CAIRO_STATUS_SUCCESS;
    }

    void TearDown() override {
        view_.reset();
        DocTest::TearDown();
    }

    HeadlessViewWindow window_;
    std::unique_ptr<CGridloomView> view_;
};
