#include "tests/support/FakeSound.h"
#include "tests/view/ViewToolTestSupport.h"

#include "gesture/CMouseGesture.h"
#include "gesture/GestureNames.h"
#include "platform/CDC.h"
#include "platform/CrtRandom.h"
#include "platform/MouseKeyFlags.h"
#include "platform/Shell.h"
#include "res/CommandIds.h"
#include "view/GestureCapture.h"
#include "view/GestureCommandTable.h"

#include <cmath>
#include <fstream>

namespace {

using Button = ViewMouseController::Button;
constexpr int B = CGridloomView::kLayerBackground, M = CGridloomView::kLayerMaze,
              F = CGridloomView::kLayerForeground, T = CGridloomView::kLayerText;

// A recogniser whose outputs ignore the stroke: class `cls` takes nine tenths of the sum.
void AlwaysAnswer(CMouseGesture& g, int cls) {
    std::vector<float>& w = g.GetNet().Weights();
    std::fill(w.begin(), w.end(), 0.0f);
    const std::size_t firstOutput = 32 * 33;
    for (std::size_t k = 0; k < 38; ++k) {
        const double out = static_cast<int>(k) == cls ? 0.9 : 0.1 / 37;
        w[firstOutput + k * 33] = static_cast<float>(2.0 * std::log(out / (1 - out)));
    }
}

class GestureTest : public ViewToolTest {
protected:
    void SetUp() override {
        ViewToolTest::SetUp();
        view = &ToolView(NewDoc(0, 10, 10));
        view->SetGestureRecognizer(&gesture);
    }
    void TearDown() override {
        view = nullptr;
        ViewToolTest::TearDown();
    }

    // A Ctrl+drag of `points` moves to the right on the view.
    void Stroke(int points, UINT flags = MK_CONTROL) {
        ViewMouseController& mouse = view->Mouse();
        mouse.ButtonDown(Button::Left, flags, {100, 100});
        for (int i = 1; i <= points; ++i)
            mouse.Move(flags | MK_LBUTTON, {100 + 5 * i, 100});
        mouse.ButtonUp(Button::Left, flags, {100 + 5 * points, 100});
    }

    int Dispatch(const char* name, int layer) {
        view->SetActiveLayer(layer);
        return view->DispatchGestureCommand(name);
    }

    CrtRandom random;
    CMouseGesture gesture{random};
    RecordingSound sound;
    RecordingShell shell;
    IShell::Installation shellInstalled{shell};
    CGridloomView* view = nullptr;
};

} // namespace

TEST(GestureCommandTable, RowsEndInTheTerminatorAndNameOnlyKnownGestures) {
    const auto& rows = GestureCommandTable::Rows();
    ASSERT_EQ(rows.size(), 39u);
    EXPECT_EQ(rows.back().name, nullptr);
    EXPECT_STREQ(rows.back().sound, "notfound");
    for (std::size_t i = 0; i + 1 < rows.size(); ++i) {
        const GestureCommand& row = rows[i];
        ASSERT_NE(row.name, nullptr) << i;
        EXPECT_NE(std::find_if(GestureNames.begin(), GestureNames.end(),
                               [&](const char* n) { return std::string(n) == row.name; }),
                  GestureNames.end())
            << row.name;
        EXPECT_EQ(row.option, nullptr) << i;
        EXPECT_STREQ(row.kind, "C") << i;
        EXPECT_NE(std::string("ABMFT").find(row.layer), std::string::npos) << i;
        // No row hides behind an earlier one.
        for (std::size_t j = 0; j < i; ++j)
            EXPECT_FALSE(
                std::string(rows[j].name) == row.name &&
                (std::string(rows[j].layer) == row.layer || std::string(rows[j].layer) == "A"))
                << i << " after " << j;
    }
}

TEST_F(GestureTest, NameAndLayerPickTheRowWhoseCommandIsPosted) {
    struct Case {
        const char* name;
        int layer;
        int row;
        UINT command;
    } cases[] = {
        {"P", M, 37, ID_FILE_PRINT},         {"P", B, 27, ID_EDIT_PASTE},
        {"M", M, 9, ID_APPLY_BMP_MASK},      {"M", T, 8, ID_LAYER_MAZE},
        {"left-right", M, 11, 32806},        {"right-left", T, 17, 32806},
        {"circle", F, 0, ID_MAZE_SETUP},     {"question", B, 5, ID_GESTURE_HELP},
        {"reverse-backslash", M, 33, 32782}, {"down-right", T, 3, ID_EDIT_UNDO},
    };
    for (const Case& c : cases) {
        window_.posted.clear();
        EXPECT_EQ(Dispatch(c.name, c.layer), c.row) << c.name << " " << c.layer;
        EXPECT_EQ(window_.posted, std::vector<UINT>{c.command}) << c.name << " " << c.layer;
    }
    // Sounds: a row's own, "found" for rows without one.
    EXPECT_EQ(sound.played.front(), "found");
    EXPECT_EQ(sound.played[2], "found");
    EXPECT_EQ(sound.played[7], "gesturewaiting");

    // Misses post nothing: a name on a layer without a row, an unknown name, case, none.
    window_.posted.clear();
    sound.played.clear();
    EXPECT_EQ(Dispatch("rectangle", M), -1);
    EXPECT_EQ(Dispatch("up", B), -1);
    EXPECT_EQ(Dispatch("p", M), -1);
    EXPECT_EQ(view->Gestures().Dispatcher().Misses(), 0); // the third brought the question
    EXPECT_EQ(Dispatch("", M), -1);
    EXPECT_EQ(view->Gestures().Dispatcher().Dispatch("M", 0, window_), -1);
    EXPECT_TRUE(window_.posted.empty());
    EXPECT_EQ(sound.played, std::vector<std::string>(5, "notfound"));
    // A match forgets the misses.
    EXPECT_EQ(view->Gestures().Dispatcher().Misses(), 2);
    EXPECT_EQ(Dispatch("circle", T), 0);
    EXPECT_EQ(view->Gestures().Dispatcher().Misses(), 0);
}

TEST_F(GestureTest, HelpIsOfferedAfterThreeMissesThenSixAfterNoOrThreeAfterYes) {
    const std::string help = folder_.File("Orlimber - Mouse Gestures.pdf");
    std::ofstream(help) << "%PDF-1.4\n";
    view->Gestures().Dispatcher().SetHelpFile(help);
    auto missUntilAsked = [&](int limit) {
        const std::size_t before = prompts_.ShownBoxes().size();
        for (int n = 1; n <= limit; ++n) {
            Dispatch("no such gesture", M);
            if (prompts_.ShownBoxes().size() > before)
                return n;
        }
        return 0;
    };
    prompts_.Answer(IDNO);
    EXPECT_EQ(missUntilAsked(20), 3);
    ASSERT_EQ(prompts_.ShownBoxes().size(), 1u);
    EXPECT_EQ(prompts_.ShownBoxes()[0].text,
              "You have missed several Mouse Gesture, would you like to open the Mouse Gesture "
              "help?");
    EXPECT_EQ(prompts_.ShownBoxes()[0].caption, "Mouse Gesture Help?");
    EXPECT_EQ(prompts_.ShownBoxes()[0].type & 0xF, static_cast<UINT>(MB_YESNO));
    EXPECT_TRUE(shell.Opened().empty());

    prompts_.Answer(IDYES);
    EXPECT_EQ(missUntilAsked(20), 6);
    EXPECT_EQ(shell.Opened(), std::vector<std::string>{help});
    prompts_.Answer(IDYES);
    EXPECT_EQ(missUntilAsked(20), 6);
    EXPECT_EQ(view->Gestures().Dispatcher().HelpThreshold(), 6);

    // A match between misses starts the count again.
    prompts_.Answer(IDNO);
    Dispatch("x", M);
    Dispatch("circle", M);
    EXPECT_EQ(missUntilAsked(20), 6);

    // Without the help file, Yes opens nothing and says nothing more.
    std::filesystem::remove(help);
    prompts_.Answer(IDYES);
    const std::size_t boxes = prompts_.ShownBoxes().size();
    EXPECT_EQ(missUntilAsked(20), 9);
    EXPECT_EQ(prompts_.ShownBoxes().size(), boxes + 1);
    EXPECT_EQ(shell.Opened().size(), 2u);
}

TEST_F(GestureTest, TheSpaceBarArmsOneStrokeWithoutCtrl) {
    struct Undo : IUndoSnapshot {
        void SaveBeforePress(int layer) override { layers.push_back(layer); }
        std::vector<int> layers;
    } undo;
    view->Mouse().SetUndoSnapshot(&undo);
    GestureCapture& capture = view->Gestures();

    const int invalidations = window_.invalidations;
    view->OnChar(' ');
    EXPECT_EQ(capture.Mode(), GestureCapture::kWaiting);
    view->OnChar(' ');
    EXPECT_EQ(capture.Mode(), GestureCapture::kIdle);
    EXPECT_EQ(sound.played, (std::vector<std::string>{"gesturewaiting", "gesturewaiting"}));
    view->OnChar('x');
    EXPECT_EQ(capture.Mode(), GestureCapture::kIdle);
    EXPECT_EQ(window_.invalidations, invalidations + 3);

    // Space, then a plain press: a stroke, no snapshot, no focus taken.
    view->OnChar(' ');
    const int focus = window_.focusRequests;
    view->Mouse().ButtonDown(Button::Left, 0, {50, 50});
    EXPECT_EQ(capture.Mode(), GestureCapture::kRecording);
    EXPECT_TRUE(undo.layers.empty());
    EXPECT_EQ(window_.focusRequests, focus);
    view->Mouse().Move(MK_LBUTTON, {60, 50});
    EXPECT_EQ(capture.Marks().Dots(), std::vector<CPoint>{CPoint(60, 50)});
    view->Mouse().ButtonUp(Button::Left, 0, {60, 50});
    EXPECT_EQ(capture.Mode(), GestureCapture::kIdle);
    EXPECT_EQ(sound.played.back(), "notfound"); // two points are no gesture

    // Armed only once: the next plain press is the tool's, with its snapshot.
    window_.posted.clear();
    view->Mouse().ButtonDown(Button::Left, 0, {50, 50});
    view->Mouse().ButtonUp(Button::Left, 0, {50, 50});
    EXPECT_EQ(undo.layers, std::vector<int>{M});

    // Space in the middle of a tool's drag: its release stays the tool's and names nothing.
    sound.played.clear();
    view->Mouse().ButtonDown(Button::Left, 0, {50, 50});
    view->OnChar(' ');
    EXPECT_EQ(capture.Mode(), GestureCapture::kWaiting);
    view->Mouse().ButtonUp(Button::Left, 0, {70, 50});
    EXPECT_EQ(capture.Mode(), GestureCapture::kIdle);
    EXPECT_EQ(sound.played, std::vector<std::string>{"gesturewaiting"});
    EXPECT_EQ(undo.layers, (std::vector<int>{M, M}));
    EXPECT_TRUE(window_.posted.empty());
    view->Mouse().SetUndoSnapshot(nullptr);
}

TEST_F(GestureTest, AFinishedStrokeRunsItsRowAndLeavesMarksUntilTheTimer) {
    AlwaysAnswer(gesture, 7); // "left-right"
    window_.client = CSize(640, 480);
    Stroke(40);
    EXPECT_EQ(view->Gestures().LastClass(), 7);
    EXPECT_EQ(window_.posted, std::vector<UINT>{ID_LAYER_BACKGROUND});
    EXPECT_EQ(sound.played, std::vector<std::string>{"found"});
    const GestureMarks& marks = view->Gestures().Marks();
    EXPECT_EQ(marks.Dots().size(), 40u);
    EXPECT_EQ(marks.RawPoints().size(), 41u);
    EXPECT_EQ(marks.ResampledPoints().size(), 17u);
    ASSERT_TRUE(marks.HasThumbnail());
    EXPECT_EQ(marks.ThumbnailAt(), CPoint(640 - 55, 5));
    EXPECT_EQ(window_.timers, (std::map<int, int>{{1, 5000}}));

    // The marks over the page as the window shows it: dots outlined in black, raw points
    // red, reduced points blue crosses, the class's shape on grey in its black frame.
    RasterSurface* shown = view->PaintClient(CRect(0, 0, 640, 480));
    ASSERT_NE(shown, nullptr);
    auto at = [&](int x, int y) { return shown->Row(y)[x] & 0xFFFFFF; };
    EXPECT_EQ(at(300, 100), 0x0000FFu); // end of the stroke, a reduced point
    EXPECT_EQ(at(300, 99), 0x0000FFu);
    int redOnly = 0;
    for (const CPoint& p : marks.RawPoints()) {
        const bool nearReduced = std::any_of(
            marks.ResampledPoints().begin(), marks.ResampledPoints().end(),
            [&](const CPoint& r) { return std::abs(r.x - p.x) + std::abs(r.y - p.y) <= 1; });
        if (!nearReduced && p != marks.RawPoints().front()) {
            EXPECT_EQ(at(p.x, p.y), 0xFF0000u) << p.x;
            // The dot's outline two pixels above.
            EXPECT_EQ(at(p.x, p.y - 2), 0x000000u) << p.x;
            ++redOnly;
        }
    }
    EXPECT_GT(redOnly, 10);
    EXPECT_EQ(at(640 - 55, 5), 0x000000u);
    EXPECT_EQ(at(640 - 55 + 2, 7), 0xC8C8C8u);
    EXPECT_EQ(at(640 - 55 + 49, 54), 0x000000u);

    // The timer takes the marks away and stops.
    const int invalidations = window_.invalidations;
    view->OnTimer(1);
    EXPECT_TRUE(marks.Empty());
    EXPECT_FALSE(view->Overlay().Contains(marks));
    shown = view->PaintClient(CRect(0, 0, 640, 480));
    EXPECT_NE(at(640 - 55 + 2, 7), 0xC8C8C8u);
    EXPECT_NE(at(300, 100), 0x0000FFu);
    EXPECT_TRUE(window_.timers.empty());
    EXPECT_GT(window_.invalidations, invalidations);

    // A short stroke misses and shows the top list; the next stroke clears the marks at once.
    sound.played.clear();
    window_.posted.clear();
    Stroke(10);
    EXPECT_EQ(view->Gestures().LastClass(), -1);
    EXPECT_TRUE(window_.posted.empty());
    EXPECT_EQ(sound.played, std::vector<std::string>{"notfound"});
    EXPECT_TRUE(marks.HasThumbnail());
    view->Mouse().ButtonDown(Button::Left, MK_CONTROL, {10, 10});
    EXPECT_TRUE(marks.Empty());
    // Losing the mouse abandons the stroke: nothing is named, the next release is the tool's.
    view->Mouse().Move(MK_CONTROL, {20, 10});
    view->Mouse().CaptureLost();
    EXPECT_EQ(view->Gestures().Mode(), GestureCapture::kIdle);
    EXPECT_TRUE(marks.Empty());
    EXPECT_EQ(sound.played.size(), 1u);
    EXPECT_EQ(window_.timers, (std::map<int, int>{{1, 5000}}));
}
