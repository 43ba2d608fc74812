#include "view/ViewUndo.h"

#include "document/CGridloomDoc.h"
#include "view/IToolView.h"
#include "view/IViewWindow.h"
#include "view/ViewMouseController.h"

void ViewUndo::SaveBeforePress(int layer) {
    if (const CGridloomDoc* doc = view_.GetDocument())
        stack_.SaveUndoState(CQVUnDo::SelectUndoChannel(layer), *doc);
}

bool ViewUndo::CanUndo() {
    const CGridloomDoc* doc = view_.GetDocument();
    if (!doc)
        return false;
    stack_.DropStale(*doc);
    return stack_.GetGroupCount(CQVUnDo::SelectUndoChannel(view_.ActiveLayer())) > 0;
}

bool ViewUndo::Undo() {
    CGridloomDoc* doc = view_.GetDocument();
    if (!doc)
        return false;
    // The drag's object may be gone or moved in the restored list.
    mouse_.Cancel();
    if (discard_)
        discard_();
    const int channel = CQVUnDo::SelectUndoChannel(view_.ActiveLayer());
    const bool restored = stack_.RestoreUndoState(channel, *doc);
    // No restored object stays selected behind a hidden text box.
    if (restored && channel == CQVUnDo::kObjectChannel)
        view_.SetActiveLayer(-1);
    view_.Window().Invalidate();
    return restored;
}
