#include "tests/controls/ControlTestSupport.h"

#include "controls/CFOColorButton.h"
#include "controls/CFOGlobalData.h"
#include "controls/ColorDialogLogic.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

class FakeDialogView : public IColorDialogView {
public:
    void ShowNewColor(COLORREF color) override { swatch = color; }
    void ShowWheelColor(COLORREF color) override { wheel = color; }
    void ShowReadouts(const std::string& r, const std::string& h) override {
        rgb = r;
        hex = h;
    }
    void SetPicking(bool on) override { picking = on; }

    COLORREF swatch = 0, wheel = 0;
    std::string rgb, hex;
    bool picking = false;
};

struct Dialog {
    Dialog()
        : logic(view, [this](COLORREF& c) {
              asked = c;
              if (!answer)
                  return false;
              c = *answer;
              return true;
          }) {}
    FakeDialogView view;
    std::optional<COLORREF> answer;
    COLORREF asked = 0;
    ColorDialogLogic logic;
};

TEST(ColorDialogTest, ReadoutsFollowTheColour) {
    Dialog d;
    d.logic.Start(RGB(255, 0, 0));
    EXPECT_EQ(d.view.rgb, "255,0,0");
    EXPECT_EQ(d.view.hex, "FF0000");
    EXPECT_EQ(d.view.wheel, RGB(255, 0, 0));
    d.logic.OnWheelColor(RGB(1, 10, 171));
    EXPECT_EQ(d.view.rgb, "1,10,171");
    EXPECT_EQ(d.view.hex, "010AAB");
    EXPECT_EQ(d.view.swatch, RGB(1, 10, 171));
    EXPECT_EQ(d.view.wheel, RGB(255, 0, 0)); // the wheel already shows its own choice
    EXPECT_EQ(d.logic.GetColor(), RGB(1, 10, 171));
}

TEST(ColorDialogTest, PickingFollowsTheScreenUntilReleaseOrEscape) {
    Dialog d;
    d.logic.Start(RGB(255, 255, 255));
    d.logic.OnPickedColor(true, RGB(9, 9, 9)); // not picking: ignored
    EXPECT_EQ(d.logic.GetColor(), RGB(255, 255, 255));
    d.logic.BeginPicking();
    EXPECT_TRUE(d.view.picking);
    d.logic.OnPickedColor(true, RGB(0, 128, 255));
    EXPECT_EQ(d.view.swatch, RGB(0, 128, 255));
    EXPECT_EQ(d.view.wheel, RGB(0, 128, 255));
    EXPECT_EQ(d.view.hex, "0080FF");
    d.logic.OnPickedColor(false, RGB(1, 1, 1)); // a failed read keeps the last colour
    EXPECT_EQ(d.logic.GetColor(), RGB(0, 128, 255));
    EXPECT_TRUE(d.logic.ConsumeEscape());
    EXPECT_FALSE(d.view.picking);
    EXPECT_FALSE(d.logic.ConsumeEscape()); // the second Escape closes the dialog
}

TEST(ColorDialogTest, CustomTakesTheSystemDialogsChoiceOnOkOnly) {
    Dialog d;
    d.logic.Start(RGB(10, 20, 30));
    d.logic.OnCustom(d.logic.GetColor());
    EXPECT_EQ(d.asked, RGB(10, 20, 30));
    EXPECT_EQ(d.logic.GetColor(), RGB(10, 20, 30));
    d.answer = RGB(200, 100, 50);
    d.logic.OnCustom(d.logic.GetColor());
    EXPECT_EQ(d.logic.GetColor(), RGB(200, 100, 50));
    EXPECT_EQ(d.view.wheel, RGB(200, 100, 50));
    EXPECT_EQ(d.view.rgb, "200,100,50");
}

TEST(ColorDialogTest, OnFewColoursTheSystemDialogStandsIn) {
    Dialog d;
    d.logic.Start(RGB(10, 20, 30));
    EXPECT_FALSE(d.logic.RunInstead());
    EXPECT_EQ(d.asked, RGB(10, 20, 30));
    EXPECT_EQ(d.logic.GetColor(), RGB(10, 20, 30));
    d.answer = RGB(1, 2, 3);
    EXPECT_TRUE(d.logic.RunInstead());
    EXPECT_EQ(d.logic.GetColor(), RGB(1, 2, 3));
    EXPECT_EQ(d.view.hex, "010203");
}

TEST(ColorDialogTest, SwatchShowsNewAboveCurrent) {
    CFOColorButton swatch;
    swatch.SetColor(RGB(255, 0, 0));
    swatch.SetSecondColor(RGB(0, 0, 255));
    Canvas canvas(70, 70);
    swatch.Draw(canvas.dc, CRect(0, 0, 70, 70));
    EXPECT_EQ(canvas.At(35, 10), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(35, 34), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(35, 35), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(35, 65), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(0, 35), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(69, 35), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(2, 35), CFOGlobalData::Get().clrBtnFace);
}

} // namespace
