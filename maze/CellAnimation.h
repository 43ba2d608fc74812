#pragma once
#include "maze/ICellPainter.h"
#include "maze/NeighbourCache.h"

// How the grower and the solver show their work, as a type: they are written once over it, so
// that an animated run and a quiet run do the same steps with the same draws. This one redraws
// each cell on the view as it changes; NoAnimation is the quiet one.
class CellAnimation {
public:
    static constexpr bool kAnimates = true;

    CellAnimation(ICellPainter& painter, const NeighbourCache& neighbours, int delay)
        : painter_(painter), neighbours_(neighbours), delay_(delay) {}

    // `at` is any place with a column, row and grid.
    template <typename Place> void Draw(const Place& at) {
        if (neighbours_.IsRing(at.grid)) {
            painter_.DrawRingCell(at.column, at.row, at.grid, 1);
        } else {
            painter_.DrawPolygonCell(at.column, at.row, at.grid, 1);
        }
    }
    // The delay the settings ask for between steps.
    int Delay() const { return delay_; }
    // Waits the delay, or just keeps the window alive when there is none.
    void Pause() { painter_.Pause(delay_); }

private:
    ICellPainter& painter_;
    const NeighbourCache& neighbours_;
    int delay_ = 0;
};
