#pragma once
#include "maze/DirectionChooser.h"
#include "maze/LatticeCells.h"
#include "maze/MazeCarver.h"
#include "maze/MazeGrids.h"

#include <array>
#include <optional>
#include <span>

class CrtRandom;
class ICellPainter;
struct MazeProgress;

// Grows a perfect maze through the free cells of the grids: a frontier of free
// cells next to the carved region, a random pick that joins one of them to the region, and a
// random walk on from it until the walk is stuck. Every draw comes from the sequence given,
// in a fixed order, so a seed grows the same maze on the same settings.
class MazeGrower {
public:
    // `painter` animates the growth when the settings ask for it; it may be null.
    MazeGrower(MazeGrids& grids, MazeProgress& progress, CrtRandom& random, ICellPainter* painter);

    // Make Maze up to the grow loop: marks the automatic ends, clears the old marks, rebuilds
    // the frontier and, on an uncarved maze, picks the first cell and carves its first step.
    // False when nothing can be grown (no grids or cells, or no free first cell).
    bool Start();
    // The grow loop, until the frontier is used up.
    void Grow();
    // Joins one cell into the carved region, as the user draws a solution.
    void JoinCell(int column, int row, int grid);

private:
    void MarkAutomaticEnds();
    void ClearMarksAndRebuildFrontier();
    bool PickFirstCell();
    // The first free cell that random draws can reach, row by row; none when there is none.
    std::optional<frontier_location> FirstReachableFreeCell(int grid) const;
    void CarveFirstStep();
    // One pass of the grow loop over the entry at a random index.
    void GrowFromRandomEntry(int& failures);
    // A pick that found no side; after too many in a row the walk's direction is forgotten.
    void CountFailure(int& failures);
    void Walk(int candidates);
    void GrowOnLattice(const LatticeCells& cells);
    void WalkOnLattice(LatticeCarver& carver, LatticeCells::Place at);
    // Opens `side` of the cursor cell, steps across it and opens the shared side; the cursor
    // moves to the neighbour.
    void StepCursor(int side);
    void JoinAcross(const frontier_location& cell, int side);
    const SideWeights& Weights(int grid) const;
    // Asked twice for every step of a walk, mostly with no painter.
    void Paint(const frontier_location& cell) {
        if (painter_) {
            PaintCell(cell);
        }
    }
    void PaintCell(const frontier_location& cell);
    void SetCursor(const frontier_location& cell);

    MazeGrids& grids_;
    MazeProgress& progress_;
    MazeCarver carver_;
    DirectionChooser chooser_;
    CrtRandom& random_;
    std::array<SideWeights, MazeGrids::kMaxGrids> weights_{};
    SideWeights even_;                // before the walk has a direction
    ICellPainter* painter_ = nullptr; // only while animating
    frontier_location cursor_;
    SideCandidates candidates_{};
};
