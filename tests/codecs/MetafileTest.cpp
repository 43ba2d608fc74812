// Placeable WMF and EMF pictures: sizes, shapes on known pixels, agreement with the
// independent metafile converters, and hostile records that must fail or play bounded.
#include "ExternalTools.h"
#include "MetafileBombs.h"
#include "MetafileBuilder.h"

#include "image/core/CRaster.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kWhite = RGB(255, 255, 255);
constexpr COLORREF kYellow = RGB(255, 255, 0), kBlack = RGB(0, 0, 0);

// The colour at x from the left, y from the top.
COLORREF At(const CRaster& image, LONG x, LONG top) {
    return image.GetPixelColor(x, LONG(image.GetHeight()) - 1 - top, false).ToColorRef();
}

CRaster Load(const std::vector<BYTE>& bytes) {
    CRaster image;
    EXPECT_TRUE(image.DecodeFromMemory(bytes, CRaster::kTypeWmf)) << image.GetLastError();
    return image;
}

TEST(Metafile, SizesFollowTheHeaders) {
    // 1440 units per inch: 2880 x 1440 units are 2 x 1 inches, 192 x 96 pixels.
    CRaster placeable = Load(WmfBuilder().Finish(0, 0, 2880, 1440, 1440));
    EXPECT_EQ(placeable.GetWidth(), 192u);
    EXPECT_EQ(placeable.GetHeight(), 96u);
    EXPECT_EQ(placeable.GetBpp(), 24);
    EXPECT_EQ(placeable.GetType(), DWORD(CRaster::kTypeWmf));
    EXPECT_EQ(At(placeable, 100, 50), kWhite);

    CRaster wide = Load(EmfBuilder().Finish(0, 0, 8000, 2000));
    EXPECT_EQ(wide.GetWidth(), 4000u);
    EXPECT_EQ(wide.GetHeight(), 1000u);
    CRaster tall = Load(EmfBuilder().Finish(0, 0, 10, 9000));
    EXPECT_EQ(tall.GetWidth(), 4u);
    EXPECT_EQ(tall.GetHeight(), 4000u);
    CRaster thin = Load(EmfBuilder().Finish(0, 0, 9000, 1));
    EXPECT_EQ(thin.GetHeight(), 1u);

    CRaster header;
    header.SetEscape(-1);
    ASSERT_TRUE(header.DecodeFromMemory(WmfBuilder().Finish(0, 0, 2880, 1440, 1440), 0));
    EXPECT_EQ(header.GetWidth(), 192u);
    EXPECT_EQ(header.GetType(), DWORD(CRaster::kTypeWmf));
    EXPECT_STREQ(header.GetLastError(), "output dimensions returned");
}

TEST(Metafile, BadHeadersHaveTheirTexts) {
    CRaster image;
    EXPECT_FALSE(image.DecodeFromMemory(WmfBuilder().Finish(0, 0, 100, 100, 96, 4, false),
                                        CRaster::kTypeWmf));
    EXPECT_STREQ(image.GetLastError(), "corrupted WMF");
    EXPECT_FALSE(image.DecodeFromMemory(WmfBuilder().Finish(0, 0, 0, 100, 96), CRaster::kTypeWmf));
    EXPECT_STREQ(image.GetLastError(), "empty WMF");
    EXPECT_FALSE(image.DecodeFromMemory(EmfBuilder().Finish(10, 10, 5, 50), CRaster::kTypeWmf));
    EXPECT_STREQ(image.GetLastError(), "empty EMF");
    // Units per inch beyond 2540.
    EXPECT_FALSE(
        image.DecodeFromMemory(WmfBuilder().Finish(0, 0, 100, 100, 3000), CRaster::kTypeWmf));
    EXPECT_STREQ(image.GetLastError(), "corrupted WMF");
    CRaster stopped;
    stopped.SetEscape(1);
    EXPECT_FALSE(stopped.DecodeFromMemory(EmfBuilder().Rectangle(0, 0, 5, 5).Finish(0, 0, 9, 9),
                                          CRaster::kTypeWmf));
    EXPECT_STREQ(stopped.GetLastError(), "Cancelled");
    CRaster picture(4, 4, 24);
    std::vector<BYTE> out;
    EXPECT_FALSE(picture.EncodeToMemory(out, CRaster::kTypeWmf));
    EXPECT_STREQ(picture.GetLastError(), "Save WMF not supported");
}

// A 100 x 50 unit box at 96 units per inch: one unit is one pixel.
TEST(Metafile, PlaceableShapesLandOnKnownPixels) {
    WmfBuilder b;
    b.WindowOrg(0, 0).WindowExt(100, 50);
    b.Pen(5, 0, 0).Brush(0, kRed).Select(0).Select(1); // null pen, red brush
    b.Rectangle(10, 10, 20, 30);
    b.Brush(0, kBlue).Select(2);
    b.Record(0x001E, {});   // SaveDC
    b.Select(1);            // red again
    b.Record(0x0127, {-1}); // RestoreDC: blue is back
    b.Rectangle(30, 10, 40, 20);
    b.Record(0x0416, {50, 60, 0, 55}); // IntersectClipRect 55,0 - 60,50
    b.Rectangle(0, 0, 100, 50);        // only the clip is painted
    CRaster image = Load(b.Finish(0, 0, 100, 50, 96));
    ASSERT_EQ(image.GetWidth(), 100u);
    EXPECT_EQ(At(image, 10, 10), kRed);
    // Without a pen the shape loses its right and bottom edges.
    EXPECT_EQ(At(image, 18, 28), kRed);
    EXPECT_EQ(At(image, 19, 28), kWhite);
    EXPECT_EQ(At(image, 18, 29), kWhite);
    EXPECT_EQ(At(image, 9, 10), kWhite);
    EXPECT_EQ(At(image, 35, 15), kBlue);
    EXPECT_EQ(At(image, 57, 40), kBlue);
    EXPECT_EQ(At(image, 54, 40), kWhite);
    EXPECT_EQ(At(image, 60, 40), kWhite);
}

// The window maps 1000 units onto the 100-pixel box; y grows upward in the second half.
TEST(Metafile, PlaceableWindowScalesAndFlips) {
    WmfBuilder b;
    b.WindowOrg(0, 1000).WindowExt(1000, -1000);
    b.Pen(5, 0, 0).Brush(0, kRed).Select(0).Select(1);
    b.Rectangle(100, 900, 300, 700); // pixels 10..30 from the left, 10..30 from the top
    b.Polygon({500, 100, 900, 100, 900, 500});
    CRaster image = Load(b.Finish(0, 0, 1000, 1000, 960));
    ASSERT_EQ(image.GetWidth(), 100u);
    EXPECT_EQ(At(image, 15, 15), kRed);
    EXPECT_EQ(At(image, 35, 15), kWhite);
    EXPECT_EQ(At(image, 85, 85), kRed);   // inside the triangle near its right angle
    EXPECT_EQ(At(image, 55, 55), kWhite); // beyond its long side
}

TEST(Metafile, EnhancedShapesTransformsAndPaths) {
    EmfBuilder b;
    b.Pen(1, 5, 0, 0).Brush(2, 0, kRed).Select(1).Select(2);
    b.Rectangle(10, 10, 20, 20);
    // World transform: twice as large, moved by (40, 0).
    b.Raw(35, Bytes().u32(0x40000000).u32(0).u32(0).u32(0x40000000).u32(0x42200000).u32(0));
    b.Rectangle(10, 10, 20, 20);                                         // pixels 60..80
    b.Raw(36, Bytes().u32(0).u32(0).u32(0).u32(0).u32(0).u32(0).u32(1)); // back to identity
    // A square with a square hole, filled by one PolyPolygon under the alternate rule.
    b.Record(8, {0,  0,  0,  0,  2,  8,  4,  4,  10, 50, 40, 50,
                 40, 80, 10, 80, 20, 60, 30, 60, 30, 70, 20, 70});
    // A path: triangle, filled blue.
    b.Brush(3, 0, kBlue).Select(3);
    b.Record(59, {});
    b.Poly(3, {60, 50, 90, 50, 90, 80});
    b.Record(60, {});
    b.Record(62, {0, 0, 0, 0});
    CRaster image = Load(b.Finish(0, 0, 100, 100));
    ASSERT_EQ(image.GetWidth(), 100u);
    EXPECT_EQ(At(image, 15, 15), kRed);
    EXPECT_EQ(At(image, 65, 25), kRed);
    EXPECT_EQ(At(image, 78, 38), kRed);
    EXPECT_EQ(At(image, 81, 25), kWhite);
    EXPECT_EQ(At(image, 15, 55), kRed);
    EXPECT_EQ(At(image, 25, 65), kWhite); // the hole
    EXPECT_EQ(At(image, 85, 55), kBlue);
    EXPECT_EQ(At(image, 65, 75), kWhite);
}

TEST(Metafile, EnhancedBitmapsAndText) {
    // A 2 x 2 bitmap stretched over 40 x 40 pixels: bottom row red, blue; top row blue, red.
    Bytes dib = BmpInfo(2, 2, 24);
    dib.raw({0, 0, 255, 255, 0, 0, 0, 0}).raw({255, 0, 0, 0, 0, 255, 0, 0});
    Bytes blit;
    blit.i32(0).i32(0).i32(0).i32(0);                 // bounds
    blit.i32(10).i32(10).i32(0).i32(0).i32(2).i32(2); // dest, source
    blit.u32(80).u32(40).u32(120).u32(16).u32(0);     // bitmap offsets, usage
    blit.u32(0x00CC0020).i32(40).i32(40);             // copy, dest size
    blit.append(dib.data());
    EmfBuilder b;
    b.Raw(81, blit);
    // "Hi" in a 20-pixel font at (60, 20), black on white.
    Bytes font;
    font.u32(1).i32(-20).i32(0).i32(0).i32(0).i32(700).u32(0).u32(0);
    for (char ch : std::string("Arial"))
        font.u16(unsigned(ch));
    font.fill(64 - 10, 0);
    b.Raw(82, font).Select(1);
    Bytes text;
    text.i32(0).i32(0).i32(0).i32(0).u32(1).u32(0).u32(0); // bounds, mode, scales
    text.i32(60).i32(20).u32(2).u32(76).u32(0).i32(0).i32(0).i32(0).i32(0).u32(0);
    text.u16('H').u16('i');
    b.Raw(84, text);
    CRaster image = Load(b.Finish(0, 0, 100, 60));
    EXPECT_EQ(At(image, 15, 15), kBlue);
    EXPECT_EQ(At(image, 45, 15), kRed);
    EXPECT_EQ(At(image, 15, 45), kRed);
    EXPECT_EQ(At(image, 45, 45), kBlue);
    EXPECT_EQ(At(image, 51, 45), kWhite);
    int dark = 0;
    for (LONG y = 15; y < 45; ++y)
        for (LONG x = 58; x < 95; ++x)
            dark += (At(image, x, y) & 0xFF) < 100;
    EXPECT_GT(dark, 20);
}

// Records built to hurt: every one must end in a clean failure or a bounded play.
TEST(Metafile, HostileRecordsFailOrPlayBounded) {
    auto placeable = [](const WmfBuilder& b) { return b.Finish(0, 0, 64, 64, 96, 4); };
    const std::vector<std::vector<BYTE>> bad = {
        placeable(WmfBuilder().Raw(0x041B, Bytes().u16(1)).Record(0x0000, {})),
    };
    // A record of two words, and one longer than the file.
    std::vector<BYTE> tiny = placeable(WmfBuilder().Rectangle(0, 0, 8, 8));
    tiny[40] = 2;
    std::vector<BYTE> longer = placeable(WmfBuilder().Rectangle(0, 0, 8, 8));
    longer[40] = 0xFF, longer[41] = 0x7F;
    for (const auto& bytes : {tiny, longer}) {
        CRaster image;
        EXPECT_FALSE(image.DecodeFromMemory(bytes, CRaster::kTypeWmf));
        EXPECT_STREQ(image.GetLastError(), "corrupted WMF");
    }
    // Counts beyond their record, indices beyond the table, deep saves, wild numbers.
    WmfBuilder w;
    w.Record(0x0324, {30000, 1, 2});        // polygon of 30000 points, two given
    w.Record(0x0538, {2, 60000, 60000, 1}); // poly-polygon counts beyond the record
    w.Record(0x012D, {999}).Record(0x01F0, {60000});
    for (int i = 0; i < 20000; ++i)
        w.Record(0x001E, {});
    w.Record(0x0127, {-30000}).Record(0x0127, {5});
    w.Record(0x0521, {30000, 0x4141}); // text longer than its record
    w.Record(0x0A32, {0, 0, 500, 6, 1, 2, 3, 4});
    w.WindowExt(1, 1).Rectangle(-32768, -32768, 32767, 32767);
    w.Record(0x0F43, {0x20, 0xCC, 0, 100, 100, 0, 0, 50, 50, 0, 0, 40, 0}); // bitmap cut short
    for (int i = 0; i < 40; ++i)
        w.Pen(0, 32767, 0).Brush(2, 0, 3); // more objects than slots
    CRaster survived;
    EXPECT_TRUE(survived.DecodeFromMemory(placeable(w), CRaster::kTypeWmf))
        << survived.GetLastError();

    EmfBuilder e;
    e.Record(3, {0, 0, 0, 0, 0x7FFFFFFF, 1, 2});             // polygon count beyond the record
    e.Record(8, {0, 0, 0, 0, 0x40000000, 0x40000000, 1});    // poly-polygon too
    e.Record(8, {0, 0, 0, 0, 2, 3, 1, 2, 0, 0, 1, 1, 2, 2}); // counts that do not add up
    e.Raw(35, Bytes().u32(0x7F800000).u32(0).u32(0).u32(0x7F800000).u32(0).u32(0)); // infinity
    e.Raw(35, Bytes().u32(0x7E967699).u32(0).u32(0).u32(0x7E967699).u32(0).u32(0)); // 1e38
    e.Rectangle(-1000000000, -1000000000, 1000000000, 1000000000);
    e.Ellipse(-2000000000, -2000000000, 2000000000, 2000000000);
    e.Poly(2, {0, 0, 1000000000, 1000000000, -1000000000, 5, 7, 7});
    e.Record(37, {LONG(0x7FFFFFFF)}).Record(40, {-1}).Record(38, {70000, 0, 1, 0, 0});
    e.Record(81, {0, 0, 0, 0, 0, 0, 0, 0, 2, 2, 76, 0x7FFFFFF0, 0x7FFFFFF0, 40, 0, 0xCC0020, 10,
                  10}); // bitmap offsets beyond the record
    e.Record(84, {0, 0, 0, 0, 1, 0, 0, 5, 5, 0x7FFFFFFF, 76, 0, 0, 0, 0, 0, 0}); // text
    e.Record(75, {64, 1}); // region data missing
    for (int i = 0; i < 5000; ++i)
        e.Record(33, {});
    e.Record(34, {-100000}).Record(34, {0x7FFFFFFF}).Record(62, {0, 0, 0, 0});
    CRaster played;
    EXPECT_TRUE(played.DecodeFromMemory(e.Finish(0, 0, 64, 64), CRaster::kTypeWmf))
        << played.GetLastError();

    std::vector<BYTE> odd = EmfBuilder().Rectangle(0, 0, 8, 8).Finish(0, 0, 64, 64);
    odd[92] = 22; // the rectangle's size: not a multiple of four
    CRaster image;
    EXPECT_FALSE(image.DecodeFromMemory(odd, CRaster::kTypeWmf));
    EXPECT_STREQ(image.GetLastError(), "corrupted EMF");
    // Every cut of a real file fails cleanly or decodes.
    const std::vector<BYTE> whole = e.Finish(0, 0, 64, 64);
    for (std::size_t cut = 0; cut < whole.size(); cut += 37) {
        CRaster part;
        part.DecodeFromMemory(std::span<const BYTE>(whole.data(), cut), CRaster::kTypeWmf);
    }
}

// A hatched brush or text over blue with a transparent background keeps the blue between its
// lines, the file's own map mode sizes what follows, and its mix mode mixes.
TEST(Metafile, PlaceableModesComeFromTheirOwnRecords) {
    WmfBuilder b;
    b.WindowOrg(0, 0).WindowExt(1000, 1000);
    b.Pen(5, 0, 0).Brush(0, kBlue).Select(0).Select(1).Rectangle(0, 0, 500, 500);
    b.Brush(2, kRed, 4).Select(2);
    b.Record(0x0102, {1}); // transparent background
    b.Rectangle(0, 0, 500, 500);
    b.Record(0x0103, {2}); // tenths of a millimetre, y up: 127 units are 48 pixels
    b.Brush(0, kRed).Select(3).Rectangle(127, -127, 254, -254);
    // Text over blue keeps the blue around its letters.
    b.Brush(0, kBlue).Select(4).Rectangle(0, -127, 127, -254);
    b.Record(0x0521, {4, 'H' | 'H' << 8, 'H' | 'H' << 8, -140, 10});
    // Yellow by exclusive-or over white gives blue.
    b.Record(0x0104, {7}).Brush(0, kYellow).Select(5).Rectangle(127, 0, 254, -127);
    CRaster image = Load(b.Finish(0, 0, 1000, 1000, 1000));
    int white = 0, dark = 0;
    for (LONG y = 50; y < 94; ++y) {
        for (LONG x = 2; x < 46; ++x) {
            white += At(image, x, y) == kWhite;
            dark += GetBValue(At(image, x, y)) < 128;
        }
    }
    EXPECT_EQ(white, 0);
    EXPECT_GT(dark, 10);
    EXPECT_EQ(At(image, 70, 20), kBlue);
    ASSERT_EQ(image.GetWidth(), 96u);
    int blue = 0, red = 0;
    for (LONG y = 0; y < 46; ++y) {
        for (LONG x = 0; x < 46; ++x) {
            blue += At(image, x, y) == kBlue;
            red += At(image, x, y) == kRed;
        }
    }
    EXPECT_GT(blue, 46 * 46 / 2);
    EXPECT_GT(red, 46 * 4);
    EXPECT_EQ(At(image, 50, 50), kRed);
    EXPECT_EQ(At(image, 94, 94), kRed);
}

// Files far smaller than the drawing they ask for are cut short with what they drew so far;
// files whose drawing their size justifies are drawn whole, however many edges they have.
TEST(Metafile, DrawingIsBoundedByTheFileSize) {
    constexpr const char* kCutShort = "EMF cut short: more drawing than its size justifies";
    for (const auto& [bomb, text] :
         {std::pair{MetafileBombs::FullRectanglesEmf(1000), kCutShort},
          std::pair{MetafileBombs::FullRectanglesWmf(1000),
                    "WMF cut short: more drawing than its size justifies"}}) {
        CRaster image = Load(bomb);
        EXPECT_STREQ(image.GetLastError(), text);
        ASSERT_EQ(image.GetWidth(), 4000u);
        EXPECT_EQ(At(image, 2000, 2000), RGB(200, 0, 0)); // what was drawn stays
    }
    // One polygon whose every edge crosses every row: refused whole.
    CRaster zigzag = Load(MetafileBombs::ZigzagPolygonEmf(100000));
    EXPECT_STREQ(zigzag.GetLastError(), kCutShort);
    CRaster few = Load(MetafileBombs::FullRectanglesEmf(3));
    EXPECT_STRNE(few.GetLastError(), kCutShort);
    CRaster star = Load(MetafileBombs::StarPolygonEmf(200000));
    EXPECT_STRNE(star.GetLastError(), kCutShort);
    EXPECT_EQ(At(star, 2000, 2000), RGB(0, 128, 0));
    EXPECT_EQ(At(star, 2000, 100), RGB(0, 128, 0));
    EXPECT_EQ(At(star, 3, 3), kWhite);
}

constexpr COLORREF kMagenta = RGB(255, 0, 255);

// A StretchDIBits record putting one pixel of `colour` over the rectangle by `rop`.
Bytes OnePixelBlit(LONG x, LONG y, LONG w, LONG h, COLORREF colour, DWORD rop) {
    Bytes dib = BmpInfo(1, 1, 24);
    dib.raw({GetBValue(colour), GetGValue(colour), GetRValue(colour), 0});
    Bytes blit;
    blit.i32(0).i32(0).i32(0).i32(0).i32(x).i32(y).i32(0).i32(0).i32(1).i32(1);
    blit.u32(80).u32(40).u32(120).u32(4).u32(0).u32(rop).i32(w).i32(h);
    return blit.append(dib.data());
}

// Each strip lies half over blue, half over white; the colours follow from the operations'
// definitions, worked out by hand.
TEST(Metafile, MixModesAndRasterOperations) {
    EmfBuilder b;
    b.Pen(1, 5, 0, 0).Brush(2, 0, kBlue).Select(1).Select(2).Rectangle(0, 0, 50, 200);
    b.Record(20, {7}); // exclusive or
    b.Brush(3, 0, kYellow).Select(3).Rectangle(25, 0, 75, 10);
    b.Pen(4, 0, 1, kRed).Select(4).Poly(4, {10, 15, 70, 15}).Poly(4, {10, 15, 70, 15});
    b.Select(1).Record(20, {6}).Rectangle(25, 20, 75, 30);                   // not
    b.Record(20, {9}).Brush(5, 0, kRed).Select(5).Rectangle(25, 30, 75, 40); // mask
    b.Record(20, {13});
    const std::vector<std::pair<DWORD, int>> ops = {
        {0x008800C6, 50},  // source and destination
        {0x00EE0086, 60},  // source or destination
        {0x00660046, 70},  // source exclusive-or destination
        {0x00330008, 80},  // not source
        {0x00440328, 90},  // source and not destination
        {0x00C000CA, 100}, // source and pattern (red)
    };
    for (const auto& [rop, y] : ops)
        b.Raw(81, OnePixelBlit(25, y, 50, 10, kMagenta, rop));
    for (const auto& [rop, y] : std::vector<std::pair<DWORD, int>>{
             {0x005A0049, 110}, {0x00550009, 120}, {0x00000042, 130}, {0x00FF0062, 140}})
        b.Record(76,
                 {0, 0, 0, 0, 25, y, 50, 10, LONG(rop), 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    // Pictures keep to their own operation, whatever the mix mode.
    b.Record(20, {7}).Raw(81, OnePixelBlit(25, 150, 50, 10, kMagenta, 0x00CC0020));
    CRaster image = Load(b.Finish(0, 0, 100, 200));
    auto strip = [&](int y) { return std::pair{At(image, 30, y + 5), At(image, 60, y + 5)}; };
    using P = std::pair<COLORREF, COLORREF>;
    EXPECT_EQ(strip(0), P(kWhite, kBlue)); // blue or white, each with yellow
    EXPECT_EQ(At(image, 30, 15), kBlue);   // the line twice: nothing
    EXPECT_EQ(At(image, 60, 15), kWhite);
    EXPECT_EQ(strip(20), P(kYellow, kBlack));      // inverted
    EXPECT_EQ(strip(30), P(kBlack, kRed));         // red and what is there
    EXPECT_EQ(strip(50), P(kBlue, kMagenta));      // magenta and
    EXPECT_EQ(strip(60), P(kMagenta, kWhite));     // magenta or
    EXPECT_EQ(strip(70), P(kRed, RGB(0, 255, 0))); // magenta exclusive-or
    EXPECT_EQ(strip(80), P(RGB(0, 255, 0), RGB(0, 255, 0)));
    EXPECT_EQ(strip(90), P(kRed, kBlack));                // magenta and not what is there
    EXPECT_EQ(strip(100), P(kRed, kRed));                 // magenta and red
    EXPECT_EQ(strip(110), P(kMagenta, RGB(0, 255, 255))); // red brush exclusive-or
    EXPECT_EQ(strip(120), P(kYellow, kBlack));
    EXPECT_EQ(strip(130), P(kBlack, kBlack));
    EXPECT_EQ(strip(140), P(kWhite, kWhite));
    EXPECT_EQ(strip(150), P(kMagenta, kMagenta));
}

// Device-dependent bitmaps in the placeable file's own blits: one bit per pixel in the text
// and background colours, and 24 bits; also a pattern blit by exclusive-or.
TEST(Metafile, PlaceableBitmapBlits) {
    WmfBuilder b;
    b.WindowOrg(0, 0).WindowExt(100, 50);
    b.Record(0x0209, {0x00FF, 0}).Record(0x0201, {0, 0x00FF}); // red text, blue background
    // Stretch 2 x 1 bits (0, 1) over 40 x 20 at (10, 10).
    b.Record(0x0B23, {0x0020, 0x00CC, 1, 2, 0, 0, 20, 40, 10, 10, 0, 2, 1, 2, 0x0101, 0x40});
    // A 1 x 1 green bitmap of 24 bits copied, then stretched over 20 x 20 at (60, 10).
    b.Record(0x0922, {0x0020, 0x00CC, 0, 0, 1, 1, 5, 5, 0, 1, 1, 4, 0x1801, 0xFF00, 0});
    b.Record(0x0B23, {0x0020, 0x00CC, 1, 1, 0, 0, 20, 20, 10, 60, 0, 1, 1, 4, 0x1801, 0xFF00, 0});
    // The red brush by exclusive-or over the left half of the stretched bitmap.
    b.Brush(0, kRed).Select(0).Record(0x061D, {0x0049, 0x005A, 20, 20, 10, 10});
    CRaster image = Load(b.Finish(0, 0, 100, 50, 96));
    EXPECT_EQ(At(image, 5, 5), RGB(0, 255, 0));
    EXPECT_EQ(At(image, 6, 6), kWhite);
    EXPECT_EQ(At(image, 15, 15), kBlack); // red, then red by exclusive-or
    EXPECT_EQ(At(image, 45, 15), kBlue);
    EXPECT_EQ(At(image, 70, 20), RGB(0, 255, 0));
    EXPECT_EQ(At(image, 45, 35), kWhite);
}

// A clip with a hole cut out, then a region of two rectangles: the shapes drawn through them
// keep to the rectangles, not to their bounding box. (emf2svg intersects where it should
// exclude and ignores regions, so these are checked on known pixels.)
TEST(Metafile, ClipsToExcludedAreasAndRegions) {
    EmfBuilder e;
    e.Pen(1, 5, 0, 0).Brush(2, 0, kRed).Select(1).Select(2);
    e.Record(29, {40, 24, 152, 104}); // exclude the middle
    e.Rectangle(0, 0, 192, 128);
    Bytes region;
    region.u32(64).u32(5);                   // data size, copy
    region.u32(32).u32(1).u32(2).u32(32);    // header: two rectangles
    region.i32(48).i32(32).i32(144).i32(96); // bounds
    region.i32(48).i32(32).i32(88).i32(96).i32(104).i32(32).i32(144).i32(64);
    e.Raw(75, region);
    e.Brush(3, 0, kBlue).Select(3).Ellipse(40, 24, 152, 104);
    CRaster image = Load(e.Finish(0, 0, 192, 128));
    EXPECT_EQ(At(image, 20, 20), kRed);
    EXPECT_EQ(At(image, 160, 110), kRed);
    EXPECT_EQ(At(image, 45, 28), kWhite); // excluded, outside the region
    EXPECT_EQ(At(image, 70, 64), kBlue);
    EXPECT_EQ(At(image, 120, 50), kBlue);
    EXPECT_EQ(At(image, 96, 64), kWhite);  // between the region's rectangles
    EXPECT_EQ(At(image, 120, 80), kWhite); // below the second

    WmfBuilder w;
    w.WindowOrg(0, 0).WindowExt(100, 50);
    w.Pen(5, 0, 0).Brush(0, kRed).Select(0).Select(1);
    w.Record(0x0415, {40, 60, 10, 20}); // exclude 20,10 - 60,40
    w.Rectangle(0, 0, 100, 50);
    CRaster placeable = Load(w.Finish(0, 0, 100, 50, 96));
    EXPECT_EQ(At(placeable, 10, 5), kRed);
    EXPECT_EQ(At(placeable, 30, 20), kWhite);
    EXPECT_EQ(At(placeable, 70, 20), kRed);
}

// Regions filled with a brush of the table, with the selected brush, and inverted (emf2svg
// draws none of them, so known pixels stand in).
TEST(Metafile, EnhancedRegionFills) {
    auto region = [](std::initializer_list<LONG> rects) {
        Bytes data;
        const DWORD count = DWORD(rects.size() / 4);
        data.u32(32).u32(1).u32(count).u32(count * 16).i32(0).i32(0).i32(192).i32(128);
        for (LONG v : rects)
            data.i32(v);
        return data;
    };
    EmfBuilder e;
    e.Brush(1, 0, kRed).Brush(2, 0, kBlue).Select(2);
    Bytes fill;
    fill.i32(0).i32(0).i32(192).i32(128).u32(64).u32(1).append(
        region({8, 8, 88, 40, 40, 40, 88, 120}).data());
    e.Raw(71, fill); // red, through the table
    Bytes paint;
    paint.i32(0).i32(0).i32(192).i32(128).u32(48).append(region({104, 8, 184, 64}).data());
    e.Raw(74, paint); // blue, the selected brush still
    Bytes invert;
    invert.i32(0).i32(0).i32(192).i32(128).u32(48).append(region({144, 32, 184, 120}).data());
    e.Raw(73, invert);
    Bytes frame; // 3 wide, 2 high, red
    frame.i32(0).i32(0).i32(192).i32(128).u32(48).u32(1).i32(3).i32(2).append(
        region({100, 80, 130, 120}).data());
    e.Raw(72, frame);
    CRaster image = Load(e.Finish(0, 0, 192, 128));
    EXPECT_EQ(At(image, 102, 100), kRed);
    EXPECT_EQ(At(image, 103, 100), kWhite);
    EXPECT_EQ(At(image, 115, 81), kRed);
    EXPECT_EQ(At(image, 115, 82), kWhite);
    EXPECT_EQ(At(image, 10, 10), kRed);
    EXPECT_EQ(At(image, 60, 100), kRed);
    EXPECT_EQ(At(image, 20, 100), kWhite);
    EXPECT_EQ(At(image, 110, 20), kBlue);
    EXPECT_EQ(At(image, 150, 40), kYellow);
    EXPECT_EQ(At(image, 150, 100), kBlack);
}

bool InkNear(const CRaster& image, LONG x, LONG y, COLORREF ink) {
    for (LONG dy = -2; dy <= 2; ++dy)
        for (LONG dx = -2; dx <= 2; ++dx)
            if (At(image, x + dx, y + dy) == ink)
                return true;
    return false;
}

// Moves, lines, a Bézier and a closed figure from one point list with its types, and text
// from the small and the several-string records (emf2svg draws neither kind).
TEST(Metafile, EnhancedPolyDrawAndTextRecords) {
    EmfBuilder e;
    e.Pen(1, 0, 3, kBlue).Select(1);
    Bytes draw;
    draw.i32(0).i32(0).i32(0).i32(0).u32(9);
    for (LONG v : {10, 10, 90, 20, 60, 100, 110, 20, 140, 120, 180, 60, 150, 20, 20, 110, 80, 120})
        draw.i32(v);
    draw.raw({6, 2, 3, 6, 4, 4, 4, 6, 2}); // move, line, line closing, move, Bézier, move, line
    e.Raw(56, draw);
    Bytes font;
    font.u32(2).i32(-24).i32(0).i32(0).i32(0).i32(700).u32(0).u32(0);
    for (char ch : std::string("Arial"))
        font.u16(unsigned(ch));
    font.fill(64 - 10, 0);
    e.Raw(82, font).Select(2);
    Bytes small; // "HH" in 8-bit characters without a rectangle at (200, 10)
    small.i32(200).i32(10).u32(2).u32(0x0300).u32(1).u32(0).u32(0).raw({'H', 'H'});
    e.Raw(108, small);
    Bytes poly; // two strings: "H" at (200, 60) and "HH" at (240, 60)
    poly.i32(0).i32(0).i32(0).i32(0).u32(1).u32(0).u32(0).u32(2);
    poly.i32(200).i32(60).u32(1).u32(120).u32(0).i32(0).i32(0).i32(0).i32(0).u32(0);
    poly.i32(240).i32(60).u32(2).u32(121).u32(0).i32(0).i32(0).i32(0).i32(0).u32(0);
    poly.raw({'H', 'H', 'H', 0});
    e.Raw(96, poly);
    CRaster image = Load(e.Finish(0, 0, 300, 128));
    EXPECT_TRUE(InkNear(image, 50, 15, kBlue));   // a line
    EXPECT_TRUE(InkNear(image, 35, 55, kBlue));   // the closing line
    EXPECT_TRUE(InkNear(image, 152, 72, kBlue));  // the middle of the Bézier
    EXPECT_TRUE(InkNear(image, 50, 115, kBlue));  // the last line
    EXPECT_FALSE(InkNear(image, 120, 70, kBlue)); // no line closes the curve
    auto dark = [&](LONG x0, LONG y0, LONG x1, LONG y1) {
        int n = 0;
        for (LONG y = y0; y < y1; ++y)
            for (LONG x = x0; x < x1; ++x)
                n += (At(image, x, y) & 0xFF) < 100;
        return n;
    };
    EXPECT_GT(dark(200, 10, 240, 40), 30);
    EXPECT_GT(dark(200, 60, 220, 90), 15);
    EXPECT_GT(dark(240, 60, 280, 90), 30);
    EXPECT_EQ(dark(200, 95, 300, 128), 0);
}

// A pattern brush paints its picture, repeated from the output's corner, not its average.
TEST(Metafile, PatternBrushesPaintTheirPicture) {
    Bytes brush;
    brush.u32(1).u32(0).u32(32).u32(40).u32(72).u32(16);
    brush.append(BmpInfo(2, 2, 24).data());
    brush.raw({255, 0, 0, 0, 0, 255, 0, 0})
        .raw({0, 0, 255, 255, 0, 0, 0, 0}); // rows from the bottom
    EmfBuilder e;
    e.Pen(2, 5, 0, 0).Select(2).Raw(94, brush).Select(1).Rectangle(10, 10, 50, 30);
    e.Record(20, {7}).Rectangle(30, 20, 70, 40); // by exclusive-or with the pattern
    WmfBuilder w;
    w.WindowOrg(0, 0).WindowExt(100, 50);
    Bytes dib;
    dib.u16(5).u16(0).append(BmpInfo(2, 2, 24).data());
    dib.raw({255, 0, 0, 0, 0, 255, 0, 0}).raw({0, 0, 255, 255, 0, 0, 0, 0});
    w.Pen(5, 0, 0).Select(0).Raw(0x0142, dib).Select(1).Rectangle(10, 10, 50, 30);
    WmfBuilder old; // the same as a device-dependent bitmap: header, 18 reserved bytes, rows
    old.WindowOrg(0, 0).WindowExt(100, 50);
    Bytes bitmap;
    bitmap.u16(0).u16(2).u16(2).u16(6).u8(1).u8(24).fill(18, 0);
    bitmap.raw({0, 0, 255, 255, 0, 0}).raw({255, 0, 0, 0, 0, 255});
    old.Pen(5, 0, 0).Select(0).Raw(0x01F9, bitmap).Select(1).Rectangle(10, 10, 50, 30);
    for (const CRaster& image : {Load(e.Finish(0, 0, 100, 50)), Load(w.Finish(0, 0, 100, 50, 96)),
                                 Load(old.Finish(0, 0, 100, 50, 96))}) {
        EXPECT_EQ(At(image, 12, 12), kRed);
        EXPECT_EQ(At(image, 13, 12), kBlue);
        EXPECT_EQ(At(image, 12, 13), kBlue);
        EXPECT_EQ(At(image, 13, 13), kRed);
        EXPECT_EQ(At(image, 9, 12), kWhite);
    }
    CRaster mixed = Load(e.Finish(0, 0, 100, 50));
    EXPECT_EQ(At(mixed, 32, 22), kBlack);           // the pattern over itself
    EXPECT_EQ(At(mixed, 60, 36), RGB(0, 255, 255)); // red over white
    EXPECT_EQ(At(mixed, 61, 36), kYellow);          // blue over white
}

// Shading across and down rectangles and over a triangle (emf2svg draws no gradients).
TEST(Metafile, EnhancedGradients) {
    auto gradient = [](DWORD mode, std::initializer_list<LONG> corners) {
        const DWORD n = DWORD(corners.size() / 5);
        Bytes out;
        out.i32(0).i32(0).i32(192).i32(192).u32(n).u32(1).u32(mode);
        for (auto it = corners.begin(); it != corners.end(); it += 5)
            out.i32(it[0])
                .i32(it[1])
                .u16(unsigned(it[2]))
                .u16(unsigned(it[3]))
                .u16(unsigned(it[4]))
                .u16(0);
        for (DWORD i = 0; i < n; ++i)
            out.u32(i);
        return out;
    };
    EmfBuilder e;
    e.Raw(118, gradient(0, {8, 8, 0xFF00, 0, 0, 184, 56, 0, 0, 0xFF00}));
    e.Raw(118, gradient(1, {8, 72, 0, 0xFF00, 0, 184, 120, 0xFF00, 0xFF00, 0}));
    e.Raw(118, gradient(2, {8, 136, 0xFF00, 0, 0, 184, 136, 0, 0xFF00, 0, 96, 184, 0, 0, 0xFF00}));
    CRaster image = Load(e.Finish(0, 0, 192, 192));
    auto near = [&](LONG x, LONG y, int r, int g, int b) {
        const COLORREF c = At(image, x, y);
        return std::abs(GetRValue(c) - r) <= 3 && std::abs(GetGValue(c) - g) <= 3 &&
               std::abs(GetBValue(c) - b) <= 3;
    };
    EXPECT_TRUE(near(8, 30, 255, 0, 0));
    EXPECT_TRUE(near(96, 30, 127, 0, 127));
    EXPECT_TRUE(near(183, 30, 1, 0, 253));
    EXPECT_TRUE(near(50, 72, 0, 255, 0));
    EXPECT_TRUE(near(50, 96, 127, 255, 0));
    EXPECT_TRUE(near(96, 152, 85, 85, 85));
    EXPECT_EQ(At(image, 4, 4), kWhite);
    EXPECT_EQ(At(image, 20, 180), kWhite); // outside the triangle
}

// A blit record of the stretch layout: the picture of `pixels` (one row, 24 bits) over the
// rectangle, `field` after the destination.
Bytes StretchLayoutBlit(LONG x, LONG y, LONG w, LONG h, std::vector<COLORREF> pixels, DWORD field) {
    const LONG n = LONG(pixels.size());
    Bytes dib = BmpInfo(n, 1, 24);
    for (COLORREF c : pixels)
        dib.raw({GetBValue(c), GetGValue(c), GetRValue(c)});
    dib.fill((4 - (3 * pixels.size()) % 4) % 4, 0);
    Bytes blit;
    blit.i32(0).i32(0).i32(0).i32(0).i32(x).i32(y).i32(w).i32(h).u32(field).i32(0).i32(0);
    blit.u32(0x3F800000).u32(0).u32(0).u32(0x3F800000).u32(0).u32(0); // identity
    blit.u32(0).u32(0).u32(108).u32(40).u32(148).u32(DWORD(dib.size() - 40)).i32(n).i32(1);
    return blit.append(dib.data());
}

// Half-opaque and colour-keyed pictures over blue and white.
TEST(Metafile, AlphaBlendsAndTransparentBlits) {
    EmfBuilder e;
    e.Pen(1, 5, 0, 0).Brush(2, 0, kBlue).Select(1).Select(2).Rectangle(0, 0, 50, 100);
    e.Raw(114, StretchLayoutBlit(25, 10, 50, 10, {kMagenta}, 0x00800000)); // 128 of 255
    e.Raw(116, StretchLayoutBlit(0, 40, 100, 10, {kMagenta, RGB(0, 255, 0)}, kMagenta));
    // Its own opacity: opaque red, then blue at half, premultiplied; over white.
    Bytes own = StretchLayoutBlit(0, 50, 100, 10, {kRed, kRed}, 0x01FF0000);
    std::vector<BYTE> bytes = own.data();
    Bytes dib = BmpInfo(2, 1, 32);
    dib.raw({0, 0, 255, 255, 128, 0, 0, 128});
    bytes.resize(108 - 8);
    bytes[88] = 8; // bits size: 8 bytes
    for (int i = 89; i < 92; ++i)
        bytes[std::size_t(i)] = 0;
    Bytes rebuilt;
    rebuilt.append(bytes).append(dib.data());
    e.Raw(114, rebuilt);
    CRaster image = Load(e.Finish(0, 0, 100, 60));
    EXPECT_EQ(At(image, 20, 55), kRed);
    EXPECT_EQ(At(image, 80, 55), RGB(127, 127, 255));
    EXPECT_EQ(At(image, 30, 15), RGB(128, 0, 255));
    EXPECT_EQ(At(image, 60, 15), RGB(255, 127, 255));
    EXPECT_EQ(At(image, 20, 45), kBlue); // the left half is magenta, left out
    EXPECT_EQ(At(image, 80, 45), RGB(0, 255, 0));
}

// A region object of scans: each scan its x-value count, top, bottom, left-right pairs and the
// count again.
std::vector<int> RegionWords(const std::vector<std::vector<int>>& scans) {
    std::vector<int> words{0, 6, 0, 0, 0, int(scans.size()), 0, 0, 0, 0, 0};
    for (const auto& scan : scans) { // top, bottom, then pairs
        words.push_back(int(scan.size() - 2));
        words.insert(words.end(), scan.begin(), scan.end());
        words.push_back(int(scan.size() - 2));
    }
    return words;
}

// The Windows metafile's regions: filled, framed, and as the clip.
TEST(Metafile, PlaceableRegions) {
    WmfBuilder w;
    w.WindowOrg(0, 0).WindowExt(100, 50).Pen(5, 0, 0).Select(0);              // slot 0: null pen
    w.Brush(0, kRed);                                                         // 1
    w.Record(0x06FF, RegionWords({{5, 15, 5, 25, 35, 45}, {15, 25, 5, 45}})); // 2
    w.Record(0x0228, {2, 1});                                                 // fill with red
    w.Record(0x06FF, RegionWords({{5, 45, 55, 95}}));                         // 3
    w.Record(0x0429, {3, 1, 2, 2});                                           // frame: 2 x 2, red
    w.Record(0x06FF, RegionWords({{30, 45, 5, 20, 30, 45}}));                 // 4
    w.Record(0x012C, {4}).Brush(0, kBlue).Select(5).Rectangle(0, 0, 100, 50);
    CRaster image = Load(w.Finish(0, 0, 100, 50, 96));
    EXPECT_EQ(At(image, 10, 10), kRed);
    EXPECT_EQ(At(image, 30, 10), kWhite);
    EXPECT_EQ(At(image, 30, 20), kRed);
    EXPECT_EQ(At(image, 56, 25), kRed);
    EXPECT_EQ(At(image, 58, 25), kWhite);
    EXPECT_EQ(At(image, 75, 6), kRed);
    EXPECT_EQ(At(image, 75, 8), kWhite);
    EXPECT_EQ(At(image, 94, 44), kRed);
    EXPECT_EQ(At(image, 10, 35), kBlue);
    EXPECT_EQ(At(image, 25, 35), kWhite);
    EXPECT_EQ(At(image, 40, 40), kBlue);
    EXPECT_EQ(At(image, 50, 40), kWhite);
}

} // namespace
