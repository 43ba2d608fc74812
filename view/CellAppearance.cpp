#include "view/CellAppearance.h"

COLORREF CellAppearance::FillColour(const MazeCell& cell, const CellPaintContext& context) {
    const WORD f = cell.flags;
    const CellColours& c = context.colours;
    if (f & CELL_BLACKENED)
        return c.blackened;
    if (f & CELL_FRONTIER)
        return kFrontierColour;
    if ((f & CELL_ERASED) && context.showErased)
        return c.erased;
    if (context.mazeMade && cell.passages == 0 && !(f & CELL_ERASED))
        return kUncarvedColour;
    if (f & CELL_START)
        return (f & CELL_HIDDEN) ? c.hiddenStart : c.start;
    if (f & CELL_STOP)
        return (f & CELL_HIDDEN) ? c.hiddenStop : c.stop;
    if (f & CELL_SOLUTION)
        return c.solution;
    return RGB(255, 255, 255);
}
