#pragma once
#include "platform/CPoint.h"

#include <vector>

class PolylineBatch;
class RingCellGeometry;
struct MazeCell;

// The points of the two boundaries of one ring of a circular maze, worked out once for all
// the cells of the ring. Loading the next ring reuses the outer boundary as its inner one
// when the two are the same points, so a full wall pass works out each shared arc once.
class RingWalls {
public:
    explicit RingWalls(const RingCellGeometry& geometry) : geometry_(geometry) {}

    // Columns `first` to `last` of the ring (inclusive).
    void Load(int ring, int first, int last);
    // The closed sides of the cell (a column of the loaded ring), as Side lists them.
    void AddWalls(const MazeCell& cell, int column, PolylineBatch& batch) const;

private:
    const RingCellGeometry& geometry_;
    int ring_ = -1;
    int first_ = 0;
    int last_ = -1;
    int outerChords_ = 10;
    std::vector<CPoint> inner_;
    std::vector<CPoint> outer_;
};
