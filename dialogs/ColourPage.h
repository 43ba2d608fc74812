#pragma once
#include "document/PP6.h"
#include "forms/ControlIds.h"

#include <array>

// What the colour page's window is asked to do with its eight buttons.
class IColourPageView {
public:
    virtual ~IColourPageView() = default;
    // The colour of button `id`; false when the page has no such button.
    virtual bool GetButtonColor(int id, COLORREF& color) const = 0;
    virtual void SetButtonColor(int id, COLORREF color) = 0;
    virtual void MarkChanged() = 0;
    virtual void Repaint() = 0;
};

// The colour page: eight drop colour buttons, each showing one of the cell colours, and
// "Restore Defaults". The page's values live in PP6; the buttons only while it shows.
class ColourPage {
public:
    struct Field {
        int id;
        COLORREF CellColours::*color;
    };
    static constexpr int kRestoreDefaultsId = ControlIds::Colour::kRestoreDefaults;
    // In the page's member order.
    static const std::array<Field, 8> kFields;

    ColourPage(PP6& values, IColourPageView& view) : values_(values), view_(view) {}

    // Values into the buttons.
    void Load();
    // Buttons into the values; a button the page lacks leaves its value alone.
    void Save();
    void RestoreDefaults();

private:
    PP6& values_;
    IColourPageView& view_;
};
