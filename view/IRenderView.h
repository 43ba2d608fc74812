#pragma once

class CDC;
class CGridloomDoc;
class PrintPagePlan;
struct MazeExtent;

// The view as exports, the drawing copy and printing reach it: render the document's page
// into a context they made, with the display state they set around it.
class IRenderView {
public:
    virtual CGridloomDoc* GetDocument() const = 0;
    // The maze's extent for polygon templates; false for circular ones (extent = the page).
    virtual bool BuildCellGeometry() = 0;
    virtual const MazeExtent& Extent() const = 0;
    virtual int BandHeight() const = 0;

    // 0 hides the selection marks, -1 brings them back.
    virtual void SetActiveLayer(int n) = 0;
    virtual bool ShowSolution() const = 0;
    virtual void SetShowSolution(bool on) = 0;
    // Cleared while a printer, an export or a copy renders through OnDraw.
    virtual void SetScreenFlag(bool screen) = 0;
    virtual void OnDraw(CDC& dc) = 0;

    // One page of `plan` between the printer context's StartPage and EndPage.
    virtual bool PrintPage(CDC& dc, const PrintPagePlan& plan, int page) = 0;
    // Around every print run: the objects lose their marks while the pages print.
    virtual void BeginPrinting() = 0;
    virtual void EndPrinting() = 0;

protected:
    ~IRenderView() = default;
};
