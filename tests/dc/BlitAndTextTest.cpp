#include "DcTestSupport.h"

#include "platform/RasterSurface.h"
#include "platform/TextEngine.h"

#include <gtest/gtest.h>

TEST(DcBlits, CopiesStretchesPatternsAndPixelsBetweenRasters) {
    RasterFixture src(20, 20);
    src.dc.SetPixel(3, 4, RGB(10, 20, 30));
    EXPECT_EQ(src.dc.GetPixel(3, 4), RGB(10, 20, 30));
    EXPECT_EQ(src.dc.GetPixel(20, 4), CLR_INVALID);
    RasterFixture dst(40, 40);
    dst.dc.PatBlt(0, 0, 40, 40, BLACKNESS);
    dst.dc.BitBlt(10, 10, 20, 20, &src.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(dst.At(13, 14), RGB(10, 20, 30));
    EXPECT_EQ(dst.At(10, 10), RGB(255, 255, 255));
    EXPECT_EQ(dst.At(9, 10), RGB(0, 0, 0));
    EXPECT_EQ(dst.At(30, 30), RGB(0, 0, 0));

    dst.dc.StretchBlt(0, 0, 40, 40, &src.dc, 0, 0, 20, 20, SRCCOPY);
    EXPECT_EQ(dst.At(6, 8), RGB(10, 20, 30));
    EXPECT_EQ(dst.At(7, 9), RGB(10, 20, 30));
    EXPECT_EQ(dst.At(8, 8), RGB(255, 255, 255));

    CBrush green(RGB(0, 255, 0));
    dst.dc.SelectObject(&green);
    dst.dc.PatBlt(0, 0, 5, 5, PATCOPY);
    EXPECT_EQ(dst.At(4, 4), RGB(0, 255, 0));
    dst.dc.PatBlt(0, 0, 5, 5, WHITENESS);
    EXPECT_EQ(dst.At(4, 4), RGB(255, 255, 255));

    // A clip rectangle holds back every kind of drawing.
    dst.dc.IntersectClipRect(0, 0, 10, 10);
    dst.dc.PatBlt(0, 0, 40, 40, BLACKNESS);
    EXPECT_EQ(dst.At(9, 9), RGB(0, 0, 0));
    EXPECT_NE(dst.At(12, 12), RGB(0, 0, 0));
    CRect clip;
    EXPECT_EQ(dst.dc.GetClipBox(&clip), SIMPLEREGION);
    EXPECT_EQ(clip, CRect(0, 0, 10, 10));
}

// A picture's size comes from outside: both kinds of surface refuse the same impossible sizes
// before asking for memory.
TEST(DcBlits, SurfacesOfBothKindsRefuseTheSameSizes) {
    using Factory = std::shared_ptr<RasterSurface> (*)(int, int);
    for (Factory make :
         {Factory(&RasterSurface::Create), Factory(&RasterSurface::CreateWithAlpha)}) {
        EXPECT_EQ(make(0, 5), nullptr);
        EXPECT_EQ(make(5, -1), nullptr);
        EXPECT_EQ(make(32768, 1), nullptr);
        EXPECT_EQ(make(20000, 20000), nullptr); // 1.6 GB of pixels
        const auto small = make(3, 2);
        ASSERT_NE(small, nullptr);
        EXPECT_EQ(small->Rect(), CRect(0, 0, 3, 2));
    }
}

TEST(DcBlits, FocusRectanglesUndoThemselvesAndEdgesUseTheButtonColours) {
    RasterFixture f(30, 30);
    CRect r(2, 2, 20, 12);
    f.dc.DrawFocusRect(&r);
    EXPECT_EQ(f.At(2, 2), RGB(0, 0, 0));
    EXPECT_TRUE(f.IsWhite(3, 2));
    f.dc.DrawFocusRect(&r);
    EXPECT_EQ(f.CountNonWhite(), 0);

    CRect e(0, 14, 20, 30);
    f.dc.DrawEdge(&e, EDGE_SUNKEN, BF_RECT | BF_MIDDLE);
    EXPECT_EQ(f.At(0, 14), RGB(128, 128, 128));  // outer shadow, top left
    EXPECT_EQ(f.At(19, 29), RGB(255, 255, 255)); // outer highlight, bottom right
    EXPECT_EQ(f.At(1, 15), RGB(64, 64, 64));     // inner dark shadow
    EXPECT_EQ(f.At(10, 22), RGB(212, 208, 200)); // face
}

TEST(DcText, FormattedTextStaysInItsRectangle) {
    RasterFixture f(300, 200);
    CFont font;
    font.CreateFont(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    f.dc.SelectObject(&font);
    f.dc.SetBkMode(TRANSPARENT);
    CRect r(20, 20, 140, 60);
    const int h = f.dc.DrawText("Maze", &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EXPECT_GE(h, 16);
    EXPECT_LE(h, 20);
    const CRect ink = f.InkBox();
    ASSERT_FALSE(ink.IsRectEmpty());
    CRect inside;
    inside.IntersectRect(ink, r);
    EXPECT_EQ(inside, ink);
    EXPECT_NEAR((ink.left + ink.right) / 2.0, 80, 2); // centred
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 40, 4);

    // Measuring grows the rectangle to the text; word breaking stacks the lines.
    CRect calc(0, 0, 1000, 0);
    f.dc.DrawText("one two three four", &calc, DT_CALCRECT | DT_SINGLELINE);
    const CSize extent = f.dc.GetTextExtent("one two three four");
    EXPECT_NEAR(calc.right, extent.cx, 1);
    CRect narrow(0, 0, 60, 0);
    const int tall = f.dc.DrawText("one two three four", &narrow, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_GE(tall, 3 * h - 3);
    EXPECT_LE(narrow.right, 60);

    // Edit-control wrapping breaks a word that is wider than the line; plain wrapping leaves it.
    CRect word(0, 0, 30, 0);
    const int broken =
        f.dc.DrawText("Labyrinthine", &word, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL);
    EXPECT_GT(broken, h);
    CRect whole(0, 0, 30, 0);
    EXPECT_EQ(f.dc.DrawText("Labyrinthine", &whole, DT_CALCRECT | DT_WORDBREAK), h);
    EXPECT_GT(whole.right, 30);

    // Clipped to the rectangle unless told otherwise.
    RasterFixture g(200, 60);
    g.dc.SelectObject(&font);
    CRect tight(10, 10, 30, 30);
    g.dc.DrawText("Wide text here", &tight, DT_LEFT | DT_SINGLELINE);
    EXPECT_LE(g.InkBox().right, 30);
    RasterFixture k(200, 60);
    k.dc.SelectObject(&font);
    k.dc.SetBkMode(TRANSPARENT);
    k.dc.DrawText("Wide text here", &tight, DT_LEFT | DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(k.InkBox().right, 60);
}

TEST(DcText, CreditLineInThousandthsLandsInItsBandAtBothResolutions) {
    for (int dpi : {96, 600}) {
        const int w = 7500 * dpi / 1000 + 1, h = 9500 * dpi / 1000 + 1;
        RasterFixture f(w, h, dpi);
        f.dc.SetMapMode(MM_HIENGLISH);
        CFont font;
        font.CreateFont(125, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0x30, "Courier");
        f.dc.SelectObject(&font);
        f.dc.SetBkMode(TRANSPARENT);
        CRect band(0, 250 - 9499, 7499, -9499);
        f.dc.DrawText("Made with Orlimber", &band, DT_CENTER | DT_NOCLIP);
        CRect device = band;
        f.dc.LPtoDP(&device);
        device.NormalizeRect();
        const CRect ink = f.InkBox();
        ASSERT_FALSE(ink.IsRectEmpty()) << dpi;
        EXPECT_GE(ink.top, device.top) << dpi;
        EXPECT_LE(ink.bottom, device.bottom + 1) << dpi;
        EXPECT_NEAR((ink.left + ink.right) / 2.0, device.CenterPoint().x, 2 + dpi / 96) << dpi;
        // A cell height of 125 thousandths: the text stands a little under that.
        EXPECT_LE(ink.Height(), 125 * dpi / 1000 + 1) << dpi;
        EXPECT_GE(ink.Height(), 60 * dpi / 1000) << dpi;
    }
}

TEST(DcText, TextOutAlignsAndTurnsWithEscapement) {
    RasterFixture f(200, 200);
    CFont font;
    font.CreateFont(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, "Times New Roman");
    f.dc.SelectObject(&font);
    f.dc.SetBkMode(TRANSPARENT);
    f.dc.SetTextAlign(TA_RIGHT | TA_BOTTOM);
    f.dc.TextOut(100, 100, "Hi");
    CRect ink = f.InkBox();
    EXPECT_LE(ink.right, 101);
    EXPECT_LE(ink.bottom, 101);
    EXPECT_GT(ink.Width(), 8);

    RasterFixture g(200, 200);
    CFont up;
    up.CreateFont(-20, 0, 900, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    g.dc.SelectObject(&up);
    g.dc.SetBkMode(TRANSPARENT);
    g.dc.TextOut(100, 150, "Rising text");
    ink = g.InkBox();
    // Runs upward from the point, the tops of the letters facing left.
    EXPECT_GT(ink.Height(), 3 * ink.Width());
    EXPECT_LE(ink.bottom, 151);
    EXPECT_GE(ink.left, 99);
    EXPECT_LE(ink.right, 125);

    TEXTMETRIC tm;
    ASSERT_TRUE(f.dc.GetTextMetrics(&tm));
    EXPECT_GE(tm.tmHeight, 20);
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    EXPECT_EQ(tm.tmWeight, FW_BOLD);
}

TEST(DcBlits, PixelBlocksArriveUprightFromEitherRowOrder) {
    // A 2 x 2 block, 24-bit, stored bottom-up with padded rows: red over blue.
    const std::uint8_t rows[] = {255, 0, 0,   255, 0, 0,   0, 0,  // bottom row: blue, blue
                                 0,   0, 255, 0,   0, 255, 0, 0}; // top row: red, red
    RasterFixture f(10, 10);
    f.dc.SetMapMode(MM_HIENGLISH);
    CPoint at(3, 4);
    f.dc.DPtoLP(&at);
    ASSERT_TRUE(f.dc.DrawPixels(at.x, at.y, 2, 2, rows + 8, -8, 24));
    EXPECT_EQ(f.At(3, 4), RGB(255, 0, 0));
    EXPECT_EQ(f.At(4, 5), RGB(0, 0, 255));
    EXPECT_TRUE(f.IsWhite(5, 5));
    EXPECT_FALSE(f.dc.DrawPixels(0, 0, 2, 2, rows, 5, 24)); // rows shorter than the width
}

TEST(DcText, ProgramFacesResolveToMetricCompatibleInstalledFaces) {
    EXPECT_EQ(TextEngine::MapFace("Courier"), "Liberation Mono");
    EXPECT_EQ(TextEngine::MapFace("Times New Roman"), "Liberation Serif");
    EXPECT_EQ(TextEngine::MapFace("ARIAL"), "Liberation Sans");
    // Courier's advance is 0.6 of the character height: ten letters at 100 pixels take 600.
    RasterFixture f(10, 10);
    CFont courier;
    courier.CreateFont(-100, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Courier");
    f.dc.SelectObject(&courier);
    EXPECT_NEAR(f.dc.GetTextExtent("MMMMMiiiii").cx, 600, 1);
    // Arial's digits are 0.556 of the character height.
    CFont arial;
    arial.CreateFont(-100, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    f.dc.SelectObject(&arial);
    EXPECT_NEAR(f.dc.GetTextExtent("0123456789").cx, 556, 2);
    // A positive height asks for the whole cell.
    CFont cell;
    cell.CreateFont(100, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    f.dc.SelectObject(&cell);
    TEXTMETRIC tm;
    f.dc.GetTextMetrics(&tm);
    EXPECT_NEAR(tm.tmHeight, 100, 1);
    EXPECT_GT(tm.tmInternalLeading, 5);
}

// A destination far beyond the device range is clipped before it is scaled: what shows is
// at the picture's true scale (the split between two source pixels lands where it should),
// mirrored when the destination runs backwards, and a corner past the integer limit in
// logical units neither wraps nor mirrors the copy.
TEST(DcBlits, AStretchFarLargerThanTheDeviceShowsItsVisiblePartAtTrueScale) {
    RasterFixture src(2, 1);
    src.dc.SetPixel(0, 0, RGB(255, 0, 0));
    src.dc.SetPixel(1, 0, RGB(0, 0, 255));
    RasterFixture dst(100, 10);
    // Two billion pixels wide, its middle at x = 50.
    dst.dc.StretchBlt(-999'999'950, 0, 2'000'000'000, 10, &src.dc, 0, 0, 2, 1, SRCCOPY);
    EXPECT_EQ(dst.At(0, 5), RGB(255, 0, 0));
    EXPECT_EQ(dst.At(49, 5), RGB(255, 0, 0));
    EXPECT_EQ(dst.At(50, 5), RGB(0, 0, 255));
    EXPECT_EQ(dst.At(99, 5), RGB(0, 0, 255));
    dst.dc.StretchBlt(1'000'000'050, 0, -2'000'000'000, 10, &src.dc, 0, 0, 2, 1, SRCCOPY);
    EXPECT_EQ(dst.At(49, 5), RGB(0, 0, 255));
    EXPECT_EQ(dst.At(50, 5), RGB(255, 0, 0));

    // Down a tall surface the visible part arrives in bands; the split still lands at 300.
    RasterFixture column(3, 600);
    RasterFixture pair(1, 2);
    pair.dc.SetPixel(0, 0, RGB(255, 0, 0));
    pair.dc.SetPixel(0, 1, RGB(0, 0, 255));
    column.dc.StretchBlt(0, -999'999'700, 3, 2'000'000'000, &pair.dc, 0, 0, 1, 2, SRCCOPY);
    EXPECT_EQ(column.At(1, 0), RGB(255, 0, 0));
    EXPECT_EQ(column.At(1, 299), RGB(255, 0, 0));
    EXPECT_EQ(column.At(1, 300), RGB(0, 0, 255));
    EXPECT_EQ(column.At(2, 599), RGB(0, 0, 255));
    EXPECT_EQ(column.CountNonWhite(), 3 * 600);

    RasterFixture page(100, 10);
    page.dc.SetMapMode(MM_ANISOTROPIC);
    page.dc.SetWindowExt(2'000'000'000, 10);
    page.dc.SetViewportExt(100, 10);
    // Logical 1.9e9 + 0.4e9 is past INT_MAX; on the device it is x = 95..115.
    page.dc.StretchBlt(1'900'000'000, 0, 400'000'000, 10, &src.dc, 0, 0, 2, 1, SRCCOPY);
    EXPECT_EQ(page.At(94, 5), RGB(255, 255, 255));
    EXPECT_EQ(page.At(95, 5), RGB(255, 0, 0));
    EXPECT_EQ(page.At(99, 5), RGB(255, 0, 0));
    EXPECT_EQ(page.CountNonWhite(), 5 * 10);
}
