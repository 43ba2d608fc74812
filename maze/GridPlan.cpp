#include "maze/GridPlan.h"

#include "maze/MazeSettings.h"
#include "maze/Object.h"
#include "maze/TemplateKind.h"
#include "platform/TextFormat.h"

#include <cstdint>

namespace {

// The most cells of width `cell` that fit in `length` after `lead`, truncating.
std::int64_t Fit(std::int64_t length, std::int64_t lead, std::int64_t cell) {
    return (length - lead) / cell;
}

int Capped(int wanted, std::int64_t cap) {
    return (wanted <= 0 || wanted > cap) ? static_cast<int>(cap) : wanted;
}

std::string TooManyCells(std::int64_t cells) {
    return Format("These settings make a grid of %lld cells; a grid holds at most 4,000,000 "
                  "cells. Use fewer cells.",
                  static_cast<long long>(cells));
}

} // namespace

GridPlan GridPlan::For(const MazeSettings& settings) {
    GridPlan plan;
    plan.template_ = TemplateTables::Find(settings.kind);
    plan.columns_ = settings.columns;
    plan.rows_ = settings.rows;
    if (!plan.template_)
        return plan;
    if (settings.pageWidth < 1 || std::int64_t{settings.pageHeight} - MazeSettings::kTopBand < 1) {
        plan.Fail("The page is too small to hold a maze.",
                  settings.pageWidth < 1 ? Fault::pageWidth : Fault::pageHeight);
        return plan;
    }
    if (plan.template_->gridType == GRID_RING)
        plan.PlanRing(settings);
    else
        plan.PlanPolygon(settings);
    return plan;
}

void GridPlan::PlanPolygon(const MazeSettings& s) {
    const std::int64_t w = s.FitCellWidth(template_->marginX);
    const std::int64_t h = s.FitCellHeight(template_->marginY);
    if (w < 1 || h < 1) {
        Fail("These settings make a cell smaller than 0.001 inch. Use fewer cells or a larger "
             "page.",
             w < 1 ? Fault::columns : Fault::rows);
        return;
    }
    if (!s.fitToPage) {
        const std::int64_t width = s.pageWidth;
        const std::int64_t height = s.pageHeight;
        const std::int64_t band = MazeSettings::kTopBand;
        std::int64_t colCap = 0;
        std::int64_t rowCap = 0;
        if (s.kind == KIND_BOX) {
            colCap = Fit(width, 0, w);
            rowCap = Fit(height, band, h);
        } else if (s.kind == KIND_TRIANGULAR) {
            colCap = Fit(width, w / 2, w);
            rowCap = Fit(height, band, h);
        } else {
            colCap = Fit(width, w / 2, w);
            rowCap = Fit(height, band + h / 2, h);
        }
        if (colCap < 1 || rowCap < 1) {
            Fail("The page is too small for one cell of this size.",
                 colCap < 1 ? Fault::pageWidth : Fault::pageHeight);
            return;
        }
        columns_ = Capped(columns_, colCap);
        rows_ = Capped(rows_, rowCap);
    }
    if (columns_ < 1 || rows_ < 1) {
        Fail("A maze needs at least one column and one row.",
             columns_ < 1 ? Fault::columns : Fault::rows);
        return;
    }
    if (!Object::IsAllowedSize(columns_, rows_))
        Fail(TooManyCells(std::int64_t{columns_} * rows_), Fault::columns);
}

void GridPlan::PlanRing(const MazeSettings&) {
    // The ring layout replaces these provisional sizes; one that is too large starts empty.
    if (!Object::IsAllowedSize(columns_, rows_))
        columns_ = rows_ = 0;
}
