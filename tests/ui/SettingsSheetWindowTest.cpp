#include "dialogs/ui/SettingsSheet.h"
#include "dialogs/ui/SettingsSheetDialog.h"
#include "forms/ControlIds.h"
#include "image/core/CRaster.h"
#include "maze/TemplateKind.h"
#include "platform/CWaitCursor.h"
#include "res/StylePreviewArt.h"
#include "tests/support/DocTestSupport.h"
#include "tests/ui/ModalDialogDriver.h"
#include "tiles/CBMPTiler.h"
#include "tiles/TileSetCatalogue.h"

#include <wx/bookctrl.h>
#include <wx/choice.h>
#include <wx/notebook.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>

#include <atomic>
#include <filesystem>
#include <fstream>

namespace {

// The centre of tab `index` of the sheet's notebook, found by hit testing along its top.
wxPoint TabCentre(wxBookCtrlBase* book, int index) {
    auto* notebook = dynamic_cast<wxNotebook*>(book);
    if (!notebook)
        return {-1, -1};
    int first = -1, last = -1, y = -1;
    for (int row = 2; row < 40 && first < 0; row += 2)
        for (int x = 0; x < book->GetSize().x; ++x)
            if (notebook->HitTest(wxPoint(x, row)) == index) {
                if (first < 0)
                    first = x, y = row;
                last = x;
            }
    return first < 0 ? wxPoint(-1, -1) : wxPoint((first + last) / 2, y + 6);
}

// Pixels that differ between a screenshot and the picture that should be on screen
// (`expected(x, y)` as 0xRRGGBB, y from the top).
int Differences(const wxImage& shot, int width, int height,
                const std::function<std::uint32_t(int, int)>& expected) {
    if (!shot.IsOk() || shot.GetWidth() < width || shot.GetHeight() < height)
        return width * height;
    int differ = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint32_t want = expected(x, y);
            differ += shot.GetRed(x, y) != (want >> 16 & 0xFF) ||
                      shot.GetGreen(x, y) != (want >> 8 & 0xFF) ||
                      shot.GetBlue(x, y) != (want & 0xFF);
        }
    return differ;
}

// A tile set in `folder`: 10-pixel tiles, each passage kind its own colour.
void WriteTileSet(const std::filesystem::path& folder, const std::string& name) {
    std::filesystem::create_directories(folder);
    CRaster sheet(40, 40, 24);
    for (LONG y = 0; y < 40; ++y)
        for (LONG x = 0; x < 40; ++x) {
            const int tile = x / 10 + (39 - y) / 10 * 4;
            sheet.SetPixelColor(x, y,
                                RGBQUAD::FromRgb(BYTE(tile * 16), BYTE(240 - tile * 12),
                                                 BYTE(x % 10 < 3 ? 0 : 200)));
        }
    ASSERT_TRUE(sheet.Save((folder / (name + ".bmp")).string(), CRaster::kTypeBmp));
    std::string text = "NAME: " + name + "\r\nUNIQUEID: " + name + "-id\r\nPIXELSWIDE: 10\r\n" +
                       "PIXELSHIGH: 10\r\nBMPFILE: " + name + ".bmp\r\n";
    for (int kind = 1; kind < 16; ++kind)
        text += "TILE: " + std::to_string(kind) + "," + std::to_string((kind - 1) / 4 + 1) + "," +
                std::to_string((kind - 1) % 4 + 1) + "\r\n";
    std::ofstream(folder / (name + ".tle"), std::ios::binary) << text;
}

// Maze Setup, Page Setup and Set Printing Pen Width open the sheet on a document; a script
// drives it with real X events.
class SettingsSheetWindowTest : public DocTest {
protected:
    void SetUp() override {
        DocTest::SetUp();
        if (!ModalDialogDriver::HaveXdotool())
            GTEST_SKIP() << "xdotool missing";
        sets_.SetInstallFolder(dir_.string());
        sheet_.OnShow([this](wxDialog& dialog) {
            dialog_ = dynamic_cast<SettingsSheetDialog*>(&dialog);
            return driver_.Run(dialog, script_);
        });
        NewDoc(KIND_BOX, 10, 10);
        doc_->SetSettingsSheet(&sheet_);
    }
    void TearDown() override {
        if (doc_)
            doc_->SetSettingsSheet(nullptr);
        DocTest::TearDown();
    }
    void GoToPage(ModalDialogDriver& d, int page) {
        wxBookCtrlBase* book = nullptr;
        wxPoint tab;
        d.OnMain([&] {
            book = dialog_->GetBookCtrl();
            tab = TabCentre(book, page);
        });
        d.ClickAt(book, tab);
    }
    int Selection(ModalDialogDriver& d) {
        int page = -1;
        d.OnMain([&] { page = dialog_->GetBookCtrl()->GetSelection(); });
        return page;
    }

    TileSetCatalogue sets_;
    SettingsSheet sheet_{nullptr, sets_};
    SettingsSheetDialog* dialog_ = nullptr;
    ModalDialogDriver driver_;
    std::function<void(ModalDialogDriver&)> script_;
};

} // namespace

TEST_F(SettingsSheetWindowTest, MazeSetupBuildsAHexGridOfTheTypedSize) {
    int firstPage = -1;
    script_ = [&](ModalDialogDriver& d) {
        firstPage = Selection(d);
        d.Click(dialog_->Field(0, 1035)); // "Hex"
        GoToPage(d, 1);
        d.Retype(dialog_->Field(1, 1006), "20");
        d.Retype(dialog_->Field(1, 1007), "30");
        d.Screenshot(dialog_, "settings-sheet-dimensions");
        d.Click(dialog_->FindWindow(wxID_OK));
    };
    doc_->OnMazeSetup();
    EXPECT_EQ(firstPage, 0);
    EXPECT_TRUE(prompts_.ShownBoxes().empty() ||
                prompts_.ShownBoxes().back().text.find("Please") == std::string::npos);
    EXPECT_EQ(doc_->Settings().kind, KIND_HEX);
    EXPECT_EQ(doc_->Settings().columns, 20);
    EXPECT_EQ(doc_->Settings().rows, 30);
    ASSERT_GT(doc_->GridCount(), 0);
    EXPECT_EQ(doc_->GetGrid(0)->Width(), 20);
}

TEST_F(SettingsSheetWindowTest, BadCountsKeepTheSheetOpenAndCancelChangesNothing) {
    const MazeSettings before = doc_->Settings();
    bool openAfterOk = false, focusOnField = false;
    int pageAfterLeaving = -1;
    script_ = [&](ModalDialogDriver& d) {
        GoToPage(d, 1);
        d.Retype(dialog_->Field(1, 1007), "100001");
        d.Click(dialog_->FindWindow(wxID_OK));
        d.OnMain([&] {
            openAfterOk = dialog_->IsShown() && dialog_->IsModal();
            focusOnField = wxWindow::FindFocus() == dialog_->Field(1, 1007);
        });
        GoToPage(d, 3);
        pageAfterLeaving = Selection(d);
        d.Click(dialog_->FindWindow(wxID_CANCEL));
    };
    doc_->OnMazeSetup();
    EXPECT_TRUE(openAfterOk);
    EXPECT_TRUE(focusOnField);
    EXPECT_EQ(pageAfterLeaving, 1);
    ASSERT_GE(prompts_.ShownBoxes().size(), 2u);
    EXPECT_EQ(prompts_.ShownBoxes()[0].text,
              "Cells Long: Please enter an integer between 1 and 100000.");
    EXPECT_EQ(doc_->Settings().rows, before.rows);
    EXPECT_EQ(doc_->Pages().dimensions.cellsLong, before.rows);
}

TEST_F(SettingsSheetWindowTest, EveryRefusalNamesItsFieldAndKeepsTheSheetOpen) {
    const MazeSettings before = doc_->Settings();
    struct Seen {
        bool open = false;
        bool focused = false;
        std::size_t boxes = 0;
    };
    std::vector<Seen> seen;
    const auto pressOk = [&](ModalDialogDriver& d, int page, int field) {
        d.Click(dialog_->FindWindow(wxID_OK));
        Seen now;
        d.OnMain([&] {
            now.open = dialog_->IsShown() && dialog_->IsModal();
            now.focused = wxWindow::FindFocus() == dialog_->Field(page, field);
        });
        now.boxes = prompts_.ShownBoxes().size();
        seen.push_back(now);
    };
    script_ = [&](ModalDialogDriver& d) {
        GoToPage(d, 3);
        d.Retype(dialog_->Field(3, 1003), "12abc");
        pressOk(d, 3, 1003);
        d.Retype(dialog_->Field(3, 1003), "4321");
        GoToPage(d, 1);
        d.Retype(dialog_->Field(1, 1007), "0");
        pressOk(d, 1, 1007);
        d.Retype(dialog_->Field(1, 1007), "100000");
        d.Retype(dialog_->Field(1, 1006), "100000");
        pressOk(d, 1, 1006);
        // Within the cell cap, yet too many rows for the page to give each 0.001 inch.
        d.Retype(dialog_->Field(1, 1007), "10000");
        d.Retype(dialog_->Field(1, 1006), "400");
        pressOk(d, 1, 1007);
        d.Retype(dialog_->Field(1, 1007), "12");
        d.Retype(dialog_->Field(1, 1006), "8");
        d.Click(dialog_->FindWindow(wxID_OK));
    };
    doc_->OnMazeSetup();
    ASSERT_EQ(seen.size(), 4u);
    for (std::size_t i = 0; i < seen.size(); ++i) {
        EXPECT_TRUE(seen[i].open) << i;
        EXPECT_TRUE(seen[i].focused) << i;
        EXPECT_EQ(seen[i].boxes, i + 1) << i;
    }
    const auto& boxes = prompts_.ShownBoxes();
    ASSERT_GE(boxes.size(), 4u);
    EXPECT_EQ(boxes[0].text, "Random Number Seed: Please enter a whole number between "
                             "-2147483648 and 2147483647.");
    EXPECT_EQ(boxes[1].text, "Cells Long: Please enter an integer between 1 and 100000.");
    EXPECT_EQ(boxes[2].text, "Cells Wide: 100000 columns of 100000 rows make 10000000000 "
                             "cells; a maze holds at most 4,000,000 cells.");
    EXPECT_EQ(boxes[3].text.rfind("Cells Long: These settings make a cell smaller than", 0), 0u)
        << boxes[3].text;
    // What was finally typed is what the document took.
    EXPECT_EQ(doc_->Settings().seed, 4321);
    EXPECT_EQ(doc_->Settings().rows, 12);
    EXPECT_EQ(doc_->Settings().columns, 8);
    EXPECT_NE(before.rows, 12);
}

TEST_F(SettingsSheetWindowTest, OkOnAnyPageKeepsTheStoredTileSet) {
    WriteTileSet(dir_ / "Tiler", "Alder");
    for (const auto& [id, index] : {std::pair<std::string, int>{":ID:#206", 5},
                                    std::pair<std::string, int>{" Alder-id", 6}}) {
        doc_->Settings().tiled = 1;
        doc_->Settings().tilerId = id;
        doc_->Settings().name = "kept name";
        script_ = [&](ModalDialogDriver& d) { d.Click(dialog_->FindWindow(wxID_OK)); };
        doc_->OnPageSetup();
        EXPECT_EQ(doc_->Settings().tilerId, id);
        EXPECT_EQ(Profile().GetProfileString("size", "TilerID"), id);
        int shown = -1;
        script_ = [&](ModalDialogDriver& d) {
            d.OnMain(
                [&] { shown = static_cast<wxChoice*>(dialog_->Field(0, 1075))->GetSelection(); });
            d.Click(dialog_->FindWindow(wxID_OK));
        };
        doc_->OnMazeSetup();
        EXPECT_EQ(shown, index) << id;
        EXPECT_EQ(doc_->Settings().tilerId, id);
        EXPECT_EQ(doc_->Settings().name, "kept name");
        EXPECT_EQ(doc_->Settings().tiled, 1);
    }
}

TEST_F(SettingsSheetWindowTest, PenWidthOpensOnAdvancedWithItsRadio) {
    doc_->Settings().penWidth = 25;
    int page = -1;
    bool writable = false, otherChecked = false;
    script_ = [&](ModalDialogDriver& d) {
        page = Selection(d);
        d.OnMain([&] {
            writable = static_cast<wxTextCtrl*>(dialog_->Field(3, 1027))->IsEditable();
            otherChecked = static_cast<wxRadioButton*>(dialog_->Field(3, 1026))->GetValue();
        });
        // Typing elsewhere on the page survives a pen radio.
        d.Retype(dialog_->Field(3, 1003), "777");
        d.Click(dialog_->Field(3, 1025));
        d.Click(dialog_->FindWindow(wxID_OK));
    };
    doc_->OnSetPenWidth();
    EXPECT_EQ(doc_->Settings().seed, 777);
    EXPECT_EQ(page, 3);
    EXPECT_TRUE(writable);
    EXPECT_TRUE(otherChecked);
    EXPECT_EQ(doc_->Settings().penWidth, 10);
}

TEST_F(SettingsSheetWindowTest, SquareTiledShowsTheSetsSampleAndStoresItsId) {
    bool listEnabled = false, wrapsEnabled = false;
    script_ = [&](ModalDialogDriver& d) {
        d.Click(dialog_->Field(0, 1039)); // "CIRCULAR" disables the wraps
        d.OnMain([&] { wrapsEnabled = dialog_->Field(0, 1096)->IsEnabled(); });
        EXPECT_FALSE(wrapsEnabled);
        d.Click(dialog_->Field(0, ControlIds::Style::kTiled));
        d.OnMain([&] {
            listEnabled = dialog_->Field(0, 1075)->IsEnabled();
            wrapsEnabled = dialog_->Field(0, 1096)->IsEnabled();
        });
        d.Screenshot(dialog_, "settings-sheet-style-tiled");
        d.Click(dialog_->FindWindow(wxID_OK));
    };
    doc_->OnMazeSetup();
    EXPECT_TRUE(listEnabled);
    EXPECT_TRUE(wrapsEnabled);
    EXPECT_EQ(doc_->Settings().kind, KIND_BOX);
    EXPECT_EQ(doc_->Settings().tiled, 1);
    EXPECT_EQ(doc_->Settings().tilerId, ":ID:#180");
}

TEST_F(SettingsSheetWindowTest, PlainStylesShowTheirPicturesOnScreen) {
    int hexDiffers = -1, circularDiffers = -1;
    script_ = [&](ModalDialogDriver& d) {
        d.Click(dialog_->Field(0, 1035)); // "Hex"
        const PixelPicture& hex = StylePreviewArt::Get(157);
        hexDiffers =
            Differences(d.Screenshot(dialog_->Field(0, 1036), "settings-style-hex"), 100, 100,
                        [&](int x, int y) { return hex.pixels[y * 100 + x] & 0xFFFFFF; });
        d.Click(dialog_->Field(0, 1039)); // "CIRCULAR"
        const PixelPicture& ring = StylePreviewArt::Get(165);
        circularDiffers =
            Differences(d.Screenshot(dialog_->Field(0, 1036), "settings-style-circular"), 100, 100,
                        [&](int x, int y) { return ring.pixels[y * 100 + x] & 0xFFFFFF; });
        d.Click(dialog_->FindWindow(wxID_CANCEL));
    };
    doc_->OnMazeSetup();
    EXPECT_EQ(hexDiffers, 0);
    EXPECT_EQ(circularDiffers, 0);
}

TEST_F(SettingsSheetWindowTest, ADownloadedSetIsListedChosenAndPreviewed) {
    const std::filesystem::path tiler = dir_ / "Tiler";
    WriteTileSet(tiler, "Alder");
    unsigned firstCount = 0;
    script_ = [&](ModalDialogDriver& d) {
        d.OnMain([&] { firstCount = static_cast<wxChoice*>(dialog_->Field(0, 1075))->GetCount(); });
        d.Click(dialog_->FindWindow(wxID_CANCEL));
    };
    doc_->OnMazeSetup();
    EXPECT_EQ(firstCount, 7u);

    // The information pane saves a set and marks the list stale; the next showing lists it.
    WriteTileSet(tiler, "Birch");
    sets_.MarkStale();
    CBMPTiler birch;
    ASSERT_TRUE(birch.LoadFromFile((tiler / "Birch.tle").string(), tiler.string() + "/"));
    CRaster expected;
    birch.RenderPreview(expected, 100, 100);
    ASSERT_EQ(expected.GetWidth(), 100u);
    unsigned count = 0;
    int chosen = -1, previewDiffers = -1;
    wxString shown;
    script_ = [&](ModalDialogDriver& d) {
        d.Click(dialog_->Field(0, ControlIds::Style::kTiled));
        // Open the list and walk down to its last entry with the keys.
        d.Click(dialog_->Field(0, 1075));
        d.OnMain([&] { count = static_cast<wxChoice*>(dialog_->Field(0, 1075))->GetCount(); });
        for (unsigned i = 1; i < count; ++i)
            d.Key("Down");
        d.Key("Return");
        d.OnMain([&] {
            auto* list = static_cast<wxChoice*>(dialog_->Field(0, 1075));
            chosen = list->GetSelection();
            shown = list->GetStringSelection();
        });
        previewDiffers = Differences(
            d.Screenshot(dialog_->Field(0, 1036), "settings-style-tile-set"), 100, 100,
            [&](int x, int y) {
                const RGBQUAD c = expected.GetPixelColor(x, 99 - y, false);
                return std::uint32_t(c.rgbRed) << 16 | std::uint32_t(c.rgbGreen) << 8 | c.rgbBlue;
            });
        d.Click(dialog_->FindWindow(wxID_OK));
    };
    doc_->OnMazeSetup();
    EXPECT_EQ(count, 8u);
    EXPECT_EQ(chosen, 7);
    EXPECT_EQ(shown, " Birch");
    EXPECT_EQ(previewDiffers, 0);
    EXPECT_EQ(doc_->Settings().tiled, 1);
    EXPECT_EQ(doc_->Settings().tilerId, " Birch-id"); // values keep their leading space
}

// A set asking for tiles of 100000 pixels over a large sheet, and one naming its sheet on
// 1,661 lines, are listed from their text alone: opening the sheet reads no picture.
TEST_F(SettingsSheetWindowTest, HostileSetsAreListedWithoutReadingTheirSheets) {
    const std::filesystem::path tiler = dir_ / "Tiler";
    WriteTileSet(tiler, "Alder");
    CRaster big(3000, 3000, 8);
    big.SetGrayPalette();
    ASSERT_TRUE(big.Save((tiler / "big.png").string(), CRaster::kTypePng));
    std::string huge = "NAME: Huge\r\nBMPFILE: big.png\r\nPIXELSWIDE: 100000\r\n"
                       "PIXELSHIGH: 100000\r\n";
    for (int i = 0; i < 40; ++i)
        huge += "TILE: N,1,1\r\n";
    std::ofstream(tiler / "Huge.tle", std::ios::binary) << huge;
    std::string many = "NAME: Many\r\nPIXELSWIDE: 10\r\nPIXELSHIGH: 10\r\n";
    for (int i = 0; i < 1661; ++i)
        many += "BMPFILE: big.png\r\n";
    std::ofstream(tiler / "Many.tle", std::ios::binary) << many;

    struct CountingBusy : IBusyIndicator {
        void Begin() override { ++begun; }
        void End() override {}
        std::atomic<int> begun{0};
    } busy;
    IBusyIndicator::Installation installed(busy);
    unsigned count = 0;
    int readWhileListing = -1;
    script_ = [&](ModalDialogDriver& d) {
        d.OnMain([&] {
            count = static_cast<wxChoice*>(dialog_->Field(0, 1075))->GetCount();
            readWhileListing = busy.begun;
        });
        d.Click(dialog_->FindWindow(wxID_CANCEL));
    };
    doc_->OnMazeSetup();
    EXPECT_EQ(count, 9u); // six built in, three in the folder
    EXPECT_EQ(readWhileListing, 0);
}

TEST_F(SettingsSheetWindowTest, CancelKeepsEverySettingAndTheGrid) {
    const MazeSettings before = doc_->Settings();
    const int width = doc_->GetGrid(0)->Width();
    script_ = [&](ModalDialogDriver& d) {
        d.Click(dialog_->Field(0, 1035)); // "Hex"
        d.Click(dialog_->Field(0, 1096)); // wrap horizontally
        GoToPage(d, 1);
        d.Retype(dialog_->Field(1, 1006), "44");
        GoToPage(d, 3);
        d.Retype(dialog_->Field(3, 1003), "1234");
        d.Click(dialog_->Field(3, 1024)); // "Thinnest!"
        d.Click(dialog_->FindWindow(wxID_CANCEL));
    };
    doc_->OnMazeSetup();
    EXPECT_TRUE(prompts_.ShownBoxes().empty());
    const MazeSettings& after = doc_->Settings();
    EXPECT_EQ(after.kind, before.kind);
    EXPECT_EQ(after.wrapHorizontally, before.wrapHorizontally);
    EXPECT_EQ(after.columns, before.columns);
    EXPECT_EQ(after.seed, before.seed);
    EXPECT_EQ(after.penWidth, before.penWidth);
    EXPECT_EQ(doc_->Pages().style.kind, before.kind);
    EXPECT_EQ(doc_->GetGrid(0)->Width(), width);
}

// Page Setup states the range of each size and margin, names the field, focuses it and keeps
// the sheet open; what is finally typed is what the document takes.
TEST_F(SettingsSheetWindowTest, PageSetupRefusesSizesAndMarginsOutOfRange) {
    std::vector<std::pair<bool, bool>> seen; // open, focused
    int firstPage = -1;
    const auto pressOk = [&](ModalDialogDriver& d, int field) {
        d.Click(dialog_->FindWindow(wxID_OK));
        bool open = false, focused = false;
        d.OnMain([&] {
            open = dialog_->IsShown() && dialog_->IsModal();
            focused = wxWindow::FindFocus() == dialog_->Field(2, field);
        });
        seen.emplace_back(open, focused);
    };
    script_ = [&](ModalDialogDriver& d) {
        firstPage = Selection(d);
        d.Retype(dialog_->Field(2, 1005), "99999999999");
        pressOk(d, 1005);
        d.Retype(dialog_->Field(2, 1005), "11");
        d.Retype(dialog_->Field(2, 1004), "0");
        pressOk(d, 1004);
        d.Retype(dialog_->Field(2, 1004), "8.5");
        // A leading blank: xdotool would take "-1" for an option of its own.
        d.Retype(dialog_->Field(2, 1006), " -1");
        pressOk(d, 1006);
        d.Retype(dialog_->Field(2, 1006), "0.25");
        d.Retype(dialog_->Field(2, 1007), "99999999999");
        pressOk(d, 1007);
        d.Retype(dialog_->Field(2, 1007), "0.5");
        d.Click(dialog_->FindWindow(wxID_OK));
    };
    doc_->OnPageSetup();
    EXPECT_EQ(firstPage, 2);
    ASSERT_EQ(seen.size(), 4u);
    for (std::size_t i = 0; i < seen.size(); ++i) {
        EXPECT_TRUE(seen[i].first) << i;
        EXPECT_TRUE(seen[i].second) << i;
    }
    const auto& boxes = prompts_.ShownBoxes();
    ASSERT_GE(boxes.size(), 4u);
    EXPECT_EQ(boxes[0].text, "Maze Height: Please enter a number between 0.252 and 10000.");
    EXPECT_EQ(boxes[1].text, "Maze Width: Please enter a number between 0.002 and 10000.");
    EXPECT_EQ(boxes[2].text, "Left Margin: Please enter a number between 0 and 10000.");
    EXPECT_EQ(boxes[3].text, "Top Margin: Please enter a number between 0 and 10000.");
    EXPECT_EQ(doc_->Settings().pageHeight, 10999);
    EXPECT_EQ(doc_->Settings().pageWidth, 8499);
    EXPECT_EQ(doc_->Settings().xOffset, 250);
    EXPECT_EQ(doc_->Settings().yOffset, 500);
}

// OK on an untouched Page Setup changes no setting and rebuilds nothing, even for counts the
// Dimensions fields could not show (a circular maze's ring count over their range).
TEST_F(SettingsSheetWindowTest, PageSetupUntouchedRebuildsNothing) {
    NewDoc(KIND_CIRCULAR, 10, 10);
    doc_->SetSettingsSheet(&sheet_);
    ASSERT_GT(doc_->GridCount(), 0);
    doc_->Settings().rows = 150000;
    const MazeSettings before = doc_->Settings();
    const Object* grid = doc_->GetGrid(0);
    std::string pageHeight;
    script_ = [&](ModalDialogDriver& d) {
        d.OnMain([&] {
            pageHeight =
                static_cast<wxTextCtrl*>(dialog_->Field(2, 1005))->GetValue().utf8_string();
        });
        d.Click(dialog_->FindWindow(wxID_OK));
    };
    doc_->OnPageSetup();
    EXPECT_EQ(pageHeight, "9.5");
    for (const auto& box : prompts_.ShownBoxes())
        ADD_FAILURE() << box.text;
    EXPECT_EQ(doc_->GetGrid(0), grid);
    EXPECT_EQ(doc_->Settings().rows, before.rows);
    EXPECT_EQ(doc_->Settings().pageHeight, before.pageHeight);
    EXPECT_EQ(doc_->Settings().pageWidth, before.pageWidth);
}
