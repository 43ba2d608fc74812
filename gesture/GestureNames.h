#pragma once
#include <array>

// The gesture classes in the network's output order.
inline constexpr int kGestureClassCount = 38;
extern const std::array<const char*, kGestureClassCount> GestureNames;
