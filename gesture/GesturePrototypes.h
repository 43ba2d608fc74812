#pragma once
#include "gesture/GestureNames.h"

#include <array>

// A stroke is described by the directions of this many equal steps.
inline constexpr int kGestureSegments = 16;
using GestureAngles = std::array<float, kGestureSegments>;

// One ideal stroke per gesture class, in class order.
extern const std::array<GestureAngles, kGestureClassCount> GesturePrototypes;
