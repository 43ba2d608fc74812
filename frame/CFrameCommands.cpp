#include "frame/CFrameCommands.h"

#include "frame/IMazeState.h"
#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "platform/TextFormat.h"
#include "res/CommandIds.h"

#include <algorithm>
#include <filesystem>

namespace {
// The commands the frame passes on to the information pane.
constexpr UINT kPaneCommands[] = {ID_TEMPLATE_GALLERY, ID_CHECK_UPDATES, ID_TILER_GALLERY,
                                  ID_MASK_GALLERY};

bool IsPaneCommand(UINT id) {
    return std::find(std::begin(kPaneCommands), std::end(kPaneCommands), id) !=
           std::end(kPaneCommands);
}
} // namespace

CFrameCommands::CFrameCommands(IFrameWindow& window) : window_(window) {
    MapBarCommands();
    MapDocumentUpdates();
    MapInfoPaneCommands();
    MapCommandsAnsweredElsewhere();
    OnCommand(ID_GESTURE_HELP, [this] { OpenGestureHelp(); });
    OnUpdate(ID_GESTURE_HELP, [](CCmdUI& ui) { ui.Enable(true); });
    OnCommand(ID_NEXT_PANE, [this] { window_.ActivateNextPane(true); });
    OnCommand(ID_PREV_PANE, [this] { window_.ActivateNextPane(false); });
    OnCommand(ID_APP_EXIT, [this] { window_.CloseFrame(); });
}

std::string CFrameCommands::GestureHelpPath() const {
    return helpFolder_ + "Orlimber - Mouse Gestures.pdf";
}

void CFrameCommands::OpenGestureHelp() const {
    // The desktop opens files on its own time and says nothing when one is missing.
    const std::string path = GestureHelpPath();
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error) && IShell::Current().Open(path))
        return;
    AfxMessageBox(Format("The help file \"%s\" could not be opened.", path.c_str()),
                  MB_OK | MB_ICONWARNING);
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
    EnableFrom(ID_SOLVE_MAZE, &CFrameCommands::HasMadeMaze);
    EnableFrom(ID_CLEAR_MAZE, &CFrameCommands::HasMadeMaze);
}

void CFrameCommands::MapInfoPaneCommands() {
    // The pane has its own routing; the frame passes these on to it once it exists.
    for (UINT id : kPaneCommands)
        OnCommand(id, [this, id] {
            if (pane_)
                pane_->RunCommand(id);
        });
}

// The frame enables these by their rules, but their work is done by other targets (the
// view, the document, the information pane): each stays disabled until one answers it, so
// that no menu item is enabled and then does nothing. A target that adds the handler
// enables the command; nothing here needs to change.
void CFrameCommands::MapCommandsAnsweredElsewhere() {
    EnableWhenAnswered(ID_TOOL_GROW, &CFrameCommands::HasGrids);
    EnableWhenAnswered(ID_APPLY_BMP_MASK, &CFrameCommands::CanApplyMask);
    EnableWhenAnswered(ID_MASK_GALLERY, &CFrameCommands::CanShowMaskGallery);
    EnableWhenAnswered(ID_TEMPLATE_GALLERY, &CFrameCommands::Always);
    EnableWhenAnswered(ID_CHECK_UPDATES, &CFrameCommands::Always);
    EnableWhenAnswered(ID_TILER_GALLERY, &CFrameCommands::Always);
}

void CFrameCommands::EnableWhenAnswered(UINT id, bool (CFrameCommands::*rule)() const) {
    OnUpdate(id, [this, id, rule](CCmdUI& ui) { ui.Enable((this->*rule)() && IsAnswered(id)); });
}

bool CFrameCommands::IsAnswered(UINT id) const {
    // The frame's own forwarding to the pane does not count: the pane must answer.
    if (IsPaneCommand(id))
        return pane_ && pane_->HandlesCommand(id);
    return router_ && router_->HasHandler(id);
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
