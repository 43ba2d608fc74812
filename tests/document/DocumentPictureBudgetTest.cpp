// Documents whose layer pictures are each modest but together far too much, and documents
// whose reading the user stops: each picture is held to what the document has left, the
// whole to its total, and a stopped open leaves the document as it was without a word.
#include "tests/support/ChildMemory.h"
#include "tests/support/DocTestSupport.h"
#include "tests/support/PictureBombs.h"

#include "document/CLogicalRectTracker.h"
#include "document/WkzReader.h"
#include "image/core/CRaster.h"
#include "maze/TemplateKind.h"
#include "platform/CWaitCursor.h"

namespace {

// A document of a small box maze holding `count` picture objects, each a flat grey picture
// of `side` x `side` pixels stored as PNG (a few kilobytes each).
std::vector<BYTE> ManyPictures(CGridloomDoc& doc, int count, DWORD side) {
    auto picture = std::make_shared<CRaster>(side, side, 24, CRaster::kTypePng);
    for (LONG y = 0; y < LONG(side); ++y)
        for (LONG x = 0; x < LONG(side); ++x)
            picture->BlindSetPixelColor(x, y, RGBQUAD{90, 90, 90, 0});
    std::vector<BYTE> png;
    {
        CRaster working(*picture);
        EXPECT_TRUE(working.EncodeToMemory(png, CRaster::kTypePng));
    }
    auto encoded = std::make_shared<const std::vector<BYTE>>(png);
    doc.layerObjects.clear();
    for (int i = 0; i < count; ++i) {
        CLogicalRectTracker object;
        object.SetImage(picture, CLogicalRectTracker::kindPicture, encoded);
        object.SetLogicalRect(0, 0, 1000, -1000);
        doc.layerObjects.push_back(object);
    }
    doc.formatVersion = 2.0; // the layout that holds layer objects
    CArchive ar = CArchive::ForStoring();
    EXPECT_TRUE(doc.Serialize(ar));
    doc.layerObjects.clear();
    return ar.TakeData();
}

class StopAtOnce : public IBusyIndicator {
public:
    void Begin() override { ++begun; }
    void End() override {}
    bool StopAsked() override { return true; }
    int begun = 0;
};

class DocumentPictureBudgetTest : public DocTest {};

TEST_F(DocumentPictureBudgetTest, AllPicturesTogetherAreHeldToTheTotal) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 3, 3);
    const std::vector<BYTE> bytes = ManyPictures(doc, 6, 1500); // 6.75 MB each
    EXPECT_LT(bytes.size(), 200u * 1024);
    // Four fit in 30 MB, the fifth does not.
    const ChildOutcome out = RunInChild([&](std::string& text) {
        CArchive ar = CArchive::ForLoading(bytes);
        const WkzReader::Result r = WkzReader::Read(ar, PictureAllowance({}, 30'000'000));
        text = r.message;
        return r.Ok();
    });
    EXPECT_FALSE(out.ok);
    EXPECT_NE(out.text.find("A picture cannot be read: "), std::string::npos) << out.text;
    EXPECT_NE(out.text.find("all the pictures of one document together may hold at most 30 MB"),
              std::string::npos)
        << out.text;
    RecordProperty("addedKb", std::to_string(out.addedKb));
    EXPECT_LT(out.addedKb, 60 * 1024);

    CArchive ar = CArchive::ForLoading(bytes);
    const WkzReader::Result whole = WkzReader::Read(ar, PictureAllowance({}, 50'000'000));
    ASSERT_TRUE(whole.Ok()) << whole.message;
    EXPECT_EQ(whole.content.objects.size(), 6u);
}

// Small files claiming huge pictures, kept in a document as the bytes they came from: each is
// refused, or read within what the document has left, and all of them within its total.
TEST_F(DocumentPictureBudgetTest, BombsInsideADocumentStayWithinItsTotal) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 3, 3);
    const PictureBombs::Bomb bomb = PictureBombs::HugeJp2();
    auto stand_in = std::make_shared<CRaster>(16, 16, 24, bomb.type);
    auto encoded = std::make_shared<const std::vector<BYTE>>(bomb.bytes);
    for (int i = 0; i < 3; ++i) {
        CLogicalRectTracker object;
        object.SetImage(stand_in, CLogicalRectTracker::kindPicture, encoded);
        object.SetLogicalRect(0, 0, 1000, -1000);
        doc.layerObjects.push_back(object);
    }
    doc.formatVersion = 2.0;
    CArchive store = CArchive::ForStoring();
    ASSERT_TRUE(doc.Serialize(store));
    const std::vector<BYTE> bytes = store.TakeData();
    EXPECT_LT(bytes.size(), 64u * 1024);
    const ChildOutcome out = RunInChild([&](std::string& text) {
        CArchive ar = CArchive::ForLoading(bytes);
        const WkzReader::Result r = WkzReader::Read(ar);
        text = r.message;
        return r.Ok();
    });
    RecordProperty("bombsAddedKb", std::to_string(out.addedKb));
    EXPECT_LT(out.addedKb, 420 * 1024) << out.text;
}

TEST_F(DocumentPictureBudgetTest, EscapeStopsTheOpenAndKeepsTheDocument) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 3, 3);
    const std::vector<BYTE> bytes = ManyPictures(doc, 3, 400);
    doc.Settings().columns = 7;
    doc.OnFileNew();
    StopAtOnce escape;
    IBusyIndicator::Installation installed(escape);
    doc.pendingMessage.clear();
    CArchive ar = CArchive::ForLoading(bytes);
    EXPECT_FALSE(doc.Serialize(ar));
    EXPECT_EQ(doc.pendingMessage, "");
    EXPECT_EQ(doc.Settings().columns, 7);
    EXPECT_TRUE(doc.layerObjects.empty());
    EXPECT_GE(escape.begun, 1); // the busy cursor showed
}

} // namespace
