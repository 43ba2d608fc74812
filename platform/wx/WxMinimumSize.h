#pragma once
#include <wx/gdicmn.h>

class wxTopLevelWindow;
class wxWindow;

// Holds a top-level window at or above its minimum size (wxWindow::GetMinSize) even where
// no window manager enforces the size hints. A resize below the minimum is answered by
// resizing the window back before the toolkit hears of the smaller size: laid out in it, the
// toolkit would crush the menu bar and report criticals.
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
    static void OnRealize(void* widget, void* self);
    static int Filter(void* xevent, void* event, void* self);
    void Watch();

    wxTopLevelWindow& window_;
    void* watched_ = nullptr; // the window's GdkWindow while this filters its events
    unsigned long realizeHandler_ = 0;
};
