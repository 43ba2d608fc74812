#include "platform/CDC.h"

#include "platform/AtomicFile.h"
#include "platform/EdgeBands.h"
#include "platform/FormattedText.h"
#include "platform/FrameControl.h"
#include "platform/MetafileBackEnd.h"
#include "platform/PolylineBatch.h"
#include "platform/RasterBackEnd.h"
#include "platform/RegionFrame.h"
#include "platform/SaveRefusal.h"
#include "platform/SysColor.h"
#include "platform/TextEngine.h"
#include "platform/VectorBackEnd.h"
#include "platform/VisibleStretch.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <optional>

namespace {

// Device coordinates are kept within four million pixels (over 6,000 inches at 600 dots per
// inch): inside that range every product the scan conversion forms fits in 64 bits, and Cairo's
// fixed-point paths cannot wrap around.
constexpr LONG kDeviceLimit = 1 << 22;
// The resolution of the screen that text is typed on.
constexpr int kScreenDpi = 96;

LONG ClampDevice(LONG v) {
    return std::clamp(v, -kDeviceLimit, kDeviceLimit);
}

// Inlined into the bulk mapping, which runs over every arc point of a circular maze.
inline CPoint MapClamped(const CoordinateMapping& mapping, CPoint p) {
    const CPoint d = mapping.ToDevice(p);
    return {ClampDevice(d.x), ClampDevice(d.y)};
}

DeviceCaps ScreenCaps(int dpiX, int dpiY) {
    DeviceCaps caps;
    caps.technology = DT_RASDISPLAY;
    caps.dpiX = dpiX;
    caps.dpiY = dpiY;
    return caps;
}

// Puts a created drawing object into its slot and keeps its description; the previous object
// is handed back, none when `object` was never created.
template <typename T, typename Log> T* SwapIn(T* object, T*& slot, Log& log) {
    if (!object || !object->GetSafeHandle())
        return nullptr;
    T* old = slot;
    slot = object;
    log = object->Log();
    return old;
}

} // namespace

CDC::CDC() : state_(96, 96) {
    ResetState();
}

CDC::CDC(std::unique_ptr<IDcBackEnd> backEnd) : CDC() {
    Attach(std::move(backEnd));
}

CDC::~CDC() = default;

void CDC::ResetState() {
    state_.pen = CPen::Stock(BLACK_PEN);
    state_.penLog = state_.pen->Log();
    state_.brush = CBrush::Stock(WHITE_BRUSH);
    state_.brushLog = state_.brush->Log();
    state_.font = CFont::Stock(SYSTEM_FONT);
    state_.fontLog = state_.font->Log();
}

bool CDC::CreateCompatibleDC(const CDC* reference) {
    const int dpiX = reference ? reference->GetDeviceCaps(LOGPIXELSX) : 96;
    const int dpiY = reference ? reference->GetDeviceCaps(LOGPIXELSY) : 96;
    defaultBitmap_.CreateBitmap32(1, 1);
    auto raster = std::make_unique<RasterBackEnd>(
        defaultBitmap_.Surface(), ScreenCaps(dpiX > 0 ? dpiX : 96, dpiY > 0 ? dpiY : 96));
    raster_ = raster.get();
    Attach(std::move(raster));
    bitmap_ = &defaultBitmap_;
    return true;
}

void CDC::Attach(std::unique_ptr<IDcBackEnd> backEnd) {
    if (backEnd_)
        backEnd_->Flush();
    backEnd_ = std::move(backEnd);
    pages_ = nullptr;
    printing_ = false;
    if (!backEnd_ || backEnd_.get() != static_cast<IDcBackEnd*>(raster_))
        raster_ = nullptr;
    if (!backEnd_ || backEnd_.get() != static_cast<IDcBackEnd*>(metafile_))
        metafile_ = nullptr;
    bitmap_ = nullptr;
    saved_.clear();
    const DeviceCaps caps = backEnd_ ? backEnd_->Caps() : DeviceCaps{};
    state_ = State(caps.dpiX, caps.dpiY);
    ResetState();
    ApplyClip();
}

bool CDC::CreatePrinterDC(IPrintPageService& pages) {
    Attach(std::make_unique<VectorBackEnd>(pages));
    pages_ = &pages;
    printing_ = true;
    return true;
}

int CDC::StartDoc(const std::string& title) {
    return pages_ && pages_->StartDoc(title) ? 1 : -1;
}

int CDC::StartPage() {
    if (!pages_ || !pages_->StartPage())
        return -1;
    // Every page starts from the context's defaults, as a printer's pages do.
    saved_.clear();
    const DeviceCaps caps = backEnd_->Caps();
    state_ = State(caps.dpiX, caps.dpiY);
    ResetState();
    ApplyClip();
    return 1;
}

int CDC::EndPage() {
    Flush();
    return pages_ && pages_->EndPage() ? 1 : -1;
}

int CDC::EndDoc() {
    Flush();
    return pages_ && pages_->EndDoc() ? 1 : -1;
}

int CDC::AbortDoc() {
    Flush();
    if (!pages_)
        return -1;
    pages_->AbortDoc();
    return 1;
}

bool CDC::CreateEnhMetaFile(const CDC* reference, const std::string& path, const RECT& frame,
                            const std::string& description) {
    if (path.empty())
        return false;
    MetafileBackEnd::Setup setup;
    setup.frame = frame;
    setup.description = description;
    if (reference) {
        setup.referenceDpiX = reference->GetDeviceCaps(LOGPIXELSX);
        setup.referenceDpiY = reference->GetDeviceCaps(LOGPIXELSY);
    }
    auto metafile = std::make_unique<MetafileBackEnd>(setup);
    metafile_ = metafile.get();
    Attach(std::move(metafile));
    metafilePath_ = path;
    return true;
}

bool CDC::CloseEnhMetaFile(std::string& error) {
    if (!metafile_) {
        error = "No metafile is being recorded.";
        return false;
    }
    const std::vector<BYTE> bytes = metafile_->Finish();
    // The header counts the file's bytes in 32 bits.
    if (bytes.size() > 0xFFFFFFFFu) {
        error = SaveRefusal::Text(metafilePath_, "the metafile would be larger than 4 GB");
        DeleteDC();
        return false;
    }
    const bool written = AtomicFile::Write(
        metafilePath_, std::as_bytes(std::span<const BYTE>(bytes.data(), bytes.size())), error);
    DeleteDC();
    return written;
}

bool CDC::DeleteDC() {
    if (!backEnd_)
        return false;
    Flush();
    backEnd_.reset();
    pages_ = nullptr;
    printing_ = false;
    raster_ = nullptr;
    metafile_ = nullptr;
    metafilePath_.clear();
    bitmap_ = nullptr;
    saved_.clear();
    return true;
}

void CDC::SetDeviceResolution(int dpiX, int dpiY) {
    if (dpiX <= 0 || dpiY <= 0)
        return;
    if (raster_)
        raster_->SetResolution(dpiX, dpiY);
    state_.mapping.SetDeviceResolution(dpiX, dpiY);
    for (State& s : saved_)
        s.mapping.SetDeviceResolution(dpiX, dpiY);
}

int CDC::GetDeviceCaps(int index) const {
    return backEnd_ ? backEnd_->Caps().Get(index) : 0;
}

void CDC::Flush() {
    if (backEnd_)
        backEnd_->Flush();
}

// ---- mapping -------------------------------------------------------------------------------

int CDC::SetMapMode(int mode) {
    return state_.mapping.SetMapMode(mode);
}

CPoint CDC::SetWindowOrg(int x, int y) {
    return state_.mapping.SetWindowOrg({x, y});
}

CPoint CDC::SetViewportOrg(int x, int y) {
    return state_.mapping.SetViewportOrg({x, y});
}

CPoint CDC::OffsetWindowOrg(int dx, int dy) {
    const CPoint o = state_.mapping.GetWindowOrg();
    return state_.mapping.SetWindowOrg({o.x + dx, o.y + dy});
}

CPoint CDC::OffsetViewportOrg(int dx, int dy) {
    const CPoint o = state_.mapping.GetViewportOrg();
    return state_.mapping.SetViewportOrg({o.x + dx, o.y + dy});
}

CSize CDC::SetWindowExt(int cx, int cy) {
    return state_.mapping.SetWindowExt({cx, cy});
}

CSize CDC::SetViewportExt(int cx, int cy) {
    return state_.mapping.SetViewportExt({cx, cy});
}

void CDC::LPtoDP(POINT* points, int count) const {
    for (int i = 0; points && i < count; ++i)
        points[i] = state_.mapping.ToDevice(points[i]);
}

void CDC::LPtoDP(RECT* rect) const {
    LPtoDP(reinterpret_cast<POINT*>(rect), 2);
}

void CDC::LPtoDP(SIZE* size) const {
    if (size)
        *size = state_.mapping.SizeToDevice(*size);
}

void CDC::DPtoLP(POINT* points, int count) const {
    for (int i = 0; points && i < count; ++i)
        points[i] = state_.mapping.ToLogical(points[i]);
}

void CDC::DPtoLP(RECT* rect) const {
    DPtoLP(reinterpret_cast<POINT*>(rect), 2);
}

void CDC::DPtoLP(SIZE* size) const {
    if (size)
        *size = state_.mapping.SizeToLogical(*size);
}

int CDC::SaveDC() {
    if (!backEnd_)
        return 0;
    saved_.push_back(state_);
    return static_cast<int>(saved_.size());
}

bool CDC::RestoreDC(int saved) {
    const int count = static_cast<int>(saved_.size());
    const int level = saved < 0 ? count + 1 + saved : saved;
    if (level < 1 || level > count)
        return false;
    state_ = saved_[static_cast<size_t>(level - 1)];
    saved_.erase(saved_.begin() + (level - 1), saved_.end());
    ApplyClip();
    return true;
}

CPoint CDC::Dev(int x, int y) const {
    return MapClamped(state_.mapping, {x, y});
}

void CDC::ToDevice(CPoint* points, std::size_t count) const {
    const CoordinateMapping& mapping = state_.mapping;
    for (std::size_t i = 0; i < count; ++i)
        points[i] = MapClamped(mapping, points[i]);
}

CRect CDC::DevRect(int left, int top, int right, int bottom) const {
    CRect r(Dev(left, top), Dev(right, bottom));
    r.NormalizeRect();
    return r;
}

std::vector<CPoint> CDC::DevPoints(const POINT* points, int count) const {
    std::vector<CPoint> out;
    if (!points || count <= 0)
        return out;
    out.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        out.push_back(Dev(points[i].x, points[i].y));
    return out;
}

// ---- objects -------------------------------------------------------------------------------

CPen* CDC::SelectObject(CPen* pen) {
    return SwapIn(pen, state_.pen, state_.penLog);
}

CBrush* CDC::SelectObject(CBrush* brush) {
    return SwapIn(brush, state_.brush, state_.brushLog);
}

CFont* CDC::SelectObject(CFont* font) {
    return SwapIn(font, state_.font, state_.fontLog);
}

CBitmap* CDC::SelectObject(CBitmap* bitmap) {
    if (!raster_ || !bitmap || !bitmap->Surface())
        return nullptr;
    CBitmap* old = bitmap_;
    raster_->SetSurface(bitmap->Surface());
    bitmap_ = bitmap;
    ApplyClip();
    return old;
}

CGdiObject* CDC::SelectObject(CGdiObject* object) {
    if (!object)
        return nullptr;
    switch (object->GetKind()) {
    case CGdiObject::Kind::Pen:
        return SelectObject(static_cast<CPen*>(object));
    case CGdiObject::Kind::Brush:
        return SelectObject(static_cast<CBrush*>(object));
    case CGdiObject::Kind::Font:
        return SelectObject(static_cast<CFont*>(object));
    case CGdiObject::Kind::Bitmap:
        return SelectObject(static_cast<CBitmap*>(object));
    case CGdiObject::Kind::Region:
        SelectClipRgn(static_cast<CRgn*>(object));
        return nullptr;
    }
    return nullptr;
}

CGdiObject* CDC::SelectStockObject(int index) {
    if (CPen* pen = CPen::Stock(index))
        return SelectObject(pen);
    if (CBrush* brush = CBrush::Stock(index))
        return SelectObject(brush);
    if (CFont* font = CFont::Stock(index))
        return SelectObject(font);
    return nullptr;
}

DevicePen CDC::Pen() const {
    DevicePen pen;
    pen.style = static_cast<int>(state_.penLog.lopnStyle & PS_STYLE_MASK);
    if (pen.style == PS_INSIDEFRAME || pen.style > PS_NULL)
        pen.style = PS_SOLID;
    pen.color = state_.penLog.lopnColor;
    const CSize w = state_.mapping.SizeToDevice({state_.penLog.lopnWidth.x, 0});
    pen.width = std::max<LONG>(1, std::min<LONG>(w.cx, 1 << 16));
    pen.geometric = (state_.penLog.lopnStyle & PS_GEOMETRIC) != 0;
    // Styles apply to one-pixel cosmetic pens only; wider ones draw solid.
    if (pen.width > 1 && pen.style != PS_NULL && !pen.geometric)
        pen.style = PS_SOLID;
    return pen;
}

DeviceBrush CDC::Brush(const LOGBRUSH& log) const {
    DeviceBrush b;
    b.style = static_cast<int>(log.lbStyle);
    b.hatch = log.lbHatch;
    b.color = log.lbColor;
    return b;
}

// ---- colours and modes ---------------------------------------------------------------------

COLORREF CDC::SetTextColor(COLORREF color) {
    const COLORREF old = state_.textColor;
    state_.textColor = color & 0x00FFFFFF;
    return old;
}

COLORREF CDC::SetBkColor(COLORREF color) {
    const COLORREF old = state_.bkColor;
    state_.bkColor = color & 0x00FFFFFF;
    return old;
}

int CDC::SetBkMode(int mode) {
    if (mode != TRANSPARENT && mode != OPAQUE)
        return 0;
    const int old = state_.bkMode;
    state_.bkMode = mode;
    return old;
}

UINT CDC::SetTextAlign(UINT flags) {
    const UINT old = state_.textAlign;
    state_.textAlign = flags;
    return old;
}

int CDC::SetPolyFillMode(int mode) {
    if (mode != ALTERNATE && mode != WINDING)
        return 0;
    const int old = state_.polyFillMode;
    state_.polyFillMode = mode;
    return old;
}

int CDC::SetStretchBltMode(int mode) {
    const int old = state_.stretchMode;
    state_.stretchMode = mode;
    return old;
}

// ---- lines and shapes ----------------------------------------------------------------------

CPoint CDC::MoveTo(int x, int y) {
    const CPoint old = state_.position;
    state_.position = {x, y};
    return old;
}

bool CDC::LineTo(int x, int y) {
    if (!backEnd_)
        return false;
    backEnd_->Stroke({Dev(state_.position.x, state_.position.y), Dev(x, y)}, false, Pen(), Bk());
    state_.position = {x, y};
    return true;
}

bool CDC::Polyline(const POINT* points, int count) {
    if (!backEnd_ || !points || count < 2)
        return false;
    backEnd_->Stroke(DevPoints(points, count), false, Pen(), Bk());
    return true;
}

bool CDC::Polygon(const POINT* points, int count) {
    if (!backEnd_ || !points || count < 2)
        return false;
    const std::vector<CPoint> pts = DevPoints(points, count);
    backEnd_->FillPolygon(pts, state_.polyFillMode, Brush(state_.brushLog), Bk());
    backEnd_->Stroke(pts, true, Pen(), Bk());
    return true;
}

bool CDC::DrawBatch(const PolylineBatch& batch) {
    if (!backEnd_)
        return false;
    // A closed run of two points encloses nothing, so the raster fills none; longer closed
    // runs take the general path, fill first.
    if (raster_ && (!batch.Closed() || batch.LongestRun() <= 2)) {
        raster_->StrokeRuns(batch.Points(), batch.Counts(), batch.Closed(), Pen(), Bk());
        return true;
    }
    std::vector<CPoint> run;
    auto from = batch.Points().begin();
    for (const int n : batch.Counts()) {
        run.assign(from, from + n);
        from += n;
        if (batch.Closed())
            backEnd_->FillPolygon(run, state_.polyFillMode, Brush(state_.brushLog), Bk());
        backEnd_->Stroke(run, batch.Closed(), Pen(), Bk());
    }
    return true;
}

bool CDC::PolyPolygon(const POINT* points, const int* counts, int polygons) {
    if (!backEnd_ || !points || !counts || polygons < 1)
        return false;
    // One outline for the fill: every polygon starts and ends at the first polygon's first
    // point. Each connecting line is crossed once each way, so it adds nothing to the fill
    // under either rule.
    std::vector<std::vector<CPoint>> rings;
    std::vector<CPoint> joined;
    const POINT* p = points;
    for (int i = 0; i < polygons; ++i) {
        if (counts[i] < 0)
            return false;
        rings.push_back(DevPoints(p, counts[i]));
        p += counts[i];
        if (rings.back().size() < 2)
            continue;
        joined.insert(joined.end(), rings.back().begin(), rings.back().end());
        joined.push_back(rings.back().front());
        if (!joined.empty() && joined.front() != rings.back().front())
            joined.push_back(joined.front());
    }
    backEnd_->FillPolygon(joined, state_.polyFillMode, Brush(state_.brushLog), Bk());
    for (const std::vector<CPoint>& ring : rings) {
        if (ring.size() >= 2)
            backEnd_->Stroke(ring, true, Pen(), Bk());
    }
    return true;
}

bool CDC::Rectangle(int left, int top, int right, int bottom) {
    if (!backEnd_)
        return false;
    // The outline runs through the last pixel inside the right and bottom edges, so the shape
    // covers left..right-1 by top..bottom-1; without a pen only the inside is filled.
    const CRect r = DevRect(left, top, right, bottom);
    if (r.IsRectEmpty())
        return true;
    const std::vector<CPoint> pts{
        {r.left, r.top}, {r.right - 1, r.top}, {r.right - 1, r.bottom - 1}, {r.left, r.bottom - 1}};
    backEnd_->FillPolygon(pts, ALTERNATE, Brush(state_.brushLog), Bk());
    backEnd_->Stroke(pts, true, Pen(), Bk());
    return true;
}

bool CDC::Rectangle(const RECT* rect) {
    return rect && Rectangle(rect->left, rect->top, rect->right, rect->bottom);
}

bool CDC::Ellipse(int left, int top, int right, int bottom) {
    if (!backEnd_)
        return false;
    const CRect r = DevRect(left, top, right, bottom);
    if (r.IsRectEmpty())
        return true;
    backEnd_->Ellipse(CRect(r.left, r.top, r.right - 1, r.bottom - 1), Pen(),
                      Brush(state_.brushLog), Bk());
    return true;
}

bool CDC::Ellipse(const RECT* rect) {
    return rect && Ellipse(rect->left, rect->top, rect->right, rect->bottom);
}

bool CDC::Arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) {
    if (!backEnd_)
        return false;
    const CRect r = DevRect(left, top, right, bottom);
    const CPoint s = Dev(x3, y3), e = Dev(x4, y4);
    const double cx = (r.left + r.right - 1) / 2.0, cy = (r.top + r.bottom - 1) / 2.0;
    const double rx = (r.Width() - 1) / 2.0, ry = (r.Height() - 1) / 2.0;
    if (rx <= 0 || ry <= 0)
        return true;
    // Angles as seen on the device: counter-clockwise is toward smaller y.
    const double a0 = std::atan2(-(s.y - cy), s.x - cx);
    double a1 = std::atan2(-(e.y - cy), e.x - cx);
    if (a1 <= a0)
        a1 += 2 * M_PI;
    const int steps = std::clamp(static_cast<int>((a1 - a0) * std::max(rx, ry) / 2), 8, 2048);
    std::vector<CPoint> pts;
    for (int i = 0; i <= steps; ++i) {
        const double a = a0 + (a1 - a0) * i / steps;
        pts.push_back({static_cast<LONG>(std::lround(cx + rx * std::cos(a))),
                       static_cast<LONG>(std::lround(cy - ry * std::sin(a)))});
    }
    backEnd_->Stroke(pts, false, Pen(), Bk());
    return true;
}

COLORREF CDC::SetPixel(int x, int y, COLORREF color) {
    if (!backEnd_)
        return CLR_INVALID;
    const CPoint d = Dev(x, y);
    if (!EffectiveClip().PtInRect(d))
        return CLR_INVALID;
    backEnd_->SetPixel(d, color & 0x00FFFFFF);
    return color & 0x00FFFFFF;
}

COLORREF CDC::GetPixel(int x, int y) const {
    return backEnd_ ? backEnd_->GetPixel(Dev(x, y)) : CLR_INVALID;
}

// ---- areas ---------------------------------------------------------------------------------

void CDC::FillRect(const RECT* rect, CBrush* brush) {
    if (!backEnd_ || !rect || !brush || !brush->GetSafeHandle())
        return;
    backEnd_->FillRect(DevRect(rect->left, rect->top, rect->right, rect->bottom),
                       Brush(brush->Log()), Bk());
}

void CDC::FillDeviceRect(const CRect& rect, COLORREF color) {
    DeviceBrush solid;
    solid.color = color & 0x00FFFFFF;
    backEnd_->FillRect(rect, solid, Bk());
}

void CDC::FillSolidRect(const RECT* rect, COLORREF color) {
    if (backEnd_ && rect)
        FillDeviceRect(DevRect(rect->left, rect->top, rect->right, rect->bottom), color);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
    const CRect r(x, y, x + cx, y + cy);
    FillSolidRect(&r, color);
}

void CDC::FrameRect(const RECT* rect, CBrush* brush) {
    if (!backEnd_ || !rect || !brush || !brush->GetSafeHandle())
        return;
    const CRect r = DevRect(rect->left, rect->top, rect->right, rect->bottom);
    if (r.IsRectEmpty())
        return;
    const DeviceBrush b = Brush(brush->Log());
    backEnd_->FillRect({r.left, r.top, r.right, r.top + 1}, b, Bk());
    backEnd_->FillRect({r.left, r.bottom - 1, r.right, r.bottom}, b, Bk());
    backEnd_->FillRect({r.left, r.top + 1, r.left + 1, r.bottom - 1}, b, Bk());
    backEnd_->FillRect({r.right - 1, r.top + 1, r.right, r.bottom - 1}, b, Bk());
}

void CDC::InvertRect(const RECT* rect) {
    if (backEnd_ && rect)
        backEnd_->InvertRect(DevRect(rect->left, rect->top, rect->right, rect->bottom));
}

void CDC::DrawFocusRect(const RECT* rect) {
    if (backEnd_ && rect)
        backEnd_->FocusRect(DevRect(rect->left, rect->top, rect->right, rect->bottom));
}

void CDC::Draw3dRect(const RECT* rect, COLORREF topLeft, COLORREF bottomRight) {
    if (rect)
        Draw3dRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
                   topLeft, bottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight) {
    // Top and left in the first colour; right and bottom, one unit inside the far edges, in
    // the second, which takes the corners it shares with the first.
    FillSolidRect(x, y, cx - 1, 1, topLeft);
    FillSolidRect(x, y, 1, cy - 1, topLeft);
    FillSolidRect(x + cx, y, -1, cy, bottomRight);
    FillSolidRect(x, y + cy, cx, -1, bottomRight);
}

bool CDC::DrawEdge(RECT* rect, UINT edge, UINT flags) {
    if (!backEnd_ || !rect)
        return false;
    CRect inside;
    for (const EdgeBand& band :
         EdgeBands(DevRect(rect->left, rect->top, rect->right, rect->bottom), edge, flags, inside))
        FillDeviceRect(band.rect, band.color);
    if (flags & BF_MIDDLE)
        FillDeviceRect(inside, GetSysColor(COLOR_3DFACE));
    if (flags & BF_ADJUST) {
        CPoint corners[2] = {inside.TopLeft(), inside.BottomRight()};
        DPtoLP(corners, 2);
        *rect = CRect(corners[0], corners[1]);
    }
    return true;
}

bool CDC::DrawFrameControl(RECT* rect, UINT type, UINT state) {
    if (!backEnd_ || !rect)
        return false;
    CRect inside;
    const CRect device = DevRect(rect->left, rect->top, rect->right, rect->bottom);
    const std::vector<EdgeBand> bands = FrameControlBands(device, type, state, inside);
    if (bands.empty())
        return false;
    for (const EdgeBand& band : bands)
        FillDeviceRect(band.rect, band.color);
    if (state & DFCS_ADJUSTRECT) {
        CPoint corners[2] = {inside.TopLeft(), inside.BottomRight()};
        DPtoLP(corners, 2);
        *rect = CRect(corners[0], corners[1]);
    }
    return true;
}

bool CDC::FillRgn(CRgn* region, CBrush* brush) {
    if (!backEnd_ || !region || !region->GetSafeHandle() || !brush || !brush->GetSafeHandle())
        return false;
    const auto& pts = region->Points();
    backEnd_->FillPolygon(DevPoints(pts.data(), static_cast<int>(pts.size())), region->FillMode(),
                          Brush(brush->Log()), Bk());
    return true;
}

bool CDC::PaintRgn(CRgn* region) {
    return FillRgn(region, state_.brush);
}

bool CDC::FrameRgn(CRgn* region, CBrush* brush, int width, int height) {
    if (!backEnd_ || !region || !region->GetSafeHandle() || !brush || !brush->GetSafeHandle())
        return false;
    const auto& pts = region->Points();
    const PolygonScanner shape(DevPoints(pts.data(), static_cast<int>(pts.size())),
                               region->FillMode());
    const CSize d = state_.mapping.SizeToDevice({std::abs(width), std::abs(height)});
    const DeviceBrush paint = Brush(brush->Log());
    for (const CRect& run :
         RegionFrameRuns(shape, std::max<LONG>(1, d.cx), std::max<LONG>(1, d.cy)))
        backEnd_->FillRect(run, paint, Bk());
    return true;
}

bool CDC::PatBlt(int x, int y, int width, int height, DWORD rop) {
    if (!backEnd_)
        return false;
    const CRect r = DevRect(x, y, x + width, y + height);
    switch (rop) {
    case WHITENESS:
        FillDeviceRect(r, RGB(255, 255, 255));
        return true;
    case BLACKNESS:
        FillDeviceRect(r, RGB(0, 0, 0));
        return true;
    case PATCOPY:
        backEnd_->FillRect(r, Brush(state_.brushLog), Bk());
        return true;
    case DSTINVERT:
        backEnd_->InvertRect(r);
        return true;
    default:
        return false;
    }
}

bool CDC::BitBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, DWORD rop) {
    if (rop != SRCCOPY || !source)
        return PatBlt(x, y, width, height, rop);
    return StretchBlt(x, y, width, height, source, xSrc, ySrc, width, height, rop);
}

bool CDC::StretchBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc,
                     int srcWidth, int srcHeight, DWORD rop) {
    if (!backEnd_)
        return false;
    if (rop != SRCCOPY || !source)
        return PatBlt(x, y, width, height, rop);
    RasterSurface* src = source->backEnd_ ? source->backEnd_->Raster() : nullptr;
    if (!src)
        return false;
    const CRect from(source->Dev(xSrc, ySrc),
                     source->Dev(static_cast<int>(std::clamp<long long>(
                                     static_cast<long long>(xSrc) + srcWidth, INT_MIN, INT_MAX)),
                                 static_cast<int>(std::clamp<long long>(
                                     static_cast<long long>(ySrc) + srcHeight, INT_MIN, INT_MAX))));
    // A destination beyond the device range is clipped before it is scaled: only what shows
    // is sampled, at the true scale.
    const CoordinateMapping& m = state_.mapping;
    const double x0 = m.ToDeviceX(x), x1 = m.ToDeviceX(static_cast<double>(x) + width);
    const double y0 = m.ToDeviceY(y), y1 = m.ToDeviceY(static_cast<double>(y) + height);
    const auto inRange = [](double v) { return std::fabs(v) <= kDeviceLimit; };
    if (!inRange(x0) || !inRange(x1) || !inRange(y0) || !inRange(y1)) {
        // The bands are drawn while the source is read: a copy onto itself reads a copy.
        std::shared_ptr<RasterSurface> copy;
        if (src == backEnd_->Raster()) {
            copy = RasterSurface::Create(src->Width(), src->Height());
            if (!copy)
                return false;
            const std::uint32_t* pixels = src->Pixels();
            for (int row = 0; row < src->Height(); ++row)
                std::memcpy(copy->Row(row),
                            pixels + static_cast<std::ptrdiff_t>(row) * (src->Stride() / 4),
                            static_cast<std::size_t>(src->Width()) * 4);
            copy->MarkDirty();
            src = copy.get();
        }
        return VisibleStretch::Sample(*src, from, x0, y0, x1, y1, EffectiveClip(),
                                      [this](RasterSurface& band, const CRect& at) {
                                          backEnd_->DrawSurface(band, band.Rect(), at);
                                      });
    }
    // Unnormalised on purpose: a rectangle running backwards mirrors the copy.
    const long long xEnd = static_cast<long long>(x) + width;
    const long long yEnd = static_cast<long long>(y) + height;
    const bool logicalFits =
        xEnd >= INT_MIN && xEnd <= INT_MAX && yEnd >= INT_MIN && yEnd <= INT_MAX;
    const CRect to =
        logicalFits ? CRect(Dev(x, y), Dev(static_cast<int>(xEnd), static_cast<int>(yEnd)))
                    : CRect(static_cast<int>(std::lround(x0)), static_cast<int>(std::lround(y0)),
                            static_cast<int>(std::lround(x1)), static_cast<int>(std::lround(y1)));
    CRect toN(to), fromN(from);
    toN.NormalizeRect();
    fromN.NormalizeRect();
    const bool mirrored =
        (to.Width() < 0) != (from.Width() < 0) || (to.Height() < 0) != (from.Height() < 0);
    backEnd_->DrawSurface(*src, mirrored ? from : fromN, mirrored ? to : toN);
    return true;
}

bool CDC::DrawPixels(int x, int y, int width, int height, const std::uint8_t* topRow, int stride,
                     int bitsPerPixel) {
    if (!backEnd_ || !topRow || width <= 0 || height <= 0 ||
        (bitsPerPixel != 24 && bitsPerPixel != 32))
        return false;
    const int bytes = bitsPerPixel / 8;
    if (std::abs(static_cast<long long>(stride)) < static_cast<long long>(width) * bytes)
        return false;
    std::shared_ptr<RasterSurface> src;
    if (bitsPerPixel == 32 && stride > 0 && stride % 4 == 0) {
        // Wrapping never writes through the pointer: the surface is only read from.
        src = RasterSurface::Wrap(const_cast<std::uint8_t*>(topRow), width, height, stride);
    } else {
        src = RasterSurface::Create(width, height);
        if (src) {
            for (int row = 0; row < height; ++row) {
                const std::uint8_t* s = topRow + static_cast<std::ptrdiff_t>(row) * stride;
                std::uint32_t* d = src->Row(row);
                for (int col = 0; col < width; ++col, s += bytes)
                    d[col] = RasterSurface::ToPixel(RGB(s[2], s[1], s[0]));
            }
            src->MarkDirty();
        }
    }
    if (!src)
        return false;
    const CPoint d = Dev(x, y);
    backEnd_->DrawSurface(*src, src->Rect(), CRect(d, CSize(width, height)));
    return true;
}

// ---- clipping ------------------------------------------------------------------------------

CRect CDC::EffectiveClip() const {
    if (!backEnd_)
        return {};
    if (!state_.clipped)
        return backEnd_->Bounds();
    CRect c;
    c.IntersectRect(state_.clip, backEnd_->Bounds());
    return c;
}

void CDC::ApplyClip() {
    if (backEnd_)
        backEnd_->SetClip(EffectiveClip());
}

int CDC::ClipResult() const {
    return EffectiveClip().IsRectEmpty() ? NULLREGION : SIMPLEREGION;
}

int CDC::GetClipBox(RECT* rect) const {
    if (!backEnd_)
        return ERROR;
    const CRect c = EffectiveClip();
    if (rect) {
        CPoint corners[2] = {c.TopLeft(), c.BottomRight()};
        DPtoLP(corners, 2);
        *rect = CRect(corners[0], corners[1]);
    }
    return ClipResult();
}

int CDC::IntersectClipRect(int left, int top, int right, int bottom) {
    if (!backEnd_)
        return ERROR;
    const CRect r = DevRect(left, top, right, bottom);
    const CRect current = EffectiveClip();
    state_.clip.IntersectRect(current, r);
    state_.clipped = true;
    ApplyClip();
    return ClipResult();
}

int CDC::IntersectClipRect(const RECT* rect) {
    return rect ? IntersectClipRect(rect->left, rect->top, rect->right, rect->bottom) : ERROR;
}

int CDC::SelectClipRgn(CRgn* region) {
    return ExtSelectClipRgn(region, RGN_COPY);
}

int CDC::ExtSelectClipRgn(CRgn* region, int mode) {
    if (!backEnd_)
        return ERROR;
    if (!region || !region->GetSafeHandle()) {
        if (mode != RGN_COPY)
            return ERROR;
        state_.clipped = false;
        ApplyClip();
        return ClipResult();
    }
    CRect box;
    region->GetRgnBox(&box);
    const CRect current = EffectiveClip();
    switch (mode) {
    case RGN_AND:
        state_.clip.IntersectRect(current, box);
        break;
    case RGN_OR:
        state_.clip.UnionRect(current, box);
        break;
    default:
        state_.clip = box;
        break;
    }
    state_.clipped = true;
    ApplyClip();
    return ClipResult();
}

// ---- text ----------------------------------------------------------------------------------

TextEngine& CDC::Text() const {
    if (!text_)
        text_ = std::make_unique<TextEngine>();
    return *text_;
}

DeviceFont CDC::Font() const {
    // A metafile's own fonts are the reference screen's.
    return FontUnder(state_.mapping, backEnd_ ? backEnd_->Caps().dpiY : 96,
                     metafile_ ? metafile_->ReferencePixelY() : 1.0);
}

DeviceFont CDC::FontUnder(const CoordinateMapping& mapping, int dpiY, double stockScale) const {
    const LOGFONT& lf = state_.fontLog;
    DeviceFont f;
    f.family = TextEngine::MapFace(lf.FaceName());
    const LONG h = lf.lfHeight == INT32_MIN ? INT32_MAX : std::abs(lf.lfHeight);
    // Stock fonts are sized in device pixels whatever the mapping, as a device's own fonts are.
    const bool stock = state_.font && state_.font->IsStock();
    const double device = stock ? h * stockScale : mapping.SizeToDevice({0, h}).cy;
    if (lf.lfHeight < 0)
        f.emPixels = device;
    else if (lf.lfHeight > 0)
        f.emPixels = Text().EmForCellHeight(f.family, device);
    else
        f.emPixels = 12.0 * dpiY / 72.0;
    f.emPixels = std::clamp(f.emPixels, 0.5, 20000.0);
    f.weight = lf.lfWeight;
    f.italic = lf.lfItalic != 0;
    f.underline = lf.lfUnderline != 0;
    f.strikeOut = lf.lfStrikeOut != 0;
    return f;
}

double CDC::Escapement() const {
    return state_.fontLog.lfEscapement / 10.0 * M_PI / 180.0;
}

bool CDC::TextOut(int x, int y, const std::string& text) {
    if (!backEnd_)
        return false;
    const bool updateCp = (state_.textAlign & TA_UPDATECP) != 0;
    const CPoint ref = updateCp ? state_.position : CPoint(x, y);
    const auto layout = Text().Layout(text, Font());
    const TextLayout::Box ext = layout->Extent();
    TextPlacement where;
    const CPoint d = Dev(ref.x, ref.y);
    where.x = d.x;
    where.y = d.y;
    where.angle = Escapement();
    const UINT horizontal = state_.textAlign & TA_CENTER;
    where.dx = horizontal == TA_CENTER ? -ext.width / 2 : horizontal == TA_RIGHT ? -ext.width : 0;
    const UINT vertical = state_.textAlign & TA_BASELINE;
    where.dy = vertical == TA_BASELINE ? -layout->Baseline()
               : vertical == TA_BOTTOM ? -ext.height
                                       : 0;
    where.color = state_.textColor;
    where.background = Bk();
    where.requested = &state_.fontLog;
    backEnd_->DrawText(*layout, where);
    if (updateCp) {
        const CSize advance =
            state_.mapping.SizeToLogical({static_cast<LONG>(std::lround(ext.width)), 0});
        state_.position.x += state_.mapping.IsXFlipped() ? -advance.cx : advance.cx;
    }
    return true;
}

int CDC::DrawText(const std::string& text, RECT* rect, UINT format) {
    return DrawFormatted(text, rect, format, nullptr);
}

int CDC::DrawText(const std::string& text, RECT* rect, UINT format,
                  const CoordinateMapping& screen) {
    return DrawFormatted(text, rect, format, &screen);
}

int CDC::DrawFormatted(const std::string& text, RECT* rect, UINT format,
                       const CoordinateMapping* screen) {
    if (!backEnd_ || !rect)
        return 0;
    const CPoint c0 = Dev(rect->left, rect->top), c1 = Dev(rect->right, rect->bottom);
    CRect box(c0, c1);
    box.NormalizeRect();
    std::optional<FormattedText::Screen> onScreen;
    if (screen) {
        CRect shown(screen->ToDevice({rect->left, rect->top}),
                    screen->ToDevice({rect->right, rect->bottom}));
        shown.NormalizeRect();
        onScreen = FormattedText::Screen{FontUnder(*screen, kScreenDpi, 1.0), shown};
    }
    const FormattedText formatted(Text(), Font(), text, box, format,
                                  onScreen ? &*onScreen : nullptr);
    const LONG height = static_cast<LONG>(std::lround(formatted.Height()));
    if (format & DT_CALCRECT) {
        // Grow or shrink the rectangle to the text, keeping its left and top.
        const double w = formatted.Width(), h = formatted.Height();
        const CPoint far(static_cast<LONG>(std::lround(c0.x + (c1.x >= c0.x ? w : -w))),
                         static_cast<LONG>(std::lround(c0.y + (c1.y >= c0.y ? h : -h))));
        const CPoint logical = state_.mapping.ToLogical(far);
        rect->right = logical.x;
        rect->bottom = logical.y;
        return state_.mapping.SizeToLogical({0, height}).cy;
    }
    TextPlacement where;
    where.x = formatted.Left();
    where.y = formatted.Top();
    where.color = state_.textColor;
    where.background = Bk();
    where.requested = &state_.fontLog;
    if (!(format & DT_NOCLIP)) {
        CRect clip;
        clip.IntersectRect(EffectiveClip(), box);
        backEnd_->SetClip(clip);
    }
    backEnd_->DrawText(formatted.Layout(), where);
    ApplyClip();
    return state_.mapping.SizeToLogical({0, height}).cy;
}

CSize CDC::GetTextExtent(const std::string& text) const {
    const auto layout = Text().Layout(text, Font());
    const TextLayout::Box ext = layout->Extent();
    return state_.mapping.SizeToLogical(
        {static_cast<LONG>(std::lround(ext.width)), static_cast<LONG>(std::lround(ext.height))});
}

bool CDC::GetTextMetrics(TEXTMETRIC* tm) const {
    if (!tm)
        return false;
    const DeviceFont font = Font();
    const DeviceFontMetrics m = Text().Metrics(font);
    auto logicalY = [&](double v) {
        return state_.mapping.SizeToLogical({0, static_cast<LONG>(std::lround(v))}).cy;
    };
    auto logicalX = [&](double v) {
        return state_.mapping.SizeToLogical({static_cast<LONG>(std::lround(v)), 0}).cx;
    };
    *tm = TEXTMETRIC{};
    tm->tmAscent = logicalY(m.ascent);
    tm->tmDescent = logicalY(m.descent);
    tm->tmHeight = logicalY(m.ascent + m.descent);
    tm->tmInternalLeading = std::max<LONG>(0, logicalY(m.ascent + m.descent - font.emPixels));
    tm->tmAveCharWidth = logicalX(m.averageWidth);
    tm->tmMaxCharWidth = logicalX(m.maxWidth);
    tm->tmWeight = font.weight <= 0 ? FW_NORMAL : font.weight;
    tm->tmItalic = font.italic;
    tm->tmUnderlined = font.underline;
    tm->tmStruckOut = font.strikeOut;
    tm->tmPitchAndFamily = state_.fontLog.lfPitchAndFamily;
    tm->tmCharSet = state_.fontLog.lfCharSet;
    return true;
}
