#include "view/MazeCellTool.h"

#include "document/CGridloomDoc.h"
#include "maze/MazeCell.h"
#include "res/CommandIds.h"
#include "view/CellAppearance.h"
#include "view/DragLine.h"
#include "view/IToolView.h"
#include "view/IViewWindow.h"
#include "view/MouseDrag.h"

namespace {

// Tool numbers no command selects any more; a click with them still resets the cell.
constexpr int kOldResetTool = 32776;

constexpr int kHiddenStart = CELL_START | CELL_HIDDEN;
constexpr int kHiddenStop = CELL_STOP | CELL_HIDDEN;

// The flags a left drag paints with the tool, or none.
std::optional<int> LeftDragFlags(int tool) {
    switch (tool) {
    case ID_TOOL_RESET:
        return 0;
    case ID_TOOL_BLACKEN:
        return CELL_BLACKENED;
    case ID_TOOL_WHITEN:
        return CELL_ERASED;
    default:
        return std::nullopt;
    }
}

} // namespace

MazeCellTool::MazeCellTool(IToolView& view, MouseDrag& drag) : view_(view), drag_(drag) {}

CGridloomDoc& MazeCellTool::Doc() const {
    return *view_.GetDocument();
}

std::optional<MazeCellTool::Hit> MazeCellTool::HitAt(CPoint client) const {
    const CPoint scroll = view_.Window().ScrollPosition();
    return view_.HitTestCell(CPoint(client.x + scroll.x, client.y + scroll.y));
}

void MazeCellTool::LeftDown(UINT, CPoint client) {
    if (!view_.GetDocument())
        return;
    const auto cell = HitAt(client);
    if (!cell)
        return;
    drag_.state = MouseDrag::kLeft;
    LeftClick(*cell, view_.CurrentTool());
}

void MazeCellTool::LeftClick(const Hit& cell, int tool) {
    const bool tiled = Doc().Settings().tiled != 0;
    switch (tool) {
    case ID_TOOL_RESET:
    case kOldResetTool:
    case ID_UNHANDLED_CTRL_F4:
        SetFlags(cell, 0);
        break;
    case ID_TOOL_BLACKEN:
        SetFlags(cell, CELL_BLACKENED);
        break;
    case ID_TOOL_WHITEN:
        SetFlags(cell, CELL_ERASED);
        break;
    case ID_TOOL_STOP:
        Doc().docFlags |= MazeProgress::kUserStop;
        SetFlags(cell, tiled ? CELL_STOP : kHiddenStop);
        break;
    case ID_TOOL_START:
        Doc().docFlags |= MazeProgress::kUserStart;
        SetFlags(cell, tiled ? CELL_START : kHiddenStart);
        break;
    case ID_TOOL_GROW:
        GrowFrom(cell);
        break;
    case ID_TOOL_DRAW_SOLUTION:
        DrawSolution(cell, PASS_REDRAW);
        break;
    default:
        break;
    }
}

void MazeCellTool::GrowFrom(const Hit& cell) {
    CGridloomDoc& doc = Doc();
    // The grid too: a template of several grids grows from the cell clicked, not from its
    // namesake in grid 0.
    doc.cursorColumn = cell.column;
    doc.cursorRow = cell.row;
    doc.cursorGrid = cell.grid;
    doc.seedPoints.emplace_back(cell.column, cell.row);
    doc.OnGenerateMaze();
}

void MazeCellTool::DrawSolution(const Hit& cell, int pass) {
    Doc().DrawSolutionCell(cell.column, cell.row, cell.grid);
    view_.RedrawCell(nullptr, cell.column, cell.row, cell.grid, pass);
    view_.RedrawCellNeighbours(nullptr, cell.column, cell.row, cell.grid, pass);
    // The drag that follows the press starts on this cell: it is not carved twice.
    lastSolutionCell_ = cell;
}

void MazeCellTool::RightDown(UINT, CPoint client) {
    // Without a template there is nothing to place an end cell in.
    if (!view_.GetDocument() || Doc().GridCount() == 0)
        return;
    drag_.state = MouseDrag::kRight;
    const int tool = view_.CurrentTool();
    CGridloomDoc& doc = Doc();
    // The user's end cell counts as placed even when the press missed every cell.
    if (tool == ID_TOOL_STOP)
        doc.docFlags |= MazeProgress::kUserStop;
    else if (tool == ID_TOOL_START)
        doc.docFlags |= MazeProgress::kUserStart;
    const auto cell = HitAt(client);
    if (!cell)
        return;
    const bool tiled = doc.Settings().tiled != 0;
    if (tool == ID_TOOL_STOP)
        SetFlags(*cell, tiled ? kHiddenStop : CELL_STOP);
    else if (tool == ID_TOOL_START)
        SetFlags(*cell, tiled ? kHiddenStart : CELL_START);
    else
        SetFlags(*cell, 0);
}

void MazeCellTool::SetFlags(const Hit& cell, int flags) {
    CGridloomDoc& doc = Doc();
    if (!doc.SetCellFlags(cell.column, cell.row, cell.grid, flags))
        return;
    view_.RedrawCell(nullptr, cell.column, cell.row, cell.grid, PASS_REDRAW);
    // A whitened cell opens onto its neighbours: they are drawn again beside it.
    if (flags == CELL_ERASED)
        view_.RedrawCellNeighbours(nullptr, cell.column, cell.row, cell.grid, PASS_REDRAW_TOO);
    doc.SetModifiedFlag();
}

void MazeCellTool::Move(UINT, CPoint client) {
    if (drag_.state != MouseDrag::kLeft && drag_.state != MouseDrag::kRight)
        return;
    if (!view_.GetDocument())
        return;
    if (drag_.firstMove) {
        drag_.firstMove = false;
        drag_.lastX = client.x;
        drag_.lastY = client.y;
    }
    const int tool = view_.CurrentTool();
    DragLine::ForEachPoint(drag_.lastX, drag_.lastY, client.x, client.y,
                           [&](CPoint point) { DragPoint(point, tool); });
    drag_.lastX = client.x;
    drag_.lastY = client.y;
}

void MazeCellTool::DragPoint(CPoint point, int tool) {
    if (drag_.state == MouseDrag::kLeft && tool == ID_TOOL_DRAW_SOLUTION) {
        const auto cell = HitAt(point);
        if (cell && cell != lastSolutionCell_)
            DrawSolution(*cell, PASS_REDRAW_TOO);
        return;
    }
    const auto flags =
        drag_.state == MouseDrag::kRight ? std::optional<int>(0) : LeftDragFlags(tool);
    if (!flags)
        return;
    if (const auto cell = HitAt(point)) {
        const Object* grid = Doc().GetGrid(cell->grid);
        // Most points of a drag fall into the cell the last one changed.
        if (grid->GetCell(cell->column, cell->row).flags != *flags)
            SetFlags(*cell, *flags);
    }
    Doc().SetModifiedFlag();
}
