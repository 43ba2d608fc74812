#include "dialogs/BalloonGeometry.h"

#include <algorithm>

namespace {

int Part(double fraction, int length) {
    return int(fraction * length);
}

bool& ShownFlag() {
    static bool shown = false;
    return shown;
}

} // namespace

BalloonRect BalloonGeometry::Place(int x, int y, int w, int h, bool pointerDown) {
    if (pointerDown)
        return {int(x - 0.65 * w), y - h, int(x + 0.35 * w), y};
    return {int(x - 0.35 * w), y, int(x + 0.65 * w), y + h};
}

BalloonShape BalloonGeometry::Shape(int width, int height, bool pointerDown) {
    const int w = width;
    const int h = height;
    BalloonShape s;
    s.cornerWidth = Part(0.18, w);
    s.cornerHeight = Part(0.25, h);
    if (pointerDown) {
        s.text = {Part(0.1, w), Part(0.1, h), Part(0.9, w), Part(0.7, h)};
        s.body = {0, 0, w, int(h - 0.25 * h)};
        const int shoulder = int(h - 0.4 * h);
        s.pointer = {{{Part(0.93, w), shoulder}, {Part(0.65, w), h}, {Part(0.7, w), shoulder}}};
    } else {
        s.text = {Part(0.1, w), Part(0.3, h), Part(0.9, w), Part(0.9, h)};
        s.body = {0, int(h - 0.75 * h), w, h};
        const int shoulder = Part(0.4, h);
        s.pointer = {{{Part(0.07, w), shoulder}, {Part(0.35, w), 0}, {Part(0.3, w), shoulder}}};
    }
    return s;
}

int BalloonGeometry::TimerMilliseconds(int seconds) {
    const std::int64_t ms = std::int64_t(std::max(seconds, 0)) * 1000;
    return int(std::min<std::int64_t>(ms, 0x7fffffff));
}

bool BalloonSlot::Claim() {
    if (ShownFlag())
        return false;
    ShownFlag() = true;
    return true;
}

void BalloonSlot::Release() {
    ShownFlag() = false;
}

bool BalloonSlot::Shown() {
    return ShownFlag();
}
