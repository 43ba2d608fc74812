#pragma once
#include "maze/NeighbourRule.h"
#include "maze/ShapePoint.h"

#include <span>

// What one template kind is built from: the shape of each of its grids, the neighbour rules
// they share, and the cell margins the fit-to-page size leaves around the grids.
struct TemplateInfo {
    int kind = 0;
    int gridType = 0;
    int marginX = 0;
    int marginY = 0;
    std::span<const std::span<const ShapePoint>> shapes;
    // Includes the terminating row.
    std::span<const NeighbourRule> rules;

    int GridCount() const { return static_cast<int>(shapes.size()); }
};

// The seven built-in templates.
class TemplateTables {
public:
    // Null for a kind that builds no grid.
    static const TemplateInfo* Find(int kind);
    static std::span<const TemplateInfo> All();
};
