#pragma once
#include "controls/CFOColorCellObj.h"
#include "controls/PickerModel.h"

#include <array>

// The hexagonal colour wheel of the More Colors dialog: 127 hexagons in six rings around a
// white centre, a strip of 15 greys and black below, and one cell without a place that holds
// the button face colour. A window-less model, like the 48-colour palette.
class CFODropPaletteControl : public PickerModel {
public:
    static constexpr int kCells = 144;
    static constexpr int kButtonFaceCell = 127;

    CFODropPaletteControl();

    virtual void Create(IPickerHost* host, COLORREF color, const CRect& client, bool autoHide);
    void RecalcLayout() override;
    virtual void LayoutCells(const CRect& rect);
    // Builds the wheel from the client rectangle.
    virtual void InitColors();
    void OnDraw(CDC& dc) override;
    virtual int HitTest(int x, int y);
    virtual void NotifySelect(COLORREF color, LPARAM lParam);
    virtual void NotifyCancel(COLORREF color, LPARAM lParam);

    void OnTrackMouse(CPoint point) override { OnMouseDrag(point.x, point.y); }
    void OnMouseDrag(int x, int y);
    void OnLButtonUp(CPoint point) override;
    void OnKeyDown(UINT key, bool shift) override;

    void SetCurrentColor(COLORREF color);
    COLORREF GetCurrentColor() const { return current_; }
    // Hue as a fraction of a turn; values of -1 are left as they are; lightness and
    // saturation are held to 0..1, and values that are not finite are ignored.
    void SetHSL(double hue, double lightness, double saturation);
    void GetHSL(double& hue, double& lightness, double& saturation);
    CRect GetCurrentCellRect() const;
    void SetCellMargin(int margin);
    const CFOColorCellObj& Cell(int index) const { return cells_[static_cast<size_t>(index)]; }

private:
    CFOColorCellObj& At(int index) { return cells_[static_cast<size_t>(index)]; }
    int FirstCellOf(COLORREF color) const;

    std::array<CFOColorCellObj, kCells> cells_;
    CRect layoutRect_;
    COLORREF current_ = 0;
    int columns_ = 16;
    int rows_ = 9;
    double lightness_ = 0;
    double saturation_ = 0;
    double hue_ = 0; // a fraction of a turn
};
