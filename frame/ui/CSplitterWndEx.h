#pragma once
#include "frame/CSplitterRows.h"

#include <wx/window.h>

#include <functional>
#include <vector>

// A static splitter of rows in one column: each row holds one pane window; the user drags the
// bar between rows. The column can be hidden and shown again.
class CSplitterWndEx : public wxWindow {
public:
    CSplitterWndEx(wxWindow* parent, int rows);

    // Puts `pane` (a child of this splitter) into `row`; the previous pane is destroyed.
    void SetPane(int row, wxWindow* pane);
    wxWindow* GetPane(int row) const;
    int Rows() const { return rows_.Rows(); }

    int RowHeight(int row) const { return rows_.Current(row); }
    void SetRowInfo(int row, int ideal, int minimum) { rows_.SetRowInfo(row, ideal, minimum); }
    const CSplitterRows& Layout() const { return rows_; }
    void RecalcLayout();

    void HideColumn(int column);
    void ShowColumn();
    int HiddenColumn() const { return hiddenColumn_; }

    // Runs after every change of the splitter's own size, once the rows are laid out.
    void SetResizeHandler(std::function<void()> handler) { onResize_ = std::move(handler); }

private:
    void OnSize(wxSizeEvent& event);
    void OnPaint(wxPaintEvent& event);
    void OnMouse(wxMouseEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);
    // Moves, shows or hides the panes whose place changed; true when any did.
    bool PlacePanes();
    void RefreshBars();

    CSplitterRows rows_;
    std::vector<wxWindow*> panes_;
    int hiddenColumn_ = -1;
    int draggedBar_ = -1;
    std::function<void()> onResize_;
};
