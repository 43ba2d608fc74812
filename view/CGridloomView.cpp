#include "view/CGridloomView.h"

#include "document/CGridloomDoc.h"
#include "image/codecs/CancellableLoad.h"
#include "image/core/CRaster.h"
#include "maze/RingPlan.h"
#include "maze/TemplateKind.h"
#include "platform/CDC.h"
#include "platform/CProfile.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "res/CommandIds.h"
#include "view/CellPainter.h"
#include "view/CreditLine.h"
#include "view/ImageMask.h"
#include "view/MetafileExport.h"
#include "view/PageWatermark.h"
#include "view/PictureExport.h"

#include "platform/CWaitCursor.h"
#include <algorithm>
#include <cstdint>

namespace {

constexpr int kScreenDpi = 96;

bool IsRing(const Object* grid) {
    return grid && grid->GridType() == GRID_RING;
}

} // namespace

CGridloomView::CGridloomView() {
    MapCommands();
    mouse_.SetLayerTool(kLayerMaze, &cellTool_);
    mouse_.SetGestureCapture(&gestures_);
    mouse_.SetLayerTool(kLayerText, &textTool_);
    mouse_.SetLayerTool(kLayerBackground, &pictureTool_);
    mouse_.SetLayerTool(kLayerForeground, &pictureTool_);
    mouse_.SetUndoSnapshot(&undo_);
    undo_.SetTextBoxDiscarder([this] { DiscardTextEditing(); });
}

CGridloomView::~CGridloomView() {
    CGridloomDoc* doc = GetDocument();
    if (doc && doc->CellPainter() == this)
        doc->SetCellPainter(nullptr);
}

CGridloomDoc* CGridloomView::GetDocument() const {
    return dynamic_cast<CGridloomDoc*>(CView::GetDocument());
}

void CGridloomView::SetWindow(IViewWindow* window) {
    window_ = window ? window : &headless_;
}

bool CGridloomView::IsLayerVisible(int layer) const {
    return layer >= 1 && layer <= 4 && layers_[static_cast<std::size_t>(layer)];
}

void CGridloomView::SetLayerVisible(int layer, bool visible) {
    if (layer >= 1 && layer <= 4)
        layers_[static_cast<std::size_t>(layer)] = visible;
}

int CGridloomView::DispatchGestureCommand(const std::string& name) {
    return gestures_.Dispatcher().Dispatch(name, activeLayer_, *window_);
}

void CGridloomView::OnChar(unsigned character) {
    gestures_.OnChar(character);
    window_->Invalidate();
}

void CGridloomView::OnTimer(int id) {
    gestures_.OnTimer(id);
}

// ---- framework hooks ----------------------------------------------------------------------

void CGridloomView::OnInitialUpdate() {
    // The credit band takes the page's top band before the first layout, so that the first
    // update already sizes the page and the rings with it.
    band_ = MazeSettings::kTopBand;
    if (CGridloomDoc* doc = GetDocument())
        doc->SetCellPainter(this);
    CView::OnInitialUpdate();
    undo_.Stack().SetDepth(4);
    SetActiveLayer(activeLayer_);
}

void CGridloomView::OnUpdate(CView*, long) {
    CGridloomDoc* doc = GetDocument();
    if (!doc || doc->GridCount() == 0) {
        window_->SetScrollSizes({0, 0}, window_->ClientSize(), {1, 1});
        // The window still paints, so that a message left by a command shows now.
        window_->Invalidate();
        return;
    }
    screen_ = true;
    LoadPendingTiler();
    RebuildBuffer();
    // The rings are laid out now, not only at the next paint, so that the grid has its real
    // size before any command works on it.
    if (IsRing(doc->GetGrid(0)))
        LayoutRings();
    BuildCellGeometry();
    UpdateScrollSizes();
    window_->Invalidate();
}

void CGridloomView::OnSize(int, int) {
    CGridloomDoc* doc = GetDocument();
    if (!doc || doc->GridCount() == 0)
        return;
    BuildCellGeometry();
    UpdateScrollSizes();
}

RasterSurface* CGridloomView::PaintScreen() {
    TakePendingMessage();
    CGridloomDoc* doc = GetDocument();
    if (!doc || doc->GridCount() == 0)
        return nullptr;
    if (!buffer_.Exists() && !RebuildBuffer())
        return nullptr;
    SayWhyNothingIsShown(false);
    if (doc->reRender || stale_)
        Render(buffer_.Dc(), true);
    window_->CollapseInfoPane();
    return buffer_.Surface();
}

RasterSurface* CGridloomView::PaintClient(const CRect& area) {
    if (!PaintScreen())
        return nullptr;
    return client_.Compose(buffer_, window_->ScrollPosition(), window_->ClientSize(), overlay_,
                           area);
}

void CGridloomView::PagePixelsToLogical(CRect& rect) {
    if (buffer_.Exists()) {
        buffer_.Dc().DPtoLP(&rect);
        return;
    }
    // No page yet: the mapping the page will have.
    CDC probe;
    probe.CreateCompatibleDC(nullptr);
    probe.SetDeviceResolution(kScreenDpi, kScreenDpi);
    probe.SetMapMode(MM_HIENGLISH);
    probe.DPtoLP(&rect);
}

void CGridloomView::OnDraw(CDC& dc) {
    TakePendingMessage();
    if (dc.IsPrinting())
        screen_ = false;
    CGridloomDoc* doc = GetDocument();
    if (doc && doc->GridCount() > 0) {
        if (!screen_) {
            Render(dc, false);
        } else if (PaintScreen()) {
            const CSize size = buffer_.LogicalSize();
            dc.BitBlt(0, 0, size.cx, size.cy, &buffer_.Dc(), 0, 0, SRCCOPY);
        }
    }
    screen_ = true;
}

void CGridloomView::TakePendingMessage() {
    CGridloomDoc* doc = GetDocument();
    if (!doc || doc->pendingMessage.empty())
        return;
    // Taken and cleared now, shown once the paint is over.
    window_->ShowAfterPaint(doc->pendingMessage);
    doc->pendingMessage.clear();
}

void CGridloomView::Report(const std::string& error) {
    if (error == lastReport_)
        return;
    lastReport_ = error;
    window_->ShowAfterPaint(error);
}

// ---- rendering ----------------------------------------------------------------------------

void CGridloomView::Render(CDC& target, bool screen) {
    CWaitCursor wait;
    LoadPendingTiler();
    CGridloomDoc* doc = GetDocument();
    const MazeSettings& s = doc->Settings();
    if (IsRing(doc->GetGrid(0)))
        LayoutRings();
    // The extent places the credit line, for exports and prints as well.
    BuildCellGeometry();
    if (screen) {
        buffer_.Clear();
    } else {
        CRect clip;
        target.GetClipBox(&clip);
        target.PatBlt(clip.left, clip.top, clip.Width(), clip.Height(), WHITENESS);
    }
    if (doc->layerObjects.empty())
        PageWatermark::Draw(target, PageLogicalSize());
    if (layers_[kLayerBackground])
        DrawLayerObjects(target, kLayerBackground);
    if (layers_[kLayerMaze] || showSolution_)
        DrawMaze(target, screen);
    if (layers_[kLayerForeground])
        DrawLayerObjects(target, kLayerForeground);
    if (layers_[kLayerText]) {
        DrawLayerObjects(target, kLayerText);
        const int right = IsRing(doc->GetGrid(0)) ? s.pageWidth : extent_.maxX;
        CreditLine::Draw(target, band_, s.pageHeight, right);
    }
    if (screen) {
        // Only the screen's page is up to date now; prints and exports leave the flag.
        doc->reRender = 0;
        stale_ = false;
    }
}

int CGridloomView::DrawLayerObjects(CDC& dc, int layer) {
    // Array order is drawing order: later objects cover earlier ones.
    int drawn = 0;
    for (CLogicalRectTracker& object : GetDocument()->layerObjects) {
        if (object.GetLayer() != layer)
            continue;
        object.Draw(dc);
        ++drawn;
    }
    return drawn;
}

void CGridloomView::DrawMaze(CDC& dc, bool screen) {
    if (IsTiledBox()) {
        DrawTiledMaze(dc);
        return;
    }
    CGridloomDoc* doc = GetDocument();
    CellPainter painter(*doc, PolygonGeometry(), geometry_.CurrentRings(), PaintContext(screen),
                        doc->Settings().penWidth);
    painter.PaintAll(dc, PASS_FILL);
    painter.PaintAll(dc, PASS_WALLS);
}

CellPaintContext CGridloomView::PaintContext(bool screen) const {
    const CGridloomDoc* doc = GetDocument();
    CellPaintContext c;
    c.screen = screen;
    c.showErased = doc->Settings().erasedVisible != 0;
    c.mazeMade = doc->cleared == 0;
    c.showSolution = showSolution_;
    c.colours = doc->Colours();
    return c;
}

const PolygonCellGeometry* CGridloomView::PolygonGeometry() {
    CGridloomDoc* doc = GetDocument();
    const Object* first = doc ? doc->GetGrid(0) : nullptr;
    if (!first || IsRing(first))
        return nullptr;
    const int w = doc->GetCellWidth(), h = doc->GetCellHeight();
    // Corners are 32-bit logical units: a maze too large for them is not drawn at all.
    constexpr std::int64_t kMaxUnits = std::int64_t{1} << 30;
    if (std::int64_t{first->Width() + 2} * w > kMaxUnits ||
        std::int64_t{first->Height() + 2} * -std::int64_t{h} > kMaxUnits)
        return nullptr;
    return geometry_.Polygons(doc->Settings().kind, w, h);
}

CSize CGridloomView::PageLogicalSize() const {
    if (buffer_.Exists())
        return buffer_.LogicalSize();
    const CGridloomDoc* doc = GetDocument();
    CSize logical, pixels;
    ScreenBuffer::Measure(doc->Settings().pageWidth, doc->Settings().pageHeight, kScreenDpi,
                          kScreenDpi, logical, pixels);
    return logical;
}

bool CGridloomView::RebuildBuffer() {
    const CGridloomDoc* doc = GetDocument();
    stale_ = true;
    const bool built = buffer_.Rebuild(doc->Settings().pageWidth, doc->Settings().pageHeight,
                                       kScreenDpi, kScreenDpi);
    SayWhyNothingIsShown(!built);
    return built;
}

void CGridloomView::SayWhyNothingIsShown(bool tooLarge) {
    if (tooLarge == pageTooLarge_)
        return;
    pageTooLarge_ = tooLarge;
    window_->ShowStatus(tooLarge ? kPageTooLarge : "");
}

bool CGridloomView::HasMaze() const {
    const CGridloomDoc* doc = GetDocument();
    return doc && doc->GridCount() > 0;
}

void CGridloomView::UpdateScrollSizes() {
    CGridloomDoc* doc = GetDocument();
    const MazeSettings& s = doc->Settings();
    const CSize total(MulDiv(s.pageWidth, kScreenDpi, 1000),
                      MulDiv(s.pageHeight, kScreenDpi, 1000));
    const CSize line(std::max(1, MulDiv(doc->GetCellWidth(), kScreenDpi, 1000)),
                     std::max(1, MulDiv(-doc->GetCellHeight(), kScreenDpi, 1000)));
    window_->SetScrollSizes(total, window_->ClientSize(), line);
}

// ---- geometry -----------------------------------------------------------------------------

bool CGridloomView::LayoutRings() {
    CGridloomDoc* doc = GetDocument();
    const Object* first = doc ? doc->GetGrid(0) : nullptr;
    if (!IsRing(first))
        return false;
    const CSize area = PageLogicalSize();
    std::string error;
    const auto layout =
        RingLayout::Fit(area.cx, area.cy, band_, first->ring0Count, first->innerRadius, error);
    if (!layout) {
        geometry_.ForgetRings();
        Report(error);
        return false;
    }
    if (doc->RingCounts().empty()) {
        const RingPlan plan =
            RingPlan::For(layout->OuterRadius(), first->ring0Count, first->innerRadius);
        if (!plan.Ok() || !doc->SetRingCounts(plan.Counts())) {
            geometry_.ForgetRings();
            Report(plan.Ok() ? "The rings of this circular maze do not fit in a grid."
                             : plan.Error());
            return false;
        }
    }
    geometry_.Rings(*layout, doc->RingCounts());
    lastReport_.clear();
    return true;
}

bool CGridloomView::BuildCellGeometry() {
    CGridloomDoc* doc = GetDocument();
    const Object* first = doc ? doc->GetGrid(0) : nullptr;
    if (!first)
        return false;
    if (IsRing(first)) {
        extent_ = MazeExtent{};
        extent_.maxX = doc->Settings().pageWidth;
        extent_.maxY = doc->Settings().pageHeight;
        return false;
    }
    const PolygonCellGeometry* polygons = PolygonGeometry();
    if (!polygons)
        return false;
    extent_ = geometry_.Extent(*polygons, first->Width(), first->Height());
    return true;
}

// ---- single cells -------------------------------------------------------------------------

bool CGridloomView::RedrawCell(CDC* dc, int column, int row, int grid, int pass) {
    CGridloomDoc* doc = GetDocument();
    const Object* g = doc ? doc->GetGrid(grid) : nullptr;
    if (!g || !g->InBounds(column, row))
        return false;
    if (IsTiledBox())
        return DrawTiledCell(dc, column, row, grid, pass);
    if (!dc)
        return PaintOnPage(IsRing(g), column, row, grid, pass);
    return PaintCell(*dc, IsRing(g), column, row, grid, pass, screen_);
}

bool CGridloomView::RedrawCellNeighbours(CDC* dc, int column, int row, int grid, int pass) {
    CGridloomDoc* doc = GetDocument();
    const Object* g = doc ? doc->GetGrid(grid) : nullptr;
    if (!g)
        return false;
    for (int side = 1; side <= g->SideCount(); ++side)
        if (const auto n = doc->FindNeighbour(column, row, grid, side))
            RedrawCell(dc, n->column, n->row, n->grid, pass);
    return true;
}

void CGridloomView::DrawPolygonCell(int column, int row, int grid, int pass) {
    if (IsTiledBox())
        DrawTiledCell(nullptr, column, row, grid, pass);
    else
        PaintOnPage(false, column, row, grid, pass);
    // Generation and solving run on this thread: let the window show each step.
    window_->KeepAlive(0);
}

void CGridloomView::DrawRingCell(int column, int row, int grid, int pass) {
    PaintOnPage(true, column, row, grid, pass);
    window_->KeepAlive(0);
}

void CGridloomView::Pause(int milliseconds) {
    window_->KeepAlive(milliseconds);
}

bool CGridloomView::PaintCell(CDC& dc, bool ring, int column, int row, int grid, int pass,
                              bool screen) {
    CGridloomDoc* doc = GetDocument();
    if (ring && !geometry_.CurrentRings() && !LayoutRings())
        return false;
    CellPainter painter(*doc, PolygonGeometry(), geometry_.CurrentRings(), PaintContext(screen),
                        doc->Settings().penWidth);
    const bool painted = ring ? painter.PaintRingCell(dc, column, row, grid, pass)
                              : painter.PaintPolygonCell(dc, column, row, grid, pass);
    if (painted) {
        lastOutline_ = painter.LastOutline();
        dc.LPtoDP(lastOutline_.data(), static_cast<int>(lastOutline_.size()));
    }
    return painted;
}

bool CGridloomView::PaintOnPage(bool ring, int column, int row, int grid, int pass) {
    if (!buffer_.Exists() || !PaintCell(buffer_.Dc(), ring, column, row, grid, pass, true))
        return false;
    CRect bounds(lastOutline_.front(), lastOutline_.front());
    for (const CPoint& p : lastOutline_) {
        bounds.left = std::min(bounds.left, p.x);
        bounds.top = std::min(bounds.top, p.y);
        bounds.right = std::max(bounds.right, p.x);
        bounds.bottom = std::max(bounds.bottom, p.y);
    }
    // Walls are centred on the outline and a pixel wide at least.
    const int margin = 2 + MulDiv(GetDocument()->Settings().penWidth, kScreenDpi, 1000);
    bounds.InflateRect(margin, margin);
    window_->InvalidatePage(bounds);
    return true;
}

// ---- hit testing --------------------------------------------------------------------------

std::optional<CellHitTester::Hit> CGridloomView::HitTestCell(CPoint pagePixel, CRgn* region) {
    CGridloomDoc* doc = GetDocument();
    if (!doc || doc->GridCount() == 0)
        return std::nullopt;
    if (IsRing(doc->GetGrid(0)) && !LayoutRings())
        return std::nullopt;
    CDC probe;
    CDC* dc = &probe;
    if (buffer_.Exists()) {
        dc = &buffer_.Dc();
    } else {
        probe.CreateCompatibleDC(nullptr);
        probe.SetMapMode(MM_HIENGLISH);
    }
    CellHitTester tester(*doc, PolygonGeometry(), geometry_.CurrentRings());
    return tester.Find(*dc, pagePixel, region);
}

// ---- tiles --------------------------------------------------------------------------------

bool CGridloomView::IsTiledBox() const {
    const CGridloomDoc* doc = GetDocument();
    return doc && doc->Settings().tiled && doc->Settings().kind == KIND_BOX;
}

void CGridloomView::LoadPendingTiler() {
    CGridloomDoc* doc = GetDocument();
    if (!doc || !IsTiledBox() || (tilerLoaded_ && !doc->tilerReloadPending))
        return;
    doc->tilerReloadPending = 0;
    tilerLoaded_ = true;
    const std::string& id = doc->Settings().tilerId;
    std::string message;
    if (id.empty()) {
        std::string chosen;
        tileSets_->LoadSelection(tiler_, doc->Pages().style.selectedIndex,
                                 doc->Pages().style.selectedTilerName, chosen);
    } else {
        tileSets_->Load(tiler_, id, message);
    }
    if (message.empty())
        message = tiler_.Problem();
    // The stored id stays as it is; the message waits for the paint to end.
    if (!message.empty())
        window_->ShowAfterPaint(message);
}

void CGridloomView::DrawTiledMaze(CDC& dc) {
    CGridloomDoc* doc = GetDocument();
    const Object* first = doc ? doc->GetGrid(0) : nullptr;
    if (!first)
        return;
    LoadPendingTiler();
    tiler_.ResetRandom();
    for (int row = 0; row < first->Height(); ++row)
        for (int column = 0; column < first->Width(); ++column)
            for (int grid = 0; grid < doc->GridCount(); ++grid)
                DrawTiledCell(&dc, column, row, grid, PASS_WALLS);
}

bool CGridloomView::DrawTiledCell(CDC* dc, int column, int row, int grid, int pass) {
    CGridloomDoc* doc = GetDocument();
    const Object* g = doc ? doc->GetGrid(grid) : nullptr;
    if (!g || !g->InBounds(column, row) || (!dc && !buffer_.Exists()))
        return false;
    const std::int64_t w = doc->GetCellWidth(), h = doc->GetCellHeight();
    // Corners are 32-bit logical units, as for the plain painters.
    constexpr std::int64_t kMaxUnits = std::int64_t{1} << 30;
    if ((column + std::int64_t{1}) * w > kMaxUnits || (row + std::int64_t{1}) * -h > kMaxUnits)
        return false;
    const MazeCell& cell = g->GetCell(column, row);
    const bool single = pass == 1 || pass == 2;
    if (!single && (cell.flags & (CELL_ERASED | CELL_HIDDEN)))
        return true;
    CDC& target = dc ? *dc : buffer_.Dc();
    const CRect rect(LONG(column * w), LONG(row * h), LONG((column + 1) * w), LONG((row + 1) * h));
    if (single)
        target.PatBlt(rect.left, rect.top, LONG(w + 1), LONG(h - 1), WHITENESS);
    int kind = -1;
    if (cell.flags & CELL_BLACKENED)
        kind = CBMPTiler::kBlacken;
    else if (cell.flags & CELL_STOP)
        kind = CBMPTiler::kStop;
    else if (cell.flags & CELL_START)
        kind = CBMPTiler::kStart;
    else if (!(cell.flags & CELL_ERASED))
        kind = cell.passages & 0xF;
    if (kind >= 0)
        tiler_.DrawTile(target, kind, rect, layers_[kLayerMaze]);
    if (cell.flags & CELL_SOLUTION)
        tiler_.DrawTile(target, CBMPTiler::kSolution, rect, showSolution_);
    if (!dc) {
        CRect pixels(rect.left, rect.top, LONG(rect.left + w + 1), LONG(rect.top + h - 1));
        target.LPtoDP(&pixels);
        pixels.NormalizeRect();
        pixels.InflateRect(1, 1);
        window_->InvalidatePage(pixels);
    }
    return true;
}

// ---- picture masks ------------------------------------------------------------------------

bool CGridloomView::ApplyImageMask(const CRaster& image) {
    CGridloomDoc* doc = GetDocument();
    if (!doc || doc->GridCount() == 0 || IsRing(doc->GetGrid(0)) || !image.IsValid())
        return false;
    if (!BuildCellGeometry())
        return false;
    const PolygonCellGeometry* polygons = PolygonGeometry();
    if (!polygons)
        return false;
    const int endsLost = ImageMask(image, extent_).Apply(*polygons, *doc);
    // An end the mask covered is gone: Make Maze places it again.
    if (endsLost & CELL_START)
        doc->docFlags &= ~MazeProgress::kUserStart;
    if (endsLost & CELL_STOP)
        doc->docFlags &= ~MazeProgress::kUserStop;
    doc->UpdateAllViews(nullptr);
    doc->SetModifiedFlag();
    doc->reRender = 1;
    return true;
}

void CGridloomView::OnApplyMask() {
    CGridloomDoc* doc = GetDocument();
    if (!doc || doc->GridCount() == 0 || IsRing(doc->GetGrid(0)))
        return;
    FileDialogRequest request;
    request.open = true;
    request.filter = "Bitmap file(*.bmp)|*.bmp|GIF file(*.gif)|*.gif|TIFF file(*.tif)|*.tif||";
    request.flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    const FileDialogAnswer answer = IFileDialog::Ask(request);
    if (!answer.ok)
        return;
    CRaster image;
    if (!CancellableLoad::Load(image, answer.path)) {
        AfxMessageBox("The mask picture \"" + answer.path +
                          "\" could not be read: " + image.GetLastError(),
                      MB_OK | MB_ICONERROR);
        return;
    }
    ApplyImageMask(image);
}

// ---- picture export -----------------------------------------------------------------------

CSize CGridloomView::ScreenPictureSize() {
    BuildCellGeometry();
    const int width = extent_.maxX;
    const int height = extent_.maxY + band_ + 150;
    return {MulDiv(width, kScreenDpi, 1000), MulDiv(height, kScreenDpi, 1000)};
}

void CGridloomView::OnSaveToImageFile() {
    CGridloomDoc* doc = GetDocument();
    if (!doc || doc->GridCount() == 0 || !sizeDialog_)
        return;
    CProfile& profile = doc->Profile();
    PictureSize size;
    size.screenSize = profile.GetProfileInt("BMPsize", "SCREENSIZE", 0) != 0;
    size.x = profile.GetProfileInt("BMPsize", "x", 1024);
    size.y = profile.GetProfileInt("BMPsize", "y", 768);
    if (!sizeDialog_->Ask(size))
        return;
    profile.WriteProfileInt("BMPsize", "SCREENSIZE", size.screenSize ? 1 : 0);
    profile.WriteProfileInt("BMPsize", "x", size.x);
    profile.WriteProfileInt("BMPsize", "y", size.y);
    FileDialogRequest request;
    request.open = false;
    request.filter = PictureExport::kFilter;
    request.flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    request.filterIndex = 2;
    const FileDialogAnswer answer = IFileDialog::Ask(request);
    if (!answer.ok)
        return;
    const CSize pixels = size.screenSize ? ScreenPictureSize() : CSize(size.x, size.y);
    CWaitCursor wait;
    const std::string error =
        PictureExport::Write(*this, answer.path, answer.filterIndex, pixels.cx, pixels.cy);
    if (!error.empty())
        AfxMessageBox(error, MB_OK | MB_ICONERROR);
}

void CGridloomView::OnSaveToEmf() {
    CGridloomDoc* doc = GetDocument();
    if (!doc || doc->GridCount() == 0)
        return;
    // Back on the screen however the command ends.
    struct ScreenAgain {
        bool& screen;
        ~ScreenAgain() { screen = true; }
    } again{screen_};
    screen_ = false;
    FileDialogRequest request;
    request.open = false;
    request.filter = MetafileExport::kFilter;
    // Lower case, as the filter's pattern matches it; a name ending in anything else gets it
    // too, so that a metafile is never written under another format's name.
    request.defaultExtension = "emf";
    request.extensionRequired = true;
    request.flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    const FileDialogAnswer answer = IFileDialog::Ask(request);
    if (!answer.ok)
        return;
    CWaitCursor wait;
    const std::string error = MetafileExport::Write(*this, answer.path);
    if (!error.empty())
        AfxMessageBox(error, MB_OK | MB_ICONERROR);
}

// ---- printing -----------------------------------------------------------------------------

namespace {

// Puts the view's display state back however the page ends.
class DisplayStateGuard {
public:
    DisplayStateGuard(std::array<bool, 5>& layers, bool& solution, bool& screen, int& marginX,
                      int& marginY)
        : layers_(layers), solution_(solution), screen_(screen), marginX_(marginX),
          marginY_(marginY), savedLayers_(layers), savedSolution_(solution) {}
    ~DisplayStateGuard() {
        layers_ = savedLayers_;
        solution_ = savedSolution_;
        screen_ = true;
        marginX_ = marginY_ = 0;
    }
    DisplayStateGuard(const DisplayStateGuard&) = delete;
    DisplayStateGuard& operator=(const DisplayStateGuard&) = delete;

private:
    std::array<bool, 5>& layers_;
    bool& solution_;
    bool& screen_;
    int& marginX_;
    int& marginY_;
    std::array<bool, 5> savedLayers_;
    bool savedSolution_;
};

} // namespace

bool CGridloomView::PrintPage(CDC& dc, const PrintPagePlan& plan, int page) {
    CGridloomDoc* doc = GetDocument();
    if (!doc || doc->GridCount() == 0 || page < 1 || page > plan.PageCount())
        return false;
    const MazeSettings& s = doc->Settings();
    if (s.pageWidth < 1 || s.pageHeight < 1) {
        Report("The page is too small to print.");
        return false;
    }
    DisplayStateGuard guard(layers_, showSolution_, screen_, printMarginX_, printMarginY_);
    const PrintPagePlan::Page kind = plan.At(page);
    // Without seed points there is nothing to grow from: the page repeats the current maze.
    if (kind.regenerate && !doc->seedPoints.empty())
        doc->RegenerateMaze();
    screen_ = false;
    const int dpiX = dc.GetDeviceCaps(LOGPIXELSX);
    const int dpiY = dc.GetDeviceCaps(LOGPIXELSY);
    const int offX = dc.GetDeviceCaps(PHYSICALOFFSETX);
    const int offY = dc.GetDeviceCaps(PHYSICALOFFSETY);
    if (dpiX <= 0 || dpiY <= 0)
        return false;
    // Margins in thousandths of an inch, never inside the printer's unprintable border.
    printMarginX_ = std::max(s.xOffset, static_cast<int>(offX * 1000.0 / dpiX));
    printMarginY_ = std::max(s.yOffset, static_cast<int>(offY * 1000.0 / dpiY));
    showSolution_ = kind.solution;
    const int* chosen = kind.solution ? printSettings_.solutionLayers : printSettings_.mazeLayers;
    for (int layer = 1; layer <= 4; ++layer)
        layers_[static_cast<std::size_t>(layer)] = chosen[layer] != 0;
    if (s.printerDebug)
        PrintDebugInfo(dc);
    const int w = static_cast<int>(dpiX * static_cast<double>(s.pageWidth) / 1000.0);
    const int h = static_cast<int>(dpiY * static_cast<double>(s.pageHeight) / 1000.0);
    const int x = static_cast<int>(dpiX * printMarginX_ / 1000.0 - offX);
    const int y = static_cast<int>(dpiY * printMarginY_ / 1000.0 - offY);
    const int saved = dc.SaveDC();
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(s.pageWidth, -(s.pageHeight + 150 - band_));
    dc.SetViewportExt(w, h);
    dc.SetViewportOrg(x, y);
    Render(dc, false);
    dc.RestoreDC(saved);
    return true;
}

bool CGridloomView::PrintAll(IPrintPageService& pages, const std::string& title) {
    CGridloomDoc* doc = GetDocument();
    if (!doc)
        return false;
    printSettings_.Load(doc->Profile());
    const PrintPagePlan plan(printSettings_, false);
    if (plan.PageCount() == 0)
        return false;
    CDC dc;
    dc.CreatePrinterDC(pages);
    if (dc.StartDoc(title) <= 0)
        return false;
    BeginPrinting();
    for (int page = 1; page <= plan.PageCount(); ++page) {
        if (dc.StartPage() <= 0 || !PrintPage(dc, plan, page) || dc.EndPage() <= 0) {
            dc.AbortDoc();
            EndPrinting();
            return false;
        }
    }
    EndPrinting();
    return dc.EndDoc() > 0;
}
