#include "view/PrintPagePlan.h"

#include "platform/CProfile.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Describe(const PrintPagePlan& plan) {
    std::string out;
    for (int p = 1; p <= plan.PageCount(); ++p) {
        const PrintPagePlan::Page page = plan.At(p);
        out += page.regenerate ? "+" : "";
        out += page.solution ? "S " : "M ";
    }
    return out;
}

MazePrintSettings Kinds(int maze, int solution, int count) {
    MazePrintSettings s;
    s.printMaze = maze;
    s.printSolution = solution;
    s.numberOfMazes = count;
    return s;
}

} // namespace

TEST(PrintPagePlan, PageKindsAndRegenerationFollowTheChosenKinds) {
    EXPECT_EQ(Describe(PrintPagePlan(Kinds(1, 1, 3), false)), "M S +M S +M S ");
    EXPECT_EQ(Describe(PrintPagePlan(Kinds(1, 0, 1), false)), "+M ");
    EXPECT_EQ(Describe(PrintPagePlan(Kinds(0, 1, 3), false)), "S S S ");
    EXPECT_EQ(PrintPagePlan(Kinds(0, 0, 5), false).PageCount(), 0);
    EXPECT_EQ(PrintPagePlan(Kinds(1, 1, 999), false).PageCount(), 1998);
    // A count outside the dialog's range never reaches the printer as such.
    EXPECT_EQ(PrintPagePlan(Kinds(1, 1, -4), false).PageCount(), 2);
    EXPECT_EQ(PrintPagePlan(Kinds(1, 1, 1'000'000), false).PageCount(), 2);
}

TEST(PrintPagePlan, PreviewShowsTwoPagesAndNeverRegenerates) {
    EXPECT_EQ(Describe(PrintPagePlan(Kinds(1, 1, 7), true)), "M S ");
    EXPECT_EQ(Describe(PrintPagePlan(Kinds(1, 0, 7), true)), "M M ");
    EXPECT_EQ(Describe(PrintPagePlan(Kinds(0, 1, 1), true)), "S S ");
    EXPECT_EQ(PrintPagePlan(Kinds(0, 0, 1), true).PageCount(), 0);
}

TEST(MazePrintSettings, ValuesRoundTripThroughTheProfileAndDamageIsRefused) {
    TempFolder folder{"print"};
    const std::string path = folder.File("OrlimberSTD.ini");
    {
        CProfile profile(path);
        MazePrintSettings fresh;
        fresh.Load(profile);
        EXPECT_EQ(fresh.printMaze, 1);
        EXPECT_EQ(fresh.solutionLayers[4], 1);
        EXPECT_EQ(fresh.numberOfMazes, 1);

        MazePrintSettings s;
        s.printMaze = 0;
        s.printCompatible = 1;
        s.mazeLayers[3] = 0;
        s.solutionLayers[1] = 0;
        s.numberOfMazes = 42;
        s.Save(profile);
    }
    CProfile reread(path);
    EXPECT_EQ(reread.GetProfileInt("Settings", "PrintMaze_FG", -1), 0);
    EXPECT_EQ(reread.GetProfileInt("Settings", "PrintSolution_BG", -1), 0);
    EXPECT_EQ(reread.GetProfileInt("Settings", "PrintSolution_TL", -1), 1);
    MazePrintSettings back;
    back.Load(reread);
    EXPECT_EQ(back.printMaze, 0);
    EXPECT_EQ(back.printCompatible, 1);
    EXPECT_EQ(back.mazeLayers[3], 0);
    EXPECT_EQ(back.numberOfMazes, 42);

    reread.WriteProfileInt("Settings", "NumberOfMazes", 5000);
    back.Load(reread);
    EXPECT_EQ(back.numberOfMazes, 1);
}
