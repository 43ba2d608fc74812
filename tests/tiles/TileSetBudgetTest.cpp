// Tile sets whose few lines ask for huge tiles or for their sheet again and again: the
// tiles are views into one sheet read once, oversized tiles are refused with a message, and
// listing the sets reads no sheet at all.
#include "tests/support/ChildMemory.h"
#include "tests/support/TempFolder.h"
#include "tests/tiles/TileSetBombs.h"

#include "image/core/CRaster.h"
#include "platform/CWaitCursor.h"
#include "tiles/CBMPTiler.h"
#include "tiles/TileSetCatalogue.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Counts the pictures read while it is installed: each read shows the busy cursor once.
class CountingBusy : public IBusyIndicator {
public:
    void Begin() override { ++begun; }
    void End() override {}
    int begun = 0;
};

class TileSetBudgetTest : public ::testing::Test {
protected:
    void Sheet(const std::string& name, DWORD side, BYTE level) {
        CRaster sheet(side, side, 8);
        sheet.SetGrayPalette();
        for (LONG y = 0; y < LONG(side); ++y)
            for (LONG x = 0; x < LONG(side); ++x)
                sheet.SetPixelIndex(x, y, x < 10 ? level : BYTE(x % 7));
        ASSERT_TRUE(sheet.Save(folder_.File(name), CRaster::kTypePng));
    }
    std::string Folder() const { return folder_.Path().string() + "/"; }

    TempFolder folder_{"tileset-budget"};
    CountingBusy busy_;
    IBusyIndicator::Installation installed_{busy_};
};

TEST_F(TileSetBudgetTest, OversizedTilesAreRefusedWithinTheMemoryLimit) {
    Sheet("sheet.png", 3000, 200);
    WriteFile(folder_.File("huge.tle"), TileSetBombs::HugeTiles("sheet.png", 100000, 40));
    const ChildOutcome out = RunInChild([&](std::string& text) {
        CBMPTiler tiler;
        const bool ok = tiler.LoadFromFile(folder_.File("huge.tle"), Folder());
        CRaster preview;
        tiler.RenderPreview(preview, 600, 600);
        text = tiler.Problem();
        for (int kind = 0; kind < CBMPTiler::kKinds; ++kind)
            for (const CTileInfo& tile : tiler.Group(kind).tiles)
                if (tile.HasPicture())
                    text += " (a tile has a picture)";
        return ok;
    });
    EXPECT_TRUE(out.ok);
    EXPECT_EQ(out.text, "The tile set \" Huge\" asks for tiles of 100000 x 100000 pixels; a tile "
                        "may be at most 4096 x 4096 pixels, so its tiles are not drawn.");
    RecordProperty("addedKb", std::to_string(out.addedKb));
    EXPECT_LT(out.addedKb, 200 * 1024);

    // Tiles of the whole sheet are views of it: forty of them cost no copy.
    WriteFile(folder_.File("whole.tle"), TileSetBombs::HugeTiles("sheet.png", 3000, 40));
    const ChildOutcome whole = RunInChild([&](std::string& text) {
        CBMPTiler tiler;
        const bool ok = tiler.LoadFromFile(folder_.File("whole.tle"), Folder());
        CRaster preview;
        tiler.RenderPreview(preview, 600, 600);
        text = tiler.Problem();
        const CRaster* drawn = tiler.Group(1).tiles.at(0).ScaledTo(300, 300);
        return ok && drawn && drawn->GetPixelColor(0, 0).rgbRed == 200;
    });
    EXPECT_TRUE(whole.ok);
    EXPECT_EQ(whole.text, "");
    RecordProperty("wholeAddedKb", std::to_string(whole.addedKb));
    EXPECT_LT(whole.addedKb, 60 * 1024); // the 9 MB sheet and the small pictures drawn
}

TEST_F(TileSetBudgetTest, TheSheetIsReadOnceFromTheLastLine) {
    Sheet("a.png", 20, 50);
    Sheet("b.png", 30, 90);
    WriteFile(folder_.File("many.tle"), TileSetBombs::ManySheetLines("a.png", "b.png", 1661));
    CBMPTiler tiler;
    ASSERT_TRUE(tiler.LoadFromFile(folder_.File("many.tle"), Folder()));
    EXPECT_EQ(busy_.begun, 1);
    EXPECT_EQ(tiler.Sheet().GetWidth(), 30u);
    EXPECT_EQ(tiler.bmpFile, " b.png");
    const CRaster* tile = tiler.Group(1).tiles.at(0).ScaledTo(10, 10);
    ASSERT_NE(tile, nullptr);
    EXPECT_EQ(tile->GetPixelColor(0, 0).rgbRed, 90);

    // A sheet that cannot be read says why.
    WriteFile(folder_.File("bad.png"), "\x89PNG\r\n\x1a\n broken");
    WriteFile(folder_.File("bad.tle"), "NAME: Bad\r\nBMPFILE: bad.png\r\n");
    ASSERT_TRUE(tiler.LoadFromFile(folder_.File("bad.tle"), Folder()));
    EXPECT_EQ(tiler.Problem().rfind("The picture \"bad.png\" of the tile set \" Bad\" could not "
                                    "be read: ",
                                    0),
              0u)
        << tiler.Problem();
}

TEST_F(TileSetBudgetTest, ListingReadsNoSheetAndShowingReadsOne) {
    Sheet("a.png", 20, 50);
    WriteFile(folder_.File("Tiler_one.tle"), "NAME: One\r\nBMPFILE: a.png\r\n");
    WriteFile(folder_.File("Tiler_two.tle"), TileSetBombs::HugeTiles("a.png", 100000, 40));
    TileSetCatalogue catalogue;
    catalogue.SetUserTilerFolder(Folder());
    catalogue.SetInstallFolder(folder_.File("none"));
    const auto& entries = catalogue.Entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, " One");
    EXPECT_EQ(entries[1].name, " Huge");
    EXPECT_EQ(busy_.begun, 0);
    CBMPTiler shown;
    ASSERT_TRUE(catalogue.LoadEntry(shown, 0));
    EXPECT_EQ(busy_.begun, 1);
    EXPECT_TRUE(shown.Sheet().IsValid());
}

} // namespace
