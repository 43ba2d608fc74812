#pragma once
#include "document/CellColours.h"
#include "maze/MazeCell.h"
#include "platform/WinTypes.h"

// What the painting of one cell is drawn for.
struct CellPaintContext {
    bool screen = true;      // false for printing, export and copy
    bool printing = false;   // the target is a printer page
    bool showErased = false; // Show Erased Cells
    bool mazeMade = false;   // a maze was generated and not cleared since
    bool showSolution = false;
    CellColours colours;
};

// The passes of the cell painters: a single-cell redraw (1 or 2) paints fill and walls; a
// full render runs the fill pass over every cell, then the wall pass.
enum CellPass : int { PASS_REDRAW = 1, PASS_REDRAW_TOO = 2, PASS_FILL = 3, PASS_WALLS = 4 };

// How one cell is painted in one pass.
struct CellAppearance {
    enum class Body {
        None,        // nothing: the page shows through
        Region,      // the outline filled, no outline drawn
        Polygon,     // filled and outlined with the wall pen
        RubOut,      // filled and outlined in white (clears an old outline)
        OutlineOnly, // the outline with the wall pen, unfilled
    };
    enum class Walls { None, Wall, Dotted };

    Body body = Body::None;
    COLORREF fill = RGB(255, 255, 255);
    // Walls go on every side whose passage bit is clear, with the wall pen or the dotted
    // light-grey pen of a hidden start or stop cell.
    Walls walls = Walls::None;

    // Decides for one cell; `pass` is one of CellPass. Inline: it runs for every cell of a
    // render, and a call returns the record through memory, which stalls.
    static CellAppearance Of(const MazeCell& cell, int pass, const CellPaintContext& context);
    // The fill colour, first matching rule first.
    static COLORREF FillColour(const MazeCell& cell, const CellPaintContext& context);
};

// The fixed colours the painters use besides the document's.
inline constexpr COLORREF kFrontierColour = RGB(0, 0, 0x30);
inline constexpr COLORREF kUncarvedColour = RGB(160, 160, 160);
inline constexpr COLORREF kHiddenEndPenColour = RGB(192, 192, 192);

inline CellAppearance CellAppearance::Of(const MazeCell& cell, int pass,
                                         const CellPaintContext& context) {
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
