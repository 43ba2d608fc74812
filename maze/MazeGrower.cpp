#include "maze/MazeGrower.h"

#include "maze/CellAnimation.h"
#include "maze/LatticeCells.h"
#include "maze/MazeCell.h"
#include "maze/MazeGrids.h"
#include "maze/MazeProgress.h"
#include "maze/NoAnimation.h"
#include "maze/Object.h"
#include "maze/TemplateKind.h"
#include "platform/CrtRandom.h"

#include "platform/CWaitCursor.h"
#include <algorithm>
#include <optional>

namespace {

// rand() reaches no further than this, so a random search never finds cells past it.
constexpr int kRandomReach = CrtRandom::kRandMax + 1;
// Random tries for the first cell before taking the first free one in reach.
constexpr long kMaxFirstCellTries = 1L << 22;
// Consecutive failed picks before the weights are set aside for a while.
constexpr int kMaxFailures = 20;

} // namespace

MazeGrower::MazeGrower(MazeGrids& grids, MazeProgress& progress, CrtRandom& random,
                       ICellPainter* painter)
    : grids_(grids), progress_(progress), carver_(grids, progress.frontier), chooser_(random),
      random_(random),
      painter_(grids.Settings().animate ? painter : nullptr), cursor_{progress.cursorColumn,
                                                                      progress.cursorRow,
                                                                      progress.cursorGrid} {
    for (int g = 0; g < carver_.Neighbours().GridCount(); ++g) {
        weights_[static_cast<std::size_t>(g)] = SideWeights(grids.GetGrid(g)->GrowthWeights());
    }
}

bool MazeGrower::Start() {
    const MazeSettings& settings = grids_.Settings();
    if (grids_.GridCount() == 0 || settings.columns <= 0 || settings.rows <= 0) {
        return false;
    }
    progress_.mazeMade = 1;
    progress_.cleared = 0;
    MarkAutomaticEnds();
    ClearMarksAndRebuildFrontier();
    if (!progress_.frontier.Empty()) {
        return true; // carved before: continue from the carved region without reseeding
    }
    if (settings.seed != -1) {
        random_.srand(static_cast<std::uint32_t>(settings.seed));
    }
    progress_.reRender = 1;
    if (!PickFirstCell()) {
        return false;
    }
    if (progress_.seedPoints.empty()) {
        progress_.seedPoints.emplace_back(cursor_.column, cursor_.row);
    }
    CarveFirstStep();
    return true;
}

void MazeGrower::MarkAutomaticEnds() {
    const bool tiled = grids_.Settings().tiled != 0;
    if (!(progress_.docFlags & MazeProgress::kUserStart)) {
        Object& first = *grids_.GetGrid(0);
        if (first.InBounds(0, 0)) {
            first.GetCell(0, 0).flags |= tiled ? CELL_START : (CELL_START | CELL_HIDDEN);
        }
    }
    if (!(progress_.docFlags & MazeProgress::kUserStop)) {
        Object& last = *grids_.GetGrid(grids_.GridCount() - 1);
        const int c = grids_.Settings().columns - 1;
        const int r = grids_.Settings().rows - 1;
        if (last.InBounds(c, r)) {
            last.GetCell(c, r).flags |= tiled ? CELL_STOP : (CELL_STOP | CELL_HIDDEN);
        }
    }
}

void MazeGrower::ClearMarksAndRebuildFrontier() {
    unsigned anyPassage = 0; // ORed rather than tested per cell, so the loop stays simple
    for (int g = 0; g < grids_.GridCount(); ++g) {
        for (MazeCell& cell : grids_.GetGrid(g)->Cells()) {
            cell.flags &= CELL_KEEP_ON_CLEAR;
            anyPassage |= cell.passages;
        }
    }
    progress_.frontier.Clear();
    if (anyPassage == 0) {
        return;
    }
    // Column by column, as the order of the rebuilt list decides which cells are picked.
    for (int g = 0; g < grids_.GridCount(); ++g) {
        const Object& grid = *grids_.GetGrid(g);
        for (int c = 0; c < grid.Width(); ++c) {
            for (int r = 0; r < grid.Height(); ++r) {
                if (grid.GetCell(c, r).IsCarved()) {
                    carver_.AddFrontierNeighbours({c, r, g}, candidates_);
                }
            }
        }
    }
}

bool MazeGrower::PickFirstCell() {
    const int grid = progress_.cursorGrid;
    if (cursor_.column == -1 && cursor_.row == -1) {
        const auto fallback = FirstReachableFreeCell(grid);
        if (!fallback) {
            return false;
        }
        const int columns = grids_.Settings().columns;
        const int rows = grids_.Settings().rows;
        long tries = 0;
        do {
            cursor_.column = random_.rand() % columns;
            cursor_.row = random_.rand() % rows;
            // Successive draws need not reach every pair of column and row; give up on the
            // draws long after any real search would have ended rather than spin for ever.
            if (++tries > kMaxFirstCellTries) {
                cursor_ = *fallback;
                break;
            }
        } while (!grids_.IsFreeCell(cursor_.column, cursor_.row, grid));
    } else if (!grids_.IsFreeCell(cursor_.column, cursor_.row, grid)) {
        return false;
    }
    cursor_.grid = grid;
    SetCursor(cursor_);
    return true;
}

std::optional<frontier_location> MazeGrower::FirstReachableFreeCell(int grid) const {
    const int columns = std::min(grids_.Settings().columns, kRandomReach);
    const int rows = std::min(grids_.Settings().rows, kRandomReach);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            if (grids_.IsFreeCell(c, r, grid)) {
                return frontier_location{c, r, grid};
            }
        }
    }
    return std::nullopt;
}

void MazeGrower::CarveFirstStep() {
    if (carver_.AddFrontierNeighbours(cursor_, candidates_) == 0) {
        return;
    }
    const int side = chooser_.Choose(candidates_, carver_.SideCount(cursor_.grid), even_);
    Animated([&](auto& animation) {
        StepAcross(carver_, animation, cursor_, side);
        carver_.AddFrontierNeighbours(cursor_, candidates_);
        animation.Draw(cursor_);
    });
}

template <typename Run> void MazeGrower::Animated(Run run) {
    if (painter_) {
        CellAnimation animation(*painter_, carver_.Neighbours(), grids_.Settings().animationDelay);
        run(animation);
    } else {
        NoAnimation none;
        run(none);
    }
}

void MazeGrower::Grow() {
    CWaitCursor wait;
    progress_.previousDirection = 0;
    if (grids_.GridCount() > 0) {
        // A lattice grows on its flat arrays, animated or not: the same cells, only faster.
        const auto lattice = LatticeCells::Of(carver_.Neighbours(), grids_);
        Animated([&](auto& animation) {
            if (lattice) {
                LatticeCarver carver(*lattice, progress_.frontier);
                GrowOn(carver, animation);
            } else {
                GrowOn(carver_, animation);
            }
        });
    }
    SetCursor(cursor_);
}

template <typename Carver, typename Animation>
void MazeGrower::GrowOn(Carver& carver, Animation& animation) {
    FrontierList& frontier = progress_.frontier;
    int failures = 0;
    while (!frontier.Empty()) {
        const std::size_t index = static_cast<std::size_t>(random_.rand()) % frontier.Size();
        typename Carver::Place at = carver.Entry(index);
        cursor_ = {at.column, at.row, at.grid};
        if (carver.FindCarvedNeighbours(at, candidates_) == 0) {
            // Nothing carved next to it (a cell the user joined to nothing): it can never join.
            carver.Cell(at).flags &= static_cast<WORD>(~CELL_FRONTIER);
            frontier.RemoveAt(index);
            continue;
        }
        const int side = chooser_.Choose(candidates_, carver.SideCount(at.grid), Weights(at.grid));
        if (side < 1) {
            CountFailure(failures);
            continue;
        }
        carver.Cell(at).flags &= static_cast<WORD>(~CELL_FRONTIER);
        frontier.RemoveAt(index);
        carver.OpenSide(at, side);
        animation.Draw(at);
        typename Carver::Place carved = at;
        if (int shared = 0; carver.Step(carved, side, shared)) {
            carver.OpenSide(carved, shared);
        }
        progress_.previousDirection = side;
        failures = 0;
        Walk(carver, animation, at);
        cursor_ = {at.column, at.row, at.grid};
    }
}

void MazeGrower::CountFailure(int& failures) {
    if (++failures > kMaxFailures) {
        progress_.previousDirection = 0;
        failures = 0;
    }
}

template <typename Carver, typename Animation>
void MazeGrower::Walk(Carver& carver, Animation& animation, typename Carver::Place& at) {
    int candidates = carver.AddFrontierNeighbours(at, candidates_);
    while (candidates > 0) {
        const int side = chooser_.Choose(candidates_, carver.SideCount(at.grid), Weights(at.grid));
        if (side < 1) {
            return;
        }
        StepAcross(carver, animation, at, side);
        animation.Draw(at);
        if (animation.Delay() > 0) {
            animation.Pause();
        }
        candidates = carver.AddFrontierNeighbours(at, candidates_);
    }
}

template <typename Carver, typename Animation>
void MazeGrower::StepAcross(Carver& carver, Animation& animation, typename Carver::Place& at,
                            int side) {
    carver.OpenSide(at, side);
    animation.Draw(at);
    int shared = 0;
    if (!carver.Step(at, side, shared)) {
        return; // candidates always lie across a side; nothing to step to otherwise
    }
    carver.Prepare(at);
    progress_.previousDirection = shared;
    carver.OpenSide(at, shared);
}

const SideWeights& MazeGrower::Weights(int grid) const {
    if (progress_.previousDirection < 1) {
        return even_;
    }
    return weights_[static_cast<std::size_t>(grid)];
}

void MazeGrower::SetCursor(const frontier_location& cell) {
    progress_.cursorColumn = cell.column;
    progress_.cursorRow = cell.row;
    progress_.cursorGrid = cell.grid;
}

void MazeGrower::JoinCell(int column, int row, int grid) {
    const frontier_location cell{column, row, grid};
    // Blackened, whitened and out-of-ring cells are never carved, not even by hand.
    if (!carver_.InBounds(cell) ||
        (carver_.Cell(cell).flags & CELL_NOT_ELIGIBLE & ~CELL_FRONTIER)) {
        return;
    }
    grids_.GetGrid(grid)->MarkFrontier(column, row, grid, progress_.frontier);
    SideCandidates carved{};
    const bool noneCarved = carver_.FindCarvedNeighbours(cell, carved) == 0;
    carver_.FindFrontierNeighbours(cell, candidates_);
    for (int s = 1; s <= carver_.SideCount(grid); ++s) {
        if (carved[static_cast<std::size_t>(s)] && !carver_.Cell(cell).HasPassage(s)) {
            carver_.AddFrontierNeighbours(cell, candidates_);
            JoinAcross(cell, s);
        }
    }
    if (noneCarved) {
        const int side = chooser_.Choose(candidates_, carver_.SideCount(grid), even_);
        if (side > 0) {
            JoinAcross(cell, side);
        }
    }
    progress_.reRender = 1;
}

void MazeGrower::JoinAcross(const frontier_location& cell, int side) {
    carver_.OpenSide(cell, side);
    frontier_location neighbour{};
    int shared = 0;
    if (carver_.Across(cell, side, neighbour, shared)) {
        carver_.OpenSide(neighbour, shared);
        carver_.AddFrontierNeighbours(neighbour, candidates_);
    }
}
