#include "document/SettingsPages.h"
#include "dialogs/CImageSettingsDialog.h"
#include "dialogs/SettingsPageRules.h"
#include "dialogs/StylePage.h"
#include "document/SettingsPageExchange.h"
#include "document/SettingsPagesCheck.h"
#include "forms/ControlIds.h"
#include "platform/MessageBox.h"
#include "tests/support/TempFolder.h"
#include "tiles/TileSetCatalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <vector>

namespace {

class StylePageTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory(install_.Path() / "Tiler");
        sets_.SetInstallFolder(install_.Path().string());
    }
    void WriteSet(const std::string& file, const std::string& text) {
        std::ofstream(install_.File("Tiler/" + file), std::ios::binary) << text;
        sets_.MarkStale();
    }

    ScriptedMessageBox prompts_;
    IMessageBox::Installation installed_{prompts_};
    TempFolder install_{"style-page"};
    TileSetCatalogue sets_;
    PP1 values_;
    StylePage page_{values_, sets_};
};

} // namespace

TEST_F(StylePageTest, StylesSetKindAndControls) {
    page_.ChoosePlainStyle(1039);
    EXPECT_EQ(values_.kind, 40);
    EXPECT_FALSE(page_.WrapsEnabled());
    EXPECT_FALSE(page_.ListEnabled());
    page_.ChooseTiled(5, "Brick Walk 50x50");
    EXPECT_TRUE(page_.ListEnabled());
    EXPECT_TRUE(page_.WrapsEnabled());
    EXPECT_EQ(values_.tiled, 1);
    EXPECT_EQ(values_.tilerId, ":ID:#206");
    EXPECT_EQ(page_.Preview().GetWidth(), 100u);
    EXPECT_EQ(page_.RadioForValues(), ControlIds::Style::kTiled);
    page_.ChoosePlainStyle(1035);
    EXPECT_EQ(values_.kind, 1);
    EXPECT_EQ(values_.tiled, 0);
    EXPECT_EQ(values_.selectedTilerName, "");
    EXPECT_TRUE(page_.WrapsEnabled());
    EXPECT_FALSE(page_.ListEnabled());
    EXPECT_EQ(page_.RadioForValues(), 1035);
    values_.kind = 77;
    EXPECT_EQ(page_.RadioForValues(), 1032);
}

TEST_F(StylePageTest, ListAndStoredIdsFindTheirSets) {
    WriteSet("z.tle", "NAME: Twin\r\nPIXELSWIDE: 7\r\n");
    WriteSet("a.TLE", "NAME: Twin\r\nPIXELSWIDE: 5\r\n");
    const auto texts = page_.ListTexts();
    ASSERT_EQ(texts.size(), 8u);
    EXPECT_EQ(texts[0], "Std Black Line 200x200");
    EXPECT_EQ(texts[6], " Twin");
    // The second of two sets with the same name loads when it is the one chosen.
    page_.ChooseTiled(7, texts[7]);
    EXPECT_EQ(page_.PreviewTiler().TileWidth(), 7);
    EXPECT_EQ(values_.tilerId, " Twin Filename: z.tle");

    CBMPTiler tiler;
    EXPECT_TRUE(page_.LoadTiler(tiler, " Twin Filename: a.TLE"));
    EXPECT_EQ(tiler.TileWidth(), 5);
    EXPECT_TRUE(prompts_.ShownBoxes().empty());
    values_.tilerId = ":ID:#182";
    EXPECT_TRUE(page_.LoadTiler(tiler, values_.tilerId));
    ASSERT_EQ(prompts_.ShownBoxes().size(), 1u);
    EXPECT_EQ(prompts_.ShownBoxes()[0].type, UINT(MB_OKCANCEL));
    EXPECT_EQ(tiler.TileWidth(), 200);
    EXPECT_EQ(values_.tilerId, ":ID:#182");
}

std::vector<std::uint32_t> Packed(const CRaster& picture) {
    std::vector<std::uint32_t> all;
    for (LONG y = 0; y < LONG(picture.GetHeight()); ++y)
        for (LONG x = 0; x < LONG(picture.GetWidth()); ++x) {
            const RGBQUAD p = picture.GetPixelColor(x, y, false);
            all.push_back(std::uint32_t(p.rgbRed) << 16 | std::uint32_t(p.rgbGreen) << 8 |
                          p.rgbBlue);
        }
    return all;
}

TEST_F(StylePageTest, EveryPlainStyleShowsItsOwnPicture) {
    std::set<std::vector<std::uint32_t>> seen;
    for (const StylePage::Style& s : StylePage::kStyles) {
        if (s.tiled)
            continue;
        page_.ChooseTiled(0, "Std Black Line 200x200"); // the sample must not linger
        page_.ChoosePlainStyle(s.radioId);
        SCOPED_TRACE(s.caption);
        ASSERT_EQ(page_.Preview().GetWidth(), 100u);
        ASSERT_EQ(page_.Preview().GetHeight(), 100u);
        const auto pixels = Packed(page_.Preview());
        // Walls, a start and a stop on white paper.
        for (std::uint32_t colour : {0x000000u, 0xFFFFFFu, 0x00FF00u, 0xFF0000u})
            EXPECT_GT(std::count(pixels.begin(), pixels.end(), colour), 12) << std::hex << colour;
        EXPECT_TRUE(seen.insert(pixels).second);
    }
    // The circular picture is also what the image settings dialog shows under a picture.
    page_.ChoosePlainStyle(1039);
    EXPECT_EQ(Packed(CImageSettingsDialog().background), Packed(page_.Preview()));
}

TEST_F(StylePageTest, TheListFollowsTheFolderOnlyOnceMarkedStale) {
    WriteSet("b.tle", "NAME: Beta\r\n");
    EXPECT_EQ(page_.ListTexts().size(), 7u);
    page_.ChooseTiled(6, " Beta");
    // A download writes a set; until the pane says so, the list is the one scanned.
    std::ofstream(install_.File("Tiler/a.tle"), std::ios::binary) << "NAME: Alpha\r\n";
    EXPECT_EQ(page_.ListTexts().size(), 7u);
    sets_.MarkStale();
    const auto texts = page_.ListTexts();
    ASSERT_EQ(texts.size(), 8u);
    EXPECT_EQ(texts[6], " Alpha");
    EXPECT_EQ(texts[7], " Beta");
    // The stored index now points at Alpha; the stored name still finds Beta.
    values_.tilerId.clear();
    EXPECT_TRUE(page_.LoadSelectedTiler(nullptr));
    EXPECT_EQ(values_.tilerId, " Beta Filename: b.tle");
    page_.ChooseTiled(6, texts[6]);
    EXPECT_EQ(values_.tilerId, " Alpha Filename: a.tle");
}

TEST(SettingsPageRulesTest, DimensionsCheckOnlyTheShownFields) {
    PP2 v;
    v.innerRadiusPercent = 0; // the profile truncates 0.5 to 0
    v.innerRadiusCells = 0;
    SettingsPageRules::ClampDimensions(v);
    EXPECT_FLOAT_EQ(v.innerRadiusPercent, 0.1f);
    EXPECT_EQ(v.innerRadiusCells, 1);

    SettingsPageRules::DimensionTexts t{"20", "30", "bad", "0.05"};
    EXPECT_FALSE(SettingsPageRules::ReadDimensions(0, t, v, v));
    EXPECT_EQ(v.cellsWide, 20);
    EXPECT_EQ(v.cellsLong, 30);
    t.cellsLong = " 100001 ";
    auto error = SettingsPageRules::ReadDimensions(0, t, v, v);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->controlId, 1007);
    EXPECT_EQ(error->message, "Please enter an integer between 1 and 100000.");
    EXPECT_EQ(SettingsPageRules::Message(SettingsPages::kDimensions, *error),
              "Cells Long: Please enter an integer between 1 and 100000.");
    EXPECT_EQ(v.cellsLong, 30);
    // The range a message states is the range taken: 0 and the cell cap are refused too.
    t.cellsLong = "0";
    EXPECT_EQ(SettingsPageRules::ReadDimensions(0, t, v, v)->controlId, 1007);
    t = {"2000", "2001", "", ""};
    error = SettingsPageRules::ReadDimensions(0, t, v, v);
    ASSERT_TRUE(error);
    EXPECT_EQ(SettingsPageRules::Message(SettingsPages::kDimensions, *error),
              "Cells Wide: 2000 columns of 2001 rows make 4002000 cells; a maze holds at most "
              "4,000,000 cells.");
    t.cellsLong = "2000";
    EXPECT_FALSE(SettingsPageRules::ReadDimensions(0, t, v, v));
    EXPECT_EQ(v.cellsLong, 2000);
    t = {"20", "30", "bad", "0.05"};

    t.innerCells = "12";
    error = SettingsPageRules::ReadDimensions(40, t, v, v);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->controlId, 1010);
    EXPECT_EQ(error->message, "Please enter a number between 0.1 and 99.9.");
    t.innerPercent = "4,5";
    EXPECT_EQ(SettingsPageRules::ReadDimensions(40, t, v, v)->message, "Please enter a number.");
    t.innerPercent = "4.5";
    EXPECT_FALSE(SettingsPageRules::ReadDimensions(40, t, v, v));
    EXPECT_FLOAT_EQ(v.innerRadiusPercent, 4.5f);
    EXPECT_EQ(v.innerRadiusCells, 12);
}

TEST(SettingsPageRulesTest, ASeedIsAWholeNumberOrRefused) {
    std::string seed = "7";
    for (const char* bad : {"abc", "12abc", "", "99999999999", "1.5"}) {
        const auto error = SettingsPageRules::ReadSeed(bad, seed);
        ASSERT_TRUE(error) << bad;
        EXPECT_EQ(SettingsPageRules::Message(SettingsPages::kAdvanced, *error),
                  "Random Number Seed: Please enter a whole number between -2147483648 and "
                  "2147483647.");
    }
    EXPECT_EQ(seed, "7");
    for (const char* good : {"-1", "0", "-2147483648", "2147483647"}) {
        EXPECT_FALSE(SettingsPageRules::ReadSeed(good, seed));
        EXPECT_EQ(seed, good);
    }
}

TEST(SettingsPageRulesTest, PenRadiosAndPageInches) {
    EXPECT_EQ(SettingsPageRules::PenRadioFor(0), ControlIds::Advanced::kThinnest);
    EXPECT_EQ(SettingsPageRules::PenRadioFor(10), ControlIds::Advanced::kHundredth);
    EXPECT_EQ(SettingsPageRules::PenRadioFor(25), ControlIds::Advanced::kThousandths);
    PP4 v;
    v.penWidth = 25;
    SettingsPageRules::ChoosePen(ControlIds::Advanced::kThousandths, v);
    EXPECT_EQ(v.penWidth, 25);
    SettingsPageRules::ChoosePen(ControlIds::Advanced::kHundredth, v);
    EXPECT_EQ(v.penWidth, 10);

    PP6 colours;
    const CellColours defaults = colours.colours;
    colours.colours = CellColours{1, 2, 3, 4, 5, 6, 7, 8};
    colours.SetDefaultColors();
    const COLORREF expected[] = {RGB(0, 0, 0),       RGB(208, 208, 64), RGB(0, 0, 0),
                                 RGB(128, 128, 240), RGB(0, 255, 0),    RGB(192, 255, 192),
                                 RGB(255, 0, 0),     RGB(255, 192, 192)};
    const COLORREF restored[] = {colours.colours.wallPen,   colours.colours.erased,
                                 colours.colours.blackened, colours.colours.solution,
                                 colours.colours.start,     colours.colours.hiddenStart,
                                 colours.colours.stop,      colours.colours.hiddenStop};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(restored[i], expected[i]) << i;
    EXPECT_EQ(defaults.erased, colours.colours.erased);

    MazeSettings s;
    s.pageHeight = 9499;
    SettingsPages pages;
    SettingsPageExchange::Fill(s, {}, false, pages);
    EXPECT_FLOAT_EQ(pages.page.height, 9.5f);
    EXPECT_EQ(SettingsPageExchange::Read(pages, s).pageHeight, 9499);
}

// Each refusal names the field it is about and the range it takes: an integer too large for
// the machine is still an integer, and too many cells points at the count the user changed.
TEST(SettingsPageRulesTest, RefusalsNameTheChangedFieldAndTheRange) {
    PP2 opened;
    opened.cellsLong = 1000;
    opened.cellsWide = 1000;
    PP2 v = opened;
    SettingsPageRules::DimensionTexts t{"1000", "99999999999", "", ""};
    auto error = SettingsPageRules::ReadDimensions(0, t, opened, v);
    ASSERT_TRUE(error);
    EXPECT_EQ(SettingsPageRules::Message(SettingsPages::kDimensions, *error),
              "Cells Long: Please enter an integer between 1 and 100000.");
    t.cellsLong = " -99999999999 ";
    EXPECT_EQ(SettingsPageRules::ReadDimensions(0, t, opened, v)->message,
              "Please enter an integer between 1 and 100000.");
    t.cellsLong = "12x";
    EXPECT_EQ(SettingsPageRules::ReadDimensions(0, t, opened, v)->message,
              "Please enter an integer.");
    int pen = 3;
    EXPECT_EQ(SettingsPageRules::ReadInt(1027, "4294967296", pen)->message,
              "Please enter an integer between -2147483648 and 2147483647.");
    EXPECT_EQ(pen, 3);

    t.cellsLong = "4001";
    error = SettingsPageRules::ReadDimensions(0, t, opened, v);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->controlId, ControlIds::Dimensions::kCellsLong);
    t = {"4001", "1000", "", ""};
    EXPECT_EQ(SettingsPageRules::ReadDimensions(0, t, opened, v)->controlId,
              ControlIds::Dimensions::kCellsWide);
    EXPECT_EQ(v.cellsLong, 1000);

    // Values out of a field's range are shown brought into it; left untouched they keep what
    // the sheet was opened with, so OK changes nothing (a ring count of rows stays).
    opened.cellsLong = 150000;
    opened.cellsWide = 10;
    opened.innerRadiusCells = 0;
    v = opened;
    t = {"10", "100000", "1", "4"};
    ASSERT_FALSE(SettingsPageRules::ReadDimensions(0, t, opened, v));
    EXPECT_EQ(v.cellsLong, 150000);
    ASSERT_FALSE(SettingsPageRules::ReadDimensions(40, t, opened, v));
    EXPECT_EQ(v.innerRadiusCells, 0);
    t = {"10", "99999", "", ""};
    ASSERT_FALSE(SettingsPageRules::ReadDimensions(0, t, opened, v));
    EXPECT_EQ(v.cellsLong, 99999);
}

// Page sizes and margins have stated ranges, checked field by field in the page's order; the
// range covers every value a document file may hold, and a value filled in from one reads
// back unchanged.
TEST(SettingsPageRulesTest, PageSizesAndMarginsHaveStatedRanges) {
    PP3 page;
    page.height = 9.5f;
    page.width = 7.5f;
    const PP3 before = page;
    struct Case {
        SettingsPageRules::PageTexts texts;
        const char* message; // empty when taken
    };
    const Case cases[] = {
        {{"99999999999", "7.5", "0", "0"},
         "Maze Height: Please enter a number between 0.252 and 10000."},
        {{"9.5", "99999999999", "0", "0"},
         "Maze Width: Please enter a number between 0.002 and 10000."},
        {{"9.5", "0", "0", "0"}, "Maze Width: Please enter a number between 0.002 and 10000."},
        {{"0.25", "7.5", "0", "0"}, "Maze Height: Please enter a number between 0.252 and 10000."},
        {{"9.5", "7.5", "-0.5", "0"}, "Left Margin: Please enter a number between 0 and 10000."},
        {{"9.5", "7.5", "0", "99999999999"},
         "Top Margin: Please enter a number between 0 and 10000."},
        {{"9.5", "7.5", "0", "1e39"}, "Top Margin: Please enter a number."},
        {{"0.252", "0.002", "10000", "10000"}, ""},
        {{"10000", "10000", "0", "0.001"}, ""},
    };
    for (const Case& c : cases) {
        PP3 v = before;
        const auto error = SettingsPageRules::ReadPageSizes(c.texts, v);
        if (*c.message == '\0') {
            EXPECT_FALSE(error) << error->message;
            continue;
        }
        ASSERT_TRUE(error) << c.message;
        EXPECT_EQ(SettingsPageRules::Message(SettingsPages::kPage, *error), c.message);
        EXPECT_EQ(v.height, before.height);
        EXPECT_EQ(v.width, before.width);
    }
    // A page in range yet too narrow for one cell is refused at Maze Width, not Height.
    MazeSettings narrow;
    narrow.kind = 0;
    narrow.columns = narrow.rows = 10;
    narrow.fitToPage = 0;
    narrow.scale = 100;
    SettingsPages pages;
    SettingsPageExchange::Fill(narrow, {}, false, pages);
    pages.page.width = 0.05f;
    auto refusal = SettingsPagesCheck::For(pages);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(SettingsPageRules::FieldName(refusal->page, refusal->controlId), "Maze Width");
    pages.page.width = 7.5f;
    pages.page.height = 0.3f;
    refusal = SettingsPagesCheck::For(pages);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(SettingsPageRules::FieldName(refusal->page, refusal->controlId), "Maze Height");
    pages.page.height = 9.5f;
    EXPECT_FALSE(SettingsPagesCheck::For(pages));

    // The ends of the file's ranges fill the page and pass its check unchanged; a margin
    // below 0, which prints as 0, is shown as 0.
    for (const auto& [side, offset] : {std::pair{10'000'000, 10'000'000}, std::pair{1, 0}}) {
        MazeSettings s;
        s.pageWidth = side;
        s.pageHeight = std::max(side, MazeSettings::kTopBand + 1);
        s.xOffset = offset;
        s.yOffset = -offset;
        SettingsPages pages;
        SettingsPageExchange::Fill(s, {}, false, pages);
        EXPECT_FALSE(SettingsPagesCheck::PageValues(pages.page)) << side;
        const MazeSettings back = SettingsPageExchange::Read(pages, s);
        EXPECT_EQ(back.pageWidth, s.pageWidth);
        EXPECT_EQ(back.pageHeight, s.pageHeight);
        EXPECT_EQ(back.xOffset, offset);
        EXPECT_EQ(back.yOffset, 0);
    }
}
