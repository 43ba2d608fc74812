#include "gesture/CMouseGestureLearn.h"

#include "gesture/Activation.h"
#include "gesture/CGesturePad.h"
#include "gesture/GestureFeatures.h"
#include "platform/CrtRandom.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

namespace {
// Measurements of the prototype error over a whole run.
constexpr std::uint32_t kErrorMeasurements = 94;
} // namespace

CMouseGestureLearn::CMouseGestureLearn(MLNet::Net& net, CrtRandom& random)
    : MLNet::Learn(net, MLNet::SigmoidDerivative, random) {
    if (net.GetInputCount() != 2 * kGestureSegments || net.GetOutputCount() != kGestureClassCount)
        throw std::invalid_argument("the gesture trainer needs 32 inputs and 38 outputs");
}

void CMouseGestureLearn::StartTraining(CGesturePad* pad, std::uint32_t cycles, double highRate,
                                       double lowRate, double momentum, double errorBound) {
    pad_ = pad;
    cycles_ = cycles;
    highRate_ = highRate;
    lowRate_ = lowRate;
    momentum_ = momentum;
    errorBound_ = errorBound;
    stop_ = false;
    lastCycle_ = 0;
    if (pad_) {
        pad_->BeginTraining();
        // Runs too short for one interval measure nothing.
        errorInterval_ = cycles / kErrorMeasurements;
    }
    Train(cycles, highRate, lowRate, momentum);
}

float CMouseGestureLearn::Jitter(float angle, std::uint32_t cycle) {
    if (Random().rand() % 100 <= 50)
        return angle;
    const double runLength = std::max<std::uint32_t>(cycles_, 1);
    const double spread = 45.0 * std::exp(-2.0 * cycle / runLength);
    double a = angle + (-spread + Random().rand() / 32767.0 * 2.0 * spread);
    if (a > 360.0)
        a -= 360.0;
    if (a < 0.0)
        a += 360.0;
    return static_cast<float>(a);
}

bool CMouseGestureLearn::GetSample(int, std::uint32_t cycle, std::span<float> input,
                                   std::span<float> target) {
    const int cls = Random().rand() % kGestureClassCount;
    const GestureAngles& prototype = GesturePrototypes[static_cast<std::size_t>(cls)];
    for (int i = 0; i < kGestureSegments; ++i)
        sampleAngles_[i] = Jitter(prototype[i], cycle);
    GestureAnglesToInput(sampleAngles_, input);

    const MLNet::Net& net = GetNet();
    std::fill(target.begin(), target.end(), net.GetLow());
    target[static_cast<std::size_t>(cls)] = net.GetHigh();

    if (pad_ && cycle != 0 && errorInterval_ != 0 && cycle % errorInterval_ == 0) {
        const float error = PrototypeError();
        pad_->RecordError(cycle, error);
        if (error < errorBound_)
            stop_ = true;
    }
    lastCycle_ = cycle;
    return !stop_;
}

float CMouseGestureLearn::PrototypeError() {
    const MLNet::Net& net = GetNet();
    std::vector<float> input(kGestureSegments * 2);
    std::vector<float> output;
    double sum = 0.0;
    for (int cls = 0; cls < kGestureClassCount; ++cls) {
        input.resize(kGestureSegments * 2);
        GestureAnglesToInput(GesturePrototypes[static_cast<std::size_t>(cls)], input);
        net.Run(input, output);
        for (int j = 0; j < kGestureClassCount; ++j) {
            const double t = j == cls ? net.GetHigh() : net.GetLow();
            const double d = output[static_cast<std::size_t>(j)] - t;
            sum += d * d;
        }
    }
    return static_cast<float>(std::sqrt(sum / (kGestureClassCount * kGestureClassCount)));
}
