#pragma once
#include "platform/CRect.h"
#include "platform/LOGFONT.h"
#include "platform/WinTypes.h"

#include <string>

// How the text box shows the text being edited: the font at the screen's pixel height, the
// colour and the size in twips of its character format.
struct TextBoxStyle {
    LOGFONT font;
    COLORREF colour = 0;
    int twips = 0;
};

// The view's one text box, in which the text of a text object is typed. It lies over the
// object on the view's window; the view says where, how it looks and what it holds.
class ITextBox {
public:
    virtual ~ITextBox() = default;
    // Moves the box to `client` (client pixels) on top of the window's page.
    virtual void Place(const CRect& client) = 0;
    virtual void SetStyle(const TextBoxStyle& style) = 0;
    virtual void SetText(const std::string& text) = 0;
    virtual std::string Text() const = 0;
    // Shows the box and gives it the keyboard focus.
    virtual void ShowAndFocus() = 0;
    virtual void Hide() = 0;
    virtual bool IsShown() const = 0;
};

// The box of a view without a window: remembers what it was told.
class HeadlessTextBox : public ITextBox {
public:
    void Place(const CRect& client) override { placed = client; }
    void SetStyle(const TextBoxStyle& s) override { style = s; }
    void SetText(const std::string& t) override { text = t; }
    std::string Text() const override { return text; }
    void ShowAndFocus() override { shown = true; }
    void Hide() override { shown = false; }
    bool IsShown() const override { return shown; }

    CRect placed;
    TextBoxStyle style;
    std::string text;
    bool shown = false;
};
