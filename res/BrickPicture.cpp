#include "res/BrickPicture.h"

#include <algorithm>

namespace {

constexpr int kWidth = 96;
constexpr int kHeight = 36;
constexpr int kMortar = 3;

std::uint32_t Rgb(int r, int g, int b) {
    auto c = [](int v) { return static_cast<std::uint32_t>(std::clamp(v, 0, 255)); };
    return 0xFF000000u | c(r) << 16 | c(g) << 8 | c(b);
}

// A fixed speckle from the pixel position, so the picture is the same on every run and draws
// on no random sequence.
int Speckle(int x, int y) {
    std::uint32_t h =
        static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<int>((h >> 24) % 21) - 10;
}

} // namespace

const PixelPicture& BrickPicture::Get() {
    static const PixelPicture picture = Draw();
    return picture;
}

PixelPicture BrickPicture::Draw() {
    PixelPicture p{kWidth, kHeight, std::vector<std::uint32_t>(kWidth * kHeight)};
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const int s = Speckle(x, y);
            if (y < kMortar || x < kMortar) {
                p.At(x, y) = Rgb(200 + s / 2, 196 + s / 2, 186 + s / 2);
                continue;
            }
            // Lit from the top left: the brick's upper and left rims are lighter.
            const int rim = (y < kMortar + 2 || x < kMortar + 2)    ? 18
                            : (y >= kHeight - 2 || x >= kWidth - 2) ? -16
                                                                    : 0;
            p.At(x, y) = Rgb(164 + s + rim, 78 + s / 2 + rim, 56 + s / 2 + rim);
        }
    }
    return p;
}
