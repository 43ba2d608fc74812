#include "gesture/Net.h"

#include <stdexcept>

namespace MLNet {

Net::Net(std::initializer_list<int> layerSizes) : sizes_(layerSizes) {
    if (sizes_.size() < 2)
        throw std::invalid_argument("a network needs an input and an output layer");
    std::size_t count = 0;
    for (std::size_t i = 0; i < sizes_.size(); ++i) {
        if (sizes_[i] < 1)
            throw std::invalid_argument("every layer needs at least one neuron");
        if (i > 0)
            count +=
                static_cast<std::size_t>(sizes_[i]) * (static_cast<std::size_t>(sizes_[i - 1]) + 1);
    }
    weights_.assign(count, 0.0f);
}

Activation Net::SetActivation(Activation activation) {
    const Activation previous = activation_;
    activation_ = activation;
    return previous;
}

Net& Net::SetTargetRange(float low, float high) {
    low_ = low;
    high_ = high;
    inverseHigh_ = 1.0f / high;
    return *this;
}

Net& Net::SetBias(float bias) {
    bias_ = bias;
    return *this;
}

std::size_t Net::NeuronCount() const {
    std::size_t count = 0;
    for (std::size_t i = 1; i < sizes_.size(); ++i)
        count += static_cast<std::size_t>(sizes_[i]);
    return count;
}

void Net::Run(std::vector<float>& input, std::vector<float>& output) const {
    input.resize(static_cast<std::size_t>(sizes_.front()));
    std::size_t pos = 0;
    for (std::size_t layer = 1; layer < sizes_.size(); ++layer) {
        output.resize(static_cast<std::size_t>(sizes_[layer]));
        RunLayer(input, output, pos);
        if (layer + 1 < sizes_.size())
            input.swap(output);
    }
}

void Net::RunLayer(std::span<const float> input, std::span<float> output,
                   std::size_t& weightPos) const {
    const float* w = weights_.data() + weightPos;
    // Input terms are divided by the "on" value; the bias term is not.
    const double inverse = inverseHigh_;
    for (float& out : output) {
        float sum = static_cast<float>(static_cast<double>(*w++) * bias_);
        for (const float x : input)
            sum = static_cast<float>(sum + static_cast<double>(*w++) * x * inverse);
        out = activation_ ? activation_(sum) : sum;
    }
    weightPos += output.size() * (input.size() + 1);
}

} // namespace MLNet
