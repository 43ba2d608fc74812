#pragma once
#include "platform/CPoint.h"
#include "platform/CRect.h"
#include "platform/CSize.h"
#include "platform/DeviceAxis.h"

#include <algorithm>
#include <cstdint>

// The logical-to-device transform of a device context: mapping mode, window and viewport
// origins and extents. Points map as device = (logical - window origin) * viewport extent /
// window extent + viewport origin, rounded to nearest with halves away from zero; sizes use the
// extents' magnitudes so that they keep their sign.
class CoordinateMapping {
public:
    CoordinateMapping(int dpiX, int dpiY);

    int SetMapMode(int mode);
    int GetMapMode() const { return mode_; }
    void SetDeviceResolution(int dpiX, int dpiY);

    CPoint SetWindowOrg(CPoint org);
    CPoint SetViewportOrg(CPoint org);
    CPoint GetWindowOrg() const { return windowOrg_; }
    CPoint GetViewportOrg() const { return viewportOrg_; }
    // Extents change only in the anisotropic and isotropic modes; the fixed modes ignore them.
    CSize SetWindowExt(CSize ext);
    CSize SetViewportExt(CSize ext);
    CSize GetWindowExt() const { return windowExt_; }
    CSize GetViewportExt() const { return viewportExt_; }

    CPoint ToDevice(CPoint p) const;
    // ToDevice one axis at a time, for many coordinates.
    DeviceAxis XAxis() const {
        return {windowOrg_.x, windowExt_.cx, viewportOrg_.x, viewportExt_.cx};
    }
    DeviceAxis YAxis() const {
        return {windowOrg_.y, windowExt_.cy, viewportOrg_.y, viewportExt_.cy};
    }
    CPoint ToLogical(CPoint p) const;
    CSize SizeToDevice(CSize s) const;
    CSize SizeToLogical(CSize s) const;
    // Exact (unrounded) device position, for stretches reaching beyond the device range.
    double ToDeviceX(double x) const;
    double ToDeviceY(double y) const;
    bool IsXFlipped() const;

private:
    // Scales a value by num/den with the rounding of MulDiv, without its overflow sentinel.
    // `v` may be the difference of two coordinates; results beyond 32 bits are clamped.
    static LONG Scale(long long v, LONG num, LONG den);
    // Moves a mapped value by an origin, clamped rather than wrapped at the ends of the range.
    static LONG Shifted(LONG v, LONG origin) {
        return static_cast<LONG>(
            std::clamp<long long>(static_cast<long long>(v) + origin, INT32_MIN, INT32_MAX));
    }
    void ApplyFixedExtents();

    int mode_ = 1;
    int dpiX_;
    int dpiY_;
    CPoint windowOrg_;
    CPoint viewportOrg_;
    CSize windowExt_{1, 1};
    CSize viewportExt_{1, 1};
};

// Inline, with a 32-bit division where the numbers allow: every point drawn passes here.
inline LONG CoordinateMapping::Scale(long long v, LONG num, LONG den) {
    if (den == 0)
        return static_cast<LONG>(std::clamp<long long>(v, INT32_MIN, INT32_MAX));
    const long long p = static_cast<long long>(v) * num;
    const long long d = den;
    const auto ap = static_cast<unsigned long long>(p < 0 ? -p : p);
    const auto ad = static_cast<unsigned long long>(d < 0 ? -d : d);
    const unsigned long long n = ap + ad / 2;
    const unsigned long long q =
        n <= UINT32_MAX ? static_cast<std::uint32_t>(n) / static_cast<std::uint32_t>(ad) : n / ad;
    const long long r =
        ((p < 0) != (d < 0)) ? -static_cast<long long>(q) : static_cast<long long>(q);
    return static_cast<LONG>(std::clamp<long long>(r, INT32_MIN, INT32_MAX));
}

inline CPoint CoordinateMapping::ToDevice(CPoint p) const {
    return {
        Shifted(Scale(static_cast<long long>(p.x) - windowOrg_.x, viewportExt_.cx, windowExt_.cx),
                viewportOrg_.x),
        Shifted(Scale(static_cast<long long>(p.y) - windowOrg_.y, viewportExt_.cy, windowExt_.cy),
                viewportOrg_.y)};
}
