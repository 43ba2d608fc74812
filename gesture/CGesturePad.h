#pragma once
#include "gesture/GesturePrototypes.h"
#include "platform/CPoint.h"

#include <array>
#include <cstdint>
#include <vector>

// The record of one gesture stroke: its points as recorded and reduced, the directions of its
// segments, the best classes found for it, and how far the recogniser got.
class CGesturePad {
public:
    static constexpr std::size_t kSegments = kGestureSegments;
    static constexpr std::size_t kPoints = kSegments + 1;

    enum State : int {
        StateNone = 0,
        StateTraining = 1,
        StateCleared = 3,
        StateRecognized = 4,
        StateNotRecognized = 5,
    };

    struct Match {
        int cls = 0;
        float share = 0.0f;
    };
    using TopList = std::array<Match, 3>;

    // One measurement of the prototype error taken while training.
    struct ErrorSample {
        std::uint32_t cycle;
        float error;
    };

    State GetState() const { return state_; }
    void SetState(State state) { state_ = state; }

    // Forgets the last stroke and starts a new one at (x, y).
    void StartStroke(LONG x, LONG y);
    // Every point counts, repeated ones too.
    void AddPoint(LONG x, LONG y) { raw_.emplace_back(x, y); }
    // Reduces the stroke to kPoints points and measures its segments. False, with the state
    // cleared, for a stroke of fewer points.
    bool EndStroke();

    // Forgets any stroke and error record and marks the pad as training.
    void BeginTraining();
    void RecordError(std::uint32_t cycle, float error) { errors_.push_back({cycle, error}); }
    const std::vector<ErrorSample>& Errors() const { return errors_; }

    const std::vector<CPoint>& RawPoints() const { return raw_; }
    const std::vector<CPoint>& ResampledPoints() const { return resampled_; }
    // Degrees: 0 down the screen, 90 right, 180 up, 270 left.
    const GestureAngles& Angles() const { return angles_; }
    const GestureAngles& Cosines() const { return cosines_; }
    const GestureAngles& Sines() const { return sines_; }

    const TopList& GetTopList() const { return top_; }
    void SetTopList(const TopList& top) { top_ = top; }

private:
    void MeasureSegments();

    std::vector<CPoint> raw_;
    std::vector<CPoint> resampled_;
    GestureAngles angles_{};
    GestureAngles cosines_{};
    GestureAngles sines_{};
    TopList top_{};
    std::vector<ErrorSample> errors_;
    State state_ = StateNone;
};
