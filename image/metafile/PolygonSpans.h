#pragma once
#include "platform/CRect.h"
#include "platform/PolygonEdgeTable.h"

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

// The inside of one or more closed outlines, row by row, for outlines of any number of edges:
// the edges are sorted once and each row looks only at those crossing it, so the work grows as
// n log n in the edges plus the crossings met, not as edges times rows. Pixels are decided by
// PolygonEdgeTable, as PolygonScanner decides them.
class PolygonSpans {
public:
    using Span = PolygonEdgeTable::Span;
    using Row = std::function<void(LONG y, const std::vector<Span>& spans)>;

    // `counts` splits `points` into outlines, each closed back to its first point.
    PolygonSpans(std::span<const POINT> points, const std::vector<int>& counts, int fillMode);

    // Calls `row` for every row inside `clip` that holds a span, spans cut to `clip`.
    void Scan(const CRect& clip, const Row& row) const;
    // Smallest rectangle holding every inside pixel (right and bottom exclusive).
    CRect Bounds() const { return table_.Bounds(); }
    // Edge crossings a scan of `clip` meets, the work it does besides painting.
    std::uint64_t Crossings(const CRect& clip) const;

private:
    using Crossing = PolygonEdgeTable::Crossing;

    // Crossings of the last row in order, those of row y after them: all in order for row y.
    static void Order(std::vector<Crossing>& xs, std::size_t kept);

    PolygonEdgeTable table_;
};
