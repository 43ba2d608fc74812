#include "maze/TemplateTables.h"

#include "maze/TemplateKind.h"

#include <array>
#include <cstddef>

namespace {

struct Corner {
    double x, y, angle, nudgeX, nudgeY;
};

// The corners in drawing order, numbered from 1, closed by a repeat of the first corner.
template <std::size_t N> constexpr std::array<ShapePoint, N + 1> Shape(const Corner (&c)[N]) {
    std::array<ShapePoint, N + 1> rows{};
    for (std::size_t i = 0; i <= N; ++i) {
        const Corner& k = c[i % N];
        rows[i] = ShapePoint{k.x, k.y, k.angle, k.nudgeX, k.nudgeY, i < N ? int(i) + 1 : 0, {}};
    }
    return rows;
}

template <std::size_t N>
constexpr std::array<ShapePoint, N> Moved(const std::array<ShapePoint, N>& rows, double dx,
                                          double dy) {
    std::array<ShapePoint, N> out = rows;
    for (ShapePoint& p : out) {
        p.x += dx;
        p.y += dy;
    }
    return out;
}

constexpr double kA = 0.20711;
constexpr double kB = 0.70711;
constexpr double kThird = 1.0 / 3.0;
constexpr double kTwoThirds = 2.0 / 3.0;

constexpr auto kBox0 =
    Shape<4>({{0, 0, 0, 0, 0}, {1, 0, 90, -1, 0}, {1, 1, 180, -1, -1}, {0, 1, 270, 0, -1}});

constexpr auto kHex0 = Shape<6>({{0.1875, 0, 0, 1, 0},
                                 {0.5, 0, 66, -1, 0},
                                 {0.6875, 0.25, 114, 0, 0},
                                 {0.5, 0.5, 180, 0, -1},
                                 {0.1875, 0.5, 246, 0, -1},
                                 {0, 0.25, 294, 0, 0}});
constexpr auto kHex1 = Moved(kHex0, 0.5, 0.25);
constexpr auto kHex2 = Moved(kHex0, 0, 0.5);
constexpr auto kHex3 = Moved(kHex0, 0.5, 0.75);

constexpr auto kOct0 = Shape<8>({{kA, 0, 0, 0, 0},
                                 {0.5, 0, 45, -1, 0},
                                 {kB, kA, 90, -1, 0},
                                 {kB, 0.5, 135, -1, 0},
                                 {0.5, kB, 180, 0, -1},
                                 {kA, kB, 225, -1, -1},
                                 {0, 0.5, 270, 0, 0},
                                 {0, kA, 315, 0, 0}});
constexpr auto kOct1 =
    Shape<4>({{kB, kA, 0, 0, 0}, {1, kA, 90, -1, 0}, {1, 0.5, 180, -1, -1}, {kB, 0.5, 270, 0, -1}});
constexpr auto kOct2 =
    Shape<4>({{kA, kB, 0, 0, 0}, {0.5, kB, 90, -1, 0}, {0.5, 1, 180, -1, -1}, {kA, 1, 270, 0, -1}});
constexpr auto kOct3 = Moved(kOct0, 0.5, 0.5);

constexpr auto kTri0 = Shape<4>(
    {{0.5, 0, 63.4, 0, 0}, {1, 1, 180, -1, -1}, {0.5, 1, 180, 0, -1}, {0, 1, 296.6, 1, -1}});
constexpr auto kTri1 =
    Shape<4>({{0.5, 0, 0, 1, 0}, {1, 0, 0, 0, 0}, {1.5, 0, 116.6, -1, 0}, {1, 1, 243.4, 0, -1}});

constexpr auto kTrap0 = Shape<4>({{0, 0, 0, 0, 0},
                                  {1, 0, 135, -1, 0},
                                  {kTwoThirds, kThird, 180, 0, -1},
                                  {kThird, kThird, 315, 0, -1}});
constexpr auto kTrap1 = Shape<4>({{kTwoThirds, kThird, 315, 0, 0},
                                  {1, 0, 90, -1, 1},
                                  {1, 1, 225, -1, -1},
                                  {kTwoThirds, kTwoThirds, 270, 0, -1}});
constexpr auto kTrap2 = Shape<4>({{kThird, kThird, 0, 0, 0},
                                  {kTwoThirds, kThird, 90, -1, 0},
                                  {kTwoThirds, kTwoThirds, 180, -1, -1},
                                  {kThird, kTwoThirds, 270, 0, -1}});
constexpr auto kTrap3 = Shape<4>({{0, 0, 45, 0, 1},
                                  {kThird, kThird, 90, -1, -1},
                                  {kThird, kTwoThirds, 135, -1, 0},
                                  {0, 1, 270, 0, -1}});
constexpr auto kTrap4 = Shape<4>({{kThird, kTwoThirds, 0, 0, 0},
                                  {kTwoThirds, kTwoThirds, 45, 0, 0},
                                  {1, 1, 180, -2, -1},
                                  {0, 1, 315, 1, -1}});

constexpr auto kQuad0 = Shape<3>({{0, 0, 0, 0, 0}, {1, 0, 135, -1, 0}, {0.5, 0.5, 315, 0, 0}});
constexpr auto kQuad1 = Shape<3>({{0.5, 0.5, 315, 0, 1}, {1, 0, 90, -1, 1}, {1, 1, 225, -1, -1}});
constexpr auto kQuad2 = Shape<3>({{0, 0, 45, 0, 1}, {0.5, 0.5, 135, -1, 0}, {0, 1, 270, 0, -1}});
constexpr auto kQuad3 = Shape<3>({{0.5, 0.5, 45, -1, 1}, {1, 1, 180, -2, -1}, {0, 1, 315, 1, -1}});

// Only the angles matter here: ring cells are drawn as sectors.
constexpr auto kRing0 = Shape<5>({{0, 0, 180, 0, 0},
                                  {1, 0, 90, -1, 0},
                                  {1, 1, 270, -1, -1},
                                  {0, 1, 0, 0, -1},
                                  {0, 1, 0, 0, -1}});

constexpr NeighbourRule kEndA{-1, 0, 0, 0, 0, 0, 0};
constexpr NeighbourRule kEndB{-1, 0, 1, 0, 0, 0, 0};

// Rows read: from-grid, from-side, parity, to-grid, to-side, column offset, row offset.
constexpr NeighbourRule kBoxRules[] = {{0, 1, 0, 0, 3, 0, -1},
                                       {0, 2, 0, 0, 4, 1, 0},
                                       {0, 3, 0, 0, 1, 0, 1},
                                       {0, 4, 0, 0, 2, -1, 0},
                                       kEndA};

constexpr NeighbourRule kHexRules[] = {{0, 1, 0, 2, 4, 0, -1},
                                       {0, 2, 0, 3, 5, 0, -1},
                                       {0, 3, 0, 1, 6, 0, 0},
                                       {0, 4, 0, 2, 1, 0, 0},
                                       {0, 5, 0, 1, 2, -1, 0},
                                       {0, 6, 0, 3, 3, -1, -1},
                                       {1, 1, 0, 3, 4, 0, -1},
                                       {1, 2, 0, 0, 5, 1, 0},
                                       {1, 3, 0, 2, 6, 1, 0},
                                       {1, 4, 0, 3, 1, 0, 0},
                                       {1, 5, 0, 2, 2, 0, 0},
                                       {1, 6, 0, 0, 3, 0, 0},
                                       {2, 1, 0, 0, 4, 0, 0},
                                       {2, 2, 0, 1, 5, 0, 0},
                                       {2, 3, 0, 3, 6, 0, 0},
                                       {2, 4, 0, 0, 1, 0, 1},
                                       {2, 5, 0, 3, 2, -1, 0},
                                       {2, 6, 0, 1, 3, -1, 0},
                                       {3, 1, 0, 1, 4, 0, 0},
                                       {3, 2, 0, 2, 5, 1, 0},
                                       {3, 3, 0, 0, 6, 1, 1},
                                       {3, 4, 0, 1, 1, 0, 1},
                                       {3, 5, 0, 0, 2, 0, 1},
                                       {3, 6, 0, 2, 3, 0, 0},
                                       kEndB};

constexpr NeighbourRule kOctRules[] = {{0, 1, 0, 2, 3, 0, -1},
                                       {0, 2, 0, 3, 6, 0, -1},
                                       {0, 3, 0, 1, 4, 0, 0},
                                       {0, 4, 0, 3, 8, 0, 0},
                                       {0, 5, 0, 2, 1, 0, 0},
                                       {0, 6, 0, 3, 2, -1, 0},
                                       {0, 7, 0, 1, 2, -1, 0},
                                       {0, 8, 0, 3, 4, -1, -1},
                                       {1, 1, 0, 3, 5, 0, -1},
                                       {1, 2, 0, 0, 7, 1, 0},
                                       {1, 3, 0, 3, 1, 0, 0},
                                       {1, 4, 0, 0, 3, 0, 0},
                                       {2, 1, 0, 0, 5, 0, 0},
                                       {2, 2, 0, 3, 7, 0, 0},
                                       {2, 3, 0, 0, 1, 0, 1},
                                       {2, 4, 0, 3, 3, -1, 0},
                                       {3, 1, 0, 1, 3, 0, 0},
                                       {3, 2, 0, 0, 6, 1, 0},
                                       {3, 3, 0, 2, 4, 1, 0},
                                       {3, 4, 0, 0, 8, 1, 1},
                                       {3, 5, 0, 1, 1, 0, 1},
                                       {3, 6, 0, 0, 2, 0, 1},
                                       {3, 7, 0, 2, 2, 0, 0},
                                       {3, 8, 0, 0, 4, 0, 0},
                                       kEndB};

constexpr NeighbourRule kTriRules[] = {
    {0, 1, 0, 1, 4, 0, 0},  {0, 2, 0, 1, 1, 0, 1},  {0, 3, 0, 1, 2, -1, 1},
    {0, 4, 0, 1, 3, -1, 0}, {1, 1, 0, 0, 2, 0, -1}, {1, 2, 0, 0, 3, 1, -1},
    {1, 3, 0, 0, 4, 1, 0},  {1, 4, 0, 0, 1, 0, 0},  kEndA};

constexpr NeighbourRule kTrapRules[] = {
    {0, 1, 0, 4, 3, 0, -1}, {0, 2, 0, 1, 1, 0, 0}, {0, 3, 0, 2, 1, 0, 0},
    {0, 4, 0, 3, 1, 0, 0},  {1, 1, 0, 0, 2, 0, 0}, {1, 2, 0, 3, 4, 1, 0},
    {1, 3, 0, 4, 2, 0, 0},  {1, 4, 0, 2, 2, 0, 0}, {2, 1, 0, 0, 3, 0, 0},
    {2, 2, 0, 1, 4, 0, 0},  {2, 3, 0, 4, 1, 0, 0}, {2, 4, 0, 3, 2, 0, 0},
    {3, 1, 0, 0, 4, 0, 0},  {3, 2, 0, 2, 4, 0, 0}, {3, 3, 0, 4, 4, 0, 0},
    {3, 4, 0, 1, 2, -1, 0}, {4, 1, 0, 2, 3, 0, 0}, {4, 2, 0, 1, 3, 0, 0},
    {4, 3, 0, 0, 1, 0, 1},  {4, 4, 0, 3, 3, 0, 0}, kEndB};

constexpr NeighbourRule kQuadRules[] = {{0, 1, 0, 3, 2, 0, -1},
                                        {0, 2, 0, 1, 1, 0, 0},
                                        {0, 3, 0, 2, 1, 0, 0},
                                        {1, 1, 0, 0, 2, 0, 0},
                                        {1, 2, 0, 2, 3, 1, 0},
                                        {1, 3, 0, 3, 1, 0, 0},
                                        {2, 1, 0, 0, 3, 0, 0},
                                        {2, 2, 0, 3, 3, 0, 0},
                                        {2, 3, 0, 1, 2, -1, 0},
                                        {3, 1, 0, 1, 3, 0, 0},
                                        {3, 2, 0, 0, 1, 0, 1},
                                        {3, 3, 0, 2, 2, 0, 0},
                                        kEndB};

// Sides 4 and 5 lead outward; side 2 leads inward, to side 5 of the inner cell (parity 1)
// when an even cell meets a ring of half as many cells.
constexpr NeighbourRule kRingRules[] = {{0, 1, 0, 0, 3, -1, 0},
                                        {0, 2, 0, 0, 4, 0, -1},
                                        {0, 2, 1, 0, 5, 0, -1},
                                        {0, 3, 0, 0, 1, 1, 0},
                                        {0, 4, 0, 0, 2, 0, 1},
                                        {0, 5, 0, 0, 2, 0, 1},
                                        kEndA};

constexpr std::span<const ShapePoint> kBoxShapes[] = {kBox0};
constexpr std::span<const ShapePoint> kHexShapes[] = {kHex0, kHex1, kHex2, kHex3};
constexpr std::span<const ShapePoint> kOctShapes[] = {kOct0, kOct1, kOct2, kOct3};
constexpr std::span<const ShapePoint> kTriShapes[] = {kTri0, kTri1};
constexpr std::span<const ShapePoint> kTrapShapes[] = {kTrap0, kTrap1, kTrap2, kTrap3, kTrap4};
constexpr std::span<const ShapePoint> kQuadShapes[] = {kQuad0, kQuad1, kQuad2, kQuad3};
constexpr std::span<const ShapePoint> kRingShapes[] = {kRing0};

constexpr TemplateInfo kTemplates[] = {
    {KIND_BOX, GRID_POLYGON, 5, 5, kBoxShapes, kBoxRules},
    {KIND_HEX, GRID_POLYGON, 55, 55, kHexShapes, kHexRules},
    {KIND_OCTAGON_BOX, GRID_POLYGON, 55, 55, kOctShapes, kOctRules},
    {KIND_TRIANGULAR, GRID_POLYGON, 55, 55, kTriShapes, kTriRules},
    {KIND_TRAPEZOID_BOX, GRID_POLYGON, 5, 5, kTrapShapes, kTrapRules},
    {KIND_QUAD_TRIANGLE, GRID_POLYGON, 5, 5, kQuadShapes, kQuadRules},
    {KIND_CIRCULAR, GRID_RING, 0, 0, kRingShapes, kRingRules},
};

} // namespace

const TemplateInfo* TemplateTables::Find(int kind) {
    for (const TemplateInfo& t : kTemplates)
        if (t.kind == kind)
            return &t;
    return nullptr;
}

std::span<const TemplateInfo> TemplateTables::All() {
    return kTemplates;
}
