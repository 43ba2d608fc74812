#include "tests/view/ViewTestSupport.h"

#include "maze/TemplateKind.h"
#include "platform/CDC.h"
#include "platform/CRgn.h"
#include "view/CellPainter.h"

#include <map>

namespace {

struct CellId {
    int column, row, grid;
    auto operator<=>(const CellId&) const = default;
};

} // namespace

class HitTestTest : public ViewTest, public ::testing::WithParamInterface<int> {
protected:
    // Every cell of the document with its centre in page pixels.
    std::vector<std::pair<CellId, CPoint>> Centres(CGridloomDoc& doc, CGridloomView& view) {
        std::vector<std::pair<CellId, CPoint>> out;
        CDC& dc = view.Buffer().Dc();
        const Object& first = *doc.GetGrid(0);
        if (first.GridType() == GRID_RING) {
            const RingCellGeometry& rings = *view.Rings();
            for (int r = 0; r < rings.Rings(); ++r)
                for (int c = 0; c < rings.CellsIn(r); ++c)
                    out.push_back({{c, r, 0}, rings.Centre(c, r)});
        } else {
            const PolygonCellGeometry polygons(GeometryCache::ShapesOf(doc.Settings().kind),
                                               doc.GetCellWidth(), doc.GetCellHeight());
            for (int g = 0; g < doc.GridCount(); ++g) {
                for (int r = 0; r < first.Height(); ++r) {
                    for (int c = 0; c < first.Width(); ++c) {
                        double x = 0, y = 0;
                        polygons.Centre(c, r, g, x, y);
                        out.push_back({{c, r, g}, CPoint(LONG(x), LONG(y))});
                    }
                }
            }
        }
        for (auto& [cell, p] : out)
            dc.LPtoDP(&p);
        return out;
    }
};

TEST_P(HitTestTest, EveryCellIsHitAtItsCentreAndWhereverItsFillLies) {
    const int kind = GetParam();
    CGridloomDoc& doc = NewDoc(kind, 7, 6);
    if (kind == KIND_CIRCULAR) {
        doc.GetGrid(0)->ring0Count = 6;
        doc.GetGrid(0)->innerRadius = 0.2;
        doc.ClearRingCounts();
    }
    CGridloomView& view = ViewOf(doc);
    if (kind == KIND_CIRCULAR) {
        ASSERT_TRUE(view.LayoutRings());
    }

    const auto centres = Centres(doc, view);
    ASSERT_GT(centres.size(), 20u);
    CRgn region;
    for (const auto& [cell, pixel] : centres) {
        const auto hit = view.HitTestCell(pixel, &region);
        ASSERT_TRUE(hit) << cell.column << "," << cell.row << "," << cell.grid;
        EXPECT_EQ(CellId({hit->column, hit->row, hit->grid}), cell);
        EXPECT_TRUE(region.PtInRegion(pixel));
    }
    // Off the maze nothing is hit and the region is left empty.
    const CSize page = view.Buffer().PixelSize();
    EXPECT_FALSE(view.HitTestCell({page.cx + 50, page.cy + 50}, &region));
    EXPECT_EQ(region.GetSafeHandle(), nullptr);

    // Fill every cell's outline in its own colour, as the painters fill it; wherever a fill
    // shows, the hit test names that cell.
    CDC& dc = view.Buffer().Dc();
    view.Buffer().Clear();
    std::map<COLORREF, CellId> byColour;
    CellPaintContext context;
    context.mazeMade = true;
    int index = 1;
    for (const auto& [cell, pixel] : centres) {
        const COLORREF colour = RGB(index & 0xFF, (index >> 8) & 0xFF, 0x80);
        byColour[colour] = cell;
        ++index;
        // A lone closed, flagless cell of a made maze paints as a filled polygon.
        CBrush brush(colour);
        CPen none(PS_NULL, 0, 0);
        CBrush* oldBrush = dc.SelectObject(&brush);
        CPen* oldPen = dc.SelectObject(&none);
        std::vector<CPoint> outline;
        if (kind == KIND_CIRCULAR)
            view.Rings()->Outline(cell.column, cell.row, outline);
        else
            PolygonCellGeometry(GeometryCache::ShapesOf(kind), doc.GetCellWidth(),
                                doc.GetCellHeight())
                .Outline(cell.column, cell.row, cell.grid, outline);
        dc.Polygon(outline.data(), static_cast<int>(outline.size()));
        dc.SelectObject(oldBrush);
        dc.SelectObject(oldPen);
    }
    RasterSurface& surface = *view.Buffer().Surface();
    int filled = 0;
    for (int y = 0; y < surface.Height(); y += 3) {
        for (int x = 0; x < surface.Width(); x += 3) {
            const auto it = byColour.find(RasterSurface::ToColor(surface.Row(y)[x]));
            if (it == byColour.end())
                continue;
            ++filled;
            const auto hit = view.HitTestCell({x, y});
            ASSERT_TRUE(hit) << x << "," << y;
            ASSERT_EQ(CellId({hit->column, hit->row, hit->grid}), it->second) << x << "," << y;
        }
    }
    EXPECT_GT(filled, 1000);
}

INSTANTIATE_TEST_SUITE_P(AllKinds, HitTestTest, ::testing::Values(0, 1, 2, 3, 4, 5, 40));
