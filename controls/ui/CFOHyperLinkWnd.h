#pragma once
#include "controls/CFOHyperLink.h"
#include "controls/IHyperLinkHost.h"
#include "controls/ui/OffscreenPainter.h"

#include <wx/window.h>

// The window of a hyperlink static: a hand cursor, the address as tooltip, and the link
// model's text painted over the parent's background colour.
class CFOHyperLinkWnd : public wxWindow, public IHyperLinkHost {
public:
    CFOHyperLinkWnd(wxWindow* parent, wxWindowID id, const wxString& text, const wxPoint& pos,
                    const wxSize& size, UINT style = 0, const std::string& url = {});
    ~CFOHyperLinkWnd() override;

    CFOHyperLink& Link() { return link_; }

    std::string WindowText() const override;
    void SetWindowText(const std::string& text) override;
    CRect WindowRect() const override;
    void MoveTo(const CRect& rect) override;
    CSize MeasureText(const std::string& text) override;
    void SetTooltip(const std::string& text) override;
    void SetCapture(bool capture) override;
    void Redraw() override { Refresh(false); }
    void Bell() override;

private:
    void OnPaint(wxPaintEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);

    CFOHyperLink link_;
    OffscreenPainter painter_;
};
