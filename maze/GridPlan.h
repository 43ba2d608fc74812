#pragma once
#include "maze/TemplateTables.h"

#include <string>

struct MazeSettings;

// The grid size a set of settings leads to, or why those settings can't build grids: the
// columns and rows capped to the page (when not fitting to it) and checked against the cell
// limit, so nothing divides by zero or allocates without bound.
class GridPlan {
public:
    // What a refusal is about, so that whoever asked can point at the value to change.
    enum class Fault { none, pageWidth, pageHeight, columns, rows };

    static GridPlan For(const MazeSettings& settings);

    bool Ok() const { return error_.empty(); }
    const std::string& Error() const { return error_; }
    Fault GetFault() const { return fault_; }
    // Null for a kind that builds no grid.
    const TemplateInfo* Template() const { return template_; }
    int Columns() const { return columns_; }
    int Rows() const { return rows_; }

private:
    void Fail(std::string why, Fault fault) {
        error_ = std::move(why);
        fault_ = fault;
    }
    void PlanPolygon(const MazeSettings& s);
    void PlanRing(const MazeSettings& s);

    const TemplateInfo* template_ = nullptr;
    int columns_ = 0;
    int rows_ = 0;
    std::string error_;
    Fault fault_ = Fault::none;
};
