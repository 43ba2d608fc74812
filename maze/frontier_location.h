#pragma once

// One entry of the generator's frontier list: a free cell next to the carved region.
struct frontier_location {
    int column = 0;
    int row = 0;
    int grid = 0;

    friend bool operator==(const frontier_location&, const frontier_location&) = default;
};
