#include "gesture/CGesturePad.h"

#include "gesture/StrokeResampler.h"

#include <algorithm>
#include <cmath>

void CGesturePad::StartStroke(LONG x, LONG y) {
    raw_.clear();
    resampled_.clear();
    if (state_ != StateNone)
        state_ = StateCleared;
    raw_.emplace_back(x, y);
}

bool CGesturePad::EndStroke() {
    if (raw_.size() < kPoints) {
        resampled_.clear();
        state_ = StateCleared;
        return false;
    }
    resampled_ = StrokeResampler::Reduce(raw_, kPoints);
    MeasureSegments();
    return true;
}

void CGesturePad::MeasureSegments() {
    for (std::size_t k = 0; k < kSegments; ++k) {
        const CPoint& from = resampled_[k];
        const CPoint& to = resampled_[k + 1];
        const double dx = static_cast<double>(to.x) - from.x;
        const double dy = static_cast<double>(to.y) - from.y;
        if (dx == 0.0 && dy == 0.0) {
            cosines_[k] = 1.0f;
            sines_[k] = 0.0f;
            angles_[k] = 0.0f;
            continue;
        }
        const float length = static_cast<float>(std::sqrt(dx * dx + dy * dy));
        // Rounding the length to a float may leave the quotient a hair outside [-1, 1].
        const float cosine = std::clamp(static_cast<float>(dy / length), -1.0f, 1.0f);
        double sine = std::sqrt(1.0 - static_cast<double>(cosine) * cosine);
        double angle = std::acos(static_cast<double>(cosine)) * 180.0 / 3.1415926535;
        if (dx < 0.0) {
            sine = -sine;
            angle = 360.0 - angle;
        }
        cosines_[k] = cosine;
        sines_[k] = static_cast<float>(sine);
        angles_[k] = static_cast<float>(angle);
    }
}

void CGesturePad::BeginTraining() {
    raw_.clear();
    resampled_.clear();
    errors_.clear();
    state_ = StateTraining;
}
