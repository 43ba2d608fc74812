#pragma once

// What the generator and solver need from a view to animate: redraw one cell
// on the view's own picture right away. The view implements it; without one nothing is drawn.
class ICellPainter {
public:
    virtual ~ICellPainter() = default;

    // Single-cell redraw of a cell of a lattice grid; pass 1 or 2 as the view's painters take.
    virtual void DrawPolygonCell(int column, int row, int grid, int pass) = 0;
    // The same for a cell of a ring grid.
    virtual void DrawRingCell(int column, int row, int grid, int pass) = 0;
    // Keeps the window alive between animation steps, waiting `milliseconds` (0: just yield).
    virtual void Pause(int milliseconds) = 0;
};
