#pragma once

// The drag in progress in the view: which button holds it, and where the last move ended.
struct MouseDrag {
    enum State : int { kNone = 0, kLeft = 1, kRight = 2 };

    int state = kNone;
    // Set by a press: the next move starts its line at its own point, not at an old one.
    bool firstMove = true;
    double lastX = 0;
    double lastY = 0;
};
