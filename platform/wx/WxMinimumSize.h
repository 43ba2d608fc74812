#pragma once

#include <wx/gdicmn.h>

class wxTopLevelWindow;
class wxWindow;

// Holds a top-level window at or above its minimum size (wxWindow::GetMinSize) even where
// no window manager enforces the size hints: a resize below it is answered by resizing the
// window back, before the toolkit lays out its parts crushed, which it reports as criticals.
class WxMinimumSize {
public:
    // `window` must outlive this object (make it a member of the window).
    explicit WxMinimumSize(wxTopLevelWindow& window);
    ~WxMinimumSize();
    WxMinimumSize(const WxMinimumSize&) = delete;
    WxMinimumSize& operator=(const WxMinimumSize&) = delete;

    // The least size the toolkit can draw `window` in (its best size may say less, as a menu
    // bar's does).
    static wxSize LeastOf(wxWindow& window);

private:
    static int OnConfigure(void* widget, void* event, void* self);

    wxTopLevelWindow& window_;
    unsigned long handler_ = 0;
};
