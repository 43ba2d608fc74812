#include "platform/GeometricStroke.h"

#include "platform/GdiConstants.h"

#include <cmath>

namespace {

struct Vec {
    double x, y;
};

CPoint Snap(double x, double y) {
    return {static_cast<LONG>(std::floor(x + 0.5)), static_cast<LONG>(std::floor(y + 0.5))};
}

// On and off lengths in widths.
std::vector<double> Pattern(int style) {
    switch (style) {
    case PS_DASH:
        return {3, 1};
    case PS_DOT:
        return {1, 1};
    case PS_DASHDOT:
        return {3, 1, 1, 1};
    case PS_DASHDOTDOT:
        return {3, 1, 1, 1, 1, 1};
    default:
        return {};
    }
}

// The band `half` to each side of the line from a to b, between distances t0 and t1 from a.
std::vector<CPoint> Band(Vec a, Vec dir, Vec normal, double t0, double t1, double half) {
    const Vec p{a.x + dir.x * t0, a.y + dir.y * t0};
    const Vec q{a.x + dir.x * t1, a.y + dir.y * t1};
    return {Snap(p.x - normal.x * half, p.y - normal.y * half),
            Snap(q.x - normal.x * half, q.y - normal.y * half),
            Snap(q.x + normal.x * half, q.y + normal.y * half),
            Snap(p.x + normal.x * half, p.y + normal.y * half)};
}

} // namespace

std::vector<std::vector<CPoint>> GeometricStrokePolygons(const std::vector<CPoint>& points,
                                                         bool closed, int style, int width) {
    std::vector<std::vector<CPoint>> out;
    if (points.size() < 2 || width < 1)
        return out;
    std::vector<CPoint> path = points;
    if (closed && !(path.back() == path.front()))
        path.push_back(path.front());
    std::vector<double> pattern = Pattern(style);
    for (double& v : pattern)
        v *= width;
    const double half = width / 2.0;
    size_t phase = 0;
    double left = pattern.empty() ? 0 : pattern[0]; // of the current on or off run
    std::vector<Vec> dirs;
    for (size_t i = 1; i < path.size(); ++i) {
        const Vec a{static_cast<double>(path[i - 1].x), static_cast<double>(path[i - 1].y)};
        const double dx = path[i].x - a.x, dy = path[i].y - a.y;
        const double length = std::hypot(dx, dy);
        if (length == 0)
            continue;
        const Vec dir{dx / length, dy / length}, normal{-dir.y, dir.x};
        dirs.push_back(dir);
        if (pattern.empty()) {
            out.push_back(Band(a, dir, normal, 0, length, half));
            continue;
        }
        double t = 0;
        while (t < length) {
            const double run = std::min(left, length - t);
            if (phase % 2 == 0)
                out.push_back(Band(a, dir, normal, t, t + run, half));
            t += run;
            left -= run;
            if (left <= 1e-9) {
                phase = (phase + 1) % pattern.size();
                left = pattern[phase];
            }
        }
    }
    if (!pattern.empty())
        return out;
    // Mitred corners of solid lines, up to ten half-widths out as the desktop draws them.
    std::vector<CPoint> corners;
    for (size_t i = 1; i < path.size(); ++i)
        if (!(path[i] == path[i - 1]))
            corners.push_back(path[i - 1]);
    const size_t n = dirs.size();
    const size_t joins = closed ? n : (n ? n - 1 : 0);
    for (size_t k = 0; k < joins; ++k) {
        const Vec d0 = dirs[(k + n - (closed ? 1 : 0)) % n];
        const Vec d1 = dirs[(k + (closed ? 0 : 1)) % n];
        const CPoint c = corners[(k + (closed ? 0 : 1)) % corners.size()];
        const double cross = d0.x * d1.y - d0.y * d1.x;
        if (std::abs(cross) < 1e-9)
            continue;
        // The outer side of the turn.
        const double side = cross > 0 ? -1 : 1;
        const Vec n0{-d0.y * side, d0.x * side}, n1{-d1.y * side, d1.x * side};
        const double cosHalf = std::sqrt((1 + (n0.x * n1.x + n0.y * n1.y)) / 2);
        if (cosHalf < 0.1)
            continue;
        const double reach = half / cosHalf;
        Vec bisector{n0.x + n1.x, n0.y + n1.y};
        const double bl = std::hypot(bisector.x, bisector.y);
        bisector = {bisector.x / bl, bisector.y / bl};
        out.push_back({Snap(c.x, c.y), Snap(c.x + n0.x * half, c.y + n0.y * half),
                       Snap(c.x + bisector.x * reach, c.y + bisector.y * reach),
                       Snap(c.x + n1.x * half, c.y + n1.y * half)});
    }
    return out;
}
