#include "view/CellPainter.h"

#include "document/CGridloomDoc.h"
#include "maze/TemplateKind.h"
#include "platform/CDC.h"
#include "view/PolygonCellGeometry.h"
#include "view/RingCellGeometry.h"
#include "view/RingWalls.h"

#include <algorithm>
#include <optional>

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

// Every cell, row by row, column by column, grid by grid. Every grid of a template has the
// same size; each is still walked within its own.
template <typename Visit> void CellPainter::ForEachCell(Visit visit) const {
    const Object* first = doc_.GetGrid(0);
    if (!first)
        return;
    const int grids = doc_.GridCount();
    const bool ring = first->GridType() == GRID_RING;
    const int rows = ring && rings_ ? rings_->Rings() : first->Height();
    for (int row = 0; row < rows; ++row) {
        const int columns = ring && rings_ ? rings_->CellsIn(row) : first->Width();
        for (int column = 0; column < columns; ++column)
            for (int g = 0; g < grids; ++g)
                visit(column, row, g);
    }
}

void CellPainter::PaintAll(CDC& dc, int pass) {
    if (pass == PASS_WALLS) {
        PaintAllWalls(dc);
        return;
    }
    CellPaintContext context = context_;
    context.printing = dc.IsPrinting();
    ForEachCell([&](int column, int row, int g) {
        const Object* grid = doc_.GetGrid(g);
        // Most cells of a made maze show nothing in the fill pass; their outlines are not needed.
        if (grid->InBounds(column, row)) {
            const CellAppearance a = CellAppearance::Of(grid->GetCell(column, row), pass, context);
            if (a.body == CellAppearance::Body::None && a.walls == CellAppearance::Walls::None)
                return;
        }
        if (grid->GridType() == GRID_RING)
            PaintRingCell(dc, column, row, g, pass);
        else
            PaintPolygonCell(dc, column, row, g, pass);
    });
}

// The wall pass in the order of the other passes, with each ring's arcs worked out once for
// the whole ring.
void CellPainter::PaintAllWalls(CDC& dc) {
    if (!doc_.GetGrid(0))
        return;
    std::optional<RingWalls> ringWalls;
    if (rings_)
        ringWalls.emplace(*rings_);
    CellPaintContext context = context_;
    context.printing = dc.IsPrinting();
    ForEachCell([&](int column, int row, int g) {
        const Object* grid = doc_.GetGrid(g);
        if (!grid->InBounds(column, row))
            return;
        const bool ringCell = grid->GridType() == GRID_RING;
        if (ringCell ? !rings_ || !rings_->Exists(column, row)
                     : !polygons_ || g >= polygons_->Grids())
            return;
        const MazeCell& cell = grid->GetCell(column, row);
        const CellAppearance a = CellAppearance::Of(cell, PASS_WALLS, context);
        if (a.walls == CellAppearance::Walls::None)
            return;
        if (ringCell) {
            ringWalls->Load(row, 0, rings_->CellsIn(row) - 1);
            AddRingWalls(dc, WallPenOf(a), cell, column, *ringWalls);
            return;
        }
        const std::vector<CPoint>& offsets = polygons_->Offsets(g);
        AddPolygonWalls(dc, WallPenOf(a), cell, polygons_->Origin(column, row), offsets.data(),
                        static_cast<int>(offsets.size()));
    });
    DrawPendingWalls(dc);
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
    dc.SelectObject(oldPen);
    if (a.walls != CellAppearance::Walls::None) {
        if (ring) {
            RingWalls walls(*rings_);
            walls.Load(row, column, column);
            AddRingWalls(dc, WallPenOf(a), cell, column, walls);
        } else {
            AddPolygonWalls(dc, WallPenOf(a), cell, CPoint{0, 0}, outline_.data(),
                            polygons_->Sides(grid));
        }
        DrawPendingWalls(dc);
    }
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

void CellPainter::AddPolygonWalls(CDC& dc, CPen& pen, const MazeCell& cell, CPoint origin,
                                  const CPoint* corners, int sides) {
    SwitchBatch(dc, pen, polygonWalls_);
    // Side s runs from corner s - 1 to corner s of the outline, which closes on corner 0.
    for (int s = 1; s <= sides; ++s)
        if (!cell.HasPassage(s))
            polygonWalls_.AddSegment(origin + corners[s - 1], origin + corners[s == sides ? 0 : s]);
}

void CellPainter::AddRingWalls(CDC& dc, CPen& pen, const MazeCell& cell, int column,
                               const RingWalls& walls) {
    SwitchBatch(dc, pen, ringWalls_);
    walls.AddWalls(cell, column, ringWalls_);
}

void CellPainter::SwitchBatch(CDC& dc, CPen& pen, const PolylineBatch& batch) {
    // Bands keep the pending points within a few megabytes on the largest grids.
    constexpr std::size_t kBandPoints = 1 << 16;
    const PolylineBatch& other = &batch == &polygonWalls_ ? ringWalls_ : polygonWalls_;
    if (&pen != pendingPen_ || !other.Empty() || batch.PointCount() >= kBandPoints)
        DrawPendingWalls(dc);
    pendingPen_ = &pen;
}

void CellPainter::DrawPendingWalls(CDC& dc) {
    if (!pendingPen_)
        return;
    CPen* oldPen = dc.SelectObject(pendingPen_);
    for (PolylineBatch* batch : {&polygonWalls_, &ringWalls_}) {
        if (!batch->Empty())
            dc.DrawBatch(*batch);
        batch->Clear();
    }
    dc.SelectObject(oldPen);
    pendingPen_ = nullptr;
}
