#pragma once
#include "platform/CBrush.h"
#include "platform/CPen.h"
#include "platform/CPoint.h"
#include "view/CellAppearance.h"

#include <map>
#include <vector>

class CDC;
class CGridloomDoc;
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
    void Paint(CDC& dc, const MazeCell& cell, int pass, int outlinePoints, bool ring, int column,
               int row, int grid);
    void PaintBody(CDC& dc, const CellAppearance& a, int outlinePoints);
    void PaintWalls(CDC& dc, const MazeCell& cell, bool ring, int column, int row, int grid);
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
    std::vector<CPoint> side_;
};
