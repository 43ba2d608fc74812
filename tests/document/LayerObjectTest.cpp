#include "document/CLogicalRectTracker.h"
#include "image/core/CRaster.h"
#include "platform/CDC.h"
#include "platform/LittleEndian.h"

#include <gtest/gtest.h>

namespace {

CLogicalRectTracker TextObject() {
    CLogicalRectTracker t;
    t.SetKind(CLogicalRectTracker::kindTextOpaque);
    t.SetSelectionStyle(2);
    t.SetLogicalRect(1000, -500, 3000, -2000);
    t.m_rect = CRect(10, 20, 110, 70);
    t.m_nStyle = CRectTracker::solidLine | CRectTracker::resizeOutside;
    t.m_nHandleSize = 7;
    t.m_sizeMin = CSize(3, 4);
    t.SetTextColor(RGB(255, 0, 128));
    t.SetLayer(CLogicalRectTracker::layerText);
    t.SetText("H\xC3\xA9llo, maze");
    CHOOSEFONT c;
    c.iPointSize = 120;
    c.rgbColors = RGB(255, 0, 128);
    c.lpLogFont = 0x0012F00C; // whatever the writing process had there
    LOGFONT f;
    f.lfHeight = -167;
    f.lfWeight = 400;
    f.SetFaceName("Times New Roman");
    t.SetFont(c, f);
    return t;
}

std::vector<BYTE> Store(CLogicalRectTracker& t) {
    CArchive ar = CArchive::ForStoring();
    t.Serialize(ar);
    return ar.TakeData();
}

bool SameObject(const CLogicalRectTracker& a, const CLogicalRectTracker& b) {
    return a.GetKind() == b.GetKind() && a.GetSelectionStyle() == b.GetSelectionStyle() &&
           a.GetLogicalRect() == b.GetLogicalRect() && a.m_rect == b.m_rect &&
           a.m_nStyle == b.m_nStyle && a.m_nHandleSize == b.m_nHandleSize &&
           a.m_sizeMin == b.m_sizeMin && a.GetTextColor() == b.GetTextColor() &&
           a.GetLayer() == b.GetLayer() && a.GetText() == b.GetText() && a.GetFont() == b.GetFont();
}

} // namespace

TEST(LayerObjectRecord, TextRecordLayoutAndRoundTrip) {
    CLogicalRectTracker t = TextObject();
    const auto bytes = Store(t);

    CLogicalRectTracker bare = t;
    bare.SetKind(CLogicalRectTracker::kindNone);
    const auto head = Store(bare);
    // Fields 1-12: version, "NONE;", kind, selection, RECT, handle, style, 4 LONGs, 2 LONGs,
    // colour, layer, text in Windows-1252 (the e-acute is one byte).
    ASSERT_EQ(head.size(), 8u + 6 + 4 + 4 + 16 + 4 + 4 + 16 + 8 + 4 + 4 + 1 + 11);
    ASSERT_EQ(bytes.size(), head.size() + 60 + 4 + 60 + 4);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[9]), 5), "NONE;");
    // The tracker rectangle goes bottom, left, right, top.
    EXPECT_EQ(GetLittleEndian<LONG>(&bytes[46]), 70);
    EXPECT_EQ(GetLittleEndian<LONG>(&bytes[50]), 10);
    EXPECT_EQ(GetLittleEndian<LONG>(&bytes[54]), 110);
    EXPECT_EQ(GetLittleEndian<LONG>(&bytes[58]), 20);
    EXPECT_EQ(GetLittleEndian<std::int32_t>(&bytes[head.size()]), 60);
    EXPECT_EQ(GetLittleEndian<INT>(&bytes[head.size() + 4 + 16]), 120); // iPointSize
    EXPECT_EQ(GetLittleEndian<std::int32_t>(&bytes[head.size() + 64]), 60);

    CArchive in = CArchive::ForLoading(bytes);
    CLogicalRectTracker back;
    back.Serialize(in);
    ASSERT_FALSE(in.Failed()) << in.Error();
    EXPECT_EQ(in.Remaining(), 0u);
    EXPECT_TRUE(SameObject(back, t));
    EXPECT_EQ(Store(back), bytes);
}

TEST(LayerObjectRecord, TextWithoutAFontStillKeepsTheLayout) {
    CLogicalRectTracker t;
    t.SetKind(CLogicalRectTracker::kindTextTransparent);
    const auto bytes = Store(t);
    CArchive in = CArchive::ForLoading(bytes);
    CLogicalRectTracker back;
    back.Serialize(in);
    ASSERT_FALSE(in.Failed());
    ASSERT_TRUE(back.GetFont().has_value());
    EXPECT_EQ(back.GetFont()->choose.lStructSize, 60u);
}

TEST(LayerObjectRecord, BadFontBlocksAndShortRecordsFail) {
    CLogicalRectTracker t = TextObject();
    const auto bytes = Store(t);
    const std::size_t blockAt = bytes.size() - 128;
    for (std::int32_t count : {0, 59, 61, -60, 0x7FFFFFFF}) {
        auto bad = bytes;
        PutLittleEndian(&bad[blockAt + 64], count);
        CArchive in = CArchive::ForLoading(bad);
        CLogicalRectTracker back;
        back.Serialize(in);
        EXPECT_TRUE(in.Failed()) << count;
    }
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        CArchive in = CArchive::ForLoading(std::vector<BYTE>(bytes.begin(), bytes.begin() + cut));
        CLogicalRectTracker back;
        back.Serialize(in);
        EXPECT_TRUE(in.Failed()) << cut;
    }
}

TEST(LayerObject, CopiesOwnTheirFontAndTrackWithTheScroll) {
    CLogicalRectTracker a = TextObject();
    CLogicalRectTracker b = a;
    b.GetFont()->log.lfHeight = -1;
    EXPECT_EQ(a.GetFont()->log.lfHeight, -167);

    // The tracker lies in scrolled document pixels; the pointer comes in client pixels.
    a.m_nStyle = CRectTracker::resizeInside;
    EXPECT_EQ(a.HitTestLogical(60, 45, 0, 0), CRectTracker::hitMiddle);
    EXPECT_EQ(a.HitTestLogical(60, 45, 100, 100), CRectTracker::hitNothing);
    EXPECT_EQ(a.HitTestLogical(-40, -55, 100, 100), CRectTracker::hitMiddle);
    ASSERT_TRUE(a.BeginTrackLogical(-40, -55, 100, 100));
    a.TrackToLogical(-30, -50, 100, 100);
    EXPECT_TRUE(a.EndTrack());
    EXPECT_EQ(a.m_rect, CRect(20, 25, 120, 75));
}

namespace {

std::unique_ptr<CRaster> Picture(DWORD type) {
    auto p = std::make_unique<CRaster>(4, 3, 24, type);
    for (LONG y = 0; y < 3; ++y)
        for (LONG x = 0; x < 4; ++x)
            p->SetPixelColor(x, y, RGBQUAD::FromRgb(BYTE(x * 60), BYTE(y * 100), 7));
    return p;
}

CLogicalRectTracker PictureObject(std::unique_ptr<CRaster> picture) {
    CLogicalRectTracker t;
    t.SetImage(std::move(picture), CLogicalRectTracker::kindPicture);
    t.SetLayer(CLogicalRectTracker::layerForeground);
    t.SetLogicalRect(0, 0, 4000, -3000);
    return t;
}

CLogicalRectTracker Reload(const std::vector<BYTE>& bytes, bool* failed = nullptr) {
    CArchive in = CArchive::ForLoading(bytes);
    CLogicalRectTracker back;
    back.Serialize(in);
    if (failed)
        *failed = in.Failed();
    else
        EXPECT_FALSE(in.Failed()) << in.Error();
    return back;
}

bool SamePixels(const CRaster& a, const CRaster& b) {
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight())
        return false;
    for (LONG y = 0; y < LONG(a.GetHeight()); ++y)
        for (LONG x = 0; x < LONG(a.GetWidth()); ++x)
            if (!(a.GetPixelColor(x, y, false) == b.GetPixelColor(x, y, false)))
                return false;
    return true;
}

} // namespace

TEST(LayerObjectRecord, PicturesTravelInTheirOwnTypeOrAsPng) {
    for (DWORD type : {DWORD(CRaster::kTypePng), DWORD(CRaster::kTypeBmp)}) {
        CLogicalRectTracker t = PictureObject(Picture(type));
        const auto bytes = Store(t);
        CLogicalRectTracker back = Reload(bytes);
        ASSERT_NE(back.GetImage(), nullptr);
        EXPECT_EQ(back.GetKind(), CLogicalRectTracker::kindPicture);
        EXPECT_EQ(back.GetImage()->GetType(), type);
        EXPECT_TRUE(SamePixels(*back.GetImage(), *t.GetImage()));
        EXPECT_EQ(Store(back), bytes);
    }
    // A pasted picture has no type of its own, a metafile no encoder: both are kept as PNG.
    for (DWORD type : {DWORD(CRaster::kTypeUnknown), DWORD(CRaster::kTypeWmf)}) {
        CLogicalRectTracker t = PictureObject(Picture(type));
        CLogicalRectTracker back = Reload(Store(t));
        ASSERT_NE(back.GetImage(), nullptr);
        EXPECT_EQ(back.GetImage()->GetType(), DWORD(CRaster::kTypePng));
        EXPECT_TRUE(SamePixels(*back.GetImage(), *t.GetImage()));
    }
}

TEST(LayerObjectRecord, AlphaEmptyAndBrokenPictures) {
    auto withAlpha = Picture(CRaster::kTypeBmp);
    ASSERT_TRUE(withAlpha->CreateAlpha());
    withAlpha->SetAlphaLevel(77);
    CLogicalRectTracker alphaObject = PictureObject(std::move(withAlpha));
    CLogicalRectTracker back = Reload(Store(alphaObject));
    ASSERT_NE(back.GetImage(), nullptr);
    ASSERT_TRUE(back.GetImage()->IsAlphaValid());
    EXPECT_EQ(back.GetImage()->GetAlpha(3, 2), 77);

    // A picture the user could not load is kept as an empty picture.
    CLogicalRectTracker empty = PictureObject(std::make_unique<CRaster>(CRaster::kTypeGif));
    CLogicalRectTracker emptyBack = Reload(Store(empty));
    ASSERT_NE(emptyBack.GetImage(), nullptr);
    EXPECT_FALSE(emptyBack.GetImage()->IsValid());

    CLogicalRectTracker t = PictureObject(Picture(CRaster::kTypePng));
    auto bytes = Store(t);
    bytes[bytes.size() - 20] ^= 0xFF; // inside the picture's bytes
    bool failed = false;
    Reload(bytes, &failed);
    EXPECT_TRUE(failed);
    for (std::size_t cut = 0; cut < bytes.size(); cut += 7) {
        Reload(std::vector<BYTE>(bytes.begin(), bytes.begin() + cut), &failed);
        EXPECT_TRUE(failed) << cut;
    }
}

TEST(LayerObjectRecord, TenSavesGiveBackTheSamePixelsAndAlpha) {
    // Graded alpha that a format keeps, and a 1-bit picture flagged as having alpha.
    auto graded = std::make_unique<CRaster>(4, 3, 24, CRaster::kTypePng);
    ASSERT_TRUE(graded->CreateAlpha());
    for (LONG y = 0; y < 3; ++y)
        for (LONG x = 0; x < 4; ++x) {
            graded->SetPixelColor(x, y, RGBQUAD::FromRgb(BYTE(x * 60), BYTE(y * 100), 7));
            graded->SetAlpha(x, y, BYTE(x * 70 + y * 5));
        }
    auto mono = std::make_unique<CRaster>(5, 4, 1, CRaster::kTypeIco);
    for (LONG x = 0; x < 5; ++x)
        mono->SetPixelIndex(x, x % 4, 1);
    ASSERT_TRUE(mono->CreateAlpha());
    mono->SetAlphaLevel(200);

    std::vector<std::unique_ptr<CRaster>> pictures;
    pictures.push_back(std::move(graded));
    pictures.push_back(std::move(mono));
    for (DWORD type : {DWORD(CRaster::kTypeBmp), DWORD(CRaster::kTypeGif), DWORD(CRaster::kTypeTga),
                       DWORD(CRaster::kTypePcx)})
        pictures.push_back(Picture(type));
    for (auto& picture : pictures) {
        const CRaster original(*picture);
        CLogicalRectTracker t = PictureObject(std::move(picture));
        for (int round = 0; round < 10; ++round)
            t = Reload(Store(t));
        const CRaster& back = *t.GetImage();
        ASSERT_TRUE(SamePixels(back, original)) << original.GetType();
        ASSERT_EQ(back.IsAlphaValid(), original.IsAlphaValid()) << original.GetType();
        if (!original.IsAlphaValid())
            continue;
        for (LONG y = 0; y < LONG(original.GetHeight()); ++y) {
            for (LONG x = 0; x < LONG(original.GetWidth()); ++x) {
                EXPECT_EQ(back.GetAlpha(x, y), original.GetAlpha(x, y))
                    << original.GetType() << " at " << x << "," << y;
            }
        }
    }
}

// Copies share one picture that none of them changes: replacing it in one leaves the others.
TEST(LayerObject, CopiesShareThePictureUntilOneReplacesIt) {
    CLogicalRectTracker a = PictureObject(Picture(CRaster::kTypePng));
    CLogicalRectTracker b = a;
    EXPECT_EQ(b.GetImage(), a.GetImage());
    auto other = std::make_unique<CRaster>(*a.GetImage());
    other->SetPixelColor(0, 0, RGBQUAD::FromRgb(1, 2, 3));
    b.SetImage(std::move(other), CLogicalRectTracker::kindPicture);
    EXPECT_EQ(a.GetImage()->GetPixelColor(0, 0, false), RGBQUAD::FromRgb(0, 0, 7));
    CLogicalRectTracker c;
    c = b;
    b = CLogicalRectTracker();
    ASSERT_NE(c.GetImage(), nullptr);
    EXPECT_EQ(c.GetImage()->GetPixelColor(0, 0, false), RGBQUAD::FromRgb(1, 2, 3));
    EXPECT_EQ(b.GetImage(), nullptr);
}

namespace {

// A white 96-dpi page in 0.001 inch with y up, as the view prepares it.
struct Page {
    Page() {
        bitmap.CreateBitmap32(200, 200);
        dc.CreateCompatibleDC(nullptr);
        dc.SelectObject(&bitmap);
        dc.SetMapMode(MM_HIENGLISH);
    }
    CRect InkBox() {
        dc.Flush();
        CRect box;
        bool any = false;
        for (int y = 0; y < bitmap.Height(); ++y) {
            const auto* row =
                reinterpret_cast<const std::uint32_t*>(bitmap.Bits() + y * bitmap.Stride());
            for (int x = 0; x < bitmap.Width(); ++x) {
                if ((row[x] & 0xFFFFFF) == 0xFFFFFF)
                    continue;
                const CRect px(x, y, x + 1, y + 1);
                box = any ? CRect(std::min(box.left, x), std::min(box.top, y),
                                  std::max(box.right, x + 1), std::max(box.bottom, y + 1))
                          : px;
                any = true;
            }
        }
        return box;
    }
    CBitmap bitmap;
    CDC dc;
};

} // namespace

TEST(LayerObject, DrawsTextInItsRectangleAndTheTrackerOnlyWhenSelected) {
    Page page;
    CLogicalRectTracker t = TextObject(); // 12 points, rectangle (1000, -500)-(3000, -2000)
    t.SetSelectionStyle(0);
    t.SetText("Maze maze maze maze maze maze");
    t.Draw(page.dc);
    EXPECT_EQ(t.GetFont()->log.lfHeight, -167);
    const CRect ink = page.InkBox();
    ASSERT_FALSE(ink.IsRectEmpty());
    // The text rectangle lies at x 96..288 and y 48..192 pixels; the opaque kind may paint
    // its background up to the rectangle but never past it.
    EXPECT_GE(ink.left, 96);
    EXPECT_LE(ink.right, 288);
    EXPECT_GE(ink.top, 48);
    EXPECT_LE(ink.bottom, 192);
    EXPECT_GT(ink.Height(), 16); // the words wrapped onto several lines
    EXPECT_EQ(page.dc.GetBkMode(), OPAQUE);

    Page selected;
    t.SetSelectionStyle(2);
    t.m_rect = CRect(20, 20, 60, 50);
    t.SetText("");
    t.Draw(selected.dc);
    EXPECT_EQ(t.m_nStyle, UINT(CRectTracker::solidLine | CRectTracker::resizeOutside));
    // Handles lie outside the device rectangle whatever the page's mapping.
    EXPECT_EQ(selected.InkBox(), CRect(13, 13, 67, 57));
    t.SetSelectionStyle(5);
    t.Draw(selected.dc);
    EXPECT_EQ(t.m_nStyle, UINT(CRectTracker::resizeInside | CRectTracker::hatchInside));
}

TEST(LayerObject, DrawsItsPictureOverItsLogicalRectangle) {
    Page page;
    auto picture = std::make_unique<CRaster>(2, 2, 24, CRaster::kTypeBmp);
    for (LONG y = 0; y < 2; ++y)
        for (LONG x = 0; x < 2; ++x)
            picture->SetPixelColor(x, y, RGBQUAD::FromRgb(200, 0, 0));
    CLogicalRectTracker t = PictureObject(std::move(picture));
    t.SetLogicalRect(500, -250, 1000, -1000); // 48..96 by 24..96 pixels
    t.Draw(page.dc);
    EXPECT_EQ(page.InkBox(), CRect(48, 24, 96, 96));
}
