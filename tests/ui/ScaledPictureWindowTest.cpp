// A JPEG mask over the picture budget, applied from the window: Escape held down stops its
// load with the reason; let go, it loads at a reduced scale and blackens the cells it covers.
#include "tests/ui/MazeViewWindowFixture.h"

#include "image/core/CRaster.h"
#include "platform/FileDialog.h"

#include <fstream>
#include <string>
#include <vector>

namespace {

class ScaledPictureWindowTest : public MazeViewWindowFixture {
protected:
    int BoxCells() const override { return 4; }

    ScriptedFileDialog files_;
    IFileDialog::Installation filesInstalled_{files_};
};

TEST_F(ScaledPictureWindowTest, EscapeStopsALargeJpegMaskWhichOtherwiseLoadsReduced) {
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
    EscapeStopsAMaskLoadThenItApplies(files_, mask);
}

} // namespace
