#pragma once

// The quiet counterpart of CellAnimation: every call compiles away, so a run without a view
// is as fast as a loop written for it alone.
class NoAnimation {
public:
    static constexpr bool kAnimates = false;

    template <typename Place> void Draw(const Place&) {}
    int Delay() const { return 0; }
    void Pause() {}
};
