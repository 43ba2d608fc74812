#pragma once
#include "platform/CPoint.h"

#include <cstdint>
#include <vector>

// The record of one gesture stroke and of the recogniser's progress.
class CGesturePad {
public:
    enum State : int {
        StateNone = 0,
        StateTraining = 1,
        StateCleared = 3,
        StateRecognized = 4,
        StateNotRecognized = 5,
    };

    // One measurement of the prototype error taken while training.
    struct ErrorSample {
        std::uint32_t cycle;
        float error;
    };

    State GetState() const { return state_; }
    // Forgets any stroke and error record and marks the pad as training.
    void BeginTraining();
    void RecordError(std::uint32_t cycle, float error) { errors_.push_back({cycle, error}); }
    const std::vector<ErrorSample>& Errors() const { return errors_; }

    const std::vector<CPoint>& RawPoints() const { return raw_; }
    const std::vector<CPoint>& ResampledPoints() const { return resampled_; }

private:
    std::vector<CPoint> raw_;
    std::vector<CPoint> resampled_;
    std::vector<ErrorSample> errors_;
    State state_ = StateNone;
};
