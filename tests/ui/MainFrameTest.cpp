#include "frame/CSplitterRows.h"
#include "frame/ui/CMainFrame.h"
#include "frame/ui/CSplitterWndEx.h"
#include "platform/wx/WxCommandIds.h"
#include "res/CommandIds.h"
#include "res/CommandTable.h"
#include "res/ToolbarLayout.h"
#include "tests/ui/XdoTool.h"

#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/menu.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// Stands in for the maze view in the route: records what reaches it.
class RecordingView : public CCmdTarget {
public:
    RecordingView() {
        for (UINT id : {ID_EDIT_COPY, ID_TOOL_START, ID_TOOL_STOP, ID_TOOL_BLACKEN})
            OnCommand(id, [this, id] { ran.push_back(id); });
        OnUpdate(ID_TOOL_BLACKEN, [](CCmdUI& ui) { ui.Enable(false); });
    }
    std::vector<UINT> ran;
};

std::string OutputFolder() {
    const char* out = std::getenv("ORLIMBER_TEST_OUT");
    const std::string folder = out ? out : ".";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return folder;
}

class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame = new CMainFrame(); // wx owns top-level windows
        frame->Router().SetView(&view);
        frame->SetSize(1000, 800);
        frame->Show();
        frame->Raise();
        ASSERT_TRUE(xdo::Settled(*frame));
    }
    void TearDown() override {
        frame->Router().SetView(nullptr);
        EXPECT_TRUE(xdo::Destroy(frame));
    }
    void SendMenu(UINT command) {
        wxCommandEvent event(wxEVT_MENU, WxCommandIds::ToWx(command));
        event.SetEventObject(frame);
        frame->ProcessWindowEvent(event);
    }
    void SaveScreenshot(const std::string& name) {
        // The whole window: menu bar, bars, splitter and status bar, as the server shows it.
        frame->Update();
        const wxImage shot = xdo::ServerImage(frame->GetScreenRect());
        EXPECT_TRUE(shot.SaveFile(OutputFolder() + "/" + name, wxBITMAP_TYPE_PNG));
    }

    CMainFrame* frame = nullptr;
    RecordingView view;
};

} // namespace

TEST_F(MainFrameTest, ShowsMenusBarsStatusAndSplitter) {
    EXPECT_EQ(frame->GetTitle(), "Orlimber STD");
    wxMenuBar* menus = frame->GetMenuBar();
    ASSERT_NE(menus, nullptr);
    ASSERT_EQ(menus->GetMenuCount(), 5u);
    EXPECT_EQ(menus->GetMenuLabel(0), "&File");
    EXPECT_EQ(menus->GetMenuLabel(2), "Maze Options");
    EXPECT_EQ(menus->GetMenuLabel(4), "&Help");
    wxMenuItem* item = menus->FindItem(WxCommandIds::ToWx(ID_FILE_NEW));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetItemLabelText(), "New");
    EXPECT_EQ(item->GetHelp(), "Create a new document");

    EXPECT_EQ(frame->StandardBar()->GetToolsCount(), ToolbarLayout::Standard().size());
    EXPECT_EQ(frame->EditBar()->GetToolsCount(), ToolbarLayout::Edit().size());
    EXPECT_EQ(frame->EditBar()->GetToolShortHelp(WxCommandIds::ToWx(ID_TOOL_START)),
              "START (Left Hidden, Right Visable)");
    EXPECT_TRUE(frame->EditBar()->IsShown());

    wxStatusBar* status = frame->GetStatusBar();
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->GetFieldsCount(), 4);
    EXPECT_EQ(status->GetStatusText(0), "Ready");

    CSplitterWndEx* splitter = frame->Splitter();
    ASSERT_NE(splitter, nullptr);
    EXPECT_NE(splitter->GetPane(CMainFrame::kViewRow), nullptr);
    EXPECT_NE(splitter->GetPane(CMainFrame::kInfoPaneRow), nullptr);
    EXPECT_GT(splitter->RowHeight(CMainFrame::kViewRow), 100);
    frame->SetInfoPaneHeight(150, 40);
    ASSERT_TRUE(
        xdo::PumpUntil([&] { return splitter->RowHeight(CMainFrame::kInfoPaneRow) == 150; }));
    ASSERT_TRUE(xdo::Settled(*frame));
    SaveScreenshot("main-frame.png");
}

TEST_F(MainFrameTest, MenuCommandsRunThroughTheRouter) {
    SendMenu(ID_VIEW_EDIT_TOOLBAR);
    EXPECT_FALSE(frame->EditBar()->IsShown());
    EXPECT_EQ(frame->Router().Query(ID_VIEW_EDIT_TOOLBAR).Checked(), 0);
    SendMenu(ID_VIEW_EDIT_TOOLBAR);
    EXPECT_TRUE(frame->EditBar()->IsShown());
    EXPECT_EQ(frame->Router().Query(ID_VIEW_EDIT_TOOLBAR).Checked(), 1);

    SendMenu(ID_EDIT_COPY);
    SendMenu(ID_TOOL_BLACKEN); // disabled by the view's update handler
    SendMenu(ID_EDIT_CUT);     // nobody handles it
    EXPECT_EQ(view.ran, std::vector<UINT>{ID_EDIT_COPY});
}

TEST_F(MainFrameTest, MenuStateFollowsTheRouter) {
    wxMenuBar* menus = frame->GetMenuBar();
    frame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
    for (size_t i = 0; i < menus->GetMenuCount(); ++i)
        menus->GetMenu(i)->UpdateUI(frame);
    EXPECT_FALSE(menus->IsEnabled(WxCommandIds::ToWx(ID_EDIT_CUT)));
    EXPECT_FALSE(menus->IsEnabled(WxCommandIds::ToWx(ID_3D_RENDERING)));
    EXPECT_FALSE(menus->IsEnabled(WxCommandIds::ToWx(ID_MAKE_MAZE))); // no document yet
    EXPECT_TRUE(menus->IsEnabled(WxCommandIds::ToWx(ID_EDIT_COPY)));
    EXPECT_TRUE(menus->IsEnabled(WxCommandIds::ToWx(ID_GESTURE_HELP)));
    EXPECT_TRUE(menus->IsChecked(WxCommandIds::ToWx(ID_VIEW_EDIT_TOOLBAR)));
    EXPECT_FALSE(frame->EditBar()->GetToolEnabled(WxCommandIds::ToWx(ID_TOOL_BLACKEN)));
    EXPECT_TRUE(frame->EditBar()->GetToolEnabled(WxCommandIds::ToWx(ID_TOOL_START)));
}

TEST_F(MainFrameTest, KeysRunTheirCommands) {
    wxWindow* viewRow = frame->Splitter()->GetPane(CMainFrame::kViewRow);
    viewRow->SetFocus();
    ASSERT_TRUE(xdo::PumpUntil([viewRow] { return wxWindow::FindFocus() == viewRow; }));
    wxUIActionSimulator sim;
    const auto press = [&](int key, int modifiers, std::size_t ran) {
        sim.Char(key, modifiers);
        return xdo::PumpUntil([&] { return view.ran.size() >= ran; });
    };
    EXPECT_TRUE(press(',', wxMOD_ALT, 1));
    EXPECT_TRUE(press(',', wxMOD_ALT | wxMOD_SHIFT, 2));
    EXPECT_TRUE(press('.', wxMOD_ALT, 3));
    sim.Char('x', wxMOD_CONTROL); // Cut: nobody handles it, nothing runs
    // Copy runs after it, so once Copy has run the Cut key was handled too.
    EXPECT_TRUE(press('c', wxMOD_CONTROL, 4));
    EXPECT_EQ(view.ran,
              (std::vector<UINT>{ID_TOOL_START, ID_TOOL_START, ID_TOOL_STOP, ID_EDIT_COPY}));
}

TEST_F(MainFrameTest, InfoPaneHeightSharesTheSplitter) {
    CSplitterWndEx* splitter = frame->Splitter();
    const int total = splitter->RowHeight(0) + splitter->RowHeight(1);
    frame->SetInfoPaneHeight(120, 40);
    EXPECT_EQ(splitter->RowHeight(CMainFrame::kInfoPaneRow), 120);
    EXPECT_EQ(splitter->RowHeight(CMainFrame::kViewRow), total - 120);
    // Growing the window keeps the pane's height and gives the rest to the view.
    frame->SetSize(1000, 900);
    ASSERT_TRUE(
        xdo::PumpUntil([&] { return splitter->RowHeight(0) + splitter->RowHeight(1) > total; }));
    EXPECT_EQ(splitter->RowHeight(CMainFrame::kInfoPaneRow), 120);

    frame->SetInfoPaneHeight(10000, 1);
    EXPECT_EQ(splitter->RowHeight(CMainFrame::kViewRow), 0);
    EXPECT_FALSE(splitter->GetPane(CMainFrame::kViewRow)->IsShown());
    frame->SetInfoPaneHeight(0, 0);
    EXPECT_LE(splitter->RowHeight(CMainFrame::kInfoPaneRow), 2);
    EXPECT_TRUE(splitter->GetPane(CMainFrame::kViewRow)->IsShown());
}

TEST_F(MainFrameTest, EditBarButtonsCanBePressedAndHidden) {
    wxToolBar* bar = frame->EditBar();
    const size_t all = bar->GetToolsCount();
    frame->PressButton(ID_TOOL_START, true);
    EXPECT_TRUE(bar->GetToolState(WxCommandIds::ToWx(ID_TOOL_START)));
    frame->ShowButton(ID_TOOL_DRAW_SOLUTION, false);
    frame->ShowButton(ID_DELETE_ITEM, false);
    EXPECT_EQ(bar->GetToolsCount(), all - 2);
    EXPECT_FALSE(frame->IsButtonShown(ID_TOOL_DRAW_SOLUTION));
    EXPECT_TRUE(frame->IsButtonShown(ID_TOOL_GROW));
    // Rebuilding the row keeps the pressed tool pressed.
    EXPECT_TRUE(bar->GetToolState(WxCommandIds::ToWx(ID_TOOL_START)));
    frame->ShowButton(ID_TOOL_DRAW_SOLUTION, true);
    frame->PressButton(ID_TOOL_START, false);
    EXPECT_EQ(bar->GetToolsCount(), all - 1);
    EXPECT_FALSE(bar->GetToolState(WxCommandIds::ToWx(ID_TOOL_START)));
    EXPECT_TRUE(frame->IsButtonShown(ID_TOOL_DRAW_SOLUTION));
    // The update pass does not release a tool the view pressed.
    frame->PressButton(ID_TOOL_STOP, true);
    frame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
    EXPECT_TRUE(bar->GetToolState(WxCommandIds::ToWx(ID_TOOL_STOP)));
}

TEST(WxCommandIds, EveryCommandMapsBelowTheToolkitsLimit) {
    EXPECT_LT(WxCommandIds::Last(), 32767);
    for (const CommandInfo& c : CommandTable::All()) {
        const int id = WxCommandIds::ToWx(c.id);
        EXPECT_GE(id, WxCommandIds::kFirst) << c.id;
        EXPECT_EQ(WxCommandIds::FromWx(id), c.id);
    }
    EXPECT_EQ(WxCommandIds::ToWx(32770), wxID_NONE);
    EXPECT_EQ(WxCommandIds::FromWx(WxCommandIds::Last() + 1), 0u);
    EXPECT_EQ(WxCommandIds::FromWx(wxID_OK), 0u);
}

TEST_F(MainFrameTest, HiddenColumnHidesThePanesUntilShown) {
    CSplitterWndEx* splitter = frame->Splitter();
    frame->SetInfoPaneHeight(100, 0);
    splitter->HideColumn(0);
    EXPECT_FALSE(splitter->GetPane(CMainFrame::kViewRow)->IsShown());
    EXPECT_FALSE(splitter->GetPane(CMainFrame::kInfoPaneRow)->IsShown());
    splitter->ShowColumn();
    EXPECT_EQ(splitter->HiddenColumn(), -1);
    EXPECT_TRUE(splitter->GetPane(CMainFrame::kViewRow)->IsShown());
    EXPECT_TRUE(splitter->GetPane(CMainFrame::kInfoPaneRow)->IsShown());
}

// The lock keys show as the display reports them, with nothing asking on a timer; the keys
// are left as they were found.
TEST_F(MainFrameTest, LockKeyPanesFollowTheKeys) {
    wxStatusBar* status = frame->GetStatusBar();
    ASSERT_NE(status, nullptr);
    struct Lock {
        const char* key;
        int pane;
        const char* text;
    };
    for (const Lock& lock : {Lock{"Caps_Lock", 1, "CAP"}, Lock{"Num_Lock", 2, "NUM"}}) {
        SCOPED_TRACE(lock.key);
        const bool wasOn = status->GetStatusText(lock.pane) == lock.text;
        for (bool on : {!wasOn, wasOn}) {
            ASSERT_TRUE(xdo::Run(std::string("key ") + lock.key));
            EXPECT_TRUE(xdo::PumpUntil([&] {
                return status->GetStatusText(lock.pane) == (on ? lock.text : "");
            })) << "shows "
                << status->GetStatusText(lock.pane);
        }
    }
}
