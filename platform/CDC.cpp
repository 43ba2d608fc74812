// The device context's life (memory and printer contexts, any back end), its mapping from logical
// units to device pixels, saved states, selected objects and modes.
#include "platform/CDC.h"

#include "platform/RasterBackEnd.h"
#include "platform/TextEngine.h"
#include "platform/VectorBackEnd.h"

#include <algorithm>
#include <cmath>

namespace {

LONG ClampDevice(LONG v) {
    return std::clamp(v, -CDC::kDeviceLimit, CDC::kDeviceLimit);
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

bool CDC::DeleteDC() {
    if (!backEnd_)
        return false;
    Flush();
    backEnd_.reset();
    pages_ = nullptr;
    printing_ = false;
    raster_ = nullptr;
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
