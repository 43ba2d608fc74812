#include "res/WatermarkPicture.h"

#include <cmath>
#include <numbers>

namespace {

constexpr int kWidth = 120;
constexpr int kHeight = 150;
constexpr std::uint32_t kPaper = 0xFFFFFFFF;
constexpr std::uint32_t kInk = 0xFFEAEEF6; // pale blue-grey, light enough to print under a maze

// Three rings, each broken by a doorway that turns a little further round than the last.
bool OnRingWall(double r, double angle) {
    constexpr double radii[] = {14, 26, 38, 50};
    for (int i = 0; i < 4; ++i) {
        if (std::abs(r - radii[i]) > 1.6)
            continue;
        const double door = std::fmod(angle - i * 100.0 + 720.0, 360.0);
        if (door > 18.0)
            return true;
    }
    return false;
}

// Spokes joining neighbouring rings at a few places, so the rings read as a maze.
bool OnSpoke(double r, double angle) {
    constexpr double spokes[][3] = {{45, 14, 26},  {200, 14, 26}, {130, 26, 38},
                                    {300, 26, 38}, {20, 38, 50},  {250, 38, 50}};
    for (const auto& s : spokes) {
        if (r < s[1] || r > s[2])
            continue;
        const double off = std::abs(std::remainder(angle - s[0], 360.0)) * std::numbers::pi / 180;
        if (off * r < 1.6)
            return true;
    }
    return false;
}

} // namespace

const PixelPicture& WatermarkPicture::Get() {
    static const PixelPicture picture = Draw();
    return picture;
}

PixelPicture WatermarkPicture::Draw() {
    PixelPicture p{kWidth, kHeight, std::vector<std::uint32_t>(kWidth * kHeight, kPaper)};
    const double cx = kWidth / 2.0, cy = kHeight / 2.0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            const double r = std::hypot(dx, dy);
            const double angle = std::atan2(dx, -dy) * 180 / std::numbers::pi + 180;
            if (OnRingWall(r, angle) || OnSpoke(r, angle) || r < 3)
                p.At(x, y) = kInk;
        }
    }
    return p;
}
