#pragma once
#include "maze/CellArrays.h"
#include "maze/LatticeCells.h"
#include "maze/NeighbourCache.h"

class MazeGrids;
class ICellPainter;
class Object;
struct MazeCell;
struct frontier_location;

// Finds the path from START to STOP by dead-end filling: every carved cell with a single
// passage is closed off, on both sides, and the filling goes on at its neighbour. What still
// has passages at the end is the solution; the passages themselves are restored afterwards
// from the backup copy, and the solution cells are flagged.
class DeadEndSolver {
public:
    // `painter` animates the filling when the settings ask for it; it may be null.
    DeadEndSolver(MazeGrids& grids, ICellPainter* painter);

    // Returns the number of cells flagged as the solution.
    long Solve();

private:
    void FillPass();
    // Fills the dead end at the cell, leaving by `side`, and on along its corridor.
    void FillFrom(frontier_location cell, int side);
    // The fill of a lattice's cells without painting, the same as FillFrom for each.
    void FillLattice(const LatticeCells& cells, int grid, int width, int height);
    static void FillFromOnLattice(const LatticeCells& cells, LatticeCells::Place at, int side);
    void Paint(const frontier_location& cell);
    long MarkSolution();

    MazeGrids& grids_;
    NeighbourCache neighbours_;
    CellArrays cells_;
    ICellPainter* painter_ = nullptr; // only while animating
    int delay_ = 0;
};
