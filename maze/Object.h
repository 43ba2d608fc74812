#pragma once
#include "maze/IFrontierTracker.h"
#include "maze/MazeCell.h"
#include "maze/NeighbourRule.h"
#include "maze/ShapePoint.h"
#include "platform/LargeArrayAllocator.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// One grid of a template: width x height cells of one polygon shape (or rings, when the grid
// type is GRID_RING), a backup copy of the cells for the solver, and the growth weight of
// each side. Shape and neighbour rows are static tables that the grid only points to.
class Object {
public:
    // No grid holds more cells than this; larger sizes are refused.
    static constexpr std::int64_t kMaxCells = 4'000'000;

    explicit Object(std::span<const ShapePoint> shape);

    // True when width x height is a size a grid may have (both >= 0, at most kMaxCells).
    static bool IsAllowedSize(std::int64_t width, std::int64_t height);

    std::span<const ShapePoint> Shape() const { return shape_; }
    int SideCount() const { return sideCount_; }
    // The angle of side s (1-based), or 0 for a side the shape lacks.
    double SideAngle(int side) const;

    int GridType() const { return gridType_; }
    // A ring grid always has five sides (two outward).
    void SetGridType(int type);

    std::span<const NeighbourRule> Rules() const { return rules_; }
    void SetRules(std::span<const NeighbourRule> rules) { rules_ = rules; }

    // Resizes to width x height zeroed cells plus the initial flags; keeps the cells when the
    // size is unchanged. False (nothing changed) for a size IsAllowedSize refuses.
    bool AllocateCells(int width, int height);
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool InBounds(int column, int row) const {
        return column >= 0 && column < width_ && row >= 0 && row < height_;
    }
    // No bounds test: callers test InBounds first.
    MazeCell& GetCell(int column, int row) { return cells_[Index(column, row)]; }
    const MazeCell& GetCell(int column, int row) const { return cells_[Index(column, row)]; }
    MazeCell& GetBackupCell(int column, int row) { return backup_[Index(column, row)]; }
    std::span<MazeCell> Cells() { return cells_; }
    std::span<const MazeCell> Cells() const { return cells_; }
    std::span<MazeCell> BackupCells() { return backup_; }

    // Cell operations that keep the frontier list in step with the cells' frontier flags.
    void OpenSide(int side, int column, int row, int grid, IFrontierTracker& frontier);
    void CloseSide(int side, int column, int row);
    int CountPassages(int column, int row, int* onlySide = nullptr) const;
    void MarkFrontier(int column, int row, int grid, IFrontierTracker& frontier);

    // Growth weight of each side (index side - 1); empty when none were computed.
    const std::vector<int>& GrowthWeights() const { return weights_; }
    void SetGrowthWeights(std::vector<int> weights) { weights_ = std::move(weights); }

    int relativeWeights = 0;
    // Circular grids: cells of the innermost ring, and the inner radius as a fraction of the
    // outer one.
    int ring0Count = 15;
    double innerRadius = 0.05;
    std::string name;
    // ORed into every cell when the cells are allocated.
    int initialFlags = 0;

private:
    std::size_t Index(int column, int row) const {
        return static_cast<std::size_t>(column) +
               static_cast<std::size_t>(row) * static_cast<std::size_t>(width_);
    }

    std::span<const ShapePoint> shape_;
    int sideCount_ = 0;
    int gridType_ = 0;
    std::span<const NeighbourRule> rules_;
    int width_ = 0;
    int height_ = 0;
    std::vector<int> weights_;
    std::vector<MazeCell, LargeArrayAllocator<MazeCell>> cells_;
    // The solver copies every cell in before it reads one.
    std::vector<MazeCell, UnwrittenArrayAllocator<MazeCell>> backup_;
};
