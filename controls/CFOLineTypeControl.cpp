#include "controls/CFOLineTypeControl.h"

#include "controls/CFOGlobalData.h"
#include "controls/IPickerHost.h"
#include "controls/PickerBorder.h"
#include "controls/PickerMessages.h"
#include "platform/CDC.h"
#include "platform/SysColor.h"
#include "platform/VirtualKeys.h"

CFOLineTypeControl::CFOLineTypeControl() : PickerModel(8, false) {}

void CFOLineTypeControl::Create(IPickerHost* host, int lineType, const CRect& client,
                                bool autoHide) {
    Attach(host, client, autoHide);
    current_ = lineType;
    RecalcLayout();
}

void CFOLineTypeControl::InitLineTypes() {
    for (int i = 0; i < kCells; ++i)
        At(i).SetLineType(i);
}

void CFOLineTypeControl::RecalcLayout() {
    InitLineTypes();
    LayoutCells(LayoutGridArea(false, 20));
}

void CFOLineTypeControl::LayoutCells(const CRect& rect) {
    layoutRect_ = rect;
    const LONG h = static_cast<LONG>(rect.Height() / 5.0);
    for (int i = 0; i < kCells; ++i)
        At(i).SetBounds(CRect(rect.left, rect.top + h * i, rect.right, rect.top + h * (i + 1)));
}

int CFOLineTypeControl::FindCell(int lineType) const {
    for (int i = 0; i < kCells; ++i)
        if (cells_[static_cast<size_t>(i)].GetLineType() == lineType)
            return i;
    return -1;
}

void CFOLineTypeControl::SetCurrentLineType(int lineType) {
    const int old = FindCell(current_);
    const int found = FindCell(lineType);
    current_ = lineType;
    if (found >= 0)
        InvalidateAround(At(found).GetBounds());
    else
        InvalidateAround(savedCustomRect_);
    if (old >= 0)
        InvalidateAround(At(old).GetBounds());
}

int CFOLineTypeControl::HitTest(int x, int y) {
    const int old = FindCell(current_);
    for (int i = 0; i < kCells; ++i) {
        if (!At(i).HitTest(x, y))
            continue;
        current_ = At(i).GetLineType();
        InvalidateAround(At(i).GetBounds());
        if (old >= 0)
            InvalidateAround(At(old).GetBounds());
        return i;
    }
    return -1;
}

void CFOLineTypeControl::SetCellMargin(int margin) {
    for (CFOLineTypeCellObj& cell : cells_)
        cell.SetMargin(margin);
}

void CFOLineTypeControl::NotifySelect(int lineType, LPARAM lParam) {
    Notify(WM_FO_SELECTLINETYPE, static_cast<WPARAM>(lineType), lParam);
}

void CFOLineTypeControl::NotifyCancel(int lineType, LPARAM lParam) {
    Notify(WM_FO_CANCELLINETYPE, static_cast<WPARAM>(lineType), lParam);
}

void CFOLineTypeControl::OnTrackMouse(CPoint point) {
    PressCustomOver(point, HitTest(point.x, point.y));
}

void CFOLineTypeControl::OnLButtonUp(CPoint point) {
    ReleaseOver(
        point, cells_,
        [this](const CFOLineTypeCellObj& cell) { NotifySelect(cell.GetLineType(), 0); },
        [this] { NotifyCustom(WM_FO_CUSTOMLINETYPE, static_cast<WPARAM>(current_)); });
}

void CFOLineTypeControl::OnKeyDown(UINT key, bool) {
    const int found = FindCell(current_);
    const int index = found < 0 ? 0 : found;
    if (PopupEndKey(
            key, [this] { NotifyCancel(current_, 0); }, [this] { NotifySelect(current_, 0); }))
        return;
    switch (key) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        break;
    default:
        return;
    }
    auto step = [&](int i) { return GridStep(i, key, columns_, rows_, columns_ * rows_); };
    const int target = StepPast(index, kCells, step, [&](int i) {
        return i != index && cells_[static_cast<size_t>(i)].GetLineType() == current_;
    });
    SetCurrentLineType(At(target).GetLineType());
}

void CFOLineTypeControl::OnDraw(CDC& dc) {
    CFont* oldFont = dc.SelectObject(Font());
    dc.FillSolidRect(&clientRect_, GetSysColor(COLOR_BTNFACE));
    if (popup_) {
        const CRect grip = CaptionBarRect();
        dc.FillSolidRect(&grip, CFOGlobalData::Get().clr3DLight);
    }
    CRect frame = clientRect_;
    PickerBorder::Draw(dc, frame, borderStyle_, true);
    int selected = -1;
    for (int i = 0; i < kCells; ++i) {
        At(i).Draw(dc);
        if (At(i).GetLineType() == current_)
            selected = i;
    }
    if (selected >= 0)
        At(selected).DrawSelected(dc);
    if (hasCustom_ && !customText_.empty()) {
        // The line-type strip never shows a swatch.
        CRect text = savedCustomRect_;
        dc.FillSolidRect(&customRect_, GetSysColor(COLOR_BTNFACE));
        text.DeflateRect(2, 2);
        const COLORREF oldColor = dc.SetTextColor(RGB(0, 0, 0));
        const int oldMode = dc.SetBkMode(TRANSPARENT);
        dc.DrawText(customText_, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        dc.SetBkMode(oldMode);
        dc.SetTextColor(oldColor);
        if (customPressed_)
            DrawCustomPressed(dc);
    }
    if (oldFont)
        dc.SelectObject(oldFont);
}
