#include "dialogs/ColourPage.h"

#include <gtest/gtest.h>

#include <map>

namespace {

class FakeColourPageView : public IColourPageView {
public:
    bool GetButtonColor(int id, COLORREF& color) const override {
        const auto found = buttons.find(id);
        if (found == buttons.end())
            return false;
        color = found->second;
        return true;
    }
    void SetButtonColor(int id, COLORREF color) override { buttons[id] = color; }
    void MarkChanged() override { ++changed; }
    void Repaint() override { ++repainted; }

    std::map<int, COLORREF> buttons;
    int changed = 0;
    int repainted = 0;
};

// The page's buttons by id with the defaults they show.
const std::map<int, COLORREF> kDefaults = {
    {1095, RGB(0, 255, 0)},     {1096, RGB(255, 0, 0)},     {1097, RGB(192, 255, 192)},
    {1098, RGB(255, 192, 192)}, {1099, RGB(0, 0, 0)},       {1100, RGB(0, 0, 0)},
    {1101, RGB(208, 208, 64)},  {1102, RGB(128, 128, 240)},
};

TEST(ColourPageTest, ButtonsShowTheirOwnColours) {
    PP6 values;
    FakeColourPageView view;
    ColourPage page(values, view);
    page.Load();
    EXPECT_EQ(view.buttons, kDefaults);

    // Each button writes back into its own value only.
    view.buttons[1096] = RGB(1, 2, 3);
    view.buttons[1100] = RGB(4, 5, 6);
    page.Save();
    CellColours expected;
    expected.stop = RGB(1, 2, 3);
    expected.blackened = RGB(4, 5, 6);
    EXPECT_EQ(values.colours, expected);
    EXPECT_EQ(view.changed, 0);
}

TEST(ColourPageTest, AMissingButtonLeavesItsValue) {
    PP6 values;
    values.colours.solution = RGB(9, 9, 9);
    FakeColourPageView view;
    ColourPage page(values, view);
    page.Load();
    view.buttons.erase(1102);
    view.buttons[1095] = RGB(7, 7, 7);
    page.Save();
    EXPECT_EQ(values.colours.solution, RGB(9, 9, 9));
    EXPECT_EQ(values.colours.start, RGB(7, 7, 7));
}

TEST(ColourPageTest, RestoreDefaultsResetsValuesAndButtons) {
    PP6 values;
    values.colours.wallPen = RGB(10, 20, 30);
    values.colours.hiddenStop = RGB(40, 50, 60);
    FakeColourPageView view;
    ColourPage page(values, view);
    page.Load();
    page.RestoreDefaults();
    EXPECT_EQ(values.colours, CellColours{});
    EXPECT_EQ(view.buttons, kDefaults);
    EXPECT_EQ(view.changed, 1);
    EXPECT_EQ(view.repainted, 1);
}

} // namespace
