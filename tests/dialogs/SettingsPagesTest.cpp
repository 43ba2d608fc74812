#include "document/SettingsPages.h"
#include "dialogs/SettingsPageRules.h"
#include "dialogs/StylePage.h"
#include "document/SettingsPageExchange.h"
#include "platform/MessageBox.h"
#include "tests/support/TempFolder.h"
#include "view/tiler/TileSetCatalogue.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

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
    EXPECT_EQ(page_.RadioForValues(), StylePage::kTiledRadio);
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

TEST(SettingsPageRulesTest, DimensionsCheckOnlyTheShownFields) {
    PP2 v;
    v.innerRadiusPercent = 0; // the profile truncates 0.5 to 0
    v.innerRadiusCells = 0;
    SettingsPageRules::ClampDimensions(v);
    EXPECT_FLOAT_EQ(v.innerRadiusPercent, 0.1f);
    EXPECT_EQ(v.innerRadiusCells, 1);

    SettingsPageRules::DimensionTexts t{"20", "30", "bad", "0.05"};
    EXPECT_FALSE(SettingsPageRules::ReadDimensions(0, t, v));
    EXPECT_EQ(v.cellsWide, 20);
    EXPECT_EQ(v.cellsLong, 30);
    t.cellsLong = " 100001 ";
    auto error = SettingsPageRules::ReadDimensions(0, t, v);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->controlId, 1007);
    EXPECT_EQ(error->message, "Please enter an integer between 0 and 100000.");
    EXPECT_EQ(v.cellsLong, 30);

    t.innerCells = "12";
    error = SettingsPageRules::ReadDimensions(40, t, v);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->controlId, 1010);
    EXPECT_EQ(error->message, "Please enter a number between 0.1 and 99.9.");
    t.innerPercent = "4,5";
    EXPECT_EQ(SettingsPageRules::ReadDimensions(40, t, v)->message, "Please enter a number.");
    t.innerPercent = "4.5";
    EXPECT_FALSE(SettingsPageRules::ReadDimensions(40, t, v));
    EXPECT_FLOAT_EQ(v.innerRadiusPercent, 4.5f);
    EXPECT_EQ(v.innerRadiusCells, 12);
}

TEST(SettingsPageRulesTest, PenRadiosAndPageInches) {
    EXPECT_EQ(SettingsPageRules::PenRadioFor(0), SettingsPageRules::kThinnest);
    EXPECT_EQ(SettingsPageRules::PenRadioFor(10), SettingsPageRules::kHundredth);
    EXPECT_EQ(SettingsPageRules::PenRadioFor(25), SettingsPageRules::kThousandths);
    PP4 v;
    v.penWidth = 25;
    SettingsPageRules::ChoosePen(SettingsPageRules::kThousandths, v);
    EXPECT_EQ(v.penWidth, 25);
    SettingsPageRules::ChoosePen(SettingsPageRules::kHundredth, v);
    EXPECT_EQ(v.penWidth, 10);

    PP6 colours;
    colours.colours.wallPen = RGB(1, 2, 3);
    colours.SetDefaultColors();
    EXPECT_EQ(colours.colours.erased, RGB(208, 208, 64));

    MazeSettings s;
    s.pageHeight = 9499;
    SettingsPages pages;
    SettingsPageExchange::Fill(s, {}, false, pages);
    EXPECT_FLOAT_EQ(pages.page.height, 9.5f);
    EXPECT_EQ(SettingsPageExchange::Read(pages, s).pageHeight, 9499);
}
