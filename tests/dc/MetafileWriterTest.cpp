#include "DcTestSupport.h"

#include "image/core/CRaster.h"
#include "image/metafile/CMetaFileDC.h"
#include "image/metafile/EmfRecordTypes.h"
#include "platform/CBrush.h"
#include "platform/CFont.h"
#include "platform/CPen.h"
#include "tests/support/EmfRecordList.h"
#include "tests/support/PicturePixels.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace {

using namespace EmfRecordType;

// A picture 2 inches wide and 1 inch high.
const CRect kFrame(0, 0, 5080, 2540);

// Draws the same things on any context under MM_HIENGLISH: a black frame of lines, a red
// square, a clipped blue bar, a hatched disc, text and a small picture.
void DrawScene(CDC& dc) {
    dc.SetMapMode(MM_HIENGLISH);
    CPen wall(PS_SOLID, 20, RGB(0, 0, 0));
    CPen* oldPen = dc.SelectObject(&wall);
    const POINT box[] = {{100, -100}, {1900, -100}, {1900, -900}, {100, -900}, {100, -100}};
    for (int i = 0; i + 1 < 5; ++i) {
        dc.MoveTo(box[i]);
        dc.LineTo(box[i + 1]);
    }
    const RECT red{300, -300, 600, -600};
    dc.FillSolidRect(&red, RGB(255, 0, 0));
    dc.IntersectClipRect(700, -300, 900, -600);
    const RECT blue{650, -300, 1100, -600};
    dc.FillSolidRect(&blue, RGB(0, 0, 255)); // only 700..900 is kept
    dc.SelectClipRgn(nullptr);
    CBrush green(RGB(0, 160, 0));
    CBrush* oldBrush = dc.SelectObject(&green);
    dc.Ellipse(1200, -300, 1500, -600);
    CFont font;
    font.CreateFont(-120, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    CFont* oldFont = dc.SelectObject(&font);
    dc.SetBkMode(TRANSPARENT);
    dc.TextOut(300, -650, "Orlimber");
    CBitmap bitmap;
    bitmap.CreateBitmap32(4, 2);
    CDC source;
    source.CreateCompatibleDC(&dc);
    source.SelectObject(&bitmap);
    source.SetPixel(0, 0, RGB(255, 128, 0)); // top-left
    source.SetPixel(3, 1, RGB(0, 128, 255)); // bottom-right
    dc.StretchBlt(1520, -250, 360, -180, &source, 0, 0, 4, 2, SRCCOPY);
    dc.SelectObject(oldFont);
    dc.SelectObject(oldBrush);
    dc.SelectObject(oldPen);
}

// Pixels near `colour` (each channel within 40).
long CountNear(const ToolPipe::Picture& p, COLORREF colour, std::array<int, 4> box) {
    long n = 0;
    for (int y = box[1]; y < box[3]; ++y)
        for (int x = box[0]; x < box[2]; ++x) {
            const std::uint8_t* c = p.At(x, y);
            n += std::abs(c[0] - GetRValue(colour)) < 40 &&
                 std::abs(c[1] - GetGValue(colour)) < 40 && std::abs(c[2] - GetBValue(colour)) < 40;
        }
    return n;
}

class MetafileWriterTest : public ::testing::Test {
protected:
    std::string Record(const std::function<void(CDC&)>& draw, const std::string& name = "m.emf") {
        const std::string path = folder_.File(name);
        CMetaFileDC dc;
        EXPECT_TRUE(dc.CreateEnhMetaFile(nullptr, path, kFrame, "Orlimber"));
        draw(dc);
        std::string error;
        EXPECT_TRUE(dc.CloseEnhMetaFile(error)) << error;
        return path;
    }

    TempFolder folder_{"emf-writer"};
};

} // namespace

TEST_F(MetafileWriterTest, HeaderRecordsAndCoordinatesAreLaidOutFieldByField) {
    const std::string path = Record([](CDC& dc) {
        DrawScene(dc);
        // Past the 16-bit range the 32-bit form takes over.
        CPen thin(PS_SOLID, 1, RGB(0, 0, 0));
        dc.SelectObject(&thin);
        dc.MoveTo(0, -40000);
        dc.LineTo(10, -40000);
    });
    const EmfRecordList emf = EmfRecordList::FromFile(path);
    ASSERT_TRUE(emf.WellFormed());
    const auto& records = emf.Records();
    ASSERT_GE(records.size(), 4u);
    ASSERT_EQ(records.front().type, kHeader);
    EXPECT_EQ(records.front().size, 128u);
    // Bounds in pixels of the 96-dpi screen, frame in 0.01 mm.
    const std::array<int, 8> rects{0, 0, 192, 96, 0, 0, 5080, 2540};
    for (std::size_t i = 0; i < rects.size(); ++i)
        EXPECT_EQ(emf.S32(8 + 4 * i), rects[i]) << i;
    EXPECT_EQ(emf.U32(40), kSignature);
    EXPECT_EQ(emf.U32(48), emf.Size());
    EXPECT_EQ(emf.U32(52), records.size());
    EXPECT_EQ(emf.U16(56), 7u);
    EXPECT_EQ(emf.U32(60), 10u);
    EXPECT_EQ(emf.Ascii16(emf.U32(64), 10), std::string("Orlimber\0\0", 10));
    EXPECT_DOUBLE_EQ(double(emf.S32(72)) / emf.S32(80), 96 / 25.4);
    EXPECT_DOUBLE_EQ(double(emf.S32(76)) / emf.S32(84), 96 / 25.4);
    EXPECT_EQ(records[1].type, kSetMapMode);
    EXPECT_EQ(emf.U32(records[1].at + 8), 5u);
    EXPECT_EQ(records.back().type, kEof);
    EXPECT_EQ(records.back().size, 20u);

    // The four sides, drawn with one pen, went out as one record of logical points.
    const auto lines = emf.OfType(kPolyPolyline16);
    ASSERT_EQ(lines.size(), 1u);
    const std::size_t at = lines[0].at;
    ASSERT_EQ(emf.U32(at + 24), 4u);
    ASSERT_EQ(emf.U32(at + 28), 8u);
    const std::size_t points = at + 32 + 4 * 4;
    EXPECT_EQ(emf.S16(points), 100);
    EXPECT_EQ(emf.S16(points + 2), -100);
    EXPECT_EQ(emf.S16(points + 4), 1900);
    EXPECT_EQ(emf.S16(points + 6), -100);
    const auto pens = emf.OfType(kCreatePen);
    ASSERT_FALSE(pens.empty());
    EXPECT_EQ(emf.S32(pens[0].at + 16), 20);
    const auto wide = emf.OfType(kPolyPolyline);
    ASSERT_EQ(wide.size(), 1u);
    EXPECT_EQ(emf.S32(wide[0].at + 36 + 4), -40000);

    // Fills are polygons under the null pen; text names the face asked for.
    EXPECT_FALSE(emf.OfType(kPolygon16).empty());
    bool nullPen = false;
    for (const auto& r : emf.OfType(kSelectObject))
        nullPen = nullPen || emf.U32(r.at + 8) == (kStockObject | NULL_PEN);
    EXPECT_TRUE(nullPen);
    const auto fonts = emf.OfType(kExtCreateFontIndirectW);
    ASSERT_EQ(fonts.size(), 1u);
    EXPECT_EQ(fonts[0].size, 332u);
    EXPECT_EQ(emf.S32(fonts[0].at + 12), -120);
    EXPECT_EQ(emf.S32(fonts[0].at + 28), FW_BOLD);
    EXPECT_EQ(emf.Ascii16(fonts[0].at + 40, 6), std::string("Arial\0", 6));
    const auto texts = emf.OfType(kExtTextOutW);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(emf.U32(texts[0].at + 44), 8u);
    EXPECT_EQ(emf.Ascii16(texts[0].at + emf.U32(texts[0].at + 48), 8), "Orlimber");
    EXPECT_EQ(emf.OfType(kStretchDiBits).size(), 1u);
    EXPECT_EQ(emf.OfType(kIntersectClipRect).size(), 1u);
}

TEST_F(MetafileWriterTest, ThreeReadersDrawWhatTheRasterBackEndDraws) {
    const std::string path = Record(DrawScene);
    // Our raster back end at the reference screen's 96 dpi.
    RasterFixture raster(192, 96);
    DrawScene(raster.dc);
    const ToolPipe::Picture expected = PixelsOf(raster.bitmap);

    std::vector<std::pair<std::string, ToolPipe::Picture>> readers;
    CRaster ours;
    ASSERT_TRUE(ours.Load(path)) << ours.GetLastError();
    readers.emplace_back("our player", PixelsOf(ours));
    if (ToolPipe::Have("emf2svg-conv") && ToolPipe::Have("rsvg-convert")) {
        const std::string svg = folder_.File("m.svg");
        ASSERT_TRUE(ToolPipe::Run("emf2svg-conv -i '" + path + "' -o '" + svg + "'"));
        const auto ppm = ToolPipe::Run("rsvg-convert -b white -w 192 -h 96 '" + svg +
                                       "' | convert png:- -alpha off -depth 8 ppm:-");
        ASSERT_TRUE(ppm);
        const auto picture = ToolPipe::ParsePpm(*ppm);
        ASSERT_TRUE(picture);
        readers.emplace_back("emf2svg", *picture);
    }
    long ink = 0;
    for (int y = 0; y < 96; ++y)
        for (int x = 0; x < 192; ++x)
            ink += expected.Dark(x, y);
    ASSERT_GT(ink, 600);
    for (const auto& [name, p] : readers) {
        ASSERT_EQ(p.width, 192) << name;
        ASSERT_EQ(p.height, 96) << name;
        // Lines, outlines and text lie where ours do, both ways (the text's face may differ).
        const std::array<int, 4> all{0, 0, 192, 96};
        EXPECT_LT(ToolPipe::DarkWithoutPartner(expected, p, 2, all), ink / 20) << name;
        EXPECT_LT(ToolPipe::DarkWithoutPartner(p, expected, 2, all), ink / 20) << name;
        // The red square at 29..57 x 29..57 pixels, the blue bar clipped to 67..86.
        EXPECT_GT(CountNear(p, RGB(255, 0, 0), {31, 31, 55, 55}), 24 * 24 * 9 / 10) << name;
        EXPECT_GT(CountNear(p, RGB(0, 0, 255), {69, 31, 85, 55}), 16 * 24 * 9 / 10) << name;
        EXPECT_EQ(CountNear(p, RGB(0, 0, 255), {58, 28, 66, 58}), 0) << name;
        EXPECT_EQ(CountNear(p, RGB(0, 0, 255), {88, 28, 110, 58}), 0) << name;
        EXPECT_GT(CountNear(p, RGB(0, 160, 0), {118, 32, 140, 54}), 300) << name;
        // The picture, upright: orange top-left, light blue bottom-right (the centres of their
        // pixels, as a smoothing reader may blur the edges).
        EXPECT_GE(CountNear(p, RGB(255, 128, 0), {149, 27, 152, 30}), 7) << name;
        EXPECT_GE(CountNear(p, RGB(0, 128, 255), {175, 36, 178, 39}), 7) << name;
        // Some text below the square.
        long text = 0;
        for (int y = 63; y < 76; ++y)
            for (int x = 29; x < 110; ++x)
                text += p.Dark(x, y);
        EXPECT_GT(text, 60) << name;
    }
}

TEST_F(MetafileWriterTest, AFileThatCannotBeWrittenIsReportedAndLeavesNothing) {
    const std::string path = folder_.File("missing/m.emf");
    CMetaFileDC dc;
    ASSERT_TRUE(dc.CreateEnhMetaFile(nullptr, path, kFrame, "Orlimber"));
    DrawScene(dc);
    std::string error;
    EXPECT_FALSE(dc.CloseEnhMetaFile(error));
    EXPECT_NE(error.find(folder_.File("missing")), std::string::npos) << error;
    EXPECT_FALSE(dc.CloseEnhMetaFile(error)); // the context has ended
    EXPECT_EQ(dc.GetSafeHdc(), nullptr);

    // An existing file is replaced whole, with nothing left beside it.
    const std::string kept = Record([](CDC&) {}, "kept.emf");
    Record(DrawScene, "kept.emf");
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder_.Path()))
        ++files;
    EXPECT_EQ(files, 1u);
    EXPECT_TRUE(EmfRecordList::FromFile(kept).WellFormed());
    EXPECT_FALSE(EmfRecordList::FromFile(kept).OfType(kExtTextOutW).empty());
}
