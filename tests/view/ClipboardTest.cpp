#include "tests/view/ViewToolTestSupport.h"

#include "image/core/CRaster.h"
#include "res/CommandIds.h"
#include "view/DrawingCopy.h"
#include "view/LayerObjectOrder.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>

namespace {

std::string Shell(const std::string& command) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string out;
    std::array<char, 256> buffer{};
    while (pipe && fgets(buffer.data(), buffer.size(), pipe.get()))
        out += buffer.data();
    return out;
}

void WriteFile(const std::string& path, const std::vector<BYTE>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<BYTE> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t Crc32(const BYTE* p, std::size_t n) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < n; ++i) {
        crc ^= p[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void PutBigEndian(std::vector<BYTE>& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + std::size_t(i)] = BYTE(value >> (24 - 8 * i));
}

// A one-bit grey PNG whose header claims `side` x `side` pixels, padded with a private chunk
// so that its size makes the claim believable to the decoder's data check.
std::vector<BYTE> PngClaiming(std::uint32_t side, std::size_t padding) {
    CRaster small(4, 4, 24);
    std::vector<BYTE> png;
    EXPECT_TRUE(small.EncodeToMemory(png, CRaster::kTypePng));
    // Signature (8), chunk length (4), "IHDR" (4), width, height, depth, colour type.
    PutBigEndian(png, 16, side);
    PutBigEndian(png, 20, side);
    png[24] = 1;
    png[25] = 0;
    PutBigEndian(png, 29, Crc32(png.data() + 12, 17));
    std::vector<BYTE> chunk(12 + padding, 0);
    PutBigEndian(chunk, 0, std::uint32_t(padding));
    const char type[] = "prVt";
    std::copy(type, type + 4, chunk.begin() + 4);
    PutBigEndian(chunk, 8 + padding, Crc32(chunk.data() + 4, 4 + padding));
    png.insert(png.begin() + 33, chunk.begin(), chunk.end());
    return png;
}

class ClipboardTest : public TextClipViewTest {
protected:
    CCmdUI Query(UINT id) {
        CCmdUI ui(id);
        view_->RunUpdate(ui);
        return ui;
    }

    // Puts what ImageMagick makes of `recipe` on the clipboard as `mime`.
    void Offer(const std::string& recipe, const std::string& file, const std::string& mime,
               const std::string& format = {}) {
        const std::string path = folder_.File(file);
        ASSERT_EQ(std::system(("convert " + recipe + " '" + format + path + "'").c_str()), 0);
        clipboard_.encoded = {{mime, ReadFile(path)}};
    }
};

} // namespace

TEST_F(ClipboardTest, CopyOffersTheUnmarkedDrawingAsPngAndBmp) {
    CLogicalRectTracker text;
    text.SetKind(CLogicalRectTracker::kindTextTransparent);
    text.SetText("Mark me");
    text.SetLayer(CGridloomView::kLayerText);
    text.m_rect = CRect(20, 20, 200, 80);
    text.SetLogicalRect(200, -200, 2000, -800);
    doc_->layerObjects.push_back(text);
    view_->SetActiveLayer(CGridloomView::kLayerText);
    ASSERT_EQ(doc_->layerObjects[0].GetSelectionStyle(), LayerObjectOrder::kOnLayer);

    ASSERT_TRUE(Query(ID_EDIT_COPY).IsEnabled());
    ASSERT_TRUE(view_->RunCommand(ID_EDIT_COPY));
    ASSERT_EQ(clipboard_.encoded.size(), 2u);
    EXPECT_EQ(clipboard_.encoded[0].mimeType, "image/png");
    EXPECT_EQ(clipboard_.encoded[1].mimeType, "image/bmp");
    // The marks are back once the copy is made.
    EXPECT_EQ(doc_->layerObjects[0].GetSelectionStyle(), LayerObjectOrder::kOnLayer);
    const std::string marked = folder_.File("marked.png");
    const std::string bmp = folder_.File("marked.bmp");
    WriteFile(marked, clipboard_.encoded[0].bytes);
    WriteFile(bmp, clipboard_.encoded[1].bytes);

    // The page 7499 wide, 9499 + 250 + 150 high at 96 dpi, one pixel more each way.
    const CSize extent = DrawingCopy::PixelExtent(*view_);
    EXPECT_EQ(extent, CSize(720, 950));
    EXPECT_EQ(Shell("identify -format '%m %w %h' '" + marked + "'"), "PNG 721 951");
    EXPECT_EQ(Shell("identify -format '%w %h' '" + bmp + "'"), "721 951");
    EXPECT_EQ(Shell("compare -metric AE '" + marked + "' '" + bmp + "' null: 2>&1"), "0");

    // The same drawing with nothing marked on the screen copies to the same pixels.
    view_->SetActiveLayer(CGridloomView::kLayerMaze);
    ASSERT_TRUE(view_->OnEditCopy());
    const std::string plain = folder_.File("plain.png");
    WriteFile(plain, clipboard_.encoded[0].bytes);
    EXPECT_EQ(Shell("compare -metric AE '" + marked + "' '" + plain + "' null: 2>&1"), "0");
    // Upright: the text near the page's top left is dark there, the foot of the page white.
    EXPECT_NE(Shell("convert '" + plain + "' -crop 150x60+20+20 -format '%[fx:minima.r]' info:"),
              "1");
    EXPECT_EQ(Shell("convert '" + plain + "' -crop 700x20+0+925 -format '%[fx:minima.r]' info:"),
              "1");
}

TEST_F(ClipboardTest, CopyWaitsForAGrid) {
    doc_ = std::make_unique<CGridloomDoc>(Profile());
    ToolView(*doc_);
    view_->SetClipboard(&clipboard_);
    EXPECT_FALSE(Query(ID_EDIT_COPY).IsEnabled());
    EXPECT_FALSE(view_->OnEditCopy());
    EXPECT_EQ(clipboard_.writes, 0);
}

TEST_F(ClipboardTest, PicturesPasteOnThePictureLayersAt24BitsWithAlpha) {
    Offer("-size 7x5 xc:'rgba(255,0,0,0.5)'", "alpha.png", "image/png");
    view_->SetActiveLayer(CGridloomView::kLayerMaze);
    EXPECT_FALSE(Query(ID_EDIT_PASTE).IsEnabled());
    EXPECT_FALSE(view_->OnEditPaste());
    EXPECT_FALSE(view_->Pending().IsPending());

    view_->SetActiveLayer(CGridloomView::kLayerBackground);
    ASSERT_TRUE(Query(ID_EDIT_PASTE).IsEnabled());
    ASSERT_TRUE(view_->RunCommand(ID_EDIT_PASTE));
    EXPECT_TRUE(view_->Pending().IsPending());
    const CRaster& w = view_->Pending().Working();
    EXPECT_EQ(w.GetWidth(), 7u);
    EXPECT_EQ(w.GetHeight(), 5u);
    EXPECT_EQ(w.GetBpp(), 24);
    ASSERT_TRUE(w.IsAlphaValid());
    EXPECT_NEAR(w.GetAlpha(3, 2), 128, 1);
    EXPECT_EQ(w.GetPixelColor(3, 2).rgbRed, 255);

    // A palette BMP, offered under an older name, is raised to 24 bits.
    view_->Pending().SetPending(false);
    view_->SetActiveLayer(CGridloomView::kLayerForeground);
    Offer("-size 6x4 xc:blue -type Palette", "blue.bmp", "image/x-bmp", "BMP3:");
    ASSERT_TRUE(view_->OnEditPaste());
    EXPECT_EQ(view_->Pending().Working().GetWidth(), 6u);
    EXPECT_EQ(view_->Pending().Working().GetBpp(), 24);
    EXPECT_EQ(view_->Pending().Working().GetPixelColor(0, 0).rgbBlue, 255);
    EXPECT_TRUE(prompts_.ShownBoxes().empty());
}

TEST_F(ClipboardTest, ABadPictureIsRefusedAndChangesNothing) {
    view_->SetActiveLayer(CGridloomView::kLayerBackground);
    Offer("-size 3x3 xc:green", "green.png", "image/png");
    ASSERT_TRUE(view_->OnEditPaste());
    view_->Pending().SetPending(false);

    // Over the picture budget: refused with its size before any pixel is made.
    clipboard_.encoded = {{"image/png", PngClaiming(70000, 700000)}};
    EXPECT_FALSE(view_->OnEditPaste());
    ASSERT_EQ(prompts_.ShownBoxes().size(), 1u);
    EXPECT_EQ(prompts_.ShownBoxes()[0].text,
              "The picture on the Clipboard could not be read: PNG picture of 70000 x 70000 "
              "pixels needs 613 MB to read; the limit is 160 MB");
    // Bytes that are no picture at all, whatever their type says.
    clipboard_.encoded = {{"image/png", std::vector<BYTE>(300, 0x5A)}};
    EXPECT_FALSE(view_->OnEditPaste());
    ASSERT_EQ(prompts_.ShownBoxes().size(), 2u);
    EXPECT_NE(prompts_.ShownBoxes()[1].text.find("could not be read"), std::string::npos);
    clipboard_.encoded = {{"image/png", {}}};
    EXPECT_FALSE(view_->OnEditPaste());

    EXPECT_FALSE(view_->Pending().IsPending());
    EXPECT_EQ(view_->Pending().Working().GetWidth(), 3u);
    // Nothing offered: nothing pasted, and nothing said.
    clipboard_.encoded.clear();
    prompts_.Clear();
    EXPECT_FALSE(Query(ID_EDIT_PASTE).IsEnabled());
    EXPECT_FALSE(view_->OnEditPaste());
    EXPECT_TRUE(prompts_.ShownBoxes().empty());
}

TEST_F(ClipboardTest, TextPastesIntoTheTextBoxReplacingItsText) {
    view_->SetActiveLayer(CGridloomView::kLayerText);
    box_.text = "old text";
    EXPECT_FALSE(Query(ID_EDIT_PASTE).IsEnabled());
    clipboard_.text = "new\ntext";
    ASSERT_TRUE(Query(ID_EDIT_PASTE).IsEnabled());
    ASSERT_TRUE(view_->RunCommand(ID_EDIT_PASTE));
    EXPECT_EQ(box_.text, "new\ntext");
    // A picture on the clipboard is no text.
    view_->SetActiveLayer(CGridloomView::kLayerBackground);
    EXPECT_FALSE(Query(ID_EDIT_PASTE).IsEnabled());
}
