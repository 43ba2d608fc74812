#include "maze/GrowthSnapshot.h"

#include "maze/MazeGrids.h"
#include "maze/Object.h"
#include "platform/CrtRandom.h"

#include <algorithm>

GrowthSnapshot::GrowthSnapshot(const MazeGrids& grids, const MazeProgress& progress,
                               const CrtRandom& random)
    : progress_(progress), randomState_(random.State()) {
    for (int g = 0; g < grids.GridCount(); ++g) {
        const auto cells = grids.GetGrid(g)->Cells();
        cells_.emplace_back(cells.begin(), cells.end());
    }
}

void GrowthSnapshot::Restore(MazeGrids& grids, MazeProgress& progress, CrtRandom& random) const {
    for (int g = 0; g < grids.GridCount() && std::size_t(g) < cells_.size(); ++g) {
        const auto cells = grids.GetGrid(g)->Cells();
        const auto& kept = cells_[std::size_t(g)];
        if (cells.size() == kept.size())
            std::copy(kept.begin(), kept.end(), cells.begin());
    }
    progress = progress_;
    random.srand(randomState_);
}
