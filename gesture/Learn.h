#pragma once
#include "gesture/Net.h"

#include <cstdint>
#include <span>
#include <vector>

class CrtRandom;

namespace MLNet {

// Online back-propagation with momentum and a learning rate that falls linearly over the run.
// A derived class supplies the samples. The network must outlive the trainer.
class Learn {
public:
    // `derivative` gives the activation's slope from a neuron's output. Random weights come
    // from `random`.
    Learn(Net& net, Activation derivative, CrtRandom& random);
    virtual ~Learn() = default;
    Learn(const Learn&) = delete;
    Learn& operator=(const Learn&) = delete;

    // Fills the input and target of training cycle `cycle`; false ends the training before
    // that cycle's step. `reserved` is always 0.
    virtual bool GetSample(int reserved, std::uint32_t cycle, std::span<float> input,
                           std::span<float> target) = 0;

    // Randomises the weights, then runs up to `cycles` steps, the rate falling from
    // `highRate` by (highRate - lowRate) / cycles after each.
    void Train(std::uint32_t cycles, double highRate, double lowRate, double momentum);
    void TrainSample(std::span<const float> input, std::span<const float> target, double rate,
                     double momentum);
    // Every weight uniform in [low, high], one random value each.
    void RandomizeWeights(float low, float high);

    Net& GetNet() { return *net_; }
    const std::vector<float>& Changes() const { return changes_; }

protected:
    CrtRandom& Random() { return *random_; }

private:
    void ForwardKeepingOutputs(std::span<const float> input);
    void ComputeDeltas(std::span<const float> target);
    void ComputeChanges(std::span<const float> input, double rate, double momentum);

    Net* net_;
    std::vector<float> deltas_;
    std::vector<float> changes_;
    Activation derivative_;
    CrtRandom* random_;
    // Every layer's outputs of the current step, layer after layer.
    std::vector<float> outputs_;
};

} // namespace MLNet
