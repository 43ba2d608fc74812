#pragma once
#include "dialogs/CUltraSplash.h"

#include <wx/bitmap.h>
#include <wx/frame.h>
#include <wx/timer.h>

#include <chrono>
#include <functional>

struct PixelPicture;

// The start-up picture's window: borderless, centred, above the others and without a mouse
// pointer. A timer runs the reveal one step at a time into a kept picture, which every paint
// shows. It refuses to close until it has been hidden; the first paint tells the program to go
// on starting.
class CUltraSplashWnd : public wxFrame {
public:
    // `effect` 0 picks one at random from `seed`.
    CUltraSplashWnd(const PixelPicture& picture, int effect, std::uint32_t seed,
                    std::function<void()> onFirstPaint);
    ~CUltraSplashWnd() override;

    // Stops the reveal and hides the window.
    void HideSplash();
    // Closes the hidden window and brings `next` (when given) to the front.
    void CloseSplash(wxWindow* next);
    // Runs `then` once the whole picture has been on screen for kHoldMs (at once if it has).
    void AfterReveal(std::function<void()> then);
    static constexpr int kHoldMs = 500;

    const CUltraSplash& Stepper() const { return stepper_; }

private:
    void OnPaint(wxPaintEvent& event);
    void OnTimer(wxTimerEvent& event);
    void OnClose(wxCloseEvent& event);
    void Reveal(const CUltraSplash::Rect& part);
    void StayOnTop();

    CUltraSplash stepper_;
    wxBitmap picture_;
    wxBitmap revealed_;
    wxTimer timer_;
    std::function<void()> onFirstPaint_;
    std::function<void()> afterReveal_;
    wxTimer holdTimer_;
    static constexpr int kRaiseEveryTicks = 20;
    int ticks_ = 0;
    long long steps_ = 0;
    std::chrono::steady_clock::time_point revealStart_;
    bool painted_ = false;
    bool held_ = false;
};
