#include "frame/CFrameCommands.h"

#include "frame/IMazeState.h"
#include "platform/Shell.h"
#include "res/CommandIds.h"

CFrameCommands::CFrameCommands(IFrameWindow& window) : window_(window) {
    MapBarCommands();
    MapDocumentUpdates();
    MapInfoPaneCommands();
    OnCommand(ID_GESTURE_HELP, [this] { IShell::Current().Open(GestureHelpPath()); });
    OnUpdate(ID_GESTURE_HELP, [](CCmdUI& ui) { ui.Enable(true); });
    OnCommand(ID_NEXT_PANE, [this] { window_.ActivateNextPane(true); });
    OnCommand(ID_PREV_PANE, [this] { window_.ActivateNextPane(false); });
    OnCommand(ID_APP_EXIT, [this] { window_.CloseFrame(); });
}

std::string CFrameCommands::GestureHelpPath() const {
    return helpFolder_ + "Orlimber - Mouse Gestures.pdf";
}

void CFrameCommands::MapBarCommands() {
    const std::pair<UINT, FrameBar> bars[] = {{ID_VIEW_TOOLBAR, FrameBar::Standard},
                                              {ID_VIEW_EDIT_TOOLBAR, FrameBar::Edit},
                                              {ID_VIEW_STATUS_BAR, FrameBar::Status}};
    for (const auto& entry : bars) {
        const FrameBar bar = entry.second;
        const UINT id = entry.first;
        OnCommand(id, [this, bar] { window_.ShowBar(bar, !window_.IsBarVisible(bar)); });
        OnUpdate(id, [this, bar](CCmdUI& ui) { ui.SetCheck(window_.IsBarVisible(bar) ? 1 : 0); });
    }
}

void CFrameCommands::EnableFrom(UINT id, bool (CFrameCommands::*rule)() const) {
    OnUpdate(id, [this, rule](CCmdUI& ui) { ui.Enable((this->*rule)()); });
}

void CFrameCommands::MapDocumentUpdates() {
    EnableFrom(ID_MAKE_MAZE, &CFrameCommands::HasGrids);
    EnableFrom(ID_TOOL_GROW, &CFrameCommands::HasGrids);
    EnableFrom(ID_SOLVE_MAZE, &CFrameCommands::HasMadeMaze);
    EnableFrom(ID_CLEAR_MAZE, &CFrameCommands::HasMadeMaze);
    EnableFrom(ID_APPLY_BMP_MASK, &CFrameCommands::CanApplyMask);
    EnableFrom(ID_MASK_GALLERY, &CFrameCommands::CanShowMaskGallery);
}

void CFrameCommands::MapInfoPaneCommands() {
    for (UINT id : {ID_TEMPLATE_GALLERY, ID_CHECK_UPDATES, ID_TILER_GALLERY})
        OnUpdate(id, [](CCmdUI& ui) { ui.Enable(true); });
    // The pane has its own routing; the frame passes these on to it once it exists.
    for (UINT id : {ID_TEMPLATE_GALLERY, ID_CHECK_UPDATES, ID_TILER_GALLERY, ID_MASK_GALLERY})
        OnCommand(id, [this, id] {
            if (pane_)
                pane_->RunCommand(id);
        });
}

bool CFrameCommands::HasGrids() const {
    return state_ && state_->GridCount() >= 1;
}

bool CFrameCommands::HasMadeMaze() const {
    return HasGrids() && !state_->IsCleared();
}

bool CFrameCommands::CanApplyMask() const {
    return HasGrids() && state_->IsCleared() && !state_->IsCircular();
}

bool CFrameCommands::CanShowMaskGallery() const {
    return HasGrids() && !state_->IsMazeMade() && !state_->IsCircular();
}
