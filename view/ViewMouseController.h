#pragma once
#include "platform/CPoint.h"
#include "platform/WinTypes.h"
#include "view/ILayerMouseTool.h"
#include "view/MouseDrag.h"

#include <array>

class IToolView;

// Where the view's window sends the mouse. A left press goes to the gesture capture first;
// when no stroke takes it, an undo snapshot is saved and the active layer's tool gets it.
// Right presses and moves go to the active layer's tool; any release, or the window losing
// the mouse, ends the drag.
class ViewMouseController {
public:
    enum class Button { Left, Right, Middle };

    explicit ViewMouseController(IToolView& view);

    void ButtonDown(Button button, UINT keyFlags, CPoint client);
    void ButtonUp(Button button, UINT keyFlags, CPoint client);
    void Move(UINT keyFlags, CPoint client);
    void CaptureLost() { Cancel(); }
    // Escape, a lost capture or a command that changes what the drag works on: the drag ends
    // and the active tool drops what it was doing.
    void Cancel();
    // Lines the view scrolls on top of the toolkit's own wheel step: one per whole notch,
    // positive downward. Fractions of a notch add up over calls.
    int WheelLines(int rotation);

    MouseDrag& Drag() { return drag_; }
    const MouseDrag& Drag() const { return drag_; }

    // Hook points, none owned; a null pointer removes the hook.
    void SetLayerTool(int layer, ILayerMouseTool* tool);
    void SetGestureCapture(IGestureCapture* gestures) { gestures_ = gestures; }
    void SetUndoSnapshot(IUndoSnapshot* undo) { undo_ = undo; }

private:
    static constexpr int kWheelDelta = 120;

    ILayerMouseTool* ActiveTool() const;
    void EndDrag();

    IToolView& view_;
    MouseDrag drag_;
    std::array<ILayerMouseTool*, 5> tools_{};
    IGestureCapture* gestures_ = nullptr;
    IUndoSnapshot* undo_ = nullptr;
    long long wheelRotation_ = 0;
};
