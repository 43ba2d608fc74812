#include "tests/view/ViewTestSupport.h"

#include "platform/CDC.h"
#include "platform/SysColor.h"
#include "view/ViewOverlay.h"

#include <functional>

namespace {

// A part that fills a client rectangle, and may run something while it draws.
class FillPart : public IOverlayPart {
public:
    FillPart(CRect r, COLORREF c) : rect(r), colour(c) {}
    void DrawOverlay(CDC& dc) override {
        ++draws;
        // Left in a mapping of its own: the next part must not inherit it.
        dc.SetMapMode(MM_HIENGLISH);
        dc.SetMapMode(MM_TEXT);
        dc.FillSolidRect(&rect, colour);
        dc.SetViewportOrg(500, 500);
        if (during)
            during();
    }
    CRect rect;
    COLORREF colour;
    int draws = 0;
    std::function<void()> during;
};

class ViewOverlayTest : public ViewTest {};

// The client picture is the page under the scroll position, the workspace colour beyond the
// page, and the parts on top in client pixels; a partial paint leaves the rest alone.
TEST_F(ViewOverlayTest, ComposesTheVisiblePageAndThePartsInClientPixels) {
    CGridloomDoc& doc = NewDoc(0, 6, 4);
    CGridloomView& view = ViewOf(doc);
    RasterSurface* page = view.PaintScreen();
    ASSERT_NE(page, nullptr);
    // Marks on the page at known pixels.
    page->Row(40)[30] = 0xFF123456;
    page->Row(page->Height() - 1)[page->Width() - 1] = 0xFF654321;
    page->MarkDirty();

    window_.scroll = CPoint(20, 30);
    window_.client = CSize(page->Width() - 20 + 15, 200);
    FillPart red(CRect(5, 6, 9, 8), RGB(255, 0, 0));
    FillPart blue(CRect(7, 6, 12, 8), RGB(0, 0, 255));
    view.Overlay().Add(red);
    view.Overlay().Add(blue);
    view.Overlay().Add(red); // once only
    RasterSurface* shown = view.PaintClient(CRect(0, 0, 10000, 10000));
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->Width(), window_.client.cx);
    EXPECT_EQ(shown->Height(), window_.client.cy);
    EXPECT_EQ(red.draws, 1);
    EXPECT_EQ(shown->Row(10)[10] & 0xFFFFFF, 0x123456u);
    const std::uint32_t outside = RasterSurface::ToPixel(GetSysColor(COLOR_APPWORKSPACE));
    EXPECT_EQ(shown->Row(0)[window_.client.cx - 1], outside);
    const std::uint32_t paper = page->Row(30)[page->Width() - 1];
    EXPECT_EQ(shown->Row(0)[window_.client.cx - 16], paper);
    EXPECT_EQ(shown->Row(6)[5] & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(shown->Row(7)[8] & 0xFFFFFF, 0x0000FFu); // blue drawn later, on top
    EXPECT_EQ(shown->Row(6)[11] & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(shown->Row(8)[8], page->Row(38)[28]);

    // The page itself never received the parts.
    EXPECT_NE(page->Row(36)[25] & 0xFFFFFF, 0xFF0000u);

    // A paint of one corner: the parts are clipped to it and the rest stays as composed.
    view.Overlay().Remove(blue);
    red.rect = CRect(0, 0, 50, 50);
    shown = view.PaintClient(CRect(0, 0, 3, 3));
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->Row(2)[2] & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(shown->Row(3)[3], page->Row(33)[23]);
    EXPECT_EQ(shown->Row(7)[8] & 0xFFFFFF, 0x0000FFu);

    // Scrolled to the page's end the last page pixel is the client's, then the workspace.
    view.Overlay().Remove(red);
    window_.scroll = CPoint(page->Width() - 10, page->Height() - 10);
    shown = view.PaintClient(CRect(0, 0, 10000, 10000));
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->Row(9)[9] & 0xFFFFFF, 0x654321u);
    EXPECT_EQ(shown->Row(9)[10], outside);
    EXPECT_EQ(shown->Row(10)[9], outside);
}

TEST_F(ViewOverlayTest, APartMayRemoveItselfOrAnotherWhileDrawing) {
    CGridloomDoc& doc = NewDoc(0, 4, 4);
    CGridloomView& view = ViewOf(doc);
    FillPart first(CRect(0, 0, 4, 4), RGB(0, 255, 0));
    FillPart second(CRect(0, 0, 4, 4), RGB(255, 0, 0));
    view.Overlay().Add(first);
    view.Overlay().Add(second);
    first.during = [&] {
        view.Overlay().Remove(first);
        view.Overlay().Remove(second);
    };
    RasterSurface* shown = view.PaintClient(CRect(0, 0, 100, 100));
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(first.draws, 1);
    EXPECT_EQ(second.draws, 0);
    EXPECT_FALSE(view.Overlay().Contains(first));
    EXPECT_FALSE(view.Overlay().Contains(second));
    EXPECT_EQ(shown->Row(1)[1] & 0xFFFFFF, 0x00FF00u);

    // No client, no picture; no grids, no picture.
    window_.client = CSize(0, 10);
    EXPECT_EQ(view.PaintClient(CRect(0, 0, 100, 100)), nullptr);
}

} // namespace
