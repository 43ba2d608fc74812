#include "tests/view/ViewTestSupport.h"

#include "image/core/CRaster.h"
#include "maze/MazeCell.h"
#include "maze/TemplateKind.h"
#include "platform/FileDialog.h"
#include "res/CommandIds.h"
#include "tests/support/PicturePixels.h"
#include "view/PageWatermark.h"
#include "view/PictureExport.h"

#include "platform/CBitmap.h"
#include "platform/CDC.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

namespace {

// What ImageMagick's identify says about a file.
std::string Identify(const std::string& path, const char* format) {
    const std::string command = std::string("identify -format '") + format + "' '" + path + "'";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string out;
    std::array<char, 256> buffer{};
    while (pipe && fgets(buffer.data(), buffer.size(), pipe.get()))
        out += buffer.data();
    return out;
}

// How many pixels of a picture (read back through ImageMagick as PPM) `match`.
template <typename Match> long CountPixels(const std::string& path, Match match) {
    const std::string command = "convert '" + path + "' -depth 8 ppm:-";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    int w = 0, h = 0, max = 0;
    if (!pipe || fscanf(pipe.get(), "P6 %d %d %d", &w, &h, &max) != 3)
        return -1;
    fgetc(pipe.get());
    long n = 0;
    for (long i = 0; i < long{w} * h; ++i) {
        const int r = fgetc(pipe.get()), g = fgetc(pipe.get()), b = fgetc(pipe.get());
        n += match(r, g, b);
    }
    return n;
}

} // namespace

TEST_F(ViewTest, ExportWritesTheMazeAndItsSolutionAsTwoPictures) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 6, 6);
    CGridloomView& view = ViewOf(doc);
    doc.OnGenerateMaze();
    ASSERT_EQ(doc.cleared, 0);
    const std::string base = folder_.File("B.gif");
    ASSERT_EQ(PictureExport::Write(view, base, 2, 1024, 768), "");
    const std::string maze = folder_.File("B_000.gif"), solution = folder_.File("B_000_Sol.gif");
    for (const std::string& file : {maze, solution}) {
        EXPECT_EQ(Identify(file, "%m %w %h %z"), "GIF 1024 768 8") << file;
    }
    // The solution is drawn in its own colour, only into the second picture (blue, and
    // dithered by the reduction to 256 colours).
    ASSERT_EQ(doc.Colours().solution, RGB(128, 128, 240));
    const auto bluish = [](int r, int, int b) { return b - r > 60; };
    EXPECT_EQ(CountPixels(maze, bluish), 0);
    EXPECT_GT(CountPixels(solution, bluish), 1000);
    // The walls are there, and the screen flag and the view's own solution flag are back.
    EXPECT_GT(CountPixels(maze, [](int r, int g, int b) { return r + g + b == 0; }), 1000);
    EXPECT_TRUE(view.ScreenFlag());
    EXPECT_FALSE(view.ShowSolution());

    // BMP keeps all the colours; the picture is read back by our own codec as well.
    ASSERT_EQ(PictureExport::Write(view, folder_.File("C.bmp"), 1, 64, 48), "");
    CRaster back;
    ASSERT_TRUE(back.Load(folder_.File("C_000_Sol.bmp")));
    EXPECT_EQ(back.GetWidth(), 64u);
    EXPECT_EQ(Identify(folder_.File("C_000.bmp"), "%m %w %h"), "BMP3 64 48");
}

TEST_F(ViewTest, ExportNamesAndRefusals) {
    EXPECT_EQ(PictureExport::FileName("a.b/maze", 2, false), "a.b/maze_000.gif");
    EXPECT_EQ(PictureExport::FileName("a.b/maze", 2, true), "a.b/maze_000_Sol.gif");
    EXPECT_EQ(PictureExport::FileName("x/m.v.jpg", 4, true), "x/m.v_000_Sol.jpg");
    EXPECT_EQ(PictureExport::FileName("m", 1, false), "m_000.bmp");
    EXPECT_EQ(PictureExport::FileName("m.", 1, false), "m._000.bmp");

    CGridloomDoc& doc = NewDoc(KIND_BOX, 4, 4);
    CGridloomView& view = ViewOf(doc);
    const std::string path = folder_.File("R.gif");
    EXPECT_NE(PictureExport::Write(view, path, 2, 0, 100), "");
    EXPECT_NE(PictureExport::Write(view, path, 2, 100, 16385), "");
    EXPECT_FALSE(std::filesystem::exists(folder_.File("R_000.gif")));
    // A folder that does not exist: the failure names the file.
    const std::string missing = folder_.File("none/R.gif");
    const std::string error = PictureExport::Write(view, missing, 2, 20, 20);
    EXPECT_NE(error.find("R_000.gif"), std::string::npos) << error;
}

TEST_F(ViewTest, ATypedExtensionPicksTheFormatOrTheFiltersIsAdded) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 4, 4);
    CGridloomView& view = ViewOf(doc);
    doc.OnGenerateMaze();
    struct Case {
        const char* typed;
        int filterIndex;
        const char* written; // the maze picture; the solution's name adds "_Sol"
        const char* format;  // as ImageMagick names it
    };
    const Case cases[] = {
        {"m1.png", 2, "m1.png_000.gif", "GIF"},  {"out.bmp", 2, "out_000.bmp", "BMP3"},
        {"p.TIFF", 4, "p_000.TIFF", "TIFF"},     {"q.Jpeg", 1, "q_000.Jpeg", "JPEG"},
        {"r.tif", 2, "r_000.tif", "TIFF"},       {"s.jpg", 3, "s_000.jpg", "JPEG"},
        {"t.webp", 3, "t.webp_000.tif", "TIFF"},
    };
    const auto files = [this] {
        return std::distance(std::filesystem::directory_iterator(folder_.Path()),
                             std::filesystem::directory_iterator());
    };
    const auto before = files();
    for (const Case& c : cases) {
        ASSERT_EQ(PictureExport::Write(view, folder_.File(c.typed), c.filterIndex, 40, 30), "");
        std::string solution = c.written;
        solution.insert(solution.find("_000") + 4, "_Sol");
        for (const std::string& name : {std::string(c.written), solution})
            EXPECT_EQ(Identify(folder_.File(name), "%m"), c.format) << c.typed << " " << name;
    }
    // Nothing was written under a name that says another format.
    EXPECT_FALSE(std::filesystem::exists(folder_.File("m1_000.png")));
    EXPECT_EQ(files() - before, 2 * std::ssize(cases));
}

namespace {

class ScriptedSize : public IPictureSizeDialog {
public:
    bool Ask(PictureSize& size) override {
        asked = size;
        if (!answer)
            return false;
        size = *answer;
        return true;
    }
    std::optional<PictureSize> answer;
    PictureSize asked;
};

} // namespace

TEST_F(ViewTest, SaveToImageFileAsksForTheSizeAndKeepsIt) {
    ScriptedFileDialog files;
    IFileDialog::Installation installed(files);
    ScriptedSize sizes;
    CGridloomDoc& doc = NewDoc(KIND_BOX, 5, 5);
    CGridloomView& view = ViewOf(doc);
    view.SetPictureSizeDialog(&sizes);
    ASSERT_TRUE(view.HandlesCommand(ID_SAVE_IMAGE_FILE));

    // Cancelled: nothing asked of the file dialog, nothing kept.
    view.RunCommand(ID_SAVE_IMAGE_FILE);
    EXPECT_EQ(sizes.asked.x, 1024);
    EXPECT_EQ(sizes.asked.y, 768);
    EXPECT_TRUE(files.Requests().empty());

    sizes.answer = PictureSize{300, 200, true};
    files.Answer(folder_.File("S.bmp"), 1);
    view.RunCommand(ID_SAVE_IMAGE_FILE);
    ASSERT_EQ(files.Requests().size(), 1u);
    EXPECT_EQ(files.Requests()[0].filterIndex, 2);
    const CSize screen = view.ScreenPictureSize();
    EXPECT_EQ(Identify(folder_.File("S_000.bmp"), "%w %h"),
              std::to_string(screen.cx) + " " + std::to_string(screen.cy));
    EXPECT_TRUE(prompts_.ShownBoxes().empty());

    // The choice is kept for the next export.
    sizes.answer.reset();
    view.RunCommand(ID_SAVE_IMAGE_FILE);
    EXPECT_EQ(sizes.asked.x, 300);
    EXPECT_EQ(sizes.asked.y, 200);
    EXPECT_TRUE(sizes.asked.screenSize);
}

TEST_F(ViewTest, AScreenSizedExportHasItsWallsWhereTheScreenHasThem) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 10, 10);
    CGridloomView& view = ViewOf(doc);
    doc.OnGenerateMaze();
    // Hidden ends show on the screen only.
    for (int c = 0; c < 10; ++c)
        for (int r = 0; r < 10; ++r)
            doc.SetCellFlags(c, r, 0, doc.GetGrid(0)->GetCell(c, r).flags & ~CELL_HIDDEN);
    const CSize size = view.ScreenPictureSize();
    EXPECT_EQ(size, CSize(716, 922));
    ASSERT_EQ(PictureExport::Write(view, folder_.File("W.bmp"), 1, size.cx, size.cy), "");
    const auto ppm = ToolPipe::Run("convert '" + folder_.File("W_000.bmp") + "' -depth 8 ppm:-");
    ASSERT_TRUE(ppm);
    const auto exported = ToolPipe::ParsePpm(*ppm);
    ASSERT_TRUE(exported);
    // The screen's page: the same mapping, one pixel to 1/96 inch, from the page's corner.
    RasterSurface* screen = view.PaintScreen();
    ASSERT_NE(screen, nullptr);
    const ToolPipe::Picture shown = PixelsOf(*screen);
    // The maze, without the credit band.
    const std::array<int, 4> maze{0, 0, std::min(shown.width, exported->width),
                                  MulDiv(view.Extent().maxY, 96, 1000)};
    long walls = 0;
    for (int y = maze[1]; y < maze[3]; ++y)
        for (int x = maze[0]; x < maze[2]; ++x)
            walls += shown.Dark(x, y);
    ASSERT_GT(walls, 1000);
    EXPECT_LT(ToolPipe::DarkWithoutPartner(shown, *exported, 2, maze), walls / 200);
    EXPECT_LT(ToolPipe::DarkWithoutPartner(*exported, shown, 2, maze), walls / 200);
}

// The watermark of a page near the integer limits is the watermark of a small page scaled:
// every tile lands where the small page's does, and the picture it ends in is finished.
TEST_F(ViewTest, AHugePageDrawsItsWatermarkAsASmallPageScaled) {
    const auto watermark = [](int side) {
        auto bitmap = std::make_unique<CBitmap>();
        bitmap->CreateBitmap32(200, 200);
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        dc.SelectObject(bitmap.get());
        dc.SetMapMode(MM_ANISOTROPIC);
        dc.SetWindowExt(side, side);
        dc.SetViewportExt(200, -200);
        PageWatermark::Draw(dc, CSize(side, -side));
        dc.Flush();
        const auto* bits = bitmap->Bits();
        std::vector<std::uint8_t> pixels;
        for (int y = 0; y < 200; ++y)
            pixels.insert(pixels.end(), bits + y * bitmap->Stride(),
                          bits + y * bitmap->Stride() + 200 * 4);
        return pixels;
    };
    const auto small = watermark(20'000);
    ASSERT_GT(std::count_if(small.begin(), small.end(), [](std::uint8_t b) { return b != 255; }),
              1000);
    EXPECT_TRUE(watermark(2'000'000'000) == small);

    // The page a settings file may still hold from before its range was checked: the export
    // ends, with both pictures written at the size asked.
    CGridloomDoc& doc = NewDoc(KIND_BOX, 4, 4);
    doc.Settings().pageWidth = 2147483646;
    doc.Settings().pageHeight = 2147483646;
    CGridloomView& view = ViewOf(doc);
    ASSERT_EQ(PictureExport::Write(view, folder_.File("H.bmp"), 1, 64, 48), "");
    EXPECT_EQ(Identify(folder_.File("H_000.bmp"), "%m %w %h"), "BMP3 64 48");
    EXPECT_EQ(Identify(folder_.File("H_000_Sol.bmp"), "%m %w %h"), "BMP3 64 48");
}
