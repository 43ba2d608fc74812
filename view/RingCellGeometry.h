#pragma once
#include "platform/CPoint.h"
#include "view/RingLayout.h"

#include <map>
#include <memory>
#include <vector>

// The integer outlines and walls of the cells of a circular maze. Cell (column c, ring i) is
// the sector from c x 360 / k to (c + 1) x 360 / k degrees (k the ring's cell count) between
// the radii i x w + r0 and (i + 1) x w + r0; arcs are drawn as ten chords. Sines and cosines
// are computed once per distinct ring count, so a full render costs no trigonometry per cell.
class RingCellGeometry {
public:
    RingCellGeometry(const RingLayout& layout, std::vector<int> counts);

    const RingLayout& Layout() const { return layout_; }
    const std::vector<int>& Counts() const { return counts_; }
    int Rings() const { return static_cast<int>(counts_.size()); }
    int CellsIn(int ring) const { return counts_[static_cast<std::size_t>(ring)]; }
    bool Exists(int column, int ring) const;
    // 5 when the next ring outward has more cells (the outer side splits in two halves).
    int SideCount(int ring) const;

    // Inner arc backward, radial at the start angle outward, outer arc forward (in two halves
    // under a denser ring), radial at the end angle inward: 26 or 37 points, used alike for
    // filling and for hit testing.
    void Outline(int column, int ring, std::vector<CPoint>& out) const;
    // The wall along side 1..5 as a polyline (2 points for a radial, 11 for an arc).
    void Side(int column, int ring, int side, std::vector<CPoint>& out) const;
    // The points of the ring's inner or outer boundary from the start of column `first` to the
    // end of column `last`, BoundaryChords per cell: cell c's arc along it is the chords from
    // point (c - first) x BoundaryChords on, the same points Side lists.
    void Boundary(int ring, bool outer, int first, int last, std::vector<CPoint>& out) const;
    // 20 along an outer boundary split under a denser ring, 10 elsewhere.
    int BoundaryChords(int ring, bool outer) const {
        return outer && SideCount(ring) == 5 ? 20 : 10;
    }
    // True when the ring's outer boundary has, bit for bit, the next ring's inner points.
    bool OuterIsNextInner(int ring) const;
    // The middle of the sector, halfway across the ring.
    CPoint Centre(int column, int ring) const;

    // The cells (column, ring) whose outline may hold the logical point: the sector that holds
    // it by angle and radius, and its neighbours within the reach of the chords' and the
    // truncation's error plus `slack` units (the size of a device pixel), inner rings first.
    // Callers decide with the outline. None when the point lies off the band of rings.
    void Candidates(CPoint p, double slack, std::vector<std::pair<int, int>>& out) const;

private:
    // Unit vectors at 1/20 steps of one cell's angle for a ring count k (20 k + 1 entries).
    struct Table {
        std::vector<double> sin;
        std::vector<double> cos;
    };
    const Table& TableOf(int ring) const { return *tables_[static_cast<std::size_t>(ring)]; }
    CPoint Point(const Table& t, int column, int step, double radius) const;
    // An arc from step a to step b (1/20 cell units; b may be below a), 11 points.
    void Arc(int column, int ring, double radius, int from, int to, std::vector<CPoint>& out) const;
    double InnerRadius(int ring) const {
        return ring * layout_.RingWidth() + layout_.InnerRadius();
    }

    RingLayout layout_;
    std::vector<int> counts_;
    std::map<int, std::unique_ptr<Table>> byCount_;
    std::vector<const Table*> tables_;
};
