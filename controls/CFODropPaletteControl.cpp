#include "controls/CFODropPaletteControl.h"

#include "controls/CFOGlobalData.h"
#include "controls/HslColor.h"
#include "controls/IPickerHost.h"
#include "controls/PickerBorder.h"
#include "controls/PickerMessages.h"
#include "platform/CDC.h"
#include "platform/VirtualKeys.h"

#include <algorithm>
#include <cmath>

namespace {

// The six directions of a ring's sides, in single precision.
constexpr float kCos[6] = {-0.5f, -1.0f, -0.5f, 0.5f, 1.0f, 0.5f};
constexpr float kSin[6] = {0.8660254f, 0.0f, -0.8660254f, -0.8660254f, 0.0f, 0.8660254f};

} // namespace

CFODropPaletteControl::CFODropPaletteControl() : PickerModel(5, true) {}

void CFODropPaletteControl::Create(IPickerHost* host, COLORREF color, const CRect& client,
                                   bool autoHide) {
    Attach(host, client, autoHide);
    current_ = color;
    RecalcLayout();
}

void CFODropPaletteControl::RecalcLayout() {
    InitColors();
    CRect r = clientRect_;
    r.DeflateRect(margin_, margin_);
    LayoutCustomStrip(r, true, 24);
    LayoutCells(r);
}

void CFODropPaletteControl::InitColors() {
    CRect q = clientRect_;
    q.bottom -= 30;
    if (q.Height() < q.Width()) {
        const LONG d = (q.Width() - q.Height()) / 2;
        q.DeflateRect(d, 0);
    } else {
        const LONG d = (q.Height() - q.Width()) / 2;
        q.DeflateRect(0, d);
    }
    const int r = q.Height() / 13 + 1;
    const int cx = (q.left + q.right) / 2, cy = (q.top + q.bottom) / 2;
    At(0).SetColor(RGB(255, 255, 255));
    At(0).SetHexagon(cx, cy, r);
    int n = 1;
    for (int s = 1; s <= 6; ++s) {
        int x = cx + r * s, y = cy;
        const double lightness = (7 - s) / 7.0 + 0.1;
        for (int j = 0; j < 6; ++j) {
            const int dx = static_cast<int>(static_cast<float>(r) * kCos[j]);
            const int dy = static_cast<int>(static_cast<float>(r) * kSin[j]);
            for (int k = 0; k < s; ++k) {
                const int hue = HslColor::GetAngle(x - cx, y - cy);
                At(n).SetColor(HslColor::HSLToRGB(hue, lightness, 1.0));
                At(n).SetHexagon(x, y, r);
                ++n;
                x += dx;
                y += dy;
            }
        }
    }
    At(kButtonFaceCell).SetColor(CFOGlobalData::Get().clrBtnFace);
    for (int i = 0; i < 15; ++i)
        At(128 + i).SetColor(RGB(240 - 15 * i, 240 - 15 * i, 240 - 15 * i));
    At(143).SetColor(RGB(0, 0, 0));
}

void CFODropPaletteControl::LayoutCells(const CRect& rect) {
    layoutRect_ = rect;
    auto edgeX = [&](int i) { return rect.left + static_cast<LONG>(rect.Width() * 0.0625 * i); };
    auto edgeY = [&](int j) {
        return rect.top + static_cast<LONG>(rect.Height() * (1.0 / rows_) * j);
    };
    for (int index = 128; index < kCells; ++index) {
        const int column = index % columns_, row = index / columns_;
        At(index).SetHexagonFlag(false);
        At(index).SetRect(CRect(edgeX(column), edgeY(row), edgeX(column + 1), edgeY(row + 1)));
    }
}

int CFODropPaletteControl::FirstCellOf(COLORREF color) const {
    for (int i = 0; i < kCells; ++i)
        if (cells_[static_cast<size_t>(i)].GetColor() == color)
            return i;
    return -1;
}

void CFODropPaletteControl::SetCurrentColor(COLORREF color) {
    HslColor::RGBToHSL(color, hue_, saturation_, lightness_);
    int oldCell = -1, newCell = -1;
    for (int i = 0; i < kCells && (oldCell < 0 || newCell < 0); ++i) {
        const COLORREF c = cells_[static_cast<size_t>(i)].GetColor();
        if (c == current_)
            oldCell = i;
        if (c == color)
            newCell = i;
    }
    if (newCell >= 0) {
        current_ = At(newCell).GetColor();
        InvalidateAround(At(newCell).GetBoundRect());
    } else {
        current_ = color;
        InvalidateAround(savedCustomRect_);
    }
    if (oldCell >= 0)
        InvalidateAround(At(oldCell).GetBoundRect());
}

void CFODropPaletteControl::SetHSL(double hue, double lightness, double saturation) {
    if (hue != -1 && std::isfinite(hue))
        hue_ = hue;
    if (lightness != -1 && std::isfinite(lightness))
        lightness_ = std::clamp(lightness, 0.0, 1.0);
    if (saturation != -1 && std::isfinite(saturation))
        saturation_ = std::clamp(saturation, 0.0, 1.0);
    SetCurrentColor(HslColor::HSLToRGB(hue_ * 360, lightness_, saturation_));
}

void CFODropPaletteControl::GetHSL(double& hue, double& lightness, double& saturation) {
    HslColor::RGBToHSL(current_, hue_, saturation_, lightness_);
    hue = hue_;
    lightness = lightness_;
    saturation = saturation_;
}

int CFODropPaletteControl::HitTest(int x, int y) {
    int oldCell = -1, hit = -1;
    for (int i = 0; i < kCells && (oldCell < 0 || hit < 0); ++i) {
        if (cells_[static_cast<size_t>(i)].GetColor() == current_)
            oldCell = i;
        if (cells_[static_cast<size_t>(i)].HitTest(x, y))
            hit = i;
    }
    if (hit < 0)
        return -1;
    current_ = At(hit).GetColor();
    if (oldCell >= 0)
        InvalidateAround(At(oldCell).GetBoundRect());
    InvalidateAround(At(hit).GetBoundRect());
    return hit;
}

CRect CFODropPaletteControl::GetCurrentCellRect() const {
    const int i = FirstCellOf(current_);
    return i < 0 ? CRect() : cells_[static_cast<size_t>(i)].GetBoundRect();
}

void CFODropPaletteControl::SetCellMargin(int margin) {
    for (CFOColorCellObj& cell : cells_)
        cell.SetInset(margin);
}

void CFODropPaletteControl::NotifySelect(COLORREF color, LPARAM lParam) {
    Notify(WM_FO_SELECTCOLOR, color, lParam);
}

void CFODropPaletteControl::NotifyCancel(COLORREF color, LPARAM lParam) {
    Notify(WM_FO_CANCELCOLOR, color, lParam);
}

void CFODropPaletteControl::OnMouseDrag(int x, int y) {
    const int hit = HitTest(x, y);
    if (hit >= 0)
        NotifySelect(At(hit).GetColor(), 0);
    else if (hasCustom_ && customRect_.PtInRect({x, y}))
        SetCustomPressed(true);
}

void CFODropPaletteControl::OnLButtonUp(CPoint point) {
    ReleaseOver(
        point, cells_, [this](const CFOColorCellObj& cell) { NotifySelect(cell.GetColor(), 0); },
        [this] { NotifyCustom(WM_FO_CUSTOMCOLOR, current_); });
}

void CFODropPaletteControl::OnKeyDown(UINT key, bool) {
    const int found = FirstCellOf(current_);
    const int index = found < 0 ? 0 : found;
    if (PopupEndKey(
            key, [this] { NotifyCancel(current_, 0); }, [this] { NotifySelect(current_, 0); }))
        return;
    switch (key) {
    case VK_TAB:
        if (host_)
            host_->FocusPreviousTabItem();
        return;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        break;
    default:
        return;
    }
    const bool back = key == VK_LEFT || key == VK_UP;
    auto step = [back](int i) {
        if (back)
            return i == 0 ? kCells - 1 : i - 1;
        return i == kCells - 1 ? 0 : i + 1;
    };
    const int target = StepPast(index, kCells, step, [&](int i) {
        return cells_[static_cast<size_t>(i)].GetColor() == current_;
    });
    const COLORREF color = At(target).GetColor();
    SetCurrentColor(color);
    Post(WM_FO_SELECTCOLOR, color, 0);
}

void CFODropPaletteControl::OnDraw(CDC& dc) {
    CFont* oldFont = dc.SelectObject(Font());
    const CFOGlobalData& g = CFOGlobalData::Get();
    dc.FillSolidRect(&clientRect_, g.clrBtnFace);
    CRect frame = clientRect_;
    PickerBorder::Draw(dc, frame, borderStyle_);
    int selected = -1;
    for (int i = 0; i < kCells; ++i) {
        At(i).Draw(dc);
        if (At(i).GetColor() == current_)
            selected = i;
    }
    if (selected >= 0)
        At(selected).DrawSelection(dc);
    if (hasCustom_) {
        DrawSeparator(dc);
        DrawCustomEntry(dc, selected < 0, current_);
        if (customPressed_)
            DrawCustomPressed(dc);
    }
    if (oldFont)
        dc.SelectObject(oldFont);
}
