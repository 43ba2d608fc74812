#pragma once
#include "view/CellHitTester.h"
#include "view/ILayerMouseTool.h"

#include <optional>

class CGridloomDoc;
class IToolView;
struct MouseDrag;

// The maze layer's mouse tools: the view's current maze tool decides what a click and a drag
// of either button do to the cell under the pointer (blacken, whiten, reset, START and STOP,
// grow from here, draw a solution). Changed cells are repainted one by one into the view's
// page; a right drag resets every cell it crosses.
class MazeCellTool : public ILayerMouseTool {
public:
    using Hit = CellHitTester::Hit;

    MazeCellTool(IToolView& view, MouseDrag& drag);

    void LeftDown(UINT keyFlags, CPoint client) override;
    void RightDown(UINT keyFlags, CPoint client) override;
    void Move(UINT keyFlags, CPoint client) override;

private:
    CGridloomDoc& Doc() const;
    std::optional<Hit> HitAt(CPoint client) const;
    void LeftClick(const Hit& cell, int tool);
    void GrowFrom(const Hit& cell);
    void DrawSolution(const Hit& cell, int pass);
    // Replaces the cell's flags and repaints it (and, for a whitened cell, its neighbours).
    void SetFlags(const Hit& cell, int flags);
    void DragPoint(CPoint point, int tool);

    IToolView& view_;
    MouseDrag& drag_;
    std::optional<Hit> lastSolutionCell_;
};
