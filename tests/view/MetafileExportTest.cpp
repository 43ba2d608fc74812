#include "tests/view/ViewTestSupport.h"

#include "document/CLogicalRectTracker.h"
#include "image/core/CRaster.h"
#include "image/metafile/EmfRecordTypes.h"
#include "maze/MazeCell.h"
#include "maze/TemplateKind.h"
#include "platform/CBitmap.h"
#include "platform/CDC.h"
#include "platform/FileDialog.h"
#include "res/CommandIds.h"
#include "tests/support/EmfRecordList.h"
#include "tests/support/PicturePixels.h"
#include "tiles/GardenTileSet.h"
#include "view/MetafileExport.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>

namespace {

// The default page in pixels of the 96-dpi reference screen.
constexpr int kWidth = 720;
constexpr int kHeight = 912;

// Pixels within `tolerance` of `colour` in every channel (the pale watermark lies near the
// lighter cell colours).
long CountNear(const ToolPipe::Picture& p, COLORREF colour, int tolerance = 12) {
    long n = 0;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const std::uint8_t* c = p.At(x, y);
            n += std::abs(c[0] - GetRValue(colour)) <= tolerance &&
                 std::abs(c[1] - GetGValue(colour)) <= tolerance &&
                 std::abs(c[2] - GetBValue(colour)) <= tolerance;
        }
    return n;
}

class MetafileExportTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        for (const char* tool : {"emf2svg-conv", "rsvg-convert", "convert"})
            if (!ToolPipe::Have(tool))
                GTEST_SKIP() << tool << " missing (scripts/setup.sh installs it)";
    }

    // The page as the independent converters draw it.
    ToolPipe::Picture Independent(const std::string& emf) {
        const std::string svg = emf + ".svg";
        EXPECT_TRUE(ToolPipe::Run("emf2svg-conv -i '" + emf + "' -o '" + svg + "'"));
        const auto ppm = ToolPipe::Run("rsvg-convert -b white -w " + std::to_string(kWidth) +
                                       " -h " + std::to_string(kHeight) + " '" + svg +
                                       "' | convert png:- -alpha off -depth 8 ppm:-");
        std::filesystem::remove(svg);
        const auto picture = ppm ? ToolPipe::ParsePpm(*ppm) : std::nullopt;
        return picture.value_or(ToolPipe::Picture{});
    }

    // The page as our raster back end draws it for an export at the screen's resolution.
    static ToolPipe::Picture Raster(CGridloomView& view) {
        CBitmap bitmap;
        bitmap.CreateBitmap32(kWidth, kHeight);
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        dc.SelectObject(&bitmap);
        dc.SetMapMode(MM_HIENGLISH);
        view.SetScreenFlag(false);
        view.OnDraw(dc);
        return PixelsOf(bitmap);
    }

    static ToolPipe::Picture Played(const std::string& emf) {
        CRaster image;
        EXPECT_TRUE(image.Load(emf)) << image.GetLastError();
        return PixelsOf(image);
    }
};

} // namespace

TEST_F(MetafileExportTest, IndependentReadersAgreeWithTheRasterRender) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 6, 6);
    CGridloomView& view = ViewOf(doc);
    doc.OnGenerateMaze();
    ASSERT_EQ(doc.cleared, 0);
    const std::string path = folder_.File("maze.emf");
    ASSERT_EQ(MetafileExport::Write(view, path), "");
    EXPECT_TRUE(view.ScreenFlag());

    if (ToolPipe::Have("printemf")) {
        const auto text = ToolPipe::Run("printemf '" + path + "' 2>&1");
        ASSERT_TRUE(text);
        for (const char* expected :
             {"rclFrame\t\t: (0, 0) - (19047, 24127)", "Description:\n\t\tOrlimber\n",
              "iMode\t: MM_HIENGLISH", "*EOF*"})
            EXPECT_NE(text->find(expected), std::string::npos)
                << expected << "\n"
                << text->substr(text->find("*HEADER*"), 1500);
    }
    const EmfRecordList emf = EmfRecordList::FromFile(path);
    ASSERT_TRUE(emf.WellFormed());
    const auto modes = emf.OfType(EmfRecordType::kSetMapMode);
    ASSERT_FALSE(modes.empty());
    EXPECT_EQ(emf.U32(modes[0].at + 8), 5u);

    // The walls of the maze, within 2 pixels both ways; the credit line's face may differ.
    const ToolPipe::Picture ours = Raster(view);
    const std::array<int, 4> maze{0, 0, kWidth, kHeight * 3 / 4};
    long walls = 0;
    for (int y = maze[1]; y < maze[3]; ++y)
        for (int x = maze[0]; x < maze[2]; ++x)
            walls += ours.Dark(x, y);
    ASSERT_GT(walls, 1000);
    for (const auto& [name, theirs] :
         {std::pair{"emf2svg", Independent(path)}, std::pair{"our player", Played(path)}}) {
        ASSERT_EQ(theirs.width, kWidth) << name;
        ASSERT_EQ(theirs.height, kHeight) << name;
        EXPECT_LT(ToolPipe::DarkWithoutPartner(ours, theirs, 2, maze), walls / 100) << name;
        EXPECT_LT(ToolPipe::DarkWithoutPartner(theirs, ours, 2, maze), walls / 100) << name;
    }
}

TEST_F(MetafileExportTest, WhitenedAndHiddenCellsAreLeftOut) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 6, 6);
    CGridloomView& view = ViewOf(doc);
    doc.OnGenerateMaze();
    doc.Settings().erasedVisible = 1;
    const CellColours colours = doc.Colours();
    // A visible start first: the export shows it.
    doc.SetCellFlags(0, 0, 0, CELL_START);
    doc.SetCellFlags(5, 5, 0, CELL_ERASED);
    ASSERT_EQ(MetafileExport::Write(view, folder_.File("shown.emf")), "");
    EXPECT_GT(CountNear(Independent(folder_.File("shown.emf")), colours.start), 100);

    doc.SetCellFlags(0, 0, 0, CELL_START | CELL_HIDDEN);
    ASSERT_EQ(MetafileExport::Write(view, folder_.File("hidden.emf")), "");
    const ToolPipe::Picture exported = Independent(folder_.File("hidden.emf"));
    EXPECT_EQ(CountNear(exported, colours.hiddenStart), 0);
    EXPECT_EQ(CountNear(exported, colours.start), 0);
    EXPECT_EQ(CountNear(exported, colours.erased), 0);
}

TEST_F(MetafileExportTest, SaveToEmfAsksForTheFileAndAlwaysReturnsToTheScreen) {
    ScriptedFileDialog files;
    IFileDialog::Installation installed(files);
    CGridloomDoc& doc = NewDoc(KIND_HEX, 5, 5);
    CGridloomView& view = ViewOf(doc);
    ASSERT_TRUE(view.HandlesCommand(ID_SAVE_EMF));

    files.Cancel();
    view.RunCommand(ID_SAVE_EMF);
    ASSERT_EQ(files.Requests().size(), 1u);
    EXPECT_EQ(files.Requests()[0].filter, "Enhanced MetaFile(*.emf)|*.emf||");
    EXPECT_EQ(files.Requests()[0].defaultExtension, "emf");
    EXPECT_FALSE(files.Requests()[0].open);
    EXPECT_TRUE(view.ScreenFlag());

    // A name without an extension gets the default one, and so does a name ending in another
    // format's extension; a metafile's own extension in any case is kept.
    files.Answer(folder_.File("page"));
    view.RunCommand(ID_SAVE_EMF);
    EXPECT_TRUE(EmfRecordList::FromFile(folder_.File("page.emf")).WellFormed());
    EXPECT_TRUE(view.ScreenFlag());
    files.Answer(folder_.File("m1.png"));
    view.RunCommand(ID_SAVE_EMF);
    EXPECT_TRUE(EmfRecordList::FromFile(folder_.File("m1.png.emf")).WellFormed());
    EXPECT_FALSE(std::filesystem::exists(folder_.File("m1.png")));
    files.Answer(folder_.File("upper.EMF"));
    view.RunCommand(ID_SAVE_EMF);
    EXPECT_TRUE(EmfRecordList::FromFile(folder_.File("upper.EMF")).WellFormed());
    EXPECT_TRUE(prompts_.ShownBoxes().empty());
    // The replace question is asked for the name as it will be written.
    files.Answer(folder_.File("m1.png"));
    prompts_.Answer(IDNO);
    files.Cancel();
    view.RunCommand(ID_SAVE_EMF);
    ASSERT_EQ(prompts_.ShownBoxes().size(), 1u);
    EXPECT_EQ(prompts_.ShownBoxes()[0].text.rfind("m1.png.emf already exists", 0), 0u);
    prompts_.Clear();

    const std::string missing = folder_.File("none/page.emf");
    files.Answer(missing);
    view.RunCommand(ID_SAVE_EMF);
    ASSERT_EQ(prompts_.ShownBoxes().size(), 1u);
    EXPECT_NE(prompts_.ShownBoxes()[0].text.find(missing), std::string::npos);
    EXPECT_TRUE(view.ScreenFlag());
}

TEST_F(MetafileExportTest, LayerTextIsRecordedAsTextWithoutTheSelectionMarks) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 5, 5);
    CGridloomView& view = ViewOf(doc);
    CLogicalRectTracker text;
    text.SetKind(CLogicalRectTracker::kindTextOpaque);
    text.SetLayer(CLogicalRectTracker::layerText);
    text.SetLogicalRect(1000, -1000, 5000, -3000);
    text.SetText("A maze for Sunday");
    text.SetTextColor(RGB(255, 0, 0));
    doc.layerObjects.push_back(text);
    view.SetActiveLayer(CGridloomView::kLayerText);
    ASSERT_NE(doc.layerObjects[0].GetSelectionStyle(), 0);

    const std::string path = folder_.File("text.emf");
    ASSERT_EQ(MetafileExport::Write(view, path), "");
    EXPECT_NE(doc.layerObjects[0].GetSelectionStyle(), 0); // the marks are back on the screen
    const EmfRecordList emf = EmfRecordList::FromFile(path);
    ASSERT_TRUE(emf.WellFormed());
    std::vector<std::string> strings;
    for (const auto& r : emf.OfType(EmfRecordType::kExtTextOutW))
        strings.push_back(emf.Ascii16(r.at + emf.U32(r.at + 48), emf.U32(r.at + 44)));
    EXPECT_NE(std::find(strings.begin(), strings.end(), "A maze for Sunday"), strings.end());
    // The tracker's dotted frame would need a dotted pen.
    for (const auto& r : emf.OfType(EmfRecordType::kCreatePen))
        EXPECT_NE(emf.U32(r.at + 12), static_cast<std::uint32_t>(PS_DOT));
    // Red text on its opaque box, in the independent rendering too.
    const ToolPipe::Picture page = Independent(path);
    EXPECT_GT(CountNear(page, RGB(255, 0, 0), 60), 50);
}

// A tiled maze records each cell's tile with the tile's own pixels, never a copy scaled up to
// the metafile's resolution (readers stretch it): the file stays within a few times the plain
// maze's, and the independent readers still draw the hedges and the gravel where ours does.
TEST_F(MetafileExportTest, TiledMazesKeepTheTilesOwnPixelsAndStillDraw) {
    std::filesystem::create_directories(folder_.File("Tiler"));
    ASSERT_EQ(GardenTileSet::Write(folder_.File("Tiler")), "");
    const auto made = [&](bool tiled) -> CGridloomView& {
        view_.reset();
        doc_ = std::make_unique<CGridloomDoc>(Profile());
        MazeSettings& s = doc_->Settings();
        s.kind = KIND_BOX;
        s.columns = s.rows = 10;
        s.seed = 5;
        s.tiled = tiled ? 1 : 0;
        s.tilerId = std::string(" ") + GardenTileSet::kUniqueId;
        doc_->OnFileNew();
        CGridloomView& view = ViewOf(*doc_);
        // The set is looked for where it was written, as the program looks in its own folder.
        view.TileSets().SetInstallFolder(folder_.Path().string());
        doc_->tilerReloadPending = 1;
        doc_->OnGenerateMaze();
        return view;
    };
    const std::string plain = folder_.File("plain.emf");
    ASSERT_EQ(MetafileExport::Write(made(false), plain), "");
    const std::string tiled = folder_.File("tiled.emf");
    CGridloomView& view = made(true);
    ASSERT_EQ(MetafileExport::Write(view, tiled), "");

    const auto plainBytes = std::filesystem::file_size(plain);
    const auto tiledBytes = std::filesystem::file_size(tiled);
    std::cout << "[ metafile ] 10 x 10: plain " << plainBytes << " bytes, garden tiles "
              << tiledBytes << " bytes\n";
    EXPECT_LT(tiledBytes, 3 * plainBytes);
    const EmfRecordList emf = EmfRecordList::FromFile(tiled);
    ASSERT_TRUE(emf.WellFormed());
    // Each cell's tile, at its own 40 pixels across and in the cell's shape (the bitmap header
    // follows the record's fixed part).
    const auto tiles = emf.OfType(EmfRecordType::kAlphaBlend);
    EXPECT_EQ(tiles.size(), 100u);
    for (const auto& record : tiles) {
        EXPECT_EQ(emf.S32(record.at + 108 + 4), GardenTileSet::kTile);
        EXPECT_LE(emf.S32(record.at + 108 + 8), GardenTileSet::kTile * 3 / 2);
    }

    // Gravel where ours has gravel, the hedges' green where ours has it (a smoothing reader
    // blurs the tile edges a little).
    const ToolPipe::Picture ours = Raster(view);
    const ToolPipe::Picture theirs = Independent(tiled);
    ASSERT_EQ(theirs.width, kWidth);
    for (const COLORREF colour : {RGB(0xDE, 0xCE, 0xAA), RGB(40, 110, 40)}) {
        const long want = CountNear(ours, colour, 24);
        const long got = CountNear(theirs, colour, 24);
        EXPECT_GT(want, 2000) << std::hex << colour;
        EXPECT_NEAR(double(got), double(want), want * 0.12) << std::hex << colour;
    }
}
