#pragma once
#include <cstdint>

class CProfile;

// How long and how fast the gesture network trains, from the profile section
// "MouseGestures". Values that do not make sense fall back to their defaults.
struct GestureTrainingSettings {
    std::uint32_t cycles = 19000;
    double highRate = 0.9;
    double lowRate = 0.1;
    double momentum = 0.5;
    double errorBound = 0.025;

    static GestureTrainingSettings Read(const CProfile& profile);
};
