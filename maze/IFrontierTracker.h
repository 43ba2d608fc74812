#pragma once

// The generator's list of cells that touch the carved region; grids report cells joining and
// leaving the frontier to it.
class IFrontierTracker {
public:
    virtual ~IFrontierTracker() = default;
    // Adds the cell unless it is listed already.
    virtual void AddFrontier(int column, int row, int grid) = 0;
    // True when the cell was listed.
    virtual bool RemoveFrontier(int column, int row, int grid) = 0;
};
