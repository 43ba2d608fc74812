#pragma once
#include "platform/CPoint.h"
#include "platform/CRect.h"
#include "platform/PolygonEdgeTable.h"

#include <vector>

// Which pixels one polygon covers, any row on demand, by PolygonEdgeTable's rule. Polygon fills,
// region fills and region hit tests all ask this class, so they agree pixel for pixel; the
// metafile player's PolygonSpans, which walks the rows in order, decides pixels by the same table.
class PolygonScanner {
public:
    using Span = PolygonEdgeTable::Span;

    PolygonScanner() = default;
    PolygonScanner(const std::vector<CPoint>& points, int fillMode);

    // Spans of row y, sorted and not overlapping; empty when the row misses the polygon.
    void Row(LONG y, std::vector<Span>& spans) const;
    bool Contains(CPoint p) const;
    // Smallest rectangle holding every inside pixel (right and bottom exclusive).
    CRect Bounds() const { return table_.Bounds(); }
    bool IsEmpty() const { return table_.IsEmpty(); }

private:
    PolygonEdgeTable table_;
};
