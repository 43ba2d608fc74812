#include "dialogs/ColourPage.h"

const std::array<ColourPage::Field, 8> ColourPage::kFields = {{
    {ControlIds::Colour::kWallPen, &CellColours::wallPen},
    {ControlIds::Colour::kErased, &CellColours::erased},
    {ControlIds::Colour::kBlackened, &CellColours::blackened},
    {ControlIds::Colour::kSolution, &CellColours::solution},
    {ControlIds::Colour::kStart, &CellColours::start},
    {ControlIds::Colour::kHiddenStart, &CellColours::hiddenStart},
    {ControlIds::Colour::kStop, &CellColours::stop},
    {ControlIds::Colour::kHiddenStop, &CellColours::hiddenStop},
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
