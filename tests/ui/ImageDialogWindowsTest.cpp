#include "dialogs/BitmapSetup.h"
#include "dialogs/CImageFilter.h"
#include "dialogs/CImageSettingsDialog.h"
#include "dialogs/ui/BitmapSetupWindow.h"
#include "dialogs/ui/ImageFilterWindow.h"
#include "dialogs/ui/ImageSettingsWindow.h"
#include "platform/MessageBox.h"
#include "tests/ui/ModalDialogDriver.h"

#include <gtest/gtest.h>

#include <wx/notebook.h>
#include <wx/slider.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {

// Diagonal stripes of colour with a few lone white pixels, so that every filter leaves a mark.
CRaster Stripes(DWORD width, DWORD height) {
    CRaster img(width, height, 24);
    for (LONG y = 0; y < LONG(height); ++y)
        for (LONG x = 0; x < LONG(width); ++x) {
            const bool band = ((x + y) / 12) % 2 == 0;
            img.SetPixelColor(x, y,
                              band ? RGBQUAD::FromRgb(200, 40, 40) : RGBQUAD::FromRgb(30, 60, 180));
            if (x % 17 == 3 && y % 13 == 5)
                img.SetPixelColor(x, y, RGBQUAD::FromRgb(255, 255, 255));
        }
    return img;
}

int Differences(const wxImage& a, const wxImage& b) {
    if (a.GetSize() != b.GetSize())
        return a.GetWidth() * a.GetHeight();
    int n = 0;
    const unsigned char* p = a.GetData();
    const unsigned char* q = b.GetData();
    for (long i = 0; i < long{a.GetWidth()} * a.GetHeight() * 3; ++i)
        n += p[i] != q[i];
    return n;
}

template <class T> T* Control(wxWindow& dialog, int id) {
    T* control = dynamic_cast<T*>(dialog.FindWindow(id));
    EXPECT_NE(control, nullptr) << id;
    return control;
}

// The centre of tab `index` of a notebook, found by hit testing along its top.
wxPoint TabCentre(wxNotebook* book, int index) {
    int first = -1, last = -1, y = -1;
    for (int row = 2; row < 40 && first < 0; row += 2)
        for (int x = 0; x < book->GetSize().x; ++x)
            if (book->HitTest(wxPoint(x, row)) == index) {
                if (first < 0)
                    first = x, y = row;
                last = x;
            }
    return first < 0 ? wxPoint(-1, -1) : wxPoint((first + last) / 2, y + 6);
}

class ImageDialogWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!ModalDialogDriver::HaveXdotool())
            GTEST_SKIP() << "xdotool missing";
    }

    ScriptedMessageBox messages_;
    IMessageBox::Installation installation_{messages_};
    ModalDialogDriver driver_;
};

} // namespace

TEST_F(ImageDialogWindowsTest, BitmapSetupRefusesABadSizeAndStaysOpen) {
    BitmapSetup values;
    values.x = 1024;
    values.y = 768;
    values.numberOfMazes = 1;
    values.countReadOnly = 1;
    BitmapSetupWindow dialog(nullptr, values);
    auto* x = Control<wxTextCtrl>(dialog, BitmapSetup::kXId);
    auto* y = Control<wxTextCtrl>(dialog, BitmapSetup::kYId);
    auto* count = Control<wxTextCtrl>(dialog, BitmapSetup::kCountId);
    auto* ok = dialog.FindWindow(wxID_OK);
    bool openAfterRefusal = false;
    const int result = driver_.Run(dialog, [&](ModalDialogDriver& d) {
        d.Retype(x, "0");
        d.Click(ok);
        d.OnMain([&] { openAfterRefusal = dialog.IsShown() && dialog.IsModal(); });
        d.Retype(x, "800");
        d.Retype(y, "16385");
        d.Click(ok);
        d.Retype(y, "600");
        d.Retype(count, "42"); // read-only: typing changes nothing
        d.Screenshot(&dialog, "bitmap-setup");
        d.Click(ok);
    });
    EXPECT_EQ(result, wxID_OK);
    EXPECT_TRUE(openAfterRefusal);
    ASSERT_EQ(messages_.ShownBoxes().size(), 2u);
    EXPECT_EQ(messages_.ShownBoxes()[0].text, "Please enter an integer between 1 and 16384.");
    EXPECT_EQ(values.x, 800);
    EXPECT_EQ(values.y, 600);
    EXPECT_EQ(values.numberOfMazes, 1);
}

TEST_F(ImageDialogWindowsTest, PreviewShowsEachPagesFilter) {
    CImageFilter values;
    values.input = Stripes(360, 440);
    ImageFilterWindow dialog(nullptr, values);
    auto* book = Control<wxNotebook>(dialog, ImageFilterWindow::kPagesId);
    auto* output = dialog.FindWindow(CImageFilter::kOutputPreviewId);
    auto* preview = dialog.FindWindow(CImageFilter::kPreviewId);
    auto* kernel = Control<wxTextCtrl>(dialog, CDFilterMedian::kKernelSizeId);
    wxImage shots[5];
    int pages[3] = {-1, -1, -1};
    const int result = driver_.Run(dialog, [&](ModalDialogDriver& d) {
        shots[0] = d.Screenshot(output, "filter-chain");
        d.Retype(kernel, "0");
        d.Click(preview); // refused: the output stays as it was
        shots[1] = d.Screenshot(output, "filter-refused");
        d.Retype(kernel, "5");
        d.Click(preview);
        d.OnMain([&] { pages[0] = values.tabs.Current(); });
        shots[2] = d.Screenshot(output, "filter-median");
        for (int page = 1; page <= 2; ++page) {
            wxPoint tab;
            d.OnMain([&] { tab = TabCentre(book, page); });
            if (tab.x < 0) {
                d.Click(book);
                d.Key("ctrl+Page_Down");
            } else {
                d.ClickAt(book, tab);
            }
            d.OnMain([&] { pages[page] = values.tabs.Current(); });
            d.Click(preview);
            shots[2 + page] = d.Screenshot(output, page == 1 ? "filter-contour" : "filter-jitter");
        }
        d.Screenshot(&dialog, "filter-dialog");
        d.Click(dialog.FindWindow(wxID_OK));
    });
    EXPECT_EQ(result, wxID_OK);
    EXPECT_EQ(pages[0], CFilterTabCtrl::kMedian);
    EXPECT_EQ(pages[1], CFilterTabCtrl::kContour);
    EXPECT_EQ(pages[2], CFilterTabCtrl::kCircleTransform);
    ASSERT_EQ(messages_.ShownBoxes().size(), 1u);
    EXPECT_EQ(messages_.ShownBoxes()[0].text, "Please enter an integer between 1 and 255.");
    EXPECT_EQ(values.tabs.Median().kernelSize, 5);
    EXPECT_EQ(Differences(shots[0], shots[1]), 0);
    for (int i = 2; i < 5; ++i)
        EXPECT_GT(Differences(shots[i - 1], shots[i]), 1000) << i;
}

TEST_F(ImageDialogWindowsTest, SliderSetsTheOpacityAndThePreviewFollows) {
    CImageSettingsDialog values;
    values.picture = Stripes(100, 80);
    values.opacity = 128;
    ImageSettingsWindow dialog(nullptr, values);
    auto* slider = Control<wxSlider>(dialog, CImageSettingsDialog::kSliderId);
    auto* percent = Control<wxStaticText>(dialog, CImageSettingsDialog::kPercentId);
    auto* preview = dialog.FindWindow(CImageSettingsDialog::kPreviewId);
    wxString labels[2];
    wxImage shots[3];
    const int result = driver_.Run(dialog, [&](ModalDialogDriver& d) {
        shots[0] = d.Screenshot(preview, "opacity-half");
        d.Click(slider);
        d.Key("End");
        d.OnMain([&] { labels[0] = percent->GetLabel(); });
        shots[1] = d.Screenshot(preview, "opacity-full");
        d.Key("Home");
        d.OnMain([&] { labels[1] = percent->GetLabel(); });
        shots[2] = d.Screenshot(preview, "opacity-none");
        d.Screenshot(&dialog, "image-settings");
        d.Click(dialog.FindWindow(wxID_OK));
    });
    EXPECT_EQ(result, wxID_OK);
    EXPECT_EQ(labels[0], "100%");
    EXPECT_EQ(labels[1], "0%");
    EXPECT_EQ(values.opacity, 0);
    EXPECT_GT(Differences(shots[0], shots[1]), 1000);
    EXPECT_GT(Differences(shots[1], shots[2]), 1000);
    EXPECT_EQ(Control<wxStaticText>(dialog, CImageSettingsDialog::kWideId)->GetLabel(),
              "WIDE:  100 Pixels");
}
