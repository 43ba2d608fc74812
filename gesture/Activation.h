#pragma once

namespace MLNet {

// The logistic function, rounded to a float.
float Sigmoid(float x);
// Its derivative, expressed through the neuron's output y = Sigmoid(x).
float SigmoidDerivative(float y);

} // namespace MLNet
