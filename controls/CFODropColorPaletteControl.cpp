#include "controls/CFODropColorPaletteControl.h"

#include "controls/CFOGlobalData.h"
#include "controls/IPickerHost.h"
#include "controls/PickerBorder.h"
#include "controls/PickerMessages.h"
#include "platform/CDC.h"
#include "platform/VirtualKeys.h"

namespace {

// Column by column, top to bottom.
constexpr COLORREF kTable[48] = {
    RGB(255, 255, 255), RGB(224, 224, 224), RGB(192, 192, 192), RGB(128, 128, 128),
    RGB(64, 64, 64),    RGB(0, 0, 0),       RGB(255, 192, 192), RGB(255, 128, 128),
    RGB(255, 0, 0),     RGB(192, 0, 0),     RGB(128, 0, 0),     RGB(64, 0, 0),
    RGB(255, 224, 192), RGB(255, 224, 128), RGB(255, 192, 0),   RGB(255, 128, 0),
    RGB(128, 64, 0),    RGB(128, 64, 64),   RGB(255, 255, 192), RGB(255, 255, 128),
    RGB(255, 255, 0),   RGB(192, 192, 0),   RGB(128, 128, 0),   RGB(64, 64, 0),
    RGB(192, 255, 192), RGB(128, 255, 128), RGB(0, 255, 0),     RGB(0, 192, 0),
    RGB(0, 128, 0),     RGB(0, 64, 0),      RGB(192, 255, 255), RGB(128, 255, 255),
    RGB(0, 255, 255),   RGB(0, 192, 192),   RGB(0, 128, 128),   RGB(0, 64, 64),
    RGB(192, 192, 255), RGB(128, 128, 255), RGB(0, 0, 255),     RGB(0, 0, 192),
    RGB(0, 0, 128),     RGB(0, 0, 64),      RGB(255, 192, 255), RGB(255, 128, 255),
    RGB(255, 0, 255),   RGB(192, 0, 192),   RGB(128, 0, 128),   RGB(64, 0, 64),
};

} // namespace

CFODropColorPaletteControl::CFODropColorPaletteControl() : PickerModel(8, true) {}

COLORREF CFODropColorPaletteControl::TableColor(int cell) {
    const int column = cell % 8, row = cell / 8;
    return kTable[6 * column + row];
}

void CFODropColorPaletteControl::Create(IPickerHost* host, COLORREF color, const CRect& client,
                                        bool popup) {
    Attach(host, client, popup);
    current_ = color;
    RecalcLayout();
}

void CFODropColorPaletteControl::RecalcLayout() {
    InitColors();
    LayoutCells(LayoutGridArea(true, 24));
}

void CFODropColorPaletteControl::LayoutCells(const CRect& rect) {
    cellArea_ = rect;
    // Edges truncated from real-number fractions, so cells of one row may differ by a pixel.
    auto edgeX = [&](int i) {
        return rect.left + static_cast<LONG>(rect.Width() * (1.0 / columns_) * i);
    };
    auto edgeY = [&](int j) {
        return rect.top + static_cast<LONG>(rect.Height() * (1.0 / rows_) * j);
    };
    for (int n = 0; n < kCells; ++n) {
        const int c = n % columns_, w = n / columns_;
        CFOColorCellObj& cell = cells_[static_cast<size_t>(n)];
        cell.SetRect(CRect(edgeX(c), edgeY(w), edgeX(c + 1), edgeY(w + 1)));
        cell.SetHexagonFlag(false);
    }
}

void CFODropColorPaletteControl::InitColors() {
    for (int n = 0; n < kCells; ++n)
        cells_[static_cast<size_t>(n)].SetColor(TableColor(n));
}

int CFODropColorPaletteControl::FindCell(COLORREF color) const {
    for (int n = 0; n < kCells; ++n)
        if (cells_[static_cast<size_t>(n)].GetColor() == color)
            return n;
    return -1;
}

void CFODropColorPaletteControl::SetCurrentColor(COLORREF color) {
    const int old = FindCell(current_);
    const int found = FindCell(color);
    current_ = color;
    if (found >= 0)
        InvalidateAround(cells_[static_cast<size_t>(found)].GetBoundRect());
    else
        InvalidateAround(savedCustomRect_);
    if (old >= 0)
        InvalidateAround(cells_[static_cast<size_t>(old)].GetBoundRect());
}

int CFODropColorPaletteControl::HitTest(int x, int y) {
    const int old = FindCell(current_);
    for (int n = 0; n < kCells; ++n) {
        const CFOColorCellObj& cell = cells_[static_cast<size_t>(n)];
        if (!cell.HitTest(x, y))
            continue;
        current_ = cell.GetColor();
        InvalidateAround(cell.GetBoundRect());
        if (old >= 0)
            InvalidateAround(cells_[static_cast<size_t>(old)].GetBoundRect());
        return n;
    }
    return -1;
}

CRect CFODropColorPaletteControl::GetCurrentRect() const {
    const int n = FindCell(current_);
    return n < 0 ? CRect() : cells_[static_cast<size_t>(n)].GetBoundRect();
}

void CFODropColorPaletteControl::SetCellInset(int inset) {
    cellInset_ = inset;
    for (CFOColorCellObj& cell : cells_)
        cell.SetInset(inset);
}

void CFODropColorPaletteControl::NotifySelect(COLORREF color, LPARAM lParam) {
    Notify(WM_FO_SELECTCOLOR, color, lParam);
}

void CFODropColorPaletteControl::NotifyCancel(COLORREF color, LPARAM lParam) {
    Notify(WM_FO_CANCELCOLOR, color, lParam);
}

void CFODropColorPaletteControl::OnTrackMouse(CPoint point) {
    PressCustomOver(point, HitTest(point.x, point.y));
}

void CFODropColorPaletteControl::OnLButtonUp(CPoint point) {
    ReleaseOver(
        point, cells_, [this](const CFOColorCellObj& cell) { NotifySelect(cell.GetColor(), 0); },
        [this] { NotifyCustom(WM_FO_CUSTOMCOLOR, current_); });
}

void CFODropColorPaletteControl::OnKeyDown(UINT key, bool shift) {
    const int found = FindCell(current_);
    const int index = found < 0 ? 0 : found;
    if (PopupEndKey(
            key, [this] { NotifyCancel(current_, 0); }, [this] { NotifySelect(current_, 0); }))
        return;
    switch (key) {
    case VK_TAB:
        if (shift) {
            if (host_)
                host_->FocusPreviousTabItem();
        } else if (hasCustom_) {
            NotifyCustom(WM_FO_CUSTOMCOLOR, current_);
        }
        return;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        break;
    default:
        return;
    }
    auto step = [&](int i) { return GridStep(i, key, columns_, rows_, kCells); };
    const int target = StepPast(index, kCells, step, [&](int i) {
        return cells_[static_cast<size_t>(i)].GetColor() == current_ && i != index;
    });
    const COLORREF color = cells_[static_cast<size_t>(target)].GetColor();
    SetCurrentColor(color);
    Post(WM_FO_SELECTCOLOR, color, kPickerKeepOpen);
}

void CFODropColorPaletteControl::OnDraw(CDC& dc) {
    CFont* oldFont = dc.SelectObject(Font());
    const CFOGlobalData& g = CFOGlobalData::Get();
    dc.FillSolidRect(&clientRect_, g.clrBtnFace);
    if (popup_) {
        const CRect caption = CaptionBarRect();
        dc.FillSolidRect(&caption, g.clrActiveCaption);
    }
    CRect frame = clientRect_;
    PickerBorder::Draw(dc, frame, borderStyle_);
    int selected = -1;
    for (int n = 0; n < kCells; ++n) {
        cells_[static_cast<size_t>(n)].Draw(dc);
        if (cells_[static_cast<size_t>(n)].GetColor() == current_)
            selected = n;
    }
    if (selected >= 0)
        cells_[static_cast<size_t>(selected)].DrawSelection(dc);
    if (hasCustom_) {
        DrawSeparator(dc);
        DrawCustomEntry(dc, selected < 0, current_);
        if (customPressed_)
            DrawCustomPressed(dc);
    }
    if (oldFont)
        dc.SelectObject(oldFont);
}
