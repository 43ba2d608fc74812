#include "gesture/Learn.h"

#include "platform/CrtRandom.h"

namespace MLNet {

Learn::Learn(Net& net, Activation derivative, CrtRandom& random)
    : net_(&net), deltas_(net.NeuronCount(), 0.0f), changes_(net.Weights().size(), 0.0f),
      derivative_(derivative), random_(&random), outputs_(net.NeuronCount(), 0.0f) {}

void Learn::RandomizeWeights(float low, float high) {
    const double span = static_cast<double>(high) - low;
    for (float& w : net_->Weights())
        w = static_cast<float>(low + random_->rand() / 32767.0 * span);
}

void Learn::Train(std::uint32_t cycles, double highRate, double lowRate, double momentum) {
    RandomizeWeights(-0.25f, 0.25f);
    std::vector<float> input(static_cast<std::size_t>(net_->GetInputCount()));
    std::vector<float> target(static_cast<std::size_t>(net_->GetOutputCount()));
    if (cycles == 0)
        return;
    const double step = (highRate - lowRate) / cycles;
    double rate = highRate;
    for (std::uint32_t cycle = 0; cycle < cycles; ++cycle) {
        if (!GetSample(0, cycle, input, target))
            return;
        TrainSample(input, target, rate, momentum);
        rate -= step;
    }
}

void Learn::TrainSample(std::span<const float> input, std::span<const float> target, double rate,
                        double momentum) {
    ForwardKeepingOutputs(input);
    ComputeDeltas(target);
    ComputeChanges(input, rate, momentum);
    std::vector<float>& weights = net_->Weights();
    for (std::size_t i = 0; i < weights.size(); ++i)
        weights[i] = static_cast<float>(static_cast<double>(weights[i]) + changes_[i]);
}

void Learn::ForwardKeepingOutputs(std::span<const float> input) {
    const std::vector<int>& sizes = net_->LayerSizes();
    std::span<const float> in = input.first(static_cast<std::size_t>(sizes.front()));
    std::size_t weightPos = 0;
    std::size_t outPos = 0;
    for (std::size_t layer = 1; layer < sizes.size(); ++layer) {
        const std::span<float> out(outputs_.data() + outPos,
                                   static_cast<std::size_t>(sizes[layer]));
        net_->RunLayer(in, out, weightPos);
        in = out;
        outPos += out.size();
    }
}

void Learn::ComputeDeltas(std::span<const float> target) {
    const std::vector<int>& sizes = net_->LayerSizes();
    const std::vector<float>& weights = net_->Weights();
    const std::size_t layers = sizes.size();

    // Output layer: error times slope.
    const std::size_t outCount = static_cast<std::size_t>(sizes.back());
    std::size_t first = outputs_.size() - outCount;
    for (std::size_t k = 0; k < outCount; ++k) {
        const float y = outputs_[first + k];
        deltas_[first + k] =
            static_cast<float>((static_cast<double>(target[k]) - y) * derivative_(y));
    }

    // Hidden layers, top down, through the weights as they were before this step.
    std::size_t nextFirst = first;
    std::size_t nextWeights =
        weights.size() - outCount * (static_cast<std::size_t>(sizes[layers - 2]) + 1);
    for (std::size_t layer = layers - 2; layer >= 1; --layer) {
        const std::size_t count = static_cast<std::size_t>(sizes[layer]);
        const std::size_t nextCount = static_cast<std::size_t>(sizes[layer + 1]);
        const std::size_t stride = count + 1;
        first = nextFirst - count;
        for (std::size_t j = 0; j < count; ++j) {
            double sum = 0.0;
            for (std::size_t k = 0; k < nextCount; ++k)
                sum += static_cast<double>(weights[nextWeights + k * stride + 1 + j]) *
                       deltas_[nextFirst + k];
            deltas_[first + j] = static_cast<float>(derivative_(outputs_[first + j]) * sum);
        }
        nextFirst = first;
        nextWeights -= count * (static_cast<std::size_t>(sizes[layer - 1]) + 1);
    }
}

void Learn::ComputeChanges(std::span<const float> input, double rate, double momentum) {
    const std::vector<int>& sizes = net_->LayerSizes();
    const double bias = net_->GetBias();
    const double keep = 1.0 - momentum;
    std::span<const float> in = input.first(static_cast<std::size_t>(sizes.front()));
    std::size_t weightPos = 0;
    std::size_t neuron = 0;
    for (std::size_t layer = 1; layer < sizes.size(); ++layer) {
        const std::size_t count = static_cast<std::size_t>(sizes[layer]);
        for (std::size_t j = 0; j < count; ++j, ++neuron) {
            const double delta = deltas_[neuron];
            float* change = changes_.data() + weightPos;
            change[0] = static_cast<float>(rate * (momentum * change[0] + keep * delta * bias));
            for (std::size_t i = 0; i < in.size(); ++i)
                change[i + 1] =
                    static_cast<float>(rate * (momentum * change[i + 1] + keep * delta * in[i]));
            weightPos += in.size() + 1;
        }
        in = std::span<const float>(outputs_.data() + neuron - count, count);
    }
}

} // namespace MLNet
