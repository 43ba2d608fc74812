#pragma once
#include "document/CLogicalRectTracker.h"
#include "document/GridRecord.h"
#include "platform/CPoint.h"

#include <string>
#include <vector>

// Everything a maze document file holds, apart from any live document: what a save writes
// and what a load stages before the document takes it over.
struct WkzContent {
    double version = 2.0;
    int kind = 0;
    std::string name;
    int flags = 0; // 0x10 user placed START, 0x20 user placed STOP
    int scale = 400;
    int cursorColumn = -1;
    int xOffset = 0;
    int cursorRow = -1;
    int yOffset = 0;
    int columns = 10;
    int pageWidth = 7499;
    int widthMultiplier = 1;
    int rows = 10;
    int pageHeight = 9499;
    int heightMultiplier = 1;
    int seed = 0;
    int tiled = 0;
    std::string tilerId;
    std::vector<int> ringCounts;
    std::vector<GridRecord> grids;
    std::vector<CLogicalRectTracker> objects;
    std::vector<CPoint> seedPoints;
};
