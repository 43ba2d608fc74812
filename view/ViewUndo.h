#pragma once
#include "view/CQVUnDo.h"
#include "view/ILayerMouseTool.h"

#include <functional>

class IToolView;
class ViewMouseController;

// Edit Undo on a view: every tool press saves what the active layer's tools may change, and
// Undo brings back the latest save of the active layer's channel. There is no redo.
class ViewUndo : public IUndoSnapshot {
public:
    // `mouse` is the view's: Undo cancels a drag in progress.
    ViewUndo(IToolView& view, ViewMouseController& mouse) : view_(view), mouse_(mouse) {}

    void SaveBeforePress(int layer) override;
    // Whether Undo has a step for the active layer (stale steps are dropped first).
    bool CanUndo();
    // Restores that step; false when there was none fit to restore. A drag in progress is
    // cancelled first and an open text box is closed without taking its text.
    bool Undo();
    // Who closes the text box without taking its text.
    void SetTextBoxDiscarder(std::function<void()> discard) { discard_ = std::move(discard); }
    CQVUnDo& Stack() { return stack_; }

private:
    IToolView& view_;
    ViewMouseController& mouse_;
    CQVUnDo stack_;
    std::function<void()> discard_;
};
