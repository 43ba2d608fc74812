#pragma once
#include "controls/CFOCustomStatic.h"
#include "controls/IStaticHost.h"
#include "controls/ui/OffscreenPainter.h"

#include <wx/window.h>

#include <memory>

// The window of an owner-drawn static (custom or image static): it paints what the model
// draws and gives it its text, font and size.
class CustomStaticWindow : public wxWindow, public IStaticHost {
public:
    CustomStaticWindow(wxWindow* parent, wxWindowID id, const wxString& text, const wxPoint& pos,
                       const wxSize& size, std::unique_ptr<CFOCustomStatic> model);

    CFOCustomStatic& Model() { return *model_; }

    std::string WindowText() const override;
    CFont* WindowFont() override;
    CRect ClientRect() const override;
    void Resize(CSize size) override;
    void Invalidate() override { Refresh(false); }

private:
    void OnPaint(wxPaintEvent& event);

    std::unique_ptr<CFOCustomStatic> model_;
    OffscreenPainter painter_;
};
