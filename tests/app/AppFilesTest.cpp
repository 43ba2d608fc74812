#include "app/CGridloomApp.h"
#include "app/RecentFileList.h"
#include "document/WkzFileCommands.h"
#include "platform/FileDialog.h"
#include "platform/MainThread.h"
#include "platform/Shell.h"
#include "res/CommandIds.h"
#include "tests/support/DocTestSupport.h"
#include "view/CGridloomView.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

TEST(RecentFiles, NewestFirstEachPathOnceFourAtMostAndKeptInTheProfile) {
    const TempFolder folder("recent");
    RecentFileList list;
    for (const char* name : {"a.wkz", "b.wkz", "c.wkz", "d.wkz", "e.wkz"})
        list.Add(folder.File(name));
    list.Add(folder.File("c.wkz"));
    list.Add((folder.Path() / "sub" / ".." / "d.wkz").string()); // the same file
    const std::vector<std::string> expected = {folder.File("d.wkz"), folder.File("c.wkz"),
                                               folder.File("e.wkz"), folder.File("b.wkz")};
    EXPECT_EQ(list.Files(), expected);
    EXPECT_EQ(list.MenuText(1), "&2 " + folder.File("c.wkz"));

    CProfile profile(folder.File("p.ini"));
    ASSERT_TRUE(list.Save(profile));
    list.Remove(folder.File("c.wkz"));
    list.Remove(folder.File("e.wkz"));
    ASSERT_TRUE(list.Save(profile)); // the freed slots are written empty, not left stale

    RecentFileList read;
    read.Load(CProfile(folder.File("p.ini")));
    EXPECT_EQ(read.Files(), (std::vector<std::string>{folder.File("d.wkz"), folder.File("b.wkz")}));
    EXPECT_EQ(CProfile(folder.File("p.ini")).GetProfileString("Recent File List", "File3", "x"),
              "");

    // A relative name is stored absolute; an ampersand shows as itself in the menu.
    RecentFileList relative;
    relative.Add("R&D.wkz");
    EXPECT_TRUE(std::filesystem::path(relative.Files()[0]).is_absolute());
    EXPECT_NE(relative.MenuText(0).find("R&&D.wkz"), std::string::npos);
}

class AppTest : public DocTest {
protected:
    void SetUp() override {
        DocTest::SetUp();
        app_ = std::make_unique<CGridloomApp>(Profile());
        app_->AttachDocument(NewDoc());
    }
    void TearDown() override {
        app_.reset();
        DocTest::TearDown();
    }
    CCmdUI Update(UINT id) {
        CCmdUI ui(id);
        app_->RunUpdate(ui);
        return ui;
    }

    ScriptedFileDialog dialog_;
    IFileDialog::Installation dialogInstalled_{dialog_};
    std::unique_ptr<CGridloomApp> app_;
};

TEST_F(AppTest, SavingNamesTheDocumentAndTheExitQuestionFollowsTheModifiedFlag) {
    CGridloomDoc& doc = *doc_;
    EXPECT_EQ(app_->WindowTitle(), "Untitled - Orlimber STD");
    EXPECT_TRUE(app_->SaveModified());
    EXPECT_TRUE(prompts_.ShownBoxes().empty());
    EXPECT_FALSE(Update(ID_FILE_MRU_FILE1).IsEnabled());
    EXPECT_EQ(Update(ID_FILE_MRU_FILE1).Text(), "Recent File");

    doc.RunCommand(ID_MAKE_MAZE);
    ASSERT_TRUE(doc.IsModified());
    // Cancel keeps running; No exits without saving.
    prompts_.Answer(IDCANCEL);
    EXPECT_FALSE(app_->SaveModified());
    EXPECT_EQ(prompts_.ShownBoxes().back().text, "Save changes to Untitled?");
    EXPECT_EQ(prompts_.ShownBoxes().back().type & 0xF, unsigned(MB_YESNOCANCEL));
    prompts_.Answer(IDNO);
    EXPECT_TRUE(app_->SaveModified());
    // Yes with a cancelled file dialog keeps running.
    prompts_.Answer(IDYES);
    dialog_.Cancel();
    EXPECT_FALSE(app_->SaveModified());
    // Yes to a folder that cannot take the file keeps running, still modified.
    prompts_.Answer(IDYES);
    dialog_.Answer(folder_.File("no-such-folder/maze.wkz"), 1);
    EXPECT_FALSE(app_->SaveModified());
    EXPECT_TRUE(doc.IsModified());
    // Yes and a good save exits, names the document and lists the file.
    prompts_.Answer(IDYES);
    dialog_.Answer(folder_.File("maze.wkz"), 1);
    EXPECT_TRUE(app_->SaveModified());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(app_->WindowTitle(), "maze.wkz - Orlimber STD");
    EXPECT_EQ(doc.GetPathName(), folder_.File("maze.wkz"));
    EXPECT_EQ(app_->Recent().Files(), std::vector<std::string>{folder_.File("maze.wkz")});
    EXPECT_EQ(Update(ID_FILE_MRU_FILE1).Text(), "&1 " + folder_.File("maze.wkz"));
    EXPECT_TRUE(Update(ID_FILE_MRU_FILE1).IsEnabled());
    EXPECT_FALSE(Update(ID_FILE_MRU_FILE2).IsEnabled());

    // Once saved there is no question.
    prompts_.Clear();
    EXPECT_TRUE(app_->SaveModified());
    EXPECT_TRUE(prompts_.ShownBoxes().empty());
    // Clear and ReRender change the maze too.
    doc.RunCommand(ID_CLEAR_MAZE);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(AppTest, RecentEntriesOpenAfterTheQuestionAndABrokenOneIsDropped) {
    CGridloomDoc& doc = *doc_;
    doc.RunCommand(ID_MAKE_MAZE);
    ASSERT_TRUE(WkzFileCommands::SaveFile(doc, folder_.File("one.wkz")));
    ASSERT_TRUE(WkzFileCommands::SaveFile(doc, folder_.File("two.wkz")));
    { std::ofstream(folder_.File("bad.wkz")) << "not a maze"; }
    app_->Recent().Add(folder_.File("bad.wkz"));
    EXPECT_EQ(app_->Recent().Files().size(), 3u);

    // Cancel at the question opens nothing.
    doc.SetModifiedFlag();
    prompts_.Answer(IDCANCEL);
    EXPECT_TRUE(app_->RunCommand(ID_FILE_MRU_FILE3));
    EXPECT_EQ(doc.GetPathName(), folder_.File("two.wkz"));

    prompts_.Answer(IDNO);
    app_->RunCommand(ID_FILE_MRU_FILE3); // one.wkz, the oldest
    EXPECT_EQ(doc.GetPathName(), folder_.File("one.wkz"));
    EXPECT_EQ(app_->Recent().Files().front(), folder_.File("one.wkz"));

    app_->RunCommand(ID_FILE_MRU_FILE2); // bad.wkz: refused, dropped, the document kept
    EXPECT_EQ(doc.GetPathName(), folder_.File("one.wkz"));
    EXPECT_FALSE(doc.pendingMessage.empty());
    EXPECT_EQ(app_->Recent().Files(),
              (std::vector<std::string>{folder_.File("one.wkz"), folder_.File("two.wkz")}));
    RecentFileList stored;
    stored.Load(CProfile(ProfilePath()));
    EXPECT_EQ(stored.Files(), app_->Recent().Files());

    // A file deleted since it was listed: the message says so rather than blaming rights.
    std::filesystem::remove(folder_.File("two.wkz"));
    app_->RunCommand(ID_FILE_MRU_FILE2);
    EXPECT_EQ(doc.pendingMessage, "ERROR: Could not open " + folder_.File("two.wkz") +
                                      " for reading: it does not exist.");
    EXPECT_EQ(app_->Recent().Files(), (std::vector<std::string>{folder_.File("one.wkz")}));
}

TEST_F(AppTest, CommandLineFilesOpenOrEndTheStart) {
    doc_->RunCommand(ID_MAKE_MAZE);
    ASSERT_TRUE(WkzFileCommands::SaveFile(*doc_, folder_.File("maze.wkz")));
    auto other = std::make_unique<CGridloomDoc>(Profile());
    CGridloomApp app(Profile());
    app.AttachDocument(*other);
    EXPECT_TRUE(app.ProcessCommandLine(CommandLineInfo::Parse({folder_.File("maze.wkz")})));
    EXPECT_EQ(app.WindowTitle(), "maze.wkz - Orlimber STD");
    EXPECT_FALSE(other->IsModified());

    bool asideFirst = false;
    EXPECT_FALSE(app.ProcessCommandLine(CommandLineInfo::Parse({folder_.File("gone.wkz")}),
                                        [&] { asideFirst = prompts_.ShownBoxes().empty(); }));
    EXPECT_TRUE(asideFirst);
    ASSERT_FALSE(prompts_.ShownBoxes().empty());
    EXPECT_NE(prompts_.ShownBoxes().back().text.find("gone.wkz for reading: it does not exist"),
              std::string::npos);
    EXPECT_TRUE(other->pendingMessage.empty()); // shown now, not again later

    prompts_.Clear();
    EXPECT_FALSE(app.ProcessCommandLine(CommandLineInfo::Parse({"/p", "x.wkz"})));
    EXPECT_FALSE(app.ProcessCommandLine(CommandLineInfo::Parse({"/p"})));
    EXPECT_EQ(prompts_.ShownBoxes().size(), 2u);
    EXPECT_NE(prompts_.ShownBoxes()[0].text.find("x.wkz"), std::string::npos);
}

TEST_F(AppTest, LinksAndFolders) {
    RecordingShell shell;
    IShell::Installation installed(shell);
    Profile().WriteProfileString("Settings", "WebBase", "https://127.0.0.1:8443/maze/");
    CGridloomApp app(Profile());
    // The desktop answers on a worker; each link is waited for, so the order is the commands'.
    const auto settle = [&app] {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!app.Fetches().Idle() && std::chrono::steady_clock::now() < end) {
            MainThread::RunPending();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        MainThread::RunPending();
    };
    for (UINT id : {ID_HOME_PAGE, ID_HEAR_ABOUT, ID_USER_MANUAL, ID_FORUM, ID_MAILING_LIST}) {
        EXPECT_TRUE(app.RunCommand(id));
        settle();
    }
    EXPECT_EQ(shell.Opened(), (std::vector<std::string>{
                                  "https://127.0.0.1:8443/maze/std?VER=QV364",
                                  "https://127.0.0.1:8443/maze/maze.ram?VER=QV364",
                                  "https://127.0.0.1:8443/maze/redir.php?LOC=manual&VER=QV36",
                                  "https://127.0.0.1:8443/maze/redir.php?LOC=forum&VER=QV36",
                                  "https://127.0.0.1:8443/maze/redir.php?LOC=maillist&VER=QV36"}));
    app.RunCommand(ID_APP_ABOUT);
    EXPECT_EQ(prompts_.ShownBoxes().back().text, "Orlimber STD Version QV364");

    // A failing desktop is reported.
    HeadlessShell refusing;
    IShell::Installation refused(refusing);
    const std::size_t boxes = prompts_.ShownBoxes().size();
    EXPECT_TRUE(app.OpenLink(ID_FORUM));
    settle();
    ASSERT_EQ(prompts_.ShownBoxes().size(), boxes + 1);
    EXPECT_NE(prompts_.ShownBoxes().back().text.find("could not be opened"), std::string::npos);

    // The install folder: the profile's when it exists, else share/orlimber beside bin/, else
    // the current folder.
    const TempFolder tree("install");
    std::filesystem::create_directories(tree.Path() / "bin");
    std::filesystem::create_directories(tree.Path() / "share" / "orlimber");
    const std::string program = tree.File("bin/orlimber");
    EXPECT_EQ(CGridloomApp::ChooseInstallFolder(Profile(), program, "/cwd"),
              tree.File("share/orlimber") + "/");
    EXPECT_EQ(CGridloomApp::ChooseInstallFolder(Profile(), "/nowhere/bin/orlimber", "/cwd"),
              "/cwd/");
    Profile().WriteProfileString("install", "path", tree.File("bin"));
    EXPECT_EQ(CGridloomApp::ChooseInstallFolder(Profile(), program, "/cwd"), tree.File("bin/"));
    Profile().WriteProfileString("install", "path", tree.File("missing"));
    EXPECT_EQ(CGridloomApp::ChooseInstallFolder(Profile(), program, "/cwd"),
              tree.File("share/orlimber") + "/");
    app.FindFolders(program, "/cwd");
    EXPECT_EQ(app.HelpFolder(), tree.File("share/orlimber") + "/help/");
    app.AttachDocument(*doc_);
    EXPECT_EQ(doc_->installFolder, app.InstallFolder());
}

TEST_F(AppTest, PrintSwitchesWriteAPdfFileOrGoToThePrinters) {
    EXPECT_TRUE(CGridloomApp::IsPdfName("out.PDF"));
    EXPECT_FALSE(CGridloomApp::IsPdfName(".pdf"));
    EXPECT_FALSE(CGridloomApp::IsPdfName("Office Laser"));
    doc_->RunCommand(ID_MAKE_MAZE);
    ASSERT_TRUE(WkzFileCommands::SaveFile(*doc_, folder_.File("maze.wkz")));
    CGridloomView view;
    view.SetDocument(doc_.get());
    view.OnInitialUpdate();
    const std::string pdf = folder_.File("printed.pdf");
    const CommandLineInfo toPdf = CommandLineInfo::Parse({"/pt", folder_.File("maze.wkz"), pdf});
    ASSERT_TRUE(app_->ProcessCommandLine(toPdf));
    EXPECT_TRUE(app_->PrintCommandLine(toPdf, view));
    EXPECT_TRUE(std::filesystem::file_size(pdf) > 1000);

    // A file that can't be written, and a printer with no printing behind it, fail.
    const CommandLineInfo blocked =
        CommandLineInfo::Parse({"/pt", folder_.File("maze.wkz"), folder_.File("no/such.pdf")});
    EXPECT_FALSE(app_->PrintCommandLine(blocked, view));
    ASSERT_FALSE(prompts_.ShownBoxes().empty());
    EXPECT_NE(prompts_.ShownBoxes().back().text.find("no/such.pdf"), std::string::npos);
    EXPECT_FALSE(app_->PrintCommandLine(CommandLineInfo::Parse({"/p", "maze.wkz"}), view));

    // Print Setup works once something runs it.
    EXPECT_FALSE(Update(ID_FILE_PRINT_SETUP).IsEnabled());
    int setups = 0;
    app_->SetPrintSetup([&setups] { ++setups; });
    EXPECT_TRUE(app_->RunCommand(ID_FILE_PRINT_SETUP));
    EXPECT_EQ(setups, 1);
    view.SetDocument(nullptr);
}
