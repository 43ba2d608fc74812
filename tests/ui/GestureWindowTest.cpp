#include "tests/support/FakeSound.h"
#include "tests/ui/MazeViewWindowFixture.h"

#include "gesture/CMouseGesture.h"
#include "platform/CrtRandom.h"
#include "res/CommandIds.h"
#include "tests/ui/XdoTool.h"
#include "view/CGridloomView.h"

#include <wx/image.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// Output `cls` takes nine tenths of the sum whatever the stroke, so the test is about the
// road from the pointer to the command, not about the network.
void AlwaysAnswer(CMouseGesture& g, int cls) {
    std::vector<float>& w = g.GetNet().Weights();
    std::fill(w.begin(), w.end(), 0.0f);
    for (std::size_t k = 0; k < 38; ++k) {
        const double out = static_cast<int>(k) == cls ? 0.9 : 0.1 / 37;
        w[32 * 33 + k * 33] = static_cast<float>(2.0 * std::log(out / (1 - out)));
    }
}

bool Is(const wxImage& image, int x, int y, int r, int g, int b) {
    return std::abs(image.GetRed(x, y) - r) < 16 && std::abs(image.GetGreen(x, y) - g) < 16 &&
           std::abs(image.GetBlue(x, y) - b) < 16;
}

class GestureWindowTest : public MazeViewWindowFixture {
protected:
    void WireBeforeShow() override {
        CMainFrame* frame = frame_;
        window_->SetCommandRunner([frame](UINT command) { frame->RunCommand(command); });
        AlwaysAnswer(gesture_, 7); // "left-right": on the maze layer, the background's turn
        view_->SetGestureRecognizer(&gesture_);
    }

    CrtRandom random_;
    CMouseGesture gesture_{random_};
    RecordingSound sound_;
};

} // namespace

TEST_F(GestureWindowTest, AQuickCtrlStrokeRunsItsCommandAndShowsItsShapeUntilTheTimer) {
    ASSERT_EQ(view_->ActiveLayer(), CGridloomView::kLayerMaze);
    // Forty moves 3 ms apart, faster than the window handles them, sent while it runs.
    std::string moves = "keydown ctrl mousemove " + xdo::At(*window_, 100, 200) + " mousedown 1";
    for (int i = 1; i <= 40; ++i)
        moves += " mousemove " + xdo::At(*window_, 100 + 8 * i, 200) + " sleep 0.003";
    moves += " mouseup 1 keyup ctrl";
    const std::string done = folder_.File("stroke-sent");
    ASSERT_EQ(
        std::system(("(xdotool " + moves + "; touch '" + done + "') >/dev/null 2>&1 &").c_str()),
        0);
    ASSERT_TRUE(xdo::PumpUntil([&] { return std::filesystem::exists(done); }, 5000));
    ASSERT_TRUE(
        xdo::PumpUntil([&] { return view_->ActiveLayer() != CGridloomView::kLayerMaze; }, 3000))
        << gesture_.GetPad().RawPoints().size() << " points, " << sound_.played.size()
        << " sounds, class " << view_->Gestures().LastClass() << ", mode "
        << view_->Gestures().Mode();

    EXPECT_GE(gesture_.GetPad().RawPoints().size(), 17u);
    EXPECT_EQ(view_->Gestures().LastClass(), 7);
    EXPECT_EQ(view_->ActiveLayer(), CGridloomView::kLayerBackground);
    EXPECT_EQ(sound_.played, std::vector<std::string>{"found"});
    EXPECT_EQ(view_->Gestures().Mode(), GestureCapture::kIdle);

    const int right = window_->GetClientSize().x - 55;
    const wxImage shown = ClientScreenshot(*window_, "gesture-stroke");
    EXPECT_TRUE(Is(shown, right, 5, 0, 0, 0));
    EXPECT_TRUE(Is(shown, right + 3, 8, 200, 200, 200));
    EXPECT_TRUE(Is(shown, 100 + 8 * 40, 200, 0, 0, 255)); // the stroke's last point
    ASSERT_FALSE(view_->Gestures().Marks().Empty());

    // View timer 1 takes it all away after five seconds.
    EXPECT_TRUE(xdo::PumpUntil([&] { return view_->Gestures().Marks().Empty(); }, 7000));
    const wxImage after = ClientScreenshot(*window_, "gesture-cleared");
    EXPECT_FALSE(Is(after, right + 3, 8, 200, 200, 200));
    EXPECT_FALSE(Is(after, 100 + 8 * 40, 200, 0, 0, 255));
}

TEST_F(GestureWindowTest, TheSpaceBarArmsAPlainDragAsAStroke) {
    ASSERT_TRUE(xdo::Run("mousemove " + xdo::At(*window_, 100, 300) + " key space"));
    ASSERT_TRUE(
        xdo::PumpUntil([&] { return view_->Gestures().Mode() == GestureCapture::kWaiting; }));
    EXPECT_EQ(sound_.played, std::vector<std::string>{"gesturewaiting"});
    std::string moves = "mousedown 1";
    for (int i = 1; i <= 30; ++i)
        moves += " mousemove " + xdo::At(*window_, 100 + 8 * i, 300) + " sleep 0.01";
    ASSERT_TRUE(xdo::Run(moves + " mouseup 1"));
    ASSERT_TRUE(
        xdo::PumpUntil([&] { return view_->ActiveLayer() == CGridloomView::kLayerBackground; }));
    EXPECT_EQ(view_->Gestures().Mode(), GestureCapture::kIdle);
    EXPECT_EQ(sound_.played, (std::vector<std::string>{"gesturewaiting", "found"}));
}
