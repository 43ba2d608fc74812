#include "image/core/CRaster.h"
#include "platform/CrtRandom.h"
#include "tests/support/TempFolder.h"
#include "tiles/CBMPTiler.h"
#include "tiles/TileSetCatalogue.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// A 4 x 2 tile sheet of 10-pixel tiles, each tile one grey level (tile i has level 20 * i).
void WriteSheet(const std::string& path) {
    CRaster sheet(40, 20, 24);
    for (LONG y = 0; y < 20; ++y)
        for (LONG x = 0; x < 40; ++x) {
            const int tile = x / 10 + (19 - y) / 10 * 4;
            const BYTE level = BYTE(20 * tile);
            sheet.SetPixelColor(x, y, RGBQUAD{level, level, level, 0});
        }
    ASSERT_TRUE(sheet.Save(path, CRaster::kTypeBmp));
}

// The tile's picture at its own size.
const CRaster& Picture(const CTileInfo& tile) {
    static const CRaster none;
    const CRaster* p = tile.ScaledTo(tile.Width(), tile.Height());
    return p ? *p : none;
}

BYTE TileLevel(const CTileInfo& tile) {
    return Picture(tile).GetPixelColor(0, 0).rgbRed;
}

} // namespace

TEST(TilerKinds, NamesGiveTheirKinds) {
    const std::pair<const char*, int> cases[] = {
        {"N", 1},           {"e", 2},           {" NE ", 3},        {"EN", 3},
        {"3", 3},           {"S", 4},           {"SN", 5},          {"ES", 6},
        {"SEN", 7},         {"W", 8},           {"WN", 9},          {"WE", 10},
        {"WEN", 11},        {"WS", 12},         {"WSN", 13},        {"SWE", 14},
        {"WSEN", 15},       {"TEMPLATE", 0},    {"SOLUTION", 16},   {"blacken", 17},
        {"START", 18},      {"STOP", 19},       {"STARTSTOP", 19},  {"CROSSOVER", 20},
        {"JOIN-NS-EW", 20}, {"JOIN-NW-SE", 21}, {"JOIN-NE-SW", 22}, {"12", 12},
        {"99", 99},         {"-4", -4},         {"NNE", 0},         {"", 0}};
    for (const auto& [text, kind] : cases) {
        int flags = 0;
        EXPECT_EQ(CBMPTiler::KindFromName(text, flags), kind) << '"' << text << '"';
    }
    int flags = 0;
    CBMPTiler::KindFromName("JOIN-NW-SE", flags);
    CBMPTiler::KindFromName("JOIN-NE-SW", flags);
    EXPECT_EQ(flags, CBMPTiler::kJoinNwSe | CBMPTiler::kJoinNeSw);
}

class TilerFileTest : public ::testing::Test {
protected:
    void SetUp() override { WriteSheet(folder_.File("sheet.bmp")); }
    CBMPTiler& Load(const std::string& body) {
        WriteFile(folder_.File("set.tle"),
                  "NAME: Test\r\nPIXELSWIDE: 10\r\nPIXELSHIGH: 10\r\nBMPFILE: sheet.bmp\r\n" +
                      body);
        EXPECT_TRUE(tiler_.LoadFromFile(folder_.File("set.tle"), folder_.Path().string() + "/"));
        return tiler_;
    }

    TempFolder folder_{"tiler"};
    CBMPTiler tiler_;
};

TEST_F(TilerFileTest, TileLinesFillTheirGroups) {
    CBMPTiler& t = Load("TILE: NE,1,2\r\n"
                        "TILE: EN,2,1,5\r\n"
                        "TILE: 3 ,1,4,\r\n"
                        ";TILE: S,1,1\r\n"
                        "TILE: STOP START,2,2\r\n"
                        "TILE: 23,1,1\r\n"
                        "TILE: -1,1,1\r\n"
                        "TILE: W,2,1,-7\r\n"
                        "COMMENTS: x NAME: y TILE: S,2,3\r\n");
    const auto& three = t.Group(3).tiles;
    ASSERT_EQ(three.size(), 3u);
    EXPECT_EQ(three[0].weight, 1);
    EXPECT_EQ(three[1].weight, 5);
    EXPECT_EQ(three[2].weight, 1);
    EXPECT_EQ(TileLevel(three[0]), 20); // row 1, column 2
    EXPECT_EQ(TileLevel(three[1]), 80); // row 2, column 1
    EXPECT_EQ(three[0].Width(), 10);
    EXPECT_EQ(t.Group(19).tiles.size(), 1u);
    EXPECT_EQ(t.Group(8).tiles.at(0).weight, -7); // kept as written, counted as 0
    // A line holding several keys applies each: the kind text runs to the first comma.
    EXPECT_EQ(t.comments, " x NAME: y TILE: S,2,3");
    EXPECT_EQ(t.name, " x NAME: y TILE: S,2,3");
    EXPECT_EQ(t.Group(0).tiles.at(0).kindText, "x NAME: y TILE: S");
    EXPECT_EQ(t.Group(0).tiles.at(0).row, 2);
    int total = 0;
    for (int k = 0; k < CBMPTiler::kKinds; ++k)
        total += int(t.Group(k).tiles.size());
    EXPECT_EQ(total, 6); // kinds 23 and -1 are ignored
}

TEST(TilerPick, WeightsChooseAsTheGeneratorDraws) {
    CTileGroupInfo group;
    group.tiles.resize(2);
    group.tiles[0].weight = 1;
    group.tiles[1].weight = 3;
    CrtRandom random;
    random.srand(1);
    // The generator's first draws are 41, 18467, 6334, 26500, 19169 (mod 4: 1, 3, 2, 0, 1).
    std::string picks;
    for (int i = 0; i < 5; ++i)
        picks += group.PickTile(random) == &group.tiles[0] ? '0' : '1';
    EXPECT_EQ(picks, "11101");

    group.tiles[0].weight = -2;
    group.tiles[1].weight = 0;
    const std::uint32_t before = random.State();
    EXPECT_EQ(group.PickTile(random), &group.tiles[0]);
    EXPECT_EQ(random.State(), before);
}

TEST_F(TilerFileTest, HostileDefinitionsStayInBounds) {
    // Tiles off the sheet or partly on it, huge numbers, opacity out of range.
    CBMPTiler& t = Load("TILE: N,3,1\r\n"
                        "TILE: E,2147483647,2147483647\r\n"
                        "TILE: S,-2147483648,1\r\n"
                        "TILEO: 250,W,1,1\r\n"
                        "TILEO: -5,NW,1,1\r\n"
                        "TILEO: 50,NE,1,3\r\n");
    EXPECT_FALSE(t.Group(1).tiles.at(0).HasPicture());
    EXPECT_FALSE(t.Group(2).tiles.at(0).HasPicture());
    EXPECT_FALSE(t.Group(4).tiles.at(0).HasPicture());
    const CRaster& opaque = Picture(t.Group(8).tiles.at(0));
    ASSERT_TRUE(opaque.IsAlphaValid());
    EXPECT_EQ(opaque.GetAlpha(0, 0), 255);
    EXPECT_FALSE(Picture(t.Group(9).tiles.at(0)).IsAlphaValid());
    EXPECT_EQ(Picture(t.Group(3).tiles.at(0)).GetAlpha(5, 5), 127);
    EXPECT_EQ(t.Problem(), "3 tiles of the tile set \" Test\" lie outside its picture of 40 x 20 "
                           "pixels and are not drawn.");
}

TEST_F(TilerFileTest, FileNamesStayInsideTheSetsFolder) {
    std::filesystem::create_directory(folder_.Path() / "Sub");
    std::filesystem::copy_file(folder_.File("sheet.bmp"), folder_.Path() / "Sub" / "Sheet.BMP");
    const std::string outside = folder_.Path().parent_path().string();
    const std::pair<std::string, bool> cases[] = {
        {"sheet.bmp", true},         {"  sheet.bmp  ", true},
        {"SHEET.bmp", true},         {"sub\\sheet.bmp", true},
        {"./Sub/Sheet.BMP", true},   {"../sheet.bmp", false},
        {outside + "/x.bmp", false}, {"/etc/passwd", false},
        {"Sub/../sheet.bmp", false}, {"", false},
        {"missing.bmp", false}};
    for (const auto& [name, found] : cases) {
        WriteFile(folder_.File("set.tle"), "BMPFILE:" + name + "\r\n");
        ASSERT_TRUE(tiler_.LoadFromFile(folder_.File("set.tle"), folder_.Path().string() + "/"));
        EXPECT_EQ(tiler_.Sheet().IsValid(), found) << name;
    }
    std::filesystem::create_symlink("/etc", folder_.Path() / "link");
    WriteFile(folder_.File("set.tle"), "BMPFILE: link/hostname\r\n");
    tiler_.LoadFromFile(folder_.File("set.tle"), folder_.Path().string() + "/");
    EXPECT_FALSE(tiler_.Sheet().IsValid());
}

TEST_F(TilerFileTest, ReadingLimitsAndResets) {
    // Tile size comes from each parse; a lone LF ends a line and only CR before LF is cut.
    Load("TILE: N,1,1\nNAME: A\rB\r\n");
    EXPECT_EQ(tiler_.TileWidth(), 10);
    EXPECT_EQ(tiler_.name, " A\rB");
    WriteFile(folder_.File("bare.tle"), "TILE: N,1,1\r\n");
    ASSERT_TRUE(tiler_.LoadFromFile(folder_.File("bare.tle"), folder_.Path().string() + "/"));
    EXPECT_EQ(tiler_.TileWidth(), 0);
    EXPECT_EQ(tiler_.Group(1).tiles.size(), 1u);

    // The text ends at its first NUL and after 40000 bytes.
    std::string padded(39995, ';');
    padded += "\r\nNAME: cut\r\n";
    WriteFile(folder_.File("long.tle"), std::string("NAME: first\r\n\0NAME: hidden\r\n", 29));
    ASSERT_TRUE(tiler_.LoadFromFile(folder_.File("long.tle"), ""));
    EXPECT_EQ(tiler_.name, " first");
    WriteFile(folder_.File("long.tle"), padded);
    ASSERT_TRUE(tiler_.LoadFromFile(folder_.File("long.tle"), ""));
    EXPECT_EQ(tiler_.name, "");

    // Windows-1252 text arrives as UTF-8; a file that can't be read resets the tiler.
    WriteFile(folder_.File("latin.tle"), "NAME: Caf\xe9\r\n");
    ASSERT_TRUE(tiler_.LoadFromFile(folder_.File("latin.tle"), ""));
    EXPECT_EQ(tiler_.name, " Caf\xc3\xa9");
    EXPECT_FALSE(tiler_.LoadFromFile(folder_.File("none.tle"), ""));
    EXPECT_EQ(tiler_.name, "");
    EXPECT_FALSE(tiler_.LoadFromFile(folder_.Path().string(), ""));
}

TEST_F(TilerFileTest, TransparentColourAndPreview) {
    CBMPTiler& t = Load("TRANSRGBCOLOR: 141414\r\nTILE: E,1,2\r\nTILE: ESW,1,1\r\n");
    EXPECT_TRUE(t.Sheet().IsTransparent());
    EXPECT_EQ(t.Sheet().GetTransparentColor().rgbGreen, 0x14);
    CRaster preview;
    ASSERT_TRUE(t.RenderPreview(preview, 90, 90));
    ASSERT_EQ(preview.GetWidth(), 90u);
    // Top-left sample cell is kind 2, whose tile (level 20) is transparent: the white shows.
    // The top middle is kind 14 (level 0); kind 8 has no tile and shows the placeholder.
    auto top = [&](LONG x, LONG y) { return preview.GetPixelColor(x, 89 - y).rgbRed; };
    EXPECT_EQ(top(15, 15), 255);
    EXPECT_EQ(top(45, 15), 0);
    EXPECT_EQ(top(75, 8), 200);
}

TEST(TileSetCatalogueTest, StoredIdsFindTheirSets) {
    TempFolder install("install");
    std::filesystem::create_directory(install.Path() / "Tiler");
    WriteFile(install.File("Tiler/b.TLE"), "NAME: Same\r\nUNIQUEID: uid-b\r\n");
    WriteFile(install.File("Tiler/a.tle"), "NAME: Same\r\n");
    WriteFile(install.File("Tiler/c.txt"), "NAME: Not a set\r\n");
    TileSetCatalogue sets;
    sets.SetInstallFolder(install.Path().string());
    const auto& entries = sets.Entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].id, " Same Filename: a.tle");
    EXPECT_EQ(entries[1].id, " uid-b");

    CBMPTiler tiler;
    std::string message;
    EXPECT_TRUE(sets.Load(tiler, " Same Filename: a.tle", message));
    EXPECT_TRUE(tiler.uniqueId.empty());
    EXPECT_TRUE(sets.Load(tiler, " uid-b", message));
    EXPECT_EQ(tiler.uniqueId, " uid-b");
    EXPECT_FALSE(sets.Load(tiler, "nothing", message));
    EXPECT_EQ(tiler.uniqueId, " uid-b");
    EXPECT_TRUE(message.empty());

    // Duplicate names: the selected entry loads, not the last of that name.
    std::string id;
    EXPECT_TRUE(sets.LoadSelection(tiler, TileSetCatalogue::kBuiltInCount + 0, " Same", id));
    EXPECT_EQ(id, " Same Filename: a.tle");
    EXPECT_TRUE(sets.LoadSelection(tiler, 5, "", id));
    EXPECT_EQ(id, ":ID:#206");
    EXPECT_EQ(tiler.TileWidth(), 50);

    EXPECT_TRUE(sets.Load(tiler, ":ID:#182", message));
    EXPECT_EQ(message, TileSetCatalogue::UnknownBuiltInMessage(182));
    EXPECT_NE(message.find("ID=182 could not"), std::string::npos);
    EXPECT_EQ(tiler.TileWidth(), 200);
    EXPECT_EQ(tiler.name, " My Tile Design2");
}
