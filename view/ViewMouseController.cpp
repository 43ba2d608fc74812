#include "view/ViewMouseController.h"

#include "document/CGridloomDoc.h"
#include "view/IToolView.h"
#include "view/IViewWindow.h"

ViewMouseController::ViewMouseController(IToolView& view) : view_(view) {}

void ViewMouseController::SetLayerTool(int layer, ILayerMouseTool* tool) {
    if (layer >= 1 && layer < static_cast<int>(tools_.size()))
        tools_[static_cast<std::size_t>(layer)] = tool;
}

ILayerMouseTool* ViewMouseController::ActiveTool() const {
    const int layer = view_.ActiveLayer();
    if (layer < 1 || layer >= static_cast<int>(tools_.size()))
        return nullptr;
    return tools_[static_cast<std::size_t>(layer)];
}

void ViewMouseController::ButtonDown(Button button, UINT keyFlags, CPoint client) {
    // A stroke leaves the focus where it was, so that a command it runs (Paste) reaches an
    // open text box.
    if (button == Button::Left && gestures_ && gestures_->TakesLeftDown(keyFlags, client))
        return;
    // The space bar and the wheel work on the view from the first click on.
    view_.Window().TakeFocus();
    // The text box's own focus-out comes too late for the tools and the undo snapshot.
    view_.EndTextEditing();
    if (button == Button::Middle)
        return;
    drag_.firstMove = true;
    ILayerMouseTool* tool = nullptr;
    if (button == Button::Left) {
        if (undo_)
            undo_->SaveBeforePress(view_.ActiveLayer());
        if ((tool = ActiveTool()))
            tool->LeftDown(keyFlags, client);
    } else if ((tool = ActiveTool())) {
        tool->RightDown(keyFlags, client);
    }
}

void ViewMouseController::Move(UINT keyFlags, CPoint client) {
    if (gestures_ && gestures_->TakesMove(keyFlags, client))
        return;
    if (ILayerMouseTool* tool = ActiveTool())
        tool->Move(keyFlags, client);
}

void ViewMouseController::ButtonUp(Button button, UINT keyFlags, CPoint client) {
    if (button == Button::Middle)
        return;
    const bool stroke =
        button == Button::Left && gestures_ && gestures_->TakesLeftUp(keyFlags, client);
    EndDrag();
    if (stroke)
        return;
    CGridloomDoc* doc = view_.GetDocument();
    // The cells changed one by one during the drag; the page is drawn afresh once it ends.
    if (doc && doc->reRender) {
        doc->SetModifiedFlag();
        view_.Window().Invalidate();
    }
    if (ILayerMouseTool* tool = ActiveTool()) {
        if (button == Button::Left)
            tool->LeftUp(keyFlags, client);
        else
            tool->RightUp(keyFlags, client);
    }
}

void ViewMouseController::Cancel() {
    // Escape or a lost capture: a stroke in the middle is abandoned, as a tool's drag is.
    if (gestures_)
        gestures_->CaptureLost();
    EndDrag();
    if (ILayerMouseTool* tool = ActiveTool())
        tool->Cancel();
}

void ViewMouseController::EndDrag() {
    drag_.state = MouseDrag::kNone;
}

int ViewMouseController::WheelLines(int rotation) {
    wheelRotation_ += rotation;
    const long long notches = wheelRotation_ / kWheelDelta;
    wheelRotation_ -= notches * kWheelDelta;
    // A turn away from the user (positive) scrolls up.
    return static_cast<int>(-notches);
}
