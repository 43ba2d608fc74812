#include "app/DirectionChooser.h"

#include "platform/CrtRandom.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr int kMaxSides = 16;

std::int64_t WeightOf(std::span<const int> weights, int side) {
    if (weights.empty() || static_cast<std::size_t>(side) > weights.size()) {
        return 1;
    }
    return weights[static_cast<std::size_t>(side - 1)];
}

} // namespace

int DirectionChooser::Choose(const SideCandidates& candidates, int sideCount,
                             std::span<const int> weights) {
    const int sides = std::clamp(sideCount, 0, kMaxSides);
    // Summed in 64 bits: large compass weights must not wrap into a wrong pick.
    std::int64_t sum = 0;
    for (int s = 1; s <= sides; ++s) {
        if (candidates[static_cast<std::size_t>(s)] != 0) {
            sum += WeightOf(weights, s);
        }
    }
    if (sum <= 0) {
        return 0;
    }
    // A 32-bit remainder where it fits: this runs for every step of a walk.
    std::int64_t r =
        sum <= INT32_MAX ? random_.rand() % static_cast<std::int32_t>(sum) : random_.rand() % sum;
    for (int s = 1; s <= sides; ++s) {
        if (candidates[static_cast<std::size_t>(s)] != 0) {
            r -= WeightOf(weights, s);
            if (r < 0) {
                return s;
            }
        }
    }
    return 0;
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
