#include "controls/ColorDialogLogic.h"

#include <cstdio>

ColorDialogLogic::ColorDialogLogic(IColorDialogView& view, SystemDialog systemDialog)
    : view_(view), systemDialog_(std::move(systemDialog)) {}

void ColorDialogLogic::Start(COLORREF color) {
    Show(color, true);
}

void ColorDialogLogic::Show(COLORREF color, bool moveWheel) {
    color_ = color;
    view_.ShowNewColor(color);
    if (moveWheel)
        view_.ShowWheelColor(color);
    view_.ShowReadouts(RgbText(color), HexText(color));
}

void ColorDialogLogic::OnWheelColor(COLORREF color) {
    Show(color, false);
}

void ColorDialogLogic::OnCustom(COLORREF start) {
    COLORREF chosen = start;
    if (systemDialog_ && systemDialog_(chosen))
        Show(chosen, true);
}

bool ColorDialogLogic::RunInstead() {
    COLORREF chosen = color_;
    const bool ok = systemDialog_ && systemDialog_(chosen);
    Show(ok ? chosen : color_, true);
    return ok;
}

void ColorDialogLogic::BeginPicking() {
    if (picking_)
        return;
    picking_ = true;
    view_.SetPicking(true);
}

void ColorDialogLogic::OnPickedColor(bool read, COLORREF color) {
    if (picking_ && read)
        Show(color, true);
}

void ColorDialogLogic::EndPicking() {
    if (!picking_)
        return;
    picking_ = false;
    view_.SetPicking(false);
}

bool ColorDialogLogic::ConsumeEscape() {
    if (!picking_)
        return false;
    EndPicking();
    return true;
}

std::string ColorDialogLogic::RgbText(COLORREF color) {
    char text[16];
    std::snprintf(text, sizeof text, "%u,%u,%u", GetRValue(color), GetGValue(color),
                  GetBValue(color));
    return text;
}

std::string ColorDialogLogic::HexText(COLORREF color) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X%02X", GetRValue(color), GetGValue(color),
                  GetBValue(color));
    return text;
}
