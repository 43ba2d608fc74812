// Multiply-adds must not fuse here: the wheel's colours depend on each float rounding.
#if defined(__clang__)
#pragma STDC FP_CONTRACT OFF
#elif defined(__GNUC__)
#pragma GCC optimize("fp-contract=off")
#endif

#include "controls/HslColor.h"

#include <algorithm>
#include <cmath>

BYTE HslColor::HueToRGB(float m1, float m2, float hue) {
    if (hue > 360.0f)
        hue -= 360.0f;
    else if (hue < 0.0f)
        hue += 360.0f;
    float v;
    if (hue < 60.0f)
        v = m1 + (m2 - m1) * hue / 60.0f;
    else if (hue < 180.0f)
        v = m2;
    else if (hue < 240.0f)
        v = m1 + (m2 - m1) * (240.0f - hue) / 60.0f;
    else
        v = m1;
    return static_cast<BYTE>(static_cast<int>(v * 255.0f) & 0xFF);
}

COLORREF HslColor::HSLToRGB(double hue, double lightness, double saturation) {
    if (saturation == 0) {
        const int grey = static_cast<int>(lightness * 255) & 0xFF;
        return RGB(grey, grey, grey);
    }
    const double m2d = lightness <= 0.5 ? lightness * (1 + saturation)
                                        : lightness + saturation - lightness * saturation;
    const float m2 = static_cast<float>(m2d);
    const float m1 = static_cast<float>(2 * lightness - m2d);
    const BYTE r = HueToRGB(m1, m2, static_cast<float>(hue + 120));
    const BYTE g = HueToRGB(m1, m2, static_cast<float>(hue));
    const BYTE b = HueToRGB(m1, m2, static_cast<float>(hue - 120));
    return RGB(r, g, b);
}

void HslColor::RGBToHSL(COLORREF color, double& hue, double& saturation, double& lightness) {
    const double r = GetRValue(color) / 255.0, g = GetGValue(color) / 255.0,
                 b = GetBValue(color) / 255.0;
    const double max = std::max({r, g, b}), min = std::min({r, g, b});
    lightness = (max + min) / 2;
    if (max == min) {
        saturation = 0;
        hue = 0;
        return;
    }
    const double d = max - min;
    saturation = lightness < 0.5 ? d / (max + min) : d / (2 - max - min);
    if (max == r)
        hue = (g - b) / d;
    else if (max == g)
        hue = (b - r) / d + 2;
    else
        hue = (r - g) / d + 4;
    hue /= 6;
    if (hue < 0)
        hue += 1;
}

int HslColor::GetAngle(int dx, int dy) {
    return static_cast<int>(std::atan2(static_cast<double>(dy), static_cast<double>(dx)) * 180 /
                            M_PI);
}
