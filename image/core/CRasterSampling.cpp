// Colours of CRaster at real positions: border methods, interpolation kernels and area
// averages. Pixel centres lie at integer positions; y counts storage rows from the bottom.
#include "image/core/CRaster.h"

#include "image/core/CRasterFloatRect.h"
#include "image/core/ResampleKernel.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

constexpr float kFarOutside = 1.0e9f;
constexpr RGBQUAD kWhite = {255, 255, 255, 0};

// floor(v) as a LONG; NaN and positions beyond any picture land far outside.
LONG FloorToLong(float v) {
    if (!(v > -kFarOutside))
        return static_cast<LONG>(-kFarOutside);
    if (v > kFarOutside)
        return static_cast<LONG>(kFarOutside);
    return static_cast<LONG>(std::floor(v));
}

LONG WrapInt(std::int64_t v, std::int64_t size, int method) {
    switch (method) {
    case CRaster::kOverflowWrap:
        return static_cast<LONG>(((v % size) + size) % size);
    case CRaster::kOverflowRepeat:
        return static_cast<LONG>(std::clamp<std::int64_t>(v, 0, size - 1));
    default: // mirror
        return static_cast<LONG>(v < 0 ? (-v) % size : size - (v % size) - 1);
    }
}

float WrapFloat(float v, float size, int method) {
    if (!std::isfinite(v))
        return 0.0f;
    switch (method) {
    case CRaster::kOverflowWrap: {
        float r = std::fmod(v, size);
        if (r < 0.0f)
            r += size;
        return r < size ? r : 0.0f;
    }
    case CRaster::kOverflowRepeat:
        return std::clamp(v, 0.0f, size - 1.0f);
    default: // mirror
        return v < 0.0f ? std::fmod(-v, size) : size - std::fmod(v, size) - 1.0f;
    }
}

bool MovesInside(int method) {
    return method == CRaster::kOverflowWrap || method == CRaster::kOverflowRepeat ||
           method == CRaster::kOverflowMirror;
}

// Weighted colour sums, finished by clamping each channel to 0..255 and truncating.
struct ColorSum {
    float b = 0, g = 0, r = 0, a = 0;

    void Add(RGBQUAD c, float w) {
        b += w * c.rgbBlue;
        g += w * c.rgbGreen;
        r += w * c.rgbRed;
        a += w * c.rgbReserved;
    }
    static BYTE Channel(float v) { return static_cast<BYTE>(std::clamp(v, 0.0f, 255.0f)); }
    RGBQUAD Result(float scale, bool withAlpha) const {
        return {Channel(b * scale), Channel(g * scale), Channel(r * scale),
                withAlpha ? Channel(a * scale) : BYTE{0}};
    }
};

// Share of the unit square around `centre` that lies between lo and hi.
float Overlap(LONG centre, float lo, float hi) {
    const float c = static_cast<float>(centre);
    return std::max(0.0f, std::min(c + 0.5f, hi) - std::max(c - 0.5f, lo));
}

} // namespace

void CRaster::OverflowCoordinates(LONG& x, LONG& y, int method) const {
    if (!IsValid() || !MovesInside(method))
        return;
    if (x < 0 || x >= head_.biWidth)
        x = WrapInt(x, head_.biWidth, method);
    if (y < 0 || y >= head_.biHeight)
        y = WrapInt(y, head_.biHeight, method);
}

void CRaster::OverflowCoordinates(float& x, float& y, int method) const {
    if (!IsValid() || !MovesInside(method))
        return;
    const float width = static_cast<float>(head_.biWidth);
    const float height = static_cast<float>(head_.biHeight);
    if (!(x >= 0.0f && x < width))
        x = WrapFloat(x, width, method);
    if (!(y >= 0.0f && y < height))
        y = WrapFloat(y, height, method);
}

RGBQUAD CRaster::OutsideColor(int method, const RGBQUAD* replacement) const {
    const RGBQUAD other = replacement ? *replacement : kWhite;
    if (method == kOverflowTransparent && alpha_)
        return {other.rgbBlue, other.rgbGreen, other.rgbRed, 0};
    if ((method == kOverflowBackground || method == kOverflowTransparent) && IsTransparent())
        return GetTransparentColor();
    return other;
}

RGBQUAD CRaster::GetPixelColorWithOverflow(LONG x, LONG y, int method,
                                           const RGBQUAD* replacement) const {
    if (!IsValid())
        return {};
    if (!IsInside(x, y)) {
        if (!MovesInside(method))
            return OutsideColor(method, replacement);
        OverflowCoordinates(x, y, method);
    }
    return BlindGetPixelColor(x, y, true);
}

RGBQUAD CRaster::GetPixelColorInterpolated(float x, float y, int mode, int method,
                                           const RGBQUAD* replacement) const {
    if (!IsValid())
        return {};
    if (mode == kInterpolateBilinear)
        return Bilinear(x, y, method, replacement);
    if (mode >= ResampleKernel::kFirstMode && mode <= ResampleKernel::kLastMode)
        return Kernel(x, y, mode, method, replacement);
    // Nearest neighbour, also for unknown modes.
    return GetPixelColorWithOverflow(FloorToLong(x + 0.5f), FloorToLong(y + 0.5f), method,
                                     replacement);
}

RGBQUAD CRaster::Bilinear(float x, float y, int method, const RGBQUAD* replacement) const {
    LONG xi = FloorToLong(x);
    LONG yi = FloorToLong(y);
    if (xi < -1 || xi >= head_.biWidth || yi < -1 || yi >= head_.biHeight) {
        if (!MovesInside(method))
            return OutsideColor(method, replacement);
        OverflowCoordinates(x, y, method);
        xi = FloorToLong(x);
        yi = FloorToLong(y);
    }
    const float t = x - static_cast<float>(xi);
    const float u = y - static_cast<float>(yi);
    const bool inside = xi >= 0 && yi >= 0 && xi + 1 < head_.biWidth && yi + 1 < head_.biHeight;
    if (inside && !IsIndexed())
        return BilinearFast(xi, yi, t, u);
    const RGBQUAD c00 = GetPixelColorWithOverflow(xi, yi, method, replacement);
    const RGBQUAD c10 = GetPixelColorWithOverflow(xi + 1, yi, method, replacement);
    const RGBQUAD c01 = GetPixelColorWithOverflow(xi, yi + 1, method, replacement);
    const RGBQUAD c11 = GetPixelColorWithOverflow(xi + 1, yi + 1, method, replacement);
    ColorSum sum;
    sum.Add(c00, (1.0f - t) * (1.0f - u));
    sum.Add(c10, t * (1.0f - u));
    sum.Add(c01, (1.0f - t) * u);
    sum.Add(c11, t * u);
    return sum.Result(1.0f, alpha_ != nullptr);
}

// 24-bit pixels whose four neighbours all lie inside: 8-bit fixed-point weights.
RGBQUAD CRaster::BilinearFast(LONG xi, LONG yi, float t, float u) const {
    const int tx = static_cast<int>(t * 256.0f);
    const int ty = static_cast<int>(u * 256.0f);
    const int d = (tx * ty) >> 8;
    const int w00 = 256 - tx - ty + d, w10 = tx - d, w01 = ty - d, w11 = d;
    const BYTE* p0 = PixelAddress(xi, yi);
    const BYTE* p1 = PixelAddress(xi, yi + 1);
    BYTE out[4] = {};
    for (int c = 0; c < 3; ++c)
        out[c] =
            static_cast<BYTE>((w00 * p0[c] + w10 * p0[c + 3] + w01 * p1[c] + w11 * p1[c + 3]) >> 8);
    if (alpha_) {
        const BYTE* a0 = &alpha_[PlaneOffset(xi, yi)];
        const BYTE* a1 = &alpha_[PlaneOffset(xi, yi + 1)];
        out[3] = static_cast<BYTE>((w00 * a0[0] + w10 * a0[1] + w01 * a1[0] + w11 * a1[1]) >> 8);
    }
    return {out[0], out[1], out[2], out[3]};
}

RGBQUAD CRaster::Kernel(float x, float y, int mode, int method, const RGBQUAD* replacement) const {
    const int reach = ResampleKernel::Reach(mode);
    LONG xi = FloorToLong(x);
    LONG yi = FloorToLong(y);
    auto whollyOutside = [&] {
        return xi + reach < 0 || xi - reach + 1 >= head_.biWidth || yi + reach < 0 ||
               yi - reach + 1 >= head_.biHeight;
    };
    if (whollyOutside()) {
        if (!MovesInside(method))
            return OutsideColor(method, replacement);
        OverflowCoordinates(x, y, method);
        xi = FloorToLong(x);
        yi = FloorToLong(y);
    }
    std::array<float, 12> wx{}, wy{};
    const int n = 2 * reach;
    for (int i = 0; i < n; ++i) {
        wx[i] = ResampleKernel::Weight(mode, static_cast<float>(xi - reach + 1 + i) - x);
        wy[i] = ResampleKernel::Weight(mode, static_cast<float>(yi - reach + 1 + i) - y);
    }
    const LONG x0 = xi - reach + 1;
    const LONG y0 = yi - reach + 1;
    ColorSum sum;
    if (!IsIndexed() && x0 >= 0 && y0 >= 0 && x0 + n <= head_.biWidth && y0 + n <= head_.biHeight) {
        // 24 bits and the whole neighbourhood inside: straight from the rows.
        for (int j = 0; j < n; ++j) {
            const BYTE* p = PixelAddress(x0, y0 + j);
            const BYTE* a = alpha_ ? &alpha_[PlaneOffset(x0, y0 + j)] : nullptr;
            for (int i = 0; i < n; ++i, p += 3) {
                const float w = wx[i] * wy[j];
                sum.Add({p[0], p[1], p[2], a ? a[i] : BYTE{0}}, w);
            }
        }
        return sum.Result(1.0f, alpha_ != nullptr);
    }
    for (int j = 0; j < n; ++j) {
        if (wy[j] == 0.0f)
            continue;
        for (int i = 0; i < n; ++i) {
            const float w = wx[i] * wy[j];
            if (w != 0.0f)
                sum.Add(GetPixelColorWithOverflow(xi - reach + 1 + i, yi - reach + 1 + j, method,
                                                  replacement),
                        w);
        }
    }
    return sum.Result(1.0f, alpha_ != nullptr);
}

RGBQUAD CRaster::GetAreaColorInterpolated(float x, float y, float w, float h, int mode, int method,
                                          const RGBQUAD* replacement) const {
    if (!IsValid())
        return {};
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(w) || !std::isfinite(h))
        return OutsideColor(method, replacement);
    if (w <= 1.0f && h <= 1.0f)
        return GetPixelColorInterpolated(x, y, mode, method, replacement);
    // An area wider than the picture is taken as just wider than it, which bounds the work.
    w = std::min(w, static_cast<float>(head_.biWidth) + 2.0f);
    h = std::min(h, static_cast<float>(head_.biHeight) + 2.0f);
    const float left = x - w / 2.0f, right = x + w / 2.0f;
    const float bottom = y - h / 2.0f, top = y + h / 2.0f;
    const bool alongX = w > 1.0f, alongY = h > 1.0f;
    const LONG x0 = alongX ? FloorToLong(left + 0.5f) : 0;
    const LONG x1 = alongX ? FloorToLong(right + 0.5f) : 0;
    const LONG y0 = alongY ? FloorToLong(bottom + 0.5f) : 0;
    const LONG y1 = alongY ? FloorToLong(top + 0.5f) : 0;
    if (alongX && alongY && !IsIndexed() && x0 >= 0 && y0 >= 0 && x1 < head_.biWidth &&
        y1 < head_.biHeight)
        return AreaInside(CRasterFloatRect(left, bottom, right, top), x0, x1, y0, y1);
    ColorSum sum;
    for (LONG py = y0; py <= y1; ++py) {
        const float wy = alongY ? Overlap(py, bottom, top) : 1.0f;
        if (wy == 0.0f)
            continue;
        for (LONG px = x0; px <= x1; ++px) {
            const float wx = alongX ? Overlap(px, left, right) : 1.0f;
            if (wx == 0.0f)
                continue;
            RGBQUAD c;
            if (alongX && alongY)
                c = IsInside(px, py) ? BlindGetPixelColor(px, py, true)
                                     : GetPixelColorWithOverflow(px, py, method, replacement);
            else
                c = GetPixelColorInterpolated(alongX ? static_cast<float>(px) : x,
                                              alongY ? static_cast<float>(py) : y, mode, method,
                                              replacement);
            sum.Add(c, wx * wy);
        }
    }
    const float surface = (alongX ? w : 1.0f) * (alongY ? h : 1.0f);
    return sum.Result(1.0f / surface, alpha_ != nullptr);
}

// A 24-bit area whose pixels all lie inside: read straight from the rows.
RGBQUAD CRaster::AreaInside(const CRasterFloatRect& area, LONG x0, LONG x1, LONG y0,
                            LONG y1) const {
    const float left = area.BottomLeft().x, right = area.TopRight().x;
    ColorSum sum;
    for (LONG py = y0; py <= y1; ++py) {
        const float wy = Overlap(py, area.BottomLeft().y, area.TopRight().y);
        if (wy == 0.0f)
            continue;
        const BYTE* p = PixelAddress(x0, py);
        const BYTE* a = alpha_ ? &alpha_[PlaneOffset(x0, py)] : nullptr;
        for (LONG px = x0; px <= x1; ++px, p += 3) {
            const float w = Overlap(px, left, right) * wy;
            sum.b += w * p[0];
            sum.g += w * p[1];
            sum.r += w * p[2];
            if (a)
                sum.a += w * a[px - x0];
        }
    }
    return sum.Result(1.0f / area.Surface(), alpha_ != nullptr);
}
