#pragma once
// Metafiles that are small on disk but ask for a great deal of drawing, for the tests, the
// benchmarks and the fuzz seeds.
#include "MetafileBuilder.h"

#include <algorithm>
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

// One PolyTextOutW record of `entries` texts, each the whole of one shared string of `chars`
// characters, in the default font (height 0, drawn at 16 pixels).
inline std::vector<BYTE> PolyTextEmf(int entries, int chars) {
    Bytes r;
    r.i32(0).i32(0).i32(kSide).i32(kSide).u32(1).u32(0).u32(0); // bounds, mode, scales
    r.u32(DWORD(entries));
    const DWORD text = DWORD(40 + 40 * entries); // after the header, fields and entries
    for (int i = 0; i < entries; ++i) {
        r.i32(0).i32(LONG(i % kSide)).u32(DWORD(chars)).u32(text).u32(0);
        r.i32(0).i32(0).i32(0).i32(0).u32(0); // rectangle, no spacing
    }
    for (int i = 0; i < chars; ++i)
        r.u16('A' + i % 26);
    EmfBuilder e;
    e.Raw(97, r);
    return e.Finish(0, 0, kSide, kSide);
}

// A `side` x `side` 8-bit bitmap of two colours, run-length encoded: about 104 bytes a row
// for 13000 pixels.
inline Bytes RleBitmap(LONG side) {
    Bytes b = BmpInfo(side, side, 8, 1, 2);
    b.raw({0, 0, 200, 0, 200, 0, 0, 0});
    for (LONG y = 0; y < side; ++y) {
        for (LONG x = 0; x < side; x += 255)
            b.u8(unsigned(std::min<LONG>(255, side - x))).u8(unsigned(y + x / 255) % 2);
        b.u8(0).u8(0); // end of line
    }
    return b.u8(0).u8(1); // end of bitmap
}

// `count` pattern brushes of a `side`² run-length bitmap, each selected and painted once.
inline std::vector<BYTE> PatternBrushesEmf(int count, LONG side) {
    const Bytes dib = RleBitmap(side);
    constexpr DWORD kInfo = 40 + 8;
    EmfBuilder e;
    for (int i = 0; i < count; ++i) {
        Bytes r;
        r.u32(1).u32(0).u32(32).u32(kInfo).u32(32 + kInfo).u32(DWORD(dib.size() - kInfo));
        e.Raw(94, r.append(dib.data())).Select(1).Rectangle(0, 0, kSide / 4, kSide / 4);
    }
    return e.Finish(0, 0, kSide, kSide);
}

// A StretchDIBits record drawing a `side`² run-length bitmap over the picture.
inline std::vector<BYTE> StretchedRleEmf(LONG side) {
    const Bytes dib = RleBitmap(side);
    constexpr DWORD kInfo = 40 + 8;
    Bytes r;
    r.i32(0).i32(0).i32(kSide).i32(kSide).i32(0).i32(0).i32(0).i32(0).i32(side).i32(side);
    r.u32(80).u32(kInfo).u32(80 + kInfo).u32(DWORD(dib.size() - kInfo)).u32(0);
    r.u32(0x00CC0020).i32(kSide).i32(kSide);
    EmfBuilder e;
    e.Raw(81, r.append(dib.data()));
    return e.Finish(0, 0, kSide, kSide);
}

} // namespace MetafileBombs
