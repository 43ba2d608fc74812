#pragma once
#include <array>
#include <cstdint>

struct BalloonPoint {
    int x = 0;
    int y = 0;
    bool operator==(const BalloonPoint&) const = default;
};

struct BalloonRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const BalloonRect&) const = default;
};

// The outline of a balloon in its own client coordinates: a rounded body plus a pointer.
struct BalloonShape {
    BalloonRect text;
    BalloonRect body;
    int cornerWidth = 0;
    int cornerHeight = 0;
    std::array<BalloonPoint, 3> pointer{};
};

// Where a balloon goes and how it is cut. With `pointerDown` the pointer hangs below the body
// and its tip sits on the anchor; otherwise it rises above the body.
class BalloonGeometry {
public:
    static BalloonRect Place(int x, int y, int w, int h, bool pointerDown);
    static BalloonShape Shape(int width, int height, bool pointerDown);
    // Display time in milliseconds, kept in what a timer accepts.
    static int TimerMilliseconds(int seconds);
};

// The single balloon of the program: a documented singleton flag, touched on the main thread.
class BalloonSlot {
public:
    static bool Claim();
    static void Release();
    static bool Shown();
};
