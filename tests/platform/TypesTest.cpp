#include "platform/CRect.h"
#include "platform/CrtRandom.h"
#include "platform/TextFormat.h"
#include "platform/WinTypes.h"

#include <gtest/gtest.h>

#include <clocale>

TEST(WinTypes, SizesMatchTheStoredForms) {
    static_assert(sizeof(LONG) == 4 && sizeof(WORD) == 2 && sizeof(DWORD) == 4);
    static_assert(sizeof(RECT) == 16 && sizeof(POINT) == 8);
    EXPECT_EQ(RGB(1, 2, 3), 0x030201u);
    EXPECT_EQ(GetGValue(RGB(1, 2, 3)), 2);
}

TEST(MulDiv, RoundsHalvesAwayFromZero) {
    EXPECT_EQ(MulDiv(5, 1, 2), 3);
    EXPECT_EQ(MulDiv(-5, 1, 2), -3);
    EXPECT_EQ(MulDiv(5, -1, 2), -3);
    EXPECT_EQ(MulDiv(-5, -1, -2), -3);
    EXPECT_EQ(MulDiv(7, 1, 3), 2);
    EXPECT_EQ(MulDiv(8, 1, 3), 3);
    EXPECT_EQ(MulDiv(96, 1000, 1000), 96);
    // The product is 64-bit: no overflow before the division.
    EXPECT_EQ(MulDiv(2000000000, 3, 4), 1500000000);
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
    EXPECT_EQ(MulDiv(2000000000, 2, 1), -1);
}

TEST(CRect, ExclusiveEdgesAndSetOperations) {
    CRect r(10, 20, 30, 60);
    EXPECT_EQ(r.Width(), 20);
    EXPECT_TRUE(r.PtInRect({10, 20}));
    EXPECT_FALSE(r.PtInRect({30, 20}));
    EXPECT_FALSE(r.PtInRect({10, 60}));
    CRect i;
    EXPECT_FALSE(i.IntersectRect(r, CRect(30, 20, 40, 30)));
    EXPECT_TRUE(i.IsRectNull());
    EXPECT_TRUE(i.IntersectRect(r, CRect(25, 0, 40, 25)));
    EXPECT_EQ(i, CRect(25, 20, 30, 25));
    CRect u;
    u.UnionRect(CRect(), r);
    EXPECT_EQ(u, r);
}

TEST(CrtRandom, ReproducesTheCRuntimeSequence) {
    CrtRandom fresh;
    EXPECT_EQ(fresh.rand(), 41);
    CrtRandom r;
    r.srand(1234);
    const int expected[] = {4068, 213, 12761, 8758, 23056};
    for (int e : expected)
        EXPECT_EQ(r.rand(), e);
    r.srand(1234);
    EXPECT_EQ(r.rand(), 4068);
}

TEST(TextFormat, FormatIgnoresTheLocale) {
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") || std::setlocale(LC_NUMERIC, "fr_FR.UTF-8")) {
        EXPECT_EQ(Format("{%3.1f}", 3.0), "{3.0}");
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(Format("{%3.1f}", 2.0), "{2.0}");
    EXPECT_EQ(Format("%s has %d", "grid", 4), "grid has 4");
    EXPECT_EQ(Format("%s", std::string(5000, 'x').c_str()).size(), 5000u);
}

TEST(TextFormat, ParsesWholeNumbersOnly) {
    int i = 7;
    EXPECT_TRUE(ParseInt(" 42 ", i));
    EXPECT_EQ(i, 42);
    EXPECT_TRUE(ParseInt("-3", i));
    EXPECT_EQ(i, -3);
    EXPECT_FALSE(ParseInt("12abc", i));
    EXPECT_FALSE(ParseInt("", i));
    EXPECT_FALSE(ParseInt("99999999999", i));
    EXPECT_EQ(i, -3);
    double d = 0;
    EXPECT_TRUE(ParseDouble("9.5", d));
    EXPECT_DOUBLE_EQ(d, 9.5);
    EXPECT_FALSE(ParseDouble("9,5", d));
}

TEST(TextFormat, Windows1252RoundTrip) {
    EXPECT_EQ(Utf8ToCp1252("caf\xC3\xA9 \xE2\x82\xAC"), "caf\xE9 \x80");
    EXPECT_EQ(Cp1252ToUtf8("caf\xE9 \x80"), "caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(Utf8ToCp1252("\xE4\xB8\xAD"), "?");
    // A cut multi-byte sequence must not read past the end.
    EXPECT_EQ(Utf8ToCp1252("a\xE2\x82"), "a??");
}
