#include "controls/PickerModel.h"

#include "controls/CFOGlobalData.h"
#include "controls/IPickerHost.h"
#include "platform/CDC.h"
#include "platform/CWaitCursor.h"

#include <filesystem>
#include <fstream>

PickerModel::PickerModel(int margin, bool hasCustomEntry)
    : hasCustom_(hasCustomEntry), margin_(margin) {
    CFont* stock = CFont::Stock(DEFAULT_GUI_FONT);
    if (!stock)
        stock = CFont::Stock(ANSI_VAR_FONT);
    if (stock)
        font_.CreateFontIndirect(&stock->Log());
}

bool PickerModel::SaveToFile(const std::string& path) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file)
        return false;
    CWaitCursor busy;
    file.flush();
    return static_cast<bool>(file);
}

bool PickerModel::LoadFromFile(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        return false;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    CWaitCursor busy;
    return true;
}

void PickerModel::Attach(IPickerHost* host, const CRect& client, bool popup) {
    host_ = host;
    clientRect_ = client;
    popup_ = popup;
}

void PickerModel::Post(UINT message, WPARAM wParam, LPARAM lParam) const {
    if (host_)
        host_->Post(message, wParam, lParam);
}

void PickerModel::HideHost() const {
    if (host_)
        host_->Hide();
}

int PickerModel::GridStep(int from, UINT key, int columns, int rows, int count) {
    const int c = from % columns, w = from / columns;
    switch (key) {
    case VK_LEFT:
        return from == 0 ? 0 : from - 1;
    case VK_RIGHT:
        return from == count - 1 ? 0 : from + 1;
    case VK_UP:
        return (w == 0 ? rows - 1 : w - 1) * columns + c;
    default: // VK_DOWN
        return (w == rows - 1 ? 0 : w + 1) * columns + c;
    }
}

void PickerModel::Notify(UINT message, WPARAM value, LPARAM lParam) const {
    Post(message, value, lParam);
    if (hasCustom_)
        InvalidateAround(savedCustomRect_);
    if (popup_)
        HideHost();
}

void PickerModel::NotifyCustom(UINT message, WPARAM value) const {
    Post(message, value, 0);
    if (popup_)
        HideHost();
}

CRect PickerModel::LayoutGridArea(bool withSeparator, int gap) {
    CRect r = clientRect_;
    r.left += margin_;
    r.right -= margin_;
    r.bottom -= margin_;
    r.top += 4;
    LayoutCustomStrip(r, withSeparator, gap);
    if (popup_)
        r.top += 10;
    return r;
}

CRect PickerModel::CaptionBarRect() const {
    return {clientRect_.left + margin_, clientRect_.top + 4, clientRect_.right - margin_,
            clientRect_.top + 10};
}

void PickerModel::InvalidateAround(const CRect& rect) const {
    if (!host_)
        return;
    CRect r = rect;
    r.InflateRect(2, 2);
    host_->Invalidate(r);
}

void PickerModel::LayoutCustomStrip(CRect& r, bool withSeparator, int gap) {
    customRect_.SetRectEmpty();
    if (!hasCustom_)
        return;
    const LONG bottom = r.bottom;
    if (withSeparator)
        separatorRect_ = CRect(r.left, bottom - 22, r.right, bottom - 18);
    customRect_ = CRect(r.left, bottom - 18, r.right, bottom);
    savedCustomRect_ = customRect_;
    r.bottom = bottom - gap;
}

void PickerModel::SetCustomPressed(bool pressed) {
    if (customPressed_ == pressed)
        return;
    customPressed_ = pressed;
    InvalidateAround(savedCustomRect_);
}

void PickerModel::DrawSeparator(CDC& dc) const {
    CRect line = separatorRect_;
    line.bottom -= 2;
    const CFOGlobalData& g = CFOGlobalData::Get();
    dc.Draw3dRect(&line, g.clrBtnShadow, RGB(255, 255, 255));
}

void PickerModel::DrawCustomEntry(CDC& dc, bool swatch, COLORREF color) const {
    const CFOGlobalData& g = CFOGlobalData::Get();
    dc.FillSolidRect(&customRect_, g.clrBtnFace);
    // The text area narrows for the swatch; the strip itself stays whole, so all of it stays
    // clickable.
    CRect text = savedCustomRect_;
    CRect sample = text;
    if (swatch) {
        sample.left = sample.right - 21;
        text.right -= 23;
    }
    text.DeflateRect(2, 2);
    const COLORREF oldColor = dc.SetTextColor(RGB(0, 0, 0));
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    dc.DrawText(customText_, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    dc.SetBkMode(oldMode);
    dc.SetTextColor(oldColor);
    if (!swatch)
        return;
    dc.Draw3dRect(&sample, g.clrBtnShadow, RGB(255, 255, 255));
    sample.DeflateRect(4, 4);
    dc.FillSolidRect(&sample, color);
    dc.Draw3dRect(&sample, g.clrBtnShadow, g.clrBtnShadow);
}

void PickerModel::DrawCustomPressed(CDC& dc) const {
    CRect inside = customRect_;
    inside.DeflateRect(1, 1);
    CRgn inner;
    inner.CreateRectRgnIndirect(&inside);
    dc.FrameRgn(&inner, CBrush::Stock(WHITE_BRUSH), 2, 2);
    CRect outside = customRect_;
    outside.InflateRect(1, 1);
    CRgn outer;
    outer.CreateRectRgnIndirect(&outside);
    dc.FrameRgn(&outer, CBrush::Stock(BLACK_BRUSH), 1, 1);
}
