#pragma once
#include "maze/MazeSettings.h"
#include "maze/NeighbourRule.h"
#include "maze/Object.h"
#include "platform/CPoint.h"

#include <array>
#include <memory>
#include <optional>
#include <vector>

struct TemplateInfo;

// The grids of one template and what the maze algorithms read besides their cells: the
// settings they were built for (size, wrapping, kind, animation) and, for a ring template,
// the cell count of each ring. The settings belong to the owner and must outlive this.
class MazeGrids {
public:
    static constexpr int kMaxGrids = 8;

    struct Neighbour {
        int column;
        int row;
        int grid;
        int side; // the neighbour's side that is shared
    };

    explicit MazeGrids(const MazeSettings& settings) : settings_(settings) {}
    MazeGrids(const MazeGrids&) = delete;
    MazeGrids& operator=(const MazeGrids&) = delete;

    const MazeSettings& Settings() const { return settings_; }

    int GridCount() const { return gridCount_; }
    Object* GetGrid(int index);
    const Object* GetGrid(int index) const;
    // The kind the grids were created for; -1 without grids.
    int BuiltKind() const { return builtKind_; }
    void Create(const TemplateInfo& info);
    void Destroy();

    const std::vector<int>& RingCounts() const { return ringCounts_; }
    void ClearRingCounts() { ringCounts_.clear(); }
    // Takes per-ring cell counts for a ring grid: the cells past each ring's count are
    // erased. False (nothing changed) without a ring grid or for counts it can't hold.
    bool SetRingCounts(std::vector<int> counts);
    // Recomputes every grid's growth weights from the settings' compass weights.
    void UpdateGrowthWeights();

    bool IsFreeCell(int column, int row, int grid) const;
    NeighbourRule FindNeighbourRule(int column, int row, int grid, int side) const;
    // The cell across a side, displaced by the rule's offsets; none when there is none (a
    // polygon step may still land outside the grid: test with InBounds).
    std::optional<CPoint> StepToNeighbour(int side, int column, int row, int grid, int dx,
                                          int dy) const;
    // The neighbour across a side, inside its grid, or none.
    std::optional<Neighbour> FindNeighbour(int column, int row, int grid, int side) const;

private:
    const MazeSettings& settings_;
    std::array<std::unique_ptr<Object>, kMaxGrids> grids_;
    int gridCount_ = 0;
    int builtKind_ = -1;
    std::vector<int> ringCounts_;
};
