#pragma once
#include "platform/CPoint.h"
#include "view/CellHitTester.h"

#include <optional>

class CDC;
class CGridloomDoc;
class CLogicalRectTracker;
class CRect;
class CRgn;
class IClipboard;
class ITextBox;
class IViewWindow;
class PendingPicture;
class ViewOverlay;

// The view as its mouse tools, gesture strokes and undo reach it: the document, the window
// (scroll position, invalidation, focus, timers), the overlay, the page's mapping, the
// active layer, single-cell redraws, the text box and the clipboard. The view implements it;
// the helpers never see the rest of the view.
class IToolView {
public:
    virtual CGridloomDoc* GetDocument() const = 0;
    virtual IViewWindow& Window() const = 0;
    virtual ViewOverlay& Overlay() = 0;
    // Page pixels (as the objects' frames keep them) to the page's logical units.
    virtual void PagePixelsToLogical(CRect& rect) = 0;

    virtual int ActiveLayer() const = 0;
    // n > 0 makes layer n active; n < 0 keeps the layer. Either way the objects of the active
    // layer (of none for n = 0) are marked as pickable.
    virtual void SetActiveLayer(int n) = 0;
    virtual int CurrentTool() const = 0;

    // The cell under a pixel of the off-screen page.
    virtual std::optional<CellHitTester::Hit> HitTestCell(CPoint pagePixel,
                                                          CRgn* region = nullptr) = 0;
    // A null dc paints into the off-screen page and invalidates the cell.
    virtual bool RedrawCell(CDC* dc, int column, int row, int grid, int pass) = 0;
    virtual bool RedrawCellNeighbours(CDC* dc, int column, int row, int grid, int pass) = 0;

    virtual ITextBox& TextBox() const = 0;
    virtual void OpenTextBox(const CRect& pagePixels, const CLogicalRectTracker& object) = 0;
    virtual void EndTextEditing() = 0;

    virtual IClipboard& Clipboard() const = 0;
    virtual bool CanPaste() const = 0;
    virtual bool OnEditPaste() = 0;
    // The picture a paste left for the picture tool.
    virtual PendingPicture& Pending() = 0;

protected:
    ~IToolView() = default;
};
