#include "app/AdLinkActions.h"
#include "app/CGridloomApp.h"
#include "dialogs/AdPaneController.h"
#include "dialogs/IAdPaneWindow.h"
#include "dialogs/IPaneTimers.h"
#include "document/WkzFileCommands.h"
#include "maze/MazeCell.h"
#include "maze/TemplateKind.h"
#include "tests/support/MainQueue.h"
#include "tests/support/TestHttpServer.h"
#include "tests/view/ViewTestSupport.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

namespace {

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::size_t FilesIn(const fs::path& folder) {
    std::error_code error;
    if (!fs::is_directory(folder, error))
        return 0;
    return static_cast<std::size_t>(std::distance(fs::recursive_directory_iterator(folder),
                                                  fs::recursive_directory_iterator()));
}

// The web host sends one byte more than the file holds.
TestHttpServer::Route Served(const std::string& bytes) {
    TestHttpServer::Route route;
    route.body = bytes + "\n";
    return route;
}

struct NoWindow : IAdPaneWindow {
    void Navigate(const std::string&) override {}
    void SetWindowText(const std::string&) override {}
    void SetPaneHeight(int, int) override {}
    int MinimumPaneHeight() const override { return 0; }
    void Repaint() override {}
};

struct NoTimers : IPaneTimers {
    void SetTimer(int, int) override {}
    void KillTimer(int) override {}
};

// The application, a 4 x 4 box maze and its view, with the web host at the loopback server,
// the install folder and the temporary folder in folders of their own.
class AdLinkActionsTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        const char* tmp = std::getenv("TMPDIR");
        if (tmp)
            oldTmp_ = tmp;
        hadTmp_ = tmp != nullptr;
        ::setenv("TMPDIR", temp_.Path().c_str(), 1);
        Profile().WriteProfileString("Settings", "WebBase", server_.Url("/"));
        Profile().WriteProfileString("Settings", "ProbeHosts", "127.0.0.1");
        Profile().WriteProfileString("install", "path", install_.Path().string());
        app_ = std::make_unique<CGridloomApp>(Profile());
        app_->FindFolders("", "/nonexistent");
        doc_ = &NewDoc(KIND_BOX, 4, 4);
        app_->AttachDocument(*doc_);
        view_ = &ViewOf(*doc_);
        view_->TileSets().SetInstallFolder(app_->InstallFolder());
        view_->TileSets().SetUserTilerFolder(Tiler().string());
        actions_ = std::make_unique<AdLinkActions>(*app_, *view_);
    }
    void TearDown() override {
        actions_.reset();
        ViewTest::TearDown();
        app_.reset();
        if (hadTmp_)
            ::setenv("TMPDIR", oldTmp_.c_str(), 1);
        else
            ::unsetenv("TMPDIR");
    }

    // An 8 x 8 GIF from ImageMagick, black in its top-left quarter and white elsewhere: over 4
    // x 4 cells the centres sample pixels 0, 2, 4 and 7.
    std::string QuarterMask() {
        const std::string path = folder_.File("mask.gif");
        const std::string command = "convert -size 8x8 xc:white -fill black -draw "
                                    "'rectangle 0,0,3,3' " +
                                    path;
        EXPECT_EQ(std::system(command.c_str()), 0);
        return Read(path);
    }
    std::string PictureOf(const std::string& name) {
        const std::string path = folder_.File(name);
        EXPECT_EQ(std::system(("convert -size 8x4 xc:red " + path).c_str()), 0);
        return Read(path);
    }
    int Flags(int column, int row) const { return doc_->GetGrid(0)->GetCell(column, row).flags; }
    std::vector<int> AllFlags() const {
        std::vector<int> flags;
        for (int c = 0; c < 4; ++c)
            for (int r = 0; r < 4; ++r)
                flags.push_back(Flags(c, r));
        return flags;
    }
    // Downloads land in the user's folder; the install folder is never written.
    fs::path Tiler() const { return data_.Path() / "Tiler"; }
    bool Settle() { return RunUntilIdle(app_->Fetches()); }
    std::vector<std::string> ListedSets() {
        std::vector<std::string> names;
        for (const auto& entry : view_->TileSets().Entries())
            names.push_back(entry.name);
        return names;
    }

    TestHttpServer server_;
    TempFolder install_{"install"};
    TempFolder data_{"data"};
    TempFolder temp_{"download-temp"};
    std::string oldTmp_;
    bool hadTmp_ = false;
    std::unique_ptr<CGridloomApp> app_;
    CGridloomDoc* doc_ = nullptr;
    CGridloomView* view_ = nullptr;
    std::unique_ptr<AdLinkActions> actions_;
};

} // namespace

TEST_F(AdLinkActionsTest, AMaskLinkBlackensItsCellsAndLeavesNoTemporaryFile) {
    server_.Add("/p/quarter.gif", Served(QuarterMask()));
    doc_->SetModifiedFlag(false);

    // The whole road from the pane: the link, the question, the download, the mask.
    NoWindow window;
    NoTimers timers;
    AdPaneController pane(
        {window, timers, app_->Connectivity(), *actions_, Profile(), app_->Fetches()},
        WebEndpoint(Profile()), folder_.File("html/"));
    prompts_.Answer(IDYES);
    const std::string link = "mzmask" + server_.Url("/p/quarter.gif").substr(4);
    EXPECT_TRUE(pane.OnBeforeNavigate(link));
    ASSERT_TRUE(Settle());

    ASSERT_EQ(prompts_.ShownBoxes().size(), 1u);
    EXPECT_EQ(prompts_.ShownBoxes()[0].text, "Apply MASK to current maze?");
    const auto requests = server_.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(requests[0].path, "/p/quarter.gif");
    EXPECT_NE(requests[0].head.find("\r\nUser-Agent: ORLIMBER-QV364\r\n"), std::string::npos)
        << requests[0].head;
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            EXPECT_EQ(Flags(c, r), c < 2 && r < 2 ? CELL_BLACKENED : CELL_ERASED) << c << "," << r;
    EXPECT_TRUE(doc_->IsModified());
    EXPECT_EQ(FilesIn(temp_.Path()), 0u);
}

TEST_F(AdLinkActionsTest, MasksThatFailChangeNoCellAndLeaveNoFile) {
    server_.Add("/p/junk.gif", Served("GIF89a but nothing more"));
    const std::vector<int> before = AllFlags();

    actions_->ApplyMask(server_.Url("/p/none.gif"));
    ASSERT_TRUE(Settle());
    ASSERT_EQ(prompts_.ShownBoxes().size(), 1u);
    EXPECT_NE(prompts_.ShownBoxes()[0].text.find("404"), std::string::npos);

    actions_->ApplyMask(server_.Url("/p/junk.gif"));
    ASSERT_TRUE(Settle());
    ASSERT_EQ(prompts_.ShownBoxes().size(), 2u);
    EXPECT_NE(prompts_.ShownBoxes()[1].text.find("does not read"), std::string::npos);
    EXPECT_EQ(AllFlags(), before);
    EXPECT_EQ(FilesIn(temp_.Path()), 0u);

    // A circular maze takes no mask, as with Apply BMP Mask: nothing is even fetched.
    const std::size_t asked = server_.Requests().size();
    server_.Add("/p/quarter.gif", Served(QuarterMask()));
    CGridloomDoc& ring = NewDoc(KIND_CIRCULAR, 10, 10);
    CGridloomView& ringView = ViewOf(ring);
    AdLinkActions ringActions(*app_, ringView);
    EXPECT_FALSE(ringActions.ApplyMask(server_.Url("/p/quarter.gif")));
    EXPECT_EQ(server_.Requests().size(), asked);

    // A link to another host never gets past the pane.
    NoWindow window;
    NoTimers timers;
    AdPaneController pane(
        {window, timers, app_->Connectivity(), ringActions, Profile(), app_->Fetches()},
        WebEndpoint(Profile()), folder_.File("html/"));
    EXPECT_TRUE(pane.OnBeforeNavigate("mzmask://127.0.0.2:" + std::to_string(server_.Port()) +
                                      "/p/quarter.gif"));
    EXPECT_EQ(server_.Requests().size(), asked);
}

TEST_F(AdLinkActionsTest, ATilerLinkFillsTilerAndShowsInTheList) {
    const std::string set = "NAME:Loop Bricks\r\nBMPFILE: bricks.gif\r\nPIXELSWIDE: 2\r\n"
                            "PIXELSHIGH: 2\r\nTILE: 0,1,1\r\nTILE: 15,2,4\r\n";
    const std::string picture = PictureOf("bricks.gif");
    server_.Add("/t/bricks.tle", Served(set));
    server_.Add("/t/bricks.gif", Served(picture));
    EXPECT_TRUE(ListedSets().empty()); // scanned once before the download

    ASSERT_TRUE(actions_->DownloadTiler(server_.Url("/t/bricks.tle")));
    ASSERT_TRUE(Settle());
    EXPECT_EQ(Read(Tiler() / "bricks.tle"), set);
    EXPECT_EQ(Read(Tiler() / "bricks.gif"), picture);
    EXPECT_EQ(FilesIn(Tiler()), 2u);
    EXPECT_EQ(ListedSets(), std::vector<std::string>{"Loop Bricks"});
    CBMPTiler loaded;
    ASSERT_TRUE(view_->TileSets().LoadEntry(loaded, 0));
    EXPECT_EQ(loaded.Sheet().GetWidth(), 8u);
    const auto requests = server_.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].path, "/t/bricks.tle");
    EXPECT_EQ(requests[1].path, "/t/bricks.gif");
    EXPECT_TRUE(prompts_.ShownBoxes().empty());
    EXPECT_EQ(FilesIn(temp_.Path()), 0u);
}

TEST_F(AdLinkActionsTest, HostileOrMissingTilePicturesWriteNothingOutsideTiler) {
    const std::string picture = PictureOf("x.gif");
    server_.Add("/t/up.tle",
                Served("NAME:Up\r\nBMPFILE: ../../../x.gif\r\nPIXELSWIDE: 2\nPIXELSHIGH: 2\r\n"));
    server_.Add("/t/x.gif", Served(picture));
    ASSERT_TRUE(actions_->DownloadTiler(server_.Url("/t/up.tle")));
    ASSERT_TRUE(Settle());
    EXPECT_EQ(server_.Requests().back().path, "/t/x.gif");
    EXPECT_EQ(Read(Tiler() / "x.gif"), picture);
    // The set is kept naming its picture as it was kept, so it loads with it.
    EXPECT_EQ(Read(Tiler() / "up.tle"),
              "NAME:Up\r\nBMPFILE:x.gif\r\nPIXELSWIDE: 2\nPIXELSHIGH: 2\r\n");
    CBMPTiler kept;
    ASSERT_TRUE(view_->TileSets().LoadEntry(kept, 0));
    EXPECT_EQ(kept.Sheet().GetWidth(), 8u);
    EXPECT_EQ(FilesIn(data_.Path()), 3u); // Tiler/, up.tle and x.gif
    EXPECT_EQ(FilesIn(install_.Path()), 0u);
    EXPECT_EQ(FilesIn(temp_.Path()), 0u);
    EXPECT_FALSE(fs::exists(install_.Path().parent_path() / "x.gif"));

    // A set whose picture is missing, unreadable or unnamed, or a set that is missing, keeps
    // nothing at all.
    server_.Add("/t/gone.tle", Served("NAME: Gone\r\nBMPFILE: gone.gif\r\n"));
    server_.Add("/t/bad.tle", Served("NAME: Bad\r\nBMPFILE: bad.gif\r\n"));
    server_.Add("/t/bad.gif", Served("GIF89a and no more"));
    server_.Add("/t/blank.tle", Served("NAME: Blank\r\nBMPFILE: ..\r\n"));
    for (const char* name : {"gone.tle", "bad.tle", "blank.tle", "none.tle"}) {
        prompts_.Clear();
        actions_->DownloadTiler(server_.Url(std::string("/t/") + name));
        ASSERT_TRUE(Settle());
        EXPECT_EQ(prompts_.ShownBoxes().size(), 1u) << name;
    }
    EXPECT_EQ(FilesIn(data_.Path()), 3u);
    EXPECT_EQ(FilesIn(temp_.Path()), 0u);
    EXPECT_EQ(ListedSets(), std::vector<std::string>{"Up"});
}

TEST_F(AdLinkActionsTest, ATemplateBecomesTheUntitledMazeAfterTheSaveQuestion) {
    CGridloomDoc source(Profile());
    source.Settings().kind = KIND_BOX;
    source.Settings().columns = 7;
    source.Settings().rows = 5;
    source.OnFileNew();
    source.formatVersion = 2.0;
    const std::string saved = folder_.File("seven.wkz");
    ASSERT_TRUE(WkzFileCommands::SaveFile(source, saved));
    server_.Add("/g/seven.wkz", Served(Read(saved)));
    const std::string mine = folder_.File("mine.wkz");
    ASSERT_TRUE(WkzFileCommands::SaveFile(*doc_, mine));

    // A changed maze is offered for saving first; Cancel fetches nothing.
    doc_->SetModifiedFlag();
    prompts_.Answer(IDCANCEL);
    EXPECT_FALSE(actions_->UseTemplate(server_.Url("/g/seven.wkz")));
    EXPECT_TRUE(server_.Requests().empty());
    EXPECT_EQ(doc_->GetGrid(0)->Width(), 4);

    prompts_.Answer(IDNO);
    ASSERT_TRUE(actions_->UseTemplate(server_.Url("/g/seven.wkz")));
    ASSERT_TRUE(Settle());
    EXPECT_EQ(prompts_.ShownBoxes().size(), 2u);
    EXPECT_EQ(doc_->GetGrid(0)->Width(), 7);
    EXPECT_EQ(doc_->GetGrid(0)->Height(), 5);
    EXPECT_EQ(doc_->GetTitle(), "Untitled");
    EXPECT_EQ(doc_->GetPathName(), "");
    EXPECT_FALSE(doc_->IsModified());
    EXPECT_EQ(doc_->reRender, 1);
    EXPECT_EQ(app_->Recent().Files(), std::vector<std::string>{mine});
    EXPECT_EQ(FilesIn(temp_.Path()), 0u);

    // A file that is no maze leaves the maze as it was.
    server_.Add("/g/junk.wkz", Served("not a maze"));
    actions_->UseTemplate(server_.Url("/g/junk.wkz"));
    ASSERT_TRUE(Settle());
    EXPECT_EQ(doc_->GetGrid(0)->Width(), 7);
    EXPECT_FALSE(doc_->pendingMessage.empty());
    EXPECT_EQ(FilesIn(temp_.Path()), 0u);
}

TEST_F(AdLinkActionsTest, ALongDownloadShowsItsProgressAndStopsWhenCancelled) {
    TestHttpServer::Route slow;
    slow.body = std::string(4000, 'x');
    slow.trickleMs = 20;
    server_.Add("/g/slow.wkz", slow);
    std::vector<std::string> status;
    app_->SetStatusReporter([&](const std::string& text) { status.push_back(text); });
    doc_->SetModifiedFlag(false);
    ASSERT_TRUE(actions_->UseTemplate(server_.Url("/g/slow.wkz")));

    const auto showing = [&] {
        return !status.empty() && status.back().rfind("Downloading template: ", 0) == 0;
    };
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!showing() && std::chrono::steady_clock::now() < end) {
        MainThread::RunPending();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_TRUE(showing()) << (status.empty() ? "" : status.back());
    EXPECT_TRUE(app_->Downloading());
    app_->CancelDownload();
    EXPECT_FALSE(app_->Downloading());
    ASSERT_TRUE(Settle());
    EXPECT_EQ(status.back(), "The download was cancelled");
    EXPECT_EQ(doc_->GetGrid(0)->Width(), 4);
    EXPECT_TRUE(prompts_.ShownBoxes().empty());
    EXPECT_EQ(FilesIn(temp_.Path()), 0u);
}

TEST_F(AdLinkActionsTest, ADownloadArrivingAfterTheMazeChangedIsDroppedWithANote) {
    CGridloomDoc source(Profile());
    source.Settings().kind = KIND_BOX;
    source.Settings().columns = 7;
    source.Settings().rows = 5;
    source.OnFileNew();
    const std::string saved = folder_.File("seven.wkz");
    ASSERT_TRUE(WkzFileCommands::SaveFile(source, saved));
    TestHttpServer::Route slow = Served(Read(saved));
    slow.delayMs = 300;
    server_.Add("/g/seven.wkz", slow);
    TestHttpServer::Route mask = Served(QuarterMask());
    mask.delayMs = 300;
    server_.Add("/p/quarter.gif", mask);
    std::vector<std::string> status;
    app_->SetStatusReporter([&](const std::string& text) { status.push_back(text); });
    const auto waitForRequest = [&](std::size_t count) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (server_.Requests().size() < count && std::chrono::steady_clock::now() < end) {
            MainThread::RunPending();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return server_.Requests().size() >= count;
    };

    // An edit while the template comes keeps the edit.
    doc_->SetModifiedFlag(false);
    ASSERT_TRUE(actions_->UseTemplate(server_.Url("/g/seven.wkz")));
    ASSERT_TRUE(waitForRequest(1));
    doc_->SetCellFlags(1, 1, 0, CELL_BLACKENED);
    doc_->SetModifiedFlag();
    ASSERT_TRUE(Settle());
    EXPECT_EQ(doc_->GetGrid(0)->Width(), 4);
    EXPECT_EQ(Flags(1, 1), CELL_BLACKENED);
    ASSERT_FALSE(status.empty());
    EXPECT_EQ(status.back(), "The template arrived after the maze had changed; it was not used");

    // So does File New while a mask comes, and nothing is left behind.
    ASSERT_TRUE(actions_->ApplyMask(server_.Url("/p/quarter.gif")));
    ASSERT_TRUE(waitForRequest(2));
    doc_->OnFileNew();
    const std::vector<int> fresh = AllFlags();
    ASSERT_TRUE(Settle());
    EXPECT_EQ(AllFlags(), fresh);
    EXPECT_EQ(status.back(), "The mask arrived after the maze had changed; it was not used");
    EXPECT_TRUE(prompts_.ShownBoxes().empty());
    EXPECT_EQ(FilesIn(temp_.Path()), 0u);

    // Untouched, the same template is used.
    doc_->SetModifiedFlag(false);
    ASSERT_TRUE(actions_->UseTemplate(server_.Url("/g/seven.wkz")));
    ASSERT_TRUE(Settle());
    EXPECT_EQ(doc_->GetGrid(0)->Width(), 7);
}
