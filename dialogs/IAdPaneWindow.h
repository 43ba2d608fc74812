#pragma once
#include <string>

// What the information pane's controller needs of its window: a browser that shows pages,
// the window's text, and the pane's height in the main frame.
class IAdPaneWindow {
public:
    virtual ~IAdPaneWindow() = default;
    // Shows the page at `url` (the browser sends the program's agent text).
    virtual void Navigate(const std::string& url) = 0;
    virtual void SetWindowText(const std::string& text) = 0;
    // Asks the frame for this pane height and minimum (the frame clamps to what fits).
    virtual void SetPaneHeight(int height, int minimum) = 0;
    // The frame's current minimum pane height.
    virtual int MinimumPaneHeight() const = 0;
    // Repaints the pane at once.
    virtual void Repaint() = 0;
    // A short note in the main window's status bar.
    virtual void ShowStatus(const std::string& /*text*/) {}
};
