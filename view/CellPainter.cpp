#include "view/CellPainter.h"

#include "document/CGridloomDoc.h"
#include "maze/TemplateKind.h"
#include "platform/CDC.h"
#include "view/PolygonCellGeometry.h"
#include "view/RingCellGeometry.h"

#include <algorithm>

namespace {

const POINT* Pts(const std::vector<CPoint>& v) {
    return v.data();
}

} // namespace

CellPainter::CellPainter(const CGridloomDoc& doc, const PolygonCellGeometry* polygons,
                         const RingCellGeometry* rings, const CellPaintContext& context,
                         int penWidth)
    : doc_(doc), polygons_(polygons), rings_(rings), context_(context),
      wallPen_(PS_SOLID, penWidth, context.colours.wallPen),
      rubOutPen_(PS_SOLID, penWidth, RGB(255, 255, 255)),
      hiddenEndPen_(PS_DOT, 0, kHiddenEndPenColour), nullPen_(PS_NULL, 0, 0) {}

CBrush& CellPainter::BrushFor(COLORREF colour) {
    auto it = brushes_.find(colour);
    if (it == brushes_.end())
        it = brushes_.try_emplace(colour, colour).first;
    return it->second;
}

bool CellPainter::PaintPolygonCell(CDC& dc, int column, int row, int grid, int pass) {
    const Object* g = doc_.GetGrid(grid);
    if (!polygons_ || !g || grid >= polygons_->Grids() || !g->InBounds(column, row))
        return false;
    polygons_->Outline(column, row, grid, outline_);
    const int corners = static_cast<int>(outline_.size()) - 1;
    Paint(dc, g->GetCell(column, row), pass, corners, false, column, row, grid);
    return true;
}

bool CellPainter::PaintRingCell(CDC& dc, int column, int row, int grid, int pass) {
    const Object* g = doc_.GetGrid(grid);
    if (!rings_ || !g || !g->InBounds(column, row) || !rings_->Exists(column, row))
        return false;
    rings_->Outline(column, row, outline_);
    Paint(dc, g->GetCell(column, row), pass, static_cast<int>(outline_.size()), true, column, row,
          grid);
    return true;
}

void CellPainter::PaintAll(CDC& dc, int pass) {
    const int grids = doc_.GridCount();
    // Every grid of a template has the same size; each is still walked within its own.
    const Object* first = doc_.GetGrid(0);
    if (!first)
        return;
    const bool ring = first->GridType() == GRID_RING;
    const int rows = ring && rings_ ? rings_->Rings() : first->Height();
    for (int row = 0; row < rows; ++row) {
        const int columns = ring && rings_ ? rings_->CellsIn(row) : first->Width();
        for (int column = 0; column < columns; ++column) {
            for (int g = 0; g < grids; ++g) {
                if (doc_.GetGrid(g)->GridType() == GRID_RING)
                    PaintRingCell(dc, column, row, g, pass);
                else
                    PaintPolygonCell(dc, column, row, g, pass);
            }
        }
    }
}

void CellPainter::Paint(CDC& dc, const MazeCell& cell, int pass, int outlinePoints, bool ring,
                        int column, int row, int grid) {
    CellPaintContext context = context_;
    context.printing = dc.IsPrinting();
    const CellAppearance a = CellAppearance::Of(cell, pass, context);
    if (a.body == CellAppearance::Body::None && a.walls == CellAppearance::Walls::None)
        return;
    CPen* oldPen = dc.SelectObject(&wallPen_);
    PaintBody(dc, a, outlinePoints);
    if (a.walls != CellAppearance::Walls::None) {
        dc.SelectObject(a.walls == CellAppearance::Walls::Dotted ? &hiddenEndPen_ : &wallPen_);
        PaintWalls(dc, cell, ring, column, row, grid);
    }
    dc.SelectObject(oldPen);
}

void CellPainter::PaintBody(CDC& dc, const CellAppearance& a, int outlinePoints) {
    using Body = CellAppearance::Body;
    if (a.body == Body::None)
        return;
    if (a.body == Body::OutlineOnly) {
        // Polygon cells list their first corner again at the end; ring outlines are drawn
        // as they are.
        const int points = std::min<int>(outlinePoints + 1, static_cast<int>(outline_.size()));
        dc.Polyline(Pts(outline_), points);
        return;
    }
    CBrush* oldBrush = dc.SelectObject(&BrushFor(a.fill));
    if (a.body == Body::Region) {
        // The outline's inside only, as a region fill paints it.
        dc.SelectObject(&nullPen_);
        dc.Polygon(Pts(outline_), outlinePoints);
        dc.SelectObject(&wallPen_);
    } else if (a.body == Body::RubOut) {
        dc.SelectObject(&rubOutPen_);
        dc.Polygon(Pts(outline_), outlinePoints);
        dc.SelectObject(&wallPen_);
    } else {
        dc.Polygon(Pts(outline_), outlinePoints);
    }
    dc.SelectObject(oldBrush);
}

void CellPainter::PaintWalls(CDC& dc, const MazeCell& cell, bool ring, int column, int row,
                             int grid) {
    if (ring) {
        const int sides = rings_->SideCount(row);
        for (int s = 1; s <= sides; ++s) {
            if (cell.HasPassage(s))
                continue;
            rings_->Side(column, row, s, side_);
            dc.Polyline(Pts(side_), static_cast<int>(side_.size()));
        }
        return;
    }
    // Side s runs from corner s - 1 to corner s of the outline (which closes on corner 0).
    const int sides = polygons_->Sides(grid);
    for (int s = 1; s <= sides; ++s)
        if (!cell.HasPassage(s))
            dc.Polygon(Pts(outline_) + (s - 1), 2);
}
