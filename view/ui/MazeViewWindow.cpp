#include "view/ui/MazeViewWindow.h"

#include "platform/MessageBox.h"
#include "platform/RasterSurface.h"
#include "platform/wx/WxMouse.h"
#include "platform/wx/WxScrollBars.h"
#include "res/BrickPicture.h"
#include "view/CGridloomView.h"
#include "view/ui/TextBoxWindow.h"

#include <cairo.h>
#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif
#include <wx/dcclient.h>
#include <wx/graphics.h>
#include <wx/image.h>
#include <wx/settings.h>
#include <wx/utils.h>

#include <algorithm>

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
                       wxHSCROLL | wxVSCROLL | wxFULL_REPAINT_ON_RESIZE | wxWANTS_CHARS),
      view_(view) {
    // Every pixel is painted by OnPaint: no erasing, no flicker.
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    KeepScrollBarsShown(*this);
    Bind(wxEVT_PAINT, &MazeViewWindow::OnPaint, this);
    Bind(wxEVT_SIZE, &MazeViewWindow::OnSize, this);
    Bind(wxEVT_KEY_DOWN, &MazeViewWindow::OnKeyDown, this);
    Bind(wxEVT_CHAR, &MazeViewWindow::OnChar, this);
    Bind(wxEVT_TIMER, &MazeViewWindow::OnTimer, this);
    Bind(wxEVT_MOUSEWHEEL, &MazeViewWindow::OnMouseWheel, this);
    BindMouse();
    textBox_ = new TextBoxWindow(this, view_);
    // The window keeps the focus (and the arrow keys) for itself while the box is hidden,
    // though the toolkit gives it up to a child that could take it.
    SetCanFocus(true);
    view_.SetWindow(this);
    view_.SetTextBox(textBox_);
}

MazeViewWindow::~MazeViewWindow() {
    for (auto& entry : timers_)
        entry.second->Stop();
    if (HasCapture())
        ReleaseMouse();
    view_.SetTextBox(nullptr);
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
    // The range is the page to the pixel; the cell is only the arrow keys' step, so that
    // the page's end is reachable and nothing scrolls past it.
    line_ = CSize(std::max<int>(1, line.cx), std::max<int>(1, line.cy));
    const CPoint at = ScrollPosition();
    SetScrollbars(1, 1, std::max<int>(0, total.cx), std::max<int>(0, total.cy), at.x, at.y, true);
}

void MazeViewWindow::ScrollToPagePixel(CPoint position) {
    // wx clamps to the range.
    Scroll(std::max<int>(0, position.x), std::max<int>(0, position.y));
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

void MazeViewWindow::ShowStatus(const std::string& text) {
    if (report_)
        report_(text);
}

void MazeViewWindow::CollapseInfoPane() {
    // Asked for while painting: the layout changes after the paint, once however many
    // paints asked.
    if (!collapse_ || collapsePending_)
        return;
    collapsePending_ = true;
    CallAfter([this] {
        collapsePending_ = false;
        collapse_();
    });
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

void MazeViewWindow::PostCommand(UINT command) {
    // After the handler that asked: the sound and the marks come first, as a menu choice
    // would run once the click is over.
    CallAfter([this, command] {
        if (runCommand_)
            runCommand_(command);
    });
}

void MazeViewWindow::SetTimer(int id, int milliseconds) {
    std::unique_ptr<wxTimer>& timer = timers_[id];
    if (!timer)
        timer = std::make_unique<wxTimer>(this, id);
    timer->StartOnce(std::max(1, milliseconds));
}

void MazeViewWindow::KillTimer(int id) {
    if (const auto it = timers_.find(id); it != timers_.end())
        it->second->Stop();
}

void MazeViewWindow::OnTimer(wxTimerEvent& event) {
    view_.OnTimer(event.GetId());
}

void MazeViewWindow::OnChar(wxKeyEvent& event) {
    const wxChar c = event.GetUnicodeKey();
    view_.OnChar(c != WXK_NONE ? static_cast<unsigned>(c)
                               : static_cast<unsigned>(event.GetKeyCode()));
    event.Skip();
}

void MazeViewWindow::KeepEveryMotion() {
#ifdef __WXGTK__
    if (everyMotion_)
        return;
    GdkWindow* drawing = GTKGetDrawingWindow();
    if (!drawing)
        return;
    everyMotion_ = true;
    // The toolkit asks for motion hints (one move per pointer query, the rest dropped) and
    // GDK merges the moves still queued; a stroke needs each of them.
    gdk_window_set_events(drawing, static_cast<GdkEventMask>(gdk_window_get_events(drawing) &
                                                             ~GDK_POINTER_MOTION_HINT_MASK));
    gdk_window_set_event_compression(drawing, FALSE);
    if (GdkWindow* native = gdk_window_get_toplevel(drawing))
        gdk_window_set_event_compression(native, FALSE);
    if (GtkWidget* widget = GetHandle())
        if (GdkWindow* own = gtk_widget_get_window(widget))
            gdk_window_set_event_compression(own, FALSE);
#endif
}

void MazeViewWindow::GrabWithoutMotionHints() {
#ifdef __WXGTK__
    // The toolkit's capture asks for motion hints again; the same grab taken anew with the
    // window's own events keeps every move of the drag.
    GdkWindow* drawing = GTKGetDrawingWindow();
    if (!drawing)
        return;
    GdkSeat* seat = gdk_display_get_default_seat(gdk_window_get_display(drawing));
    if (seat)
        gdk_seat_grab(seat, drawing, GDK_SEAT_CAPABILITY_ALL_POINTING, FALSE, nullptr, nullptr,
                      nullptr, nullptr);
#endif
}

void MazeViewWindow::OnSize(wxSizeEvent& event) {
    const wxSize s = event.GetSize();
    view_.OnSize(s.x, s.y);
    view_.PlaceTextBox();
    event.Skip();
}

void MazeViewWindow::ScrollWindow(int dx, int dy, const wxRect* rect) {
#ifdef __WXGTK__
    // The toolkit moves every child with the page and complains about a hidden one: the text
    // box, hidden between edits, counts as shown (but unmapped) while the page moves.
    GtkWidget* hidden = textBox_ && !textBox_->IsShown() ? textBox_->GetHandle() : nullptr;
    if (hidden) {
        gtk_widget_set_child_visible(hidden, FALSE);
        gtk_widget_set_visible(hidden, TRUE);
    }
    wxScrolledWindow::ScrollWindow(dx, dy, rect);
    if (hidden) {
        gtk_widget_set_visible(hidden, FALSE);
        gtk_widget_set_child_visible(hidden, TRUE);
    }
#else
    wxScrolledWindow::ScrollWindow(dx, dy, rect);
#endif
    // The toolkit has moved the box with the page; the scroll position the view places it by
    // is stored only once this call returns.
    CallAfter([this] { view_.PlaceTextBox(); });
}

void MazeViewWindow::OnKeyDown(wxKeyEvent& event) {
    // Handled here, so the scrolled window's own one-pixel steps never see the key.
    CPoint to = ScrollPosition();
    switch (event.GetKeyCode()) {
    case WXK_LEFT:
        to.x -= line_.cx;
        break;
    case WXK_RIGHT:
        to.x += line_.cx;
        break;
    case WXK_UP:
        to.y -= line_.cy;
        break;
    case WXK_DOWN:
        to.y += line_.cy;
        break;
    case WXK_PAGEUP:
        to.y -= GetClientSize().y;
        break;
    case WXK_PAGEDOWN:
        to.y += GetClientSize().y;
        break;
    case WXK_ESCAPE:
        // Ends a drag with nothing kept; the release that follows finds nothing to finish.
        if (HasCapture())
            ReleaseMouse();
        view_.Mouse().Cancel();
        event.Skip();
        return;
    default:
        event.Skip();
        return;
    }
    ScrollToPagePixel(to);
}

void MazeViewWindow::OnMouseWheel(wxMouseEvent& event) {
    // A notch moves the lines the desktop asks for, in cells, never more than a window.
    const int delta = event.GetWheelDelta() > 0 ? event.GetWheelDelta() : 120;
    const int lines = event.GetLinesPerAction() > 0 ? event.GetLinesPerAction() : 3;
    const bool across = event.GetWheelAxis() == wxMOUSE_WHEEL_HORIZONTAL;
    const int step = across ? line_.cx : line_.cy;
    const int window = across ? GetClientSize().x : GetClientSize().y;
    const long long move = static_cast<long long>(event.GetWheelRotation()) * lines * step / delta;
    const int by = static_cast<int>(std::clamp<long long>(move, -window, window));
    CPoint to = ScrollPosition();
    if (across) {
        to.x += by;
    } else {
        // The view scrolls one line further per whole notch.
        const int extra = view_.Mouse().WheelLines(event.GetWheelRotation()) * step;
        to.y += extra - by; // turning the wheel away from the user goes up the page
    }
    ScrollToPagePixel(to);
}

void MazeViewWindow::OnPaint(wxPaintEvent&) {
    // Before any press: a press fixes the events its drag delivers.
    KeepEveryMotion();
    wxPaintDC dc(this);
    const wxRect box = GetUpdateRegion().GetBox();
    const CRect area(box.x, box.y, box.x + box.width, box.y + box.height);
    if (RasterSurface* picture = view_.PaintClient(area))
        PaintClient(dc, *picture);
    else if (view_.HasMaze())
        FillOutside(dc); // the reason is in the status bar
    else
        PaintBricks(dc);
}

void MazeViewWindow::FillOutside(wxDC& dc) {
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_APPWORKSPACE)));
    for (wxRegionIterator it(GetUpdateRegion()); it; ++it)
        dc.DrawRectangle(it.GetRect());
}

void MazeViewWindow::PaintClient(wxDC& dc, RasterSurface& picture) {
    wxGraphicsContext* gc = dc.GetGraphicsContext();
    auto* cr = gc ? static_cast<cairo_t*>(gc->GetNativeContext()) : nullptr;
    if (cr) {
        // The damaged rectangles straight from the composed surface: no copy of the pixels.
        cairo_surface_flush(picture.CairoSurface());
        cairo_save(cr);
        for (wxRegionIterator it(GetUpdateRegion()); it; ++it) {
            const wxRect r = it.GetRect();
            cairo_rectangle(cr, r.x, r.y, r.width, r.height);
        }
        cairo_set_source_surface(cr, picture.CairoSurface(), 0, 0);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_fill(cr);
        cairo_restore(cr);
        return;
    }
    // Without a Cairo context, each damaged part goes through a bitmap.
    const wxRect whole(0, 0, picture.Width(), picture.Height());
    for (wxRegionIterator it(GetUpdateRegion()); it; ++it) {
        const wxRect client = it.GetRect().Intersect(whole);
        if (client.IsEmpty())
            continue;
        wxImage image(client.width, client.height, false);
        unsigned char* rgb = image.GetData();
        for (int y = 0; y < client.height; ++y) {
            const std::uint32_t* row = picture.Row(client.y + y) + client.x;
            for (int x = 0; x < client.width; ++x) {
                *rgb++ = static_cast<unsigned char>(row[x] >> 16);
                *rgb++ = static_cast<unsigned char>(row[x] >> 8);
                *rgb++ = static_cast<unsigned char>(row[x]);
            }
        }
        dc.DrawBitmap(wxBitmap(image), client.x, client.y);
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
        KeepEveryMotion();
        if (!HasCapture()) {
            CaptureMouse();
            GrabWithoutMotionHints();
        }
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

void MazeViewWindow::OnSetCursor(wxSetCursorEvent& event) {
    if (const auto cursor = view_.ObjectCursorAt(CPoint(event.GetX(), event.GetY())))
        event.SetCursor(WxMouse::TrackerCursor(*cursor));
    else
        event.Skip();
}
