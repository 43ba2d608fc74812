#include "controls/EyedropperPicture.h"

namespace {

// A pipette lying from the lower left to the upper right: a dark bulb at the top, a glass
// tube and a drop at the tip. '#' outline, 'o' glass, '.' white background.
constexpr const char* kRows[16] = {
    "............##..", "...........####.", "..........######", "..........######",
    ".........#######", "........#o####..", ".......#o#.##...", "......#o#.......",
    ".....#o#........", "....#o#.........", "...#o#..........", "..#o#...........",
    ".#o#............", ".##.............", "#...............", "................",
};

PixelPicture Draw() {
    PixelPicture p;
    p.width = 16;
    p.height = 16;
    p.pixels.resize(256);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const char c = kRows[y][x];
            p.At(x, y) = c == '#' ? 0xFF000000u : c == 'o' ? 0xFF9FC8E8u : 0xFFFFFFFFu;
        }
    return p;
}

} // namespace

const PixelPicture& EyedropperPicture::Get() {
    static const PixelPicture picture = Draw();
    return picture;
}
