#include "tests/ui/MazeViewWindowFixture.h"

#include "dialogs/ui/BitmapSetupAsker.h"
#include "image/core/CRaster.h"
#include "image/metafile/EmfRecordTypes.h"
#include "maze/MazeCell.h"
#include "platform/CProfile.h"
#include "platform/FileDialog.h"
#include "platform/SaveRefusal.h"
#include "tests/support/EmfRecordList.h"
#include "tests/support/ToolPipe.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace {

// The program's window with a made maze; the exports are asked for with their keys.
class ExportWindowTest : public MazeViewWindowFixture {
protected:
    int BoxCells() const override { return 8; }
    bool MakesMaze() const override { return true; }
    bool UsesEditToolbar() const override { return false; }
    void PlaceFrame() override { frame_->SetSize(900, 800); }
    void WireBeforeShow() override {
        sizes_ = std::make_unique<BitmapSetupAsker>(frame_);
        view_->SetPictureSizeDialog(sizes_.get());
    }

    // Presses `keys` in the main window; once a window named `dialog` shows, presses Return in
    // it, as a user accepting it would.
    void PressAndAccept(const std::string& keys, const std::string& dialog) {
        std::atomic<bool> accepted{false};
        std::thread user([&] {
            if (xdo::FocusWindowNamed("^" + dialog + "$"))
                xdo::Run("key Return");
            accepted = true;
        });
        ASSERT_TRUE(xdo::Run("key " + keys));
        EXPECT_TRUE(xdo::PumpUntil([&] { return accepted.load(); }, 8000));
        user.join();
        // The key's handler runs the dialog and the export before it returns.
        ASSERT_TRUE(xdo::InputHandled());
    }

    std::unique_ptr<BitmapSetupAsker> sizes_;
    ScriptedFileDialog files_;
    IFileDialog::Installation filesInstalled_{files_};
};

} // namespace

TEST_F(ExportWindowTest, SaveToImageFileAndSaveToEmfFromTheirKeys) {
    Profile().WriteProfileInt("BMPsize", "SCREENSIZE", 0);
    Profile().WriteProfileInt("BMPsize", "x", 320);
    Profile().WriteProfileInt("BMPsize", "y", 240);
    files_.Answer(folder_.File("shot.gif"), 2);
    PressAndAccept("ctrl+i", "Bitmap Setup");
    ASSERT_EQ(files_.Requests().size(), 1u);
    for (const char* name : {"shot_000.gif", "shot_000_Sol.gif"}) {
        const auto size = ToolPipe::Run("identify -format '%m %w %h' '" + folder_.File(name) + "'");
        ASSERT_TRUE(size) << name;
        EXPECT_EQ(*size, "GIF 320 240") << name;
    }
    EXPECT_TRUE(view_->ScreenFlag());

    files_.Answer(folder_.File("page.emf"));
    ASSERT_TRUE(xdo::Run("key ctrl+e"));
    const std::string emf = folder_.File("page.emf");
    EXPECT_TRUE(xdo::PumpUntil([&] { return std::filesystem::exists(emf); }, 5000));
    ASSERT_EQ(files_.Requests().size(), 2u);
    EXPECT_EQ(files_.Requests()[1].defaultExtension, "emf");
    const EmfRecordList records = EmfRecordList::FromFile(emf);
    EXPECT_TRUE(records.WellFormed());
    EXPECT_GT(records.OfType(EmfRecordType::kPolyPolyline16).size(), 0u);
    EXPECT_TRUE(view_->ScreenFlag());
    EXPECT_TRUE(prompts_.ShownBoxes().empty());
}

// Apply BMP Mask from its key with a damaged picture: the message names the file and the
// reader's reason, and no cell changes.
TEST_F(ExportWindowTest, ADamagedMaskFromItsKeySaysWhyAndChangesNothing) {
    CRaster dark(40, 30, 24);
    dark.Clear(0);
    const std::string whole = folder_.File("whole.bmp");
    ASSERT_TRUE(dark.Save(whole, CRaster::kTypeBmp));
    const auto bytes = std::filesystem::file_size(whole);
    const std::string cut = folder_.File("cut.bmp");
    std::filesystem::copy_file(whole, cut);
    std::filesystem::resize_file(cut, bytes / 2);
    // A mask applies to a cleared maze only.
    ASSERT_TRUE(frame_->RunCommand(ID_CLEAR_MAZE));
    ASSERT_EQ(doc_->cleared, 1);
    std::vector<int> before;
    for (const MazeCell& cell : doc_->GetGrid(0)->Cells())
        before.push_back(cell.flags);
    prompts_.Clear();
    files_.Answer(cut);
    ASSERT_TRUE(xdo::Run("key alt+m"));
    ASSERT_TRUE(xdo::PumpUntil([&] { return !prompts_.ShownBoxes().empty(); }, 5000));
    ASSERT_EQ(files_.Requests().size(), 1u);
    const std::string& text = prompts_.ShownBoxes()[0].text;
    EXPECT_NE(text.find(cut), std::string::npos) << text;
    EXPECT_NE(text.find("picture larger than its data"), std::string::npos) << text;
    std::vector<int> after;
    for (const MazeCell& cell : doc_->GetGrid(0)->Cells())
        after.push_back(cell.flags);
    EXPECT_EQ(before, after);
}

// A save the system refuses says why from the window, whichever export met it: Save to EMF onto
// a FIFO (after the replace question) and Save to Image File into a folder that is not there.
TEST_F(ExportWindowTest, RefusedSavesSayWhy) {
    const std::string fifo = folder_.File("pipe.emf");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    files_.Answer(fifo);
    prompts_.Answer(IDYES); // "pipe.emf already exists. Do you want to replace it?"
    ASSERT_TRUE(xdo::Run("key ctrl+e"));
    ASSERT_TRUE(xdo::PumpUntil([&] { return prompts_.ShownBoxes().size() >= 2; }, 8000));
    EXPECT_NE(prompts_.ShownBoxes()[0].text.find("already exists"), std::string::npos);
    EXPECT_EQ(prompts_.ShownBoxes()[1].text,
              SaveRefusal::Text(fifo, "it is a FIFO, not a regular file"));
    EXPECT_EQ(prompts_.ShownBoxes()[1].type & 0xF0u, unsigned(MB_ICONERROR));
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    EXPECT_TRUE(view_->ScreenFlag());

    prompts_.Clear();
    Profile().WriteProfileInt("BMPsize", "SCREENSIZE", 0);
    files_.Answer(folder_.File("missing/shot.gif"), 2);
    PressAndAccept("ctrl+i", "Bitmap Setup");
    ASSERT_TRUE(xdo::PumpUntil([&] { return !prompts_.ShownBoxes().empty(); }, 8000));
    EXPECT_EQ(prompts_.ShownBoxes()[0].text,
              SaveRefusal::Text(folder_.File("missing/shot_000.gif"),
                                "the folder '" + folder_.File("missing") + "' does not exist"));
    EXPECT_FALSE(std::filesystem::exists(folder_.File("missing")));
}
