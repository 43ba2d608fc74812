#pragma once

// Which cell lies across one side of a cell: the grid it is in, the side of it that is shared
// and how far it is displaced. A table of rules ends with a row whose fromGrid is -1.
struct NeighbourRule {
    int fromGrid = -1;
    int fromSide = 0;
    int parity = 0;
    int toGrid = 0;
    int toSide = 0;
    int dx = 0;
    int dy = 0;

    friend bool operator==(const NeighbourRule&, const NeighbourRule&) = default;
};
