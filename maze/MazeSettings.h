#pragma once
#include "maze/CompassWeights.h"

#include <string>

// The maze settings the user edits and the profile keeps. Lengths are in 0.001 inch.
struct MazeSettings {
    static constexpr int kTopBand = 250; // reserved at the top of the page

    int kind = 0;
    int rows = 10;
    int columns = 10;
    int pageHeight = 9499;
    int pageWidth = 7499;
    int scale = 400; // cell size when not fitting to the page
    int heightMultiplier = 1;
    int widthMultiplier = 1;
    int seed = 0; // -1: keep the random sequence running
    int xOffset = 0;
    int yOffset = 0;
    int wrapHorizontally = 0;
    int wrapVertically = 0;
    int animationDelay = 0;
    CompassWeights compass;
    int erasedVisible = 0;
    int fitToPage = 1;
    int deleteEnds = 0;
    int animate = 0;
    int penWidth = 10;
    int tiled = 0;
    int printerDebug = 0;
    int autoCenter = 1;
    std::string name;
    std::string tilerId;

    // The cell size that fits `columns` plus the margin (per cent of a cell) across the page,
    // or the scale when not fitting; 0 when no cell fits.
    int FitCellWidth(int marginX) const;
    // Likewise down the page below the top band; positive.
    int FitCellHeight(int marginY) const;
};
