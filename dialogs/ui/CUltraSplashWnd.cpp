#include "dialogs/ui/CUltraSplashWnd.h"

#include "res/PixelPicture.h"

#include <wx/cursor.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/image.h>

#include <gtk/gtk.h>

#include <algorithm>
#include <chrono>

namespace {

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

wxBitmap Black(int width, int height) {
    wxBitmap bitmap(std::max(width, 1), std::max(height, 1));
    wxMemoryDC dc(bitmap);
    dc.SetBackground(*wxBLACK_BRUSH);
    dc.Clear();
    return bitmap;
}

} // namespace

CUltraSplashWnd::CUltraSplashWnd(const PixelPicture& picture, int effect, std::uint32_t seed,
                                 std::function<void()> onFirstPaint)
    : wxFrame(nullptr, wxID_ANY, "UltraSplashWnd", wxDefaultPosition,
              wxSize(picture.width, picture.height),
              wxBORDER_NONE | wxSTAY_ON_TOP | wxFRAME_NO_TASKBAR),
      stepper_(picture.width, picture.height, seed), picture_(ToBitmap(picture)),
      revealed_(Black(picture.width, picture.height)), timer_(this),
      onFirstPaint_(std::move(onFirstPaint)), holdTimer_(this) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetClientSize(picture.width, picture.height);
    SetCursor(wxCursor(wxCURSOR_BLANK));
    stepper_.SetEffect(effect);
    Bind(wxEVT_PAINT, &CUltraSplashWnd::OnPaint, this);
    Bind(wxEVT_TIMER, &CUltraSplashWnd::OnTimer, this, timer_.GetId());
    Bind(
        wxEVT_TIMER,
        [this](wxTimerEvent&) {
            held_ = true;
            if (auto then = std::move(afterReveal_))
                then();
        },
        holdTimer_.GetId());
    Bind(wxEVT_CLOSE_WINDOW, &CUltraSplashWnd::OnClose, this);
    Centre();
    Show();
    // The toolkit keeps a borderless window's size only once the window is shown.
    SetSize(GetPosition().x, GetPosition().y, picture.width, picture.height);
    revealStart_ = std::chrono::steady_clock::now();
    timer_.Start(stepper_.StepInterval());
}

CUltraSplashWnd::~CUltraSplashWnd() {
    timer_.Stop();
    holdTimer_.Stop();
}

void CUltraSplashWnd::AfterReveal(std::function<void()> then) {
    if (held_ || stepper_.Done()) {
        then();
        return;
    }
    afterReveal_ = std::move(then);
}

void CUltraSplashWnd::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    dc.DrawBitmap(revealed_, 0, 0);
    if (!painted_) {
        painted_ = true;
        if (onFirstPaint_)
            CallAfter(onFirstPaint_);
    }
}

void CUltraSplashWnd::Reveal(const CUltraSplash::Rect& part) {
    const wxRect area = wxRect(part.x, part.y, part.width, part.height)
                            .Intersect(wxRect(0, 0, picture_.GetWidth(), picture_.GetHeight()));
    if (area.IsEmpty())
        return;
    wxMemoryDC from(picture_);
    wxMemoryDC to(revealed_);
    to.Blit(area.x, area.y, area.width, area.height, &from, area.x, area.y);
    to.SelectObject(wxNullBitmap);
    RefreshRect(area, false);
}

void CUltraSplashWnd::OnTimer(wxTimerEvent&) {
    if (stepper_.Done())
        return;
    // The main window opens while the picture reveals; where no window manager keeps the
    // splash on top, it raises itself now and then.
    if (++ticks_ % kRaiseEveryTicks == 0)
        StayOnTop();
    // Timers fire less often than the reveal steps: the steps due by now run together, so
    // the reveal takes the time its effect means it to.
    const auto due = (std::chrono::steady_clock::now() - revealStart_) /
                         std::chrono::milliseconds(stepper_.StepInterval()) +
                     1;
    while (stepper_.Revealing() && steps_ < due) {
        ++steps_;
        if (const auto part = stepper_.Step())
            Reveal(*part);
    }
    if (!stepper_.Revealing()) {
        StayOnTop();
        timer_.Stop();
        Reveal({0, 0, picture_.GetWidth(), picture_.GetHeight()});
        holdTimer_.StartOnce(kHoldMs);
    }
}

void CUltraSplashWnd::StayOnTop() {
    // The toolkit's own raise is a request to the window manager; this restacks directly.
    if (GdkWindow* window = GetHandle() ? gtk_widget_get_window(GetHandle()) : nullptr)
        gdk_window_raise(window);
}

void CUltraSplashWnd::OnClose(wxCloseEvent& event) {
    if (!stepper_.MayClose() && event.CanVeto()) {
        event.Veto();
        return;
    }
    Destroy();
}

void CUltraSplashWnd::HideSplash() {
    stepper_.SetDone();
    timer_.Stop();
    Hide();
}

void CUltraSplashWnd::CloseSplash(wxWindow* next) {
    Close();
    if (next) {
        next->Raise();
        next->SetFocus();
    }
}
