#pragma once
#include "view/ITextBox.h"

#include <wx/textctrl.h>

class CGridloomView;

// The view's text box: a hidden multi-line text control on the maze view's window, shown
// over the text object being edited. Losing the focus ends the editing.
class TextBoxWindow : public wxTextCtrl, public ITextBox {
public:
    static constexpr int kId = 2000;

    TextBoxWindow(wxWindow* parent, CGridloomView& view);

    void Place(const CRect& client) override;
    void SetStyle(const TextBoxStyle& style) override;
    void SetText(const std::string& text) override;
    std::string Text() const override;
    void ShowAndFocus() override;
    void Hide() override;
    bool IsShown() const override { return wxTextCtrl::IsShown(); }

private:
    void OnKillFocus(wxFocusEvent& event);

    CGridloomView& view_;
};
