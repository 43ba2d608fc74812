#pragma once
#include "view/IViewWindow.h"

#include <wx/bitmap.h>
#include <wx/scrolwin.h>
#include <wx/stopwatch.h>
#include <wx/timer.h>

#include <functional>
#include <map>
#include <memory>

class CGridloomView;
class RasterSurface;
class TextBoxWindow;

// The window of the maze view: copies the view's composed client picture (the visible page
// and the overlay) to the screen (the brick background when there is no maze), scrolls it,
// and tells the view about its size. It never draws the maze itself.
class MazeViewWindow : public wxScrolledWindow, public IViewWindow {
public:
    MazeViewWindow(wxWindow* parent, CGridloomView& view);
    ~MazeViewWindow() override;

    // Who collapses the information pane (the main frame); nothing happens without one.
    void SetInfoPaneCollapser(std::function<void()> collapse) { collapse_ = std::move(collapse); }
    CGridloomView& View() { return view_; }

    CSize ClientSize() const override;
    CPoint ScrollPosition() const override;
    void SetScrollSizes(CSize total, CSize page, CSize line) override;
    void Invalidate() override;
    void InvalidatePage(const CRect& pagePixels) override;
    void ShowAfterPaint(const std::string& text) override;
    void ShowStatus(const std::string& text) override;
    void CollapseInfoPane() override;
    void KeepAlive(int milliseconds) override;
    void TakeFocus() override;
    void PostCommand(UINT command) override;
    void SetTimer(int id, int milliseconds) override;
    void KillTimer(int id) override;
    // Who runs a posted command (the main frame's router); nothing runs without one.
    void SetCommandRunner(std::function<void(UINT)> run) { runCommand_ = std::move(run); }
    // Scrolls so that page pixel `position` is at the client's top-left corner (clamped).
    void ScrollToPagePixel(CPoint position);
    // The arrow keys' step: one cell.
    CSize LineStep() const { return line_; }
    // Says in the status bar why the page is not shown (empty: nothing to say).
    void SetStatusReporter(std::function<void(const std::string&)> report) {
        report_ = std::move(report);
    }
    TextBoxWindow& TextBox() const { return *textBox_; }
    // Scrolling moves the page; the text box follows its object.
    void ScrollWindow(int dx, int dy, const wxRect* rect = nullptr) override;

private:
    void OnPaint(wxPaintEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnKeyDown(wxKeyEvent& event);
    void OnChar(wxKeyEvent& event);
    void OnTimer(wxTimerEvent& event);
    // GTK merges queued pointer moves into one; a quick stroke needs every one of them.
    void KeepEveryMotion();
    void GrabWithoutMotionHints();
    void OnMouseWheel(wxMouseEvent& event);
    void PaintClient(wxDC& dc, RasterSurface& picture);
    void PaintBricks(wxDC& dc);
    void FillOutside(wxDC& dc);
    // The mouse goes to the view's controller; the window holds it from press to release.
    void BindMouse();
    void OnButton(wxMouseEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);
    void OnSetCursor(wxSetCursorEvent& event);

    CGridloomView& view_;
    TextBoxWindow* textBox_ = nullptr; // a child window, owned by wx
    std::function<void()> collapse_;
    std::function<void(const std::string&)> report_;
    bool collapsePending_ = false;
    CSize line_{1, 1};
    wxBitmap bricks_;
    wxStopWatch sinceYield_;
    std::function<void(UINT)> runCommand_;
    std::map<int, std::unique_ptr<wxTimer>> timers_;
    bool everyMotion_ = false;
};
