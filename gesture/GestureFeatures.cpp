#include "gesture/GestureFeatures.h"

#include <cmath>

void GestureAnglesToInput(std::span<const float> angles, std::span<float> input) {
    const std::size_t n = angles.size();
    for (std::size_t i = 0; i < n; ++i) {
        const double radians = angles[i] * kGestureDegreesToRadians;
        input[i] = static_cast<float>(std::cos(radians));
        input[n + i] = static_cast<float>(std::sin(radians));
    }
}
