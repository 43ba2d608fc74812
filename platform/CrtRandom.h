#pragma once
#include <cstdint>

// The Windows C runtime's rand()/srand(), reproduced so a seed grows the same maze everywhere.
class CrtRandom {
public:
    static constexpr int kRandMax = 0x7FFF;

    void srand(std::uint32_t seed) { state_ = seed; }
    int rand() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFF);
    }
    std::uint32_t State() const { return state_; }

    // The program's main sequence, shared by the document, Draw Solution, settings reseeding
    // and gesture training; other users own their own instance.
    static CrtRandom& Main();

private:
    std::uint32_t state_ = 1;
};
