#include "res/StylePreviewArt.h"

#include "res/CairoSketch.h"

#include <cmath>
#include <map>
#include <set>
#include <utility>
#include <vector>

namespace {

using Colour = CairoSketch::Colour;
using Point = CairoSketch::Point;
using Polygon = std::vector<Point>;

constexpr Colour kWall{0, 0, 0};
constexpr Colour kPaper{255, 255, 255};
constexpr Colour kStart{0, 255, 0};
constexpr Colour kStop{255, 0, 0};
constexpr double kPen = 2;
constexpr double kMargin = 6;

// One repeat of a template: its cell shapes in units, and the step to the next repeat.
struct Repeat {
    std::vector<Polygon> cells;
    double stepX, stepY;
    double rowShift; // added to x on every odd row of repeats
};

// A fixed choice from a position, so every run draws the same openings.
bool Open(const Point& a, const Point& b) {
    const auto key = static_cast<std::uint32_t>(std::lround((a.first + b.first) * 8)) * 73856093u ^
                     static_cast<std::uint32_t>(std::lround((a.second + b.second) * 8)) * 19349663u;
    return (key >> 3) % 5 < 2;
}

// Cells of the repeats that fit inside the picture's margin, scaled by `unit` pixels.
std::vector<Polygon> Lay(const Repeat& r, double unit) {
    std::vector<Polygon> cells;
    const double inner = StylePreviewArt::kSize - 2 * kMargin;
    const int columns = static_cast<int>(std::ceil(inner / (r.stepX * unit))) + 1;
    const int rows = static_cast<int>(std::ceil(inner / (r.stepY * unit))) + 1;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            for (const Polygon& shape : r.cells) {
                Polygon cell;
                bool inside = true;
                for (const auto& [x, y] : shape) {
                    const double px =
                        kMargin + (x + column * r.stepX + (row % 2) * r.rowShift) * unit;
                    const double py = kMargin + (y + row * r.stepY) * unit;
                    inside = inside && px <= kMargin + inner + 0.01 && py <= kMargin + inner + 0.01;
                    cell.push_back({px, py});
                }
                if (inside)
                    cells.push_back(std::move(cell));
            }
    return cells;
}

using Edge = std::pair<std::pair<long, long>, std::pair<long, long>>;

Edge EdgeKey(const Point& a, const Point& b) {
    auto key = [](const Point& p) {
        return std::pair{std::lround(p.first * 4), std::lround(p.second * 4)};
    };
    auto ka = key(a), kb = key(b);
    return ka < kb ? Edge{ka, kb} : Edge{kb, ka};
}

void Fill(CairoSketch& s, const Polygon& cell, Colour colour) {
    // CairoSketch takes a brace list; cells have at most eight corners.
    const std::size_t n = cell.size();
    auto p = [&](std::size_t i) { return cell[i % n]; };
    if (n == 3)
        s.Poly({p(0), p(1), p(2)}, colour, std::nullopt);
    else if (n == 4)
        s.Poly({p(0), p(1), p(2), p(3)}, colour, std::nullopt);
    else if (n == 6)
        s.Poly({p(0), p(1), p(2), p(3), p(4), p(5)}, colour, std::nullopt);
    else if (n == 8)
        s.Poly({p(0), p(1), p(2), p(3), p(4), p(5), p(6), p(7)}, colour, std::nullopt);
}

// Walls of every cell once; inner walls shared by two cells are sometimes left open.
void DrawCells(CairoSketch& s, const std::vector<Polygon>& cells) {
    if (cells.size() > 2) {
        Fill(s, cells.front(), kStart);
        Fill(s, cells.back(), kStop);
    }
    std::map<Edge, int> uses;
    for (const Polygon& cell : cells)
        for (std::size_t i = 0; i < cell.size(); ++i)
            ++uses[EdgeKey(cell[i], cell[(i + 1) % cell.size()])];
    std::set<Edge> drawn;
    for (const Polygon& cell : cells)
        for (std::size_t i = 0; i < cell.size(); ++i) {
            const Point& a = cell[i];
            const Point& b = cell[(i + 1) % cell.size()];
            const Edge key = EdgeKey(a, b);
            if (!drawn.insert(key).second || (uses[key] > 1 && Open(a, b)))
                continue;
            s.Line({a, b}, kWall, kPen);
        }
}

Repeat BoxRepeat() {
    return {{{{0, 0}, {1, 0}, {1, 1}, {0, 1}}}, 1, 1, 0};
}

Repeat TriangularRepeat() {
    const double h = 0.866;
    return {{{{0, h}, {0.5, 0}, {1, h}}, {{0.5, 0}, {1.5, 0}, {1, h}}}, 1, h, 0.5};
}

Repeat HexRepeat() {
    const double r = 0.5, w = std::sqrt(3.0) * r;
    Polygon hex;
    for (int i = 0; i < 6; ++i) {
        const double a = (60.0 * i - 30.0) * M_PI / 180;
        hex.push_back({w / 2 + r * std::cos(a), r + r * std::sin(a)});
    }
    return {{hex}, w, 1.5 * r, w / 2};
}

Repeat OctagonBoxRepeat() {
    const double a = 0.20711, b = 0.5, c = 0.70711;
    Polygon octagon = {{a, 0}, {b, 0}, {c, a}, {c, b}, {b, c}, {a, c}, {0, b}, {0, a}};
    Polygon moved;
    for (const auto& [x, y] : octagon)
        moved.push_back({x + 0.5, y + 0.5});
    return {{octagon, {{c, a}, {1, a}, {1, b}, {c, b}}, {{a, c}, {b, c}, {b, 1}, {a, 1}}, moved},
            1,
            1,
            0};
}

Repeat TrapezoidBoxRepeat() {
    const double t = 1.0 / 3, u = 2.0 / 3;
    return {{{{0, 0}, {1, 0}, {u, t}, {t, t}},
             {{u, t}, {1, 0}, {1, 1}, {u, u}},
             {{t, t}, {u, t}, {u, u}, {t, u}},
             {{0, 0}, {t, t}, {t, u}, {0, 1}},
             {{t, u}, {u, u}, {1, 1}, {0, 1}}},
            1,
            1,
            0};
}

Repeat QuadTriangleRepeat() {
    return {{{{0, 0}, {1, 0}, {0.5, 0.5}},
             {{0.5, 0.5}, {1, 0}, {1, 1}},
             {{0, 0}, {0.5, 0.5}, {0, 1}},
             {{0.5, 0.5}, {1, 1}, {0, 1}}},
            1,
            1,
            0};
}

// Rings of cells round a small hub; each ring has twice the cells of the one inside it when
// its cells would otherwise grow too wide.
void DrawCircular(CairoSketch& s) {
    const double c = StylePreviewArt::kSize / 2.0;
    const double radii[] = {9, 19, 29, 39, 47};
    const int counts[] = {6, 12, 12, 24};
    s.Circle(c, c - 14, 4, kStart, std::nullopt);
    s.Circle(c + 27, c + 31, 4, kStop, std::nullopt);
    for (int ring = 0; ring < 5; ++ring) {
        const double r = radii[ring];
        // One doorway per inner ring, turning further round each time.
        if (ring == 0 || ring == 4) {
            s.Arc(c, c, r, 0, 360, kWall, kPen);
            continue;
        }
        const double door = ring * 100.0;
        s.Arc(c, c, r, door + 18, door + 360, kWall, kPen);
    }
    for (int ring = 0; ring < 4; ++ring) {
        const int n = counts[ring];
        for (int i = 0; i < n; ++i) {
            const double a = 360.0 * i / n;
            const Point from{c + radii[ring] * std::cos(a * M_PI / 180),
                             c + radii[ring] * std::sin(a * M_PI / 180)};
            const Point to{c + radii[ring + 1] * std::cos(a * M_PI / 180),
                           c + radii[ring + 1] * std::sin(a * M_PI / 180)};
            if (!Open(from, to))
                s.Line({from, to}, kWall, kPen);
        }
    }
}

} // namespace

const PixelPicture& StylePreviewArt::Get(int bitmapId) {
    static const std::map<int, PixelPicture> pictures = [] {
        std::map<int, PixelPicture> all;
        for (int id : {154, 155, 156, 157, 161, 162, 165})
            all[id] = Draw(id);
        return all;
    }();
    static const PixelPicture none;
    const auto found = pictures.find(bitmapId);
    return found == pictures.end() ? none : found->second;
}

PixelPicture StylePreviewArt::Draw(int bitmapId) {
    CairoSketch s(kSize, kSize);
    s.Rect(0, 0, kSize, kSize, kPaper, std::nullopt);
    switch (bitmapId) {
    case 154:
        DrawCells(s, Lay(BoxRepeat(), 22));
        break;
    case 155:
        DrawCells(s, Lay(TriangularRepeat(), 25));
        break;
    case 156:
        DrawCells(s, Lay(OctagonBoxRepeat(), 44));
        break;
    case 157:
        DrawCells(s, Lay(HexRepeat(), 26));
        break;
    case 161:
        DrawCells(s, Lay(QuadTriangleRepeat(), 29));
        break;
    case 162:
        DrawCells(s, Lay(TrapezoidBoxRepeat(), 29));
        break;
    case kCircular:
        DrawCircular(s);
        break;
    default:
        break;
    }
    const RgbaPicture drawn = s.Take();
    PixelPicture p{
        drawn.width, drawn.height,
        std::vector<std::uint32_t>(std::size_t(drawn.width) * std::size_t(drawn.height))};
    for (int y = 0; y < drawn.height; ++y)
        for (int x = 0; x < drawn.width; ++x) {
            const BYTE* px = drawn.Pixel(x, y);
            p.At(x, y) =
                0xFF000000u | std::uint32_t(px[0]) << 16 | std::uint32_t(px[1]) << 8 | px[2];
        }
    return p;
}
