#include "tests/controls/ControlTestSupport.h"

#include "controls/CFODropColorPaletteControl.h"
#include "controls/CFOGlobalData.h"
#include "controls/PickerMessages.h"
#include "platform/VirtualKeys.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include <unistd.h>

namespace {

using Message = FakePickerHost::Message;
constexpr COLORREF kRed = RGB(255, 0, 0);

class ColorPaletteTest : public ::testing::Test {
protected:
    void Open(bool popup, COLORREF color = kRed, CRect client = CRect(0, 0, 200, 150)) {
        palette.Create(&host, color, client, popup);
    }
    void Key(UINT key, bool shift = false) { palette.OnKeyDown(key, shift); }

    FakePickerHost host;
    CFODropColorPaletteControl palette;
};

TEST_F(ColorPaletteTest, PopupLayoutOf200By150) {
    Open(true);
    const int columns[] = {8, 31, 54, 77, 100, 123, 146, 169, 192};
    const int rows[] = {14, 31, 48, 66, 83, 100, 118};
    for (int n = 0; n < 48; ++n) {
        const int c = n % 8, r = n / 8;
        EXPECT_EQ(palette.Cell(n).GetBoundRect(),
                  CRect(columns[c], rows[r], columns[c + 1], rows[r + 1]))
            << n;
        EXPECT_FALSE(palette.Cell(n).IsHexagon());
    }
    EXPECT_EQ(palette.GetCustomRect(), CRect(8, 124, 192, 142));
    EXPECT_EQ(palette.HitTest(40, 40), 9);
    EXPECT_EQ(palette.GetCurrentColor(), CFODropColorPaletteControl::TableColor(9));
    EXPECT_EQ(palette.HitTest(5, 40), -1);

    // The table: distinct colours, red at row 2 of column 1, black at the bottom left.
    std::set<COLORREF> colours;
    for (int n = 0; n < 48; ++n)
        colours.insert(palette.Cell(n).GetColor());
    EXPECT_EQ(colours.size(), 48u);
    EXPECT_EQ(palette.Cell(17).GetColor(), kRed);
    EXPECT_EQ(palette.Cell(40).GetColor(), RGB(0, 0, 0));
    EXPECT_EQ(palette.Cell(7).GetColor(), RGB(255, 192, 255));
}

TEST_F(ColorPaletteTest, ChildLayoutHasNoCaptionAndTinyHostsHitNothing) {
    Open(false);
    EXPECT_EQ(palette.Cell(0).GetBoundRect().top, 4);
    palette.SetCustomEntry(false);
    palette.RecalcLayout();
    EXPECT_TRUE(palette.GetCustomRect().IsRectEmpty());
    EXPECT_EQ(palette.Cell(47).GetBoundRect().bottom, 142);

    CFODropColorPaletteControl tiny;
    tiny.Create(&host, kRed, CRect(0, 0, 10, 10), true);
    for (int y = -5; y < 15; ++y)
        for (int x = -5; x < 15; ++x)
            EXPECT_EQ(tiny.HitTest(x, y), -1);
    Canvas canvas(10, 10);
    tiny.OnDraw(canvas.dc); // must not divide by zero or crash
}

TEST_F(ColorPaletteTest, KeysStepAndWrapAndPostKeepOpen) {
    Open(true, CFODropColorPaletteControl::TableColor(47));
    Key(VK_RIGHT);
    EXPECT_EQ(palette.GetCurrentColor(), palette.Cell(0).GetColor());
    Key(VK_UP);
    EXPECT_EQ(palette.GetCurrentColor(), palette.Cell(40).GetColor());
    Key(VK_DOWN);
    EXPECT_EQ(palette.GetCurrentColor(), palette.Cell(0).GetColor());
    Key(VK_LEFT); // cell 0 stays
    EXPECT_EQ(palette.GetCurrentColor(), palette.Cell(0).GetColor());
    Key(VK_RIGHT);
    Key(VK_LEFT);
    const std::vector<Message> expected{{WM_FO_SELECTCOLOR, palette.Cell(0).GetColor(), 100},
                                        {WM_FO_SELECTCOLOR, palette.Cell(40).GetColor(), 100},
                                        {WM_FO_SELECTCOLOR, palette.Cell(0).GetColor(), 100},
                                        {WM_FO_SELECTCOLOR, palette.Cell(0).GetColor(), 100},
                                        {WM_FO_SELECTCOLOR, palette.Cell(1).GetColor(), 100},
                                        {WM_FO_SELECTCOLOR, palette.Cell(0).GetColor(), 100}};
    EXPECT_EQ(host.posted, expected);
    EXPECT_EQ(host.hides, 0);

    // Left from the first cell of a row goes to the end of the row above; an unknown colour
    // starts from cell 0.
    palette.SetCurrentColor(palette.Cell(16).GetColor());
    Key(VK_LEFT);
    EXPECT_EQ(palette.GetCurrentColor(), palette.Cell(15).GetColor());
    palette.SetCurrentColor(RGB(1, 2, 3));
    Key(VK_RIGHT);
    EXPECT_EQ(palette.GetCurrentColor(), palette.Cell(1).GetColor());
}

TEST_F(ColorPaletteTest, EnterEscapeAndTabByMode) {
    Open(false);
    Key(VK_ESCAPE);
    Key(VK_RETURN);
    EXPECT_TRUE(host.posted.empty());
    Key(VK_TAB, true);
    EXPECT_EQ(host.focusBack, 1);
    Key(VK_TAB);
    ASSERT_EQ(host.posted.size(), 1u);
    EXPECT_EQ(host.posted[0], (Message{WM_FO_CUSTOMCOLOR, kRed, 0}));
    EXPECT_EQ(host.hides, 0);
    Key('A');
    EXPECT_EQ(host.posted.size(), 1u);

    FakePickerHost popupHost;
    CFODropColorPaletteControl popup;
    popup.Create(&popupHost, kRed, CRect(0, 0, 200, 150), true);
    popup.OnKeyDown(VK_ESCAPE, false);
    popup.OnKeyDown(VK_RETURN, false);
    const std::vector<Message> expected{{WM_FO_CANCELCOLOR, kRed, 0}, {WM_FO_SELECTCOLOR, kRed, 0}};
    EXPECT_EQ(popupHost.posted, expected);
    EXPECT_EQ(popupHost.hides, 2);
}

TEST_F(ColorPaletteTest, MouseDragMovesThenReleaseChooses) {
    Open(true);
    palette.OnTrackMouse({40, 40});
    palette.OnTrackMouse({60, 40});
    EXPECT_TRUE(host.posted.empty());
    EXPECT_EQ(palette.GetCurrentColor(), palette.Cell(10).GetColor());
    palette.OnLButtonUp({60, 40});
    ASSERT_EQ(host.posted.size(), 1u);
    EXPECT_EQ(host.posted[0], (Message{WM_FO_SELECTCOLOR, palette.Cell(10).GetColor(), 0}));
    EXPECT_EQ(host.hides, 1);

    // Pressing the strip highlights it; releasing over it asks for a custom colour, also at
    // its right end where the swatch is.
    host.posted.clear();
    palette.SetCurrentColor(RGB(1, 2, 3));
    palette.OnTrackMouse({190, 130});
    EXPECT_TRUE(palette.IsCustomPressed());
    palette.OnLButtonUp({190, 130});
    EXPECT_FALSE(palette.IsCustomPressed());
    ASSERT_EQ(host.posted.size(), 1u);
    EXPECT_EQ(host.posted[0], (Message{WM_FO_CUSTOMCOLOR, RGB(1, 2, 3), 0}));
    EXPECT_EQ(host.hides, 2);
    // Releasing outside everything says nothing.
    palette.OnLButtonUp({2, 2});
    EXPECT_EQ(host.posted.size(), 1u);
}

TEST_F(ColorPaletteTest, DrawingShowsCaptionSelectionAndSwatch) {
    Open(true);
    Canvas canvas(200, 150);
    palette.OnDraw(canvas.dc);
    const CFOGlobalData& g = CFOGlobalData::Get();
    EXPECT_EQ(canvas.At(32, 57), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(30, 57), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(42, 57), kRed);
    EXPECT_EQ(canvas.At(100, 7), g.clrActiveCaption);
    EXPECT_EQ(canvas.At(0, 75), RGB(255, 255, 255)); // the raised frame
    EXPECT_EQ(canvas.At(199, 75), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(181, 133), g.clrBtnFace); // no swatch for a palette colour
    // "Custom..." is written in dark ink in the strip.
    int ink = 0;
    for (int y = 124; y < 142; ++y)
        for (int x = 8; x < 192; ++x) {
            const COLORREF c = canvas.At(x, y);
            ink += GetRValue(c) < 100 && GetGValue(c) < 100 && GetBValue(c) < 100;
        }
    EXPECT_GT(ink, 20);

    palette.SetCurrentColor(RGB(10, 200, 30));
    palette.OnDraw(canvas.dc);
    EXPECT_EQ(canvas.At(181, 133), RGB(10, 200, 30));
    EXPECT_EQ(canvas.At(32, 57), g.clr3DShadow); // red's cell is no longer framed
    EXPECT_EQ(palette.GetCurrentRect(), CRect());
    // Drawing never narrows the strip.
    EXPECT_EQ(palette.GetCustomRect(), CRect(8, 124, 192, 142));
}

TEST_F(ColorPaletteTest, InvalidatesOldAndNewCells) {
    Open(true);
    host.invalidated.clear();
    palette.SetCurrentColor(palette.Cell(0).GetColor());
    CRect newCell = palette.Cell(0).GetBoundRect(), oldCell = palette.Cell(17).GetBoundRect();
    newCell.InflateRect(2, 2);
    oldCell.InflateRect(2, 2);
    EXPECT_EQ(host.invalidated, (std::vector<CRect>{newCell, oldCell}));
}

TEST_F(ColorPaletteTest, FilesAreEmptyAndUnreadablePathsFail) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("orlimber-palette-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "palette.dat").string();
    {
        std::ofstream junk(path);
        junk << "junk";
    }
    EXPECT_TRUE(palette.SaveToFile(path));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
    EXPECT_TRUE(palette.LoadFromFile(path));
    EXPECT_FALSE(palette.LoadFromFile((dir / "missing").string()));
    EXPECT_FALSE(palette.SaveToFile((dir / "no" / "such" / "dir").string()));
    EXPECT_FALSE(palette.LoadFromFile(dir.string()));
    std::filesystem::remove_all(dir);
}

} // namespace
