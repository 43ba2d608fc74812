#include "tests/view/ViewTestSupport.h"

#include "maze/MazeCell.h"
#include "maze/TemplateKind.h"
#include "platform/CBitmap.h"
#include "platform/CDC.h"
#include "platform/PdfPrintPageService.h"
#include "view/CreditLine.h"

#include <cstdio>
#include <string>
#include <vector>

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

namespace {

// A PPM or PGM file as `pdftoppm` writes it: one grey byte a pixel (colour averaged).
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb; // three bytes a pixel
    bool Has(unsigned char r, unsigned char g, unsigned char b) const {
        for (std::size_t i = 0; i + 2 < rgb.size(); i += 3)
            if (rgb[i] == r && rgb[i + 1] == g && rgb[i + 2] == b)
                return true;
        return false;
    }
};

Picture ReadPpm(const std::string& data) {
    Picture p;
    int max = 0, used = 0;
    if (std::sscanf(data.c_str(), "P6 %d %d %d%n", &p.width, &p.height, &max, &used) != 3)
        return {};
    const std::size_t start = static_cast<std::size_t>(used) + 1;
    const std::size_t size = static_cast<std::size_t>(p.width) * p.height * 3;
    if (data.size() < start + size)
        return {};
    p.rgb.assign(data.begin() + static_cast<std::ptrdiff_t>(start),
                 data.begin() + static_cast<std::ptrdiff_t>(start + size));
    return p;
}

bool Dark(const Picture& p, int x, int y) {
    const std::size_t i = (static_cast<std::size_t>(y) * p.width + x) * 3;
    return p.rgb[i] + p.rgb[i + 1] + p.rgb[i + 2] < 3 * 128;
}

// Dark pixels of `a` with no dark pixel of `b` within one pixel.
int Unmatched(const Picture& a, const Picture& b, int& dark) {
    int n = 0;
    dark = 0;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) {
            if (!Dark(a, x, y))
                continue;
            ++dark;
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy)
                for (int dx = -1; dx <= 1 && !near; ++dx) {
                    const int u = x + dx, v = y + dy;
                    near = u >= 0 && v >= 0 && u < b.width && v < b.height && Dark(b, u, v);
                }
            n += near ? 0 : 1;
        }
    return n;
}

void PrintWith(CGridloomView& view, CProfile& profile, const MazePrintSettings& options,
               const std::string& pdf) {
    options.Save(profile);
    PdfPrintPageService pages(pdf, PrintPageSetup{});
    ASSERT_TRUE(view.PrintAll(pages, "maze"));
}

} // namespace

TEST_F(ViewTest, APrintedPageMatchesTheRasterRenderAtPrinterResolution) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 12, 9);
    // A small page keeps the 600-dpi pictures small.
    doc.Settings().pageWidth = 2999;
    doc.Settings().pageHeight = 2499;
    doc.OnFileNew();
    doc.OnGenerateMaze();
    CGridloomView& view = ViewOf(doc);
    doc.Settings().xOffset = 500;
    doc.Settings().yOffset = 250;
    MazePrintSettings options;
    options.printSolution = 0;
    options.mazeLayers[4] = 0; // glyphs differ between the two font paths
    const std::string pdf = folder_.File("page.pdf");
    options.numberOfMazes = 1;
    // Only the maze kind regrows before its page; the raster below draws the grown maze.
    PrintWith(view, Profile(), options, pdf);

    const MazeSettings& s = doc.Settings();
    const int w = 600 * s.pageWidth / 1000, h = 600 * s.pageHeight / 1000;
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBitmap32(w, h));
    {
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        dc.SetDeviceResolution(600, 600);
        dc.SelectObject(&bitmap);
        dc.SetMapMode(MM_ANISOTROPIC);
        dc.SetWindowExt(s.pageWidth, -(s.pageHeight + 150 - view.BandHeight()));
        dc.SetViewportExt(w, h);
        view.SetLayerVisible(CGridloomView::kLayerText, false);
        view.SetScreenFlag(false);
        view.OnDraw(dc);
        view.SetScreenFlag(true);
        dc.Flush();
    }
    const std::string png = folder_.File("raster.png");
    ASSERT_TRUE(SavePng(*bitmap.Surface(), png));
    const Picture raster = ReadPpm(Shell("convert '" + png + "' -depth 8 ppm:-"));
    const Picture printed =
        ReadPpm(Shell("pdftoppm -r 600 -aa no -aaVector no -x 300 -y 150 -W " + std::to_string(w) +
                      " -H " + std::to_string(h) + " '" + pdf + "'"));
    ASSERT_EQ(raster.width, w);
    ASSERT_EQ(printed.width, w);
    ASSERT_EQ(printed.height, h);
    int darkRaster = 0, darkPrinted = 0;
    const int missing = Unmatched(raster, printed, darkRaster);
    const int extra = Unmatched(printed, raster, darkPrinted);
    EXPECT_GT(darkRaster, 10000);
    EXPECT_EQ(missing, 0) << "of " << darkRaster;
    EXPECT_EQ(extra, 0) << "of " << darkPrinted;
}

TEST_F(ViewTest, OnlySolutionPagesShowTheSolutionAndScreenOnlyCellsNeverPrint) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 10, 10);
    doc.OnGenerateMaze();
    CGridloomView& view = ViewOf(doc);
    Object& grid = *doc.GetGrid(0);
    grid.GetCell(3, 3).flags |= CELL_ERASED;
    for (int c = 0; c < 10; ++c)
        for (int r = 0; r < 10; ++r)
            if (grid.GetCell(c, r).flags & CELL_START)
                grid.GetCell(c, r).flags |= CELL_HIDDEN;
    // Seen on the screen, so that the test knows what it looks for.
    view.SetShowSolution(true);
    const CellColours& colours = doc.Colours();
    MazePrintSettings options;
    const std::string pdf = folder_.File("kinds.pdf");
    // Without seed points nothing regrows, so the two pages show the same maze.
    const auto seeds = doc.seedPoints;
    doc.seedPoints.clear();
    PrintWith(view, Profile(), options, pdf);
    doc.seedPoints = seeds;
    const Picture maze =
        ReadPpm(Shell("pdftoppm -r 40 -aa no -aaVector no -f 1 -l 1 '" + pdf + "'"));
    const Picture solution =
        ReadPpm(Shell("pdftoppm -r 40 -aa no -aaVector no -f 2 -l 2 '" + pdf + "'"));
    ASSERT_GT(maze.width, 0);
    ASSERT_GT(solution.width, 0);
    const auto has = [](const Picture& p, COLORREF c) {
        return p.Has(GetRValue(c), GetGValue(c), GetBValue(c));
    };
    EXPECT_FALSE(has(maze, colours.solution));
    EXPECT_TRUE(has(solution, colours.solution));
    for (const Picture* page : {&maze, &solution}) {
        EXPECT_FALSE(has(*page, colours.erased));
        EXPECT_FALSE(has(*page, colours.hiddenStart));
    }
    EXPECT_TRUE(view.ShowSolution());
}

TEST_F(ViewTest, RegrowingNeedsSeedPointsAndThenEveryMazeDiffers) {
    doc_ = std::make_unique<CGridloomDoc>(Profile());
    CGridloomDoc& doc = *doc_;
    doc.Settings().kind = KIND_BOX;
    doc.Settings().columns = 8;
    doc.Settings().rows = 8;
    doc.Settings().tilerId = ":ID:#182";
    doc.Settings().pageWidth = 2999;
    doc.Settings().pageHeight = 2999;
    doc.OnFileNew();
    CGridloomView& view = ViewOf(doc);
    view.TileSets().SetInstallFolder(folder_.Path().string());
    doc.OnGenerateMaze();
    const auto cells = [&doc] {
        const auto span = doc.GetGrid(0)->Cells();
        std::vector<DWORD> out;
        for (const MazeCell& c : span)
            out.push_back(c.flags | (DWORD{c.passages} << 16));
        return out;
    };
    const std::vector<DWORD> before = cells();
    MazePrintSettings options;
    options.printSolution = 0;
    options.numberOfMazes = 3;
    options.mazeLayers[4] = 0;
    const std::string pdf = folder_.File("mazes.pdf");
    const auto page = [&pdf](int p) {
        return Shell("pdftoppm -r 30 -f " + std::to_string(p) + " -l " + std::to_string(p) + " '" +
                     pdf + "' | md5sum");
    };

    const auto seeds = doc.seedPoints;
    doc.seedPoints.clear();
    PrintWith(view, Profile(), options, pdf);
    EXPECT_EQ(page(1), page(2));
    EXPECT_EQ(page(2), page(3));
    EXPECT_EQ(cells(), before);

    // A tiled Box maze is drawn with tiles; each page still shows a maze of its own.
    doc.seedPoints = seeds;
    doc.Settings().tiled = 1;
    PrintWith(view, Profile(), options, pdf);
    EXPECT_NE(page(1), page(2));
    EXPECT_NE(page(2), page(3));
    EXPECT_NE(page(1), page(3));
    EXPECT_NE(cells(), before);
}
