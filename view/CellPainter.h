#pragma once
#include "platform/CBrush.h"
#include "platform/CPen.h"
#include "platform/CPoint.h"
#include "platform/PolylineBatch.h"
#include "view/CellAppearance.h"

#include <map>
#include <vector>

class CDC;
class CGridloomDoc;
class RingWalls;
struct MazeCell;
class PolygonCellGeometry;
class RingCellGeometry;

// Paints the cells of the document's grids through a device context, one at a time (a
// single-cell redraw) or all of them in the fill pass and then the wall pass of a full
// render. Polygon cells take their corners from the polygon geometry, ring cells their
// sectors from the ring geometry; either may be missing, and its cells are then not drawn.
class CellPainter {
public:
    CellPainter(const CGridloomDoc& doc, const PolygonCellGeometry* polygons,
                const RingCellGeometry* rings, const CellPaintContext& context, int penWidth);

    // False when the cell does not exist (nothing drawn).
    bool PaintPolygonCell(CDC& dc, int column, int row, int grid, int pass);
    bool PaintRingCell(CDC& dc, int column, int row, int grid, int pass);
    // Every cell, row by row, column by column, grid by grid, in one pass (fill or walls).
    void PaintAll(CDC& dc, int pass);

    // The logical outline of the cell painted last (corners closed, or the ring sector).
    const std::vector<CPoint>& LastOutline() const { return outline_; }

private:
    template <typename Visit> void ForEachCell(Visit visit) const;
    void PaintAllWalls(CDC& dc);
    void Paint(CDC& dc, const MazeCell& cell, int pass, int outlinePoints, bool ring, int column,
               int row, int grid);
    void PaintBody(CDC& dc, const CellAppearance& a, int outlinePoints);
    // Walls join the pending batch of their pen; a change of pen or of batch draws what is
    // pending first, so walls land in the order the cells are visited.
    // Corner m of the cell is origin + corners[m], m < sides.
    void AddPolygonWalls(CDC& dc, CPen& pen, const MazeCell& cell, CPoint origin,
                         const CPoint* corners, int sides);
    void AddRingWalls(CDC& dc, CPen& pen, const MazeCell& cell, int column, const RingWalls& walls);
    void SwitchBatch(CDC& dc, CPen& pen, const PolylineBatch& batch);
    void DrawPendingWalls(CDC& dc);
    CPen& WallPenOf(const CellAppearance& a) {
        return a.walls == CellAppearance::Walls::Dotted ? hiddenEndPen_ : wallPen_;
    }
    CBrush& BrushFor(COLORREF colour);

    const CGridloomDoc& doc_;
    const PolygonCellGeometry* polygons_;
    const RingCellGeometry* rings_;
    CellPaintContext context_;
    CPen wallPen_;
    CPen rubOutPen_;
    CPen hiddenEndPen_;
    CPen nullPen_;
    std::map<COLORREF, CBrush> brushes_;
    std::vector<CPoint> outline_;
    PolylineBatch polygonWalls_{true}; // two-point polygons, as the walls were always drawn
    PolylineBatch ringWalls_{false};
    CPen* pendingPen_ = nullptr;
};
