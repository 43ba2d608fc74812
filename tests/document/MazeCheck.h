#pragma once
#include "document/CGridloomDoc.h"
#include "maze/MazeCell.h"
#include "maze/Object.h"

#include <deque>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <tuple>

// Reads a grown maze back through the document's own stepping, independently of the code
// that grew it.
class MazeCheck {
public:
    using Cell = std::tuple<int, int, int>; // grid, column, row

    explicit MazeCheck(const CGridloomDoc& doc) : doc_(doc) {
        for (int g = 0; g < doc.GridCount(); ++g) {
            const Object& grid = *doc.GetGrid(g);
            for (int r = 0; r < grid.Height(); ++r) {
                for (int c = 0; c < grid.Width(); ++c) {
                    Inspect(g, c, r);
                }
            }
        }
    }

    long carved = 0;
    long openSides = 0;
    long solutionCells = 0;
    std::optional<Cell> start;
    std::optional<Cell> stop;
    std::string problems; // one line per broken rule

    // Connected and without a cycle: a single tree through every carved cell.
    bool IsTree() const {
        return carved > 0 && openSides == 2 * (carved - 1) &&
               Reachable(First()).size() == static_cast<size_t>(carved);
    }
    // The cells of the path between START and STOP, or empty when there is none.
    std::set<Cell> PathBetweenEnds() const {
        if (!start || !stop) {
            return {};
        }
        std::map<Cell, Cell> parent;
        Reachable(*start, &parent);
        if (!parent.count(*stop)) {
            return {};
        }
        std::set<Cell> path{*stop};
        for (Cell at = *stop; at != *start; at = parent.at(at)) {
            path.insert(parent.at(at));
        }
        return path;
    }
    std::set<Cell> SolutionCells() const { return solution_; }

private:
    void Inspect(int g, int c, int r) {
        const MazeCell& cell = doc_.GetGrid(g)->GetCell(c, r);
        if (cell.flags & CELL_START) {
            start = Cell{g, c, r};
        }
        if (cell.flags & CELL_STOP) {
            stop = Cell{g, c, r};
        }
        if (cell.flags & CELL_SOLUTION) {
            ++solutionCells;
            solution_.insert({g, c, r});
        }
        if (cell.flags & CELL_FRONTIER) {
            Problem("frontier flag left", g, c, r, 0);
        }
        if (!cell.IsCarved()) {
            return;
        }
        ++carved;
        first_ = Cell{g, c, r};
        if (cell.flags & (CELL_BLACKENED | CELL_ERASED)) {
            Problem("carved an ineligible cell", g, c, r, 0);
        }
        for (int s = 1; s <= 16; ++s) {
            if (!cell.HasPassage(s)) {
                continue;
            }
            ++openSides;
            const auto n = doc_.FindNeighbour(c, r, g, s);
            if (!n) {
                Problem("passage leads nowhere", g, c, r, s);
            } else if (!doc_.GetGrid(n->grid)->GetCell(n->column, n->row).HasPassage(n->side)) {
                Problem("passage one-sided", g, c, r, s);
            } else if (n->grid == g && n->column == c && n->row == r) {
                Problem("passage to itself", g, c, r, s);
            }
        }
    }
    void Problem(const char* what, int g, int c, int r, int s) {
        std::ostringstream line;
        line << what << " at grid " << g << " cell " << c << "," << r << " side " << s << "\n";
        problems += line.str();
    }
    Cell First() const { return first_; }
    std::set<Cell> Reachable(Cell from, std::map<Cell, Cell>* parent = nullptr) const {
        std::set<Cell> seen{from};
        std::deque<Cell> queue{from};
        while (!queue.empty()) {
            const auto [g, c, r] = queue.front();
            queue.pop_front();
            const MazeCell& cell = doc_.GetGrid(g)->GetCell(c, r);
            for (int s = 1; s <= 16; ++s) {
                const auto n = cell.HasPassage(s) ? doc_.FindNeighbour(c, r, g, s) : std::nullopt;
                if (n && seen.insert({n->grid, n->column, n->row}).second) {
                    if (parent) {
                        (*parent)[{n->grid, n->column, n->row}] = {g, c, r};
                    }
                    queue.push_back({n->grid, n->column, n->row});
                }
            }
        }
        return seen;
    }

    const CGridloomDoc& doc_;
    Cell first_{};
    std::set<Cell> solution_;
};
