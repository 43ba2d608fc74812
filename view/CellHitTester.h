#pragma once
#include "platform/CPoint.h"

#include <optional>
#include <vector>

class CDC;
class CGridloomDoc;
class CRgn;
class PolygonCellGeometry;
class RingCellGeometry;

// Finds the cell under a device pixel. Candidates come from the point's logical position;
// each is decided by its outline mapped to device pixels, the very outline the painters fill,
// so the cell drawn under a pixel is the cell hit there.
class CellHitTester {
public:
    struct Hit {
        int column = 0;
        int row = 0;
        int grid = 0;
        friend bool operator==(const Hit&, const Hit&) = default;
    };

    CellHitTester(const CGridloomDoc& doc, const PolygonCellGeometry* polygons,
                  const RingCellGeometry* rings);

    // `dc` maps the page as it was drawn; `pixel` is in its device space. `region`, when
    // given, is emptied and left holding the hit cell's outline in device pixels.
    std::optional<Hit> Find(const CDC& dc, CPoint pixel, CRgn* region = nullptr);

private:
    void PolygonCandidates(CPoint logical);
    void RingCandidates(const CDC& dc, CPoint logical);
    bool Contains(const CDC& dc, const Hit& cell, CPoint pixel, CRgn* region);

    const CGridloomDoc& doc_;
    const PolygonCellGeometry* polygons_;
    const RingCellGeometry* rings_;
    std::vector<Hit> candidates_;
    std::vector<CPoint> outline_;
};
