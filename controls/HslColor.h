#pragma once
#include "platform/WinTypes.h"

// Hue, saturation and lightness as the colour wheel converts them. The precision is part of
// the result: lightness stays double, m1 and m2 are stored as float and each channel is worked
// out in float, so the wheel's colours come out the same on every build.
class HslColor {
public:
    // One channel 0..255 for a hue in degrees (wrapped once into 0..360).
    static BYTE HueToRGB(float m1, float m2, float hue);
    // Hue in degrees, lightness and saturation 0..1.
    static COLORREF HSLToRGB(double hue, double lightness, double saturation);
    // Hue as a fraction of a turn (0 to below 1), saturation and lightness 0..1.
    static void RGBToHSL(COLORREF color, double& hue, double& saturation, double& lightness);
    // Degrees of the direction (dx, dy) from the wheel's centre, truncated (-179..180).
    static int GetAngle(int dx, int dy);
};
