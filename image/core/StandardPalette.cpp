#include "image/core/StandardPalette.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr BYTE kVga[16][3] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                              {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                              {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                              {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};

constexpr BYTE kTail[10][3] = {{255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},
                               {0, 255, 0},     {255, 255, 0},   {0, 0, 255},     {255, 0, 255},
                               {0, 255, 255},   {255, 255, 255}};

// How far each of the six tints lifts a channel toward white, taken from the orange group
// (255,170,0): a channel at 0 rises to 212 ... 37, a channel at 170 by 70 ... 0.
constexpr int kTintFromZero[6] = {212, 177, 142, 107, 72, 37};
constexpr int kTintFrom170[6] = {70, 57, 42, 28, 14, 0};

RGBQUAD Rgb(int r, int g, int b) {
    return RGBQUAD::FromRgb(static_cast<BYTE>(r), static_cast<BYTE>(g), static_cast<BYTE>(b));
}

// Tints of channels other than 0 and 170 are interpolated between the two known rows.
int Tint(int c, int k) {
    const int room = 255 - c;
    if (room >= 85) {
        const double t = (room - 85) / 170.0;
        return c + static_cast<int>(
                       std::lround(kTintFrom170[k] + t * (kTintFromZero[k] - kTintFrom170[k])));
    }
    return c + static_cast<int>(std::lround(kTintFrom170[k] * room / 85.0));
}

int Shade(int c, int j) {
    const int step = (c * 35 + 254) / 255;
    return std::max(0, c - j * step);
}

// Fully saturated colour at `degrees` of the hue circle.
std::array<int, 3> Hue(int degrees) {
    const int sector = degrees / 60;
    const int rise = static_cast<int>(std::lround((degrees % 60) * 255 / 60.0));
    const int fall = 255 - rise;
    switch (sector % 6) {
    case 0:
        return {255, rise, 0};
    case 1:
        return {fall, 255, 0};
    case 2:
        return {0, 255, rise};
    case 3:
        return {0, fall, 255};
    case 4:
        return {rise, 0, 255};
    default:
        return {255, 0, fall};
    }
}

// Eighteen groups of twelve: six tints, the hue, five shades; the groups walk the hue circle in
// 20-degree steps starting at orange (40 degrees). Hues on the primary and secondary colours
// move on by 10 degrees so that the exact system colours at the end of the palette stay the
// nearest match for themselves.
int GroupHue(int g) {
    const int hue = (40 + 20 * g) % 360;
    return hue % 60 == 0 ? hue + 10 : hue;
}

void AddHueRamps(std::vector<RGBQUAD>& pal) {
    for (int g = 0; g < 18; ++g) {
        const auto h = Hue(GroupHue(g));
        for (int k = 0; k < 6; ++k)
            pal.push_back(Rgb(Tint(h[0], k), Tint(h[1], k), Tint(h[2], k)));
        pal.push_back(Rgb(h[0], h[1], h[2]));
        for (int j = 1; j <= 5; ++j)
            pal.push_back(Rgb(Shade(h[0], j), Shade(h[1], j), Shade(h[2], j)));
    }
}

std::vector<RGBQUAD> Palette256() {
    std::vector<RGBQUAD> pal;
    pal.reserve(256);
    for (int i = 0; i < 8; ++i)
        pal.push_back(Rgb(kVga[i][0], kVga[i][1], kVga[i][2]));
    pal.push_back(Rgb(192, 220, 192));
    pal.push_back(Rgb(166, 202, 240));
    AddHueRamps(pal);
    for (int k = 0; k < 20; ++k)
        pal.push_back(Rgb(242 - 12 * k, 242 - 12 * k, 242 - 12 * k));
    for (const auto& t : kTail)
        pal.push_back(Rgb(t[0], t[1], t[2]));
    return pal;
}

} // namespace

std::vector<RGBQUAD> StandardPalette(unsigned bpp) {
    switch (bpp) {
    case 1:
        return {Rgb(0, 0, 0), Rgb(255, 255, 255)};
    case 4: {
        std::vector<RGBQUAD> pal;
        for (const auto& v : kVga)
            pal.push_back(Rgb(v[0], v[1], v[2]));
        return pal;
    }
    case 8:
        return Palette256();
    default:
        return {};
    }
}
