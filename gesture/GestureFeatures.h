#pragma once
#include <span>

// Degrees to radians as the recogniser has always converted them.
inline constexpr double kGestureDegreesToRadians = 3.1415926535 / 180.0;

// The network's input for a stroke: the cosines of its segment angles, then their sines.
void GestureAnglesToInput(std::span<const float> angles, std::span<float> input);
