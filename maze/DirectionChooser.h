#pragma once
#include "maze/SideCandidates.h"

#include "platform/CrtRandom.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

// The weight of each side (1..16) as a choice reads it: weights[s-1], 1 past the end of the
// weights and 1 for every side when there are none. Built once per grid rather than per choice.
class SideWeights {
public:
    SideWeights() { values_.fill(1); }
    explicit SideWeights(std::span<const int> weights);

    std::int64_t operator[](std::size_t side) const { return values_[side]; }

private:
    std::array<std::int64_t, 17> values_{};
};

// Picks one side among the candidates with the random sequence it is given. A seed repeats
// its maze only when the draws happen exactly as here, so both forms draw at most once.
class DirectionChooser {
public:
    explicit DirectionChooser(CrtRandom& random) : random_(random) {}

    // Weighted pick: side s weighs weights[s]. Returns 0, without drawing, when the
    // candidates weigh nothing in total. Inline: a walk chooses for every cell.
    int Choose(const SideCandidates& candidates, int sideCount, const SideWeights& weights);
    int Choose(const SideCandidates& candidates, int sideCount, std::span<const int> weights) {
        return Choose(candidates, sideCount, SideWeights(weights));
    }
    // Unweighted pick driven by the candidate count; draws only with two or more candidates.
    int ChooseAny(const SideCandidates& candidates, int sideCount);

private:
    static constexpr int kMaxSides = 16;

    CrtRandom& random_;
};

inline int DirectionChooser::Choose(const SideCandidates& candidates, int sideCount,
                                    const SideWeights& weights) {
    const int sides = std::clamp(sideCount, 0, kMaxSides);
    auto weightOf = [&](int s) -> std::int64_t {
        const std::size_t i = static_cast<std::size_t>(s);
        return weights[i] & -static_cast<std::int64_t>(candidates[i] != 0); // no branch
    };
    // Summed in 64 bits: large compass weights must not wrap into a wrong pick. The loops
    // select rather than branch: which sides are candidates is random, and so hard to guess.
    std::int64_t sum = 0;
    for (int s = 1; s <= sides; ++s) {
        sum += weightOf(s);
    }
    if (sum <= 0) {
        return 0;
    }
    // A 32-bit remainder where it fits: this runs for every step of a walk.
    std::int64_t r =
        sum <= INT32_MAX ? random_.rand() % static_cast<std::int32_t>(sum) : random_.rand() % sum;
    for (int s = 1; s <= sides; ++s) {
        r -= weightOf(s); // a side that is no candidate takes nothing off, so is never chosen
        if (r < 0) {
            return s;
        }
    }
    return 0;
}
