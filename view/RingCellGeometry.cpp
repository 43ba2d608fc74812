#include "view/RingCellGeometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr int kSteps = 20; // table steps per cell: ten chords over a half or a whole cell
constexpr double kDegree = std::numbers::pi / 180.0;
// How far, in logical units, an outline may lie from the true sector.
constexpr double kReach = 4.0;

} // namespace

RingCellGeometry::RingCellGeometry(const RingLayout& layout, std::vector<int> counts)
    : layout_(layout), counts_(std::move(counts)) {
    tables_.reserve(counts_.size());
    for (const int k : counts_) {
        auto& table = byCount_[k];
        if (!table) {
            table = std::make_unique<Table>();
            const int n = kSteps * k + 1;
            table->sin.resize(static_cast<std::size_t>(n));
            table->cos.resize(static_cast<std::size_t>(n));
            for (int m = 0; m < n; ++m) {
                const double angle = m * 360.0 / (kSteps * static_cast<double>(k));
                table->sin[static_cast<std::size_t>(m)] = std::sin(angle * kDegree);
                table->cos[static_cast<std::size_t>(m)] = std::cos(angle * kDegree);
            }
        }
        tables_.push_back(table.get());
    }
}

bool RingCellGeometry::Exists(int column, int ring) const {
    return ring >= 0 && ring < Rings() && column >= 0 && column < CellsIn(ring);
}

int RingCellGeometry::SideCount(int ring) const {
    return ring + 1 < Rings() && CellsIn(ring + 1) > CellsIn(ring) ? 5 : 4;
}

CPoint RingCellGeometry::Point(const Table& t, int column, int step, double radius) const {
    const auto m = static_cast<std::size_t>(column * kSteps + step);
    return {layout_.CentreX() + static_cast<LONG>(t.sin[m] * radius),
            layout_.CentreY() + static_cast<LONG>(radius * t.cos[m])};
}

void RingCellGeometry::Arc(int column, int ring, double radius, int from, int to,
                           std::vector<CPoint>& out) const {
    const Table& t = TableOf(ring);
    const int step = (to - from) / 10;
    for (int j = 0; j <= 10; ++j)
        out.push_back(Point(t, column, from + step * j, radius));
}

void RingCellGeometry::Outline(int column, int ring, std::vector<CPoint>& out) const {
    out.clear();
    const Table& t = TableOf(ring);
    const double rIn = InnerRadius(ring);
    const double rOut = rIn + layout_.RingWidth();
    Arc(column, ring, rIn, kSteps, 0, out);
    out.push_back(Point(t, column, 0, rIn));
    out.push_back(Point(t, column, 0, rOut));
    if (SideCount(ring) == 5) {
        // Under a denser ring the outer arc follows the two inner arcs above it point for
        // point, so neighbouring rings leave no gap between their fills.
        Arc(column, ring, rOut, 0, kSteps / 2, out);
        Arc(column, ring, rOut, kSteps / 2, kSteps, out);
    } else {
        Arc(column, ring, rOut, 0, kSteps, out);
    }
    out.push_back(Point(t, column, kSteps, rOut));
    out.push_back(Point(t, column, kSteps, rIn));
}

void RingCellGeometry::Side(int column, int ring, int side, std::vector<CPoint>& out) const {
    out.clear();
    const Table& t = TableOf(ring);
    const double rIn = InnerRadius(ring);
    const double rOut = rIn + layout_.RingWidth();
    const bool split = SideCount(ring) == 5;
    switch (side) {
    case 1:
        out.push_back(Point(t, column, 0, rIn));
        out.push_back(Point(t, column, 0, rOut));
        break;
    case 2:
        Arc(column, ring, rIn, 0, kSteps, out);
        break;
    case 3:
        out.push_back(Point(t, column, kSteps, rIn));
        out.push_back(Point(t, column, kSteps, rOut));
        break;
    case 4:
        Arc(column, ring, rOut, split ? kSteps / 2 : 0, kSteps, out);
        break;
    case 5:
        if (split)
            Arc(column, ring, rOut, 0, kSteps / 2, out);
        break;
    default:
        break;
    }
}

void RingCellGeometry::Boundary(int ring, bool outer, int first, int last,
                                std::vector<CPoint>& out) const {
    out.clear();
    const Table& t = TableOf(ring);
    const double radius = InnerRadius(ring) + (outer ? layout_.RingWidth() : 0.0);
    const int stride = kSteps / BoundaryChords(ring, outer);
    for (int m = first * kSteps; m <= (last + 1) * kSteps; m += stride)
        out.push_back(Point(t, 0, m, radius));
}

bool RingCellGeometry::OuterIsNextInner(int ring) const {
    if (ring + 1 >= Rings())
        return false;
    const auto r = static_cast<std::size_t>(ring);
    return tables_[r] == tables_[r + 1] &&
           InnerRadius(ring) + layout_.RingWidth() == InnerRadius(ring + 1);
}

CPoint RingCellGeometry::Centre(int column, int ring) const {
    return Point(TableOf(ring), column, kSteps / 2, InnerRadius(ring) + layout_.RingWidth() / 2);
}

void RingCellGeometry::Candidates(CPoint p, double slack,
                                  std::vector<std::pair<int, int>>& out) const {
    out.clear();
    const double reach = kReach + std::max(0.0, slack);
    const double dx = p.x - layout_.CentreX();
    const double dy = p.y - layout_.CentreY();
    double angle = std::atan2(dy, dx) * (-0.5 / std::numbers::pi) * 360.0 + 90.0;
    if (angle < 0)
        angle += 360.0;
    const double d = std::hypot(dx, dy);
    const double w = layout_.RingWidth();
    const double r0 = layout_.InnerRadius();
    if (d < r0 - reach || d > r0 + Rings() * w + reach)
        return;
    // Outlines stray from the true circle by the chords' sag and the truncation of their points.
    const int ringReach = 1 + static_cast<int>(reach / w);
    const int guess = static_cast<int>((d - r0) / w);
    const int first = std::max(0, guess - ringReach);
    const int last = std::min(Rings() - 1, guess + ringReach);
    for (int ring = first; ring <= last; ++ring) {
        const int k = CellsIn(ring);
        const int column = std::min(static_cast<int>(k * angle / 360.0), k - 1);
        const double radius = std::max(1.0, InnerRadius(ring));
        const double cellArc = 2 * std::numbers::pi * radius / k;
        const int columnReach = std::min(k / 2, 1 + static_cast<int>(reach / cellArc));
        out.emplace_back(column, ring);
        for (int j = 1; j <= columnReach; ++j) {
            out.emplace_back((column + j) % k, ring);
            out.emplace_back((column - j + k) % k, ring);
        }
    }
}
