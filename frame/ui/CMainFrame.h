#pragma once
#include "frame/CFrameCommands.h"
#include "frame/CInfoPaneHeight.h"
#include "frame/IEditToolbar.h"
#include "frame/IFrameWindow.h"
#include "frame/IInfoPaneHost.h"
#include "platform/CCmdTarget.h"
#include "platform/LifeToken.h"
#include "platform/wx/WxLockKeys.h"
#include "platform/wx/WxMinimumSize.h"

#include <wx/frame.h>

#include <functional>
#include <set>
#include <string>

class CSplitterWndEx;
class wxToolBar;

// The program's one main window: menu bar, the standard and edit toolbars, a four-pane status
// bar and a two-row splitter with the maze view above and the information pane below. Every
// menu item, button and key runs through the command router.
class CMainFrame : public wxFrame, public IFrameWindow, public IInfoPaneHost, public IEditToolbar {
public:
    static constexpr int kViewRow = 0;
    static constexpr int kInfoPaneRow = 1;

    CMainFrame();
    ~CMainFrame() override;

    // For callbacks that may come after the frame is gone.
    LifeToken::Watch Life() const { return life_.Watcher(); }
    // Shows a text in the status bar's first pane ("Ready" for none) while the frame lives,
    // and does nothing after.
    std::function<void(const std::string&)> StatusReporter();
    CCommandRouter& Router() { return router_; }
    CFrameCommands& Commands() { return commands_; }
    CSplitterWndEx* Splitter() const { return splitter_; }
    wxToolBar* StandardBar() const { return standardBar_; }
    wxToolBar* EditBar() const { return editBar_; }
    const CInfoPaneHeight& InfoPaneHeight() const { return paneHeight_; }

    // Runs `command` through the router when it is enabled; true when a handler ran.
    bool RunCommand(UINT command);
    // The application's info-box flag: while it is on the window keeps a minimum size.
    void SetInfoBoxFlag(std::function<bool()> flag) {
        infoBoxFlag_ = std::move(flag);
        ApplyMinimumSize();
    }

    void SetInfoPaneHeight(int height, int minimum) override;
    int InfoPaneMinimum() const override { return paneHeight_.Minimum(); }
    // Collapses the information pane unless it is collapsed already.
    void CollapseInfoPane();

    // Lays the parts out at no less than the size each needs; the window shows what fits.
    bool Layout() override;
    // The smallest window that holds the menu bar, the bars and the status bar uncrushed.
    wxSize SmallestUncrushed();
    // That, and no less than 600 x 190 while the information pane shows.
    void ApplyMinimumSize();

    bool IsBarVisible(FrameBar bar) const override;
    void ShowBar(FrameBar bar, bool show) override;
    void ActivateNextPane(bool forward) override;
    void CloseFrame() override;

    void PressButton(UINT command, bool pressed) override;
    bool IsButtonPressed(UINT command) const override;
    void ShowButton(UINT command, bool shown) override;
    bool IsButtonShown(UINT command) const override;

private:
    LifeToken life_;
    bool OnCreate();
    bool OnCreateClient();
    wxWindow* Bar(FrameBar bar) const;
    void OnCommandEvent(wxCommandEvent& event);
    void OnUpdateUI(wxUpdateUIEvent& event);
    void OnCharHook(wxKeyEvent& event);
    void OnIdle(wxIdleEvent& event);
    // The view takes the focus when no window of the frame has it: the frame's key table
    // reaches only a focused child.
    void FocusViewIfLost();
    // The status bar's CAP, NUM and SCRL panes from the lock keys' last reported state.
    void ShowLockKeys();
    void RebuildEditBar();

    CFrameCommands commands_;
    CCommandRouter router_;
    CInfoPaneHeight paneHeight_;
    bool splitterReady_ = false;
    wxToolBar* standardBar_ = nullptr;
    wxToolBar* editBar_ = nullptr;
    CSplitterWndEx* splitter_ = nullptr;
    std::function<bool()> infoBoxFlag_;
    std::set<UINT> hiddenEditButtons_;
    std::set<UINT> pressedEditButtons_;
    WxLockKeys lockKeys_{[this] { ShowLockKeys(); }};
    WxMinimumSize minimumSize_{*this};
};
