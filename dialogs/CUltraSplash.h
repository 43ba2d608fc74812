#pragma once
#include "platform/CrtRandom.h"

#include <array>
#include <cstdint>
#include <optional>

// The start-up picture's reveal, one step at a time, without its window: seven effects that
// uncover the picture by columns, rows, blinds or a dissolve of 20 x 20 blocks. The window
// copies each step's rectangle from the picture into what it shows, and shows the whole
// picture once the reveal is complete. The splash draws from a generator of its own, so a
// splash never changes which maze a seed grows.
class CUltraSplash {
public:
    static constexpr int kGrid = 20;
    static constexpr int kFinished = -1;

    struct Rect {
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
        bool operator==(const Rect&) const = default;
    };

    // A negative size counts as empty.
    CUltraSplash(int width, int height, std::uint32_t seed);

    // 1 to 7 picks an effect; 0 picks one at random.
    void SetEffect(int effect);
    int Effect() const { return effect_; }
    bool Revealing() const { return effect_ >= 1 && effect_ <= 7; }

    // One step of the effect: the part of the picture to copy, or none. The step that
    // completes the reveal copies nothing and sets the effect to kFinished.
    std::optional<Rect> Step();
    // Milliseconds between steps.
    int StepInterval() const { return effect_ == 7 ? 5 : 1; }

    // Set when the splash is being hidden; until then a request to close it is refused.
    void SetDone() { done_ = true; }
    bool Done() const { return done_; }
    bool MayClose() const { return done_; }

    int StripCount() const { return strips_; }
    int BlockWidth() const { return first_; }
    int BlockHeight() const { return second_; }

private:
    std::optional<Rect> Complete();
    std::optional<Rect> Blinds(bool columns);
    std::optional<Rect> Dissolve();

    int width_;
    int height_;
    CrtRandom random_;
    bool done_ = false;
    int effect_ = kFinished;
    int first_ = 0;
    int second_ = 0;
    int third_ = 0;
    int strips_ = 0;
    std::array<std::uint8_t, kGrid * kGrid> shown_{};
};
