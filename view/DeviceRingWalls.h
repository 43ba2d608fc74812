#pragma once
#include "platform/CPoint.h"

#include <vector>

class CDC;
class PolylineBatch;
class RingCellGeometry;
struct MazeCell;

// The device points of the two boundaries of one ring of a circular maze, mapped once for all
// the cells of the ring. Loading the next ring reuses the outer boundary as its inner one
// when the two are the same points, so a full wall pass maps each shared arc once.
class DeviceRingWalls {
public:
    DeviceRingWalls(const CDC& dc, const RingCellGeometry& geometry)
        : dc_(dc), geometry_(geometry) {}

    // Columns `first` to `last` of the ring (inclusive).
    void Load(int ring, int first, int last);
    // The closed sides of the cell (a column of the loaded ring), as Side lists them.
    void AddWalls(const MazeCell& cell, int column, PolylineBatch& batch) const;

private:
    const CDC& dc_;
    const RingCellGeometry& geometry_;
    int ring_ = -1;
    int first_ = 0;
    int last_ = -1;
    int outerChords_ = 10;
    std::vector<CPoint> inner_;
    std::vector<CPoint> outer_;
};
