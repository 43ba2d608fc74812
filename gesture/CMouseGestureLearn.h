#pragma once
#include "gesture/GesturePrototypes.h"
#include "gesture/Learn.h"

#include <cstdint>

class CGesturePad;

// Trains the gesture network on the built-in prototype strokes, each angle randomly disturbed
// by an amount that narrows as training goes on. With a pad it measures the error on the
// undisturbed prototypes at regular cycles and stops once that error is under the bound.
class CMouseGestureLearn : public MLNet::Learn {
public:
    CMouseGestureLearn(MLNet::Net& net, CrtRandom& random);

    // `pad` may be null: then no error is measured and training never stops early.
    void StartTraining(CGesturePad* pad, std::uint32_t cycles, double highRate, double lowRate,
                       double momentum, double errorBound);

    bool GetSample(int reserved, std::uint32_t cycle, std::span<float> input,
                   std::span<float> target) override;

    // Root mean square output error over the 38 undisturbed prototypes.
    float PrototypeError();

    std::uint32_t ErrorInterval() const { return errorInterval_; }
    std::uint32_t LastCycle() const { return lastCycle_; }
    bool Stopped() const { return stop_; }
    const GestureAngles& SampleAngles() const { return sampleAngles_; }

private:
    float Jitter(float angle, std::uint32_t cycle);

    CGesturePad* pad_ = nullptr;
    std::uint32_t errorInterval_ = 0;
    bool stop_ = false;
    std::uint32_t cycles_ = 0;
    double momentum_ = 0.0;
    double highRate_ = 0.0;
    double lowRate_ = 0.0;
    double errorBound_ = 0.0;
    std::uint32_t lastCycle_ = 0;
    GestureAngles sampleAngles_{};
};
