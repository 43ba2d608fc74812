#pragma once
#include "maze/ICellPainter.h"
#include "platform/CDocument.h"
#include "platform/CRect.h"
#include "platform/CRectTracker.h"
#include "platform/IClipboard.h"
#include "tiles/CBMPTiler.h"
#include "tiles/TileSetCatalogue.h"
#include "view/CellAppearance.h"
#include "view/CellHitTester.h"
#include "view/ClientPicture.h"
#include "view/GeometryCache.h"
#include "view/GestureCapture.h"
#include "view/IPictureSizeDialog.h"
#include "view/IRenderView.h"
#include "view/ITextBox.h"
#include "view/IToolView.h"
#include "view/IViewWindow.h"
#include "view/MazeCellTool.h"
#include "view/ObjectFrameTracking.h"
#include "view/PendingPicture.h"
#include "view/PictureLayerTool.h"
#include "view/PrintPagePlan.h"
#include "view/ScreenBuffer.h"
#include "view/TextTool.h"
#include "view/ViewMouseController.h"
#include "view/ViewOverlay.h"
#include "view/ViewUndo.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CDC;
class CLogicalRectTracker;
class CRaster;
class IClipboard;
class IPrintJobs;
class IPrintPageService;
class CGridloomDoc;
class CRgn;
class CellPainter;
class CMouseGesture;
class IEditToolbar;

// The maze view: renders the document's page (watermark, layers, cells, credit line) through
// a device context, into its off-screen page for the screen or straight into a printer or
// export context, and finds the cell under a point. Its window only copies the page to the
// screen and forwards events; single-cell redraws and animation paint into the page and
// invalidate the cell's rectangle.
class CGridloomView : public CView, public ICellPainter, public IToolView, public IRenderView {
public:
    static constexpr int kLayerBackground = 1;
    static constexpr int kLayerMaze = 2;
    static constexpr int kLayerForeground = 3;
    static constexpr int kLayerText = 4;

    CGridloomView();
    ~CGridloomView() override;

    CGridloomDoc* GetDocument() const override;
    // The window showing the view; a headless one until a window attaches.
    void SetWindow(IViewWindow* window);
    IViewWindow& Window() const override { return *window_; }

    // Framework hooks.
    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, long hint) override;
    // The window's paint: renders the off-screen page when the document or the page asks for
    // it. Null when there is no maze to show (the window shows its empty background).
    RasterSurface* PaintScreen();
    // The window's paint with the overlay: the visible page and the overlay over it, composed
    // in client pixels for `area` of the client. Null when PaintScreen has nothing to show.
    RasterSurface* PaintClient(const CRect& area);
    // What is drawn over the page on the screen only.
    ViewOverlay& Overlay() override { return overlay_; }
    // The document has grids to show.
    bool HasMaze() const;
    // The status line while the page is too large for the screen's off-screen page.
    static constexpr const char* kPageTooLarge =
        "The page is too large to show on the screen at this size.";
    // The status line after Paste found no picture on the Clipboard to take.
    static constexpr const char* kNothingToPaste =
        "Nothing to paste: the Clipboard holds no picture.";
    // Renders for a printer, an export or a copy into `dc` (screen flag cleared by the
    // caller, or a printing context); with the screen flag set, copies the page into it.
    void OnDraw(CDC& dc) override;
    // The window changed size.
    void OnSize(int cx, int cy);

    // Single-cell painters: a null dc paints into the off-screen page and invalidates the
    // cell. False (nothing drawn) for a cell outside its grid.
    bool RedrawCell(CDC* dc, int column, int row, int grid, int pass) override;
    bool RedrawCellNeighbours(CDC* dc, int column, int row, int grid, int pass) override;
    // The animation hooks of the generator and the solver.
    void DrawPolygonCell(int column, int row, int grid, int pass) override;
    void DrawRingCell(int column, int row, int grid, int pass) override;
    void Pause(int milliseconds) override;

    // Tiled Box mazes: every cell covered by the tile of its open sides. A null dc paints
    // into the off-screen page and invalidates the cell.
    void DrawTiledMaze(CDC& dc);
    bool DrawTiledCell(CDC* dc, int column, int row, int grid, int pass);
    // The tile sets the view loads from; shared with the settings sheet when one is given.
    TileSetCatalogue& TileSets() { return *tileSets_; }
    void SetTileSets(TileSetCatalogue* sets) { tileSets_ = sets ? sets : &ownTileSets_; }
    CBMPTiler& Tiler() { return tiler_; }

    // Draws the document's objects of one layer in array order; returns how many.
    int DrawLayerObjects(CDC& dc, int layer);

    // The cell under a pixel of the off-screen page (client pixel plus scroll position).
    std::optional<CellHitTester::Hit> HitTestCell(CPoint pagePixel,
                                                  CRgn* region = nullptr) override;

    // Computes the rings of a circular maze for the current page; false (with a message
    // after the paint) when the settings can't be laid out.
    bool LayoutRings();
    // The maze's extent for polygon templates; false for circular ones (extent = the page).
    bool BuildCellGeometry() override;
    const MazeExtent& Extent() const override { return extent_; }
    const RingCellGeometry* Rings() const { return geometry_.CurrentRings(); }

    // Blackens the cells whose centres fall on dark pixels of `image` stretched over the
    // range of cell centres and whitens those on light ones. False (nothing changed) for a
    // circular maze or a document without grids.
    bool ApplyImageMask(const CRaster& image);
    // Apply BMP Mask: asks for a picture and applies it.
    void OnApplyMask();

    // Save to Image File: asks for the size (through `dialog`; none cancels) and the file,
    // then writes the maze and its solution.
    void SetPictureSizeDialog(IPictureSizeDialog* dialog) { sizeDialog_ = dialog; }
    void OnSaveToImageFile();
    // The export's size with the screen-size choice: the maze with its band at 96 dpi.
    CSize ScreenPictureSize();
    // Save to EMF: asks for the file and writes the page as an enhanced metafile.
    void OnSaveToEmf();

    // Printing. The options are reloaded from the profile before each run. PrintPage draws one
    // page of `plan` on a printer context between its StartPage and EndPage, regenerating the
    // maze first when the plan says so; the display state is restored afterwards.
    MazePrintSettings& PrintSettings() { return printSettings_; }
    bool PrintPage(CDC& dc, const PrintPagePlan& plan, int page) override;
    // A whole run with the stored options onto `pages`; true only when every page printed.
    bool PrintAll(IPrintPageService& pages, const std::string& title);
    int PrintMarginX() const { return printMarginX_; }
    int PrintMarginY() const { return printMarginY_; }
    // Print (options dialog, then the printer) and Print Preview (two pages, stored options)
    // go through `jobs`; without it both are disabled.
    void SetPrintJobs(IPrintJobs* jobs) { printJobs_ = jobs; }
    void OnFilePrint();
    void OnFilePrintPreview();
    // A print run with the stored options and no dialog: on `printer` when named, else on
    // the default one. True only when every page printed.
    bool PrintStored(const std::string& printer);
    // Around every print run: the objects lose their marks while the pages print.
    void BeginPrinting() override;
    void EndPrinting() override;
    // Writes the printer report to the clipboard when the settings ask for it.
    void PrintDebugInfo(const CDC& dc);

    // View state the menus toggle.
    bool IsLayerVisible(int layer) const;
    void SetLayerVisible(int layer, bool visible);
    bool ShowSolution() const override { return showSolution_; }
    void SetShowSolution(bool on) override { showSolution_ = on; }
    // 0 while a printer, an export or a copy renders through OnDraw.
    void SetScreenFlag(bool screen) override { screen_ = screen; }
    bool ScreenFlag() const { return screen_; }
    int BandHeight() const override { return band_; }
    bool BufferStale() const { return stale_; }
    ScreenBuffer& Buffer() { return buffer_; }

    // The layer the mouse works on and the maze tool it works with.
    int ActiveLayer() const override { return activeLayer_; }
    int CurrentTool() const override { return currentTool_; }
    // n > 0 makes layer n active (focus, toolbar, repaint); n < 0 keeps the layer. Either way
    // the objects of the active layer (of none for n = 0) are marked as pickable.
    void SetActiveLayer(int n) override;
    void SelectTool(UINT tool);
    // Shows the edit-toolbar buttons that work on `layer` and hides the others.
    void UpdateToolbarForLayer(int layer);
    // The edit toolbar whose buttons the view presses and hides; none in a headless view.
    void SetEditToolbar(IEditToolbar* toolbar) { toolbar_ = toolbar; }

    // The text box of the window; a headless one until a window attaches.
    void SetTextBox(ITextBox* box);
    ITextBox& TextBox() const override { return *textBox_; }
    // Opens the text box over `pagePixels` (the object's tracker rectangle) with the object's
    // font, colour and text; the object itself is marked as edited by the caller.
    void OpenTextBox(const CRect& pagePixels, const CLogicalRectTracker& object) override;
    bool IsEditingText() const { return textBoxPage_.has_value(); }
    // End of editing: the edited text objects take the box's text and are drawn afresh; the
    // box is hidden. Runs on every press, layer change and before the commands that save,
    // print, export or copy the drawing, since the box's own focus-out comes late.
    void EndTextEditing() override;
    // Closes the box without its text (Undo brings back the objects as they were).
    void DiscardTextEditing();
    // Keeps the open text box over its object after a scroll or a resize.
    void PlaceTextBox();
    // The command router calls this before running any enabled command.
    void BeforeCommand(UINT command);

    // The object commands: false (nothing changed but the repaint) with nothing selected.
    bool DeleteSelected();
    bool BringSelectedToTop();
    bool MoveSelectedToBottom();

    // The pointer over the topmost object of the active layer, or none (the window's own).
    std::optional<CRectTracker::Cursor> ObjectCursorAt(CPoint client) const;
    ViewMouseController& Mouse() { return mouse_; }
    // The dragged frame of the object layers' tools.
    ObjectFrameTracking& FrameTracking() { return frames_; }
    // Page pixels (as the objects' frames keep them) to the page's logical units.
    void PagePixelsToLogical(CRect& rect) override;

    // Edit Undo and the snapshots the presses save.
    ViewUndo& Undo() { return undo_; }
    // The picture a paste left for the picture tool, and whether one is waiting.
    PendingPicture& Pending() override { return pending_; }

    // The clipboard Copy and Paste use and the printer report goes to; none (an empty one)
    // until the program sets it.
    void SetClipboard(IClipboard* clipboard) { clipboard_ = clipboard ? clipboard : &noClipboard_; }
    IClipboard& Clipboard() const override { return *clipboard_; }
    // Copy: the drawing as a picture. False (with a message) when it could not be placed.
    bool OnEditCopy();
    // Paste: text into the text box on the text layer, a picture into the working image on
    // the picture layers (the next rubber band of the picture tool places it).
    bool OnEditPaste() override;
    // The clipboard holds something the active layer can take.
    bool CanPaste() const override;

    // Gestures: strokes drawn with Ctrl or after the space bar run the command of their row.
    void SetGestureRecognizer(CMouseGesture* gesture) { gestures_.SetRecognizer(gesture); }
    GestureCapture& Gestures() { return gestures_; }
    // The row run for `name` on the active layer, -1 for a miss.
    int DispatchGestureCommand(const std::string& name);
    // A typed character (the space bar arms a stroke); the view is repainted after each.
    void OnChar(unsigned character);
    void OnTimer(int id);

private:
    void MapCommands();
    void MapViewToggles();
    void MapLayerCommands();
    void MapToolCommands();
    void MapObjectCommands();
    void MapExportCommands();
    void MapPrintCommands();
    void MapClipboardCommands();
    bool PastePicture();
    void MapUndoCommands();
    bool HasLevels() const;
    void RenderAndUpdate();
    void AfterObjectOrder();

    void Render(CDC& target, bool screen);
    void DrawMaze(CDC& dc, bool screen);
    bool RebuildBuffer();
    void SayWhyNothingIsShown(bool tooLarge);
    void UpdateScrollSizes();
    void TakePendingMessage();
    void Report(const std::string& error);
    CellPaintContext PaintContext(bool screen) const;
    const PolygonCellGeometry* PolygonGeometry();
    bool PaintOnPage(bool ring, int column, int row, int grid, int pass);
    bool PaintCell(CDC& dc, bool ring, int column, int row, int grid, int pass, bool screen);
    CSize PageLogicalSize() const;
    bool IsTiledBox() const;
    void LoadPendingTiler();

    MazePrintSettings printSettings_;
    int printMarginX_ = 0;
    int printMarginY_ = 0;
    IPrintJobs* printJobs_ = nullptr;
    HeadlessViewWindow headless_;
    IViewWindow* window_ = &headless_;
    std::array<bool, 5> layers_{true, true, true, true, true};
    bool showSolution_ = false;
    bool screen_ = true;
    bool stale_ = true;
    bool pageTooLarge_ = false;
    int band_ = 100;
    GeometryCache geometry_;
    MazeExtent extent_;
    ScreenBuffer buffer_;
    ViewOverlay overlay_;
    ClientPicture client_;
    std::string lastReport_;
    std::vector<CPoint> lastOutline_; // device pixels of the cell painted last
    TileSetCatalogue ownTileSets_;
    TileSetCatalogue* tileSets_ = &ownTileSets_;
    CBMPTiler tiler_;
    bool tilerLoaded_ = false;
    int activeLayer_ = kLayerMaze;
    int currentTool_ = 0; // no tool until one is chosen
    IEditToolbar* toolbar_ = nullptr;
    HeadlessTextBox headlessTextBox_;
    ITextBox* textBox_ = &headlessTextBox_;
    std::optional<CRect> textBoxPage_; // page pixels of the object being edited
    NoClipboard noClipboard_;
    IClipboard* clipboard_ = &noClipboard_;
    ViewMouseController mouse_{*this};
    MazeCellTool cellTool_{*this, mouse_.Drag()};
    ObjectFrameTracking frames_{*this};
    TextTool textTool_{*this, frames_};
    PendingPicture pending_;
    PictureLayerTool pictureTool_{*this, frames_};
    ViewUndo undo_{*this, mouse_};
    GestureCapture gestures_{*this};
    IPictureSizeDialog* sizeDialog_ = nullptr;
};
