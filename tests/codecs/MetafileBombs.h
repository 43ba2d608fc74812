#pragma once
// Metafiles that are small on disk but ask for a great deal of drawing, for the tests, the
// benchmarks and the fuzz seeds.
#include "MetafileBuilder.h"

#include <cmath>
#include <numbers>

namespace MetafileBombs {

constexpr LONG kSide = 4000; // the largest picture a metafile is drawn at

// `count` rectangles each covering the whole picture.
inline std::vector<BYTE> FullRectanglesEmf(int count) {
    EmfBuilder e;
    e.Brush(1, 0, RGB(200, 0, 0)).Select(1);
    for (int i = 0; i < count; ++i)
        e.Rectangle(0, 0, kSide, kSide);
    return e.Finish(0, 0, kSide, kSide);
}

// One polygon of `points` corners around the picture's centre, its radius wavering so that
// no two neighbouring edges are in line.
inline std::vector<BYTE> StarPolygonEmf(int points) {
    std::vector<LONG> xy;
    xy.reserve(std::size_t(points) * 2);
    for (int i = 0; i < points; ++i) {
        const double a = 2 * std::numbers::pi * i / points;
        const double r = kSide / 2.0 - 2 - (i % 2) * 40;
        xy.push_back(LONG(std::lround(kSide / 2.0 + r * std::cos(a))));
        xy.push_back(LONG(std::lround(kSide / 2.0 + r * std::sin(a))));
    }
    EmfBuilder e;
    e.Brush(1, 0, RGB(0, 128, 0)).Select(1).Poly(3, xy);
    return e.Finish(0, 0, kSide, kSide);
}

// One polygon zigzagging `points` times from the top of the picture to its bottom: every row
// crosses every edge.
inline std::vector<BYTE> ZigzagPolygonEmf(int points) {
    std::vector<LONG> xy;
    for (int i = 0; i < points; ++i) {
        xy.push_back(LONG(std::int64_t{i} * kSide / points));
        xy.push_back(i % 2 ? kSide : 0);
    }
    EmfBuilder e;
    e.Brush(1, 0, RGB(0, 0, 128)).Select(1).Poly(3, xy);
    return e.Finish(0, 0, kSide, kSide);
}

// A placeable file of `count` rectangles covering its whole box, 4000 pixels a side.
inline std::vector<BYTE> FullRectanglesWmf(int count) {
    WmfBuilder w;
    w.WindowOrg(0, 0).WindowExt(kSide, kSide);
    w.Brush(0, RGB(200, 0, 0)).Select(0);
    for (int i = 0; i < count; ++i)
        w.Rectangle(0, 0, kSide, kSide);
    return w.Finish(0, 0, kSide, kSide, 96);
}

} // namespace MetafileBombs
