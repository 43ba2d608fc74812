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

CellAppearance CellAppearance::Of(const MazeCell& cell, int pass, const CellPaintContext& context) {
    CellAppearance a;
    if (pass == PASS_REDRAW_TOO)
        pass = PASS_REDRAW;
    const WORD f = cell.flags;
    // Whitened cells and hidden ends belong to the screen only.
    if ((f & (CELL_ERASED | CELL_HIDDEN)) && !context.screen)
        return a;
    if (pass == PASS_FILL && (f & CELL_ERASED) && !context.showErased)
        return a;

    if (pass != PASS_WALLS) {
        a.fill = FillColour(cell, context);
        const bool open = cell.passages != 0 || (f & CELL_ERASED);
        if (open) {
            if (pass == PASS_REDRAW)
                a.body = context.showErased ? Body::RubOut : Body::Region;
            else if (f != 0 && !(f == CELL_SOLUTION && !context.showSolution))
                a.body = Body::Region;
        } else if (pass == PASS_FILL && f == 0 && !context.mazeMade) {
            a.body = Body::OutlineOnly;
        } else {
            // Uncarved cells of a made maze show grey in the full render as in a redraw.
            a.body = Body::Polygon;
        }
    }
    if (pass != PASS_FILL) {
        const bool hiddenEnd =
            (f & (CELL_START | CELL_STOP)) && (f & CELL_HIDDEN) && !context.printing;
        if (hiddenEnd)
            a.walls = Walls::Dotted;
        else if (cell.passages != 0)
            a.walls = Walls::Wall;
    }
    return a;
}
