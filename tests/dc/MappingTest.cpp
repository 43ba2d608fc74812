#include "DcTestSupport.h"

#include "platform/CoordinateMapping.h"
#include "platform/CrtRandom.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(DcMapping, HiEnglishRoundsAndFlipsAtScreenAndPrinterResolutions) {
    RasterFixture f(10, 10, 96);
    f.dc.SetMapMode(MM_HIENGLISH);
    // One device pixel is 10.4 thousandths of an inch; y grows upward.
    CPoint p(1, 1);
    f.dc.DPtoLP(&p);
    EXPECT_EQ(p, CPoint(10, -10));
    CPoint q(7499, -9499);
    f.dc.LPtoDP(&q);
    EXPECT_EQ(q, CPoint(720, 912)); // 719.9 and 911.9 round to nearest
    // Sizes keep their sign: the view asks for (cell width, -cell height).
    CSize s(250, 250);
    f.dc.LPtoDP(&s);
    EXPECT_EQ(s, CSize(24, 24));

    f.dc.SetDeviceResolution(600, 600);
    CPoint r(1000, -2000);
    f.dc.LPtoDP(&r);
    EXPECT_EQ(r, CPoint(600, 1200));
}

TEST(DcMapping, RoundTripsStayWithinOneDevicePixel) {
    for (int dpi : {96, 150, 300, 600}) {
        RasterFixture f(4, 4, dpi);
        f.dc.SetMapMode(MM_HIENGLISH);
        f.dc.SetViewportOrg(13, 7);
        f.dc.SetWindowOrg(-250, 40);
        for (int x = -3000; x <= 9000; x += 137) {
            CPoint d(x, -x / 2);
            f.dc.LPtoDP(&d);
            CPoint back = d;
            f.dc.DPtoLP(&back);
            CPoint again = back;
            f.dc.LPtoDP(&again);
            EXPECT_EQ(again, d) << "dpi " << dpi << " x " << x;
            EXPECT_LE(std::abs(back.x - x) * dpi, 1000) << "dpi " << dpi;
        }
    }
}

TEST(DcMapping, AnisotropicExtentsOriginsAndSavedStates) {
    RasterFixture f(10, 10);
    f.dc.SetMapMode(MM_TEXT);
    EXPECT_EQ(f.dc.SetWindowExt(5, 5), CSize(1, 1)); // ignored outside the free modes
    EXPECT_EQ(f.dc.GetWindowExt(), CSize(1, 1));
    const int saved = f.dc.SaveDC();
    f.dc.SetMapMode(MM_ANISOTROPIC);
    f.dc.SetWindowExt(7500, -10000);
    f.dc.SetViewportExt(750, 1000);
    CPoint p(7500, -10000);
    f.dc.LPtoDP(&p);
    EXPECT_EQ(p, CPoint(750, 1000));
    CRect r(0, 0, 15, -25);
    f.dc.LPtoDP(&r);
    EXPECT_EQ(r, CRect(0, 0, 2, 3)); // 1.5 and 2.5 round away from zero
    f.dc.SetViewportOrg(100, 50);
    EXPECT_EQ(f.dc.OffsetViewportOrg(1, 2), CPoint(100, 50));
    EXPECT_EQ(f.dc.GetViewportOrg(), CPoint(101, 52));
    ASSERT_TRUE(f.dc.RestoreDC(saved));
    EXPECT_EQ(f.dc.GetMapMode(), MM_TEXT);
    EXPECT_EQ(f.dc.GetViewportOrg(), CPoint(0, 0));
    EXPECT_FALSE(f.dc.RestoreDC(saved)); // already taken
    EXPECT_EQ(f.dc.GetDeviceCaps(LOGPIXELSX), 96);
    EXPECT_EQ(f.dc.GetDeviceCaps(HORZRES), 10);
}

namespace {

// Rounded to nearest with halves away from zero, in exact 128-bit arithmetic.
long long Reference(long long v, long long num, long long den) {
    const __int128 p = static_cast<__int128>(v) * num;
    const __int128 ap = p < 0 ? -p : p, ad = den < 0 ? -den : den;
    const __int128 q = (2 * ap + ad) / (2 * ad);
    const __int128 r = ((p < 0) != (den < 0)) ? -q : q;
    return static_cast<long long>(std::clamp<__int128>(r, INT32_MIN, INT32_MAX));
}

} // namespace

// Every drawn point is scaled, small products by a quicker division than large ones: both
// must round alike, at the edge between them too.
TEST(DcMapping, ScalingRoundsAlikeForSmallAndLargeProducts) {
    CrtRandom random;
    random.srand(5);
    auto wide = [&] {
        const unsigned bits = (unsigned(random.rand()) << 17) ^ (unsigned(random.rand()) << 2) ^
                              unsigned(random.rand());
        return static_cast<LONG>(bits & 0x7FFFFFFFu);
    };
    const LONG edges[] = {1, 2, 3, 65535, 65536, 65537, 46341, 2147483647};
    for (int i = 0; i < 20000; ++i) {
        const LONG v = i % 3 == 0 ? edges[i % 8] * (i % 2 ? -1 : 1) : wide() - (1 << 30);
        const LONG num = i % 5 == 0 ? edges[(i / 5) % 8] : wide() % 100000 - 50000;
        const LONG den = i % 7 == 0 ? edges[(i / 7) % 8] : wide() % 100000 - 50000;
        if (num == 0 || den == 0)
            continue;
        CoordinateMapping m(96, 96);
        m.SetMapMode(MM_ANISOTROPIC);
        m.SetWindowExt({den, den});
        m.SetViewportExt({num, num});
        const CPoint d = m.ToDevice({v, 0});
        ASSERT_EQ(d.x, Reference(v, num, den)) << v << " * " << num << " / " << den;
    }
}
