#pragma once
#include "maze/DirectionChooser.h"
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
    // Calls run(animation) with the animation the settings ask for: CellAnimation or
    // NoAnimation.
    template <typename Run> void Animated(Run run);
    // The grow loop, until the frontier is used up, on either carver (MazeCarver for any
    // grids, LatticeCarver for a lattice) and either animation: the same draws in the same
    // order on all four.
    template <typename Carver, typename Animation>
    void GrowOn(Carver& carver, Animation& animation);
    // A pick that found no side; after too many in a row the walk's direction is forgotten.
    void CountFailure(int& failures);
    // Walks on from `at` until no free cell is next to it; `at` ends where the walk ended.
    template <typename Carver, typename Animation>
    void Walk(Carver& carver, Animation& animation, typename Carver::Place& at);
    // Opens `side` of `at`, steps across it and opens the shared side; `at` moves to the
    // neighbour.
    template <typename Carver, typename Animation>
    void StepAcross(Carver& carver, Animation& animation, typename Carver::Place& at, int side);
    void JoinAcross(const frontier_location& cell, int side);
    const SideWeights& Weights(int grid) const;
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
