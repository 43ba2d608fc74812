#include "dialogs/CUltraSplash.h"

#include <algorithm>

namespace {
int CeilDiv(int value, int by) {
    return (value + by - 1) / by;
}
} // namespace

CUltraSplash::CUltraSplash(int width, int height, std::uint32_t seed)
    : width_(std::max(width, 0)), height_(std::max(height, 0)) {
    random_.srand(seed);
}

void CUltraSplash::SetEffect(int effect) {
    effect_ = effect == 0 ? random_.rand() % 7 + 1 : effect;
    first_ = second_ = third_ = 0;
    switch (effect_) {
    case 2: // the last column is left to the whole picture at the end
        first_ = width_ - 2;
        break;
    case 4:
        first_ = height_ - 2;
        break;
    case 5:
        strips_ = CeilDiv(width_, kGrid);
        break;
    case 6:
        strips_ = CeilDiv(height_, kGrid);
        break;
    case 7:
        shown_.fill(0);
        first_ = CeilDiv(width_, kGrid);
        second_ = CeilDiv(height_, kGrid);
        break;
    default:
        break;
    }
}

std::optional<CUltraSplash::Rect> CUltraSplash::Complete() {
    effect_ = kFinished;
    return std::nullopt;
}

std::optional<CUltraSplash::Rect> CUltraSplash::Step() {
    switch (effect_) {
    case 1:
        if (first_ >= width_)
            return Complete();
        return Rect{first_++, 0, 1, height_};
    case 2:
        if (first_ < 0)
            return Complete();
        return Rect{first_--, 0, 1, height_};
    case 3:
        if (first_ >= height_)
            return Complete();
        return Rect{0, first_++, width_, 1};
    case 4:
        if (first_ < 0)
            return Complete();
        return Rect{0, first_--, width_, 1};
    case 5:
        return Blinds(true);
    case 6:
        return Blinds(false);
    case 7:
        return Dissolve();
    default:
        return std::nullopt;
    }
}

// first_ is the pass k, second_ the strip n; a pass ends with a step that copies nothing.
std::optional<CUltraSplash::Rect> CUltraSplash::Blinds(bool columns) {
    if (first_ >= kGrid)
        return Complete();
    if (second_ < strips_) {
        const int at = second_++ * kGrid + first_;
        return columns ? Rect{at, 0, 1, height_} : Rect{0, at, width_, 1};
    }
    second_ = 0;
    ++first_;
    return std::nullopt;
}

std::optional<CUltraSplash::Rect> CUltraSplash::Dissolve() {
    if (third_ >= kGrid * kGrid)
        return Complete();
    int a = 0;
    int b = 0;
    do {
        a = random_.rand();
        b = random_.rand() % kGrid;
        a %= kGrid;
    } while (shown_[static_cast<std::size_t>(a * kGrid + b)] != 0);
    shown_[static_cast<std::size_t>(a * kGrid + b)] = 1;
    ++third_;
    return Rect{a * first_, b * second_, first_, second_};
}
