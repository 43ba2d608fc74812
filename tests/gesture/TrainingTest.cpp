#include "GestureTestSupport.h"
#include "gesture/CMouseGesture.h"
#include "gesture/GestureFeatures.h"
#include "gesture/GestureNames.h"
#include "gesture/GesturePrototypes.h"
#include "gesture/GestureTrainingSettings.h"
#include "platform/CProfile.h"
#include "platform/CrtRandom.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <numeric>
#include <vector>

namespace {

// A recogniser with its own generator seeded 1, trained with the given profile values.
class SeededGesture {
public:
    SeededGesture() : gesture_(random_) { random_.srand(1); }
    CMouseGesture& operator*() { return gesture_; }
    CMouseGesture* operator->() { return &gesture_; }

private:
    CrtRandom random_;
    CMouseGesture gesture_;
};

class GestureTraining : public ::testing::Test {
protected:
    CProfile& Profile() {
        if (!profile_)
            profile_ = std::make_unique<CProfile>(folder_.File("OrlimberSTD.ini"));
        return *profile_;
    }
    ScratchFolder folder_;
    std::unique_ptr<CProfile> profile_;
};

// The outputs of the network for one class's undisturbed prototype, as shares of their sum.
std::vector<double> Shares(const CMouseGesture& g, int cls) {
    std::vector<float> in(32), out;
    GestureAnglesToInput(GesturePrototypes[static_cast<std::size_t>(cls)], in);
    g.GetNet().Run(in, out);
    const double sum = std::accumulate(out.begin(), out.end(), 0.0);
    std::vector<double> shares(out.begin(), out.end());
    for (double& s : shares)
        s /= sum;
    return shares;
}

bool BitIdentical(const std::vector<float>& a, const std::vector<float>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

} // namespace

TEST(GestureTables, EveryClassHasANameAndSixteenAnglesInRange) {
    EXPECT_STREQ(GestureNames[0], "up");
    EXPECT_STREQ(GestureNames[18], "down-left cross");
    EXPECT_STREQ(GestureNames[37], "R");
    for (int c = 0; c < kGestureClassCount; ++c) {
        EXPECT_GT(std::strlen(GestureNames[static_cast<std::size_t>(c)]), 0u);
        for (const float a : GesturePrototypes[static_cast<std::size_t>(c)])
            EXPECT_TRUE(a >= 0.0f && a < 360.0f) << GestureNames[static_cast<std::size_t>(c)];
    }
    // The circle turns a full round in even steps.
    const GestureAngles& circle = GesturePrototypes[24];
    for (int i = 1; i < kGestureSegments; ++i)
        EXPECT_FLOAT_EQ(std::fmod(circle[i - 1] - circle[i] + 360.0f, 360.0f), 22.5f);
}

TEST_F(GestureTraining, DefaultTrainingRecognisesEveryPrototypeAndRepeatsExactly) {
    SeededGesture first, second;
    first->Train(Profile());
    second->Train(Profile());
    EXPECT_TRUE(BitIdentical(first->GetNet().Weights(), second->GetNet().Weights()));

    const auto& errors = first->GetPad().Errors();
    ASSERT_FALSE(errors.empty());
    EXPECT_LT(errors.back().error, 0.025f);
    EXPECT_LT(first->GetLearner().PrototypeError(), 0.025f);
    EXPECT_EQ(first->GetPad().GetState(), CGesturePad::StateTraining);

    for (int c = 0; c < kGestureClassCount; ++c) {
        std::vector<double> shares = Shares(*first, c);
        const auto best = std::max_element(shares.begin(), shares.end());
        EXPECT_EQ(best - shares.begin(), c) << GestureNames[static_cast<std::size_t>(c)];
        const double top = *best;
        *best = 0.0;
        const double runnerUp = *std::max_element(shares.begin(), shares.end());
        EXPECT_GT(top, 0.25) << GestureNames[static_cast<std::size_t>(c)];
        EXPECT_GT(top - runnerUp, 0.25) << GestureNames[static_cast<std::size_t>(c)];
    }
}

TEST_F(GestureTraining, ErrorIsMeasuredEveryIntervalButNeverAtTheStart) {
    Profile().WriteProfileString("MouseGestures", "m_error", "0");
    SeededGesture g;
    g->Train(Profile());
    EXPECT_EQ(g->GetLearner().ErrorInterval(), 202u);
    EXPECT_EQ(g->GetLearner().LastCycle(), 18999u);
    EXPECT_FALSE(g->GetLearner().Stopped());
    const auto& errors = g->GetPad().Errors();
    ASSERT_EQ(errors.size(), 94u);
    for (std::size_t k = 0; k < errors.size(); ++k)
        EXPECT_EQ(errors[k].cycle, 202u * (k + 1));
    // Training makes progress: the error falls well below its first measurement.
    EXPECT_LT(errors.back().error, errors.front().error / 2);
}

TEST_F(GestureTraining, ABoundAboveAnyErrorStopsAtTheFirstMeasurement) {
    Profile().WriteProfileString("MouseGestures", "m_error", "1");
    SeededGesture stopped;
    stopped->Train(Profile());
    EXPECT_TRUE(stopped->GetLearner().Stopped());
    EXPECT_EQ(stopped->GetLearner().LastCycle(), 202u);
    ASSERT_EQ(stopped->GetPad().Errors().size(), 1u);
    EXPECT_EQ(stopped->GetPad().Errors()[0].cycle, 202u);

    // A learner cut off after cycle 201 by other means ends with the same weights: the
    // stopping cycle took no step.
    struct CutOff : CMouseGestureLearn {
        using CMouseGestureLearn::CMouseGestureLearn;
        bool GetSample(int r, std::uint32_t c, std::span<float> in, std::span<float> t) override {
            return c < 202 && CMouseGestureLearn::GetSample(r, c, in, t);
        }
    };
    CrtRandom random;
    random.srand(1);
    CMouseGesture host(random);
    CutOff cut(host.GetNet(), random);
    cut.StartTraining(nullptr, 19000, 0.9, 0.1, 0.5, 1.0);
    EXPECT_TRUE(BitIdentical(host.GetNet().Weights(), stopped->GetNet().Weights()));
}

TEST_F(GestureTraining, ProfileValuesThatMakeNoSenseTakeTheirDefaults) {
    auto read = [&] { return GestureTrainingSettings::Read(Profile()); };
    EXPECT_EQ(read().cycles, 19000u);
    EXPECT_DOUBLE_EQ(read().highRate, 0.9);
    for (const int bad : {-5, 0, -1}) {
        Profile().WriteProfileInt("MouseGestures", "m_cycles", bad);
        EXPECT_EQ(read().cycles, 19000u) << bad;
    }
    Profile().WriteProfileString("MouseGestures", "m_hi_rate", "abc");
    Profile().WriteProfileString("MouseGestures", "m_lo_rate", "inf");
    Profile().WriteProfileString("MouseGestures", "m_momentum", "0,7");
    Profile().WriteProfileString("MouseGestures", "m_error", " 0.5 ");
    const GestureTrainingSettings s = read();
    EXPECT_DOUBLE_EQ(s.highRate, 0.9);
    EXPECT_DOUBLE_EQ(s.lowRate, 0.1);
    EXPECT_DOUBLE_EQ(s.momentum, 0.5);
    EXPECT_DOUBLE_EQ(s.errorBound, 0.5);
}

TEST_F(GestureTraining, RunsShorterThanOneIntervalMeasureNoError) {
    Profile().WriteProfileInt("MouseGestures", "m_cycles", 50);
    Profile().WriteProfileString("MouseGestures", "m_error", "1");
    SeededGesture g;
    g->Train(Profile());
    EXPECT_EQ(g->GetLearner().ErrorInterval(), 0u);
    EXPECT_EQ(g->GetLearner().LastCycle(), 49u);
    EXPECT_TRUE(g->GetPad().Errors().empty());
    EXPECT_FALSE(g->GetLearner().Stopped());
}

TEST(GestureSamples, EachSampleIsItsClassPrototypeDisturbedWithinANarrowingSpread) {
    // Checks every sample of a short run as the trainer hands it out.
    static constexpr std::uint32_t kCycles = 400;
    struct Watcher : CMouseGestureLearn {
        Watcher(MLNet::Net& net, CrtRandom& random)
            : CMouseGestureLearn(net, random), random_(random) {}
        bool GetSample(int r, std::uint32_t c, std::span<float> in, std::span<float> t) override {
            CrtRandom peek = random_;
            const int cls = peek.rand() % kGestureClassCount;
            const bool more = CMouseGestureLearn::GetSample(r, c, in, t);
            for (int j = 0; j < kGestureClassCount; ++j)
                EXPECT_EQ(t[static_cast<std::size_t>(j)], j == cls ? 1.0f : 0.0f);
            const double spread = 45.0 * std::exp(-2.0 * c / kCycles) + 1e-4;
            const GestureAngles& proto = GesturePrototypes[static_cast<std::size_t>(cls)];
            for (int i = 0; i < kGestureSegments; ++i) {
                const float a = SampleAngles()[static_cast<std::size_t>(i)];
                EXPECT_TRUE(a >= 0.0f && a <= 360.0f) << a;
                double diff = std::fabs(a - proto[static_cast<std::size_t>(i)]);
                diff = std::min(diff, 360.0 - diff);
                EXPECT_LE(diff, spread) << "cycle " << c;
                kept += diff == 0.0;
                worst = std::max(worst, diff);
                const double rad = a * 3.1415926535 / 180.0;
                EXPECT_FLOAT_EQ(in[static_cast<std::size_t>(i)], static_cast<float>(std::cos(rad)));
                EXPECT_FLOAT_EQ(in[static_cast<std::size_t>(16 + i)],
                                static_cast<float>(std::sin(rad)));
            }
            return more;
        }
        CrtRandom& random_;
        int kept = 0;
        double worst = 0.0;
    };
    CrtRandom random;
    random.srand(1);
    CMouseGesture host(random);
    Watcher watcher(host.GetNet(), random);
    watcher.StartTraining(nullptr, kCycles, 0.9, 0.1, 0.5, 0.025);
    const int angles = kCycles * kGestureSegments;
    // 51 of every 100 draws keep the angle.
    EXPECT_NEAR(static_cast<double>(watcher.kept) / angles, 0.51, 0.03);
    EXPECT_GT(watcher.worst, 30.0);
}
