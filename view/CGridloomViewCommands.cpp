// The view's command map: the View menu's toggles, the active layer, the maze tools and the
// object commands, each with the update handler that enables and checks it.
#include "view/CGridloomView.h"

#include "document/CGridloomDoc.h"
#include "frame/IEditToolbar.h"
#include "res/CommandIds.h"
#include "view/LayerObjectOrder.h"

namespace {

constexpr UINT kLayerCommands[] = {ID_LAYER_BACKGROUND, ID_LAYER_MAZE, ID_LAYER_FOREGROUND,
                                   ID_LAYER_TEXT};
constexpr UINT kShowCommands[] = {ID_SHOW_BACKGROUND, ID_SHOW_MAZE, ID_SHOW_FOREGROUND,
                                  ID_SHOW_TEXT};
// The buttons SelectTool releases before pressing the chosen one.
constexpr UINT kToolButtons[] = {ID_TOOL_BLACKEN,      ID_TOOL_WHITEN, ID_TOOL_RESET,
                                 ID_TOOL_GROW,         ID_TOOL_START,  ID_TOOL_STOP,
                                 ID_TOOL_DRAW_SOLUTION};
// The maze layer's cell tools; Draw Solution's button stays hidden on every layer.
constexpr UINT kCellToolButtons[] = {ID_TOOL_BLACKEN, ID_TOOL_WHITEN, ID_TOOL_RESET,
                                     ID_TOOL_GROW,    ID_TOOL_START,  ID_TOOL_STOP};
constexpr UINT kObjectButtons[] = {ID_DELETE_ITEM, ID_BRING_TO_TOP, ID_MOVE_TO_BOTTOM};

} // namespace

void CGridloomView::MapCommands() {
    MapViewToggles();
    MapLayerCommands();
    MapToolCommands();
    MapObjectCommands();
    MapExportCommands();
    MapPrintCommands();
    MapClipboardCommands();
    MapUndoCommands();
}

bool CGridloomView::HasLevels() const {
    const CGridloomDoc* doc = GetDocument();
    return doc && doc->GridCount() >= 1;
}

void CGridloomView::RenderAndUpdate() {
    if (CGridloomDoc* doc = GetDocument()) {
        doc->reRender = 1;
        doc->UpdateAllViews(nullptr);
    }
}

void CGridloomView::MapViewToggles() {
    OnCommand(ID_VIEW_SOLUTION, [this] {
        showSolution_ = !showSolution_;
        RenderAndUpdate();
    });
    CCmdTarget::OnUpdate(ID_VIEW_SOLUTION, [this](CCmdUI& ui) {
        ui.Enable(HasLevels());
        ui.SetCheck(HasLevels() && showSolution_ ? 1 : 0);
    });
    for (int layer = kLayerBackground; layer <= kLayerText; ++layer) {
        const UINT id = kShowCommands[layer - 1];
        OnCommand(id, [this, layer] {
            SetLayerVisible(layer, !IsLayerVisible(layer));
            RenderAndUpdate();
        });
        CCmdTarget::OnUpdate(id, [this, layer](CCmdUI& ui) {
            ui.Enable(HasLevels());
            ui.SetCheck(HasLevels() && IsLayerVisible(layer) ? 1 : 0);
        });
    }
    OnCommand(ID_SHOW_ERASED_CELLS, [this] {
        if (CGridloomDoc* doc = GetDocument()) {
            doc->Settings().erasedVisible = !doc->Settings().erasedVisible;
            RenderAndUpdate();
        }
    });
    CCmdTarget::OnUpdate(ID_SHOW_ERASED_CELLS, [this](CCmdUI& ui) {
        const CGridloomDoc* doc = GetDocument();
        ui.SetCheck(doc && doc->Settings().erasedVisible ? 1 : 0);
    });
    OnCommand(ID_ANIMATED_CREATION, [this] {
        if (CGridloomDoc* doc = GetDocument())
            doc->Settings().animate = !doc->Settings().animate;
    });
    CCmdTarget::OnUpdate(ID_ANIMATED_CREATION, [this](CCmdUI& ui) {
        const CGridloomDoc* doc = GetDocument();
        ui.SetCheck(doc && doc->Settings().animate ? 1 : 0);
    });
    OnCommand(ID_INFO_BOX, [this] {
        if (CGridloomDoc* doc = GetDocument()) {
            IInfoPane& pane = doc->InfoPane();
            pane.SetInfoBoxVisible(!pane.InfoBoxVisible());
            doc->UpdateAllViews(nullptr);
        }
    });
    CCmdTarget::OnUpdate(ID_INFO_BOX, [this](CCmdUI& ui) {
        CGridloomDoc* doc = GetDocument();
        ui.SetCheck(doc && doc->InfoPane().InfoBoxVisible() ? 1 : 0);
    });
}

void CGridloomView::MapLayerCommands() {
    for (int layer = kLayerBackground; layer <= kLayerText; ++layer) {
        const UINT id = kLayerCommands[layer - 1];
        OnCommand(id, [this, layer] { SetActiveLayer(layer); });
        CCmdTarget::OnUpdate(id, [this, layer](CCmdUI& ui) {
            ui.Enable(HasLevels());
            ui.SetCheck(HasLevels() && activeLayer_ == layer ? 1 : 0);
        });
    }
}

void CGridloomView::MapToolCommands() {
    for (UINT id : kToolButtons)
        OnCommand(id, [this, id] { SelectTool(id); });
    // Grow From Selector is enabled by the frame, with the other maze commands.
    for (UINT id : kToolButtons) {
        if (id == ID_TOOL_GROW)
            continue;
        CCmdTarget::OnUpdate(id, [this](CCmdUI& ui) {
            // The cells are edited on the template only: once the maze is made they stay.
            ui.Enable(HasLevels() && GetDocument()->mazeMade == 0);
        });
    }
}

void CGridloomView::MapObjectCommands() {
    OnCommand(ID_DELETE_ITEM, [this] { DeleteSelected(); });
    OnCommand(ID_BRING_TO_TOP, [this] { BringSelectedToTop(); });
    OnCommand(ID_MOVE_TO_BOTTOM, [this] { MoveSelectedToBottom(); });
    for (UINT id : kObjectButtons)
        CCmdTarget::OnUpdate(id, [this](CCmdUI& ui) {
            const CGridloomDoc* doc = GetDocument();
            ui.Enable(doc && LayerObjectOrder::AnySelected(doc->layerObjects));
        });
}

// ---- layers and tools ---------------------------------------------------------------------

void CGridloomView::SetActiveLayer(int n) {
    if (n > 0) {
        window_->TakeFocus();
        EndTextEditing();
        activeLayer_ = n;
    }
    CGridloomDoc* doc = GetDocument();
    if (doc)
        LayerObjectOrder::MarkLayer(doc->layerObjects, n < 0 ? activeLayer_ : n);
    if (n > 0 && doc)
        doc->reRender = 1;
    // The toolbar's update of the views draws the new marks as well.
    if (n > 0)
        UpdateToolbarForLayer(n);
}

void CGridloomView::SelectTool(UINT tool) {
    currentTool_ = static_cast<int>(tool);
    if (!toolbar_)
        return;
    for (UINT id : kToolButtons)
        toolbar_->PressButton(id, false);
    toolbar_->PressButton(tool, true);
}

void CGridloomView::UpdateToolbarForLayer(int layer) {
    if (toolbar_) {
        const bool maze = layer == kLayerMaze;
        for (UINT id : kCellToolButtons)
            toolbar_->ShowButton(id, maze);
        for (UINT id : kObjectButtons)
            toolbar_->ShowButton(id, !maze);
        toolbar_->ShowButton(ID_TOOL_DRAW_SOLUTION, false);
    }
    if (CGridloomDoc* doc = GetDocument())
        doc->UpdateAllViews(nullptr);
}

// ---- objects ------------------------------------------------------------------------------

bool CGridloomView::DeleteSelected() {
    CGridloomDoc* doc = GetDocument();
    if (!doc)
        return false;
    const bool removed = LayerObjectOrder::DeleteSelected(doc->layerObjects) > 0;
    SetActiveLayer(-1);
    EndTextEditing();
    if (removed)
        doc->SetModifiedFlag();
    RenderAndUpdate();
    return removed;
}

bool CGridloomView::BringSelectedToTop() {
    CGridloomDoc* doc = GetDocument();
    if (!doc)
        return false;
    const bool moved = LayerObjectOrder::BringSelectedToTop(doc->layerObjects);
    if (moved)
        doc->SetModifiedFlag();
    AfterObjectOrder();
    return moved;
}

bool CGridloomView::MoveSelectedToBottom() {
    CGridloomDoc* doc = GetDocument();
    if (!doc)
        return false;
    const bool moved = LayerObjectOrder::MoveSelectedToBottom(doc->layerObjects);
    if (moved)
        doc->SetModifiedFlag();
    AfterObjectOrder();
    return moved;
}

void CGridloomView::AfterObjectOrder() {
    GetDocument()->reRender = 1;
    window_->TakeFocus();
    // The moved object keeps what was typed into it.
    EndTextEditing();
    GetDocument()->UpdateAllViews(nullptr);
}

std::optional<CRectTracker::Cursor> CGridloomView::ObjectCursorAt(CPoint client) const {
    const CGridloomDoc* doc = GetDocument();
    if (!doc)
        return std::nullopt;
    const CPoint scroll = window_->ScrollPosition();
    const auto& objects = doc->layerObjects;
    // The topmost object takes a press, so it decides the pointer too.
    for (auto it = objects.rbegin(); it != objects.rend(); ++it) {
        if (it->GetLayer() != activeLayer_ ||
            it->HitTestLogical(client.x, client.y, scroll.x, scroll.y) < 0)
            continue;
        return it->GetCursorLogical(client.x, client.y, scroll.x, scroll.y);
    }
    return std::nullopt;
}

void CGridloomView::MapUndoCommands() {
    OnCommand(ID_EDIT_UNDO, [this] { undo_.Undo(); });
    CCmdTarget::OnUpdate(ID_EDIT_UNDO, [this](CCmdUI& ui) { ui.Enable(undo_.CanUndo()); });
}

void CGridloomView::MapExportCommands() {
    OnCommand(ID_APPLY_BMP_MASK, [this] { OnApplyMask(); });
    OnCommand(ID_SAVE_IMAGE_FILE, [this] { OnSaveToImageFile(); });
    OnCommand(ID_SAVE_EMF, [this] { OnSaveToEmf(); });
    // With no grid there is no picture to write: greyed rather than silently doing nothing.
    CCmdTarget::OnUpdate(ID_SAVE_IMAGE_FILE,
                         [this](CCmdUI& ui) { ui.Enable(HasLevels() && sizeDialog_); });
    CCmdTarget::OnUpdate(ID_SAVE_EMF, [this](CCmdUI& ui) { ui.Enable(HasLevels()); });
}
