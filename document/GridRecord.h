#pragma once
#include "maze/MazeCell.h"
#include "platform/CArchive.h"

#include <cstdint>
#include <string>
#include <vector>

class Object;

// One grid as the document file stores it. Loading fills a record, never a live grid, so
// that a bad file can be refused before anything changes.
struct GridRecord {
    static constexpr double kRecordVersion = 1.0;
    static constexpr int kSubVersion = 2;

    int initialFlags = 0;
    std::string name;
    int sideCount = 0;
    int gridType = 0;
    int width = 0;
    int height = 0;
    double innerRadius = 0.05;
    int ring0Count = 15;
    // Index column + row * width.
    std::vector<MazeCell> cells;

    // A size a file may give a grid: within the cell cap, and no side longer than the cap
    // either (an empty grid of two billion rows would still be walked row by row).
    static bool IsLoadableSize(std::int64_t width, std::int64_t height);

    static GridRecord FromObject(const Object& grid);
    // Sizes the grid to the record and copies everything in.
    void ApplyTo(Object& grid) const;

    void Store(CArchive& ar) const;
    // Reads one record; every size is checked against the cell cap and the bytes left, and a
    // bad record fails the archive. A grid type of 0 reads as a polygon grid.
    void Load(CArchive& ar);
};
