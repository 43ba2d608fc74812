#pragma once
#include "platform/WinTypes.h"

#include <functional>
#include <string>

// What the More Colors dialog shows its colour with.
class IColorDialogView {
public:
    virtual ~IColorDialogView() = default;
    virtual void ShowNewColor(COLORREF color) = 0;   // the upper half of the swatch
    virtual void ShowWheelColor(COLORREF color) = 0; // the wheel's current colour
    virtual void ShowReadouts(const std::string& rgb, const std::string& hex) = 0;
    virtual void SetPicking(bool picking) = 0; // capture and eyedropper cursor
};

// The state of the More Colors dialog: its colour, the read-outs, and picking a colour off
// the screen with the eyedropper.
class ColorDialogLogic {
public:
    // The desktop's colour dialog started with a colour; true and its choice on OK.
    using SystemDialog = std::function<bool(COLORREF&)>;

    ColorDialogLogic(IColorDialogView& view, SystemDialog systemDialog);

    // The dialog opens showing `color` (also as the current, lower half of the swatch).
    void Start(COLORREF color);
    COLORREF GetColor() const { return color_; }

    void OnWheelColor(COLORREF color);
    // "Custom..." of the wheel (started with the wheel's colour) or the dialog's button.
    void OnCustom(COLORREF start);
    // Stands in for the whole dialog on displays of fewer than 8 bits per pixel: the desktop's
    // dialog runs on the colour, which then holds its choice or, cancelled, stays. True on OK.
    bool RunInstead();
    void BeginPicking();
    // The colour under the pointer while picking; a failed read keeps the last colour.
    void OnPickedColor(bool read, COLORREF color);
    void EndPicking();
    bool IsPicking() const { return picking_; }
    // Escape: ends picking and keeps the dialog open (true), else lets it close (false).
    bool ConsumeEscape();

    static std::string RgbText(COLORREF color);
    static std::string HexText(COLORREF color);

private:
    void Show(COLORREF color, bool moveWheel);

    IColorDialogView& view_;
    SystemDialog systemDialog_;
    COLORREF color_ = RGB(255, 255, 255);
    bool picking_ = false;
};
