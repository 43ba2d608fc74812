#include "dialogs/ui/SettingsSheet.h"
#include "dialogs/ui/SettingsSheetDialog.h"
#include "maze/TemplateKind.h"
#include "tests/support/DocTestSupport.h"
#include "tests/ui/ModalDialogDriver.h"
#include "view/tiler/TileSetCatalogue.h"

#include <wx/bookctrl.h>
#include <wx/notebook.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>

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
    bool openAfterOk = false;
    int pageAfterLeaving = -1;
    script_ = [&](ModalDialogDriver& d) {
        GoToPage(d, 1);
        d.Retype(dialog_->Field(1, 1007), "100001");
        d.Click(dialog_->FindWindow(wxID_OK));
        d.OnMain([&] { openAfterOk = dialog_->IsShown() && dialog_->IsModal(); });
        GoToPage(d, 3);
        pageAfterLeaving = Selection(d);
        d.Click(dialog_->FindWindow(wxID_CANCEL));
    };
    doc_->OnMazeSetup();
    EXPECT_TRUE(openAfterOk);
    EXPECT_EQ(pageAfterLeaving, 1);
    ASSERT_GE(prompts_.ShownBoxes().size(), 2u);
    EXPECT_EQ(prompts_.ShownBoxes()[0].text, "Please enter an integer between 0 and 100000.");
    EXPECT_EQ(doc_->Settings().rows, before.rows);
    EXPECT_EQ(doc_->Pages().dimensions.cellsLong, before.rows);
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
        d.Click(dialog_->Field(3, 1025));
        d.Click(dialog_->FindWindow(wxID_OK));
    };
    doc_->OnSetPenWidth();
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
        d.Click(dialog_->Field(0, StylePage::kTiledRadio));
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
