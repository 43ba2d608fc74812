#include "gesture/Net.h"
#include "gesture/Learn.h"
#include "platform/CrtRandom.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <vector>

namespace {

float One(float) {
    return 1.0f;
}

// Hands out whatever the test scripts, and lets it watch every cycle.
class ScriptedLearn : public MLNet::Learn {
public:
    using Sample = std::function<bool(std::uint32_t, std::span<float>, std::span<float>)>;
    ScriptedLearn(MLNet::Net& net, CrtRandom& random, Sample sample)
        : MLNet::Learn(net, One, random), sample_(std::move(sample)) {}
    bool GetSample(int, std::uint32_t cycle, std::span<float> input,
                   std::span<float> target) override {
        return sample_(cycle, input, target);
    }

private:
    Sample sample_;
};

} // namespace

TEST(Net, WeightCountFollowsTheLayerSizes) {
    EXPECT_EQ(MLNet::Net({32, 32, 38}).Weights().size(), 2310u);
    EXPECT_EQ(MLNet::Net({2, 1}).Weights().size(), 3u);
    EXPECT_EQ(MLNet::Net({32, 32, 38}).NeuronCount(), 70u);
    EXPECT_THROW(MLNet::Net({3}), std::invalid_argument);
    EXPECT_THROW(MLNet::Net({3, 0, 2}), std::invalid_argument);
}

TEST(Net, InputTermsAreDividedByHighButTheBiasTermIsNot) {
    MLNet::Net net({2, 1});
    net.Weights() = {0.5f, 2.0f, -1.0f};
    std::vector<float> in{3.0f, 4.0f}, out;
    net.Run(in, out);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_FLOAT_EQ(out[0], 0.5f + 6.0f - 4.0f);

    net.SetTargetRange(0.0f, 2.0f);
    in = {3.0f, 4.0f};
    net.Run(in, out);
    EXPECT_FLOAT_EQ(out[0], 0.5f + 3.0f - 2.0f);

    net.SetTargetRange(0.0f, 1.0f).SetBias(2.0f);
    in = {3.0f, 4.0f};
    net.Run(in, out);
    EXPECT_FLOAT_EQ(out[0], 1.0f + 6.0f - 4.0f);
}

TEST(Net, LayersFeedEachOtherInWeightOrder) {
    // Two hidden neurons, then one output: hidden = (1 + x0, 2 * x1), output = h0 - h1 + 10.
    MLNet::Net net({2, 2, 1});
    net.Weights() = {1, 1, 0, /**/ 0, 0, 2, /**/ 10, 1, -1};
    std::vector<float> in{5.0f, 3.0f}, out;
    net.Run(in, out);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_FLOAT_EQ(out[0], 6.0f - 6.0f + 10.0f);
}

TEST(Learn, MomentumBlendsThePreviousChangeIntoEachStep) {
    MLNet::Net net({1, 1});
    CrtRandom random;
    ScriptedLearn learn(net, random, nullptr);
    const std::vector<float> in{1.0f}, target{1.0f};
    learn.TrainSample(in, target, 0.5, 0.5);
    EXPECT_EQ(net.Weights(), (std::vector<float>{0.25f, 0.25f}));
    learn.TrainSample(in, target, 0.5, 0.5);
    EXPECT_EQ(net.Weights(), (std::vector<float>{0.4375f, 0.4375f}));
}

TEST(Learn, HiddenDeltasUseTheWeightsFromBeforeTheStep) {
    // Linear 1-1-1 network: y = w2 * (w1 * x) with zero biases; one step by hand.
    MLNet::Net net({1, 1, 1});
    net.Weights() = {0.0f, 2.0f, 0.0f, 3.0f};
    CrtRandom random;
    ScriptedLearn learn(net, random, nullptr);
    const std::vector<float> in{1.0f}, target{10.0f};
    learn.TrainSample(in, target, 0.1, 0.0);
    // h = 2, y = 6, output delta 4, hidden delta 3 * 4 = 12.
    const float expected[] = {1.2f, 3.2f, 0.4f, 3.8f};
    for (int i = 0; i < 4; ++i)
        EXPECT_FLOAT_EQ(net.Weights()[i], expected[i]) << i;
}

TEST(Learn, RateFallsLinearlyFromHighToJustAboveLow) {
    // With the weights reset before each step and momentum 0, the bias weight afterwards
    // is exactly the rate that step used.
    MLNet::Net net({1, 1});
    CrtRandom random;
    std::vector<float> rates;
    ScriptedLearn learn(net, random,
                        [&](std::uint32_t cycle, std::span<float> in, std::span<float> target) {
                            if (cycle > 0)
                                rates.push_back(net.Weights()[0]);
                            net.Weights() = {0.0f, 0.0f};
                            in[0] = 0.0f;
                            target[0] = 1.0f;
                            return true;
                        });
    learn.Train(19000, 0.9, 0.1, 0.0);
    rates.push_back(net.Weights()[0]);
    ASSERT_EQ(rates.size(), 19000u);
    EXPECT_FLOAT_EQ(rates.front(), 0.9f);
    EXPECT_NEAR(rates.back(), 0.1 + 0.8 / 19000, 1e-6);
    EXPECT_NEAR(rates[9500], 0.5, 1e-6);
}

TEST(Learn, StoppingAtTheFirstSampleLeavesRandomWeights) {
    MLNet::Net net({32, 32, 38});
    CrtRandom random;
    random.srand(1);
    int calls = 0;
    ScriptedLearn learn(net, random, [&](std::uint32_t, std::span<float>, std::span<float>) {
        ++calls;
        return false;
    });
    learn.Train(100, 0.9, 0.1, 0.5);
    EXPECT_EQ(calls, 1);
    float lowest = 1.0f, highest = -1.0f;
    for (const float w : net.Weights()) {
        lowest = std::min(lowest, w);
        highest = std::max(highest, w);
    }
    EXPECT_GE(lowest, -0.25f);
    EXPECT_LE(highest, 0.25f);
    // Uniform over the range, not stuck near a value.
    EXPECT_LT(lowest, -0.24f);
    EXPECT_GT(highest, 0.24f);
    // The first weight comes from the generator's first value, 41.
    EXPECT_FLOAT_EQ(net.Weights()[0], static_cast<float>(-0.25 + 41 / 32767.0 * 0.5));
    for (const float c : learn.Changes())
        EXPECT_EQ(c, 0.0f);
}
