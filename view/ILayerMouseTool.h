#pragma once
#include "platform/CPoint.h"
#include "platform/WinTypes.h"

// The tool that the mouse works with on one layer: the maze cell tools on the maze layer, the
// text and picture tools on the others. Points are client pixels; key flags are MK_* bits.
class ILayerMouseTool {
public:
    virtual ~ILayerMouseTool() = default;
    virtual void LeftDown(UINT keyFlags, CPoint client) = 0;
    virtual void RightDown(UINT keyFlags, CPoint client) = 0;
    virtual void Move(UINT keyFlags, CPoint client) = 0;
    // After the controller ended the drag.
    virtual void LeftUp(UINT, CPoint) {}
    virtual void RightUp(UINT, CPoint) {}
    // Escape or the window losing the mouse ended the drag: nothing of it is kept.
    virtual void Cancel() {}
};

// Takes the left button when it draws a gesture instead of working a tool; each call returns
// true when the stroke took the event (the tools then see nothing of it).
class IGestureCapture {
public:
    virtual ~IGestureCapture() = default;
    virtual bool TakesLeftDown(UINT keyFlags, CPoint client) = 0;
    virtual bool TakesMove(UINT keyFlags, CPoint client) = 0;
    virtual bool TakesLeftUp(UINT keyFlags, CPoint client) = 0;
};

// Saves what a left press on `layer` may change, so that Undo can bring it back.
class IUndoSnapshot {
public:
    virtual ~IUndoSnapshot() = default;
    virtual void SaveBeforePress(int layer) = 0;
};
