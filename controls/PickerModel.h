#pragma once
#include "platform/CFont.h"
#include "platform/CRect.h"
#include "platform/VirtualKeys.h"

#include <string>

class CDC;
class IPickerHost;

// What the window-less picker models (48 colours, colour wheel, line types) share: their host,
// the "Custom..." strip, the frame style, the font, and saving to and loading from a file.
class PickerModel {
public:
    PickerModel(int margin, bool hasCustomEntry);
    virtual ~PickerModel() = default;
    PickerModel(const PickerModel&) = delete;
    PickerModel& operator=(const PickerModel&) = delete;

    // The models keep no state worth storing: a saved file is empty and loading changes
    // nothing. False when the file cannot be opened.
    bool SaveToFile(const std::string& path);
    bool LoadFromFile(const std::string& path);

    virtual void OnDraw(CDC& dc) = 0;
    virtual void RecalcLayout() = 0;
    // The mouse while the host holds the capture (and right after the button went down).
    virtual void OnTrackMouse(CPoint point) = 0;
    virtual void OnLButtonUp(CPoint point) = 0;
    virtual void OnKeyDown(UINT key, bool shift) = 0;
    virtual void OnCancelMode() {}

    void SetClientRect(const CRect& rect) { clientRect_ = rect; }
    const CRect& GetClientRect() const { return clientRect_; }
    void OnSize() { RecalcLayout(); }
    bool IsPopup() const { return popup_; }
    void SetCustomEntry(bool on) { hasCustom_ = on; }
    bool HasCustomEntry() const { return hasCustom_; }
    void SetMargin(int margin) { margin_ = margin; }
    void SetBorderStyle(int style) { borderStyle_ = style; }
    const CRect& GetCustomRect() const { return customRect_; }
    bool IsCustomPressed() const { return customPressed_; }

protected:
    void Attach(IPickerHost* host, const CRect& client, bool popup);
    void Post(UINT message, WPARAM wParam, LPARAM lParam) const;
    void HideHost() const;
    // Asks the host to repaint the rectangle with 2 pixels around it.
    void InvalidateAround(const CRect& rect) const;
    // Lays the strip and its separator out at the bottom of `r` and takes them off it
    // (separator 22..18 above the bottom, the strip the last 18 pixels, `gap` taken in all).
    void LayoutCustomStrip(CRect& r, bool withSeparator, int gap);
    void SetCustomPressed(bool pressed);
    void DrawSeparator(CDC& dc) const;
    // The strip with its text; with `swatch` a sample of `color` at its right end.
    void DrawCustomEntry(CDC& dc, bool swatch, COLORREF color) const;
    void DrawCustomPressed(CDC& dc) const;
    CFont* Font() { return &font_; }
    // A keyboard step from cell `from`: `step` gives the next cell; while that cell shows the
    // value already current the step goes on (two cells of one colour would otherwise hold the
    // selection), at most `count` times.
    template <typename Step, typename Same>
    static int StepPast(int from, int count, Step step, Same sameAsCurrent) {
        int target = step(from);
        for (int i = 1; i < count && sameAsCurrent(target); ++i)
            target = step(target);
        return target;
    }
    // The cell an arrow key moves to in a grid of `columns` x `rows` (`count` cells): Left
    // stops at the first cell, Right wraps from the last to the first, Up and Down wrap
    // within their column.
    static int GridStep(int from, UINT key, int columns, int rows, int count);
    // Escape (or Cancel) and Return: in a popup they `cancel` or `choose` the current value,
    // elsewhere nothing. True when `key` was one of them.
    template <typename Cancel, typename Choose>
    bool PopupEndKey(UINT key, Cancel cancel, Choose choose) const {
        if (key != 3 /* VK_CANCEL */ && key != VK_ESCAPE && key != VK_RETURN)
            return false;
        if (popup_) {
            if (key == VK_RETURN)
                choose();
            else
                cancel();
        }
        return true;
    }
    // The button let go: over a cell it chooses that cell (`select`), over the custom strip it
    // asks for "Custom..." (`custom`); the strip stops looking pressed either way.
    template <typename Cells, typename Select, typename Custom>
    void ReleaseOver(CPoint point, const Cells& cells, Select select, Custom custom) {
        SetCustomPressed(false);
        for (const auto& cell : cells) {
            if (cell.HitTest(point.x, point.y)) {
                select(cell);
                return;
            }
        }
        if (hasCustom_ && customRect_.PtInRect(point))
            custom();
    }
    // Held over the custom strip and no cell (`hitCell` < 0), the strip looks pressed.
    void PressCustomOver(CPoint point, int hitCell) {
        if (hitCell < 0 && hasCustom_ && customRect_.PtInRect(point))
            SetCustomPressed(true);
    }
    // Tells the host of a choice or a cancel; a popup then goes.
    void Notify(UINT message, WPARAM value, LPARAM lParam) const;
    // Tells the host of "Custom..."; a popup then goes.
    void NotifyCustom(UINT message, WPARAM value) const;
    // A cell grid's area: the client less the margins (4 pixels at the top), the custom
    // strip (see LayoutCustomStrip) and, in a popup, its 6-pixel caption bar below 4 pixels.
    CRect LayoutGridArea(bool withSeparator, int gap);
    CRect CaptionBarRect() const;

    IPickerHost* host_ = nullptr;
    CRect clientRect_;
    CRect customRect_;
    CRect savedCustomRect_;
    CRect separatorRect_;
    bool popup_ = false;
    bool customPressed_ = false;
    std::string customText_ = "Custom...";
    bool hasCustom_;
    int margin_;
    int borderStyle_ = 2;

private:
    CFont font_;
};
