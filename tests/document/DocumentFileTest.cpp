#include "tests/support/ChildMemory.h"
#include "tests/support/DocTestSupport.h"

#include "document/WkzDocumentFile.h"
#include "document/WkzFileCommands.h"
#include "document/WkzReader.h"
#include "image/core/CRaster.h"
#include "maze/TemplateKind.h"
#include "maze/TemplateTables.h"
#include "platform/FileDialog.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

namespace {

constexpr UINT kFileOpen = 57601;
constexpr UINT kFileSave = 57603;
constexpr UINT kFileSaveAs = 57604;

std::vector<BYTE> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<BYTE> Snapshot(CGridloomDoc& doc, double version = 2.0) {
    const double saved = doc.formatVersion;
    doc.formatVersion = version;
    CArchive ar = CArchive::ForStoring();
    EXPECT_TRUE(doc.Serialize(ar));
    doc.formatVersion = saved;
    return ar.TakeData();
}

CLogicalRectTracker TextObject() {
    CLogicalRectTracker t;
    t.SetKind(CLogicalRectTracker::kindTextOpaque);
    t.SetLayer(CLogicalRectTracker::layerText);
    t.SetText("Enter \xE2\x82\xAC here");
    t.SetTextColor(RGB(10, 20, 30));
    t.SetLogicalRect(500, -500, 3000, -1500);
    CHOOSEFONT cf;
    cf.iPointSize = 140;
    LOGFONT lf;
    lf.lfWeight = 700;
    lf.SetFaceName("Courier");
    t.SetFont(cf, lf);
    return t;
}

CLogicalRectTracker PictureObject() {
    auto p = std::make_unique<CRaster>(5, 4, 24, CRaster::kTypeBmp);
    for (LONG y = 0; y < 4; ++y)
        for (LONG x = 0; x < 5; ++x)
            p->SetPixelColor(x, y, RGBQUAD::FromRgb(BYTE(x * 50), BYTE(y * 60), 200));
    CLogicalRectTracker t;
    t.SetImage(std::move(p), CLogicalRectTracker::kindPicture);
    t.SetLayer(CLogicalRectTracker::layerBackground);
    t.SetLogicalRect(0, 0, 5000, -4000);
    return t;
}

class DocumentFileTest : public DocTest {
protected:
    std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

    // A made and solved maze of `kind` with edited cells, objects and seed points.
    CGridloomDoc& MadeMaze(int kind) {
        CGridloomDoc& doc = NewDoc(kind, 7, 5);
        if (kind == KIND_CIRCULAR) {
            EXPECT_TRUE(doc.SetRingCounts({4, 8, 8, 16}));
        }
        doc.SetCellFlags(1, 1, 0, CELL_BLACKENED);
        doc.SetCellFlags(2, 1, 0, CELL_ERASED);
        doc.SetCellFlags(0, 0, 0, CELL_START);
        doc.docFlags |= CGridloomDoc::kUserStart;
        doc.OnGenerateMaze();
        doc.OnSolveMaze();
        doc.SetCellFlags(3, 2, doc.GridCount() - 1, CELL_STOP | CELL_HIDDEN);
        doc.layerObjects = {TextObject(), PictureObject()};
        doc.seedPoints.push_back({3, 4});
        return doc;
    }

    // A second document on the same profile, showing something else.
    std::unique_ptr<CGridloomDoc> OtherDoc() {
        auto other = std::make_unique<CGridloomDoc>(Profile());
        other->Settings().kind = KIND_HEX;
        other->OnFileNew();
        other->layerObjects = {TextObject()};
        return other;
    }

    static void ExpectSameMaze(const CGridloomDoc& a, const CGridloomDoc& b) {
        EXPECT_EQ(a.Settings().kind, b.Settings().kind);
        EXPECT_EQ(a.Settings().columns, b.Settings().columns);
        EXPECT_EQ(a.Settings().rows, b.Settings().rows);
        EXPECT_EQ(a.Settings().seed, b.Settings().seed);
        EXPECT_EQ(a.docFlags, b.docFlags);
        ASSERT_EQ(a.GridCount(), b.GridCount());
        for (int g = 0; g < a.GridCount(); ++g) {
            const auto ca = a.GetGrid(g)->Cells();
            const auto cb = b.GetGrid(g)->Cells();
            EXPECT_TRUE(std::equal(ca.begin(), ca.end(), cb.begin(), cb.end())) << "grid " << g;
            EXPECT_EQ(a.GetGrid(g)->ring0Count, b.GetGrid(g)->ring0Count);
        }
    }

    ScriptedFileDialog dialogs_;
    IFileDialog::Installation dialogInstalled_{dialogs_};
};

} // namespace

TEST_F(DocumentFileTest, BothVersionsRoundTripEveryKind) {
    for (const TemplateInfo& t : TemplateTables::All()) {
        SCOPED_TRACE(t.kind);
        CGridloomDoc& doc = MadeMaze(t.kind);
        ASSERT_FALSE(doc.seedPoints.empty());
        for (double version : {2.0, 1.0}) {
            doc.formatVersion = version;
            const std::string path = PathOf("maze.wkz");
            ASSERT_TRUE(WkzFileCommands::SaveFile(doc, path)) << doc.pendingMessage;
            auto other = OtherDoc();
            ASSERT_TRUE(WkzFileCommands::OpenFile(*other, path)) << other->pendingMessage;
            EXPECT_TRUE(other->pendingMessage.empty());
            ExpectSameMaze(doc, *other);
            EXPECT_EQ(other->formatVersion, version);
            EXPECT_EQ(other->cleared, 0);
            // Ring counts are not taken from the file; the view lays the rings out again.
            EXPECT_TRUE(other->RingCounts().empty());
            if (version == 2.0) {
                EXPECT_EQ(other->seedPoints, doc.seedPoints);
                ASSERT_EQ(other->layerObjects.size(), 2u);
                EXPECT_EQ(other->layerObjects[0].GetText(), "Enter \xE2\x82\xAC here");
                EXPECT_EQ(other->layerObjects[0].GetFont(), doc.layerObjects[0].GetFont());
                ASSERT_NE(other->layerObjects[1].GetImage(), nullptr);
                EXPECT_EQ(other->layerObjects[1].GetImage()->GetPixelColor(4, 3, false),
                          RGBQUAD::FromRgb(200, 180, 200));
                if (t.kind == KIND_CIRCULAR) {
                    ASSERT_TRUE(other->SetRingCounts(doc.RingCounts()));
                }
                EXPECT_EQ(Snapshot(*other), ReadAll(path));
            } else {
                EXPECT_TRUE(other->seedPoints.empty());
                EXPECT_TRUE(other->layerObjects.empty());
            }
        }
    }
    EXPECT_TRUE(prompts_.ShownBoxes().empty()) << prompts_.ShownBoxes()[0].text;
}

TEST_F(DocumentFileTest, RefusedFilesLeaveTheDocumentAsItWas) {
    CGridloomDoc& source = MadeMaze(KIND_BOX);
    source.layerObjects = {TextObject()};
    const std::vector<BYTE> good = Snapshot(source);

    CGridloomDoc& doc = MadeMaze(KIND_TRIANGULAR);
    const std::vector<BYTE> before = Snapshot(doc);
    for (std::size_t cut = 0; cut < good.size(); ++cut) {
        CArchive ar = CArchive::ForLoading(std::vector<BYTE>(good.begin(), good.begin() + cut));
        doc.pendingMessage.clear();
        ASSERT_FALSE(doc.Serialize(ar)) << cut;
        ASSERT_FALSE(doc.pendingMessage.empty());
    }
    EXPECT_EQ(Snapshot(doc), before);

    // Settings that could not build grids are refused too.
    auto huge = good;
    const std::int32_t columns = 2'000'001;
    std::memcpy(&huge[8 + 4 + 4 + 1 + 4 * 7], &columns, 4); // name "" in a Box made by File New
    CArchive ar = CArchive::ForLoading(huge);
    EXPECT_FALSE(doc.Serialize(ar));
    EXPECT_EQ(Snapshot(doc), before);
    EXPECT_TRUE(prompts_.ShownBoxes().empty());
}

TEST_F(DocumentFileTest, UpgradeMarkerAndNewerVersionsStopTheLoad) {
    CGridloomDoc& doc = MadeMaze(KIND_BOX);
    const std::vector<BYTE> before = Snapshot(doc);
    auto marked = before;
    const std::size_t marker = 8 + 4 + 4 + 1 + 4 * 14 + 4 + 4 + 1;
    ASSERT_EQ(marked[marker], 0);
    marked[marker] = 1;
    CArchive ar = CArchive::ForLoading(marked);
    EXPECT_FALSE(doc.Serialize(ar));
    ASSERT_EQ(prompts_.ShownBoxes().size(), 1u);
    EXPECT_EQ(prompts_.ShownBoxes()[0].type, UINT(MB_OKCANCEL));
    EXPECT_TRUE(doc.pendingMessage.empty());
    EXPECT_EQ(Snapshot(doc), before);

    doc.formatVersion = 3.0;
    CArchive out = CArchive::ForStoring();
    EXPECT_FALSE(doc.Serialize(out));
    EXPECT_TRUE(out.Data().empty());
    EXPECT_EQ(doc.pendingMessage.rfind("ERROR: Save WKZ File format {3.0} is greater", 0), 0u);

    auto newer = before;
    const double three = 3.0;
    std::memcpy(newer.data(), &three, 8);
    CArchive in = CArchive::ForLoading(newer);
    EXPECT_FALSE(doc.Serialize(in));
    EXPECT_EQ(doc.pendingMessage.rfind("ERROR: WKZ File format {3.0} is greater", 0), 0u);
}

TEST_F(DocumentFileTest, SaveAsksForTheFormatAndWritesSafely) {
    CGridloomDoc& doc = MadeMaze(KIND_HEX);
    const std::string path = PathOf("saved.wkz");
    dialogs_.Answer(path, 2);
    ASSERT_TRUE(doc.RunCommand(kFileSave));
    ASSERT_EQ(dialogs_.Requests().size(), 1u);
    const FileDialogRequest& r = dialogs_.Requests()[0];
    EXPECT_FALSE(r.open);
    EXPECT_EQ(r.filter, "Orlimber V2 (*.wkz)|*.wkz|Orlimber V1 (*.wkz)|*.wkz||");
    EXPECT_EQ(r.defaultExtension, "wkz");
    EXPECT_EQ(r.filterIndex, 1);
    EXPECT_TRUE(r.flags & OFN_OVERWRITEPROMPT);
    EXPECT_EQ(doc.formatVersion, 1.0);
    EXPECT_EQ(ReadAll(path), Snapshot(doc, 1.0));

    // An unknown format index writes nothing.
    const std::vector<BYTE> v1 = ReadAll(path);
    prompts_.Answer(IDYES); // replace saved.wkz
    dialogs_.Answer(path, 3);
    doc.RunCommand(kFileSaveAs);
    EXPECT_EQ(doc.pendingMessage, "ERROR: Could not save in that format.  Save has stopped.");
    EXPECT_EQ(doc.formatVersion, 0.0);
    EXPECT_EQ(ReadAll(path), v1);

    // A folder that does not exist: the message names the file and says so.
    const std::string nowhere = PathOf("missing/saved.wkz");
    dialogs_.Answer(nowhere, 1);
    doc.RunCommand(kFileSaveAs);
    EXPECT_EQ(doc.pendingMessage, "ERROR: Could not save '" + nowhere + "': the folder '" +
                                      PathOf("missing") +
                                      "' does not exist.  Save has stopped; the file on disk "
                                      "is unchanged.");

    dialogs_.Cancel();
    doc.pendingMessage.clear();
    doc.RunCommand(kFileSave);
    EXPECT_TRUE(doc.pendingMessage.empty());
    // The last save that went through names the document.
    EXPECT_EQ(doc.GetPathName(), path);
    EXPECT_EQ(doc.GetTitle(), "saved.wkz");
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(DocumentFileTest, SaveAsAsksBeforeReplacingTheFileAsItWillBeWritten) {
    CGridloomDoc& doc = MadeMaze(KIND_BOX);
    const std::string existing = PathOf("m1.wkz");
    const std::vector<BYTE> old{'o', 'l', 'd'};
    { std::ofstream(existing, std::ios::binary).write("old", 3); }
    const std::string question = "m1.wkz already exists.\nDo you want to replace it?";

    // Typed without its extension: still asked; No asks for another name, and a cancel
    // there leaves the file alone.
    dialogs_.Answer(PathOf("m1"), 1);
    dialogs_.Cancel();
    prompts_.Answer(IDNO);
    doc.RunCommand(kFileSaveAs);
    ASSERT_EQ(prompts_.ShownBoxes().size(), 1u);
    EXPECT_EQ(prompts_.ShownBoxes()[0].text, question);
    ASSERT_EQ(dialogs_.Requests().size(), 2u);
    EXPECT_EQ(dialogs_.Requests()[1].fileName, "m1.wkz");
    EXPECT_EQ(ReadAll(existing), old);

    // Left unanswered, the question keeps the file.
    prompts_.Clear();
    dialogs_.Answer(PathOf("m1"), 1);
    doc.RunCommand(kFileSaveAs);
    EXPECT_EQ(prompts_.ShownBoxes().size(), 1u);
    EXPECT_EQ(ReadAll(existing), old);

    // Yes replaces it, with the extension added; a new name is not asked about.
    prompts_.Clear();
    dialogs_.Answer(PathOf("m1"), 1);
    prompts_.Answer(IDYES);
    doc.RunCommand(kFileSaveAs);
    EXPECT_EQ(ReadAll(existing), Snapshot(doc));
    dialogs_.Answer(PathOf("m2"), 1);
    doc.RunCommand(kFileSaveAs);
    EXPECT_EQ(prompts_.ShownBoxes().size(), 1u);
    EXPECT_EQ(ReadAll(PathOf("m2.wkz")), Snapshot(doc));
    EXPECT_FALSE(std::filesystem::exists(PathOf("m1")));
}

TEST_F(DocumentFileTest, SavingWithoutGridsIsRefused) {
    CGridloomDoc& doc = NewDoc(17);
    ASSERT_EQ(doc.GridCount(), 0);
    doc.RunCommand(kFileSave);
    EXPECT_TRUE(dialogs_.Requests().empty());
    EXPECT_EQ(doc.pendingMessage, "ERROR: There is no maze to save yet.  Save has stopped.");
    CArchive ar = CArchive::ForStoring();
    EXPECT_FALSE(doc.Serialize(ar));
    EXPECT_TRUE(ar.Data().empty());
}

TEST_F(DocumentFileTest, OpenReplacesTheLayerObjectsWithoutAsking) {
    CGridloomDoc& source = MadeMaze(KIND_QUAD_TRIANGLE);
    const std::string path = PathOf("open.wkz");
    source.formatVersion = 2.0;
    ASSERT_TRUE(WkzFileCommands::SaveFile(source, path));

    auto doc = OtherDoc();
    doc->layerObjects = {PictureObject(), PictureObject(), PictureObject()};
    doc->pendingMessage = "old news";
    dialogs_.Answer(path);
    ASSERT_TRUE(doc->RunCommand(kFileOpen));
    const FileDialogRequest& r = dialogs_.Requests().at(0);
    EXPECT_TRUE(r.open);
    EXPECT_EQ(r.filter, "Mazes (*.wkz)|*.wkz|All Files (*.*)|*.*||");
    EXPECT_TRUE(r.flags & OFN_FILEMUSTEXIST);
    EXPECT_TRUE(doc->pendingMessage.empty());
    EXPECT_EQ(doc->layerObjects.size(), 2u);
    EXPECT_TRUE(prompts_.ShownBoxes().empty());
    ExpectSameMaze(source, *doc);
    EXPECT_EQ(doc->reRender, 1);

    const std::string missing = PathOf("nothing.wkz");
    dialogs_.Answer(missing);
    doc->RunCommand(kFileOpen);
    EXPECT_EQ(doc->pendingMessage,
              "ERROR: Could not open " + missing + " for reading: it does not exist.");
    ExpectSameMaze(source, *doc);
}

TEST_F(DocumentFileTest, OpenAndSaveNameWhatStoppedThem) {
    CGridloomDoc& doc = MadeMaze(KIND_BOX);
    const std::string saved = PathOf("kept.wkz");
    ASSERT_TRUE(WkzFileCommands::SaveFile(doc, saved));
    const std::vector<BYTE> before = Snapshot(doc);

    const std::string fifo = PathOf("pipe.wkz");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(WkzFileCommands::SaveFile(doc, fifo));
    EXPECT_NE(doc.pendingMessage.find("FIFO"), std::string::npos) << doc.pendingMessage;
    EXPECT_EQ(doc.pendingMessage.find("rights"), std::string::npos) << doc.pendingMessage;
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    EXPECT_EQ(doc.GetPathName(), saved);

    EXPECT_FALSE(WkzFileCommands::OpenFile(doc, fifo));
    EXPECT_NE(doc.pendingMessage.find("not a regular file"), std::string::npos)
        << doc.pendingMessage;
    EXPECT_FALSE(WkzFileCommands::OpenFile(doc, dir_.string()));
    EXPECT_NE(doc.pendingMessage.find("it is a folder"), std::string::npos) << doc.pendingMessage;
    EXPECT_NE(doc.pendingMessage.find("the open maze is unchanged"), std::string::npos)
        << doc.pendingMessage;
    EXPECT_EQ(Snapshot(doc), before);
    EXPECT_EQ(doc.GetPathName(), saved);

    // A document with no maze yet has none to leave unchanged.
    CGridloomDoc empty(Profile());
    ASSERT_EQ(empty.GridCount(), 0);
    EXPECT_FALSE(WkzFileCommands::OpenFile(empty, dir_.string()));
    EXPECT_EQ(empty.pendingMessage, "ERROR: Could not read " + dir_.string() +
                                        " (it is a folder).  Loading has stopped.");
}

// A document is read only as far as it goes: a large picture comes through the file's
// pieces whole, a little slack behind the document is let pass, and hundreds of megabytes
// behind it make a damaged file without being read.
TEST_F(DocumentFileTest, OpenReadsTheDocumentAndNotWhatFollowsIt) {
    CGridloomDoc& source = MadeMaze(KIND_BOX);
    auto big = std::make_unique<CRaster>(300, 200, 24, CRaster::kTypeBmp);
    for (LONG y = 0; y < 200; ++y)
        for (LONG x = 0; x < 300; ++x)
            big->SetPixelColor(x, y, RGBQUAD::FromRgb(BYTE(x), BYTE(y), BYTE(x ^ y)));
    CLogicalRectTracker picture = PictureObject();
    picture.SetImage(std::move(big), CLogicalRectTracker::kindPicture);
    source.layerObjects = {TextObject(), std::move(picture)};
    const std::string path = PathOf("tail.wkz");
    source.formatVersion = 2.0;
    ASSERT_TRUE(WkzFileCommands::SaveFile(source, path));
    const auto size = std::filesystem::file_size(path);

    std::filesystem::resize_file(path, size + WkzReader::kMaxTrailingBytes);
    auto doc = OtherDoc();
    ASSERT_TRUE(WkzFileCommands::OpenFile(*doc, path)) << doc->pendingMessage;
    ExpectSameMaze(source, *doc);
    ASSERT_EQ(doc->layerObjects.size(), 2u);
    const CRaster* back = doc->layerObjects[1].GetImage();
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetPixelColor(299, 199).rgbBlue, BYTE(299 ^ 199));

    // Half a gigabyte of zeros (a sparse file), opened in a child whose memory is measured.
    std::filesystem::resize_file(path, size + (std::uint64_t{500} << 20));
    auto other = OtherDoc();
    const std::vector<BYTE> before = Snapshot(*other);
    const ChildOutcome out = RunInChild([&](std::string& message) {
        const bool opened = WkzFileCommands::OpenFile(*other, path);
        message = other->pendingMessage;
        return !opened && Snapshot(*other) == before;
    });
    EXPECT_TRUE(out.ok);
    EXPECT_NE(out.text.find("bytes follow the end of the maze"), std::string::npos) << out.text;
    EXPECT_GE(out.addedKb, 0);
    EXPECT_LT(out.addedKb, 100 * 1024);
}
