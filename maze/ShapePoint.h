#pragma once

// One corner of a cell polygon, in cells (y grows toward the next row). The side that starts
// at this corner points along `angle` (compass degrees); the nudges are pixel corrections the
// cell painters apply. A shape's rows end with a repeat of its first corner.
struct ShapePoint {
    double x = 0;
    double y = 0;
    double angle = 0;
    double nudgeX = 0;
    double nudgeY = 0;
    int corner = 0;
    int reserved[3] = {0, 0, 0};
};
