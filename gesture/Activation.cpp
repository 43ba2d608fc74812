#include "gesture/Activation.h"

#include <cmath>

namespace MLNet {

float Sigmoid(float x) {
    const float e = static_cast<float>(std::exp(-static_cast<double>(x)));
    return static_cast<float>(1.0 / (1.0 + static_cast<double>(e)));
}

float SigmoidDerivative(float y) {
    return static_cast<float>(static_cast<double>(y) * (1.0 - static_cast<double>(y)));
}

} // namespace MLNet
