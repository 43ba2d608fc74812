#include "platform/CHOOSEFONT.h"
#include "platform/LOGFONT.h"
#include "platform/LittleEndian.h"

#include <gtest/gtest.h>

TEST(FontLayouts, LogFontFieldsSitAtTheirOffsets) {
    LOGFONT f;
    f.lfHeight = -167;
    f.lfWidth = 2;
    f.lfEscapement = 900;
    f.lfOrientation = 4;
    f.lfWeight = 700;
    f.lfItalic = 1;
    f.lfUnderline = 2;
    f.lfStrikeOut = 3;
    f.lfCharSet = 4;
    f.lfOutPrecision = 5;
    f.lfClipPrecision = 6;
    f.lfQuality = 7;
    f.lfPitchAndFamily = 8;
    f.SetFaceName("Arial");
    const auto b = f.ToBytes();
    static_assert(std::tuple_size_v<decltype(b)> == 60);
    EXPECT_EQ(GetLittleEndian<LONG>(&b[0]), -167);
    EXPECT_EQ(b[0], 0x59);
    EXPECT_EQ(b[3], 0xFF);
    EXPECT_EQ(GetLittleEndian<LONG>(&b[8]), 900);
    EXPECT_EQ(GetLittleEndian<LONG>(&b[16]), 700);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(b[20 + i], i + 1);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[28]), 5), "Arial");
    EXPECT_EQ(b[33], 0);
    EXPECT_EQ(LOGFONT::FromBytes(b), f);
}

TEST(FontLayouts, FaceNameIsWindows1252AndAlwaysTerminated) {
    LOGFONT f;
    f.SetFaceName("Caf\xC3\xA9 \xE2\x82\xAC");
    const auto b = f.ToBytes();
    EXPECT_EQ(b[28 + 3], 0xE9);
    EXPECT_EQ(b[28 + 5], 0x80);
    EXPECT_EQ(f.FaceName(), "Caf\xC3\xA9 \xE2\x82\xAC");

    f.SetFaceName(std::string(40, 'x'));
    EXPECT_EQ(f.FaceName(), std::string(31, 'x'));
    EXPECT_EQ(f.ToBytes()[59], 0);

    // A stored name that fills all 32 bytes (no terminator) reads without running past.
    auto full = f.ToBytes();
    full[59] = 'y';
    EXPECT_EQ(LOGFONT::FromBytes(full).FaceName(), std::string(31, 'x') + "y");
}

TEST(FontLayouts, ChooseFontFieldsSitAtTheirOffsets) {
    CHOOSEFONT c;
    c.lpLogFont = 0x00123456;
    c.iPointSize = 120;
    c.Flags = 0x102;
    c.rgbColors = RGB(1, 2, 3);
    c.lCustData = -5;
    c.lpszStyle = 0xAABBCCDD;
    c.nFontType = 0x2001;
    c.wReserved = 0x1234;
    c.nSizeMin = 8;
    c.nSizeMax = -72;
    const auto b = c.ToBytes();
    static_assert(std::tuple_size_v<decltype(b)> == 60);
    EXPECT_EQ(GetLittleEndian<DWORD>(&b[0]), 60u);
    EXPECT_EQ(GetLittleEndian<DWORD>(&b[12]), 0x00123456u);
    EXPECT_EQ(GetLittleEndian<INT>(&b[16]), 120);
    EXPECT_EQ(GetLittleEndian<DWORD>(&b[20]), 0x102u);
    EXPECT_EQ(b[24], 1);
    EXPECT_EQ(b[26], 3);
    EXPECT_EQ(GetLittleEndian<LPARAM>(&b[28]), -5);
    EXPECT_EQ(GetLittleEndian<DWORD>(&b[44]), 0xAABBCCDDu);
    EXPECT_EQ(GetLittleEndian<WORD>(&b[48]), 0x2001);
    EXPECT_EQ(GetLittleEndian<WORD>(&b[50]), 0x1234);
    EXPECT_EQ(GetLittleEndian<INT>(&b[52]), 8);
    EXPECT_EQ(GetLittleEndian<INT>(&b[56]), -72);
    EXPECT_EQ(CHOOSEFONT::FromBytes(b), c);
}
