#pragma once
#include "controls/CFOColorCellObj.h"
#include "controls/PickerModel.h"

#include <array>

// The drop-down palette of 48 fixed colours (8 columns, 6 rows) with a "Custom..." strip
// below: the window-less model its host window forwards mouse, keys, size and paint to.
class CFODropColorPaletteControl : public PickerModel {
public:
    static constexpr int kCells = 48;

    CFODropColorPaletteControl();

    virtual void Create(IPickerHost* host, COLORREF color, const CRect& client, bool popup);
    void RecalcLayout() override;
    virtual void LayoutCells(const CRect& rect);
    virtual void InitColors();
    void OnDraw(CDC& dc) override;
    // The cell under the point, which becomes current; -1 when none.
    virtual int HitTest(int x, int y);
    virtual void NotifySelect(COLORREF color, LPARAM lParam);
    virtual void NotifyCancel(COLORREF color, LPARAM lParam);

    void OnTrackMouse(CPoint point) override;
    void OnLButtonUp(CPoint point) override;
    void OnKeyDown(UINT key, bool shift) override;

    void SetCurrentColor(COLORREF color);
    COLORREF GetCurrentColor() const { return current_; }
    // Bounding rectangle of the cell holding the current colour; empty when none does.
    CRect GetCurrentRect() const;
    void SetCellInset(int inset);
    const CFOColorCellObj& Cell(int index) const { return cells_[static_cast<size_t>(index)]; }
    const CRect& GetCellArea() const { return cellArea_; }

    static COLORREF TableColor(int cell);

private:
    int FindCell(COLORREF color) const;

    std::array<CFOColorCellObj, kCells> cells_;
    CRect cellArea_;
    COLORREF current_ = 0;
    int rows_ = 6;
    int columns_ = 8;
    int cellInset_ = 1;
};
