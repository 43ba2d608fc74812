#include "image/core/ResampleKernel.h"

#include <cmath>
#include <numbers>

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

float Cube(float v) {
    return v * v * v;
}

float PositiveCube(float v) {
    return v > 0.0f ? Cube(v) : 0.0f;
}

float Sinc(float x) {
    if (x == 0.0f)
        return 1.0f;
    return std::sin(kPi * x) / (kPi * x);
}

float BSpline(float x) {
    if (x > 2.0f)
        return 0.0f;
    return (PositiveCube(x + 2.0f) - 4.0f * PositiveCube(x + 1.0f) + 6.0f * PositiveCube(x) -
            4.0f * PositiveCube(x - 1.0f)) *
           0.16666667f;
}

float Bicubic(float a) {
    if (a < 1.0f)
        return 1.0f - 2.0f * a * a + Cube(a);
    if (a < 2.0f)
        return 4.0f - 8.0f * a + 5.0f * a * a - Cube(a);
    return 0.0f;
}

float GeneralisedCubic(float a) {
    constexpr float k = -0.5f;
    if (a < 1.0f)
        return (k + 2.0f) * Cube(a) - (k + 3.0f) * a * a + 1.0f;
    if (a < 2.0f)
        return k * Cube(a) - 5.0f * k * a * a + 8.0f * k * a - 4.0f * k;
    return 0.0f;
}

float Lanczos(float x) {
    constexpr float radius = 6.0f;
    if (std::fabs(x) > radius)
        return 0.0f;
    return Sinc(x) * Sinc(x / radius);
}

// Blackman is a window over -1..1; beyond it the cosine sum would rise again to its peak.
float Blackman(float x) {
    if (std::fabs(x) > 1.0f)
        return 0.0f;
    return 0.42f + 0.5f * std::cos(kPi * x) + 0.08f * std::cos(2.0f * kPi * x);
}

float Bessel(float x) {
    if (x == 0.0f)
        return 0.7853982f;
    return static_cast<float>(std::cyl_bessel_j(1.0, std::fabs(double(kPi) * x))) /
           (2.0f * std::fabs(x));
}

float Quadratic(float x) {
    if (x < -1.5f || x > 1.5f)
        return 0.0f;
    if (x < -0.5f)
        return 0.5f * (x + 1.5f) * (x + 1.5f);
    if (x < 0.5f)
        return 0.75f - x * x;
    return 0.5f * (x - 1.5f) * (x - 1.5f);
}

float Mitchell(float a) {
    if (a < 1.0f)
        return 0.8888889f - 2.0f * a * a + 1.1666666f * Cube(a);
    if (a < 2.0f)
        return 1.7777778f - 3.3333333f * a + 2.0f * a * a - 0.38888887f * Cube(a);
    return 0.0f;
}

float CatmullRom(float a) {
    if (a < 1.0f)
        return 0.5f * (3.0f * Cube(a) - 5.0f * a * a + 2.0f);
    if (a < 2.0f)
        return 0.5f * (-Cube(a) + 5.0f * a * a - 8.0f * a + 4.0f);
    return 0.0f;
}

// At 0 the quotient is 0 / 0; its limit, 1, is used.
float Hanning(float x) {
    if (std::fabs(x) > 1.0f)
        return 0.0f;
    return Sinc(x) * (0.5f * std::cos(kPi * x) + 0.5f);
}

} // namespace

float ResampleKernel::Weight(int mode, float x) {
    const float a = std::fabs(x);
    const bool unit = x >= -1.0f && x < 1.0f;
    switch (mode) {
    case 3:
        return BSpline(x);
    case 4:
        return Bicubic(a);
    case 5:
        return GeneralisedCubic(a);
    case 6:
        return Lanczos(x);
    case 7:
        return (x >= -0.5f && x < 0.5f) ? 1.0f : 0.0f;
    case 8:
        return unit ? 2.0f * Cube(a) - 3.0f * x * x + 1.0f : 0.0f;
    case 9:
        return unit ? 0.92f * (2.0f * Cube(a) - 3.0f * x * x) + 1.0f : 0.0f;
    case 10:
        return Sinc(x);
    case 11:
        return Blackman(x);
    case 12:
        return Bessel(x);
    case 13:
        return std::exp(-2.0f * x * x) * 0.7978846f;
    case 14:
        return Quadratic(x);
    case 15:
        return Mitchell(a);
    case 16:
        return CatmullRom(a);
    case 17:
        return Hanning(x);
    case 18:
        return a <= 1.0f ? 1.0f - x * x : 0.0f;
    default:
        return 0.0f;
    }
}
