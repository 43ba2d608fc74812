#include "frame/ui/CSplitterWndEx.h"

#include <wx/dcclient.h>
#include <wx/settings.h>

namespace {
constexpr int kBarHeight = 6;
}

CSplitterWndEx::CSplitterWndEx(wxWindow* parent, int rows)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxFULL_REPAINT_ON_RESIZE),
      rows_(rows, kBarHeight), panes_(static_cast<size_t>(rows_.Rows()), nullptr) {
    Bind(wxEVT_SIZE, &CSplitterWndEx::OnSize, this);
    Bind(wxEVT_PAINT, &CSplitterWndEx::OnPaint, this);
    Bind(wxEVT_LEFT_DOWN, &CSplitterWndEx::OnMouse, this);
    Bind(wxEVT_LEFT_UP, &CSplitterWndEx::OnMouse, this);
    Bind(wxEVT_MOTION, &CSplitterWndEx::OnMouse, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &CSplitterWndEx::OnCaptureLost, this);
}

void CSplitterWndEx::SetPane(int row, wxWindow* pane) {
    wxWindow*& slot = panes_.at(static_cast<size_t>(row));
    if (slot && slot != pane)
        slot->Destroy();
    slot = pane;
    PlacePanes();
}

wxWindow* CSplitterWndEx::GetPane(int row) const {
    return panes_.at(static_cast<size_t>(row));
}

void CSplitterWndEx::RecalcLayout() {
    rows_.RecalcLayout(GetClientSize().GetHeight());
    // An unchanged layout leaves the panes alone: moving or repainting them for nothing
    // makes them paint again, and a paint may ask for another layout. A pane that moves
    // paints itself; only the bars are this window's to paint again.
    if (PlacePanes())
        RefreshBars();
}

void CSplitterWndEx::RefreshBars() {
    const int width = GetClientSize().GetWidth();
    for (int row = 0; row + 1 < rows_.Rows(); ++row)
        RefreshRect(wxRect(0, rows_.Top(row) + rows_.Current(row), width, rows_.BarHeight()));
}

void CSplitterWndEx::HideColumn(int column) {
    // One column only: hiding it hides every pane until it is shown again.
    if (column != 0 || hiddenColumn_ != -1)
        return;
    hiddenColumn_ = column;
    PlacePanes();
}

void CSplitterWndEx::ShowColumn() {
    if (hiddenColumn_ == -1)
        return;
    hiddenColumn_ = -1;
    PlacePanes();
}

bool CSplitterWndEx::PlacePanes() {
    const int width = GetClientSize().GetWidth();
    bool changed = false;
    for (int row = 0; row < rows_.Rows(); ++row) {
        wxWindow* pane = panes_[static_cast<size_t>(row)];
        if (!pane)
            continue;
        const int height = rows_.Current(row);
        // A row lower than its pane's least height leaves the pane hidden rather than crushed.
        const bool visible = hiddenColumn_ == -1 && height > 0 && height >= pane->GetMinHeight();
        const wxRect place(0, rows_.Top(row), width, height);
        if (visible && pane->GetRect() != place) {
            pane->SetSize(place);
            changed = true;
        }
        if (pane->IsShown() != visible) {
            pane->Show(visible);
            changed = true;
        }
    }
    return changed;
}

void CSplitterWndEx::OnSize(wxSizeEvent& event) {
    RecalcLayout();
    if (onResize_)
        onResize_();
    event.Skip();
}

void CSplitterWndEx::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    const wxColour face = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
    const wxColour shadow = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW);
    const int width = GetClientSize().GetWidth();
    for (int row = 0; row + 1 < rows_.Rows(); ++row) {
        const int top = rows_.Top(row) + rows_.Current(row);
        dc.SetPen(*wxTRANSPARENT_PEN);
        dc.SetBrush(wxBrush(face));
        dc.DrawRectangle(0, top, width, rows_.BarHeight());
        dc.SetPen(wxPen(shadow));
        dc.DrawLine(0, top + rows_.BarHeight() - 1, width, top + rows_.BarHeight() - 1);
    }
}

void CSplitterWndEx::OnMouse(wxMouseEvent& event) {
    const int y = event.GetY();
    if (event.LeftDown()) {
        draggedBar_ = rows_.HitBar(y);
        if (draggedBar_ >= 0)
            CaptureMouse();
    } else if (event.LeftUp() && draggedBar_ >= 0) {
        draggedBar_ = -1;
        if (HasCapture())
            ReleaseMouse();
    } else if (event.Dragging() && draggedBar_ >= 0) {
        rows_.TrackBar(draggedBar_, y - rows_.BarHeight() / 2);
        RecalcLayout();
    }
    const bool overBar = draggedBar_ >= 0 || rows_.HitBar(y) >= 0;
    SetCursor(overBar ? wxCursor(wxCURSOR_SIZENS) : wxNullCursor);
    event.Skip();
}

void CSplitterWndEx::OnCaptureLost(wxMouseCaptureLostEvent&) {
    draggedBar_ = -1;
}
