#pragma once
#include <cstddef>
#include <initializer_list>
#include <span>
#include <vector>

namespace MLNet {

using Activation = float (*)(float);

// A fully connected feed-forward network. All weights sit in one flat run: layer by layer
// from the first hidden layer, neuron by neuron, each neuron's bias weight before its input
// weights. Sums and outputs are rounded to floats where they are stored, so a result does not
// depend on how wide the compiler keeps its intermediates.
class Net {
public:
    // Layer sizes from the inputs to the outputs; at least two layers, each of at least one
    // neuron. The weights are left at zero until loaded or trained.
    explicit Net(std::initializer_list<int> layerSizes);

    // Null means linear neurons. Returns the previous activation.
    Activation SetActivation(Activation activation);
    Activation GetActivation() const { return activation_; }
    Net& SetTargetRange(float low, float high);
    Net& SetBias(float bias);

    float GetLow() const { return low_; }
    float GetHigh() const { return high_; }
    float GetInverseHigh() const { return inverseHigh_; }
    float GetBias() const { return bias_; }
    int GetInputCount() const { return sizes_.front(); }
    int GetOutputCount() const { return sizes_.back(); }
    const std::vector<int>& LayerSizes() const { return sizes_; }
    // Neurons past the input layer.
    std::size_t NeuronCount() const;

    std::vector<float>& Weights() { return weights_; }
    const std::vector<float>& Weights() const { return weights_; }

    // Both vectors are working buffers: the layers alternate between them, so after a run
    // through three or more layers `input` no longer holds the caller's values. On return
    // `output` holds the network's outputs.
    void Run(std::vector<float>& input, std::vector<float>& output) const;

    // One layer: `output.size()` neurons over `input.size()` inputs, reading weights from
    // `weightPos`, which moves past the layer's weights.
    void RunLayer(std::span<const float> input, std::span<float> output,
                  std::size_t& weightPos) const;

private:
    std::vector<float> weights_;
    std::vector<int> sizes_;
    Activation activation_ = nullptr;
    float low_ = 0.0f;
    float high_ = 1.0f;
    float inverseHigh_ = 1.0f;
    float bias_ = 1.0f;
};

} // namespace MLNet
