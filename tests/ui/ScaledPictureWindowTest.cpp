// A JPEG mask over the picture budget, applied from the window: Escape held down stops its
// load with the reason; let go, it loads at a reduced scale and blackens the cells it covers.
#include "tests/ui/MazeViewWindowFixture.h"

#include "image/core/CRaster.h"
#include "platform/FileDialog.h"
#include "platform/wx/WxBusyCursor.h"

#include <fstream>
#include <string>
#include <vector>

namespace {

class ScaledPictureWindowTest : public MazeViewWindowFixture {
protected:
    int BoxCells() const override { return 4; }
    std::string At(wxPoint client) { return xdo::At(*window_, client.x, client.y); }

    ScriptedFileDialog files_;
    IFileDialog::Installation filesInstalled_{files_};
};

TEST_F(ScaledPictureWindowTest, EscapeStopsALargeJpegMaskWhichOtherwiseLoadsReduced) {
    WxBusyCursor busy;
    IBusyIndicator::Installation busyInstalled(busy);
    // A dark picture of 13000 x 13000, 169 MB in full: arithmetic coding makes it a few
    // hundred bytes, as cjpeg -arithmetic does.
    CRaster dark(13000, 13000, 8, CRaster::kTypeJpg);
    dark.SetGrayPalette();
    dark.Clear(0);
    dark.SetCodecOption(0x2, CRaster::kTypeJpg);
    std::vector<BYTE> bytes;
    ASSERT_TRUE(dark.EncodeToMemory(bytes, CRaster::kTypeJpg));
    ASSERT_LT(bytes.size(), 4096u);
    dark.Destroy();
    const std::string mask = folder_.File("dark.jpg");
    std::ofstream(mask, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    auto blackened = [&] {
        int n = 0;
        for (int r = 0; r < BoxCells(); ++r)
            for (int c = 0; c < BoxCells(); ++c)
                n += doc_->GetGrid(0)->GetCell(c, r).flags == CELL_BLACKENED ? 1 : 0;
        return n;
    };

    Xdo("mousemove --sync " + At({300, 300}) + " keydown Escape");
    ASSERT_TRUE(xdo::PumpUntil([] { return wxGetKeyState(WXK_ESCAPE); }, 5000));
    files_.Answer(mask);
    view_->OnApplyMask();
    Xdo("keyup Escape");
    EXPECT_EQ(blackened(), 0);
    ASSERT_EQ(prompts_.ShownBoxes().size(), 1u);
    EXPECT_NE(prompts_.ShownBoxes()[0].text.find(CRaster::kCancelled), std::string::npos)
        << prompts_.ShownBoxes()[0].text;

    ASSERT_TRUE(xdo::PumpUntil([] { return !wxGetKeyState(WXK_ESCAPE); }, 5000));
    files_.Answer(mask);
    view_->OnApplyMask();
    EXPECT_EQ(blackened(), BoxCells() * BoxCells());
    EXPECT_EQ(prompts_.ShownBoxes().size(), 1u);
}

} // namespace
