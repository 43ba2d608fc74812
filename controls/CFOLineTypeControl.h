#pragma once
#include "controls/CFOLineTypeCellObj.h"
#include "controls/PickerModel.h"

#include <array>

// The line-type picker: the five pen styles in one column, a window-less model like the
// 48-colour palette, whose value is a pen style.
class CFOLineTypeControl : public PickerModel {
public:
    static constexpr int kCells = 5;

    CFOLineTypeControl();

    virtual void Create(IPickerHost* host, int lineType, const CRect& client, bool autoHide);
    void RecalcLayout() override;
    virtual void LayoutCells(const CRect& rect);
    virtual void InitLineTypes();
    void OnDraw(CDC& dc) override;
    virtual int HitTest(int x, int y);
    virtual void NotifySelect(int lineType, LPARAM lParam);
    virtual void NotifyCancel(int lineType, LPARAM lParam);

    void OnTrackMouse(CPoint point) override;
    void OnLButtonUp(CPoint point) override;
    void OnKeyDown(UINT key, bool shift) override;

    void SetCurrentLineType(int lineType);
    int GetCurrentLineType() const { return current_; }
    void SetCellMargin(int margin);
    const CFOLineTypeCellObj& Cell(int index) const { return cells_[static_cast<size_t>(index)]; }

private:
    CFOLineTypeCellObj& At(int index) { return cells_[static_cast<size_t>(index)]; }
    int FindCell(int lineType) const;

    std::array<CFOLineTypeCellObj, kCells> cells_;
    CRect layoutRect_;
    int current_ = 0;
    int rows_ = 5;
    int columns_ = 1;
};
