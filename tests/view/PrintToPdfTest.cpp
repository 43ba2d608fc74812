#include "tests/view/ViewTestSupport.h"

#include "maze/TemplateKind.h"
#include "platform/PdfPrintPageService.h"
#include "view/CreditLine.h"

#include <cstdio>
#include <string>

namespace {

std::string Shell(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buf[4096];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, pipe)) > 0)
            out.append(buf, n);
        pclose(pipe);
    }
    return out;
}

int Count(const std::string& text, const std::string& word) {
    int n = 0;
    for (auto at = text.find(word); at != std::string::npos; at = text.find(word, at + 1))
        ++n;
    return n;
}

} // namespace

TEST_F(ViewTest, PrintingWritesEveryPlannedPageWithItsCreditLine) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 6, 6);
    CGridloomView& view = ViewOf(doc);
    MazePrintSettings options;
    options.numberOfMazes = 3;
    options.Save(Profile());
    const std::string pdf = folder_.File("out.pdf");
    view.SetShowSolution(false);
    view.SetLayerVisible(CGridloomView::kLayerText, false);
    {
        PdfPrintPageService pages(pdf, PrintPageSetup{});
        ASSERT_TRUE(view.PrintAll(pages, "maze"));
    }
    EXPECT_EQ(Shell("pdfinfo '" + pdf + "' | awk '/^Pages:/ {print $2}'"), "6\n");
    EXPECT_EQ(Count(Shell("pdftotext '" + pdf + "' -"), "Drawn with Orlimber"), 6);
    // The view shows what it showed before.
    EXPECT_FALSE(view.ShowSolution());
    EXPECT_FALSE(view.IsLayerVisible(CGridloomView::kLayerText));
    EXPECT_EQ(view.PrintMarginX(), 0);

    // Solution pages only, three of the same maze: identical pages.
    options.printMaze = 0;
    options.Save(Profile());
    {
        PdfPrintPageService pages(pdf, PrintPageSetup{});
        ASSERT_TRUE(view.PrintAll(pages, "maze"));
    }
    const std::string one = Shell("pdftoppm -r 30 -f 1 -l 1 '" + pdf + "' | md5sum");
    const std::string three = Shell("pdftoppm -r 30 -f 3 -l 3 '" + pdf + "' | md5sum");
    EXPECT_EQ(one, three);
    EXPECT_FALSE(one.empty());
}

TEST_F(ViewTest, MarginsInsideThePrintersBorderAreRaisedToIt) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 4, 4);
    CGridloomView& view = ViewOf(doc);
    doc.Settings().xOffset = 10;
    doc.Settings().yOffset = 2000;
    PrintPageSetup setup;
    setup.dpi = 300;
    setup.offsetX = 75; // a quarter inch
    setup.offsetY = 75;
    const std::string pdf = folder_.File("m.pdf");
    PdfPrintPageService pages(pdf, setup);
    CDC dc;
    dc.CreatePrinterDC(pages);
    ASSERT_GT(dc.StartDoc("m"), 0);
    ASSERT_GT(dc.StartPage(), 0);
    MazePrintSettings options;
    options.printMaze = 0;
    const PrintPagePlan plan(options, false);
    EXPECT_TRUE(view.PrintPage(dc, plan, 1));
    dc.EndPage();
    dc.EndDoc();
    // At 100 dpi the ink starts no nearer than a quarter inch from the left and two inches
    // from the top.
    int left = -1, top = -1;
    const std::string trim = Shell("pdftoppm -r 100 -gray '" + pdf +
                                   "' | convert - -fuzz 5% -trim info: | awk '{print $4}'");
    ASSERT_EQ(std::sscanf(trim.c_str(), "%*dx%*d+%d+%d", &left, &top), 2) << trim;
    EXPECT_GE(left, 24);
    EXPECT_LE(left, 30);
    EXPECT_GE(top, 199);
    // Seen only while the page prints; afterwards both are zero again.
    EXPECT_EQ(view.PrintMarginX(), 0);
}
