#pragma once
#include "frame/IFrameWindow.h"
#include "platform/CCmdTarget.h"

#include <string>

class IMazeState;

// The main frame's message map: its own commands (bars, gesture help, panes, exit) and the
// update handlers that enable the document commands from the active document's state.
class CFrameCommands : public CCmdTarget {
public:
    explicit CFrameCommands(IFrameWindow& window);

    // The active document's state; nullptr when there is no document.
    void SetMazeState(const IMazeState* state) { state_ = state; }
    // Where the help documents live (ends with a slash).
    void SetHelpFolder(std::string folder) { helpFolder_ = std::move(folder); }
    // The information pane answers the gallery and update commands that the frame enables.
    void SetInfoPane(CCmdTarget* pane) { pane_ = pane; }
    // The route the frame sits in: it tells which commands some target answers.
    void SetRouter(const CCommandRouter* router) { router_ = router; }

    std::string GestureHelpPath() const;

private:
    void MapBarCommands();
    void MapDocumentUpdates();
    void MapInfoPaneCommands();
    void MapCommandsAnsweredElsewhere();
    void EnableFrom(UINT id, bool (CFrameCommands::*rule)() const);
    void EnableWhenAnswered(UINT id, bool (CFrameCommands::*rule)() const);
    bool IsAnswered(UINT id) const;
    void OpenGestureHelp() const;

    bool Always() const { return true; }
    bool HasGrids() const;
    bool HasMadeMaze() const;
    bool CanApplyMask() const;
    bool CanShowMaskGallery() const;

    IFrameWindow& window_;
    const IMazeState* state_ = nullptr;
    CCmdTarget* pane_ = nullptr;
    const CCommandRouter* router_ = nullptr;
    std::string helpFolder_;
};
