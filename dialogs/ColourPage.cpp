#include "dialogs/ColourPage.h"

const std::array<ColourPage::Field, 8> ColourPage::kFields = {{
    {1099, &CellColours::wallPen},
    {1101, &CellColours::erased},
    {1100, &CellColours::blackened},
    {1102, &CellColours::solution},
    {1095, &CellColours::start},
    {1097, &CellColours::hiddenStart},
    {1096, &CellColours::stop},
    {1098, &CellColours::hiddenStop},
}};

void ColourPage::Load() {
    for (const Field& field : kFields)
        view_.SetButtonColor(field.id, values_.colours.*field.color);
}

void ColourPage::Save() {
    for (const Field& field : kFields) {
        COLORREF color = 0;
        if (view_.GetButtonColor(field.id, color))
            values_.colours.*field.color = color;
    }
}

void ColourPage::RestoreDefaults() {
    values_.SetDefaultColors();
    view_.MarkChanged();
    Load();
    view_.Repaint();
}
