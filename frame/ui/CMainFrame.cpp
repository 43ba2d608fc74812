#include "frame/ui/CMainFrame.h"

#include "frame/TextEntryKeys.h"
#include "frame/ui/CSplitterWndEx.h"
#include "platform/wx/WxCommandIds.h"
#include "platform/wx/WxKeyStroke.h"
#include "platform/wx/WxMenuBuilder.h"
#include "res/AcceleratorTable.h"
#include "res/CommandTable.h"
#include "res/MenuResource.h"
#include "res/ToolbarLayout.h"

#include <wx/log.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/statusbr.h>
#include <wx/textctrl.h>
#include <wx/toolbar.h>
#include <wx/utils.h>

#include <algorithm>
#include <vector>

namespace {

constexpr int kMinWidthWithPane = 600;
constexpr int kMinHeightWithPane = 190;
constexpr int kIndicatorWidth = 50;
// The indicators and a little of the message.
constexpr int kMinStatusWidth = 3 * kIndicatorWidth + 60;
// What the window keeps of the view and pane beside and below the bars.
constexpr int kMinBodySize = 100;

enum StatusPane { kMessagePane, kCapsPane, kNumPane, kScrollPane, kStatusPanes };

} // namespace

CMainFrame::CMainFrame()
    : wxFrame(nullptr, wxID_ANY, "Orlimber STD", wxDefaultPosition, wxSize(1024, 768)),
      commands_(*this) {
    router_.SetFrame(&commands_);
    commands_.SetRouter(&router_);
    if (!OnCreate() || !OnCreateClient())
        wxLogError("The main window could not be created.");
    Bind(wxEVT_MENU, &CMainFrame::OnCommandEvent, this, WxCommandIds::kFirst, WxCommandIds::Last());
    Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateUI, this, WxCommandIds::kFirst,
         WxCommandIds::Last());
    Bind(wxEVT_CHAR_HOOK, &CMainFrame::OnCharHook, this);
    Bind(wxEVT_IDLE, &CMainFrame::OnIdle, this);
    // A lock key pressed while another program had the keyboard shows once this one has it
    // again, though the display reports changes to every program as they happen.
    Bind(wxEVT_ACTIVATE, [this](wxActivateEvent& event) {
        ShowLockKeys();
        event.Skip();
    });
    ShowLockKeys();
    ApplyMinimumSize();
}

CMainFrame::~CMainFrame() {
    life_.End();
    router_.SetFrame(nullptr);
}

std::function<void(const std::string&)> CMainFrame::StatusReporter() {
    return [this, life = Life()](const std::string& text) {
        if (life.Alive())
            SetStatusText(text.empty() ? wxString("Ready") : wxString::FromUTF8(text), 0);
    };
}

bool CMainFrame::OnCreate() {
    SetMenuBar(WxMenuBuilder::MenuBar(MenuResource::MainMenuBar()));

    standardBar_ = new wxToolBar(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                 wxTB_HORIZONTAL | wxTB_FLAT);
    standardBar_->SetToolBitmapSize(
        wxSize(ToolbarLayout::kStandardWidth, ToolbarLayout::kStandardHeight));
    WxMenuBuilder::FillToolBar(standardBar_, ToolbarLayout::Standard());

    editBar_ =
        new wxToolBar(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxTB_VERTICAL | wxTB_FLAT);
    editBar_->SetToolBitmapSize(wxSize(ToolbarLayout::kEditSize, ToolbarLayout::kEditSize));
    WxMenuBuilder::FillToolBar(editBar_, ToolbarLayout::Edit());

    wxStatusBar* status = CreateStatusBar(kStatusPanes);
    if (!status)
        return false;
    const int widths[kStatusPanes] = {-1, kIndicatorWidth, kIndicatorWidth, kIndicatorWidth};
    status->SetStatusWidths(kStatusPanes, widths);
    SetStatusBarPane(kMessagePane);
    SetStatusText("Ready", kMessagePane);
    return true;
}

bool CMainFrame::OnCreateClient() {
    splitter_ = new CSplitterWndEx(this, 2);
    splitter_->SetMinSize(wxSize(kMinBodySize, kMinBodySize));
    // Plain windows hold the rows until the maze view and the information pane take them.
    auto* view = new wxPanel(splitter_, wxID_ANY);
    view->SetBackgroundColour(*wxWHITE);
    splitter_->SetPane(kViewRow, view);
    splitter_->SetPane(kInfoPaneRow, new wxPanel(splitter_, wxID_ANY));
    splitter_->SetResizeHandler([this] { SetInfoPaneHeight(-1, -1); });

    auto* body = new wxBoxSizer(wxHORIZONTAL);
    body->Add(editBar_, 0, wxEXPAND);
    body->Add(splitter_, 1, wxEXPAND);
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(standardBar_, 0, wxEXPAND);
    top->Add(body, 1, wxEXPAND);
    SetSizer(top);

    splitterReady_ = true;
    SetInfoPaneHeight(0, 0);
    return true;
}

void CMainFrame::SetInfoPaneHeight(int height, int minimum) {
    if (!splitterReady_)
        return;
    const SplitterRowHeights rows = paneHeight_.Apply(
        height, minimum, splitter_->RowHeight(kViewRow), splitter_->RowHeight(kInfoPaneRow));
    splitter_->SetRowInfo(kViewRow, rows.upper, 0);
    splitter_->SetRowInfo(kInfoPaneRow, rows.lower, rows.lowerMinimum);
    splitter_->RecalcLayout();
}

bool CMainFrame::Layout() {
    wxSizer* sizer = GetSizer();
    if (!sizer)
        return wxFrame::Layout();
    const wxSize client = GetClientSize();
    const wxSize least = sizer->GetMinSize();
    sizer->SetDimension(wxPoint(0, 0),
                        wxSize(std::max(client.x, least.x), std::max(client.y, least.y)));
    return true;
}

wxSize CMainFrame::SmallestUncrushed() {
    // The bars may run short of their tools (the toolkit shows the rest behind an arrow), but
    // never thinner than their buttons; the splitter keeps a little of the view.
    const auto keep = [](wxWindow* bar, wxSize least) {
        if (bar->GetMinSize() != least)
            bar->SetMinSize(least);
    };
    keep(standardBar_, wxSize(kMinBodySize, standardBar_->GetBestSize().y));
    keep(editBar_, wxSize(editBar_->GetBestSize().x, kMinBodySize));
    // Menu bar and status bar (and any window frame) are what the window has beyond the client.
    const wxSize around = GetSize() - GetClientSize();
    const wxSize menus = GetMenuBar() ? WxMinimumSize::LeastOf(*GetMenuBar()) : wxSize();
    const wxSize parts = GetSizer()->GetMinSize();
    return wxSize(std::max({menus.x, kMinStatusWidth, around.x + parts.x}), around.y + parts.y);
}

void CMainFrame::ApplyMinimumSize() {
    const bool withPane = infoBoxFlag_ && infoBoxFlag_();
    const wxSize least = SmallestUncrushed();
    const wxSize wanted = withPane ? wxSize(std::max(least.x, kMinWidthWithPane),
                                            std::max(least.y, kMinHeightWithPane))
                                   : least;
    if (wanted != GetMinSize())
        SetMinSize(wanted);
}

void CMainFrame::CollapseInfoPane() {
    if (!splitterReady_ || paneHeight_.IsCollapsed(splitter_->RowHeight(kInfoPaneRow)))
        return;
    SetInfoPaneHeight(0, 0);
}

bool CMainFrame::RunCommand(UINT command) {
    return router_.Execute(command);
}

wxWindow* CMainFrame::Bar(FrameBar bar) const {
    switch (bar) {
    case FrameBar::Standard:
        return standardBar_;
    case FrameBar::Edit:
        return editBar_;
    case FrameBar::Status:
        return GetStatusBar();
    }
    return nullptr;
}

bool CMainFrame::IsBarVisible(FrameBar bar) const {
    const wxWindow* w = Bar(bar);
    return w && w->IsShown();
}

void CMainFrame::ShowBar(FrameBar bar, bool show) {
    wxWindow* w = Bar(bar);
    if (!w || w->IsShown() == show)
        return;
    w->Show(show);
    Layout();
    SendSizeEvent();
}

void CMainFrame::ActivateNextPane(bool forward) {
    std::vector<wxWindow*> panes;
    for (int row = 0; row < splitter_->Rows(); ++row)
        if (wxWindow* pane = splitter_->GetPane(row); pane && pane->IsShown())
            panes.push_back(pane);
    if (panes.empty())
        return;
    const wxWindow* focus = FindFocus();
    auto it = std::find_if(panes.begin(), panes.end(), [focus](wxWindow* p) {
        return focus && (p == focus || p->IsDescendant(const_cast<wxWindow*>(focus)));
    });
    size_t next = 0;
    if (it != panes.end()) {
        const size_t at = static_cast<size_t>(it - panes.begin());
        next = forward ? (at + 1) % panes.size() : (at + panes.size() - 1) % panes.size();
    }
    panes[next]->SetFocus();
}

void CMainFrame::CloseFrame() {
    Close();
}

void CMainFrame::PressButton(UINT command, bool pressed) {
    if (pressed)
        pressedEditButtons_.insert(command);
    else
        pressedEditButtons_.erase(command);
    const int id = WxCommandIds::ToWx(command);
    if (editBar_->FindById(id))
        editBar_->ToggleTool(id, pressed);
}

bool CMainFrame::IsButtonPressed(UINT command) const {
    return pressedEditButtons_.count(command) != 0;
}

void CMainFrame::ShowButton(UINT command, bool shown) {
    const bool hidden = hiddenEditButtons_.count(command) != 0;
    if (hidden == !shown)
        return;
    if (shown)
        hiddenEditButtons_.erase(command);
    else
        hiddenEditButtons_.insert(command);
    RebuildEditBar();
}

bool CMainFrame::IsButtonShown(UINT command) const {
    return hiddenEditButtons_.count(command) == 0 &&
           editBar_->FindById(WxCommandIds::ToWx(command)) != nullptr;
}

void CMainFrame::RebuildEditBar() {
    // A wx tool cannot be hidden in place: the row is built again without the hidden ones.
    std::vector<UINT> buttons;
    for (UINT id : ToolbarLayout::Edit())
        if (id == 0 || hiddenEditButtons_.count(id) == 0)
            buttons.push_back(id);
    editBar_->ClearTools();
    WxMenuBuilder::FillToolBar(editBar_, buttons);
    for (UINT id : pressedEditButtons_)
        if (editBar_->FindById(WxCommandIds::ToWx(id)))
            editBar_->ToggleTool(WxCommandIds::ToWx(id), true);
    Layout();
}

void CMainFrame::OnCommandEvent(wxCommandEvent& event) {
    if (const UINT command = WxCommandIds::FromWx(event.GetId()))
        RunCommand(command);
}

void CMainFrame::OnUpdateUI(wxUpdateUIEvent& event) {
    const UINT command = WxCommandIds::FromWx(event.GetId());
    const CommandInfo* info = CommandTable::Find(command);
    if (!info)
        return;
    const CCmdUI ui = router_.Query(command);
    event.Enable(ui.IsEnabled());
    if (ui.HasCheck() && (info->checkable || info->toggles))
        event.Check(ui.Checked() != 0);
    if (ui.Text())
        event.SetText(wxString::FromUTF8(*ui.Text()));
}

void CMainFrame::OnCharHook(wxKeyEvent& event) {
    // The key table comes before the focused window, as accelerators do, except for the
    // editing keys of a text entry that has the focus.
    const KeyStroke stroke = WxKeyStroke(event);
    const bool inTextEntry = dynamic_cast<wxTextCtrl*>(FindFocus()) != nullptr;
    const UINT command = inTextEntry && TextEntryKeys::BelongToTextEntry(stroke)
                             ? 0
                             : AcceleratorTable::Find(stroke);
    if (command == 0) {
        event.Skip();
        return;
    }
    RunCommand(command);
}

void CMainFrame::OnIdle(wxIdleEvent& event) {
    // Bars shown or hidden change what fits, and the information pane wants more room.
    ApplyMinimumSize();
    // A window that closed (a preview, a popup) may leave the active frame with no focus.
    if (IsActive())
        FocusViewIfLost();
    event.Skip();
}

void CMainFrame::FocusViewIfLost() {
    const wxWindow* focus = FindFocus();
    if (focus && focus != this && IsDescendant(const_cast<wxWindow*>(focus)))
        return;
    wxWindow* view = splitter_ ? splitter_->GetPane(kViewRow) : nullptr;
    if (view && view->IsShownOnScreen() && view->IsEnabled())
        view->SetFocus();
}

void CMainFrame::ShowLockKeys() {
    wxStatusBar* status = GetStatusBar();
    if (!status)
        return;
    const WxLockKeys::State keys = lockKeys_.Current();
    const auto show = [status](int pane, bool on, const char* text) {
        const wxString wanted = on ? text : "";
        if (status->GetStatusText(pane) != wanted)
            status->SetStatusText(wanted, pane);
    };
    show(kCapsPane, keys.caps, "CAP");
    show(kNumPane, keys.num, "NUM");
    show(kScrollPane, keys.scroll, "SCRL");
}
