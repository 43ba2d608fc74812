#include "maze/DirectionChooser.h"

#include "platform/CrtRandom.h"

#include <algorithm>
#include <cstdint>

SideWeights::SideWeights(std::span<const int> weights) {
    values_.fill(1);
    const std::size_t count = std::min(weights.size(), values_.size() - 1);
    for (std::size_t i = 0; i < count; ++i) {
        values_[i + 1] = weights[i];
    }
}

int DirectionChooser::ChooseAny(const SideCandidates& candidates, int sideCount) {
    const int sides = std::clamp(sideCount, 0, kMaxSides);
    int r = candidates[0] > 1 ? random_.rand() % candidates[0] : 0;
    for (int s = 1; s <= sides; ++s) {
        if (candidates[static_cast<std::size_t>(s)] != 0) {
            --r;
            if (r < 0) {
                return s;
            }
        }
    }
    return 0;
}
