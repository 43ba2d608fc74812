#include "controls/ui/CFOColorDialog.h"

#include "controls/CFOGlobalData.h"
#include "controls/CFOImageStatic.h"
#include "controls/EyedropperPicture.h"
#include "controls/PickerMessages.h"
#include "controls/ui/CFODropPaletteWnd.h"
#include "controls/ui/CFOHyperLinkWnd.h"
#include "controls/ui/ColorSwatchWindow.h"
#include "controls/ui/CustomStaticWindow.h"
#include "net/WebEndpoint.h"
#include "platform/CProfile.h"
#include "platform/wx/WxScreenMetrics.h"
#include "platform/wx/WxScreenPixel.h"

#include <wx/button.h>
#include <wx/colordlg.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {

// The program's page about colours, below its web host.
constexpr const char* kLinkPage = "colours.html";

// Control ids of the dialog's template, moved below the toolkit's id limit.
enum : int {
    kWheelId = 4232,
    kRgbId = 32833 - 30000,
    kCustomId = 32834 - 30000,
    kSwatchId = 32835 - 30000,
    kEyedropperId = 32836 - 30000,
    kHexId = 32837 - 30000,
};

} // namespace

CFOColorDialog::CFOColorDialog(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, "More Colors"), reader_(&CFOColorDialog::ReadScreen),
      logic_(*this, [this](COLORREF& color) {
          return system_ ? system_(color) : RunSystemDialog(IsShown() ? this : GetParent(), color);
      }) {
    Build();
    Bind(wxEVT_INIT_DIALOG, &CFOColorDialog::OnInit, this);
    Bind(wxEVT_CHAR_HOOK, &CFOColorDialog::OnCharHook, this);
    Bind(wxEVT_SYS_COLOUR_CHANGED, &CFOColorDialog::OnSysColourChanged, this);
    Bind(wxEVT_MOTION, &CFOColorDialog::OnMotion, this);
    Bind(wxEVT_LEFT_UP, &CFOColorDialog::OnLeftUp, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &CFOColorDialog::OnCaptureLost, this);
    Bind(wxEVT_BUTTON, &CFOColorDialog::OnCustomButton, this, kCustomId);
}

void CFOColorDialog::Build() {
    // The wheel takes a 214 x 230 client so that its outer ring is not cut off.
    wheel_ =
        new CFODropPaletteWnd(this, kWheelId, wxRect(8, 8, 214, 230), RGB(255, 255, 255), false);
    wheel_->Control().SetBorderStyle(14);
    wheel_->Control().SetCustomEntry(false);
    wheel_->Control().RecalcLayout();
    wheel_->SetOwner([this](UINT message, WPARAM wParam, LPARAM) {
        if (message == WM_FO_SELECTCOLOR)
            logic_.OnWheelColor(wParam);
        else if (message == WM_FO_CUSTOMCOLOR)
            logic_.OnCustom(wheel_->Control().GetCurrentColor());
    });
    const int x = 232;
    new wxStaticText(this, wxID_ANY, "&New:", wxPoint(x, 12));
    new wxStaticText(this, wxID_ANY, "C&urrent:", wxPoint(x, 52));
    swatch_ = new ColorSwatchWindow(this, kSwatchId, wxPoint(x + 60, 8), wxSize(70, 70));
    new wxStaticText(this, wxID_ANY, "RGB:", wxPoint(x, 94));
    rgb_ = new wxTextCtrl(this, kRgbId, "", wxPoint(x + 40, 90), wxSize(90, -1), wxTE_READONLY);
    new wxStaticText(this, wxID_ANY, "&Hex:", wxPoint(x, 128));
    hex_ = new wxTextCtrl(this, kHexId, "", wxPoint(x + 40, 124), wxSize(90, -1), wxTE_READONLY);
    auto image = std::make_unique<CFOImageStatic>();
    CFOImageStatic& dropper = *image;
    eyedropper_ = new CustomStaticWindow(this, kEyedropperId, "Select...", wxPoint(x, 160),
                                         wxSize(100, 30), std::move(image));
    dropper.AddBitmap(&EyedropperPicture::Get(), -1, RGB(255, 255, 255));
    // A press soon after the last one arrives as a double click; it picks all the same.
    for (const auto type : {wxEVT_LEFT_DOWN, wxEVT_LEFT_DCLICK})
        eyedropper_->Bind(type, [this](wxMouseEvent&) { logic_.BeginPicking(); });
    custom_ = new wxButton(this, kCustomId, "&Custom...", wxPoint(x, 200), wxSize(100, -1));
    link_ =
        new CFOHyperLinkWnd(this, wxID_ANY, "Orlimber on the web", wxPoint(8, 246), wxSize(214, 20),
                            0, WebEndpoint(CProfile::App()).Base() + kLinkPage);
    new wxButton(this, wxID_OK, "&OK", wxPoint(x, 240), wxSize(70, -1));
    new wxButton(this, wxID_CANCEL, "&Cancel", wxPoint(x + 76, 240), wxSize(70, -1));
    SetClientSize(wxSize(x + 156, 280));
}

wxWindow& CFOColorDialog::Eyedropper() {
    return *eyedropper_;
}

void CFOColorDialog::OnInit(wxInitDialogEvent& event) {
    swatch_->Swatch().SetSecondColor(start_);
    logic_.Start(start_);
    event.Skip();
}

int CFOColorDialog::ShowModal() {
    WxRecordScreenMetrics();
    CFOGlobalData::Get().UpdateSysColors();
    if (CFOGlobalData::Get().bitsPerPixel < 8) {
        logic_.Start(start_);
        return logic_.RunInstead() ? wxID_OK : wxID_CANCEL;
    }
    return wxDialog::ShowModal();
}

void CFOColorDialog::SetupPalette(bool) {
    // Nothing to do: no display the program runs on maps colours through a palette.
}

void CFOColorDialog::OnSysColourChanged(wxSysColourChangedEvent& event) {
    event.Skip();
    WxRecordScreenMetrics();
    CFOGlobalData::Get().UpdateSysColors();
    if (CFOGlobalData::Get().bitsPerPixel >= 8) {
        SetupPalette(true);
        Refresh(true);
        Update();
        return;
    }
    // The display lost its colours while the dialog showed: the desktop's dialog takes over.
    Hide();
    const int result = logic_.RunInstead() ? wxID_OK : wxID_CANCEL;
    if (IsModal())
        EndModal(result);
    else
        SetReturnCode(result);
}

void CFOColorDialog::ShowNewColor(COLORREF color) {
    if (swatch_)
        swatch_->SetColor(color);
}

void CFOColorDialog::ShowWheelColor(COLORREF color) {
    if (!wheel_)
        return;
    wheel_->Control().SetCurrentColor(color);
    wheel_->Refresh(false);
}

void CFOColorDialog::ShowReadouts(const std::string& rgb, const std::string& hex) {
    if (rgb_)
        rgb_->ChangeValue(rgb);
    if (hex_)
        hex_->ChangeValue(hex);
}

void CFOColorDialog::SetPicking(bool picking) {
    if (picking) {
        if (!HasCapture())
            CaptureMouse();
        SetCursor(wxCursor(wxCURSOR_CROSS));
    } else {
        if (HasCapture())
            ReleaseMouse();
        SetCursor(wxCursor(wxCURSOR_ARROW));
    }
}

void CFOColorDialog::OnCharHook(wxKeyEvent& event) {
    if (event.GetKeyCode() == WXK_ESCAPE && logic_.ConsumeEscape())
        return;
    if (event.GetKeyCode() == WXK_TAB && event.ShiftDown()) {
        wheel_->SetFocus();
        return;
    }
    event.Skip();
}

void CFOColorDialog::OnMotion(wxMouseEvent& event) {
    if (logic_.IsPicking() && reader_) {
        COLORREF color = 0;
        const bool read = reader_(ClientToScreen(event.GetPosition()), color);
        logic_.OnPickedColor(read, color);
    }
    event.Skip();
}

void CFOColorDialog::OnLeftUp(wxMouseEvent& event) {
    logic_.EndPicking();
    event.Skip();
}

void CFOColorDialog::OnCaptureLost(wxMouseCaptureLostEvent&) {
    logic_.EndPicking();
}

void CFOColorDialog::OnCustomButton(wxCommandEvent&) {
    logic_.OnCustom(logic_.GetColor());
}

bool CFOColorDialog::RunSystemDialog(wxWindow* parent, COLORREF& color) {
    wxColourData data;
    data.SetChooseFull(true);
    data.SetColour(wxColour(GetRValue(color), GetGValue(color), GetBValue(color)));
    wxColourDialog dialog(parent, &data);
    if (dialog.ShowModal() != wxID_OK)
        return false;
    const wxColour chosen = dialog.GetColourData().GetColour();
    color = RGB(chosen.Red(), chosen.Green(), chosen.Blue());
    return true;
}

bool CFOColorDialog::ReadScreen(wxPoint at, COLORREF& color) {
    return WxReadScreenPixel(at.x, at.y, color);
}
