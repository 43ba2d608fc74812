#pragma once
// Limits and small helpers shared by the metafile canvas's sources: how far a metafile's
// numbers are allowed to reach on the output, and how work is counted against the budget.
#include "image/metafile/MetafileMatrix.h"
#include "platform/CRect.h"
#include "platform/WinTypes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace metafile_canvas {

// Output coordinates are kept well inside what the device context accepts, whatever the
// metafile's numbers.
inline constexpr double kCoordinateLimit = 1 << 21;
inline constexpr std::size_t kMaxSavedStates = 4096;
inline constexpr int kMaxCurveSegments = 64;
inline constexpr int kMaxEllipseSegments = 256;
inline constexpr double kMaxPenWidth = 4000;
inline constexpr double kMaxFontHeight = 4000;
// A font of height 0 is drawn at the device's default of 12 points at 96 dots per inch.
inline constexpr double kDefaultFontPixels = 16;
// Laying out a character costs about this much however small it is drawn.
inline constexpr double kLeastGlyphCost = 16 * 16;

// The stop is asked after about this much work, counting each call as kCallCost pixels.
inline constexpr std::uint64_t kPollEvery = 1 << 20;
inline constexpr std::uint64_t kCallCost = 1024;

inline LONG ToDevice(double v) {
    if (!std::isfinite(v))
        return 0;
    return static_cast<LONG>(std::lround(std::clamp(v, -kCoordinateLimit, kCoordinateLimit)));
}

// A length in output pixels within 0..most; what overflowed to infinity or NaN counts as most.
inline double Bounded(double v, double most) {
    return std::isfinite(v) ? std::clamp(v, 0.0, most) : most;
}

// Segments for a curve spanning `length` output pixels: one per four pixels, bounded.
inline int Segments(double length, int most) {
    if (!std::isfinite(length))
        return most;
    return static_cast<int>(std::clamp(length / 4, 4.0, double(most)));
}

inline double Distance(const MetafileMatrix::Point& a, const MetafileMatrix::Point& b) {
    return std::hypot(b.x - a.x, b.y - a.y);
}

// A crossing of a row and an edge costs as much as painting this many pixels: finding it,
// and painting a span that may be short.
inline constexpr std::uint64_t kCrossingCost = 16;

// Mixing draws into scratch pictures a band at a time, each at most this many pixels.
inline constexpr LONG kBandPixels = 1 << 19;

inline CRect Grown(const CRect& box, LONG by) {
    return CRect(box.left - by, box.top - by, box.right + by, box.bottom + by);
}

inline CRect PointsBox(const std::vector<POINT>& points) {
    CRect box(points[0].x, points[0].y, points[0].x + 1, points[0].y + 1);
    for (const POINT& p : points) {
        box.left = std::min(box.left, p.x);
        box.top = std::min(box.top, p.y);
        box.right = std::max(box.right, p.x + 1);
        box.bottom = std::max(box.bottom, p.y + 1);
    }
    return box;
}

} // namespace metafile_canvas
