#pragma once
// One axis of a CoordinateMapping, for mapping many coordinates at once: the same results as
// CoordinateMapping::ToDevice, with MulDiv's integer division replaced by a floating one (exact
// in the range a drawing uses, and quicker), which matters where a drawing maps every point of a
// large maze.
#include "platform/WinTypes.h"

#include <algorithm>
#include <cstdint>

class DeviceAxis {
public:
    DeviceAxis(LONG windowOrg, LONG windowExt, LONG viewportOrg, LONG viewportExt);

    LONG operator()(LONG v) const;

private:
    LONG windowOrg_;
    LONG viewportOrg_;
    LONG num_;
    unsigned long long den_; // |window extent|; 0 maps unscaled
    bool negativeDen_;
    double divisor_;
};

inline LONG DeviceAxis::operator()(LONG v) const {
    // Clamped, not wrapped, at the ends of the range, as the point mapping does.
    const auto moved = [this](long long r) {
        return static_cast<LONG>(std::clamp<long long>(
            std::clamp<long long>(r, INT32_MIN, INT32_MAX) + viewportOrg_, INT32_MIN, INT32_MAX));
    };
    const long long shifted = static_cast<long long>(v) - windowOrg_;
    if (den_ == 0)
        return moved(shifted);
    // MulDiv's rounding: half the divisor added to the magnitude, then truncated.
    const long long p = static_cast<long long>(shifted) * num_;
    const unsigned long long n = static_cast<unsigned long long>(p < 0 ? -p : p) + den_ / 2;
    unsigned long long q;
    if (n < (1ULL << 52)) {
        // n is exact as a double. Below 2^52 rounding moves the quotient by less than
        // 1 / (2 den_), and a quotient short of an integer is short by at least 1 / den_, so
        // truncating the rounded quotient gives n / den_.
        q = static_cast<unsigned long long>(
            static_cast<long long>(static_cast<double>(static_cast<long long>(n)) / divisor_));
    } else {
        q = n / den_;
    }
    const long long r =
        (p < 0) != negativeDen_ ? -static_cast<long long>(q) : static_cast<long long>(q);
    return moved(r);
}
