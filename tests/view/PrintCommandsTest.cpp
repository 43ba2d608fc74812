#include "tests/view/ViewTestSupport.h"

#include "maze/TemplateKind.h"
#include "platform/CDC.h"
#include "platform/PdfPrintPageService.h"
#include "platform/RasterSurface.h"
#include "res/CommandIds.h"
#include "tests/support/FakeClipboard.h"
#include "view/IPrintJobs.h"
#include "view/MazePrintDialogValues.h"
#include "view/PrintPreviewRenderer.h"

#include <string>
#include <vector>

namespace {

// Answers the options dialog as scripted and records the runs it was asked for.
class RecordingJobs : public IPrintJobs {
public:
    bool AskOptions(MazePrintDialogValues& values) override {
        ++asked;
        shown = values;
        if (!answer)
            return false;
        values.settings = answer->settings;
        values.selectPrinter = answer->selectPrinter;
        return true;
    }
    bool Print(IRenderView&, const PrintPagePlan& plan, bool choosePrinter,
               const std::string& printer) override {
        runs.push_back({plan.PageCount(), choosePrinter, printer});
        return true;
    }
    void Preview(IRenderView&, const PrintPagePlan& plan) override {
        previews.push_back(plan.PageCount());
    }

    struct Run {
        int pages;
        bool choosePrinter;
        std::string printer;
    };
    std::optional<MazePrintDialogValues> answer;
    MazePrintDialogValues shown;
    int asked = 0;
    std::vector<Run> runs;
    std::vector<int> previews;
};

} // namespace

TEST(MazePrintDialogValues, TheCountMustLieInItsRangeAndARefusalChangesNothing) {
    MazePrintDialogValues values;
    values.settings.numberOfMazes = 7;
    MazePrintDialogValues::Controls controls = values.ToControls();
    EXPECT_EQ(controls.count, "7");
    controls.maze = false;
    controls.solutionLayers[2] = false;
    for (const char* bad : {"0", "1000", "-3", "", "12x", "99999999999"}) {
        controls.count = bad;
        const auto error = values.FromControls(controls);
        ASSERT_TRUE(error.has_value()) << bad;
        EXPECT_EQ(error->controlId, MazePrintDialogValues::kCountId);
        EXPECT_EQ(values.settings.numberOfMazes, 7) << bad;
        EXPECT_EQ(values.settings.printMaze, 1) << bad;
    }
    controls.count = "0";
    EXPECT_EQ(values.FromControls(controls)->message, "Please enter an integer between 1 and 999.");
    controls.count = "999";
    EXPECT_FALSE(values.FromControls(controls).has_value());
    EXPECT_EQ(values.settings.numberOfMazes, 999);
    EXPECT_EQ(values.settings.printMaze, 0);
    EXPECT_EQ(values.settings.solutionLayers[2], 0);
    EXPECT_FALSE(MazePrintDialogValues::LayerBoxEnabled(values.ToControls(), false));
    EXPECT_TRUE(MazePrintDialogValues::LayerBoxEnabled(values.ToControls(), true));
}

TEST_F(ViewTest, PrintAsksForTheOptionsKeepsThemAndPrintsTheirPages) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 5, 5);
    CGridloomView& view = ViewOf(doc);
    RecordingJobs jobs;
    CCmdUI disabled(ID_FILE_PRINT);
    view.RunUpdate(disabled);
    EXPECT_FALSE(disabled.IsEnabled()); // nothing to print with
    view.SetPrintJobs(&jobs);
    CCmdUI enabled(ID_FILE_PRINT_PREVIEW);
    view.RunUpdate(enabled);
    EXPECT_TRUE(enabled.IsEnabled());

    MazePrintSettings stored;
    stored.numberOfMazes = 4;
    stored.mazeLayers[1] = 0;
    stored.Save(Profile());
    // Cancel: nothing is printed and nothing written.
    EXPECT_TRUE(view.RunCommand(ID_FILE_PRINT));
    EXPECT_EQ(jobs.asked, 1);
    EXPECT_EQ(jobs.shown.settings.numberOfMazes, 4);
    EXPECT_EQ(jobs.shown.settings.mazeLayers[1], 0);
    EXPECT_TRUE(jobs.shown.CountEditable());
    EXPECT_TRUE(jobs.runs.empty());

    MazePrintDialogValues answer;
    answer.settings.numberOfMazes = 3;
    answer.settings.printSolution = 0;
    answer.selectPrinter = 1;
    jobs.answer = answer;
    view.RunCommand(ID_FILE_PRINT);
    ASSERT_EQ(jobs.runs.size(), 1u);
    EXPECT_EQ(jobs.runs[0].pages, 3);
    EXPECT_TRUE(jobs.runs[0].choosePrinter);
    MazePrintSettings reread;
    reread.Load(CProfile(ProfilePath()));
    EXPECT_EQ(reread.numberOfMazes, 3);
    EXPECT_EQ(reread.printSolution, 0);

    // Neither kind: the choice is kept, but there is nothing to print.
    answer.settings.printMaze = 0;
    jobs.answer = answer;
    view.RunCommand(ID_FILE_PRINT);
    EXPECT_EQ(jobs.runs.size(), 1u);
    EXPECT_EQ(CProfile(ProfilePath()).GetProfileInt("Settings", "PrintMaze", -1), 0);

    // The preview never asks and always shows two pages; stored runs name their printer.
    Profile().WriteProfileInt("Settings", "PrintMaze", 1);
    view.RunCommand(ID_FILE_PRINT_PREVIEW);
    EXPECT_EQ(jobs.previews, std::vector<int>{2});
    EXPECT_TRUE(view.PrintStored("Office"));
    EXPECT_EQ(jobs.runs.back().pages, 3);
    EXPECT_EQ(jobs.runs.back().printer, "Office");
    EXPECT_FALSE(jobs.runs.back().choosePrinter);
    EXPECT_EQ(jobs.asked, 3);
}

TEST_F(ViewTest, ThePreviewDrawsBothPagesWithoutTouchingTheMaze) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 8, 8);
    doc.OnGenerateMaze();
    CGridloomView& view = ViewOf(doc);
    std::vector<MazeCell> before(doc.GetGrid(0)->Cells().begin(), doc.GetGrid(0)->Cells().end());
    MazePrintSettings options;
    options.printSolution = 0; // a print run would regrow before every page
    options.numberOfMazes = 5;
    const PrintPagePlan plan(options, true);
    ASSERT_EQ(plan.PageCount(), 2);
    PrintPageSetup printer; // Letter at 600 dpi with a quarter-inch border
    printer.offsetX = printer.offsetY = 150;
    std::vector<std::shared_ptr<RasterSurface>> pages;
    for (int page = 1; page <= 2; ++page)
        pages.push_back(PrintPreviewRenderer::Render(view, plan, page, printer, 96));
    ASSERT_TRUE(pages[0] && pages[1]);
    EXPECT_EQ(pages[0]->Width(), 816);
    EXPECT_EQ(pages[0]->Height(), 1056);
    std::vector<MazeCell> after(doc.GetGrid(0)->Cells().begin(), doc.GetGrid(0)->Cells().end());
    EXPECT_TRUE(std::equal(before.begin(), before.end(), after.begin(), after.end(),
                           [](const MazeCell& a, const MazeCell& b) {
                               return a.flags == b.flags && a.passages == b.passages;
                           }));
    // The quarter-inch border stays white; ink starts inside it.
    int firstInk = -1;
    for (int y = 0; y < pages[0]->Height() && firstInk < 0; ++y)
        for (int x = 0; x < pages[0]->Width() && firstInk < 0; ++x)
            if ((pages[0]->Row(y)[x] & 0xFFFFFF) < 0x404040)
                firstInk = y;
    EXPECT_GE(firstInk, 24);
    EXPECT_EQ(PrintPreviewRenderer::Render(view, plan, 3, printer, 96), nullptr);
}

TEST_F(ViewTest, ThePrinterReportGoesToTheClipboardOnlyWhenAskedFor) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 4, 4);
    CGridloomView& view = ViewOf(doc);
    FakeClipboard clipboard;
    view.SetClipboard(&clipboard);
    const std::string pdf = folder_.File("r.pdf");
    PrintPageSetup setup;
    setup.dpi = 300;
    setup.offsetX = 50;
    setup.offsetY = 60;
    {
        PdfPrintPageService pages(pdf, setup);
        ASSERT_TRUE(view.PrintAll(pages, "r"));
    }
    EXPECT_EQ(clipboard.writes, 0);
    doc.Settings().printerDebug = 1;
    {
        PdfPrintPageService pages(pdf, setup);
        ASSERT_TRUE(view.PrintAll(pages, "r"));
    }
    EXPECT_EQ(clipboard.writes, 2); // once a page
    ASSERT_TRUE(clipboard.text.has_value());
    const std::string& text = *clipboard.text;
    EXPECT_EQ(text.rfind("******************Start of Orlimber Printer Debug Information"
                         "**************\r\n\r\nDriver Version: ",
                         0),
              0u);
    EXPECT_NE(text.find("Physical(s): W=2550 H=3300 OffsetX=50 OffsetY=60\r\n"), std::string::npos);
    EXPECT_NE(text.find("Resolution: Horz=2450 Vert=3180\r\nColors: BITSPIXEL=24 PLANES=1 "),
              std::string::npos);
    EXPECT_NE(text.find("LogPixel: X=300 Y=300\r\n"), std::string::npos);
    // The technology is one value: only the printer's own word is set.
    EXPECT_NE(text.find("\r\n\r\nTECHNOLOGY: NO_DT_PLOTTER NO_DT_RASDISPLAY DT_RASPRINTER "
                        "NO_DT_RASCAMERA NO_DT_CHARSTREAM NO_DT_DISPFILE \r\n\r\nRASTERCAPS: "
                        "RC_BANDING RC_BITBLT "),
              std::string::npos);
    EXPECT_NE(text.find("CURVECAPS: NO_CC_NONE CC_CHORD"), std::string::npos);
    EXPECT_NE(text.find("TC_VA_ABLE NO_TC_RESERVED NO_TC_SCROLLBLT \r\n\r\n*****************"
                        "*End of Orlimber Printer Debug Information**************\r\n"),
              std::string::npos);
    EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);
}
