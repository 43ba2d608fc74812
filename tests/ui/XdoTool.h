#pragma once
#include <wx/app.h>
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
    return std::system(("xdotool " + args + " >/dev/null 2>&1").c_str()) == 0;
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

inline void Pump(int milliseconds) {
    PumpUntil([] { return false; }, milliseconds);
}

// The screen point of a point in the window's client area.
inline std::string At(wxWindow& window, int x, int y) {
    const wxPoint p = window.ClientToScreen(wxPoint(x, y));
    return std::to_string(p.x) + " " + std::to_string(p.y);
}

// Moves there and clicks. No --sync: it waits for a motion that never comes when the pointer
// is already in place.
inline bool Click(wxWindow& window, int x, int y) {
    return Run("mousemove " + At(window, x, y) + " sleep 0.05 click 1");
}

} // namespace xdo
