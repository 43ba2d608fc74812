#pragma once
#include "app/AdLinkActions.h"
#include "app/CGridloomApp.h"
#include "dialogs/ui/CAdWindow.h"
#include "dialogs/ui/WebPageFSHandler.h"
#include "frame/GridloomDocState.h"
#include "frame/ui/CMainFrame.h"
#include "frame/ui/CSplitterWndEx.h"
#include "maze/TemplateKind.h"
#include "net/WebEndpoint.h"
#include "net/WebPageCache.h"
#include "tests/support/DocTestSupport.h"
#include "tests/support/TestHttpServer.h"
#include "tests/ui/XdoTool.h"
#include "view/CGridloomView.h"
#include "view/ui/MazeViewWindow.h"

#include <wx/filesys.h>

#include <chrono>
#include <memory>
#include <string>

// The program's window with the web host at a loopback server: the maze view of a 6 x 6 Box
// above, the pane below with the program's own link actions, and the profile's hosts on
// 127.0.0.1. Open() builds the windows and starts the pane, which asks for the info page at
// once, so a test adds the routes of its first page before.
class InfoPaneWindowFixture : public DocTest {
protected:
    void SetUp() override {
        DocTest::SetUp();
        Profile().WriteProfileString("Settings", "WebBase", server_.Url("/"));
        Profile().WriteProfileString("Settings", "ProbeHosts", "127.0.0.1");
        TestHttpServer::Route version;
        version.body = "QV364\n";
        server_.Add("/redir.php?LOC=latestversion&VER=QV364", version);
    }
    void Open() {
        app_ = std::make_unique<CGridloomApp>(Profile());
        app_->FindFolders("", folder_.Path().string());
        NewDoc(KIND_BOX, 6, 6);
        app_->AttachDocument(*doc_);
        state_ = std::make_unique<GridloomDocState>(*doc_);
        view_ = std::make_unique<CGridloomView>();
        view_->SetDocument(doc_.get());
        actions_ = std::make_unique<AdLinkActions>(*app_, *view_);
        handler_ = new WebPageFSHandler(WebEndpoint(Profile()), cache_);
        wxFileSystem::AddHandler(handler_); // taken back in TearDown

        frame_ = new CMainFrame(); // owned by wx
        frame_->Router().SetDocument(doc_.get());
        frame_->Router().SetView(view_.get());
        frame_->Commands().SetMazeState(state_.get());
        auto* window = new MazeViewWindow(frame_->Splitter(), *view_); // owned by the splitter
        frame_->Splitter()->SetPane(CMainFrame::kViewRow, window);
        pane_ = new CAdWindow(
            frame_->Splitter(),
            {*frame_, app_->Connectivity(), *actions_, Profile(), app_->Fetches(), cache_},
            WebEndpoint(Profile()),
            std::string(ORLIMBER_SOURCE_DIR) + "/res/html/"); // the splitter's
        frame_->Splitter()->SetPane(CMainFrame::kInfoPaneRow, pane_);
        frame_->Commands().SetInfoPane(&pane_->Commands());
        app_->SetStatusReporter(frame_->StatusReporter());
        frame_->SetSize(900, 800);
        frame_->Show();
        frame_->Raise();
        view_->OnInitialUpdate();
        frame_->Bind(wxEVT_MENU_OPEN, [this](wxMenuEvent& event) {
            ++menuOpens_;
            event.Skip();
        });
        frame_->Bind(wxEVT_MENU_CLOSE, [this](wxMenuEvent& event) {
            ++menuCloses_;
            event.Skip();
        });
        ASSERT_TRUE(xdo::Settled(*frame_));
        ASSERT_TRUE(pane_->Start());
    }
    void TearDown() override {
        if (frame_) {
            doc_->SetInfoPane(nullptr);
            EXPECT_TRUE(xdo::Destroy(frame_));
        }
        if (handler_)
            delete wxFileSystem::RemoveHandler(handler_);
        actions_.reset();
        view_.reset();
        app_.reset();
        DocTest::TearDown();
    }

    // A page of the web host whose title is `title`.
    static TestHttpServer::Route Page(const std::string& title, const std::string& body) {
        TestHttpServer::Route route;
        route.body =
            "<html><head><title>" + title + "</title></head><body>" + body + "</body></html>";
        route.headers = {{"Content-Type", "text/html"}};
        return route;
    }
    bool Shows(const std::string& text) const {
        return pane_->ToText().utf8_string().find(text) != std::string::npos;
    }
    int PaneRow() const { return frame_->Splitter()->RowHeight(CMainFrame::kInfoPaneRow); }
    // Opens the File menu from the keyboard and closes it again; how long it took to open,
    // or -1 when it did not open.
    long long MenuOpensAfterMs() {
        if (!xdo::Available())
            return 0;
        const int opens = menuOpens_;
        const int closes = menuCloses_;
        frame_->Raise();
        const auto start = std::chrono::steady_clock::now();
        if (!xdo::Run("key alt+f") || !xdo::PumpUntil([&] { return menuOpens_ > opens; }, 5000))
            return -1;
        const long long ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::steady_clock::now() - start)
                                 .count();
        // Closed, so that the next case starts from the window.
        xdo::Run("key Escape");
        return xdo::PumpUntil([&] { return menuCloses_ > closes; }, 5000) ? ms : -1;
    }

    TestHttpServer server_;
    std::unique_ptr<CGridloomApp> app_;
    std::unique_ptr<GridloomDocState> state_;
    std::unique_ptr<CGridloomView> view_;
    std::unique_ptr<AdLinkActions> actions_;
    WebPageCache cache_;
    WebPageFSHandler* handler_ = nullptr;
    CMainFrame* frame_ = nullptr;
    CAdWindow* pane_ = nullptr;
    int menuOpens_ = 0;
    int menuCloses_ = 0;
};
