#pragma once
#include "maze/CellArrays.h"
#include "maze/NeighbourCache.h"

class MazeGrids;
class ICellPainter;
class Object;

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
    // Fills every dead end of the grids, over either cells (LatticeCells for a lattice,
    // general ones otherwise) and either animation: the same fill on all four.
    template <typename Cells, typename Animation>
    void FillPass(const Cells& cells, Animation& animation);
    // Fills the dead end at `at`, leaving by `side`, and on along its corridor.
    template <typename Cells, typename Animation>
    void FillFrom(const Cells& cells, Animation& animation, typename Cells::Place at, int side);
    long MarkSolution();

    MazeGrids& grids_;
    NeighbourCache neighbours_;
    CellArrays cells_;
    ICellPainter* painter_ = nullptr; // only while animating
    int delay_ = 0;
};
