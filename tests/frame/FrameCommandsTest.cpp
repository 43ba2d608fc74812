#include "frame/CFrameCommands.h"
#include "frame/GridloomDocState.h"
#include "frame/IMazeState.h"
#include "maze/TemplateKind.h"
#include "platform/Shell.h"
#include "res/CommandIds.h"
#include "res/CommandTable.h"
#include "tests/support/DocTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

namespace {

class FakeMaze : public IMazeState {
public:
    int GridCount() const override { return grids; }
    bool IsMazeMade() const override { return made; }
    bool IsCleared() const override { return cleared; }
    bool IsCircular() const override { return circular; }
    int grids = 0;
    bool made = false;
    bool cleared = true;
    bool circular = false;
};

class FakeWindow : public IFrameWindow {
public:
    bool IsBarVisible(FrameBar bar) const override { return visible.at(bar); }
    void ShowBar(FrameBar bar, bool show) override { visible[bar] = show; }
    void ActivateNextPane(bool forward) override { paneSteps += forward ? 1 : -1; }
    void CloseFrame() override { closed = true; }
    std::map<FrameBar, bool> visible{
        {FrameBar::Standard, true}, {FrameBar::Edit, true}, {FrameBar::Status, true}};
    int paneSteps = 0;
    bool closed = false;
};

// The document in the route: it handles the maze commands the frame enables.
class DocumentTarget : public CCmdTarget {
public:
    DocumentTarget() {
        for (UINT id :
             {ID_MAKE_MAZE, ID_SOLVE_MAZE, ID_CLEAR_MAZE, ID_TOOL_GROW, ID_APPLY_BMP_MASK})
            OnCommand(id, [this, id] { ran.push_back(id); });
    }
    std::vector<UINT> ran;
};

// The information pane with every command the frame passes on to it.
class PaneTarget : public CCmdTarget {
public:
    PaneTarget() {
        for (UINT id : {ID_TEMPLATE_GALLERY, ID_CHECK_UPDATES, ID_TILER_GALLERY, ID_MASK_GALLERY})
            OnCommand(id, [this, id] { ran.push_back(id); });
    }
    std::vector<UINT> ran;
};

class FrameCommandsTest : public ::testing::Test {
protected:
    FrameCommandsTest() : frame(window) {
        router.SetDocument(&document);
        router.SetFrame(&frame);
        frame.SetRouter(&router);
        frame.SetMazeState(&maze);
        frame.SetInfoPane(&pane);
    }
    bool Enabled(UINT id) const { return router.Query(id).IsEnabled(); }

    FakeWindow window;
    FakeMaze maze;
    DocumentTarget document;
    PaneTarget pane;
    CFrameCommands frame;
    CCommandRouter router;
};

} // namespace

TEST_F(FrameCommandsTest, DocumentCommandsFollowTheMazeState) {
    // No grids: nothing of the maze can run.
    for (UINT id : {ID_MAKE_MAZE, ID_TOOL_GROW, ID_SOLVE_MAZE, ID_CLEAR_MAZE, ID_APPLY_BMP_MASK,
                    ID_MASK_GALLERY})
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_FALSE(router.Execute(ID_MAKE_MAZE));

    maze.grids = 1; // a template, not made
    EXPECT_TRUE(Enabled(ID_MAKE_MAZE));
    EXPECT_TRUE(Enabled(ID_TOOL_GROW));
    EXPECT_FALSE(Enabled(ID_SOLVE_MAZE));
    EXPECT_FALSE(Enabled(ID_CLEAR_MAZE));
    EXPECT_TRUE(Enabled(ID_APPLY_BMP_MASK));
    EXPECT_TRUE(Enabled(ID_MASK_GALLERY));
    EXPECT_FALSE(router.Execute(ID_SOLVE_MAZE));

    maze.made = true; // Make Maze ran
    maze.cleared = false;
    EXPECT_TRUE(Enabled(ID_SOLVE_MAZE));
    EXPECT_TRUE(Enabled(ID_CLEAR_MAZE));
    EXPECT_FALSE(Enabled(ID_APPLY_BMP_MASK));
    EXPECT_FALSE(Enabled(ID_MASK_GALLERY));
    EXPECT_TRUE(router.Execute(ID_SOLVE_MAZE));

    maze.made = false; // Clear ran
    maze.cleared = true;
    maze.circular = true;
    EXPECT_FALSE(Enabled(ID_APPLY_BMP_MASK));
    EXPECT_FALSE(Enabled(ID_MASK_GALLERY));
    EXPECT_TRUE(Enabled(ID_MAKE_MAZE));
    EXPECT_EQ(document.ran, std::vector<UINT>{ID_SOLVE_MAZE});

    frame.SetMazeState(nullptr); // no document at all
    EXPECT_FALSE(Enabled(ID_MAKE_MAZE));
}

TEST_F(FrameCommandsTest, UnhandledCommandsStayDisabledInEveryState) {
    for (bool made : {false, true}) {
        maze.grids = 1;
        maze.made = made;
        maze.cleared = !made;
        for (UINT id : {ID_EDIT_CUT, ID_3D_RENDERING, ID_REGENERATE_PATH, ID_UNHANDLED_CTRL_F4}) {
            EXPECT_FALSE(Enabled(id)) << id;
            EXPECT_FALSE(router.Execute(id)) << id;
        }
    }
    // The galleries and the update check are always enabled while the pane answers them.
    for (UINT id : {ID_TEMPLATE_GALLERY, ID_TILER_GALLERY, ID_CHECK_UPDATES, ID_GESTURE_HELP})
        EXPECT_TRUE(Enabled(id)) << id;
}

TEST_F(FrameCommandsTest, CommandsNobodyAnswersYetAreDisabledWhateverTheirRules) {
    maze.grids = 1; // every rule below allows its command
    const UINT elsewhere[] = {ID_TOOL_GROW,        ID_APPLY_BMP_MASK, ID_MASK_GALLERY,
                              ID_TEMPLATE_GALLERY, ID_TILER_GALLERY,  ID_CHECK_UPDATES};
    for (UINT id : elsewhere)
        EXPECT_TRUE(Enabled(id)) << id;

    CCmdTarget bareDocument;
    router.SetDocument(&bareDocument);
    frame.SetInfoPane(nullptr);
    for (UINT id : elsewhere) {
        EXPECT_FALSE(Enabled(id)) << id;
        EXPECT_FALSE(router.Execute(id)) << id;
    }
    // A pane without the command does not enable it either.
    class QuietPane : public CCmdTarget {
    } quiet;
    frame.SetInfoPane(&quiet);
    EXPECT_FALSE(Enabled(ID_TEMPLATE_GALLERY));
    EXPECT_TRUE(Enabled(ID_GESTURE_HELP));
}

TEST_F(FrameCommandsTest, FrameAnswersEveryCommandItIsNamedFor) {
    for (const CommandInfo& c : CommandTable::All()) {
        if (c.owner == CommandOwner::Frame) {
            EXPECT_TRUE(frame.HandlesCommand(c.id)) << c.id;
        }
        if (c.enabler == CommandOwner::Frame) {
            EXPECT_TRUE(frame.HandlesUpdate(c.id)) << c.id;
        }
        if (c.owner == CommandOwner::View || c.owner == CommandOwner::Document ||
            c.owner == CommandOwner::App || c.owner == CommandOwner::None) {
            EXPECT_FALSE(frame.HandlesCommand(c.id)) << c.id;
        }
    }
}

TEST_F(FrameCommandsTest, BarsToggleAndCarryTheirCheckMarks) {
    EXPECT_EQ(router.Query(ID_VIEW_EDIT_TOOLBAR).Checked(), 1);
    EXPECT_TRUE(router.Execute(ID_VIEW_EDIT_TOOLBAR));
    EXPECT_FALSE(window.visible[FrameBar::Edit]);
    EXPECT_EQ(router.Query(ID_VIEW_EDIT_TOOLBAR).Checked(), 0);
    EXPECT_TRUE(router.Query(ID_VIEW_EDIT_TOOLBAR).HasCheck());
    EXPECT_TRUE(router.Execute(ID_VIEW_STATUS_BAR));
    EXPECT_FALSE(window.visible[FrameBar::Status]);
    EXPECT_TRUE(window.visible[FrameBar::Standard]);
    EXPECT_TRUE(router.Execute(ID_VIEW_EDIT_TOOLBAR));
    EXPECT_TRUE(window.visible[FrameBar::Edit]);
}

TEST_F(FrameCommandsTest, GestureHelpPanesAndExit) {
    RecordingShell shell;
    IShell::Installation installed(shell);
    ScriptedMessageBox prompts;
    IMessageBox::Installation prompting(prompts);
    const TempFolder help("help");
    frame.SetHelpFolder(help.Path().string() + "/");
    const std::string pdf = help.File("Orlimber - Mouse Gestures.pdf");

    // Nothing installed the document: the user is told, the desktop is not asked.
    EXPECT_TRUE(router.Execute(ID_GESTURE_HELP));
    EXPECT_TRUE(shell.Opened().empty());
    ASSERT_EQ(prompts.ShownBoxes().size(), 1u);
    EXPECT_EQ(prompts.ShownBoxes()[0].text, "The help file \"" + pdf + "\" could not be opened.");

    std::ofstream(pdf) << "%PDF-1.4\n";
    EXPECT_TRUE(router.Execute(ID_GESTURE_HELP));
    EXPECT_EQ(shell.Opened(), std::vector<std::string>{pdf});
    EXPECT_EQ(prompts.ShownBoxes().size(), 1u);

    EXPECT_TRUE(router.Execute(ID_NEXT_PANE));
    EXPECT_TRUE(router.Execute(ID_NEXT_PANE));
    EXPECT_TRUE(router.Execute(ID_PREV_PANE));
    EXPECT_EQ(window.paneSteps, 1);
    EXPECT_TRUE(router.Execute(ID_APP_EXIT));
    EXPECT_TRUE(window.closed);
}

TEST_F(FrameCommandsTest, PaneCommandsReachThePane) {
    maze.grids = 1;
    EXPECT_TRUE(router.Execute(ID_TILER_GALLERY));
    EXPECT_TRUE(router.Execute(ID_MASK_GALLERY));
    EXPECT_EQ(pane.ran, (std::vector<UINT>{ID_TILER_GALLERY, ID_MASK_GALLERY}));
}

namespace {
class FrameOnDocumentTest : public DocTest {};
} // namespace

TEST_F(FrameOnDocumentTest, MazeCommandsFollowTheRealDocument) {
    FakeWindow window;
    CFrameCommands frame(window);
    CGridloomDoc& doc = NewDoc(KIND_BOX, 6, 5);
    GridloomDocState state(doc);
    frame.SetMazeState(&state);
    CCommandRouter router;
    router.SetDocument(&doc);
    router.SetFrame(&frame);
    frame.SetRouter(&router);

    ASSERT_GE(doc.GridCount(), 1);
    EXPECT_FALSE(router.Query(ID_SOLVE_MAZE).IsEnabled());
    // Nothing answers the mask and grow commands yet.
    EXPECT_FALSE(router.Query(ID_APPLY_BMP_MASK).IsEnabled());
    EXPECT_FALSE(router.Query(ID_TOOL_GROW).IsEnabled());
    EXPECT_TRUE(router.Execute(ID_MAKE_MAZE));
    EXPECT_EQ(doc.mazeMade, 1);
    EXPECT_TRUE(router.Query(ID_SOLVE_MAZE).IsEnabled());
    EXPECT_TRUE(router.Query(ID_CLEAR_MAZE).IsEnabled());
    EXPECT_TRUE(router.Execute(ID_CLEAR_MAZE));
    EXPECT_FALSE(router.Query(ID_CLEAR_MAZE).IsEnabled());
    EXPECT_FALSE(router.Execute(ID_SOLVE_MAZE));

    CGridloomDoc& ring = NewDoc(KIND_CIRCULAR, 10, 4);
    GridloomDocState ringState(ring);
    frame.SetMazeState(&ringState);
    router.SetDocument(&ring);
    ASSERT_GE(ring.GridCount(), 1);
    EXPECT_TRUE(router.Query(ID_MAKE_MAZE).IsEnabled());
}
