#pragma once
#include "platform/CRect.h"
#include "platform/WinTypes.h"

#include <map>
#include <string>
#include <vector>

// What the view needs of the window that shows it. The window paints only the view's
// off-screen page (and, with no maze, its own background) and forwards its events.
class IViewWindow {
public:
    virtual ~IViewWindow() = default;
    // The client area in pixels and the scroll position (the page pixel at the client's
    // top-left corner).
    virtual CSize ClientSize() const = 0;
    virtual CPoint ScrollPosition() const = 0;
    // Scroll range, page step and line step in pixels.
    virtual void SetScrollSizes(CSize total, CSize page, CSize line) = 0;
    virtual void Invalidate() = 0;
    // Part of the page changed: `pagePixels` is in page pixels, not client pixels.
    virtual void InvalidatePage(const CRect& pagePixels) = 0;
    // Shows a message box once the current paint is over (none can open inside a paint).
    virtual void ShowAfterPaint(const std::string& text) = 0;
    // A line for the status bar about what the window shows (empty: nothing to say).
    virtual void ShowStatus(const std::string&) {}
    // Collapses the information pane below the maze (never during the paint itself).
    virtual void CollapseInfoPane() = 0;
    // Lets the window repaint during a long loop, after waiting `milliseconds`.
    virtual void KeepAlive(int milliseconds) = 0;
    // Gives the window the keyboard focus.
    virtual void TakeFocus() = 0;
    // Runs `command` later, from the event queue, through the frame's command routing.
    virtual void PostCommand(UINT) {}
    // One-shot timer `id`: the view's OnTimer(id) after `milliseconds`; setting it again
    // restarts it.
    virtual void SetTimer(int, int) {}
    virtual void KillTimer(int) {}
};

// The window of a view nobody shows (tests, exports without a window): records what it is
// asked to do.
class HeadlessViewWindow : public IViewWindow {
public:
    CSize ClientSize() const override { return client; }
    CPoint ScrollPosition() const override { return scroll; }
    void SetScrollSizes(CSize t, CSize p, CSize l) override {
        total = t;
        page = p;
        line = l;
    }
    void Invalidate() override { ++invalidations; }
    void InvalidatePage(const CRect& r) override {
        lastInvalidated = r;
        ++invalidations;
    }
    void ShowAfterPaint(const std::string& text) override { messages.push_back(text); }
    void ShowStatus(const std::string& text) override { status = text; }
    void CollapseInfoPane() override { ++collapses; }
    void KeepAlive(int) override { ++keepAlives; }
    void TakeFocus() override { ++focusRequests; }
    void PostCommand(UINT command) override { posted.push_back(command); }
    void SetTimer(int id, int milliseconds) override { timers[id] = milliseconds; }
    void KillTimer(int id) override { timers.erase(id); }

    CSize client{800, 600};
    CPoint scroll;
    CSize total, page, line;
    CRect lastInvalidated;
    int invalidations = 0;
    int collapses = 0;
    int keepAlives = 0;
    int focusRequests = 0;
    std::vector<std::string> messages;
    std::string status;
    std::vector<UINT> posted;
    std::map<int, int> timers; // running timers and their periods
};
