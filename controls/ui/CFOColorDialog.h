#pragma once
#include "controls/ColorDialogLogic.h"

#include <wx/dialog.h>

#include <functional>

class CFODropPaletteWnd;
class ColorSwatchWindow;
class CustomStaticWindow;
class CFOHyperLinkWnd;
class wxTextCtrl;

// The "More Colors" dialog: the colour wheel, the New/Current swatch, the colour as
// "r,g,b" and as hexadecimal, an eyedropper that takes any pixel of the screen, "Custom..."
// for the desktop's colour dialog, and a link to the program's pages.
class CFOColorDialog : public wxDialog, public IColorDialogView {
public:
    // Reads the screen's colour at a screen point; false where the screen cannot be read.
    using ScreenReader = std::function<bool(wxPoint, COLORREF&)>;

    explicit CFOColorDialog(wxWindow* parent);

    void SetColor(COLORREF color) { start_ = color; }
    // The chosen colour after OK.
    COLORREF GetColor() const { return logic_.GetColor(); }
    // On displays of fewer than 8 bits per pixel only the desktop's colour dialog shows.
    int ShowModal() override;
    // Realises a palette on palette displays; there are none to serve.
    virtual void SetupPalette(bool realise);

    void SetSystemDialog(ColorDialogLogic::SystemDialog dialog) { system_ = std::move(dialog); }
    void SetScreenReader(ScreenReader reader) { reader_ = std::move(reader); }
    ColorDialogLogic& Logic() { return logic_; }
    CFODropPaletteWnd& Wheel() { return *wheel_; }
    wxWindow& Eyedropper();
    wxTextCtrl& RgbReadout() { return *rgb_; }
    wxTextCtrl& HexReadout() { return *hex_; }
    wxWindow& CustomButton() { return *custom_; }
    CFOHyperLinkWnd& Link() { return *link_; }

    void ShowNewColor(COLORREF color) override;
    void ShowWheelColor(COLORREF color) override;
    void ShowReadouts(const std::string& rgb, const std::string& hex) override;
    void SetPicking(bool picking) override;

    // The desktop's colour dialog, full, started with `color`.
    static bool RunSystemDialog(wxWindow* parent, COLORREF& color);
    // One pixel of the screen (X11); false on desktops that hide it.
    static bool ReadScreen(wxPoint at, COLORREF& color);

private:
    void Build();
    void OnInit(wxInitDialogEvent& event);
    void OnCharHook(wxKeyEvent& event);
    void OnSysColourChanged(wxSysColourChangedEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);
    void OnCustomButton(wxCommandEvent& event);

    ColorDialogLogic::SystemDialog system_;
    ScreenReader reader_;
    ColorDialogLogic logic_;
    COLORREF start_ = RGB(255, 255, 255);
    CFODropPaletteWnd* wheel_ = nullptr;
    ColorSwatchWindow* swatch_ = nullptr;
    wxTextCtrl* rgb_ = nullptr;
    wxTextCtrl* hex_ = nullptr;
    CustomStaticWindow* eyedropper_ = nullptr;
    CFOHyperLinkWnd* link_ = nullptr;
    wxWindow* custom_ = nullptr;
};
