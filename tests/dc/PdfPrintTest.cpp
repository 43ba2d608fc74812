#include "DcTestSupport.h"

#include "platform/PdfPrintPageService.h"
#include "platform/SaveRefusal.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/stat.h>
#include <zlib.h>

#include <filesystem>

namespace {

// The same page drawn on any context, in thousandths of an inch.
void DrawShapes(CDC& dc) {
    dc.SetMapMode(MM_HIENGLISH);
    CPen pen(PS_SOLID, 20, RGB(0, 0, 0));
    CBrush red(RGB(255, 0, 0));
    CPen* oldPen = dc.SelectObject(&pen);
    CBrush* oldBrush = dc.SelectObject(&red);
    dc.Rectangle(1000, -1000, 3000, -3000);
    CBrush blue(RGB(0, 0, 255));
    dc.SelectObject(&blue);
    dc.Ellipse(4000, -1000, 7000, -3000);
    const POINT tri[] = {{1000, -4000}, {7000, -4000}, {4000, -7000}};
    CBrush green(RGB(0, 160, 0));
    dc.SelectObject(&green);
    dc.Polygon(tri, 3);
    for (int x = 1000; x <= 7000; x += 500) {
        const POINT wall[] = {{x, -8000}, {x, -9000}};
        dc.Polygon(wall, 2);
    }
    dc.SelectObject(oldBrush);
    dc.SelectObject(oldPen);
}

struct Ppm {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    COLORREF At(int x, int y) const {
        const size_t i = (static_cast<size_t>(y) * width + x) * 3;
        return RGB(rgb[i], rgb[i + 1], rgb[i + 2]);
    }
};

Ppm ReadPpm(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    Ppm p;
    std::string magic;
    int maxval = 0;
    in >> magic >> p.width >> p.height >> maxval;
    in.get();
    p.rgb.resize(static_cast<size_t>(p.width) * p.height * 3);
    in.read(reinterpret_cast<char*>(p.rgb.data()), static_cast<std::streamsize>(p.rgb.size()));
    if (magic != "P6" || !in)
        p.width = p.height = 0;
    return p;
}

std::string RunCommand(const std::string& command) {
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

bool Near(COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) < 40 &&
           std::abs(GetGValue(a) - GetGValue(b)) < 40 && std::abs(GetBValue(a) - GetBValue(b)) < 40;
}

} // namespace

TEST(DcPdf, PagesShowTheSameShapesAsTheRasterAndRealText) {
    const TempFolder folder("pdf");
    const std::string dir = folder.Path().string();
    const std::string pdf = dir + "/dc_pages.pdf";
    PrintPageSetup setup;
    setup.paperWidth = 8000;
    setup.paperHeight = 10000;
    setup.dpi = 300;
    PdfPrintPageService service(pdf, setup);
    CDC printer;
    ASSERT_TRUE(printer.CreatePrinterDC(service));
    EXPECT_TRUE(printer.IsPrinting());
    EXPECT_EQ(printer.GetDeviceCaps(TECHNOLOGY), DT_RASPRINTER);
    EXPECT_EQ(printer.GetDeviceCaps(LOGPIXELSX), 300);
    EXPECT_EQ(printer.GetDeviceCaps(PHYSICALWIDTH), 2400);
    ASSERT_GT(printer.StartDoc("Maze"), 0);
    ASSERT_GT(printer.StartPage(), 0);
    DrawShapes(printer);
    CFont font;
    font.CreateFont(-300, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    printer.SelectObject(&font);
    printer.TextOut(1000, -9200, "Orlimber page one");
    ASSERT_GT(printer.EndPage(), 0);
    ASSERT_GT(printer.StartPage(), 0);
    EXPECT_EQ(printer.GetMapMode(), MM_TEXT); // each page starts afresh
    printer.TextOut(300, 300, "Second page");
    ASSERT_GT(printer.EndPage(), 0);
    ASSERT_GT(printer.EndDoc(), 0);

    const std::string base = dir + "/dc_page";
    RunCommand("pdftoppm -r 30 -f 1 -l 1 '" + pdf + "' '" + base + "'");
    Ppm page = ReadPpm(base + "-1.ppm");
    if (page.width == 0)
        page = ReadPpm(base + "-01.ppm");
    ASSERT_EQ(page.width, 240);
    ASSERT_EQ(page.height, 300);

    RasterFixture raster(240, 300, 30);
    DrawShapes(raster.dc);
    EXPECT_EQ(page.At(60, 60), RGB(255, 0, 0));
    EXPECT_EQ(page.At(165, 60), RGB(0, 0, 255));
    EXPECT_EQ(page.At(120, 150), RGB(0, 160, 0));
    // Outside the edges, where rasterising rules may differ by a pixel, the pages agree.
    int same = 0, total = 0;
    for (int y = 0; y < 255; ++y)
        for (int x = 0; x < 240; ++x) {
            ++total;
            same += Near(page.At(x, y), raster.At(x, y)) ? 1 : 0;
        }
    EXPECT_GT(same, total * 97 / 100);

    const std::string text = RunCommand("pdftotext '" + pdf + "' -");
    EXPECT_NE(text.find("Orlimber page one"), std::string::npos) << text;
    EXPECT_NE(text.find("Second page"), std::string::npos);
    std::remove(pdf.c_str());
}

TEST(DcPdf, AbortedJobLeavesNoFileAndClosedJobsRefusePages) {
    const TempFolder folder("pdf");
    const std::string pdf = folder.File("dc_aborted.pdf");
    {
        PdfPrintPageService service(pdf, PrintPageSetup{});
        CDC printer;
        printer.CreatePrinterDC(service);
        EXPECT_LT(printer.StartPage(), 0); // no document yet
        ASSERT_GT(printer.StartDoc("x"), 0);
        ASSERT_GT(printer.StartPage(), 0);
        printer.Rectangle(0, 0, 100, 100);
        printer.AbortDoc();
        EXPECT_LT(printer.EndPage(), 0);
    }
    std::ifstream in(pdf);
    EXPECT_FALSE(in.good());
    // A folder that does not exist cannot take the file, and says so.
    PdfPrintPageService bad("/nonexistent-folder/x.pdf", PrintPageSetup{});
    CDC printer;
    printer.CreatePrinterDC(bad);
    EXPECT_LT(printer.StartDoc("x"), 0);
    EXPECT_EQ(bad.Error(), SaveRefusal::Text("/nonexistent-folder/x.pdf",
                                             "the folder '/nonexistent-folder' does not exist"));
}

TEST(DcPdf, PrintedPageImagesLandAtTheirOffsetInsideThePrintableArea) {
    // Pages are rendered into a picture at printer resolution and copied onto the page, as
    // the view prints; the printer's device pixels start inside its unprintable border.
    const TempFolder folder("pdf");
    const std::string dir = folder.Path().string();
    const std::string pdf = dir + "/dc_image_page.pdf";
    PrintPageSetup setup;
    setup.paperWidth = 4000;
    setup.paperHeight = 4000;
    setup.dpi = 100;
    setup.offsetX = 20;
    setup.offsetY = 10;
    PdfPrintPageService service(pdf, setup);
    CDC printer;
    ASSERT_TRUE(printer.CreatePrinterDC(service));
    EXPECT_EQ(printer.GetDeviceCaps(PHYSICALOFFSETX), 20);
    EXPECT_EQ(printer.GetDeviceCaps(HORZRES), 360);
    ASSERT_GT(printer.StartDoc("Image page"), 0);
    ASSERT_GT(printer.StartPage(), 0);

    CDC memory;
    memory.CreateCompatibleDC(&printer);
    EXPECT_FALSE(memory.IsPrinting());
    EXPECT_EQ(memory.GetDeviceCaps(LOGPIXELSX), 100);
    CBitmap picture;
    picture.CreateBitmap32(100, 50);
    CBitmap* old = memory.SelectObject(&picture);
    CBrush red(RGB(255, 0, 0));
    CRect left(0, 0, 50, 50);
    memory.FillRect(&left, &red);
    printer.BitBlt(100, 100, 100, 50, &memory, 0, 0, SRCCOPY);
    // Twice the size further down: enlarged with hard pixel edges.
    printer.StretchBlt(100, 200, 200, 100, &memory, 0, 0, 100, 50, SRCCOPY);
    memory.SelectObject(old);
    ASSERT_GT(printer.EndPage(), 0);
    ASSERT_GT(printer.EndDoc(), 0);

    const std::string base = dir + "/dc_image_page";
    RunCommand("pdftoppm -r 100 '" + pdf + "' '" + base + "'");
    Ppm page = ReadPpm(base + "-1.ppm");
    ASSERT_EQ(page.width, 400);
    // Device (100, 100) is paper (120, 110).
    EXPECT_EQ(page.At(121, 111), RGB(255, 0, 0));
    EXPECT_EQ(page.At(168, 158), RGB(255, 0, 0));
    EXPECT_EQ(page.At(172, 130), RGB(255, 255, 255));
    EXPECT_EQ(page.At(118, 130), RGB(255, 255, 255));
    EXPECT_EQ(page.At(215, 300), RGB(255, 0, 0));
    EXPECT_EQ(page.At(225, 300), RGB(255, 255, 255));
    std::remove(pdf.c_str());
}

namespace {

// How many graphics-state blocks ("q" ... "Q") the page streams of a PDF file open.
int StateBlocks(const std::string& pdf) {
    std::ifstream in(pdf, std::ios::binary);
    const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    int blocks = 0;
    for (size_t at = 0; (at = file.find("stream\n", at)) != std::string::npos;) {
        at += 7;
        const size_t end = file.find("endstream", at);
        if (end == std::string::npos)
            break;
        std::string text(4 << 20, '\0');
        uLongf size = text.size();
        if (uncompress(reinterpret_cast<Bytef*>(text.data()), &size,
                       reinterpret_cast<const Bytef*>(file.data() + at), end - at) == Z_OK) {
            text.resize(size);
            for (size_t q = 0; q < text.size(); ++q) {
                const bool before = q == 0 || std::isspace(static_cast<unsigned char>(text[q - 1]));
                const bool after =
                    q + 1 < text.size() && std::isspace(static_cast<unsigned char>(text[q + 1]));
                blocks += text[q] == 'q' && before && after ? 1 : 0;
            }
        }
        at = end;
    }
    return blocks;
}

// A page of 2,000 short walls, as a maze page has them; with `emptyFills`, a polygon that
// paints nothing comes between walls, as hollow cell bodies do.
int WallPageBlocks(const std::string& pdf, bool emptyFills) {
    {
        PdfPrintPageService service(pdf, PrintPageSetup{});
        CDC printer;
        printer.CreatePrinterDC(service);
        printer.StartDoc("walls");
        printer.StartPage();
        CPen pen(PS_SOLID, 3, RGB(0, 0, 0));
        printer.SelectObject(&pen);
        printer.SelectStockObject(NULL_BRUSH);
        for (int i = 0; i < 2000; ++i) {
            const int x = 100 + (i % 50) * 60, y = 100 + (i / 50) * 60;
            const POINT wall[] = {{x, y}, {x + 60, y}};
            printer.Polyline(wall, 2);
            if (emptyFills) {
                const POINT body[] = {{x, y}, {x + 60, y}, {x + 60, y + 60}, {x, y + 60}};
                printer.SelectStockObject(NULL_PEN);
                printer.Polygon(body, 4);
                printer.SelectObject(&pen);
            }
        }
        printer.EndPage();
        printer.EndDoc();
    }
    return StateBlocks(pdf);
}

} // namespace

TEST(DcPdf, WallsStayOneStrokeAcrossFillsThatPaintNothing) {
    const TempFolder folder("pdf");
    const int walls = WallPageBlocks(folder.File("walls.pdf"), false);
    ASSERT_GT(walls, 0);
    // Ending the stroke at every empty fill wrapped each wall in a block of its own.
    EXPECT_EQ(WallPageBlocks(folder.File("mixed.pdf"), true), walls);
}

// The file is written once the document is whole, as every save is: a FIFO under the name is
// refused before the first page (opening it would wait for a reader for ever), and an old file
// stays as it was until the new one is complete.
TEST(DcPdf, TheFileIsWrittenWholeAndOnlyOntoARegularFile) {
    const TempFolder folder("pdf");
    const std::string fifo = folder.File("pipe.pdf");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    PdfPrintPageService piped(fifo, PrintPageSetup{});
    CDC toPipe;
    toPipe.CreatePrinterDC(piped);
    EXPECT_LT(toPipe.StartDoc("x"), 0);
    EXPECT_EQ(piped.Error(), SaveRefusal::Text(fifo, "it is a FIFO, not a regular file"));
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));

    const std::string pdf = folder.File("kept.pdf");
    std::ofstream(pdf) << "old";
    const auto content = [&pdf] {
        std::ifstream in(pdf, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    for (const bool finish : {false, true}) {
        PdfPrintPageService service(pdf, PrintPageSetup{});
        CDC printer;
        printer.CreatePrinterDC(service);
        ASSERT_GT(printer.StartDoc("x"), 0);
        ASSERT_GT(printer.StartPage(), 0);
        printer.Rectangle(0, 0, 100, 100);
        ASSERT_GT(printer.EndPage(), 0);
        EXPECT_EQ(content(), "old");
        if (finish) {
            ASSERT_GT(printer.EndDoc(), 0) << service.Error();
            EXPECT_EQ(content().rfind("%PDF-", 0), 0u);
            EXPECT_TRUE(service.Error().empty());
        } else {
            printer.AbortDoc();
            EXPECT_EQ(content(), "old");
        }
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 2);
}
