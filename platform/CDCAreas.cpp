// Areas of the device context: rectangle fills and frames, edges and frame controls, region
// fills and frames, and block transfers from raster surfaces and pixel blocks.
#include "platform/CDC.h"

#include "platform/EdgeBands.h"
#include "platform/FrameControl.h"
#include "platform/RegionFrame.h"
#include "platform/SysColor.h"
#include "platform/VisibleStretch.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

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
