#pragma once
#include "app/SideCandidates.h"

#include <span>

class CrtRandom;

// Picks one side among the candidates with the random sequence it is given. A seed repeats
// its maze only when the draws happen exactly as here, so both forms draw at most once.
class DirectionChooser {
public:
    explicit DirectionChooser(CrtRandom& random) : random_(random) {}

    // Weighted pick: side s weighs weights[s-1] (1 when there are no weights). Returns 0,
    // without drawing, when the candidates weigh nothing in total.
    int Choose(const SideCandidates& candidates, int sideCount, std::span<const int> weights);
    // Unweighted pick driven by the candidate count; draws only with two or more candidates.
    int ChooseAny(const SideCandidates& candidates, int sideCount);

private:
    CrtRandom& random_;
};
