#pragma once
#include <wx/app.h>
#include <wx/image.h>
#include <wx/toplevel.h>
#include <wx/utils.h>
#include <wx/window.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>

// Real pointer and key events through xdotool, and waiting for the toolkit to see them.
namespace xdo {

inline bool Available() {
    return std::system("command -v xdotool >/dev/null 2>&1") == 0;
}

inline bool Run(const std::string& args) {
    return std::system(("timeout 30 xdotool " + args + " >/dev/null 2>&1").c_str()) == 0;
}

// Handles events until `done` holds or the time runs out; true when it held.
inline bool PumpUntil(const std::function<bool()>& done, int milliseconds = 2000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end) {
        wxTheApp->Yield(true);
        wxTheApp->ProcessPendingEvents();
        if (done())
            return true;
        wxMilliSleep(10);
    }
    return done();
}

// Only for watching that nothing happens for a while (an idle window stays idle); a wait for
// something to happen waits on it with PumpUntil.
inline void Pump(int milliseconds) {
    PumpUntil([] { return false; }, milliseconds);
}

// Waits until the program has handled every input event the X server sent it so far, and
// what its handlers posted back to the event loop: for checking that an input changed
// nothing, where there is no state to wait for. xdotool has ended with a round trip of its
// own, so the server has made its events before this asks.
bool InputHandled(int milliseconds = 5000);
// Its two parts, for a caller that must not run the event loop itself: a round trip to the
// server, which brings every event it sent before into the client's queue; and whether the
// toolkit and the application have anything queued. A lone pointer motion waits in GDK's
// queue for the next frame while nothing shows as pending, so a caller looks a few times
// over more than a frame.
void SyncWithServer();
bool NothingPending();

// Destroys a top-level window and waits until the toolkit has let it go.
inline bool Destroy(wxWindow* window, int milliseconds = 5000) {
    if (!window)
        return true;
    window->Destroy();
    return PumpUntil(
        [window] {
            wxTheApp->ProcessIdle();
            return !wxTopLevelWindows.Find(window);
        },
        milliseconds);
}

// From any thread (it only runs xdotool): waits until a visible window whose name matches
// `name` (a regular expression) shows and gives it the keyboard focus, so that keys pressed
// next reach it. Without a window manager the focus otherwise follows the pointer.
inline bool FocusWindowNamed(const std::string& name) {
    return Run("search --sync --onlyvisible --name '" + name + "' windowfocus --sync");
}

// True when the X server shows the window's top-level window and the toolkit has mapped the
// window itself: only then can a pointer event reach it.
bool Viewable(wxWindow& window);
// Where the server has the pointer.
wxPoint Pointer();
// Lets go of every mouse button still held, so that a test that stopped half-way through a
// drag does not leave the next one with a pressed button.
void ReleaseButtons();
// What the server shows of a screen rectangle (read from the root window, never through a
// toolkit screen context, which keeps repeating its first picture).
wxImage ServerImage(const wxRect& area);

// True when the server shows `colour` at a screen point.
inline bool ServerShows(wxPoint at, const wxColour& colour) {
    const wxImage pixel = ServerImage(wxRect(at, wxSize(1, 1)));
    return pixel.GetRed(0, 0) == colour.Red() && pixel.GetGreen(0, 0) == colour.Green() &&
           pixel.GetBlue(0, 0) == colour.Blue();
}

// Waits until the window is viewable and its place on the screen has stopped changing from
// one pass of the event loop to the next (a new window is laid out after it is mapped).
inline bool Settled(wxWindow& window, int milliseconds = 5000) {
    wxRect last;
    return PumpUntil(
        [&] {
            if (!Viewable(window))
                return false;
            const wxRect now = window.GetScreenRect();
            const bool same = now == last;
            last = now;
            return same;
        },
        milliseconds);
}

// Moves the pointer to a screen point and waits until the server has it there. No --sync:
// it waits for a motion that never comes when the pointer is already in place.
inline bool MoveToScreen(wxPoint to) {
    if (!Run("mousemove " + std::to_string(to.x) + " " + std::to_string(to.y)))
        return false;
    return PumpUntil([to] { return Pointer() == to; });
}

// The same for a point of a window's client area, once the window has settled.
inline bool MoveTo(wxWindow& window, int x, int y) {
    return Settled(window) && MoveToScreen(window.ClientToScreen(wxPoint(x, y)));
}

// The screen point of a point in the window's client area.
inline std::string At(wxWindow& window, int x, int y) {
    const wxPoint p = window.ClientToScreen(wxPoint(x, y));
    return std::to_string(p.x) + " " + std::to_string(p.y);
}

// Moves there and clicks, once the window takes events and the pointer is in place.
inline bool Click(wxWindow& window, int x, int y) {
    return MoveTo(window, x, y) && Run("click 1");
}

} // namespace xdo
