#pragma once
#include "platform/CBitmap.h"
#include "platform/CBrush.h"
#include "platform/CFont.h"
#include "platform/CPen.h"
#include "platform/CRect.h"
#include "platform/CRgn.h"
#include "platform/CoordinateMapping.h"
#include "platform/DeviceAxisCache.h"
#include "platform/GdiConstants.h"
#include "platform/IDcBackEnd.h"
#include "platform/IPrintPageService.h"

#include <memory>
#include <string>
#include <vector>

class PolylineBatch;
class RasterBackEnd;
class TextEngine;
class TextLayout;
struct DeviceFont;

// The device context everything draws through: a mapping from logical units to device pixels,
// the selected pen, brush and font, colours and modes, and a back end (a raster surface, a PDF
// page, a print page) that receives the device-space drawing.
class CDC {
public:
    // Device coordinates are kept within four million pixels (over 6,000 inches at 600 dots per
    // inch): inside that range every product the scan conversion forms fits in 64 bits, and
    // Cairo's fixed-point paths cannot wrap around.
    static constexpr LONG kDeviceLimit = 1 << 22;

    CDC();
    explicit CDC(std::unique_ptr<IDcBackEnd> backEnd);
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // A memory context drawing into the bitmap selected later (a 1 x 1 white one at first),
    // at the resolution of `reference` (96 dots per inch without one).
    bool CreateCompatibleDC(const CDC* reference);
    void Attach(std::unique_ptr<IDcBackEnd> backEnd);
    // A printer context drawing vector pages through `pages`, which must outlive it.
    bool CreatePrinterDC(IPrintPageService& pages);
    // The print job of a printer context; positive on success, as the printing loop expects.
    int StartDoc(const std::string& title);
    int StartPage();
    int EndPage();
    int EndDoc();
    int AbortDoc();
    bool DeleteDC();
    const void* GetSafeHdc() const { return backEnd_ ? this : nullptr; }
    bool IsPrinting() const { return printing_; }
    void SetPrinting(bool printing) { printing_ = printing; }
    // Changes the resolution a memory context reports and maps with.
    void SetDeviceResolution(int dpiX, int dpiY);
    int GetDeviceCaps(int index) const;
    IDcBackEnd* BackEnd() const { return backEnd_.get(); }
    // Completes queued drawing (needed only before reading pixels behind the context's back).
    void Flush();

    // Mapping.
    int SetMapMode(int mode);
    int GetMapMode() const { return state_.mapping.GetMapMode(); }
    CPoint SetWindowOrg(int x, int y);
    CPoint SetWindowOrg(POINT p) { return SetWindowOrg(p.x, p.y); }
    CPoint SetViewportOrg(int x, int y);
    CPoint SetViewportOrg(POINT p) { return SetViewportOrg(p.x, p.y); }
    CPoint OffsetWindowOrg(int dx, int dy);
    CPoint OffsetViewportOrg(int dx, int dy);
    CSize SetWindowExt(int cx, int cy);
    CSize SetWindowExt(SIZE s) { return SetWindowExt(s.cx, s.cy); }
    CSize SetViewportExt(int cx, int cy);
    CSize SetViewportExt(SIZE s) { return SetViewportExt(s.cx, s.cy); }
    CPoint GetWindowOrg() const { return state_.mapping.GetWindowOrg(); }
    CPoint GetViewportOrg() const { return state_.mapping.GetViewportOrg(); }
    CSize GetWindowExt() const { return state_.mapping.GetWindowExt(); }
    CSize GetViewportExt() const { return state_.mapping.GetViewportExt(); }
    void LPtoDP(POINT* points, int count = 1) const;
    void LPtoDP(RECT* rect) const;
    void LPtoDP(SIZE* size) const;
    void DPtoLP(POINT* points, int count = 1) const;
    void DPtoLP(RECT* rect) const;
    void DPtoLP(SIZE* size) const;
    int SaveDC();
    // A positive level restores that saved state; a negative one counts back from the last.
    bool RestoreDC(int saved);

    // Objects. Each returns the object selected before (nullptr on failure).
    CPen* SelectObject(CPen* pen);
    CBrush* SelectObject(CBrush* brush);
    CFont* SelectObject(CFont* font);
    CBitmap* SelectObject(CBitmap* bitmap);
    int SelectObject(CRgn* region) { return SelectClipRgn(region); }
    CGdiObject* SelectObject(CGdiObject* object);
    CGdiObject* SelectStockObject(int index);
    CPen* GetCurrentPen() const { return state_.pen; }
    CBrush* GetCurrentBrush() const { return state_.brush; }
    CFont* GetCurrentFont() const { return state_.font; }
    CBitmap* GetCurrentBitmap() const { return bitmap_; }

    // Colours and modes.
    COLORREF SetTextColor(COLORREF color);
    COLORREF GetTextColor() const { return state_.textColor; }
    COLORREF SetBkColor(COLORREF color);
    COLORREF GetBkColor() const { return state_.bkColor; }
    int SetBkMode(int mode);
    int GetBkMode() const { return state_.bkMode; }
    UINT SetTextAlign(UINT flags);
    UINT GetTextAlign() const { return state_.textAlign; }
    int SetPolyFillMode(int mode);
    int GetPolyFillMode() const { return state_.polyFillMode; }
    int SetStretchBltMode(int mode);

    // Lines and shapes.
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT p) { return MoveTo(p.x, p.y); }
    bool LineTo(int x, int y);
    bool LineTo(POINT p) { return LineTo(p.x, p.y); }
    CPoint GetCurrentPosition() const { return state_.position; }
    bool Polyline(const POINT* points, int count);
    bool Polygon(const POINT* points, int count);
    // Several polygons filled as one shape under the fill mode (so overlaps can make holes),
    // each outlined with the pen. `counts` holds the number of points of each polygon.
    bool PolyPolygon(const POINT* points, const int* counts, int polygons);
    // The batch's runs with the current pen (and brush, for closed runs), as one Polyline
    // (open) or Polygon (closed) call for each would draw them.
    bool DrawBatch(const PolylineBatch& batch);
    // The device pixel that the drawing calls put the logical point at. Each coordinate maps
    // on its own, so lattices can be mapped row by row and column by column.
    CPoint DeviceOf(int x, int y) const { return Dev(x, y); }
    // DeviceOf for each of the points, in place.
    void ToDevice(CPoint* points, std::size_t count) const;
    bool Rectangle(int left, int top, int right, int bottom);
    bool Rectangle(const RECT* rect);
    bool Ellipse(int left, int top, int right, int bottom);
    bool Ellipse(const RECT* rect);
    // The arc of the ellipse in the box, counter-clockwise from the radial through (x3, y3) to
    // the radial through (x4, y4); equal radials give the whole ellipse.
    bool Arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4);
    COLORREF SetPixel(int x, int y, COLORREF color);
    COLORREF SetPixel(POINT p, COLORREF color) { return SetPixel(p.x, p.y, color); }
    COLORREF GetPixel(int x, int y) const;
    COLORREF GetPixel(POINT p) const { return GetPixel(p.x, p.y); }

    // Areas.
    void FillRect(const RECT* rect, CBrush* brush);
    void FillSolidRect(const RECT* rect, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    void FrameRect(const RECT* rect, CBrush* brush);
    void InvertRect(const RECT* rect);
    void DrawFocusRect(const RECT* rect);
    void Draw3dRect(const RECT* rect, COLORREF topLeft, COLORREF bottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight);
    bool DrawEdge(RECT* rect, UINT edge, UINT flags);
    // A classic push button or scroll arrow (FrameControlBands); DFCS_ADJUSTRECT moves `rect`
    // to the inside of the frame.
    bool DrawFrameControl(RECT* rect, UINT type, UINT state);
    bool FillRgn(CRgn* region, CBrush* brush);
    bool PaintRgn(CRgn* region);
    bool FrameRgn(CRgn* region, CBrush* brush, int width, int height);
    bool PatBlt(int x, int y, int width, int height, DWORD rop);
    bool BitBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, DWORD rop);
    bool StretchBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc,
                    int srcWidth, int srcHeight, DWORD rop);
    // Copies a block of pixels, unscaled, to the device rectangle whose corner is the logical
    // point (x, y). `topRow` points at the block's top row and the next row lies `stride` bytes
    // further (negative for blocks stored bottom-up); pixels are 24-bit (blue, green, red) or
    // 32-bit (blue, green, red, unused).
    bool DrawPixels(int x, int y, int width, int height, const std::uint8_t* topRow, int stride,
                    int bitsPerPixel = 32);

    // Clipping (rectangular).
    int GetClipBox(RECT* rect) const;
    int IntersectClipRect(int left, int top, int right, int bottom);
    int IntersectClipRect(const RECT* rect);
    // The clip box in device pixels (the whole drawable area when nothing clips).
    CRect GetDeviceClipBox() const { return EffectiveClip(); }
    // The region's box is taken in device pixels; nullptr removes the clip.
    int SelectClipRgn(CRgn* region);
    int ExtSelectClipRgn(CRgn* region, int mode);

    // Text.
    bool TextOut(int x, int y, const std::string& text);
    int DrawText(const std::string& text, RECT* rect, UINT format);
    // The same, with wrapped lines broken where they break when `screen` maps the text onto a
    // screen, so that every device shows the lines the screen shows.
    int DrawText(const std::string& text, RECT* rect, UINT format, const CoordinateMapping& screen);
    CSize GetTextExtent(const std::string& text) const;
    CSize GetOutputTextExtent(const std::string& text) const { return GetTextExtent(text); }
    bool GetTextMetrics(TEXTMETRIC* metrics) const;

private:
    struct State {
        explicit State(int dpiX, int dpiY) : mapping(dpiX, dpiY) {}
        CoordinateMapping mapping;
        CPen* pen = nullptr;
        LOGPEN penLog;
        CBrush* brush = nullptr;
        LOGBRUSH brushLog;
        CFont* font = nullptr;
        LOGFONT fontLog;
        COLORREF textColor = 0;
        COLORREF bkColor = 0xFFFFFF;
        int bkMode = OPAQUE;
        UINT textAlign = 0;
        int polyFillMode = ALTERNATE;
        int stretchMode = 3;
        CPoint position;
        bool clipped = false;
        CRect clip; // device pixels
    };

    void ResetState();
    void ApplyClip();
    CRect EffectiveClip() const;
    CPoint Dev(int x, int y) const;
    CRect DevRect(int left, int top, int right, int bottom) const;
    std::vector<CPoint> DevPoints(const POINT* points, int count) const;
    DevicePen Pen() const;
    DeviceBrush Brush(const LOGBRUSH& log) const;
    Background Bk() const { return {state_.bkMode, state_.bkColor}; }
    TextEngine& Text() const;
    DeviceFont Font() const;
    DeviceFont FontUnder(const CoordinateMapping& mapping, int dpiY, double stockScale) const;
    int DrawFormatted(const std::string& text, RECT* rect, UINT format,
                      const CoordinateMapping* screen);
    double Escapement() const;
    void FillDeviceRect(const CRect& rect, COLORREF color);
    int ClipResult() const;

    std::unique_ptr<IDcBackEnd> backEnd_;
    RasterBackEnd* raster_ = nullptr; // set for memory contexts, which select bitmaps
    CBitmap defaultBitmap_;
    CBitmap* bitmap_ = nullptr;
    State state_;
    std::vector<State> saved_;
    mutable std::unique_ptr<TextEngine> text_;
    // DrawBatch's device points and the columns and rows it mapped, kept across calls.
    std::vector<CPoint> batchPoints_;
    DeviceAxisCache batchX_, batchY_;
    IPrintPageService* pages_ = nullptr;
    bool printing_ = false;
};
