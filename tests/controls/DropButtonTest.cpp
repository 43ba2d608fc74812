#include "tests/controls/ControlTestSupport.h"

#include "controls/CFOGlobalData.h"
#include "controls/DropButtonFace.h"
#include "controls/DropButtonLogic.h"
#include "controls/IDropButtonHost.h"
#include "controls/PickerMessages.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kWhite = RGB(255, 255, 255);

class FakeButtonHost : public IDropButtonHost {
public:
    struct Sent {
        UINT message;
        WPARAM value;
        bool operator==(const Sent&) const = default;
    };
    bool OpenPopup(DWORD value) override {
        opened.push_back(value);
        return true;
    }
    void ClosePopup() override { ++closed; }
    void SendToOwner(UINT message, WPARAM value) override {
        if (hasOwner)
            sent.push_back({message, value});
    }
    void Repaint() override {}
    bool RunCustomDialog(COLORREF& color) override {
        dialogStart = color;
        if (!dialogAnswer)
            return false;
        color = *dialogAnswer;
        return true;
    }

    bool hasOwner = true;
    std::vector<DWORD> opened;
    int closed = 0;
    std::vector<Sent> sent;
    std::optional<COLORREF> dialogAnswer;
    COLORREF dialogStart = 0;
};
using Sent = FakeButtonHost::Sent;

TEST(DropButtonLogicTest, ChoicesReachTheOwnerWithChangesMarked) {
    FakeButtonHost host;
    DropButtonLogic button(host, DropButtonLogic::Kind::Colour, kWhite);
    button.OnClicked();
    ASSERT_EQ(host.opened, (std::vector<DWORD>{kWhite}));
    EXPECT_TRUE(button.IsDropped());
    const int popup = button.PopupNumber();
    // An arrow step recolours the button and keeps the popup.
    button.OnChosen(popup, kRed, kPickerKeepOpen);
    EXPECT_EQ(button.GetValue(), kRed);
    EXPECT_TRUE(button.IsPopupOpen());
    EXPECT_EQ(host.closed, 0);
    // The same colour chosen for good: chosen, no change.
    button.OnChosen(popup, kRed, 0);
    EXPECT_FALSE(button.IsPopupOpen());
    EXPECT_FALSE(button.IsDropped());
    EXPECT_EQ(host.closed, 1);
    EXPECT_EQ(host.sent, (std::vector<Sent>{{WM_FO_SELECTCOLOR, kRed},
                                            {WM_FO_COLORCHANGED, kRed},
                                            {WM_FO_SELECTCOLOR, kRed}}));
    // A late answer of a closed popup changes nothing.
    button.OnChosen(popup, kBlue, 0);
    button.OnCancelled(popup, kBlue);
    EXPECT_EQ(button.GetValue(), kRed);
    EXPECT_EQ(host.sent.size(), 3u);
}

TEST(DropButtonLogicTest, OnlyTheLatestPopupCounts) {
    FakeButtonHost host;
    DropButtonLogic button(host, DropButtonLogic::Kind::Colour, kWhite);
    button.OnClicked();
    const int first = button.PopupNumber();
    button.OnClicked();
    EXPECT_EQ(host.closed, 1);
    button.OnChosen(first, kBlue, 0);
    EXPECT_TRUE(host.sent.empty());
    button.OnCancelled(button.PopupNumber(), kWhite);
    EXPECT_EQ(host.sent, (std::vector<Sent>{{WM_FO_CANCELCOLOR, kWhite}}));
}

TEST(DropButtonLogicTest, CustomRunsTheDialog) {
    FakeButtonHost host;
    DropButtonLogic button(host, DropButtonLogic::Kind::Colour, kWhite);
    button.OnClicked();
    host.dialogAnswer = kBlue;
    button.OnCustom(button.PopupNumber(), kRed);
    EXPECT_EQ(host.dialogStart, kRed);
    EXPECT_EQ(button.GetValue(), kBlue);
    EXPECT_EQ(host.sent,
              (std::vector<Sent>{{WM_FO_SELECTCOLOR, kBlue}, {WM_FO_COLORCHANGED, kBlue}}));
    // Cancelled: the popup's colour.
    host.sent.clear();
    host.dialogAnswer.reset();
    button.OnClicked();
    button.OnCustom(button.PopupNumber(), kRed);
    EXPECT_EQ(button.GetValue(), kRed);
    EXPECT_EQ(host.sent,
              (std::vector<Sent>{{WM_FO_SELECTCOLOR, kRed}, {WM_FO_COLORCHANGED, kRed}}));
    EXPECT_FALSE(button.IsPopupOpen());
}

TEST(DropButtonLogicTest, WithoutOwnerNothingIsSent) {
    FakeButtonHost host;
    host.hasOwner = false;
    DropButtonLogic button(host, DropButtonLogic::Kind::Colour, kWhite);
    button.OnClicked();
    button.OnChosen(button.PopupNumber(), kRed, 0);
    EXPECT_TRUE(host.sent.empty());
    EXPECT_EQ(button.GetValue(), kRed);
}

TEST(DropButtonLogicTest, LineTypesHaveNoKeepOpenAndNoDialog) {
    FakeButtonHost host;
    DropButtonLogic button(host, DropButtonLogic::Kind::LineType, PS_SOLID);
    button.OnClicked();
    button.OnChosen(button.PopupNumber(), PS_DOT, kPickerKeepOpen);
    EXPECT_FALSE(button.IsPopupOpen());
    button.OnClicked();
    button.OnCustom(button.PopupNumber(), PS_DOT);
    button.OnClicked();
    button.OnCustom(button.PopupNumber(), PS_DASH);
    EXPECT_EQ(host.sent, (std::vector<Sent>{{WM_FO_SELECTLINETYPE, PS_DOT},
                                            {WM_FO_LINETYPECHANGED, PS_DOT},
                                            {WM_FO_LINETYPECHANGED, PS_DASH}}));
}

TEST(DropButtonFaceTest, SizesArrowAndSample) {
    EXPECT_EQ(DropButtonFace::FitSize({80, 21}), CSize(80, 21));
    EXPECT_EQ(DropButtonFace::FitSize({20, 20}), CSize(38, 21));
    EXPECT_EQ(DropButtonFace::ArrowRect({80, 21}), CRect(61, 2, 78, 19));

    Canvas canvas(80, 21);
    DropButtonFace::DrawColour(canvas.dc, {80, 21}, {}, kRed);
    EXPECT_EQ(canvas.At(30, 10), kRed);
    EXPECT_EQ(canvas.At(6, 10), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(56, 10), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(30, 4), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(30, 16), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(3, 10), kWhite);
    EXPECT_EQ(canvas.At(0, 10), RGB(128, 128, 128)); // the sunken edge
    EXPECT_EQ(canvas.At(69, 11), RGB(0, 0, 0));      // the arrow's tip
    EXPECT_EQ(canvas.At(70, 12), CFOGlobalData::Get().clrBtnFace);
    // The context comes back unclipped.
    canvas.dc.FillSolidRect(0, 0, 1, 1, kBlue);
    EXPECT_EQ(canvas.At(0, 0), kBlue);

    // Dropped: the arrow is pressed flat and its tip moves one pixel down and right; disabled:
    // a grey arrow with a white emboss.
    DropButtonFace::DrawColour(canvas.dc, {80, 21}, {true, false, false}, kRed);
    EXPECT_EQ(canvas.At(61, 10), RGB(128, 128, 128));
    EXPECT_EQ(canvas.At(67, 9), CFOGlobalData::Get().clrBtnFace);
    EXPECT_EQ(canvas.At(70, 12), RGB(0, 0, 0));
    DropButtonFace::DrawColour(canvas.dc, {80, 21}, {false, false, true}, kRed);
    EXPECT_EQ(canvas.At(69, 11), RGB(128, 128, 128));
    EXPECT_EQ(canvas.At(70, 12), kWhite);

    DropButtonFace::DrawColour(canvas.dc, {80, 21}, {false, true, false}, kRed);
    EXPECT_EQ(canvas.At(3, 10), CFOGlobalData::Get().clrActiveCaption);
    EXPECT_EQ(canvas.At(30, 10), kRed);

    // A focused line-type button draws its line white on the caption colour.
    DropButtonFace::DrawLineType(canvas.dc, {80, 21}, {false, true, false}, PS_SOLID, RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(30, 10), kWhite);
    EXPECT_EQ(canvas.At(30, 6), CFOGlobalData::Get().clrActiveCaption);
}

} // namespace
