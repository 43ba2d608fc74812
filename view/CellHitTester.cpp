#include "view/CellHitTester.h"

#include "document/CGridloomDoc.h"
#include "maze/TemplateKind.h"
#include "platform/CDC.h"
#include "platform/CRgn.h"
#include "view/PolygonCellGeometry.h"
#include "view/RingCellGeometry.h"

#include <algorithm>
#include <cmath>

CellHitTester::CellHitTester(const CGridloomDoc& doc, const PolygonCellGeometry* polygons,
                             const RingCellGeometry* rings)
    : doc_(doc), polygons_(polygons), rings_(rings) {}

std::optional<CellHitTester::Hit> CellHitTester::Find(const CDC& dc, CPoint pixel, CRgn* region) {
    candidates_.clear();
    if (region)
        region->DeleteObject();
    const Object* first = doc_.GetGrid(0);
    if (!first)
        return std::nullopt;
    CPoint logical = pixel;
    dc.DPtoLP(&logical);
    if (first->GridType() == GRID_RING)
        RingCandidates(dc, logical);
    else
        PolygonCandidates(logical);
    for (const Hit& cell : candidates_)
        if (Contains(dc, cell, pixel, region))
            return cell;
    return std::nullopt;
}

void CellHitTester::PolygonCandidates(CPoint logical) {
    if (!polygons_)
        return;
    const int w = polygons_->CellWidth();
    const int h = polygons_->CellHeight();
    if (w < 1 || h > -1)
        return; // a cell side under one unit hits nothing
    // A cell reaches at most a cell and a half right of and below its origin; one more column
    // and row either way covers the pixel's rounding to logical units.
    const int column = logical.x / w;
    const int row = logical.y / h;
    for (int r = row - 2; r <= row + 1; ++r) {
        for (int c = column - 2; c <= column + 1; ++c) {
            for (int g = 0; g < doc_.GridCount() && g < polygons_->Grids(); ++g) {
                const Object* grid = doc_.GetGrid(g);
                if (grid && grid->InBounds(c, r))
                    candidates_.push_back({c, r, g});
            }
        }
    }
}

void CellHitTester::RingCandidates(const CDC& dc, CPoint logical) {
    if (!rings_)
        return;
    // One device pixel in logical units: the slack of mapping the pixel back to the page.
    SIZE pixel{1, 1};
    dc.DPtoLP(&pixel);
    const double slack = std::max(std::abs(pixel.cx), std::abs(pixel.cy));
    std::vector<std::pair<int, int>> cells;
    rings_->Candidates(logical, slack, cells);
    for (const auto& [column, ring] : cells)
        for (int g = 0; g < doc_.GridCount(); ++g)
            candidates_.push_back({column, ring, g});
}

bool CellHitTester::Contains(const CDC& dc, const Hit& cell, CPoint pixel, CRgn* region) {
    const Object* grid = doc_.GetGrid(cell.grid);
    if (!grid || !grid->InBounds(cell.column, cell.row))
        return false;
    if (grid->GridType() == GRID_RING) {
        if (!rings_ || !rings_->Exists(cell.column, cell.row))
            return false;
        rings_->Outline(cell.column, cell.row, outline_);
    } else {
        polygons_->Outline(cell.column, cell.row, cell.grid, outline_);
    }
    dc.LPtoDP(outline_.data(), static_cast<int>(outline_.size()));
    CRgn shape;
    shape.CreatePolygonRgn(outline_.data(), static_cast<int>(outline_.size()), ALTERNATE);
    if (!shape.PtInRegion(pixel))
        return false;
    if (region)
        region->CreatePolygonRgn(outline_.data(), static_cast<int>(outline_.size()), ALTERNATE);
    return true;
}
