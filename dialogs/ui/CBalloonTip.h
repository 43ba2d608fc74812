#pragma once
#include "dialogs/BalloonGeometry.h"

#include <wx/font.h>
#include <wx/popupwin.h>
#include <wx/region.h>
#include <wx/timer.h>

class wxFrame;

// A self-closing speech balloon with a pointer. Only one is shown at a time; it closes after its
// display time or on a click, and deletes itself with its hidden owner.
class CBalloonTip : public wxPopupWindow {
public:
    struct Request {
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
        wxString text;
        wxFont font;
        int seconds = 0;
        bool pointerDown = true;
    };

    // The new balloon, or nullptr when one is shown already or it cannot be shaped.
    static CBalloonTip* Show(const Request& request);
    static void Hide();
    static CBalloonTip* Current();

    const BalloonShape& Shape() const { return shape_; }
    bool Shaped() const { return shaped_; }

    ~CBalloonTip() override;

private:
    CBalloonTip(wxFrame* owner, const Request& request);
    bool BuildShape();
    void Close();
    void OnPaint(wxPaintEvent& event);
    void OnTimer(wxTimerEvent& event);
    void OnClick(wxMouseEvent& event);
    wxString Wrapped(wxDC& dc) const;

    wxFrame* owner_;
    Request request_;
    BalloonShape shape_;
    wxRegion region_;
    wxTimer timer_;
    bool shaped_ = false;
};
