#include "tests/support/DocTestSupport.h"

#include "document/ISettingsSheet.h"
#include "document/MazeSettingsProfile.h"
#include "document/SettingsPageExchange.h"
#include "maze/GridPlan.h"
#include "maze/TemplateKind.h"
#include "platform/CrtRandom.h"

#include <functional>
#include <sys/wait.h>

namespace {

constexpr const char* kLoseWork =
    "Do you really wish to make these changes?  YOU WILL LOSE WHAT YOU WERE WORKING ON!";

// A sheet that lets the test edit the pages and answers OK or Cancel.
struct ScriptedSheet : ISettingsSheet {
    bool Run(const std::string& title, int startPage, SettingsPages& pages) override {
        titles.push_back(title);
        startPages.push_back(startPage);
        shown = pages;
        if (edit)
            edit(pages);
        return ok;
    }
    std::function<void(SettingsPages&)> edit;
    bool ok = true;
    SettingsPages shown;
    std::vector<std::string> titles;
    std::vector<int> startPages;
};

} // namespace

TEST(SettingsPageExchangeTest, InchesRoundTripWithoutDrift) {
    EXPECT_EQ(SettingsPageExchange::PageSideFromInches(9.5f), 9499);
    EXPECT_EQ(SettingsPageExchange::PageSideFromInches(7.5f), 7499);
    MazeSettings s;
    SettingsPages pages;
    for (int v : {1, 999, 1234, 7499, 9499, 10001, 33333, 123457}) {
        s.pageHeight = s.pageWidth = s.xOffset = s.yOffset = v;
        for (int round = 0; round < 3; ++round) {
            SettingsPageExchange::Fill(s, {}, true, pages);
            s = SettingsPageExchange::Read(pages, s);
        }
        EXPECT_EQ(s.pageHeight, v);
        EXPECT_EQ(s.pageWidth, v);
        EXPECT_EQ(s.xOffset, v);
        EXPECT_EQ(s.yOffset, v);
    }
    EXPECT_FLOAT_EQ(pages.page.height, 123.458f);
    // Absurd values saturate instead of overflowing.
    EXPECT_EQ(SettingsPageExchange::OffsetFromInches(1e30f), std::numeric_limits<int>::max());
    s.pageHeight = std::numeric_limits<int>::max();
    SettingsPageExchange::Fill(s, {}, true, pages);
    EXPECT_GT(pages.page.height, 2e6f);
}

TEST(GridPlanTest, FitToPageKeepsTheMarginsAndRefusesWhatCantBeBuilt) {
    MazeSettings s;                      // Box, 10 x 10 on 7499 x 9499, fit to page
    EXPECT_EQ(s.FitCellWidth(5), 746);   // 7499 / 10.05, not 7499 / 10
    EXPECT_EQ(s.FitCellHeight(55), 876); // 9249 / 10.55
    EXPECT_TRUE(GridPlan::For(s).Ok());

    auto refused = [](MazeSettings m) { return !GridPlan::For(m).Ok(); };
    MazeSettings m = s;
    m.columns = 7500; // more columns than page units
    EXPECT_TRUE(refused(m));
    m = s;
    m.columns = 0;
    EXPECT_TRUE(refused(m));
    m = s;
    m.columns = m.rows = 2001; // 4,004,001 cells
    m.pageWidth = m.pageHeight = 100000;
    EXPECT_TRUE(refused(m));
    m.columns = m.rows = 2000;
    EXPECT_FALSE(refused(m));
    m = s;
    m.pageHeight = 250; // nothing below the top band
    EXPECT_TRUE(refused(m));
    m.pageHeight = std::numeric_limits<int>::min() + 1;
    EXPECT_TRUE(refused(m));

    // Not fitting: a zero cell refuses; zero or too many columns become what fits.
    m = s;
    m.fitToPage = 0;
    m.scale = 0;
    EXPECT_TRUE(refused(m));
    m.scale = 400;
    m.kind = KIND_HEX;
    m.columns = 0;
    m.rows = 1000;
    const GridPlan capped = GridPlan::For(m);
    ASSERT_TRUE(capped.Ok());
    EXPECT_EQ(capped.Columns(), (7499 - 200) / 400);
    EXPECT_EQ(capped.Rows(), (9499 - 250 - 200) / 400);
    m.scale = 8000; // not one cell fits on the page
    EXPECT_TRUE(refused(m));
}

TEST_F(DocTest, FileNewBuildsEveryKindAndCollapsesThePane) {
    for (int kind : {0, 1, 2, 3, 4, 5, 40}) {
        CGridloomDoc& doc = NewDoc(kind, 12, 9);
        HeadlessInfoPane pane;
        doc.SetInfoPane(&pane);
        doc.OnFileNew();
        ASSERT_GT(doc.GridCount(), 0) << kind;
        EXPECT_EQ(doc.GetGrid(0)->Width(), 12);
        EXPECT_EQ(doc.GetGrid(0)->Height(), 9);
        EXPECT_EQ(doc.GetGrid(0)->GrowthWeights().size(),
                  static_cast<size_t>(doc.GetGrid(0)->SideCount()));
        EXPECT_GE(pane.collapses, 1);
        EXPECT_EQ(doc.GetCellHeight(), -doc.Settings().FitCellHeight(doc.MarginY()));
    }
    EXPECT_TRUE(prompts_.ShownBoxes().empty());
}

TEST_F(DocTest, ConfirmingUnchangedSettingsKeepsTheGridsButClearsTheMaze) {
    CGridloomDoc& doc = NewDoc(KIND_HEX, 8, 6);
    ScriptedSheet sheet;
    doc.SetSettingsSheet(&sheet);
    Object* grid = doc.GetGrid(2);
    grid->GetCell(3, 3) = MazeCell{CELL_BLACKENED | CELL_SOLUTION, 0x7};
    doc.seedPoints.push_back({3, 3});
    doc.Settings().seed = 1234;

    doc.OnMazeSetup();
    EXPECT_EQ(sheet.titles, std::vector<std::string>{"Orlimber Settings"});
    EXPECT_EQ(sheet.shown.advanced.seed, "1234");
    EXPECT_TRUE(prompts_.ShownBoxes().empty());
    EXPECT_EQ(doc.GetGrid(2), grid);
    EXPECT_EQ(grid->GetCell(3, 3), (MazeCell{CELL_BLACKENED, 0}));
    EXPECT_TRUE(doc.seedPoints.empty());
    EXPECT_EQ(CrtRandom::Main().State(), 1234u);

    doc.OnPageSetup();
    doc.OnSetPenWidth();
    EXPECT_EQ(sheet.startPages, (std::vector<int>{0, 2, 3}));
}

TEST_F(DocTest, ChangesThatRebuildAskFirstAndCancelKeepsEverything) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 8, 6);
    ScriptedSheet sheet;
    sheet.edit = [](SettingsPages& p) { p.dimensions.cellsWide = 20; };
    doc.SetSettingsSheet(&sheet);
    const Object* grid = doc.GetGrid(0);

    prompts_.Answer(IDCANCEL);
    doc.OnMazeSetup();
    ASSERT_EQ(prompts_.ShownBoxes().size(), 1u);
    EXPECT_EQ(prompts_.ShownBoxes()[0].text, kLoseWork);
    EXPECT_EQ(doc.GetGrid(0), grid);
    EXPECT_EQ(doc.Settings().columns, 8);

    prompts_.Answer(IDOK);
    doc.OnMazeSetup();
    EXPECT_EQ(doc.Settings().columns, 20);
    EXPECT_EQ(doc.GetGrid(0)->Width(), 20);
    EXPECT_EQ(doc.tilerReloadPending, 0);

    // A cancelled sheet changes nothing.
    sheet.ok = false;
    sheet.edit = [](SettingsPages& p) { p.dimensions.cellsWide = 30; };
    doc.OnMazeSetup();
    EXPECT_EQ(doc.Settings().columns, 20);
    EXPECT_EQ(doc.Pages().dimensions.cellsWide, 20);
}

TEST_F(DocTest, UnchangedCircularSheetAsksNothing) {
    CGridloomDoc& doc = NewDoc(KIND_CIRCULAR, 10, 10);
    ScriptedSheet sheet;
    doc.SetSettingsSheet(&sheet);
    sheet.edit = [](SettingsPages& p) {
        p.dimensions.innerRadiusCells = 12;
        p.dimensions.innerRadiusPercent = 7.3f;
    };
    doc.OnMazeSetup(); // changed circle: rebuilt after asking
    ASSERT_EQ(prompts_.ShownBoxes().size(), 1u);
    EXPECT_EQ(doc.GetGrid(0)->ring0Count, 12);
    EXPECT_NEAR(doc.GetGrid(0)->innerRadius, 0.073, 1e-6);
    sheet.edit = nullptr;
    prompts_.Clear();
    for (int i = 0; i < 3; ++i)
        doc.OnMazeSetup();
    EXPECT_TRUE(prompts_.ShownBoxes().empty());
}

TEST_F(DocTest, SettingsThatCantBuildAreRefusedAndChangeNothing) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 8, 6);
    ScriptedSheet sheet;
    doc.SetSettingsSheet(&sheet);
    const Object* grid = doc.GetGrid(0);
    const std::vector<std::function<void(SettingsPages&)>> edits = {
        [](SettingsPages& p) { p.dimensions.cellsWide = p.dimensions.cellsLong = 100000; },
        [](SettingsPages& p) { p.dimensions.cellsWide = 0; },
        [](SettingsPages& p) { p.dimensions.cellsWide = 9000; },
        [](SettingsPages& p) { p.page.height = 0; },
        [](SettingsPages& p) {
            p.dimensions.fitToPage = 0;
            p.dimensions.scale = 0;
        },
        [](SettingsPages& p) {
            p.style.kind = KIND_CIRCULAR;
            p.dimensions.innerRadiusCells = 10000;
            p.dimensions.innerRadiusPercent = 0.1f;
        },
        [](SettingsPages& p) {
            p.style.kind = KIND_CIRCULAR;
            p.dimensions.innerRadiusCells = 0;
        },
    };
    for (const auto& edit : edits) {
        prompts_.Clear();
        sheet.edit = edit;
        doc.OnMazeSetup();
        ASSERT_EQ(prompts_.ShownBoxes().size(), 1u);
        EXPECT_NE(prompts_.ShownBoxes()[0].text, kLoseWork);
        EXPECT_EQ(doc.GetGrid(0), grid);
        EXPECT_EQ(doc.Settings().kind, KIND_BOX);
        EXPECT_EQ(doc.Settings().columns, 8);
        EXPECT_EQ(doc.Settings().pageHeight, 9499);
    }
}

TEST_F(DocTest, FileNewWithSettingsThatCantBuildWarnsOnceAndKeepsTheMaze) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 8, 6);
    doc.OnGenerateMaze();
    const Object* grid = doc.GetGrid(0);
    const int carved = grid->GetCell(0, 0).passages;
    doc.Settings().columns = 0;
    prompts_.Clear();
    doc.OnFileNew();
    ASSERT_EQ(prompts_.ShownBoxes().size(), 1u);
    EXPECT_EQ(prompts_.ShownBoxes()[0].text, "A maze needs at least one column and one row.");
    EXPECT_EQ(doc.GetGrid(0), grid);
    EXPECT_EQ(doc.mazeMade, 1);
    EXPECT_EQ(grid->GetCell(0, 0).passages, carved);
}

// Every value the settings pages save comes back on load, under the same key.
TEST_F(DocTest, EverySavedSettingLoadsBack) {
    MazeSettings s;
    int next = 2;
    for (int* v : {&s.kind, &s.rows, &s.columns, &s.pageHeight, &s.pageWidth, &s.scale, &s.xOffset,
                   &s.yOffset, &s.wrapHorizontally, &s.wrapVertically, &s.erasedVisible,
                   &s.fitToPage, &s.deleteEnds, &s.animate, &s.penWidth, &s.tiled, &s.printerDebug,
                   &s.autoCenter, &s.compass.relative})
        *v = next++;
    for (int& w : s.compass.values)
        w = next++;
    s.tilerId = ":ID:#7";
    MazeSettingsProfile::SaveSize(Profile(), s, {31, 9});
    MazeSettingsProfile::SavePrinting(Profile(), s);
    MazeSettingsProfile::SaveCompass(Profile(), s.compass);

    CProfile reread(ProfilePath());
    const MazeSettings back = MazeSettingsProfile::Load(reread);
    EXPECT_EQ(back.kind, s.kind);
    EXPECT_EQ(back.rows, s.rows);
    EXPECT_EQ(back.columns, s.columns);
    EXPECT_EQ(back.pageHeight, s.pageHeight);
    EXPECT_EQ(back.pageWidth, s.pageWidth);
    EXPECT_EQ(back.scale, s.scale);
    EXPECT_EQ(back.xOffset, s.xOffset);
    EXPECT_EQ(back.yOffset, s.yOffset);
    EXPECT_EQ(back.wrapHorizontally, s.wrapHorizontally);
    EXPECT_EQ(back.wrapVertically, s.wrapVertically);
    EXPECT_EQ(back.erasedVisible, s.erasedVisible);
    EXPECT_EQ(back.fitToPage, s.fitToPage);
    EXPECT_EQ(back.deleteEnds, s.deleteEnds);
    EXPECT_EQ(back.animate, s.animate);
    EXPECT_EQ(back.penWidth, s.penWidth);
    EXPECT_EQ(back.tiled, s.tiled);
    EXPECT_EQ(back.printerDebug, s.printerDebug);
    EXPECT_EQ(back.autoCenter, s.autoCenter);
    EXPECT_EQ(back.compass.relative, s.compass.relative);
    EXPECT_EQ(back.compass.values, s.compass.values);
    EXPECT_EQ(back.tilerId, s.tilerId);
    const MazeSettingsProfile::Circular circular = MazeSettingsProfile::LoadCircular(reread);
    EXPECT_EQ(circular.cells, 31);
    EXPECT_EQ(circular.percent, 9);
}

TEST_F(DocTest, SettingsSurviveARestart) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        CGridloomDoc doc(Profile());
        doc.OnFileNew();
        ScriptedSheet sheet;
        sheet.edit = [](SettingsPages& p) {
            p.style.kind = KIND_TRIANGULAR;
            p.style.tiled = 1;
            p.style.tilerId = ":ID:#181";
            p.style.wrapHorizontally = 1;
            p.dimensions.cellsWide = 14;
            p.dimensions.cellsLong = 11;
            p.page.width = 8.5f;
            p.page.leftMargin = 0.25f;
            p.page.printerDebug = 1;
            p.advanced.penWidth = 25;
            p.advanced.infoWindow = 0;
            p.growth.e = 0;
            p.growth.sw = 3;
        };
        doc.SetSettingsSheet(&sheet);
        doc.OnMazeSetup();
        ::_exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    Profile().Reload();
    CGridloomDoc fresh(Profile());
    const MazeSettings& s = fresh.Settings();
    EXPECT_EQ(s.kind, KIND_TRIANGULAR);
    EXPECT_EQ(s.tiled, 1);
    EXPECT_EQ(s.tilerId, ":ID:#181");
    EXPECT_EQ(s.wrapHorizontally, 1);
    EXPECT_EQ(s.columns, 14);
    EXPECT_EQ(s.rows, 11);
    EXPECT_EQ(s.pageWidth, 8499);
    EXPECT_EQ(s.xOffset, 250);
    EXPECT_EQ(s.printerDebug, 1);
    EXPECT_EQ(s.penWidth, 25);
    EXPECT_EQ(s.compass.values[CompassWeights::E], 0);
    EXPECT_EQ(s.compass.values[CompassWeights::SW], 3);
    EXPECT_FALSE(fresh.InfoPane().InfoBoxVisible());
    EXPECT_EQ(Profile().GetProfileInt("size", "CircularCells", 0), 10);
}

TEST_F(DocTest, FreshProfileDefaults) {
    CGridloomDoc doc(Profile());
    EXPECT_TRUE(doc.InfoPane().InfoBoxVisible());
    EXPECT_EQ(doc.Settings().pageHeight, 9499);
    EXPECT_EQ(doc.Settings().fitToPage, 1);
    EXPECT_EQ(CrtRandom::Main().State(), static_cast<std::uint32_t>(doc.Settings().seed));
    // With fit to page the sheet shows the smaller cell side as the scale.
    doc.OnFileNew();
    ScriptedSheet sheet;
    doc.SetSettingsSheet(&sheet);
    doc.OnMazeSetup();
    EXPECT_EQ(sheet.shown.dimensions.scale, 746);
    EXPECT_FLOAT_EQ(sheet.shown.page.height, 9.5f);
}

// A page size or margin the pages would refuse, left in the settings file by an earlier run,
// comes in at the end of its range; values in range come in as they are.
TEST_F(DocTest, APageOutOfRangeInTheSettingsFileLoadsAtTheEndOfItsRange) {
    Profile().WriteProfileInt("size", "y", 2147483646);
    Profile().WriteProfileInt("size", "x", 7499);
    Profile().WriteProfileInt("size", "x_offset", -2147483647);
    Profile().WriteProfileInt("size", "y_offset", 2147483646);
    const MazeSettings s = MazeSettingsProfile::Load(Profile());
    EXPECT_EQ(s.pageHeight, 10'000'000);
    EXPECT_EQ(s.pageWidth, 7499);
    EXPECT_EQ(s.xOffset, 0);
    EXPECT_EQ(s.yOffset, 10'000'000);
    SettingsPages pages;
    SettingsPageExchange::Fill(s, {}, false, pages);
    EXPECT_EQ(SettingsPageExchange::Read(pages, s).pageHeight, s.pageHeight);
}
