#include "DcTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

TEST(DcState, SelectionHandsBackThePreviousObjectAndSurvivesItsDeletion) {
    RasterFixture f(20, 20);
    CPen red(PS_SOLID, 1, RGB(255, 0, 0));
    CPen* stock = f.dc.SelectObject(&red);
    EXPECT_EQ(stock, CPen::Stock(BLACK_PEN));
    EXPECT_EQ(f.dc.SelectObject(stock), &red);
    EXPECT_FALSE(stock->DeleteObject()); // stock objects stay
    CPen none;
    EXPECT_EQ(f.dc.SelectObject(&none), nullptr); // never created
    {
        CPen temporary(PS_SOLID, 1, RGB(0, 0, 255));
        f.dc.SelectObject(&temporary);
        temporary.DeleteObject();
    }
    // The context keeps what it was given.
    f.dc.MoveTo(0, 0);
    f.dc.LineTo(10, 0);
    EXPECT_EQ(f.At(5, 0), RGB(0, 0, 255));
    EXPECT_NE(f.dc.SelectStockObject(NULL_BRUSH), nullptr);
    EXPECT_EQ(f.dc.SelectStockObject(12345), nullptr);
}

TEST(DcState, SavedStatesBringBackObjectsColoursAndClip) {
    RasterFixture f(20, 20);
    CBrush blue(RGB(0, 0, 255));
    const int level = f.dc.SaveDC();
    f.dc.SelectObject(&blue);
    f.dc.SetTextColor(RGB(1, 2, 3));
    f.dc.SetBkMode(TRANSPARENT);
    f.dc.IntersectClipRect(0, 0, 5, 5);
    f.dc.SaveDC();
    f.dc.SetMapMode(MM_HIENGLISH);
    EXPECT_TRUE(f.dc.RestoreDC(-1));
    EXPECT_EQ(f.dc.GetMapMode(), MM_TEXT);
    EXPECT_EQ(f.dc.GetCurrentBrush(), &blue);
    EXPECT_TRUE(f.dc.RestoreDC(level));
    EXPECT_EQ(f.dc.GetCurrentBrush(), CBrush::Stock(WHITE_BRUSH));
    EXPECT_EQ(f.dc.GetTextColor(), RGB(0, 0, 0));
    EXPECT_EQ(f.dc.GetBkMode(), OPAQUE);
    f.dc.PatBlt(0, 0, 20, 20, BLACKNESS);
    EXPECT_EQ(f.At(15, 15), RGB(0, 0, 0)); // the clip went with the state
    EXPECT_FALSE(f.dc.RestoreDC(1));

    // A region selects a device clip box; none removes it.
    CRgn r;
    r.CreateRectRgn(2, 2, 6, 6);
    f.dc.PatBlt(0, 0, 20, 20, WHITENESS);
    EXPECT_EQ(f.dc.SelectClipRgn(&r), SIMPLEREGION);
    f.dc.PatBlt(0, 0, 20, 20, BLACKNESS);
    EXPECT_EQ(f.InkBox(), CRect(2, 2, 6, 6));
    EXPECT_EQ(f.dc.GetPixel(10, 10), CLR_INVALID);
    f.dc.SelectClipRgn(nullptr);
    EXPECT_EQ(f.dc.GetPixel(10, 10), RGB(255, 255, 255));
}

TEST(DcState, MemoryContextsSwitchBitmapsAndDrawIntoTheCallersMemory) {
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    CBitmap a, b;
    a.CreateBitmap32(8, 8);
    b.CreateCompatibleBitmap(&dc, 8, 8);
    CBitmap* first = dc.SelectObject(&a);
    ASSERT_NE(first, nullptr);
    dc.PatBlt(0, 0, 8, 8, BLACKNESS);
    EXPECT_EQ(dc.SelectObject(&b), &a);
    dc.SetPixel(1, 1, RGB(9, 9, 9));
    dc.SelectObject(first);
    BITMAP info;
    ASSERT_GT(a.GetBitmap(&info), 0);
    EXPECT_EQ(info.bmWidth, 8);
    EXPECT_EQ(info.bmBitsPixel, 32);
    EXPECT_EQ(static_cast<const std::uint8_t*>(info.bmBits)[0], 0);
    EXPECT_EQ(b.Bits()[b.Stride() + 4], 9);

    // Pixels the image library owns, drawn into in place.
    std::vector<std::uint8_t> memory(16 * 4 * 4, 0xFF);
    CBitmap over;
    ASSERT_TRUE(over.CreateOver(memory.data(), 4, 4, 16));
    dc.SelectObject(&over);
    dc.SetPixel(2, 3, RGB(10, 20, 30));
    dc.Flush();
    EXPECT_EQ(memory[3 * 16 + 2 * 4 + 0], 30); // blue, green, red
    EXPECT_EQ(memory[3 * 16 + 2 * 4 + 2], 10);
    CBitmap bad;
    EXPECT_FALSE(bad.CreateOver(memory.data(), 4, 4, 8)); // rows shorter than the width
    EXPECT_FALSE(bad.CreateBitmap32(0, 5));
    EXPECT_FALSE(bad.CreateBitmap32(40000, 100));
    EXPECT_FALSE(bad.CreateBitmap32(30000, 30000)); // 3.6 GB: refused before allocating
}

TEST(DcState, FontsScaleWithTheMappingAndReportPrinterCapsOnlyForPrinters) {
    // An export renders through an anisotropic mapping ten units to the pixel.
    RasterFixture f(200, 100);
    f.dc.SetMapMode(MM_ANISOTROPIC);
    f.dc.SetWindowExt(2000, -1000);
    f.dc.SetViewportExt(200, 100);
    CFont font;
    font.CreateFont(-300, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    f.dc.SelectObject(&font);
    TEXTMETRIC tm;
    f.dc.GetTextMetrics(&tm);
    EXPECT_NEAR(tm.tmAscent + tm.tmDescent, 340, 20); // logical units again
    f.dc.SetBkMode(TRANSPARENT);
    f.dc.TextOut(0, 0, "Hg");
    const CRect ink = f.InkBox();
    EXPECT_GE(ink.Height(), 25); // about 30 pixels of character height
    EXPECT_LE(ink.Height(), 36);

    // The default font keeps its pixel size in any mapping.
    RasterFixture g(100, 40);
    g.dc.SetMapMode(MM_HIENGLISH);
    g.dc.SetBkMode(TRANSPARENT);
    g.dc.TextOut(0, 0, "Hg");
    EXPECT_GE(g.InkBox().Height(), 10);

    CFont points;
    CDC* dc = &f.dc;
    f.dc.SetMapMode(MM_HIENGLISH);
    points.CreatePointFont(120, "Courier", dc);
    EXPECT_NEAR(points.Log().lfHeight, -167, 3); // 12 points in thousandths of an inch
    EXPECT_EQ(f.dc.GetDeviceCaps(PHYSICALOFFSETX), 0);
    EXPECT_EQ(f.dc.GetDeviceCaps(TECHNOLOGY), DT_RASDISPLAY);
    EXPECT_NE(f.dc.GetDeviceCaps(RASTERCAPS) & RC_STRETCHBLT, 0);
}

TEST(DcState, ScrollingCopiesWithinOneSurfaceAndMirrorsBackwardRectangles) {
    RasterFixture f(10, 10);
    for (int y = 0; y < 10; ++y)
        f.dc.SetPixel(0, y, RGB(y, 0, 0));
    // Overlapping copy downward within the same picture keeps every row.
    f.dc.BitBlt(0, 1, 10, 9, &f.dc, 0, 0, SRCCOPY);
    for (int y = 1; y < 10; ++y)
        EXPECT_EQ(f.At(0, y), RGB(y - 1, 0, 0)) << y;
    RasterFixture m(10, 10);
    // A rectangle running right to left, from x = 9 back to (not including) x = -1.
    m.dc.PatBlt(0, 0, 10, 10, BLACKNESS);
    m.dc.StretchBlt(9, 0, -10, 10, &f.dc, 0, 0, 10, 10, SRCCOPY);
    EXPECT_EQ(m.At(8, 5), RGB(4, 0, 0));
    EXPECT_EQ(m.At(0, 5), RGB(255, 255, 255));
    EXPECT_EQ(m.At(9, 5), RGB(0, 0, 0));
}

TEST(DcState, TextPrefixesOpaqueBackgroundsAndBottomAlignment) {
    RasterFixture f(200, 60);
    CFont font;
    font.CreateFont(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    f.dc.SelectObject(&font);
    EXPECT_EQ(f.dc.GetTextExtent("Save").cx, [&] {
        CRect r(0, 0, 0, 0);
        f.dc.DrawText("&Save", &r, DT_CALCRECT | DT_SINGLELINE);
        return r.right;
    }());
    CRect amp(0, 0, 0, 0), plain(0, 0, 0, 0);
    f.dc.DrawText("A&&B", &amp, DT_CALCRECT | DT_SINGLELINE);
    f.dc.DrawText("A&B", &plain, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(amp.right, plain.right);

    f.dc.SetBkColor(RGB(0, 255, 0));
    CRect box(10, 10, 190, 50);
    f.dc.DrawText("Opaque", &box, DT_SINGLELINE | DT_BOTTOM | DT_RIGHT);
    const CRect ink = f.InkBox();
    EXPECT_EQ(ink.bottom, 50);
    EXPECT_EQ(ink.right, 190);
    EXPECT_EQ(f.At(ink.right - 1, ink.bottom - 1), RGB(0, 255, 0));
}
