#include "tests/view/ViewTestSupport.h"

#include "image/core/CRaster.h"
#include "maze/MazeCell.h"
#include "maze/TemplateKind.h"
#include "platform/FileDialog.h"
#include "res/CommandIds.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

// A 24-bit picture of `w` x `h` pixels in one colour, `y` counted from the top.
CRaster Picture(int w, int h, COLORREF fill) {
    CRaster p(static_cast<DWORD>(w), static_cast<DWORD>(h), 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.SetPixelColorRef(x, y, fill);
    return p;
}

void Paint(CRaster& p, int x, int top, COLORREF c) {
    p.SetPixelColorRef(x, static_cast<LONG>(p.GetHeight()) - 1 - top, c);
}

int FlagsOf(CGridloomDoc& doc, int column, int row, int grid = 0) {
    return doc.GetGrid(grid)->GetCell(column, row).flags;
}

constexpr COLORREF kGrey = RGB(100, 100, 100);

class ImageMaskTest : public ViewTest {
protected:
    ScriptedFileDialog dialog_;
    IFileDialog::Installation dialogInstalled_{dialog_};
};

} // namespace

TEST_F(ImageMaskTest, ColourSumsDecideThroughAPictureAnotherProgramWrote) {
    // The picture comes from ImageMagick, so that loading and row order are checked too.
    const std::string bmp = folder_.File("mask.bmp");
    const std::string command = "convert -size 1x1 xc:'rgb(23,23,23)' xc:'rgb(24,23,23)' "
                                "+append \\( -size 1x1 xc:'rgb(234,234,234)' "
                                "xc:'rgb(235,234,234)' +append \\) -append -type TrueColor "
                                "BMP3:" +
                                bmp;
    ASSERT_EQ(std::system(command.c_str()), 0);
    CGridloomDoc& doc = NewDoc(KIND_BOX, 2, 2);
    CGridloomView& view = ViewOf(doc);
    doc.SetCellFlags(1, 0, 0, CELL_HIDDEN);
    doc.SetModifiedFlag(false);
    EXPECT_TRUE(view.HandlesCommand(ID_APPLY_BMP_MASK));
    dialog_.Answer(bmp);
    view.RunCommand(ID_APPLY_BMP_MASK);
    EXPECT_EQ(FlagsOf(doc, 0, 0), CELL_BLACKENED); // 69
    EXPECT_EQ(FlagsOf(doc, 1, 0), CELL_HIDDEN);    // 70: unchanged
    EXPECT_EQ(FlagsOf(doc, 0, 1), 0);              // 702: unchanged
    EXPECT_EQ(FlagsOf(doc, 1, 1), CELL_ERASED);    // 703
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.reRender, 1);
    EXPECT_TRUE(prompts_.ShownBoxes().empty());
}

TEST_F(ImageMaskTest, PictureStretchesOverTheCellCentres) {
    // 3 x 4 cells over a 30 x 8 picture: the outer centres sample the outer pixels, and a
    // grid one cell wide samples the middle column.
    CGridloomDoc& doc = NewDoc(KIND_BOX, 3, 4);
    CGridloomView& view = ViewOf(doc);
    CRaster p = Picture(30, 8, kGrey);
    Paint(p, 0, 0, RGB(0, 0, 0));
    Paint(p, 29, 7, RGB(255, 255, 255));
    Paint(p, 14, 2, RGB(0, 0, 0)); // trunc(30 x 0.5 - 0.5) = 14, trunc(8 x 1/3 - 0.5) = 2
    ASSERT_TRUE(view.ApplyImageMask(p));
    EXPECT_EQ(FlagsOf(doc, 0, 0), CELL_BLACKENED);
    EXPECT_EQ(FlagsOf(doc, 2, 3), CELL_ERASED);
    EXPECT_EQ(FlagsOf(doc, 1, 1), CELL_BLACKENED);
    EXPECT_EQ(FlagsOf(doc, 1, 2), 0);

    CGridloomDoc& narrow = NewDoc(KIND_BOX, 1, 3);
    CGridloomView& narrowView = ViewOf(narrow);
    CRaster q = Picture(3, 3, RGB(255, 255, 255));
    for (int y = 0; y < 3; ++y)
        Paint(q, 1, y, RGB(0, 0, 0));
    ASSERT_TRUE(narrowView.ApplyImageMask(q));
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(FlagsOf(narrow, 0, row), CELL_BLACKENED) << row;
}

TEST_F(ImageMaskTest, EveryGridOfAMultiGridTemplateIsMasked) {
    CGridloomDoc& doc = NewDoc(KIND_OCTAGON_BOX, 4, 4);
    CGridloomView& view = ViewOf(doc);
    ASSERT_GE(doc.GridCount(), 2);
    ASSERT_TRUE(view.ApplyImageMask(Picture(5, 5, RGB(0, 0, 0))));
    for (int g = 0; g < doc.GridCount(); ++g)
        for (int c = 0; c < doc.GetGrid(g)->Width(); ++c)
            for (int r = 0; r < doc.GetGrid(g)->Height(); ++r)
                EXPECT_EQ(FlagsOf(doc, c, r, g), CELL_BLACKENED);
}

TEST_F(ImageMaskTest, CircularMazesAndBadPicturesChangeNothing) {
    CGridloomDoc& ring = NewDoc(KIND_CIRCULAR, 10, 10);
    CGridloomView& ringView = ViewOf(ring);
    ring.SetModifiedFlag(false);
    ASSERT_GT(ring.GridCount(), 0);
    std::vector<WORD> before;
    for (const MazeCell& c : ring.GetGrid(0)->Cells())
        before.push_back(c.flags);
    EXPECT_FALSE(ringView.ApplyImageMask(Picture(4, 4, RGB(0, 0, 0))));
    ringView.OnApplyMask();
    EXPECT_TRUE(dialog_.Requests().empty());
    std::vector<WORD> after;
    for (const MazeCell& c : ring.GetGrid(0)->Cells())
        after.push_back(c.flags);
    EXPECT_EQ(before, after);
    EXPECT_FALSE(ring.IsModified());

    CGridloomDoc& doc = NewDoc(KIND_BOX, 3, 3);
    CGridloomView& view = ViewOf(doc);
    doc.SetModifiedFlag(false);
    const std::string junk = folder_.File("junk.bmp");
    std::ofstream(junk) << "BM not a picture at all";
    dialog_.Answer(junk);
    view.OnApplyMask();
    ASSERT_EQ(prompts_.ShownBoxes().size(), 1u);
    EXPECT_NE(prompts_.ShownBoxes()[0].text.find(junk), std::string::npos);
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 3; ++r)
            EXPECT_EQ(FlagsOf(doc, c, r), 0);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(view.ApplyImageMask(CRaster()));
}

// A damaged mask of a kind its first bytes name (pictures another program wrote, cut short)
// is refused with its reader's reason, not as a picture of no known kind; nothing changes.
TEST_F(ImageMaskTest, ADamagedMaskSaysWhatItsReaderFound) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 3, 3);
    CGridloomView& view = ViewOf(doc);
    doc.SetModifiedFlag(false);
    struct Case {
        const char* file;
        std::size_t keep; // bytes kept of the whole picture; 0 keeps half
        const char* reason;
    };
    const Case cases[] = {{"cut.bmp", 0, "picture larger than its data"},
                          {"cut.gif", 60, "Truncated GIF colour table"}};
    for (const Case& c : cases) {
        const std::string whole = folder_.File(std::string("whole-") + c.file);
        const std::string command =
            "convert -size 40x30 plasma:fractal -seed 1 -type TrueColor " + whole;
        ASSERT_EQ(std::system(command.c_str()), 0);
        std::ifstream in(whole, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), {});
        const std::string cut = folder_.File(c.file);
        std::ofstream(cut, std::ios::binary) << bytes.substr(0, c.keep ? c.keep : bytes.size() / 2);
        prompts_.Clear();
        dialog_.Answer(cut);
        view.RunCommand(ID_APPLY_BMP_MASK);
        ASSERT_EQ(prompts_.ShownBoxes().size(), 1u) << c.file;
        const std::string& text = prompts_.ShownBoxes()[0].text;
        EXPECT_NE(text.find(cut), std::string::npos) << text;
        EXPECT_NE(text.find(c.reason), std::string::npos) << text;
    }
    for (int col = 0; col < 3; ++col)
        for (int row = 0; row < 3; ++row)
            EXPECT_EQ(FlagsOf(doc, col, row), 0);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(ImageMaskTest, AStartUnderBlackIsPlacedAgainByMakeMaze) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 4, 4);
    CGridloomView& view = ViewOf(doc);
    doc.SetCellFlags(2, 2, 0, CELL_START);
    doc.docFlags |= MazeProgress::kUserStart;
    CRaster p = Picture(4, 4, kGrey);
    Paint(p, 2, 2, RGB(0, 0, 0));
    ASSERT_TRUE(view.ApplyImageMask(p));
    EXPECT_EQ(FlagsOf(doc, 2, 2), CELL_BLACKENED);
    EXPECT_EQ(doc.docFlags & MazeProgress::kUserStart, 0);
    doc.OnGenerateMaze();
    EXPECT_TRUE(FlagsOf(doc, 0, 0) & CELL_START);
}
