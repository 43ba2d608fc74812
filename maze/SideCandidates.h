#pragma once
#include <array>

// Which sides of a cell lead somewhere: entry s (1..16) is 1 for a candidate side, entry 0
// holds the number of candidates.
using SideCandidates = std::array<int, 17>;
