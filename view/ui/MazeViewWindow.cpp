#include "view/ui/MazeViewWindow.h"

#include "platform/MessageBox.h"
#include "platform/RasterSurface.h"
#include "platform/wx/WxMouse.h"
#include "res/BrickPicture.h"
#include "view/CGridloomView.h"

#include <wx/dcclient.h>
#include <wx/image.h>
#include <wx/settings.h>
#include <wx/utils.h>

namespace {

// How often a long loop of single-cell redraws lets the window repaint and breathe.
constexpr long kYieldEveryMs = 30;

wxBitmap ToBitmap(const PixelPicture& p) {
    wxImage image(p.width, p.height, false);
    unsigned char* rgb = image.GetData();
    for (const std::uint32_t px : p.pixels) {
        *rgb++ = static_cast<unsigned char>(px >> 16);
        *rgb++ = static_cast<unsigned char>(px >> 8);
        *rgb++ = static_cast<unsigned char>(px);
    }
    return wxBitmap(image);
}

} // namespace

MazeViewWindow::MazeViewWindow(wxWindow* parent, CGridloomView& view)
    : wxScrolledWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                       wxHSCROLL | wxVSCROLL | wxFULL_REPAINT_ON_RESIZE),
      view_(view) {
    // Every pixel is painted by OnPaint: no erasing, no flicker.
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &MazeViewWindow::OnPaint, this);
    Bind(wxEVT_SIZE, &MazeViewWindow::OnSize, this);
    BindMouse();
    view_.SetWindow(this);
}

MazeViewWindow::~MazeViewWindow() {
    if (HasCapture())
        ReleaseMouse();
    view_.SetWindow(nullptr);
}

CSize MazeViewWindow::ClientSize() const {
    const wxSize s = GetClientSize();
    return {s.x, s.y};
}

CPoint MazeViewWindow::ScrollPosition() const {
    int x = 0, y = 0, ux = 1, uy = 1;
    GetViewStart(&x, &y);
    GetScrollPixelsPerUnit(&ux, &uy);
    return {x * ux, y * uy};
}

void MazeViewWindow::SetScrollSizes(CSize total, CSize, CSize line) {
    line_ = line;
    const int ux = std::max<int>(1, line.cx), uy = std::max<int>(1, line.cy);
    int x = 0, y = 0;
    GetViewStart(&x, &y);
    SetScrollbars(ux, uy, (total.cx + ux - 1) / ux, (total.cy + uy - 1) / uy, x, y, true);
}

void MazeViewWindow::Invalidate() {
    Refresh(false);
}

void MazeViewWindow::InvalidatePage(const CRect& r) {
    const CPoint s = ScrollPosition();
    RefreshRect(wxRect(r.left - s.x, r.top - s.y, r.Width(), r.Height()), false);
}

void MazeViewWindow::ShowAfterPaint(const std::string& text) {
    // The answer is not used; the box only informs.
    CallAfter([text] { AfxMessageBox(text, MB_OKCANCEL); });
}

void MazeViewWindow::CollapseInfoPane() {
    if (collapse_)
        collapse_();
}

void MazeViewWindow::KeepAlive(int milliseconds) {
    if (milliseconds > 0)
        wxMilliSleep(static_cast<unsigned long>(milliseconds));
    if (milliseconds <= 0 && sinceYield_.Time() < kYieldEveryMs)
        return;
    // Repaints what the loop invalidated and keeps the desktop answered; user input stays
    // blocked until the loop ends.
    wxSafeYield(nullptr, true);
    // Timed from the end of the yield: when repainting takes longer than the interval, the
    // loop still gets its share of the time rather than yielding after every cell.
    sinceYield_.Start();
}

void MazeViewWindow::OnSize(wxSizeEvent& event) {
    const wxSize s = event.GetSize();
    view_.OnSize(s.x, s.y);
    event.Skip();
}

void MazeViewWindow::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    if (RasterSurface* page = view_.PaintScreen())
        PaintPage(dc, *page);
    else
        PaintBricks(dc);
}

void MazeViewWindow::PaintPage(wxDC& dc, RasterSurface& page) {
    const CPoint scroll = ScrollPosition();
    const wxColour outside = wxSystemSettings::GetColour(wxSYS_COLOUR_APPWORKSPACE);
    for (wxRegionIterator it(GetUpdateRegion()); it; ++it) {
        const wxRect client = it.GetRect();
        dc.SetPen(*wxTRANSPARENT_PEN);
        dc.SetBrush(wxBrush(outside));
        dc.DrawRectangle(client);
        // The part of the page under this rectangle.
        CRect want(client.x + scroll.x, client.y + scroll.y, client.GetRight() + 1 + scroll.x,
                   client.GetBottom() + 1 + scroll.y);
        CRect part;
        if (!part.IntersectRect(want, page.Rect()))
            continue;
        wxImage image(part.Width(), part.Height(), false);
        unsigned char* rgb = image.GetData();
        for (int y = part.top; y < part.bottom; ++y) {
            const std::uint32_t* row = page.Row(y) + part.left;
            for (int x = 0; x < part.Width(); ++x) {
                *rgb++ = static_cast<unsigned char>(row[x] >> 16);
                *rgb++ = static_cast<unsigned char>(row[x] >> 8);
                *rgb++ = static_cast<unsigned char>(row[x]);
            }
        }
        dc.DrawBitmap(wxBitmap(image), part.left - scroll.x, part.top - scroll.y);
    }
}

void MazeViewWindow::PaintBricks(wxDC& dc) {
    if (!bricks_.IsOk())
        bricks_ = ToBitmap(BrickPicture::Get());
    const wxSize client = GetClientSize();
    const int w = bricks_.GetWidth(), h = bricks_.GetHeight();
    for (int y = 0; y < client.y; y += h) {
        const int row = y / h;
        for (int x = row % 2 ? 0 : -w / 2; x < client.x + w; x += w)
            dc.DrawBitmap(bricks_, x, y);
    }
}

// ---- mouse --------------------------------------------------------------------------------

void MazeViewWindow::BindMouse() {
    for (const auto type :
         {wxEVT_LEFT_DOWN, wxEVT_LEFT_UP, wxEVT_RIGHT_DOWN, wxEVT_RIGHT_UP, wxEVT_MIDDLE_DOWN,
          wxEVT_MIDDLE_UP, wxEVT_LEFT_DCLICK, wxEVT_RIGHT_DCLICK})
        Bind(type, &MazeViewWindow::OnButton, this);
    Bind(wxEVT_MOTION, &MazeViewWindow::OnMotion, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &MazeViewWindow::OnCaptureLost, this);
    Bind(wxEVT_MOUSEWHEEL, &MazeViewWindow::OnWheel, this);
    Bind(wxEVT_SET_CURSOR, &MazeViewWindow::OnSetCursor, this);
}

void MazeViewWindow::TakeFocus() {
    SetFocus();
}

void MazeViewWindow::OnButton(wxMouseEvent& event) {
    using Button = ViewMouseController::Button;
    const Button button = event.GetButton() == wxMOUSE_BTN_LEFT    ? Button::Left
                          : event.GetButton() == wxMOUSE_BTN_RIGHT ? Button::Right
                                                                   : Button::Middle;
    const CPoint at(event.GetX(), event.GetY());
    const UINT flags = WxMouse::KeyFlags(event);
    // The toolkit sends a double click's second press as the double click only.
    if (event.ButtonDown() || event.ButtonDClick()) {
        if (!HasCapture())
            CaptureMouse();
        view_.Mouse().ButtonDown(button, flags, at);
    } else {
        if (HasCapture() && !event.ButtonIsDown(wxMOUSE_BTN_ANY))
            ReleaseMouse();
        view_.Mouse().ButtonUp(button, flags, at);
    }
    event.Skip();
}

void MazeViewWindow::OnMotion(wxMouseEvent& event) {
    view_.Mouse().Move(WxMouse::KeyFlags(event), CPoint(event.GetX(), event.GetY()));
    event.Skip();
}

void MazeViewWindow::OnCaptureLost(wxMouseCaptureLostEvent&) {
    view_.Mouse().CaptureLost();
}

void MazeViewWindow::OnWheel(wxMouseEvent& event) {
    if (event.GetWheelAxis() == wxMOUSE_WHEEL_VERTICAL) {
        const int lines = view_.Mouse().WheelLines(event.GetWheelRotation());
        if (lines != 0)
            ScrollByPixels(lines * line_.cy);
    }
    // The toolkit's own wheel step follows.
    event.Skip();
}

void MazeViewWindow::ScrollByPixels(int dy) {
    int ux = 1, uy = 1, x = 0, y = 0;
    GetScrollPixelsPerUnit(&ux, &uy);
    if (uy <= 0 || dy == 0)
        return;
    GetViewStart(&x, &y);
    const int units = dy / uy != 0 ? dy / uy : (dy > 0 ? 1 : -1);
    Scroll(x, std::max(0, y + units));
}

void MazeViewWindow::OnSetCursor(wxSetCursorEvent& event) {
    if (const auto cursor = view_.ObjectCursorAt(CPoint(event.GetX(), event.GetY())))
        event.SetCursor(WxMouse::TrackerCursor(*cursor));
    else
        event.Skip();
}
