#pragma once
#include "maze/FrontierList.h"
#include "platform/CPoint.h"

#include <vector>

// What growing, solving and the user's end cells leave behind between commands: the walk's
// cursor, the frontier, the seed points Regenerate grows from again, and the made/cleared
// state the commands are enabled by.
struct MazeProgress {
    // The user placed the START / STOP cell (docFlags).
    static constexpr int kUserStart = 0x10;
    static constexpr int kUserStop = 0x20;

    int docFlags = 0;
    int cursorGrid = 0;
    int previousDirection = -1;
    int cursorRow = -1;
    int cursorColumn = -1;
    int mazeMade = 0;
    int cleared = 1;
    int reRender = 0;
    std::vector<CPoint> seedPoints;
    FrontierList frontier; // free cells next to the carved region, in pick order
};
